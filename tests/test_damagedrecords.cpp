// Records that do not load completely, hostile names and counts at their
// ceiling: nothing a learner had is lost, nothing overflows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <climits>

#include "records/recordfile.h"
#include "testapp.h"
#include "testfiles.h"

using recordfile::LoadResult;

TEST(DamagedRecord, DecodesEditorArtefactsAndStopsAtJunk) {
  struct Case {
    QByteArray bytes;
    int read;
    bool damaged;
    LearnerRecord expected;
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
      // Whole numbers only: a fraction or an exponent is damage, never rounded.
      {"1,2.5,0,0,0,0", 1, true, slots6(1, 0, 0, 0, 0, 0)},
      {"1e3,0,0,0,0,0", 0, true, slots6(0, 0, 0, 0, 0, 0)},
      {"-1,+2,0,0,0,0", 6, false, slots6(-1, 0, 0, 2, 0, 0)},
      {QByteArray("2\0,\0"
                  "5\0",
                  6),
       0, true, slots6(0, 0, 0, 0, 0, 0)},  // UTF-16 without its mark
  };
  for (const Case& c : cases) {
    LearnerRecord learner{};
    bool damaged = !c.damaged;
    EXPECT_EQ(recordfile::decode(c.bytes, learner, &damaged), c.read) << c.bytes.toHex().toStdString();
    EXPECT_EQ(damaged, c.damaged) << c.bytes.toHex().toStdString();
    EXPECT_EQ(learner, c.expected) << c.bytes.toHex().toStdString();
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
    LearnerRecord learner{};
    QString problem;
    EXPECT_EQ(recordfile::load(dir, QString::fromUtf8(c.name), learner, &problem), c.result) << c.name;
    const bool silent = c.result == LoadResult::Loaded || c.result == LoadResult::Short;
    EXPECT_EQ(problem.isEmpty(), silent) << c.name;
  }
  QDir().mkpath(dir + QStringLiteral("folder.dat"));
  LearnerRecord learner{};
  QString problem;
  EXPECT_EQ(recordfile::load(dir, QStringLiteral("folder"), learner, &problem), LoadResult::Unreadable);
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
    LearnerRecord learner{};
    _exit(static_cast<int>(recordfile::load(dir, QStringLiteral("secret"), learner)));
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
    app.registerName(QStringLiteral("はな"), c.bytes);
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_TRUE(holdsAll(app.fake.boxes[0].text, {QStringLiteral("「はな.dat」"), QString::fromUtf8(c.says),
                                                  QString::fromUtf8(c.goesOn), QStringLiteral("「はな.dat.bak」")}));
    EXPECT_TRUE(app.fake.modals.empty());  // not greeted as a new learner
    EXPECT_TRUE(app.sh->registrationWindow->chapterFrame->isVisible());
    app.choose(2);
    app.sh->homonymsWindow->close();  // counts the quiz and saves
    EXPECT_EQ(app.read(QStringLiteral("はな.dat.bak")), c.bytes);
  }
  // A BOM before the numbers is only an editor's artefact.
  TestApp app;
  app.registerName(QStringLiteral("bom"), QByteArray("\xEF\xBB\xBF") + "2,5,0,0,999,7\r\n");
  EXPECT_TRUE(app.fake.boxes.empty());
  EXPECT_EQ(app.sh->record(), (LearnerRecord{{2, 0, 999}, {5, 0, 7}, 0}));
}

TEST(RecordNames, RefusesWhatCannotBeSavedAgainAndAgain) {
  // The record's file name plus the save's seven-byte suffix fits in 255
  // bytes: 244 + ".dat" + 7 = 255, and 81 kanji make 243 + 4 + 7 = 254.
  // The rules hold for the composed name that becomes the file: each U+0958
  // U+0959 composes to four code points, 420 bytes in all for 35 of them.
  const QStringList accepted = {QStringLiteral("."),        QStringLiteral(".."),
                                QStringLiteral("...x"),     QString(),
                                QStringLiteral("たろう 2"), QStringLiteral("😀"),
                                QString(244, u'a'),         QString(81, u'あ'),
                                QStringLiteral("たろう."),  QStringLiteral("か\u3099"),
                                QStringLiteral("ta ro"),    QString::fromUcs4(U"\u0958\u0959").repeated(20)};
  const QStringList refused = {QString(245, u'a'), QString(82, u'あ'), QStringLiteral("a/b"), QStringLiteral("a\\b"),
                               QStringLiteral("a\nb"), QString(QChar(0)), QStringLiteral("a\x7f"), QString(QChar(0x85)),
                               QString(QChar(0xD800)), QString(QChar(0xDC00)) + QStringLiteral("x"),
                               QStringLiteral("ab") + QChar(0x202E) + QStringLiteral("cd"), QString(QChar(0x2066)),
                               // Names that show nothing, or hide a character, or a blank at an end.
                               QStringLiteral("\u200B"), QStringLiteral("\u3099"), QStringLiteral("\u3000"),
                               QStringLiteral("ta\u200Bro"), QStringLiteral("ta\u2028ro"), QStringLiteral("ta\u2029ro"),
                               QStringLiteral("ta\u200Cro"), QStringLiteral("ta\u2060ro"), QStringLiteral("ta\uFEFFro"),
                               QStringLiteral("ta\u00ADro"), QStringLiteral("taro") + QString::fromUcs4(U"\U000E0041"),
                               QStringLiteral(" たろう"), QStringLiteral("たろう "), QStringLiteral("たろう\u3000"),
                               QString::fromUcs4(U"\u0958\u0959").repeated(35),
                               // Default-ignorable code points, Hangul fillers and space separators,
                               // by their Unicode properties.
                               QStringLiteral("\u3164"), QStringLiteral("\u115F"), QStringLiteral("\uFFA0"),
                               QStringLiteral("\u2800"), QStringLiteral("taro\u200D"), QStringLiteral("taro\uFE0F"),
                               QStringLiteral("taro") + QString::fromUcs4(U"\U000E0100"), QStringLiteral("taro\u180B"),
                               QStringLiteral("taro\uFFF9"), QStringLiteral("taro") + QString::fromUcs4(U"\U0001D173"),
                               QStringLiteral("taro\u17B4"), QStringLiteral("\u00A0taro"), QStringLiteral("taro\u00A0"),
                               QStringLiteral("\u2003taro"), QStringLiteral("taro\u2003")};
  // A new learner in an empty folder.
  QTemporaryDir tmp;
  for (bool refuse : {false, true})
    for (const QString& name : refuse ? refused : accepted)
      EXPECT_EQ(!recordfile::registrationProblem(tmp.path() + u'/', name).isEmpty(), refuse)
          << name.toStdString() << " " << name.size();
}

TEST(RecordNames, TheLongestAcceptedNameSavesAgainAndAgain) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  for (const QString& name : {QString(244, u'a'), QString(81, u'あ')}) {
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(recordfile::save(dir, name, slots6(i, 0, 0, i, 0, 0))) << i;
    LearnerRecord back{};
    EXPECT_EQ(recordfile::load(dir, name, back), LoadResult::Loaded);
    EXPECT_EQ(back.streak[0], 2);
  }
}

TEST(RecordNames, DotNamesAreOrdinaryFilesInTheFolder) {
  TestApp app;
  app.registerName(QStringLiteral(".."));
  ASSERT_EQ(app.fake.modals.size(), 1u);  // greeted as a new learner
  EXPECT_TRUE(app.fake.boxes.empty());
  app.choose(2);
  app.sh->homonymsWindow->close();
  EXPECT_EQ(app.read(QStringLiteral("...dat")), QByteArray("0,0,0,1,0,0\r\n"));
  LearnerRecord back{};
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
                        Case{QStringLiteral("x") + QChar(0x202E), "向き"},
                        Case{QStringLiteral("\u200B"), "見えない文字"}, Case{QStringLiteral("\u3000"), "見える文字"},
                        Case{QStringLiteral("ta\u2028ro"), "見えない文字"}, Case{QStringLiteral("よし "), "空白"}}) {
    TestApp app;
    app.registerName(c.name);
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QString::fromUtf8(c.says))) << app.fake.boxes[0].text.toStdString();
    RegistrationWindow* f = app.sh->registrationWindow;
    EXPECT_TRUE(app.fake.modals.empty());
    EXPECT_FALSE(f->nameEdit->isHidden());
    EXPECT_FALSE(f->registerButton->isHidden());
    EXPECT_TRUE(f->chapterFrame->isHidden());
    EXPECT_TRUE(f->awaitingName());
    // Another name then registers as usual.
    app.registerName(QStringLiteral("よし"));
    EXPECT_EQ(app.fake.modals.size(), 1u);
    EXPECT_FALSE(f->chapterFrame->isHidden());
    EXPECT_EQ(app.sh->userName(), QStringLiteral("よし"));
    EXPECT_EQ(filesIn(app.tmp.path()).filter(QStringLiteral(".dat")).size(), 0);
  }
}
