// Question files in every encoding a teacher's editor writes, the DOS
// end-of-file mark, and paths that name no file for reasons other than a
// missing file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "chapter1/bodyidiomsbank.h"
#include "chapter2/homonymsbank.h"
#include "chapter3/idiomsbank.h"
#include "questions/questionfile.h"
#include "records/recordfile.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

const QString kAppDir = QStringLiteral(KOTOBARION_APP_DIR "/");

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QStringList kNames = {BodyIdiomsBank::kFileName, HomonymsBank::kFileName, IdiomsBank::kFileName};

// The bank that reads the question file of that name.
std::unique_ptr<QuestionBank> bankFor(const QString& name) {
  return newBank(static_cast<int>(kNames.indexOf(name)) + 1);
}

// The number of records a bank loads, or -1 when it refuses.
int parsedCount(const QString& name, const QByteArray& bytes) {
  const std::unique_ptr<QuestionBank> bank = bankFor(name);
  return bank->loadBytes(bytes).empty() ? bank->recordCount() : -1;
}

}  // namespace

TEST(QuestionEncoding, TheDeliveredFilesAreCodePage932AndReadExactlyAsBefore) {
  for (const QString& name : kNames) {
    const QByteArray bytes = readAll(kAppDir + name);
    ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
    std::vector<FileProblem> problems;
    TextEncoding encoding = TextEncoding::Utf8;
    const QString text = decodeQuestionText(bytes, &problems, &encoding);
    EXPECT_EQ(encoding, TextEncoding::Cp932) << name.toStdString();
    EXPECT_TRUE(problems.empty()) << name.toStdString();
    // As the plain code page 932 decoder has always read it.
    EXPECT_EQ(text, QStringDecoder("windows-31j").decode(bytes).operator QString()) << name.toStdString();
  }
}

TEST(QuestionEncoding, ShortInputsChooseTheirEncoding) {
  struct Case {
    const char* name;
    QByteArray bytes;
    TextEncoding encoding;
    QString text;
  };
  const std::vector<Case> cases = {
      {"empty", "", TextEncoding::Cp932, QString()},
      {"pure ASCII", "1,2,\"a b\"\r\n", TextEncoding::Cp932, QStringLiteral("1,2,\"a b\"\r\n")},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", TextEncoding::Utf8Bom, QString()},
      {"UTF-8 mark and ASCII",
       "\xEF\xBB\xBF"
       "1,a",
       TextEncoding::Utf8Bom, QStringLiteral("1,a")},
      {"UTF-8 without a mark", "\xE4\xBD\x93", TextEncoding::Utf8, QStringLiteral("体")},
      {"code page 932", "\x91\xCC", TextEncoding::Cp932, QStringLiteral("体")},
      {"code page 932 lead byte alone", "\x82", TextEncoding::Cp932, QString()},
      {"UTF-8 cut short", "a\xE4\xBD", TextEncoding::Cp932, QString()},
      // Half-width katakana ﾃｩ are also the UTF-8 bytes of é: UTF-8 wins.
      {"valid as both", "\xC3\xA9", TextEncoding::Utf8, QStringLiteral("é")},
      {"UTF-16 LE",
       QByteArray("\xFF\xFE"
                  "1\0\x53\x4F",
                  6),
       TextEncoding::Utf16LE, QStringLiteral("1体")},
      {"UTF-16 BE",
       QByteArray("\xFE\xFF\0"
                  "1\x4F\x53",
                  6),
       TextEncoding::Utf16BE, QStringLiteral("1体")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(questionEncoding(c.bytes), c.encoding) << c.name;
    std::vector<FileProblem> problems;
    const QString text = decodeQuestionText(c.bytes, &problems);
    if (!c.text.isNull()) {
      EXPECT_EQ(text, c.text) << c.name;
    }
  }
  // Pure ASCII reads the same in code page 932 and in UTF-8.
  const QByteArray ascii = "0,\"x\"\t~\x7F\r\n";
  EXPECT_EQ(decodeCp932(ascii), QString::fromUtf8(ascii));
}

TEST(QuestionEncoding, Utf8FilesWithAndWithoutTheMarkPlayAndAreCheckedWithTrueLines) {
  QTemporaryDir tmp;
  QStringList args;
  for (const QString& name : kNames) {
    const QByteArray cp932 = readAll(kAppDir + name);
    const int count = parsedCount(name, cp932);
    ASSERT_GT(count, 0) << name.toStdString();
    const QByteArray utf8 = decodeCp932(cp932).toUtf8();
    for (const QByteArray& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
      EXPECT_EQ(parsedCount(name, bytes), count) << name.toStdString();
      // The program loads it from its folder too.
      writeFile(tmp.path() + QStringLiteral("/app/") + name, bytes);
      EXPECT_TRUE(bankFor(name)->load(tmp.path() + QStringLiteral("/app/")).empty()) << name.toStdString();
    }
    // The checker: the file with its mark reads whole; one without, whose
    // fifth line has a bad first field, is refused on line 5.
    const QString good = tmp.path() + QStringLiteral("/good/") + name;
    const QString bad = tmp.path() + QStringLiteral("/bad/") + name;
    writeFile(good, "\xEF\xBB\xBF" + utf8);
    QList<QByteArray> lines = utf8.split('\n');
    lines[4] = "9" + lines[4].mid(1);
    writeFile(bad, lines.join('\n'));
    args << good << bad;
  }
  const ToolRun run = runTool(KOTOBARION_CHECK, args);
  for (int i = 0; i < args.size(); i += 2) {
    const int count = parsedCount(kNames[i / 2], readAll(kAppDir + kNames[i / 2]));
    EXPECT_TRUE(holdsAll(run.out, {args[i] + QStringLiteral(": OK（%1問、UTF-8（BOM付き）").arg(count),
                                   args[i + 1] + QStringLiteral(":5: 1番目の項目")}));
  }
}

// A line saved in code page 932 inside a UTF-8 file is named alone, and
// UTF-16 saved without its mark is told in one line, blaming nothing else.
TEST(QuestionEncoding, ALineOrAFileInAnotherEncodingIsToldAlone) {
  const QByteArray cp932 = readAll(kAppDir + BodyIdiomsBank::kFileName);
  const QString text = decodeCp932(cp932);
  QList<QByteArray> lines = text.toUtf8().split('\n');
  lines[6] = cp932.split('\n')[6];
  struct Case {
    const char* name;
    QByteArray bytes;
    int line;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"one line in code page 932", lines.join('\n'), 7, "UTF-8 ではありません"},
      {"UTF-16 LE without its mark", QStringEncoder(QStringEncoder::Utf16LE)(text), 0, "BOM"},
      {"UTF-16 BE without its mark", QStringEncoder(QStringEncoder::Utf16BE)(text), 0, "BOM"},
  };
  for (const Case& c : cases) {
    const std::vector<FileProblem> problems = BodyIdiomsBank().loadBytes(c.bytes);
    ASSERT_FALSE(problems.empty()) << c.name;
    EXPECT_TRUE(problems[0].message.contains(QString::fromUtf8(c.says))) << problems[0].message.toStdString();
    for (const FileProblem& p : problems) EXPECT_EQ(p.line, c.line) << c.name << " " << p.message.toStdString();
    if (c.line == 0) {
      EXPECT_EQ(problems.size(), 1u) << c.name;
    }
  }
}

TEST(QuestionEncoding, ATrailingEndOfFileMarkIsIgnoredAndControlBytesAreThemselves) {
  for (const QString& name : kNames) {
    const QByteArray bytes = readAll(kAppDir + name);
    EXPECT_EQ(parsedCount(name, bytes + '\x1A'), parsedCount(name, bytes)) << name.toStdString();
    const QByteArray utf8 = decodeCp932(bytes).toUtf8();
    EXPECT_EQ(parsedCount(name, utf8 + '\x1A'), parsedCount(name, bytes)) << name.toStdString();
  }
  // A record ending in the mark keeps its sixth number.
  for (const QByteArray& record : {QByteArray("1,2,0,3,999,7\r\n\x1A"), QByteArray("1,2,0,3,999,7\x1A")}) {
    LearnerRecord learner{};
    EXPECT_EQ(recordfile::decode(record, learner), 6);
    EXPECT_EQ(learner.count[2], 7);
  }
  EXPECT_EQ(decodeCp932("\x1A\x1C\x7F"), QStringLiteral("\x1A\x1C\x7F"));
  EXPECT_EQ(encodeCp932(QStringLiteral("\x1A\x1C\x7F")), QByteArray("\x1A\x1C\x7F"));
  // A DEL inside a choice is refused and shown as what it is.
  std::vector<HomonymsBank::Record> records;
  const std::vector<FileProblem> problems = HomonymsBank::read(
      smallBank2() + encodeCp932(QStringLiteral("1,\"g1\",\"かな\",\"漢\x7F\",\"＊。\"\r\n")), &records);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_TRUE(reportLine(QStringLiteral("同音.txt"), problems[0]).contains(QStringLiteral("漢\\u{007F}")))
      << problems[0].message.toStdString();
}

TEST(QuestionEncoding, APathThatNamesNoFileSaysWhy) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  ASSERT_TRUE(QFile::link(dir + QStringLiteral("b.txt"), dir + QStringLiteral("a.txt")));
  ASSERT_TRUE(QFile::link(dir + QStringLiteral("a.txt"), dir + QStringLiteral("b.txt")));
  ASSERT_TRUE(QFile::link(dir + QStringLiteral("nowhere"), dir + QStringLiteral("dangling.txt")));
  writeFile(dir + QStringLiteral("plain"), "x");
  struct Case {
    const char* name;
    QString path;
    QString message;
  };
  const std::vector<Case> cases = {
      {"missing", dir + QStringLiteral("none.txt"), QStringLiteral("ファイルが見つかりません。")},
      {"link loop", dir + QStringLiteral("a.txt"),
       QStringLiteral("ファイルを開けません（シンボリックリンクが循環しています）。")},
      {"dangling link", dir + QStringLiteral("dangling.txt"),
       QStringLiteral("ファイルが見つかりません（シンボリックリンクの先がありません）。")},
      {"file as folder", dir + QStringLiteral("plain/体.txt"),
       QStringLiteral("ファイルが見つかりません（パスの途中がフォルダではありません）。")},
  };
  for (const Case& c : cases) {
    QByteArray bytes;
    const std::vector<FileProblem> problems = readQuestionFile(c.path, &bytes);
    ASSERT_EQ(problems.size(), 1u) << c.name;
    EXPECT_EQ(problems[0].message, c.message) << c.name;
  }
}
