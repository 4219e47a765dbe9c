#pragma once

#include <QWidget>
#include <functional>

#include "layout/widgets.h"

class QPlainTextEdit;
class Session;

// The message window: every message the learner reads passes through it; the
// judgement also turns it into the certificate.
class MessageWindow : public QWidget {
  Q_OBJECT
 public:
  MessageWindow(Session& session);

  QPlainTextEdit* messageText;
  QPushButton* certificateButton;
  PictureBox* certificateBox;
  QPushButton* okButton;
  PictureBox* picture;

  // Shows text (CR LF line ends) in messageText.
  void showText(const QString& text);
  // Lays the window out: 320 x 240 in the upper third of the screen.
  void layOut();
  // The text messageText shows, exactly as it was set.
  const QString& text() const { return text_; }
  void setBackColor(const QColor& c);
  QColor backColor() const;
  bool certificateLayout() const { return certificate_; }
  // What a screen reader calls the picture outside an answer's feedback.
  static inline const QString kPictureName = QStringLiteral("挿絵");

  // Shows an answer's feedback modally: the picture of a right
  // ("cut11.jpg") or wrong ("cut22.JPG") answer, spoken as 正解 or 不正解,
  // and the text. whenShown runs once the message has the focus. False
  // when the program ended meanwhile.
  bool showFeedback(bool right, const QString& text, std::function<void()> whenShown);

  // Turns the window into the certificate: client 640 x 400 placed in the
  // upper third of the screen, messageText hidden, certificateBox shown with a bold font of
  // the given size and the lines printed from 20, 30 twips, certificateButton shown; the
  // window is shown, not modally.
  void showCertificate(const QStringList& lines, int fontPoints, int twipsPerPixel);

  // Handlers.
  void onOkClicked();
  void onCertificateClosed();
  void backgroundClick();
  // The learner closing the window: counts the quiz, saves, says goodbye
  // and ends the program.
  void closeHandling();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void setSpokenMessage(const QString& text);
  void takeFocus();
  // Scrolls the message for a key that scrolls text; false for other keys.
  bool scrollMessage(int key);
  Session& session_;
  // Run once, as soon as the window, shown, has the focus.
  std::function<void()> onShown_;
  QString text_;
  bool certificate_ = false;
  int reclaims_ = 0;
};
