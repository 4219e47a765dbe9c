// Records that do not load completely, hostile names and counts at their
// ceiling: nothing a learner had is lost, nothing overflows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <climits>

#include "chapter1/form3.h"
#include "chapter2/form1.h"
#include "records/form2.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "testapp.h"

namespace {

using recordfile::LoadResult;

std::array<int, 7> slots6(int a, int b, int c, int d, int e, int f) { return {a, b, c, d, e, f, 0}; }

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList filesIn(const QString& dir) {
  QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  names.sort();
  return names;
}

}  // namespace

TEST(DamagedRecord, DecodesEditorArtefactsAndStopsAtJunk) {
  struct Case {
    QByteArray bytes;
    int read;
    bool damaged;
    std::array<int, 7> expected;
  };
  const QString record = QStringLiteral("2,5,0,0,999,7\r\n");
  const QByteArray utf16le = QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE)(record);
  const QByteArray utf16be = QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE)(record);
  const std::vector<Case> cases = {
      {"\xEF\xBB\xBF"
       "2,5,0,0,999,7\r\n",
       6, false, slots6(2, 0, 999, 5, 0, 7)},
      {utf16le, 6, false, slots6(2, 0, 999, 5, 0, 7)},
      {utf16be, 6, false, slots6(2, 0, 999, 5, 0, 7)},
      {"1,3", 2, false, slots6(1, 0, 0, 3, 0, 0)},
      {"", 0, false, slots6(0, 0, 0, 0, 0, 0)},
      {"\r\n\r\n", 0, false, slots6(0, 0, 0, 0, 0, 0)},
      {"3x,5,0,0,0,0", 0, true, slots6(0, 0, 0, 0, 0, 0)},
      {"1,3x,0,0,0,0", 1, true, slots6(1, 0, 0, 0, 0, 0)},
      {QByteArray("1,3\0,0,0,0,0", 12), 1, true, slots6(1, 0, 0, 0, 0, 0)},
      {"1,2147483648,0,0,0,0", 1, true, slots6(1, 0, 0, 0, 0, 0)},
      {"1,2147483647,0,0,0,0", 6, false, slots6(1, 0, 0, INT_MAX, 0, 0)},
      {QByteArray("2\0,\0"
                  "5\0",
                  6),
       0, true, slots6(0, 0, 0, 0, 0, 0)},  // UTF-16 without its mark
  };
  for (const Case& c : cases) {
    std::array<int, 7> kiroku{};
    bool damaged = !c.damaged;
    EXPECT_EQ(recordfile::decode(c.bytes, kiroku, &damaged), c.read) << c.bytes.toHex().toStdString();
    EXPECT_EQ(damaged, c.damaged) << c.bytes.toHex().toStdString();
    EXPECT_EQ(kiroku, c.expected) << c.bytes.toHex().toStdString();
  }
}

TEST(DamagedRecord, LoadTellsWhatKindOfFileItFound) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  struct Case {
    const char* name;
    QByteArray bytes;
    LoadResult result;
  };
  const std::vector<Case> cases = {
      {"whole", "1,2,0,3,0,4\r\n", LoadResult::Loaded},
      {"bom",
       "\xEF\xBB\xBF"
       "1,2,0,3,0,4\r\n",
       LoadResult::Loaded},
      {"short", "1,3", LoadResult::Short},
      {"empty", "", LoadResult::Empty},
      {"junk", "3x", LoadResult::Empty},
      {"half", "1,2,0x,3,0,4", LoadResult::Damaged},
      {"huge", "1,2,0,99999999999,0,4", LoadResult::Damaged},
  };
  for (const Case& c : cases) {
    writeFile(dir + QString::fromUtf8(c.name) + QStringLiteral(".dat"), c.bytes);
    std::array<int, 7> kiroku{};
    QString problem;
    EXPECT_EQ(recordfile::load(dir, QString::fromUtf8(c.name), kiroku, &problem), c.result) << c.name;
    const bool silent = c.result == LoadResult::Loaded || c.result == LoadResult::Short;
    EXPECT_EQ(problem.isEmpty(), silent) << c.name;
  }
  QDir().mkpath(dir + QStringLiteral("folder.dat"));
  std::array<int, 7> kiroku{};
  QString problem;
  EXPECT_EQ(recordfile::load(dir, QStringLiteral("folder"), kiroku, &problem), LoadResult::Unreadable);
  EXPECT_TRUE(problem.contains(QStringLiteral("フォルダ")));
}

TEST(DamagedRecordDeathTest, AFileTheLearnerCannotReadIsUnreadable) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  writeFile(dir + QStringLiteral("secret.dat"), "1,2,0,3,0,4\r\n");
  ASSERT_EQ(::chmod(QFile::encodeName(dir + QStringLiteral("secret.dat")).constData(), 0), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0777), 0);
  // Root reads every file; the check runs as an ordinary user in a child.
  const auto loadAsUser = [&dir] {
    if (::geteuid() == 0 && ::setuid(65534) != 0) _exit(100);
    std::array<int, 7> kiroku{};
    _exit(static_cast<int>(recordfile::load(dir, QStringLiteral("secret"), kiroku)));
  };
  EXPECT_EXIT(loadAsUser(), ::testing::ExitedWithCode(static_cast<int>(LoadResult::Unreadable)), "");
}

TEST(DamagedRecord, ASaveKeepsACopyOfARecordThatDidNotLoadCompletely) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  const QString file = dir + QStringLiteral("たろう.dat");
  for (const QByteArray& bytes : {QByteArray(""), QByteArray("3x"), QByteArray("1,5,0,0,0,x"),
                                  QByteArray("\xFF\xFE"
                                             "3\0",
                                             4),
                                  QByteArray("1,3")}) {
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    writeFile(file, bytes);
    ASSERT_TRUE(recordfile::save(dir, QStringLiteral("たろう"), slots6(0, 0, 0, 1, 0, 0)));
    EXPECT_EQ(readFile(file), QByteArray("0,1,0,0,0,0\r\n"));
    EXPECT_EQ(readFile(file + QStringLiteral(".bak")), bytes) << bytes.toHex().toStdString();
    // The record is whole now: the next save keeps no further copy.
    ASSERT_TRUE(recordfile::save(dir, QStringLiteral("たろう"), slots6(0, 0, 0, 2, 0, 0)));
    EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral("たろう.dat"), QStringLiteral("たろう.dat.bak")}));
  }
}

TEST(DamagedRecord, AnEarlierCopyIsNeverOverwritten) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  writeFile(dir + QStringLiteral("a.dat.bak"), "first");
  writeFile(dir + QStringLiteral("a.dat"), "second");
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("a"), slots6(0, 0, 0, 0, 0, 0)));
  writeFile(dir + QStringLiteral("a.dat"), "third");
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("a"), slots6(0, 0, 0, 0, 0, 0)));
  EXPECT_EQ(readFile(dir + QStringLiteral("a.dat.bak")), QByteArray("first"));
  EXPECT_EQ(readFile(dir + QStringLiteral("a.dat.bak2")), QByteArray("second"));
  EXPECT_EQ(readFile(dir + QStringLiteral("a.dat.bak3")), QByteArray("third"));
  // A whole record is replaced without a copy.
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("a"), slots6(1, 0, 0, 0, 0, 0)));
  EXPECT_EQ(filesIn(dir).size(), 4);
}

TEST(DamagedRecord, AFolderInTheRecordsPlaceIsMovedAsideNotLost) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  QDir().mkpath(dir + QStringLiteral("b.dat"));
  writeFile(dir + QStringLiteral("b.dat/inside"), "keep");
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("b"), slots6(0, 0, 0, 1, 0, 0)));
  EXPECT_EQ(readFile(dir + QStringLiteral("b.dat")), QByteArray("0,1,0,0,0,0\r\n"));
  EXPECT_EQ(readFile(dir + QStringLiteral("b.dat.bak/inside")), QByteArray("keep"));
}

TEST(DamagedRecord, RegistrationTellsTheLearnerAndTheQuizKeepsTheOriginal) {
  struct Case {
    QByteArray bytes;
    const char* says;
    const char* goesOn = "0 から始めます";
  };
  for (const Case& c : {Case{"", "空"},
                        // UTF-16 saved without its byte order mark
                        Case{QByteArray("3\0,\0"
                                        "1\0",
                                        6),
                             "数字が見つかりません"},
                        Case{"2,7,1,x", "4番目", "読めたところまで"}}) {
    TestApp app;
    app.write(QStringLiteral("はな.dat"), c.bytes);
    app.registerName(QStringLiteral("はな"));
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「はな.dat」")))
        << app.fake.boxes[0].text.toStdString();
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QString::fromUtf8(c.says))) << app.fake.boxes[0].text.toStdString();
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QString::fromUtf8(c.goesOn))) << app.fake.boxes[0].text.toStdString();
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「はな.dat.bak」")));
    EXPECT_TRUE(app.fake.modals.empty());  // not greeted as a new learner
    EXPECT_TRUE(app.sh->form2->Frm1->isVisible());
    app.choose(2);
    app.sh->form1->close();  // counts the quiz and saves
    EXPECT_EQ(app.read(QStringLiteral("はな.dat.bak")), c.bytes);
  }
  // A BOM before the numbers is only an editor's artefact.
  TestApp app;
  app.write(QStringLiteral("bom.dat"),
            "\xEF\xBB\xBF"
            "2,5,0,0,999,7\r\n");
  app.registerName(QStringLiteral("bom"));
  EXPECT_TRUE(app.fake.boxes.empty());
  EXPECT_EQ(app.sh->Kiroku, (std::array<int, 7>{2, 0, 999, 5, 0, 7, 0}));
}

TEST(DamagedRecord, AFolderNamedLikeTheRecordIsReportedAtRegistration) {
  TestApp app;
  QDir().mkpath(app.dir() + QStringLiteral("け.dat"));
  app.registerName(QStringLiteral("け"));
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「け.dat」")));
  EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("フォルダ")));
}

TEST(RecordNames, RefusesWhatCannotBeSavedAgainAndAgain) {
  // The record's file name plus the save's seven-byte suffix fits in 255 bytes.
  const QString longest = QString(244, u'a');  // 244 + ".dat" + 7 = 255
  const QString tooLong = QString(245, u'a');
  const QString kanji = QString(81, u'あ');  // 243 + 4 + 7 = 254
  struct Case {
    QString name;
    bool refused;
  };
  const std::vector<Case> cases = {
      {QString(), false},
      {QStringLiteral("."), false},
      {QStringLiteral(".."), false},
      {QStringLiteral("...x"), false},
      {QStringLiteral("たろう 2"), false},
      {QStringLiteral("😀"), false},
      {longest, false},
      {kanji, false},
      {tooLong, true},
      {QString(82, u'あ'), true},
      {QStringLiteral("a/b"), true},
      {QStringLiteral("a\\b"), true},
      {QStringLiteral("a\nb"), true},
      {QString(QChar(0)), true},
      {QStringLiteral("a\x7f"), true},
      {QString(QChar(0x85)), true},
      {QString(QChar(0xD800)), true},
      {QString(QChar(0xDC00)) + QStringLiteral("x"), true},
      {QStringLiteral("ab") + QChar(0x202E) + QStringLiteral("cd"), true},
      {QString(QChar(0x2066)), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(!recordfile::nameProblem(c.name).isEmpty(), c.refused) << c.name.toStdString() << " " << c.name.size();
}

TEST(RecordNames, TheLongestAcceptedNameSavesAgainAndAgain) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  for (const QString& name : {QString(244, u'a'), QString(81, u'あ')}) {
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(recordfile::save(dir, name, slots6(i, 0, 0, i, 0, 0))) << i;
    std::array<int, 7> back{};
    EXPECT_EQ(recordfile::load(dir, name, back), LoadResult::Loaded);
    EXPECT_EQ(back[0], 2);
  }
}

TEST(RecordNames, DotNamesAreOrdinaryFilesInTheFolder) {
  TestApp app;
  app.registerName(QStringLiteral(".."));
  ASSERT_EQ(app.fake.modals.size(), 1u);  // greeted as a new learner
  EXPECT_TRUE(app.fake.boxes.empty());
  app.choose(2);
  app.sh->form1->close();
  EXPECT_EQ(app.read(QStringLiteral("...dat")), QByteArray("0,0,0,1,0,0\r\n"));
  std::array<int, 7> back{};
  EXPECT_EQ(recordfile::load(app.dir(), QStringLiteral("."), back), LoadResult::Missing);
  ASSERT_TRUE(recordfile::save(app.dir(), QStringLiteral("."), slots6(1, 0, 0, 0, 0, 0)));
  EXPECT_EQ(app.read(QStringLiteral("..dat")), QByteArray("1,0,0,0,0,0\r\n"));
}

TEST(RecordNames, AHostileNameIsRefusedAtTheNameBox) {
  struct Case {
    QString name;
    const char* says;
  };
  for (const Case& c : {Case{QStringLiteral("../x"), "「/」"}, Case{QStringLiteral("a\\b"), "「/」"},
                        Case{QStringLiteral("a\tb"), "制御文字"}, Case{QString(300, u'a'), "長すぎ"},
                        Case{QStringLiteral("x") + QChar(0x202E), "向き"}}) {
    TestApp app;
    app.registerName(c.name);
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QString::fromUtf8(c.says))) << app.fake.boxes[0].text.toStdString();
    Form2* f = app.sh->form2;
    EXPECT_TRUE(app.fake.modals.empty());
    EXPECT_FALSE(f->Txt1->isHidden());
    EXPECT_FALSE(f->Cmd1->isHidden());
    EXPECT_TRUE(f->Frm1->isHidden());
    EXPECT_EQ(f->Kaisu, 1);
    // Another name then registers as usual.
    app.registerName(QStringLiteral("よし"));
    EXPECT_EQ(app.fake.modals.size(), 1u);
    EXPECT_FALSE(f->Frm1->isHidden());
    EXPECT_EQ(app.sh->UserName, QStringLiteral("よし"));
    EXPECT_EQ(filesIn(app.tmp.path()).filter(QStringLiteral(".dat")).size(), 0);
  }
}

TEST(RecordTemporaries, StaleTemporaryFilesAreRemovedOnLoadAndSave) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("hana"), slots6(2, 0, 0, 5, 0, 0)));
  // A save killed between writing and renaming leaves name.dat.XXXXXX behind
  // (where the folder takes no unnamed files, for the whole write).
  writeFile(dir + QStringLiteral("hana.dat.AbCdEf"), "0,6,0,0,0,0\r\n");
  const QStringList keep = {QStringLiteral("hana.dat"),        QStringLiteral("hana.dat.bak"),
                            QStringLiteral("hana.dat.Ab12C"),  QStringLiteral("hana.dat.Ab12Cde"),
                            QStringLiteral("hana.dat.Ab-2Cd"), QStringLiteral("hanako.dat.Ab12Cd"),
                            QStringLiteral("xhana.dat.Ab12Cd")};
  for (const QString& name : keep.mid(1)) writeFile(dir + name, "other");
  writeFile(dir + QStringLiteral("hana.dat.zz99ZZ"), "stale");
  std::array<int, 7> back{};
  EXPECT_EQ(recordfile::load(dir, QStringLiteral("hana"), back), LoadResult::Loaded);
  QStringList expected = keep;
  expected.sort();
  EXPECT_EQ(filesIn(dir), expected);

  writeFile(dir + QStringLiteral("hana.dat.Qw34Er"), "stale");
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("hana"), slots6(2, 0, 0, 6, 0, 0)));
  EXPECT_EQ(filesIn(dir), expected);
  EXPECT_EQ(recordfile::removeStaleTemporaries(dir, QStringLiteral("hanako")), 1);
}

TEST(RecordLinks, ASaveWritesThroughALinkATeacherSetUp) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + QStringLiteral("/app/");
  QDir().mkpath(dir);
  QDir().mkpath(tmp.path() + QStringLiteral("/shared"));
  const QString target = tmp.path() + QStringLiteral("/shared/hana.dat");
  writeFile(target, "1,2,0,0,0,0\r\n");
  ASSERT_TRUE(QFile::link(target, dir + QStringLiteral("hana.dat")));
  std::array<int, 7> kiroku{};
  ASSERT_EQ(recordfile::load(dir, QStringLiteral("hana"), kiroku), LoadResult::Loaded);
  kiroku[3] = 3;
  ASSERT_TRUE(recordfile::save(dir, QStringLiteral("hana"), kiroku));
  EXPECT_TRUE(QFileInfo(dir + QStringLiteral("hana.dat")).isSymLink());
  EXPECT_EQ(readFile(target), QByteArray("1,3,0,0,0,0\r\n"));
}

TEST(RecordCounts, CountUpStopsAtTheCeiling) {
  EXPECT_EQ(recordfile::countUp(0), 1);
  EXPECT_EQ(recordfile::countUp(-5), -4);
  EXPECT_EQ(recordfile::countUp(INT_MAX - 1), INT_MAX);
  EXPECT_EQ(recordfile::countUp(INT_MAX), INT_MAX);
  EXPECT_EQ(recordfile::countUp(INT_MIN), INT_MIN + 1);
}

TEST(RecordCounts, ACountAtItsCeilingNeverOverflowsOnAnyPath) {
  const QByteArray full = "0,2147483647,0,2147483647,0,2147483647\r\n";
  const QByteArray saved = full;
  // End of a chapter 1 quiz.
  {
    TestApp app;
    app.write(QStringLiteral("m.dat"), full);
    app.registerName(QStringLiteral("m"));
    app.choose(1);
    app.start();
    app.answer(false);
    EXPECT_EQ(app.read(QStringLiteral("m.dat")), saved);
    EXPECT_EQ(app.sh->Kiroku[3], INT_MAX);
  }
  // Chapter 1 close box, chapter 2 menu 終了 and close box.
  for (int path = 0; path < 3; ++path) {
    TestApp app;
    app.write(QStringLiteral("m.dat"), full);
    app.registerName(QStringLiteral("m"));
    app.choose(path == 0 ? 1 : 2);
    if (path == 0) app.sh->form3->close();
    if (path == 1) app.sh->form1->en->trigger();
    if (path == 2) app.sh->form1->close();
    EXPECT_EQ(app.read(QStringLiteral("m.dat")), saved) << path;
  }
  // The message window's close box.
  {
    TestApp app;
    app.write(QStringLiteral("m.dat"), full);
    app.registerName(QStringLiteral("m"));
    app.fake.dismissals.push_back([](QWidget* w) { w->close(); });
    app.choose(3);
    EXPECT_EQ(app.read(QStringLiteral("m.dat")), saved);
  }
}

TEST(RecordCounts, AStreakAtTheCeilingNeverOverflows) {
  TestApp app;
  app.write(QStringLiteral("s.dat"), "2147483647,0,0,0,0,0\r\n");
  app.registerName(QStringLiteral("s"));
  app.choose(1);
  app.start();
  for (int q = 0; q < 10; ++q) app.answer(true);
  EXPECT_EQ(app.read(QStringLiteral("s.dat")).left(11), QByteArray("2147483647,"));
}
