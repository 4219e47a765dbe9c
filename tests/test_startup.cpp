#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLibrary>
#include <QTemporaryDir>
#include <memory>

#include "records/form2.h"
#include "startup/qtplatform.h"
#include "startup/soundplayer.h"
#include "testapp.h"

TEST(Startup, ASecondCopyIsRefusedWithItsMessage) {
  QTemporaryDir tmp;
  FakePlatform fake;
  fake.appDir = tmp.path();
  fake.otherCopy = true;
  Shoki sh(fake);
  sh.Main();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, QStringLiteral("ナゴミアの勉強は起動しています。"));
  EXPECT_EQ(fake.boxes[0].caption, QStringLiteral("ナゴミア"));
  EXPECT_EQ(fake.endCount, 1);
  EXPECT_EQ(sh.form2, nullptr);  // it never reaches the registration window
  EXPECT_EQ(fake.reseeds, 1);
}

TEST(Startup, StartsInTheNameEntryState) {
  TestApp app;
  EXPECT_EQ(app.sh->AppDir, app.tmp.path());  // as the platform reports it
  Form2* f = app.sh->form2;
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->windowTitle(), QStringLiteral("名前登録  (コトバリオンVer.1.3)"));
  EXPECT_TRUE(f->Txt1->isVisible());
  EXPECT_TRUE(f->Cmd1->isVisible());
  EXPECT_FALSE(f->Frm1->isVisible());
  EXPECT_FALSE(f->Cmd2->isVisible());
  EXPECT_EQ(f->Opt1.selected(), 3);
  EXPECT_EQ(f->Kaisu, 1);
}

TEST(Startup, AFolderAtTheRootKeepsItsSingleSeparator) {
  FakePlatform fake;
  fake.appDir = QStringLiteral("/");
  Shoki sh(fake);
  sh.refreshAppDir();
  EXPECT_EQ(sh.AppDir, QStringLiteral("/"));
  fake.appDir = QStringLiteral("/opt/kotobarion");
  sh.refreshAppDir();
  EXPECT_EQ(sh.AppDir, QStringLiteral("/opt/kotobarion/"));
  sh.refreshAppDir();
  EXPECT_EQ(sh.AppDir, QStringLiteral("/opt/kotobarion/"));
  sh.Sound(QStringLiteral("seikai.wav"), 0);
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

TEST(Startup, WithoutTheSoundModuleASoundIsTheDefaultOne) {
  // The test program's folder holds no sound module.
  QtPlatform platform;
  platform.playSound(QStringLiteral(KOTOBARION_APP_DIR "/seikai.wav"));
  platform.playSound(QString());
  SUCCEED();
}
