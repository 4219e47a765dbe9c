#include <gtest/gtest.h>

#include <set>

#include "chapter2/homonymsbank.h"
#include "layout/fit.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

// Scripted values first, then a fixed pseudo-random sequence; counts draws.
struct Script : Randoms {
  Script() { gen.seed(3); }
};

HomonymsBank loaded(const QByteArray& bytes = smallBank2()) {
  HomonymsBank bank;
  EXPECT_TRUE(bank.loadBytes(bytes).empty());
  return bank;
}

}  // namespace

TEST(HomonymsBank, HoldsRecordIAtIndexIWithItsFields) {
  const HomonymsBank bank = loaded();
  EXPECT_EQ(bank.lastRecord, 10);
  EXPECT_TRUE(bank.record(0).level.isNumber());
  EXPECT_EQ(bank.record(0).key.asText(), QStringLiteral("g1"));
  EXPECT_EQ(bank.record(0).kana.asText(), QStringLiteral("かな1"));
  EXPECT_EQ(bank.record(0).kanji.asText(), QStringLiteral("漢0"));
  EXPECT_EQ(bank.record(0).sentence, QStringLiteral("最初の＊。"));
  EXPECT_EQ(bank.record(10).kanji.asText(), QStringLiteral("漢10"));
}

TEST(HomonymsBank, QuestionsFollowLevelsNeverRepeatAndNeverAskTheFirstRecord) {
  HomonymsBank bank = loaded();
  Script s;
  for (int quiz = 0; quiz < 40; ++quiz) {
    bank.clearAllMarks();
    bank.newQuiz();
    std::set<int> seen;
    for (int q = 1; q <= 10; ++q) {
      const int r = bank.draw(q, s.fn());
      EXPECT_NE(r, 0);
      EXPECT_TRUE(seen.insert(r).second) << "record " << r << " twice";
      EXPECT_EQ(bank.record(r).level.asNumber(), q <= 6 ? 1 : 2);
      EXPECT_EQ(bank.currentRecord, r);
      EXPECT_EQ(bank.rightAnswer.asText(), bank.record(r).kanji.asText());
    }
  }
  // The first record is offered in its group all the same, in file order.
  EXPECT_EQ(bank.candidates(bank.record(1).key),
            (std::vector<QString>{QStringLiteral("漢0"), QStringLiteral("漢1"), QStringLiteral("漢2")}));
  EXPECT_EQ(bank.candidates(bank.record(9).key), (std::vector<QString>{QStringLiteral("漢9"), QStringLiteral("漢10")}));
}

TEST(HomonymsBank, ARecordRejectedForItsLevelStaysMarked) {
  HomonymsBank bank = loaded();
  Script s;
  s.values = {0.65f, 0.05f};  // record 7 (level 2), then record 1 (level 1)
  EXPECT_EQ(bank.draw(1, s.fn()), 1);
  EXPECT_EQ(bank.Used[7], 1);
  EXPECT_EQ(bank.Used[1], 1);
  EXPECT_EQ(s.drawn, 2);
}

TEST(HomonymsBank, MarksRunOutWithoutHangingOrRepeatingInAQuiz) {
  // Perfect quizzes keep the marks; every level is used up after one quiz
  // of a bank with exactly 6 + 4 askable records.
  HomonymsBank bank = loaded();
  Script s;
  for (int quiz = 0; quiz < 3; ++quiz) {
    bank.newQuiz();
    std::set<int> seen;
    for (int q = 1; q <= 10; ++q) {
      const int r = bank.draw(q, s.fn());
      EXPECT_TRUE(seen.insert(r).second) << "quiz " << quiz << " record " << r;
      EXPECT_EQ(bank.record(r).level.asNumber(), q <= 6 ? 1 : 2);
    }
    EXPECT_EQ(seen.size(), 10u);
  }
}

TEST(HomonymsBank, TheShuffleExchangesTwoToEightTimes) {
  struct Case {
    float n;      // the value that sets the number of exchanges
    int randoms;  // values drawn in all
  };
  for (const Case c : {Case{0.0f, 1 + 2 * 2}, Case{0.5f, 1 + 2 * 5}, Case{0.99999994f, 1 + 2 * 8}}) {
    std::array<QString, 5> list{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    Script s;
    s.values = {c.n};
    HomonymsBank::shuffle(list, 2, s.fn());
    EXPECT_EQ(s.drawn, c.randoms) << c.n;
    std::multiset<QString> after(list.begin(), list.begin() + 3);
    EXPECT_EQ(after, (std::multiset<QString>{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
  }
  // Two exchanges: 0 with 1, then 2 with 2.
  std::array<QString, 5> list{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
  Script s;
  s.values = {0.0f, 0.0f, 0.5f, 0.9f, 0.99999994f};
  HomonymsBank::shuffle(list, 2, s.fn());
  EXPECT_EQ(list[0], QStringLiteral("B"));
  EXPECT_EQ(list[1], QStringLiteral("A"));
  EXPECT_EQ(list[2], QStringLiteral("C"));
  // One candidate stays where it is.
  std::array<QString, 5> one{QStringLiteral("X")};
  HomonymsBank::shuffle(one, 0, s.fn());
  EXPECT_EQ(one[0], QStringLiteral("X"));
}

TEST(HomonymsBank, TheMarkSplitsTheSentenceWhereverItStands) {
  EXPECT_EQ(HomonymsBank::splitSentence(QStringLiteral("＊が先。")),
            (std::array<QString, 2>{"", QStringLiteral("が先。")}));
  EXPECT_EQ(HomonymsBank::splitSentence(QStringLiteral("後に＊")),
            (std::array<QString, 2>{QStringLiteral("後に"), ""}));
  EXPECT_EQ(HomonymsBank::splitSentence(QStringLiteral("a＊b＊c")),
            (std::array<QString, 2>{QStringLiteral("a"), QStringLiteral("b＊c")}));
}

TEST(HomonymsBank, BadFilesAreRefusedWithTheirLine) {
  const QString good = decodeCp932(smallBank2());
  QString crowded = good;
  for (int i = 0; i < 3; ++i) crowded += QStringLiteral("1,\"g1\",\"か\",\"字%1\",\"＊。\"\r\n").arg(i);
  QString tooMany = good;
  for (int i = 0; i < 901 - 11; ++i) tooMany += QStringLiteral("1,%1,\"か\",\"字\",\"＊。\"\r\n").arg(i + 100);
  tooMany += QStringLiteral("1,9999,\"か\",\"字\",\"＊。\"\r\n");
  const std::vector<Refusal> cases = {
      {"four fields", encodeCp932(good + QStringLiteral("1,\"g9\",\"か\",\"字\"\r\n")), 12,
       QStringLiteral("足りません")},
      {"level 3", encodeCp932(good + QStringLiteral("3,\"g9\",\"か\",\"字\",\"＊。\"\r\n")), 12,
       QStringLiteral("レベル")},
      {"no mark", encodeCp932(good + QStringLiteral("1,\"g9\",\"か\",\"字\",\"なし。\"\r\n")), 12,
       QStringLiteral("＊")},
      {"six in a group", encodeCp932(crowded), 14, QStringLiteral("5問を超えて")},
      {"902 records", encodeCp932(tooMany), 902, QStringLiteral("多すぎます")},
      {"not code page 932", smallBank2() + QByteArray("1,\"g\",\"\x82\",\"x\",\"\x81\x96\"\r\n"), 0,
       QStringLiteral("Shift_JIS")},
      // The first record is never asked: five level-1 records after it are too few.
      {"too few askable",
       encodeCp932(good.section(QStringLiteral("\r\n"), 0, 5) + QStringLiteral("\r\n") +
                   good.section(QStringLiteral("\r\n"), 7, 10) + QStringLiteral("\r\n")),
       0, QStringLiteral("レベル1の問題が 5問").remove(u' ')},
  };
  for (const Refusal& c : cases) {
    HomonymsBank bank = loaded();
    expectRefused(bank, c);
    EXPECT_EQ(bank.record(0).key.asText(), QStringLiteral("g1")) << c.name;
    EXPECT_EQ(bank.lastRecord, 10) << c.name;
  }
}

TEST(HomonymsBank, WarnsATeacherOfWhatPlaysBadly) {
  const QString text = QStringLiteral(
      "1,\"a\",\"かな\",\"同じ\",\"＊です。\"\r\n"
      "1,\"a\",\"かな\",\"同じ\",\"＊でした。\"\r\n"
      "1,\"b\",\"ひとり\",\"一人\",\"＊だけ。\"\r\n"
      "1,\"c\",\"ながい\",\"長い長い漢字\",\"この文はとても長くて画面の幅にはとうてい収まりきらない＊です。\"\r\n");
  std::vector<HomonymsBank::Record> records;
  HomonymsBank::read(encodeCp932(text), &records);
  const std::vector<FileProblem> w = HomonymsBank::warnings(records, fit::chapter2Boxes());
  EXPECT_TRUE(warns(w, 2, QStringLiteral("同じ漢字")));
  EXPECT_TRUE(warns(w, 3, QStringLiteral("1問だけ")));
  EXPECT_TRUE(warns(w, 4, QStringLiteral("問題文が長すぎて")));
  EXPECT_TRUE(warns(w, 4, QStringLiteral("選択ボタンに収まりません")));
  EXPECT_FALSE(warns(w, 1, QString()));
}
