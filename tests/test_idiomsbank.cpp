#include <gtest/gtest.h>

#include <map>
#include <set>

#include "chapter3/idiomsbank.h"
#include "layout/fit.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

IdiomsBank loaded(const QByteArray& bytes) {
  IdiomsBank bank;
  EXPECT_TRUE(bank.loadBytes(bytes).empty());
  return bank;
}

// Records 0..n-1 with the given groups and keys "鍵<i>" unless given.
QByteArray bank3Of(const std::vector<int>& groups, const std::map<int, QString>& keys = {}) {
  QString text;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const QString key = keys.count(static_cast<int>(i)) ? keys.at(static_cast<int>(i)) : QStringLiteral("鍵%1").arg(i);
    text += QStringLiteral("%1,\"文%2\",\"句%2\",\"%3\",\"意味%2。\"\r\n").arg(groups[i]).arg(i).arg(key);
  }
  return encodeCp932(text);
}

}  // namespace

TEST(IdiomsBank, HoldsRecordKAtIndexKWithItsFields) {
  const IdiomsBank bank = loaded(smallBank3());
  EXPECT_EQ(bank.lastRecord, 9);
  EXPECT_EQ(bank.record(0).group.asNumber(), 1);
  EXPECT_EQ(bank.record(0).sentence.asText(), QStringLiteral("文1"));
  EXPECT_EQ(bank.record(0).phrase.asText(), QStringLiteral("句1"));
  EXPECT_EQ(bank.record(0).key.asText(), QStringLiteral("鍵1"));
  EXPECT_EQ(bank.record(9).meaning, QStringLiteral("意味10。"));
}

TEST(IdiomsBank, AnEmptyFirstFieldEndsTheBankButAZeroDoesNot) {
  std::vector<int> groups = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 0};
  QString text = decodeCp932(bank3Of(groups));
  text += QStringLiteral(",\"x\",\"y\",\"z\",\"w\"\r\n2,\"後\",\"後\",\"後\",\"後\"\r\n");
  std::vector<IdiomsBank::Record> records;
  int ignoredFrom = -1;
  EXPECT_TRUE(IdiomsBank::read(encodeCp932(text), &records, &ignoredFrom).empty());
  EXPECT_EQ(records.size(), 11u);
  EXPECT_EQ(ignoredFrom, 12);
  // A last record without a line end still loads.
  text = decodeCp932(bank3Of(groups));
  text.chop(2);
  EXPECT_TRUE(IdiomsBank::read(encodeCp932(text), &records, &ignoredFrom).empty());
  EXPECT_EQ(records.size(), 11u);
  EXPECT_EQ(ignoredFrom, 0);
}

TEST(IdiomsBank, AQuizAsksSixGroupOneThenFourGroupTwoRecordsNoneTwice) {
  // Group 0 records are never asked.
  IdiomsBank bank = loaded(bank3Of({0, 1, 2, 1, 1, 0, 2, 1, 2, 1, 2, 1, 1, 2}));
  Randoms gen{.gen = std::mt19937(5)};
  for (int quiz = 0; quiz < 30; ++quiz) {
    bank.drawQuiz(gen.fn());
    std::set<QString> seen;
    for (int i = 1; i <= 10; ++i) {
      const IdiomsBank::Row& row = bank.quizRows[static_cast<std::size_t>(i)];
      EXPECT_EQ(row.group.asNumber(), i <= 6 ? 1 : 2);
      EXPECT_TRUE(seen.insert(row.key.asText()).second);
    }
  }
  // Exactly six group-1 records: the same six every quiz.
  IdiomsBank six = loaded(smallBank3());
  six.drawQuiz(gen.fn());
  std::set<QString> first;
  for (int i = 1; i <= 6; ++i) first.insert(six.quizRows[static_cast<std::size_t>(i)].phrase.asText());
  EXPECT_EQ(first, (std::set<QString>{"句1", "句2", "句3", "句4", "句5", "句6"}));
}

TEST(IdiomsBank, OptionsCarryEightDifferentKeysWithTheRightPhraseAtSeikaiNo) {
  // Records 10 and 11 share a key with records 0 and 1; record 12 has none;
  // record 13 has the phrase of record 2 under a key of its own.
  std::vector<int> groups = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 1, 2, 1, 2};
  QString text =
      decodeCp932(bank3Of(groups, {{10, QStringLiteral("鍵0")}, {11, QStringLiteral("鍵1")}, {12, QString()}}));
  text.replace(QStringLiteral("\"句13\""), QStringLiteral("\"句2\""));
  IdiomsBank bank = loaded(encodeCp932(text));
  Randoms gen{.gen = std::mt19937(11)};
  std::array<int, 8> rightAt{};
  for (int quiz = 0; quiz < 200; ++quiz) {
    bank.drawQuiz(gen.fn());
    for (int n = 1; n <= 10; ++n) {
      bank.assemble(n, gen.fn());
      const auto right = static_cast<int>(bank.rightOption);
      ASSERT_GE(right, 0);
      ASSERT_LE(right, 7);
      ++rightAt[static_cast<std::size_t>(right)];
      const IdiomsBank::Row& row = bank.quizRows[static_cast<std::size_t>(n)];
      EXPECT_EQ(bank.choices[static_cast<std::size_t>(right)], row.phrase.asText());
      EXPECT_TRUE(bank.choices[8].isEmpty());
      std::set<QString> keys;
      for (int s = 0; s < 8; ++s) {
        const QString& phrase = bank.choices[static_cast<std::size_t>(s)];
        ASSERT_FALSE(phrase.isEmpty());
        if (s == right) continue;
        // Which record a wrong phrase came from: its key must be new and not empty.
        for (int k = 0; k <= bank.lastRecord; ++k)
          if (bank.record(k).phrase.asText() == phrase && phrase != QStringLiteral("句2")) {
            EXPECT_TRUE(keys.insert(bank.record(k).key.asText()).second);
          }
        EXPECT_NE(phrase, QStringLiteral("句12"));  // the record without a key
      }
      EXPECT_EQ(keys.count(row.key.asText()), 0u);
    }
  }
  for (int count : rightAt) EXPECT_GT(count, 200);  // about 250 each
}

TEST(IdiomsBank, DrawsStayInsideTheirRange) {
  EXPECT_EQ(IdiomsBank::drawUpTo(7, 0.0f), 0);
  EXPECT_EQ(IdiomsBank::drawUpTo(7, 0.5f), 4);
  EXPECT_EQ(IdiomsBank::drawUpTo(7, 0.99999994f), 7);
  EXPECT_EQ(IdiomsBank::drawUpTo(900, 0.99999994f), 900);
  EXPECT_EQ(IdiomsBank::drawUpTo(0, 0.7f), 0);
}

TEST(IdiomsBank, MeaningsOverTwentySevenCharactersBreakAfterTwentySix) {
  for (const auto& [length, first] : std::vector<std::pair<int, int>>{{27, 27}, {28, 26}, {40, 26}, {5, 5}}) {
    const QString s(length, u'あ');
    const auto lines = IdiomsBank::splitMeaning(s);
    EXPECT_EQ(lines[0].size(), first) << length;
    EXPECT_EQ(lines[1].size(), length - first) << length;
  }
}

TEST(IdiomsBank, BadFilesAreRefusedWithTheirLine) {
  const std::vector<int> ok = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2};
  QString tooMany = decodeCp932(bank3Of(ok));
  for (int i = 10; i < 902; ++i) tooMany += QStringLiteral("0,\"s\",\"p\",\"k%1\",\"m\"\r\n").arg(i);
  const std::vector<Refusal> cases = {
      {"ends inside a record", smallBank3() + encodeCp932(QStringLiteral("1,\"s\",\"p\"\r\n")), 11,
       QStringLiteral("足りません")},
      {"group 3", smallBank3() + encodeCp932(QStringLiteral("3,\"s\",\"p\",\"k\",\"m\"\r\n")), 11,
       QStringLiteral("グループ")},
      {"902 records", encodeCp932(tooMany), 902, QStringLiteral("多すぎます")},
      {"five of group 1", bank3Of({1, 1, 1, 1, 1, 2, 2, 2, 2, 0}), 0, QStringLiteral("グループ1の問題が5問")},
      {"three of group 2", bank3Of({1, 1, 1, 1, 1, 1, 2, 2, 2, 0}), 0, QStringLiteral("グループ2の問題が3問")},
      {"seven keys", bank3Of(ok, {{7, "鍵0"}, {8, "鍵1"}, {9, QString()}}), 0, QStringLiteral("7種類")},
      {"not code page 932", smallBank3() + QByteArray("1,\"\x82\"\r\n"), 0, QStringLiteral("Shift_JIS")},
  };
  for (const Refusal& c : cases) {
    IdiomsBank bank = loaded(smallBank3());
    expectRefused(bank, c);
    EXPECT_EQ(bank.record(0).key.asText(), QStringLiteral("鍵1")) << c.name;
    EXPECT_EQ(bank.lastRecord, 9) << c.name;
  }
}

TEST(IdiomsBank, WarnsATeacherOfWhatPlaysBadly) {
  QString text = decodeCp932(smallBank3());
  text += QStringLiteral("1,\"終わる。\",\"句1\",\"鍵1\",\"違う意味。\"\r\n");
  text += QStringLiteral("1,\"この問題文は長すぎて窓の幅にとても収まらない\",\"とても長すぎる慣用句\",\"長\",\"") +
          QString(60, u'意') + QStringLiteral("\"\r\n");
  text += QStringLiteral(",,,,\r\n1,\"後\",\"後\",\"後\",\"後\"\r\n");
  std::vector<IdiomsBank::Record> records;
  int ignoredFrom = 0;
  ASSERT_TRUE(IdiomsBank::read(encodeCp932(text), &records, &ignoredFrom).empty());
  const std::vector<FileProblem> w = IdiomsBank::warnings(records, ignoredFrom, fit::chapter3Boxes());
  EXPECT_TRUE(warns(w, 11, QStringLiteral("1行目と同じ")));
  EXPECT_TRUE(warns(w, 11, QStringLiteral("「。」で終わって")));
  EXPECT_TRUE(warns(w, 12, QStringLiteral("問題文が長すぎて")));
  EXPECT_TRUE(warns(w, 12, QStringLiteral("選択ボタン")));
  EXPECT_TRUE(warns(w, 12, QStringLiteral("2行に収まりません")));
  EXPECT_TRUE(warns(w, 13, QStringLiteral("読み込まれません")));
  EXPECT_FALSE(warns(w, 1, QString()));
}
