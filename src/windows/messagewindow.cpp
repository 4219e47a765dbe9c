#include "windows/messagewindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <utility>

#include "layout/layout.h"
#include "windows/placer.h"
#include "windows/session.h"

using namespace layout;

// The message window's own picture is a resource of the window library.
static void initResources() { Q_INIT_RESOURCE(records); }

MessageWindow::MessageWindow(Session& session) : session_(session) {
  initResources();
  setWindowTitle(QStringLiteral("メッセージ　　(コトバリオンVer.1.3)"));
  // A screen reader presents the window as an alert and reads its message
  // when it appears. It cannot be minimised: a minimised message would
  // still hold every other window of the program.
  ui::setAccessibleRole(this, QAccessible::AlertMessage);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  ui::setBack(this, colour::green);
  // Created bottom first: later siblings lie on top of earlier ones.
  picture = new PictureBox(this);
  picture->setGeometry(224, 8, 113, 177);
  picture->loadPicture(QStringLiteral(":/records/message_default.png"));
  picture->setPictureName(kPictureName);
  okButton = ui::button(this, QStringLiteral("ここを押してね"), {16, 160, 153, 57}, designFont(14.25), colour::yellow);
  certificateBox = new PictureBox(this);
  certificateBox->setGeometry(0, 0, 633, 321);
  certificateBox->setBackColor(colour::white);
  certificateBox->setForeColor(palette().color(QPalette::ButtonText));
  certificateBox->setPrintFont(designFont(22));
  certificateButton =
      ui::button(this, QStringLiteral("ここを押す"), {240, 328, 153, 57}, designFont(15.75), colour::lightYellow);
  // Lying below the message layout's client is not enough: a button out of
  // view still takes the focus, and Tab, Space would end the program in the
  // middle of a quiz. Only the certificate shows it.
  certificateButton->hide();
  messageText = new QPlainTextEdit(QStringLiteral("Text1"), this);
  ui::place(messageText, {0, 16, 233, 121}, designFont(15.75), colour::navy, colour::paleYellow);
  messageText->setReadOnly(true);
  messageText->setFocusPolicy(Qt::NoFocus);
  messageText->setContextMenuPolicy(Qt::NoContextMenu);

  // A held-down Enter repeats; the repeats must not dismiss the next
  // message (the grade after the last feedback) before it can be read.
  okButton->installEventFilter(this);
  certificateButton->installEventFilter(this);
  connect(okButton, &QPushButton::clicked, this, [this] { onOkClicked(); });
  connect(certificateButton, &QPushButton::clicked, this, [this] { onCertificateClosed(); });
}

void MessageWindow::showText(const QString& text) {
  text_ = text;
  QString shown = text_;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  messageText->setPlainText(shown);
  setSpokenMessage(shown);
}

void MessageWindow::setSpokenMessage(const QString& text) {
  // Read in full, however much of it the text box shows, once: as the
  // alert's description.
  setAccessibleDescription(text);
}

void MessageWindow::setBackColor(const QColor& c) { ui::setBack(this, c); }

QColor MessageWindow::backColor() const { return palette().color(QPalette::Window); }

void MessageWindow::showCertificate(const QStringList& lines, int fontPoints, int twipsPerPixel) {
  certificate_ = true;
  setWindowState(Qt::WindowNoState);
  setFixedSize(640, 400);
  layout::WindowPlacer::place(this, size(), layout::Position::UpperThird, session_.platform());
  messageText->hide();
  certificateBox->show();
  QFont f = certificateBox->printFont();
  f.setPointSize(fontPoints);
  f.setBold(true);
  certificateBox->setPrintFont(f);
  certificateButton->show();
  // Covered by the certificate, "ここを押してね" must not be reachable by
  // the keyboard either: it would hide the last visible window.
  okButton->hide();
  certificateBox->Cls();
  // The alert that showing raises reads the certificate, not the message
  // before it.
  setSpokenMessage(lines.join(u'\n'));
  show();
  certificateBox->Cls();
  certificateBox->setTwipUnit(twipsPerPixel);
  certificateBox->setPrintPos(20, 30);
  for (const QString& line : lines) certificateBox->Print(line);
  setSpokenMessage(lines.join(u'\n'));
}

void MessageWindow::onOkClicked() {
  // Covered and hidden in the certificate layout: nothing to dismiss there.
  if (!certificate_) hide();
}

void MessageWindow::onCertificateClosed() { session_.endProgram(); }

void MessageWindow::backgroundClick() {
  // In the certificate layout no other window of the program is visible any
  // more; hiding this one would leave the program running unseen, so a
  // click there ends the program as the button does.
  if (certificate_) {
    session_.endProgram();
    return;
  }
  hide();
}

void MessageWindow::closeHandling() {
  session_.progress().messageWindowClosed();
  session_.saveBeforeEnding();
  session_.playSound(QString());
  session_.messageBox(QStringLiteral("コトバリオンを終了します。"), QStringLiteral("コトバリオンVer.1.3"));
  session_.endProgram();
}

void MessageWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) backgroundClick();
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
  // Escape dismisses a message as its button does. The certificate is the
  // last window shown, so there it does nothing.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (!certificate_ && okButton->isVisible()) onOkClicked();
    event->accept();
    return;
  }
  if (event->modifiers() == Qt::NoModifier && scrollMessage(event->key())) return;
  QWidget::keyPressEvent(event);
}

bool MessageWindow::scrollMessage(int key) {
  // The keys that scroll a text scroll the message, wherever the focus is:
  // a long message is read to its end without leaving the button.
  if (certificate_) return false;
  QScrollBar* bar = messageText->verticalScrollBar();
  switch (key) {
    case Qt::Key_Up:
      bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return true;
    case Qt::Key_Down:
      bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return true;
    case Qt::Key_PageUp:
      bar->triggerAction(QAbstractSlider::SliderPageStepSub);
      return true;
    case Qt::Key_PageDown:
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      return true;
    default:
      return false;
  }
}

bool MessageWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return true;
    if (key->modifiers() == Qt::NoModifier && scrollMessage(key->key())) return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MessageWindow::closeEvent(QCloseEvent* event) {
  closeHandling();
  event->accept();
}

void MessageWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A message that loses the activation as it appears (the window system
  // still busy with the window hidden just before) asks for it again, a
  // couple of times; after that the learner's own choice is left alone.
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() && reclaims_ > 0) {
    --reclaims_;
    QTimer::singleShot(0, this, [this] { takeFocus(); });
  }
  if (event->type() == QEvent::ActivationChange && isVisible() && isActiveWindow())
    if (auto done = std::exchange(onShown_, nullptr)) done();
  // A message minimised all the same (window managers that offer it on the
  // title bar or by a key) comes straight back: without a task bar the
  // learner could not find it, and it still holds the other windows.
  if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
    QTimer::singleShot(0, this, [this] {
      if (!isMinimized()) return;
      setWindowState(windowState() & ~Qt::WindowMinimized);
      raise();
      activateWindow();
    });
}

void MessageWindow::takeFocus() {
  if (!isVisible()) return;
  // Hidden and shown again at once (the grade after the last feedback),
  // the window can keep the window system's focus while the widgets lost
  // its activation: the window system has nothing more to say, so the
  // activation is taken back here.
  if (!isActiveWindow() && windowHandle() && QGuiApplication::focusWindow() == windowHandle())
    QApplication::setActiveWindow(this);
  (certificate_ ? certificateButton : okButton)->setFocus(Qt::ActiveWindowFocusReason);
  if (!isActiveWindow()) session_.platform().activateWindow(this);
}

void MessageWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  QAccessibleEvent shown(this, QAccessible::Alert);
  QAccessible::updateAccessibility(&shown);
  // Every message takes the focus on its button every time it is shown,
  // also where the window system hands it over late (no other window of
  // the program visible, or one just hidden).
  reclaims_ = 2;
  takeFocus();
  QTimer::singleShot(0, this, [this] { takeFocus(); });
  if (isActiveWindow())
    if (auto done = std::exchange(onShown_, nullptr)) done();
}

bool MessageWindow::showFeedback(bool right, const QString& text, std::function<void()> whenShown) {
  picture->loadPicture(session_.appDir() + (right ? QStringLiteral("cut11.jpg") : QStringLiteral("cut22.JPG")));
  picture->setPictureName(right ? QStringLiteral("正解") : QStringLiteral("不正解"));
  onShown_ = std::move(whenShown);
  const bool going = session_.showMessage(text);
  onShown_ = nullptr;
  // The picture's spoken name belongs to the feedback only.
  picture->setPictureName(kPictureName);
  return going;
}

void MessageWindow::layOut() {
  setFixedSize(320, 240);
  layout::applyLayout(this, layout::Position::UpperThird, session_.platform());
  certificateBox->hide();
}
