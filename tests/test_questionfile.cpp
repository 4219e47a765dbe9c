// Reading question files: real line numbers, one size limit for the program
// and the checker, reports that a field's text cannot forge, and numbers read
// exactly as before.
#include <gtest/gtest.h>

#include <QDir>

#include "chapter1/bodyidiomsbank.h"
#include "questions/questionfile.h"
#include "testapp.h"
#include "testfiles.h"

TEST(QuestionFile, LinesCountEveryKindOfLineEndInsideQuotes) {
  struct Case {
    const char* name;
    QString text;
    std::vector<int> lines;
  };
  const std::vector<Case> cases = {
      {"CR LF", QStringLiteral("\"a\r\nb\",x\r\ny"), {1, 2, 3}},
      {"LF", QStringLiteral("\"a\nb\",x\ny"), {1, 2, 3}},
      {"CR", QStringLiteral("\"a\rb\rc\",x\ry"), {1, 3, 4}},
      {"mixed", QStringLiteral("\"a\r\rb\n\r\nc\",x\ry"), {1, 5, 6}},
      {"CR then LF after the quote", QStringLiteral("\"a\r\",x\r\ny"), {1, 2, 3}},
  };
  for (const Case& c : cases) {
    FieldReader r(c.text);
    std::vector<int> lines;
    Field f;
    while (r.next(f)) lines.push_back(f.line);
    EXPECT_EQ(lines, c.lines) << c.name;
  }
  FieldReader r(QStringLiteral("\"a\rb\",1"));
  Field f;
  ASSERT_TRUE(r.next(f));
  EXPECT_EQ(f.text, QStringLiteral("a\rb"));
}

TEST(QuestionFile, BytesThatAreNotCodePage932AreReportedOnTheirLine) {
  struct Case {
    const char* name;
    QByteArray bytes;
    std::vector<int> lines;
  };
  const std::vector<Case> cases = {
      {"none", "a\r\nb", {}},
      {"line 3 of CR LF", "a\r\n\x82\xa0\r\n\x81\x20x\r\n", {3}},
      {"lines 2 and 4 of CR", "a\r\xff\rb\r\x81\x20", {2, 4}},
      {"LF", "\n\n\xa0\xfd\n", {3}},
      {"lead byte before a line end", "x\x81\r\ny", {1}},
      // A bad line does not spoil the good lines after it.
      {"0x80 then a good line", "\x80\r\n\x82\xa0\r\n", {1}},
      {"0xFF then a good line after CR", "\xff\r\x81\x42", {1}},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xE4\xBD\x93\r\n\xE4\xBD\r\n\xE4\xBD\x93", {2}},
  };
  for (const Case& c : cases) {
    std::vector<FileProblem> problems;
    decodeQuestionText(c.bytes, &problems);
    std::vector<int> lines;
    for (const FileProblem& p : problems) lines.push_back(p.line);
    EXPECT_EQ(lines, c.lines) << c.name;
  }
  const std::vector<FileProblem> problems =
      BodyIdiomsBank().loadBytes(smallBank() + QByteArray("1,2,\"\x81\x20\",\"m\"\r\n"));
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0].line, 11);
}

TEST(QuestionFile, ALongBlankTailOrBlankRecordsEndTheRead) {
  // A file of blank lines ends; blank lines before a stray field make empty
  // records, refused by the record limit, not by waiting.
  const QByteArray blank = QByteArray(200000, '\n');
  BodyIdiomsBank bank;
  EXPECT_TRUE(bank.loadBytes(smallBank() + blank).empty());
  EXPECT_EQ(bank.recordCount(), 10);
  const std::vector<FileProblem> problems = bank.loadBytes(smallBank() + blank + "x");
  ASSERT_FALSE(problems.empty());
  EXPECT_TRUE(problems.back().message.contains(QStringLiteral("多すぎます"))) << problems.back().message.toStdString();
}

TEST(QuestionFile, OneSizeLimitForTheProgramAndTheChecker) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  // Ten good records padded with blank lines to the limit, then one byte more.
  QByteArray atLimit = smallBank();
  atLimit += QByteArray(kMaxQuestionFileBytes - atLimit.size(), '\n');
  ASSERT_EQ(atLimit.size(), kMaxQuestionFileBytes);
  for (const QByteArray& bytes : {atLimit, atLimit + "\n"}) {
    const bool fits = bytes.size() <= kMaxQuestionFileBytes;
    writeFile(dir + BodyIdiomsBank::kFileName, bytes);
    QByteArray read;
    EXPECT_EQ(readQuestionFile(dir + BodyIdiomsBank::kFileName, &read).empty(), fits);
    EXPECT_EQ(read.size(), fits ? bytes.size() : 0);
    BodyIdiomsBank bank;
    EXPECT_EQ(bank.load(dir).empty(), fits);
    const ToolRun run = runTool(KOTOBARION_CHECK, {dir + BodyIdiomsBank::kFileName});
    EXPECT_EQ(run.exitCode, fits ? 0 : 1) << run.out.toStdString();
    if (!fits) {
      EXPECT_TRUE(run.out.contains(QStringLiteral("大きすぎます"))) << run.out.toStdString();
    }
  }
  QByteArray read;
  EXPECT_FALSE(readQuestionFile(dir + QStringLiteral("none.txt"), &read).empty());
  QDir().mkpath(dir + QStringLiteral("folder.txt"));
  EXPECT_FALSE(readQuestionFile(dir + QStringLiteral("folder.txt"), &read).empty());
}

TEST(QuestionFile, ControlCharactersAreShownVisibly) {
  struct Case {
    QString text;
    QString shown;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("普通の文"), QStringLiteral("普通の文")},
      {QStringLiteral("a\nb\r\tc"), QStringLiteral("a\\nb\\r\\tc")},
      {QString(QChar(0)) + QStringLiteral("x"), QStringLiteral("\\0x")},
      {QStringLiteral("\x1b[31m"), QStringLiteral("\\u{001B}[31m")},
      {QString(QChar(0x85)) + QChar(0x2028) + QChar(0x202E) + QChar(0x7F),
       QStringLiteral("\\u{0085}\\u{2028}\\u{202E}\\u{007F}")},
  };
  for (const Case& c : cases) EXPECT_EQ(showControls(c.text), c.shown) << c.text.toStdString();
  EXPECT_EQ(reportLine(QStringLiteral("a\nb/体.txt"), {3, QStringLiteral("x\ny")}),
            QStringLiteral("a\\nb/体.txt:3: x\\ny"));
}

TEST(QuestionFile, TheCheckerPrintsOneLinePerProblemWhateverTheFieldHolds) {
  QTemporaryDir tmp;
  const QString path = tmp.path() + QStringLiteral("/体.txt");
  writeFile(path, smallBank() + encodeCp932(QStringLiteral("\"\nINJECTED:99: fake\",1,\"＊\",\"m\"\r\n")) +
                      QByteArray("3\0cut,1,\"x\",\"m\"\r\n", 17));
  const ToolRun run = runTool(KOTOBARION_CHECK, {path});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 3) << run.out.toStdString();
  for (const QString& line : lines) EXPECT_TRUE(line.startsWith(path + u':')) << line.toStdString();
  EXPECT_FALSE(run.out.contains(QStringLiteral("\nINJECTED")));
  EXPECT_TRUE(holdsAll(run.out, {QStringLiteral("\\nINJECTED:99: fake"), QStringLiteral("3\\0cut")}));
  EXPECT_FALSE(run.out.contains(QChar(0)));
}

TEST(QuestionFile, NumbersReadExactlyAsBefore) {
  struct Case {
    const char* text;
    bool number;
    double value;
  };
  const std::vector<Case> cases = {
      {"1", true, 1},       {"+2", true, 2},     {"-3", true, -3},     {"1.", true, 1},     {".5", true, 0.5},
      {"1.25", true, 1.25}, {"1e3", true, 1000}, {"2E-2", true, 0.02}, {"1e+2", true, 100}, {"", false, 0},
      {".", false, 0},      {"+", false, 0},     {"1e", false, 0},     {"e1", false, 0},    {"1 ", false, 0},
      {" 1", false, 0},     {"1x", false, 0},    {"0x10", false, 0},   {"1,5", false, 0},   {"１", false, 0},
      {"1e999", false, 0},  {"inf", false, 0},   {"nan", false, 0},    {"--1", false, 0},   {"00012", true, 12},
      {"1.5.", false, 0},
  };
  for (const Case& c : cases) {
    double v = -1;
    EXPECT_EQ(readsAsNumber(QString::fromUtf8(c.text), &v), c.number) << c.text;
    if (c.number) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
  const QString longNumber = QString(80, u'9');
  double v = 0;
  EXPECT_TRUE(readsAsNumber(longNumber, &v));
  EXPECT_DOUBLE_EQ(v, 1e80);
}
