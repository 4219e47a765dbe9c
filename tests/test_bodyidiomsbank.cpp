#include <gtest/gtest.h>

#include <QFile>
#include <set>

#include "chapter1/bodyidiomsbank.h"
#include "testapp.h"
#include "testfiles.h"

TEST(BodyIdiomsBank, LoadsRecordsFromIndexOne) {
  BodyIdiomsBank bank;
  ASSERT_TRUE(bank.loadBytes(smallBank()).empty());
  EXPECT_EQ(bank.lastRecord, 10);
  EXPECT_FALSE(bank.loadBytes(smallBank() + "x").empty());
  EXPECT_EQ(bank.lastRecord, 10);  // a refused file keeps the records held
  EXPECT_TRUE(bank.record(1).level.isNumber());
  EXPECT_EQ(bank.record(1).sentence.asText(), QStringLiteral("一の＊1"));
  EXPECT_EQ(bank.record(10).meaning.asText(), QStringLiteral("意味の二10。"));
  EXPECT_EQ(bank.record(10).meaning.kind, Value::Kind::Text);
}

TEST(BodyIdiomsBank, TheDrawFollowsLevelsAndNeverRepeats) {
  BodyIdiomsBank bank;
  ASSERT_TRUE(bank.loadBytes(smallBank()).empty());
  Randoms gen{.gen = std::mt19937(7)};
  for (int quiz = 0; quiz < 50; ++quiz) {
    bank.clearAllMarks();
    std::set<int> seen;
    for (int q = 1; q <= 10; ++q) {
      const int k = bank.draw(q, gen.fn());
      ASSERT_TRUE(seen.insert(k).second) << "record " << k << " came twice";
      EXPECT_EQ(bank.record(k).level.asNumber(), q <= 6 ? 1 : 2);
      EXPECT_GE(k, 1);
    }
    EXPECT_EQ(seen.size(), 10u);  // with exactly 6 + 4 records every record once
  }
}

TEST(BodyIdiomsBank, MeaningSplit) {
  struct Case {
    int length;
    int periodAt;  // 1-based position of "。", 0 for none
    int first;
  };
  for (const Case c : {Case{28, 0, 28}, Case{20, 0, 20}, Case{29, 0, 28}, Case{40, 28, 29}, Case{28, 28, 28},
                       Case{29, 28, 29}, Case{56, 0, 28}}) {
    QString s(c.length, u'あ');
    if (c.periodAt > 0) s[c.periodAt - 1] = u'。';
    const auto lines = BodyIdiomsBank::splitMeaning(s);
    EXPECT_EQ(lines[0].size(), c.first) << c.length << "/" << c.periodAt;
    EXPECT_EQ(lines[0] + lines[1], s);
  }
}

TEST(BodyIdiomsBank, AnswerIndexFromFieldTwo) {
  EXPECT_EQ(BodyIdiomsBank::answerIndex(Value::ofNumber(1)), 0);
  EXPECT_EQ(BodyIdiomsBank::answerIndex(Value::ofNumber(12)), 11);
  EXPECT_EQ(BodyIdiomsBank::answerIndex(Value::ofText(QStringLiteral("3abc"))), 2);
  EXPECT_EQ(BodyIdiomsBank::answerIndex(Value::ofText(QStringLiteral("x"))), -1);
  EXPECT_EQ(BodyIdiomsBank::words()[0], QStringLiteral("頭"));
  EXPECT_EQ(BodyIdiomsBank::words()[11], QStringLiteral("足"));
}

TEST(BodyIdiomsBank, BadFilesAreRefusedWithLineAndProblem) {
  QString many;
  for (int i = 0; i < 901; ++i) many += QStringLiteral("%1,1,\"＊\",\"m\"\r\n").arg(i % 2 + 1);
  const std::vector<Refusal> cases = {
      {"incomplete last record", smallBank() + encodeCp932(QStringLiteral("1,2,\"＊だけ\"\r\n")), 11,
       QStringLiteral("項目が足りません")},
      {"more than 900 records", encodeCp932(many), 901, QStringLiteral("多すぎます")},
      {"too few level 1",
       encodeCp932(QStringLiteral("1,1,\"＊\",\"m\"\r\n2,1,\"＊\",\"m\"\r\n2,1,\"＊\",\"m\"\r\n"
                                  "2,1,\"＊\",\"m\"\r\n2,1,\"＊\",\"m\"\r\n")),
       0, QStringLiteral("レベル1の問題が 1問").remove(u' ')},
      {"too few level 2", smallBank().left(smallBank().indexOf("2,7")), 0, QStringLiteral("レベル2の問題が0問")},
      {"answer out of range", smallBank() + encodeCp932(QStringLiteral("1,0,\"＊\",\"m\"\r\n")), 11,
       QStringLiteral("正解の番号")},
      {"answer not a number", smallBank() + encodeCp932(QStringLiteral("1,\"3\",\"＊\",\"m\"\r\n")), 11,
       QStringLiteral("正解の番号")},
      {"sentence without the mark", smallBank() + encodeCp932(QStringLiteral("1,3,\"目がない\",\"m\"\r\n")), 11,
       QStringLiteral("「＊」がありません")},
      {"bad level", smallBank() + encodeCp932(QStringLiteral("3,3,\"＊\",\"m\"\r\n")), 11, QStringLiteral("レベル")},
      {"not code page 932", smallBank() + QByteArray("1,2,\"\x81\x20\",\"m\"\r\n"), 11, QStringLiteral("Shift_JIS")},
  };
  for (const Refusal& c : cases) {
    std::vector<BodyIdiomsBank::Record> records;
    const std::vector<FileProblem> problems = BodyIdiomsBank::read(c.bytes, &records);
    ASSERT_FALSE(problems.empty()) << c.name;
    EXPECT_EQ(problems[0].line, c.line) << c.name;
    EXPECT_TRUE(problems[0].message.contains(c.says)) << c.name << ": " << problems[0].message.toStdString();
    EXPECT_TRUE(records.empty()) << c.name << ": a refused file gives no record";
  }
}

TEST(BodyIdiomsBank, TheDeliveredFileIsAGoodQuiz) {
  QFile f(QStringLiteral(KOTOBARION_APP_DIR "/体.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.contains("\r\n"));
  EXPECT_FALSE(bytes.contains("\n\n"));
  BodyIdiomsBank bank;
  ASSERT_TRUE(bank.loadBytes(bytes).empty());
  const int count = bank.lastRecord;
  EXPECT_GE(count, 72);
  std::array<int, 12> perWord{};
  int level1 = 0;
  int level2 = 0;
  std::set<QString> sentences;
  for (int i = 1; i <= count; ++i) {
    const BodyIdiomsBank::Record& r = bank.record(i);
    const QString sentence = r.sentence.asText();
    const QString meaning = r.meaning.asText();
    EXPECT_EQ(sentence.count(u'＊'), 1) << i;
    EXPECT_LE(meaning.size(), 56) << i;
    EXPECT_FALSE(meaning.isEmpty()) << i;
    EXPECT_TRUE(sentences.insert(sentence).second) << "sentence twice: " << i;
    perWord[static_cast<std::size_t>(BodyIdiomsBank::answerIndex(r.answer))]++;
    (r.level.asNumber() == 1 ? level1 : level2)++;
  }
  for (std::size_t w = 0; w < 12; ++w) EXPECT_GE(perWord[w], 4) << BodyIdiomsBank::words()[w].toStdString();
  EXPECT_GE(level1, 48);
  EXPECT_GE(level2, 24);
}
