#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "questions/fieldreader.h"
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

TEST(CheckTool, TheDeliveredQuestionFilesPassWithoutAWarning) {
  // Run as on a teacher's console without a desktop session: nothing but the
  // report may be printed, on either stream.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  for (const char* name : {"体.txt", "同音.txt", "慣用句２.txt"}) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KOTOBARION_CHECK), {QStringLiteral(KOTOBARION_APP_DIR "/") + QString::fromUtf8(name)});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    // The OK line alone: no problem and no warning.
    EXPECT_TRUE(out.contains(QString::fromUtf8(name) + QStringLiteral(": OK（"))) << out.toStdString();
    EXPECT_EQ(out.count(u'\n'), 1) << out.toStdString();
    EXPECT_EQ(p.readAllStandardError(), QByteArray()) << name;
  }
}

TEST(CheckTool, KnowsTheHomonymAndIdiomFilesAndWarnsATeacher) {
  QTemporaryDir tmp;
  const QString homonyms = tmp.path() + QStringLiteral("/同音.txt");
  const QString idioms = tmp.path() + QStringLiteral("/慣用句２.txt");
  QFile h(homonyms);
  ASSERT_TRUE(h.open(QIODevice::WriteOnly));
  h.write(smallBank2() +
          encodeCp932(QStringLiteral("2,\"g9\",\"ひとつ\",\"一\",\"＊だけ。\"\r\n1,\"g8\",\"か\",\"字\"\r\n")));
  h.close();
  QFile i(idioms);
  ASSERT_TRUE(i.open(QIODevice::WriteOnly));
  i.write(smallBank3() + encodeCp932(QStringLiteral("1,\"終わる。\",\"句\",\"鍵\",\"意味。\"\r\n")));
  i.close();

  QProcess p;
  p.start(QStringLiteral(KOTOBARION_CHECK), {homonyms, idioms});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 1);
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_TRUE(out.contains(homonyms + QStringLiteral(":13: 最後の問題の項目が足りません"))) << out.toStdString();
  EXPECT_TRUE(out.contains(idioms + QStringLiteral(":11: 注意：問題文が「。」で終わって"))) << out.toStdString();
  EXPECT_TRUE(out.contains(idioms + QStringLiteral(": OK（11問、Shift_JIS、注意1件）"))) << out.toStdString();
}

// A report that cannot be written (a full disk) is never taken for done:
// both commands fail and say why in one line.
TEST(CheckTool, OutputThatCannotBeWrittenFailsWithItsReason) {
  QTemporaryDir tmp;
  const std::vector<std::pair<QString, QStringList>> runs = {
      {QStringLiteral(KOTOBARION_CHECK), {QStringLiteral(KOTOBARION_APP_DIR "/体.txt")}},
      {QStringLiteral(KOTOBARION_REPORT), {tmp.path()}},
  };
  for (const auto& [program, args] : runs) {
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(program, args);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 3) << program.toStdString();
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("書き込めませんでした"))) << err.toStdString();
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
  }
}
