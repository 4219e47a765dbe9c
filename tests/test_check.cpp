#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "testapp.h"

TEST(CheckTool, PrintsEveryProblemWithFileAndLine) {
  QTemporaryDir tmp;
  const QString good = tmp.path() + QStringLiteral("/ok/体.txt");
  const QString bad = tmp.path() + QStringLiteral("/bad/体.txt");
  QDir().mkpath(tmp.path() + QStringLiteral("/ok"));
  QDir().mkpath(tmp.path() + QStringLiteral("/bad"));
  QFile g(good);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  g.write(smallBank());
  g.close();
  QFile b(bad);
  ASSERT_TRUE(b.open(QIODevice::WriteOnly));
  b.write(smallBank() + encodeCp932(QStringLiteral("1,13,\"＊\",\"x\"\r\n2,1,\"なし\",\"y\"\r\n")));
  b.close();

  QProcess ok;
  ok.start(QStringLiteral(KOTOBARION_CHECK), {good});
  ASSERT_TRUE(ok.waitForFinished(30000));
  EXPECT_EQ(ok.exitCode(), 0);

  QProcess p;
  p.start(QStringLiteral(KOTOBARION_CHECK), {bad});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 1);
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_TRUE(out.contains(bad + QStringLiteral(":11: 2番目の項目"))) << out.toStdString();
  EXPECT_TRUE(out.contains(bad + QStringLiteral(":12: 3番目の項目"))) << out.toStdString();
}

TEST(CheckTool, TheDeliveredQuestionFilePasses) {
  QProcess p;
  p.start(QStringLiteral(KOTOBARION_CHECK), {QStringLiteral(KOTOBARION_APP_DIR "/体.txt")});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
}
