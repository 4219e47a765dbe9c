#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "records/recordfile.h"
#include "testapp.h"
#include "testfiles.h"

TEST(RecordFile, WritesOneCrLfLineChapterByChapter) {
  EXPECT_EQ(recordfile::encode(slots6(0, 0, 0, 0, 0, 0)), QByteArray("0,0,0,0,0,0\r\n"));
  // slot order 0..5: streaks of chapters 1..3, then their quiz counts
  EXPECT_EQ(recordfile::encode(slots6(2, 0, 999, 5, 0, 7)), QByteArray("2,5,0,0,999,7\r\n"));
  EXPECT_EQ(recordfile::encode(slots6(1, 2, 0, 7, 8, 0)), QByteArray("1,7,2,8,0,0\r\n"));
  EXPECT_EQ(recordfile::encode(slots6(-1, 0, 0, 0, 0, 0)), QByteArray("-1,0,0,0,0,0\r\n"));
}

TEST(RecordFile, ReadsLeniently) {
  struct Case {
    const char* bytes;
    int read;
    LearnerRecord expected;
  };
  const std::vector<Case> cases = {
      {"2,5,0,0,999,7\r\n", 6, slots6(2, 0, 999, 5, 0, 7)},
      {" 2 ,\t5, 0,0 ,999,7", 6, slots6(2, 0, 999, 5, 0, 7)},
      {"\"2\",\"5\",0,0,999,7\r\n", 6, slots6(2, 0, 999, 5, 0, 7)},
      {"2\r\n5\r\n0\r\n0\r\n999\r\n7\r\n", 6, slots6(2, 0, 999, 5, 0, 7)},
      {"1,3", 2, slots6(1, 0, 0, 3, 0, 0)},
      {"1,2,3,4,5,6,7,8\r\n", 6, slots6(1, 3, 5, 2, 4, 6)},
      {"1,x,3,4,5,6", 1, slots6(1, 0, 0, 0, 0, 0)},
      {"", 0, slots6(0, 0, 0, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    LearnerRecord learner{};
    EXPECT_EQ(recordfile::decode(QByteArray(c.bytes), learner), c.read) << c.bytes;
    EXPECT_EQ(learner, c.expected) << c.bytes;
  }
}

TEST(RecordFile, SavesAndLoadsUnderEveryPlainName) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  for (const QString& name : {QString(), QStringLiteral("たろう"), QStringLiteral("A B"), QStringLiteral("...x")}) {
    ASSERT_TRUE(recordfile::save(dir, name, slots6(1, 2, 0, 7, 8, 0))) << name.toStdString();
    EXPECT_EQ(readFile(dir + name + ".dat"), QByteArray("1,7,2,8,0,0\r\n"));
    LearnerRecord back{};
    EXPECT_EQ(recordfile::load(dir, name, back), recordfile::LoadResult::Loaded);
    EXPECT_EQ(back, slots6(1, 2, 0, 7, 8, 0));
  }
  EXPECT_TRUE(QFile::exists(dir + ".dat"));
  LearnerRecord none{};
  EXPECT_EQ(recordfile::load(dir, QStringLiteral("nobody"), none), recordfile::LoadResult::Missing);
}

TEST(RecordFile, HostileNamesNeverTouchAFileOutsideTheFolder) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + QStringLiteral("/app/");
  QDir().mkpath(dir);
  writeFile(tmp.path() + QStringLiteral("/victim.dat"), "9,9,9,9,9,9\r\n");
  const QStringList names = {QStringLiteral("../victim"), QStringLiteral("a/b"), QStringLiteral("..\\victim"),
                             QStringLiteral("tab\there"), QString(300, u'あ')};
  for (const QString& name : names) {
    EXPECT_FALSE(recordfile::nameProblem(name).isEmpty()) << name.toStdString();
    EXPECT_FALSE(recordfile::save(dir, name, slots6(1, 1, 1, 1, 1, 1)));
    LearnerRecord learner{};
    EXPECT_EQ(recordfile::load(dir, name, learner), recordfile::LoadResult::Unreadable);
    EXPECT_EQ(learner, slots6(0, 0, 0, 0, 0, 0));
  }
  EXPECT_EQ(readFile(tmp.path() + QStringLiteral("/victim.dat")), QByteArray("9,9,9,9,9,9\r\n"));
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(RecordFile, AnUnwritableFolderKeepsTheOldRecordAndSaysWhy) {
  QTemporaryDir tmp;
  // A folder path through a plain file cannot be written, even by root.
  writeFile(tmp.path() + QStringLiteral("/file"), {});
  QString error;
  EXPECT_FALSE(
      recordfile::save(tmp.path() + QStringLiteral("/file/"), QStringLiteral("a"), slots6(1, 0, 0, 0, 0, 0), &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(RecordFileDeathTest, ACrashBeforeTheRenameLeavesTheOldRecordIntact) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("hana"), slots6(2, 0, 0, 5, 0, 0)));
  // The child writes the new record's temporary file and dies before the rename.
  EXPECT_EXIT(recordfile::save(dir, QStringLiteral("hana"), slots6(0, 0, 0, 6, 0, 0), nullptr, [] { _exit(3); }),
              ::testing::ExitedWithCode(3), "");
  EXPECT_EQ(readFile(dir + QStringLiteral("hana.dat")), QByteArray("2,5,0,0,0,0\r\n"));
  LearnerRecord back{};
  EXPECT_EQ(recordfile::load(dir, QStringLiteral("hana"), back), recordfile::LoadResult::Loaded);
  EXPECT_EQ(back.streak[0], 2);
}
