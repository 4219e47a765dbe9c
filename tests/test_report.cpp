#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "records/classreport.h"
#include "testfiles.h"

namespace {

// Every entry under a folder: its kind, modification time and bytes.
std::map<std::string, std::string> snapshot(const QString& folder) {
  std::map<std::string, std::string> seen;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    QString state = info.isDir() ? QStringLiteral("folder ") : QStringLiteral("file ");
    state += QString::number(info.lastModified().toMSecsSinceEpoch()) + u' ';
    QFile f(info.filePath());
    if (info.isFile() && f.open(QIODevice::ReadOnly)) state += QString::fromLatin1(f.readAll().toHex());
    seen[QDir(folder).relativeFilePath(info.filePath()).toStdString()] = state.toStdString();
  }
  return seen;
}

}  // namespace

// Complete, short, damaged and empty records and hostile names (a comma and
// quotes, a line break, full-width letters, a folder named like a record)
// are all listed, in name order, with the program's own message for a
// record that does not read completely; the folder, with a save's leftover
// temporary file in it, stays exactly as it was.
TEST(ClassReport, ListsEveryRecordAndChangesNothing) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  const std::vector<std::pair<QString, QByteArray>> files = {
      {QStringLiteral("はな.dat"), "999,4,2,5,0,0\r\n"},
      {QStringLiteral("たろう.dat"), "999,3,999,4,999,5\r\n"},
      {QStringLiteral("みき.dat"), "1,3\r\n"},
      {QStringLiteral("けん.dat"), "1,2,3x,4,5,6\r\n"},
      {QStringLiteral("そら.dat"), ""},
      {QStringLiteral("a,\"b\".dat"), "0,1,0,0,0,0\r\n"},
      {QStringLiteral("x\ny.dat"), "0,1,0,0,0,0\r\n"},
      {QStringLiteral("ＡＢＣ.dat"), "2,5,0,0,999,7\r\n"},
      {QStringLiteral("はな.dat.Ab12cD"), "0,0,0,0,0,0\r\n"},  // left by an interrupted save
      {QStringLiteral("みき.dat.bak"), "1,3\r\n"},
      {QStringLiteral("体.txt"), "not a record"},
  };
  for (const auto& [name, bytes] : files) writeFile(dir + name, bytes);
  ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("dir.dat")));
  const std::map<std::string, std::string> before = snapshot(dir);

  const ToolRun csv = runTool(KOTOBARION_REPORT, {QStringLiteral("--csv"), tmp.path()});
  EXPECT_EQ(csv.exitCode, 0);
  EXPECT_EQ(csv.err, QString());
  EXPECT_EQ(csv.out.toStdString(),
            "名前,第１章,第１章の回数,第２章,第２章の回数,第３章,第３章の回数,備考\r\n"
            "\"a,\"\"b\"\"\",0,1,0,0,0,0,\r\n"
            "dir,,,,,,,ファイルではなくフォルダになっています。\r\n"
            "x\\ny,,,,,,,名前に改行やタブなどの制御文字は使えません。\r\n"
            "けん,,,,,,,3番目の項目が数字として読めません。\r\n"
            "そら,,,,,,,ファイルが空です。\r\n"
            "たろう,修了,3,修了,4,修了,5,\r\n"
            "はな,修了,4,2,5,0,0,\r\n"
            "みき,,,,,,,成績の数字が6つそろっていません。\r\n"
            "ＡＢＣ,2,5,0,0,修了,7,\r\n");

  const ToolRun table = runTool(KOTOBARION_REPORT, {tmp.path()});
  EXPECT_EQ(table.exitCode, 0);
  EXPECT_EQ(table.err, QString());
  EXPECT_EQ(table.out.toStdString(),
            "名前    第１章  回数  第２章  回数  第３章  回数  免許皆伝\n"
            "a,\"b\"        0     1       0     0       0     0\n"
            "dir     ファイルではなくフォルダになっています。\n"
            "x\\ny    名前に改行やタブなどの制御文字は使えません。\n"
            "けん    3番目の項目が数字として読めません。\n"
            "そら    ファイルが空です。\n"
            "たろう    修了     3    修了     4    修了     5  ○\n"
            "はな      修了     4       2     5       0     0\n"
            "みき    成績の数字が6つそろっていません。\n"
            "ＡＢＣ       2     5       0     0    修了     7\n");

  EXPECT_EQ(snapshot(dir), before);
}

// No field of the CSV runs as a spreadsheet formula or as a terminal's
// escape sequence, and names that look alike (a character that shows
// nothing, a blank at an end, bytes that are no UTF-8) stay apart.
TEST(ClassReport, NoFieldRunsInASpreadsheetOrATerminal) {
  std::vector<classreport::Row> rows;
  for (const char* name :
       {"=cmd|' -c calc'!A0", "+1+1", "-2+3", "@SUM(1+1)", "\tx", "e\x1B[31m", "a-b", "taro\u200D", "\u00A0taro"})
    rows.push_back({QString::fromUtf8(name), recordfile::LoadResult::Loaded, {}, {}});
  rows.push_back({QStringLiteral("f"), recordfile::LoadResult::Damaged, {}, QStringLiteral("=1+1\x1B")});
  EXPECT_EQ(classreport::csv(rows).toStdString(),
            "名前,第１章,第１章の回数,第２章,第２章の回数,第３章,第３章の回数,備考\r\n"
            "'=cmd|' -c calc'!A0,0,0,0,0,0,0,\r\n"
            "'+1+1,0,0,0,0,0,0,\r\n"
            "'-2+3,0,0,0,0,0,0,\r\n"
            "'@SUM(1+1),0,0,0,0,0,0,\r\n"
            "'\\tx,0,0,0,0,0,0,\r\n"
            "e\\u{001B}[31m,0,0,0,0,0,0,\r\n"
            "a-b,0,0,0,0,0,0,\r\n"
            "taro\\u{200D},0,0,0,0,0,0,\r\n"
            "\\u{00A0}taro,0,0,0,0,0,0,\r\n"
            "f,,,,,,,'=1+1\\u{001B}\r\n");
  QTemporaryDir tmp;
  for (const char* raw : {"/bad\xFF\xFE.dat", "/bad\xFF\xFD.dat"})
    ::close(::open((QFile::encodeName(tmp.path()) + raw).constData(), O_WRONLY | O_CREAT, 0644));
  const std::vector<classreport::Row> read = classreport::read(tmp.path());
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].name, QStringLiteral("bad\\xFF\\xFD"));
  EXPECT_EQ(read[1].name, QStringLiteral("bad\\xFF\\xFE"));
}

TEST(ClassReport, RefusesAFolderItCannotRead) {
  QTemporaryDir tmp;
  writeFile(tmp.path() + QStringLiteral("/file"), {});
  const std::vector<std::pair<QString, QString>> cases = {
      {tmp.path() + QStringLiteral("/none"), QStringLiteral("」が見つかりません。")},
      {tmp.path() + QStringLiteral("/file"), QStringLiteral("」はフォルダではありません。")},
  };
  for (const auto& [folder, message] : cases) {
    const ToolRun run = runTool(KOTOBARION_REPORT, {folder});
    EXPECT_EQ(run.exitCode, 1) << folder.toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.contains(folder + message)) << run.err.toStdString();
  }
}

// Without a folder the report reads the folder the program uses: its own,
// or for the installed package (lib/kotobarion beside the launcher
// bin/kotobarion) the user's copy the launcher runs.
TEST(ClassReport, ReadsTheFolderTheProgramUses) {
  QTemporaryDir tmp;
  const QString usr = tmp.path() + QStringLiteral("/usr");
  ASSERT_TRUE(QDir().mkpath(usr + QStringLiteral("/lib/kotobarion")));
  writeFile(usr + QStringLiteral("/bin/kotobarion"), {});
  const QString home = QStringLiteral("/home/t");
  const QString portable = tmp.path() + QStringLiteral("/kotobarion-1.3");
  const QString userCopy = home + QStringLiteral("/.local/share/kotobarion");
  struct Case {
    QString programDir, xdgDataHome, expected;
  };
  const std::vector<Case> cases = {
      {usr + QStringLiteral("/lib/kotobarion"), QString(), userCopy},
      {usr + QStringLiteral("/lib/kotobarion"), QStringLiteral("/data"), QStringLiteral("/data/kotobarion")},
      {portable, QString(), portable},
      {userCopy, QString(), userCopy},
      {tmp.path() + QStringLiteral("/lib/kotobarion"), QString(), tmp.path() + QStringLiteral("/lib/kotobarion")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(classreport::programFolder(c.programDir, c.xdgDataHome, home), c.expected) << c.programDir.toStdString();
}
