#pragma once

#include <QButtonGroup>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QGroupBox;
class QPainter;
class QStyle;

// A picture box: shows a picture at its top-left corner and is a surface that
// text is printed on, line by line, at a print position. Its own unit is the
// pixel or, where designed so, the twip.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent);

  // Loads a GIF, JPEG or PNG file (or a resource). A file that is missing or
  // unreadable leaves the box without a picture and returns false.
  bool loadPicture(const QString& path);
  void clearPicture();
  const QString& pictureFile() const { return pictureFile_; }
  bool hasPicture() const { return !picture_.isNull(); }
  const QImage& picture() const { return picture_; }

  void setBackColor(const QColor& c);
  void setForeColor(const QColor& c) { fore_ = c; }
  const QColor& foreColor() const { return fore_; }
  void setPrintFont(const QFont& f) { printFont_ = f; }
  QFont& printFont() { return printFont_; }
  // Measures print positions in twips (tpp twips make one pixel).
  void setTwipUnit(int twipsPerPixel) { twipsPerPixel_ = twipsPerPixel; }

  // Clears everything printed; the print position goes back to 0, 0.
  void Cls();
  void setPrintPos(double x, double y);
  // Prints text at the print position; endLine moves to the left edge of
  // the next line, otherwise printing goes on after the text.
  void Print(const QString& text, bool endLine = true);
  // The printed lines as text, one entry per line (for checks and tests).
  QStringList printedLines() const;
  // Colours of the printed runs on one line, in order.
  std::vector<QColor> lineColours(int line) const;

  // What a screen reader reads for the box: its printed lines, or instead
  // the words set here until the next Cls (a sentence read with its marked
  // word), or, with nothing printed, the name of its picture.
  void setSpokenText(const QString& text);
  void setPictureName(const QString& name);
  // The printed lines are read as one (a meaning broken over two lines,
  // maybe inside a word), not line by line.
  void setSpokenAsOneLine() { lineBreak_.clear(); }
  // Reads nothing until the next Cls: what it shows is about to be
  // replaced, and must not be read again on the way.
  void mute();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A box that takes the focus (a question) passes the arrow keys on to the
  // controls after it and before it.
  void keyPressEvent(QKeyEvent* event) override;
  // A click on a picture box is its own, never its window's background.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Run {
    QPointF pos;  // pixels
    QString text;
    QColor colour;
    QFont font;
    int line;
  };
  double toPixels(double v) const { return twipsPerPixel_ > 0 ? v / twipsPerPixel_ : v; }
  QImage picture_;
  QString pictureFile_;
  QColor fore_{0, 0, 0};
  QFont printFont_;
  int twipsPerPixel_ = 0;
  QPointF cur_;  // pixels
  int line_ = 0;
  std::vector<Run> runs_;
  QString spoken_;
  QString pictureName_;
  QString lineBreak_ = QStringLiteral("\n");
  bool muted_ = false;
  void updateAccessibleName();
};

// An array of option buttons that behaves as one control: selecting a button,
// by click, by keyboard or from code, raises the array's click with its index.
class OptionArray : public QObject {
  Q_OBJECT
 public:
  explicit OptionArray(QObject* parent = nullptr);
  QRadioButton* add(QWidget* parent, const QString& caption);
  QRadioButton* operator[](int i) const { return buttons_[static_cast<std::size_t>(i)]; }
  int size() const { return static_cast<int>(buttons_.size()); }
  // Selects a button from code, silently: onClick runs only for the
  // learner's own choice.
  void select(int i);
  // Chooses a button as the learner's click would (onClick runs when it was
  // not selected yet).
  void choose(int i);
  int selected() const;
  // Makes button i the neutral entry that only the program selects. The
  // keyboard can neither focus it nor step onto it, and the arrow keys only
  // move the focus among the other buttons, never the selection: an arrow
  // key pressed on the selected neutral button would otherwise select, and
  // so answer with, a neighbour. Space on a focused button, or a click,
  // chooses. Call once all buttons are added.
  void setNeutral(int i);
  int neutral() const { return neutral_; }
  // The arrow keys only move the focus among the buttons, and Space or
  // Enter chooses the focused one (setNeutral implies it).
  void setArrowsMoveFocus() { arrowsMove_ = true; }
  std::function<void(int)> onClick;
  // Input aimed at the screen before: for a short time after a question
  // has been dealt (now, on the given clock) nothing that answers (Space,
  // Enter, a mouse button) reaches the buttons, and a click held back leaves
  // the focus on keepFocus; onHeld tells the learner. Tab and the arrows
  // still move. Selecting from code is not held.
  static constexpr long long kHoldMs = 500;
  void holdInput(std::function<long long()> clock, QWidget* keepFocus);
  std::function<void()> onHeld;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QButtonGroup group_;
  std::vector<QRadioButton*> buttons_;
  int neutral_ = -1;
  bool arrowsMove_ = false;
  bool selectingFromCode_ = false;
  std::function<long long()> clock_;
  long long heldSince_ = 0;
  QPointer<QWidget> keepFocus_;
  bool holding() const { return clock_ && clock_() - heldSince_ < kHoldMs; }
};

namespace ui {

// Builders that give a control its designed place, caption, colours and font.
void setBack(QWidget* w, const QColor& back);
void setFore(QWidget* w, const QColor& fore);
QLabel* label(QWidget* parent, const QString& text, QRect geometry, const QFont& font, const QColor& fore,
              const QColor& back = QColor());
// A button with a coloured face.
QPushButton* button(QWidget* parent, const QString& text, QRect geometry, const QFont& font, const QColor& face);
// A plain command button: the platform's own button look, only its place,
// caption and font designed. Enter presses it while it has the focus.
QPushButton* commandButton(QWidget* parent, const QString& text, QRect geometry, const QFont& font);
QGroupBox* frame(QWidget* parent, const QString& title, QRect geometry, const QFont& font, const QColor& back);
void place(QWidget* w, QRect geometry, const QFont& font, const QColor& fore, const QColor& back = QColor());
// Sets a label's caption; labels designed to size themselves to their text do.
void caption(QLabel* l, const QString& text);
// Gives an item of a menu bar the name a screen reader reads it by.
void setAccessibleName(QAction* menuItem, const QString& name);
// Gives a window the role a screen reader presents it by (a message as an
// alert); call before it is first shown.
void setAccessibleRole(QWidget* w, int role);
// A key held down repeats; its repeats press nothing in a window other than
// the one the key went down in (Enter held on a message must not press the
// button of the window that comes next). Installed once for the program.
void guardKeyRepeats();
// Draws the keyboard focus frame: plain on every background the program uses.
void drawFocusFrame(QPainter* p, const QRect& r);
// The program's style: the Fusion look, with the focus frame above drawn
// around the focused control whenever it has the focus, not only after the
// first Tab.
QStyle* makeStyle();

}  // namespace ui
