#include "startup/qtplatform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

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

namespace {

QByteArray procText(const QByteArray& path) {
  QFile f(QString::fromLatin1(path));
  return f.open(QIODevice::ReadOnly) ? f.read(4096).trimmed() : QByteArray();
}

// The process holding a lock on the file with this device and inode, from
// the kernel's list of locks; 0 when it cannot be told (a holder in
// another process namespace, no /proc).
long lockHolderPid(dev_t device, ino_t inode) {
  const QByteArray wanted = QByteArray::number(major(device), 16).rightJustified(2, '0') + ':' +
                            QByteArray::number(minor(device), 16).rightJustified(2, '0') + ':' +
                            QByteArray::number(static_cast<qulonglong>(inode));
  QFile locks(QStringLiteral("/proc/locks"));
  if (!locks.open(QIODevice::ReadOnly)) return 0;
  // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; a waiter's line has
  // "->" after the number.
  for (const QByteArray& line : locks.readAll().split('\n')) {
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() >= 6 && f[1] != "->" && f[5].toLower() == wanted) return f[4].toLong();
  }
  return 0;
}

}  // namespace

QString QtPlatform::describeLockHolder(int folderFd) {
  struct stat folder {};
  if (::fstat(folderFd, &folder) != 0) return {};
  const long pid = lockHolderPid(folder.st_dev, folder.st_ino);
  if (pid <= 0) return {};
  const QByteArray proc = "/proc/" + QByteArray::number(static_cast<qlonglong>(pid));
  struct stat owner {};
  if (::stat(proc.constData(), &owner) != 0) return {};
  // This user's copy of this program: the same program file, or the same
  // name when the program file has been replaced by an update meanwhile.
  struct stat exe {};
  struct stat self {};
  const bool sameProgram = (::stat((proc + "/exe").constData(), &exe) == 0 && ::stat("/proc/self/exe", &self) == 0 &&
                            exe.st_dev == self.st_dev && exe.st_ino == self.st_ino) ||
                           procText(proc + "/comm") == procText("/proc/self/comm");
  if (owner.st_uid == ::getuid() && sameProgram) return {};
  const passwd* user = ::getpwuid(owner.st_uid);
  const QString userName = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(owner.st_uid);
  return QStringLiteral("「") + QString::fromLocal8Bit(procText(proc + "/comm")) + QStringLiteral("」（プロセス番号 ") +
         QString::number(pid) + QStringLiteral("、ユーザー ") + userName + QStringLiteral("）");
}

bool QtPlatform::takeLock(const QString& appDir) {
  // One lock per program folder: an exclusive flock on the folder itself.
  // It belongs to the folder's identity (device and inode), so every path to
  // it meets the same lock: a link, a bind mount, another mount or network
  // namespace. It needs no file in the folder, so a read-only folder works
  // too, and the kernel frees it with the process however the process ends,
  // so a crashed copy never locks the learner out.
  holder_.clear();
  const int fd = ::open(QFile::encodeName(appDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened tells nothing; the learner may start.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = fd;
    return true;
  }
  const bool held = errno == EWOULDBLOCK;
  if (held) holder_ = describeLockHolder(fd);
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

void QtPlatform::activateWindow(QWidget* window) {
  window->raise();
  window->activateWindow();
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
