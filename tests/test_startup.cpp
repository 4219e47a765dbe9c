#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QThread>

#include "startup/qtplatform.h"
#include "startup/soundplayer.h"
#include "testapp.h"

TEST(Startup, ASecondCopyIsRefusedWithItsMessage) {
  TestApp app(false, [](FakePlatform& fake) { fake.otherCopy = true; });
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_EQ(app.fake.boxes[0].text, QStringLiteral("ナゴミアの勉強は起動しています。"));
  EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("ナゴミア"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.sh->registrationWindow, nullptr);  // it never reaches the registration window
  EXPECT_EQ(app.fake.reseeds, 1);
  // Held by something that is no copy of the program: the learner hears what.
  TestApp other(false, [](FakePlatform& fake) {
    fake.otherCopy = true;
    fake.holder = QStringLiteral("「flock」（プロセス番号 812、ユーザー ken）");
  });
  ASSERT_EQ(other.fake.boxes.size(), 1u);
  EXPECT_TRUE(other.fake.boxes[0].text.contains(other.tmp.path() + QStringLiteral("」を、ほかのプログラム") +
                                                other.fake.holder))
      << other.fake.boxes[0].text.toStdString();
  EXPECT_EQ(other.fake.endCount, 1);
}

TEST(Startup, StartsInTheNameEntryState) {
  TestApp app;
  EXPECT_EQ(app.sh->appDir(), app.tmp.path());  // as the platform reports it
  RegistrationWindow* f = app.sh->registrationWindow;
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->windowTitle(), QStringLiteral("名前登録  (コトバリオンVer.1.3)"));
  EXPECT_TRUE(f->nameEdit->isVisible());
  EXPECT_TRUE(f->registerButton->isVisible());
  EXPECT_FALSE(f->chapterFrame->isVisible());
  EXPECT_FALSE(f->quitButton->isVisible());
  EXPECT_EQ(f->chapterOptions.selected(), 3);
  EXPECT_TRUE(f->awaitingName());
}

TEST(Startup, AFolderAtTheRootKeepsItsSingleSeparator) {
  FakePlatform fake;
  fake.appDir = QStringLiteral("/");
  Session sh(fake);
  sh.refreshAppDir();
  EXPECT_EQ(sh.appDir(), QStringLiteral("/"));
  fake.appDir = QStringLiteral("/opt/kotobarion");
  sh.refreshAppDir();
  EXPECT_EQ(sh.appDir(), QStringLiteral("/opt/kotobarion/"));
  sh.refreshAppDir();
  EXPECT_EQ(sh.appDir(), QStringLiteral("/opt/kotobarion/"));
  sh.playSound(QStringLiteral("seikai.wav"));
  EXPECT_EQ(fake.sounds.back(), QStringLiteral("/opt/kotobarion/seikai.wav"));
}

// One lock per folder and machine, whatever the environment: a second copy
// with another TMPDIR or reaching the folder through a link is refused, a
// copy for another folder runs, and a copy that died leaves no lock behind.
TEST(Startup, TheLockSeesARunningCopyButNotACrashedOne) {
  QTemporaryDir tmp;
  const QString folder = tmp.path() + QStringLiteral("/app");
  QDir().mkpath(folder);
  QDir().mkpath(tmp.path() + QStringLiteral("/other"));
  ASSERT_TRUE(QFile::link(folder, tmp.path() + QStringLiteral("/link")));
  const QByteArray oldTmp = qgetenv("TMPDIR");
  {
    QtPlatform first;
    EXPECT_TRUE(first.takeLock(folder));
    qputenv("TMPDIR", tmp.path().toUtf8());
    QtPlatform second;
    EXPECT_FALSE(second.takeLock(folder));
    EXPECT_FALSE(second.takeLock(tmp.path() + QStringLiteral("/link")));
    EXPECT_FALSE(second.takeLock(folder + QStringLiteral("/../app/")));
    QtPlatform elsewhere;
    EXPECT_TRUE(elsewhere.takeLock(tmp.path() + QStringLiteral("/other")));
    if (oldTmp.isNull())
      qunsetenv("TMPDIR");
    else
      qputenv("TMPDIR", oldTmp);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    QtPlatform crashing;
    _exit(crashing.takeLock(folder) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  QtPlatform after;
  EXPECT_TRUE(after.takeLock(folder));
}

// The lock is the folder's own: a copy reaching the folder through a bind
// mount in mount and network namespaces of its own (as sandboxing launchers
// run it) is refused too, where the machine allows such namespaces; and a
// lock held by another program is named.
TEST(Startup, TheLockIsTheFoldersOwnAndAStrangeHolderIsNamed) {
  QTemporaryDir tmp;
  const QString folder = tmp.path() + QStringLiteral("/app");
  const QByteArray bound = QFile::encodeName(tmp.path() + QStringLiteral("/bound"));
  QDir().mkpath(folder);
  QDir().mkpath(QFile::decodeName(bound));
  {
    QtPlatform first;
    ASSERT_TRUE(first.takeLock(folder));
    const pid_t child = ::fork();
    if (child == 0) {
      if (::unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 ||
          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          ::mount(QFile::encodeName(folder).constData(), bound.constData(), nullptr, MS_BIND, nullptr) != 0)
        _exit(77);
      QtPlatform sandboxed;
      _exit(sandboxed.takeLock(QFile::decodeName(bound)) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 77)) << status;
  }
  QProcess holder;
  holder.start(QStringLiteral("flock"), {QStringLiteral("-o"), folder, QStringLiteral("cat")});
  ASSERT_TRUE(holder.waitForStarted());
  QString named;
  for (int i = 0; i < 200 && named.isEmpty(); ++i) {
    QtPlatform second;
    if (!second.takeLock(folder))
      named = second.lockHolder();
    else
      QThread::msleep(20);
  }
  EXPECT_TRUE(named.contains(QStringLiteral("「flock」（プロセス番号 ") + QString::number(holder.processId())))
      << named.toStdString();
  holder.closeWriteChannel();
  EXPECT_TRUE(holder.waitForFinished());
}

TEST(Startup, RandomValuesStayInsideZeroToOne) {
  QtPlatform platform;
  for (int i = 0; i < 100000; ++i) {
    const float u = platform.rnd();
    ASSERT_GE(u, 0.0f);
    ASSERT_LT(u, 1.0f);
  }
}

TEST(Startup, TheSoundModuleBesideTheProgramMakesAPlayer) {
  const QString dir = QStringLiteral(KOTOBARION_APP_DIR "/");
  QLibrary module(dir + QStringLiteral(KOTOBARION_SOUND_MODULE));
  const auto create = reinterpret_cast<CreateSoundPlayer>(module.resolve(KOTOBARION_SOUND_ENTRY));
  ASSERT_NE(create, nullptr) << module.errorString().toStdString();
  const std::unique_ptr<SoundPlayer> player(create());
  player->play(dir + QStringLiteral("seikai.wav"));
  player->play(dir + QStringLiteral("miss.wav"));  // cuts off the first
}
