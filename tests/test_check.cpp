#include <gtest/gtest.h>

#include "questions/fieldreader.h"
#include "testapp.h"
#include "testfiles.h"

TEST(CheckTool, PrintsEveryProblemWithFileAndLine) {
  QTemporaryDir tmp;
  const QString good = tmp.path() + QStringLiteral("/ok/体.txt");
  const QString bad = tmp.path() + QStringLiteral("/bad/体.txt");
  writeFile(good, smallBank());
  writeFile(bad, smallBank() + encodeCp932(QStringLiteral("1,13,\"＊\",\"x\"\r\n2,1,\"なし\",\"y\"\r\n")));
  EXPECT_EQ(runTool(KOTOBARION_CHECK, {good}).exitCode, 0);
  const ToolRun run = runTool(KOTOBARION_CHECK, {bad});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(holdsAll(run.out, {bad + QStringLiteral(":11: 2番目の項目"), bad + QStringLiteral(":12: 3番目の項目")}));
}

TEST(CheckTool, TheDeliveredQuestionFilesPassWithoutAWarning) {
  // Run as on a teacher's console without a desktop session: nothing but the
  // report may be printed, on either stream.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  for (const char* name : {"体.txt", "同音.txt", "慣用句２.txt"}) {
    const ToolRun run = runTool(KOTOBARION_CHECK, {QStringLiteral(KOTOBARION_APP_DIR "/") + QString::fromUtf8(name)},
                                [&env](QProcess& p) { p.setProcessEnvironment(env); });
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    // The OK line alone: no problem and no warning.
    EXPECT_TRUE(run.out.contains(QString::fromUtf8(name) + QStringLiteral(": OK（"))) << run.out.toStdString();
    EXPECT_EQ(run.out.count(u'\n'), 1) << run.out.toStdString();
    EXPECT_EQ(run.err, QString()) << name;
  }
}

TEST(CheckTool, KnowsTheHomonymAndIdiomFilesAndWarnsATeacher) {
  QTemporaryDir tmp;
  const QString homonyms = tmp.path() + QStringLiteral("/同音.txt");
  const QString idioms = tmp.path() + QStringLiteral("/慣用句２.txt");
  writeFile(homonyms, smallBank2() + encodeCp932(QStringLiteral(
                                         "2,\"g9\",\"ひとつ\",\"一\",\"＊だけ。\"\r\n1,\"g8\",\"か\",\"字\"\r\n")));
  writeFile(idioms, smallBank3() + encodeCp932(QStringLiteral("1,\"終わる。\",\"句\",\"鍵\",\"意味。\"\r\n")));
  const ToolRun run = runTool(KOTOBARION_CHECK, {homonyms, idioms});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(holdsAll(run.out, {homonyms + QStringLiteral(":13: 最後の問題の項目が足りません"),
                                 idioms + QStringLiteral(":11: 注意：問題文が「。」で終わって"),
                                 idioms + QStringLiteral(": OK（11問、Shift_JIS、注意1件）")}));
}

// A report that cannot be written (a full disk) is never taken for done:
// both commands fail and say why in one line.
TEST(CheckTool, OutputThatCannotBeWrittenFailsWithItsReason) {
  QTemporaryDir tmp;
  const std::vector<std::pair<const char*, QStringList>> runs = {
      {KOTOBARION_CHECK, {QStringLiteral(KOTOBARION_APP_DIR "/体.txt")}},
      {KOTOBARION_REPORT, {tmp.path()}},
  };
  for (const auto& [program, args] : runs) {
    const ToolRun run =
        runTool(program, args, [](QProcess& p) { p.setStandardOutputFile(QStringLiteral("/dev/full")); });
    EXPECT_EQ(run.exitCode, 3) << program;
    EXPECT_TRUE(run.err.contains(QStringLiteral("書き込めませんでした"))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
  }
}
