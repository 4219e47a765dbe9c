#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHostInfo>
#include <QLibrary>
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

// One test, not two: both halves use the lock of the test program's folder,
// and ctest runs tests side by side.
TEST(Startup, TheLockSeesARunningCopyButNotACrashedOne) {
  {
    QtPlatform first;
    EXPECT_FALSE(first.anotherCopyRunning());
    QtPlatform second;
    EXPECT_TRUE(second.anotherCopyRunning());
  }
  // The lock file a copy leaves when it crashes: the id of a process that no
  // longer runs.
  const QString path = QtPlatform::lockFilePath(QCoreApplication::applicationDirPath());
  QFile lock(path);
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
  lock.write("2147480000\nkotobarion\n" + QHostInfo::localHostName().toUtf8() + "\n");
  lock.close();
  QtPlatform platform;
  EXPECT_FALSE(platform.anotherCopyRunning());
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
