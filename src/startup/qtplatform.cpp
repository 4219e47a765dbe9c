#include "startup/qtplatform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "layout/layout.h"
#include "layout/widgets.h"
#include "startup/helpviewer.h"
#include "startup/soundplayer.h"

namespace {

// Quits a nested event loop once the program has hidden the watched window.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget* w, QEventLoop* loop) : loop_(loop) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    // Only the program hides a message (its button, a click on it); the
    // window system hiding it as it is minimised ends no wait.
    if (e->type() == QEvent::Hide && !e->spontaneous()) loop_->quit();
    return false;
  }

 private:
  QEventLoop* loop_;
};

}  // namespace

QtPlatform::QtPlatform() { randomize(); }

void QtPlatform::setUpApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("kotobarion"));
  // The desktop entry ties the windows to the program's name and icon. No
  // display name is set: on X11 Qt would append it to every caption
  // ("ナゴミア — コトバリオン"), and every caption is fixed as it stands.
  QGuiApplication::setDesktopFileName(QStringLiteral("kotobarion"));
  // The program ends only through its end operation, never because its last
  // visible window was closed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(ui::makeStyle());
  layout::installFontSubstitutes();
  QApplication::setFont(layout::designFont(11, false));
}

QtPlatform::~QtPlatform() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

QString QtPlatform::applicationDir() { return QCoreApplication::applicationDirPath(); }

QByteArray QtPlatform::lockName(const QString& appDir) {
  // The folder as the machine knows it: links and "." or ".." resolved, so
  // one folder reached by two paths is one lock.
  const QString canonical = QFileInfo(appDir).canonicalFilePath();
  const QString folder = canonical.isEmpty() ? QDir(appDir).absolutePath() : canonical;
  return "kotobarion-" + QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256).toHex();
}

bool QtPlatform::takeLock(const QString& appDir) {
  // One lock per program folder and machine: a name in the machine's
  // abstract socket namespace, bound by the running copy. It depends on no
  // environment (TMPDIR, the runtime folder), no user and no file, so it
  // works with a read-only program folder too; the kernel frees it with the
  // process however the process ends, so a crashed copy never locks the
  // learner out. Copies on other machines sharing a network folder each
  // have their own namespace and run.
  const QByteArray name = lockName(appDir);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // sun_path[0] stays NUL: an abstract name, never a file.
  std::memcpy(address.sun_path + 1, name.constData(), static_cast<std::size_t>(name.size()));
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  // No socket tells nothing; the learner may start.
  if (fd < 0) return true;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = fd;
    return true;
  }
  const bool held = errno == EADDRINUSE;
  ::close(fd);
  return !held;
}

bool QtPlatform::anotherCopyRunning() { return !takeLock(applicationDir()); }

void QtPlatform::playSound(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile() || info.size() == 0) {
    QApplication::beep();
    return;
  }
  if (!playerLoaded_) {
    playerLoaded_ = true;
    // Never unloaded: the player lives as long as the program.
    QLibrary module(applicationDir() + QStringLiteral("/") + QStringLiteral(KOTOBARION_SOUND_MODULE));
    if (auto create = reinterpret_cast<CreateSoundPlayer>(module.resolve(KOTOBARION_SOUND_ENTRY))) player_ = create();
  }
  if (!player_) {
    QApplication::beep();
    return;
  }
  player_->play(info.absoluteFilePath());
}

void QtPlatform::showModal(QWidget* window) {
  window->setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  HideWatcher watcher(window, &loop);
  window->show();
  window->raise();
  window->activateWindow();
  if (window->isVisible()) loop.exec();
  // Shown again later without waiting (the certificate), it must not block
  // the other windows.
  if (!window->isVisible()) window->setWindowModality(Qt::NonModal);
}

void QtPlatform::messageBox(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
  box.exec();
}

bool QtPlatform::question(const QString& text, const QString& caption, const QString& yes, const QString& no) {
  QMessageBox box(QMessageBox::NoIcon, caption, text);
  QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
  QPushButton* noButton = box.addButton(no, QMessageBox::RejectRole);
  box.setDefaultButton(yesButton);
  box.setEscapeButton(noButton);
  box.exec();
  return box.clickedButton() == yesButton;
}

void QtPlatform::endProgram() {
  if (lockFd_ >= 0) ::close(lockFd_);
  std::fflush(nullptr);
  // Every window closes at once with the process; no close handling runs.
  std::_Exit(0);
}

void QtPlatform::flushWindows() {
  // Sends the requests waiting for the window server; input waits.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::showHelp(const QString& helpFile, int command) {
  if (!help_) help_ = new HelpViewer();
  help_->open(helpFile, command);
  help_->show();
  help_->raise();
}

float QtPlatform::rnd() {
  // 24 random bits make every float in [0, 1) with step 2^-24; never 1.
  return static_cast<float>(gen_() >> 8) * (1.0f / 16777216.0f);
}

void QtPlatform::randomize() {
  gen_.seed(
      static_cast<std::mt19937::result_type>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

ScreenMetrics QtPlatform::screenMetrics() {
  ScreenMetrics m;
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const double dpiX = s->logicalDotsPerInchX();
    const double dpiY = s->logicalDotsPerInchY();
    if (dpiX > 0) m.twipsPerPixelX = 1440.0 / dpiX;
    if (dpiY > 0) m.twipsPerPixelY = 1440.0 / dpiY;
    m.width = s->geometry().width();
    m.height = s->geometry().height();
    m.available = s->availableGeometry().translated(-s->geometry().topLeft());
  }
  return m;
}

namespace {
QMargins ownFrame(const QWidget* w) {
  const QRect inner = w->geometry();
  const QRect outer = w->frameGeometry();
  return layout::plausibleFrame({inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                                 outer.bottom() - inner.bottom()});
}
}  // namespace

bool QtPlatform::isFramed(QWidget* window) { return window && !ownFrame(window).isNull(); }

QMargins QtPlatform::frameMargins(QWidget* window) {
  // The window manager frames a window only once it is shown (and keeps
  // the frame when it is hidden). Every window of the program is a normal
  // one with much the same decoration, so until then the frame of another
  // framed window stands for it.
  if (window) {
    const QMargins own = ownFrame(window);
    if (!own.isNull()) return knownFrame_ = own;
  }
  if (knownFrame_.isNull()) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || !w->windowHandle()) continue;
      const QMargins m = ownFrame(w);
      if (!m.isNull()) {
        knownFrame_ = m;
        break;
      }
    }
  }
  return knownFrame_;
}
