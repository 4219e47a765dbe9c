// Hostile fields in question files: huge fields quoted short, control
// characters in what a learner reads as a choice or a sentence, group keys
// that only look alike.
#include <gtest/gtest.h>

#include "chapter1/bodyidiomsbank.h"
#include "chapter2/homonymsbank.h"
#include "chapter3/idiomsbank.h"
#include "layout/fit.h"
#include "questions/questionfile.h"
#include "testapp.h"

TEST(HostileFields, AHugeFieldIsQuotedShort) {
  // A first field of 300 000 characters, then a record that is otherwise
  // complete; chapter 2 also quotes its group key and kanji.
  const QString huge(300000, u'x');
  const std::vector<std::pair<int, QString>> cases = {
      {1, huge + QStringLiteral(",1,\"＊\",\"m\"\r\n")},
      {1, QStringLiteral("1,") + huge + QStringLiteral(",\"＊\",\"m\"\r\n")},
      {2, huge + QStringLiteral(",\"g\",\"か\",\"字\",\"＊\"\r\n")},
      {3, huge + QStringLiteral(",\"文\",\"句\",\"鍵\",\"意味\"\r\n")},
  };
  for (const auto& [chapter, record] : cases) {
    const std::vector<FileProblem> problems = newBank(chapter)->loadBytes(smallBankOf(chapter) + encodeCp932(record));
    ASSERT_FALSE(problems.empty()) << chapter;
    for (const FileProblem& p : problems) {
      EXPECT_LT(p.message.size(), 120) << chapter;
      EXPECT_TRUE(p.message.contains(QStringLiteral("xxx…」"))) << chapter << p.message.left(80).toStdString();
    }
    EXPECT_LT(describeProblems(QStringLiteral("問題.txt"), problems).size(), 1000) << chapter;
  }
  EXPECT_EQ(quoteField(QString(kQuotedChars, u'字')), u'「' + QString(kQuotedChars, u'字') + u'」');
}

TEST(HostileFields, ControlCharactersInAChoiceOrASentenceRefuseTheFile) {
  struct Case {
    int chapter;
    QString record;  // appended after the small bank's ten or eleven lines
    QString field;   // the field the problem names; empty when none
  };
  const std::vector<Case> cases = {
      {1, QStringLiteral("1,1,\"漢\n＊\",\"m\"\r\n"), QStringLiteral("3番目の項目（問題文）")},
      {1, QStringLiteral("1,1,\"＊\",\"意味\"\r\n"), QString()},
      {2, QStringLiteral("1,\"g1\",\"かな\",\"漢\n0\",\"＊\"\r\n"), QStringLiteral("4番目の項目（漢字）")},
      {2, QStringLiteral("1,\"g1\",\"か") + QChar(0) + QStringLiteral("な\",\"漢\",\"＊\"\r\n"),
       QStringLiteral("3番目の項目（かな）")},
      {2, QStringLiteral("1,\"g1\",\"かな\",\"漢\",\"＊\t\"\r\n"), QStringLiteral("5番目の項目（問題文）")},
      {2, QStringLiteral("1,\"g1\",\"かな\",\"漢\",\"＊\"\r\n"), QString()},
      {3, QStringLiteral("1,\"文\",\"赤の\r\n他人\",\"鍵\",\"意味\"\r\n"), QStringLiteral("3番目の項目（慣用句）")},
      {3, QStringLiteral("1,\"文\x1C\",\"句\",\"鍵\",\"意味\"\r\n"), QStringLiteral("2番目の項目（問題文）")},
      {3, QStringLiteral("1,\"文\",\"句\",\"鍵\",\"意味\"\r\n"), QString()},
  };
  for (const Case& c : cases) {
    const QByteArray bank = smallBankOf(c.chapter);
    const std::vector<FileProblem> problems = newBank(c.chapter)->loadBytes(bank + encodeCp932(c.record));
    if (c.field.isEmpty()) {
      EXPECT_TRUE(problems.empty()) << c.record.toStdString();
      continue;
    }
    ASSERT_EQ(problems.size(), 1u) << c.record.toStdString();
    EXPECT_EQ(problems[0].line, bank.count('\n') + 1) << c.record.toStdString();
    EXPECT_TRUE(problems[0].message.startsWith(c.field + QStringLiteral("に改行やタブなどの制御文字があります")))
        << problems[0].message.toStdString();
  }
}

TEST(HostileFields, ANumberKeyAndATextKeyAreNeverOneGroup) {
  struct Case {
    Value a, b;
    bool same;
  };
  const std::vector<Case> cases = {
      {Value::ofNumber(1), Value::ofText(QStringLiteral("#1")), false},
      {Value::ofNumber(1), Value::ofText(QStringLiteral("1")), false},
      {Value::ofNumber(1), Value::ofNumber(1.0), true},
      {Value::ofNumber(3), Value::ofNumber(3.0), true},
      {Value::ofNumber(3), Value::ofText(QStringLiteral("3")), false},
      {Value::ofText(QStringLiteral("いし")), Value::ofText(QStringLiteral("いし")), true},
      {Value::ofText(QStringLiteral("#1")), Value::ofText(QStringLiteral("#1")), true},
      {Value(), Value::ofText(QString()), true},
  };
  for (const Case& c : cases) EXPECT_EQ(HomonymsBank::sameKey(c.a, c.b), c.same) << "row " << &c - cases.data();
  // In a file: 1 and "#1" make two groups of one, each offering one choice.
  std::vector<HomonymsBank::Record> records;
  ASSERT_TRUE(HomonymsBank::read(smallBank2() + encodeCp932(QStringLiteral("1,1,\"か\",\"甲\",\"＊\"\r\n"
                                                                           "1,#1,\"か\",\"乙\",\"＊\"\r\n")),
                                 &records)
                  .empty());
  int single = 0;
  for (const FileProblem& w : HomonymsBank::warnings(records, fit::chapter2Boxes()))
    if (w.message.contains(QStringLiteral("この1問だけ"))) ++single;
  EXPECT_EQ(single, 2);
}
