#include <gtest/gtest.h>

#include "scoring/judgement.h"

TEST(judgeQuiz, EveryGradeRow) {
  struct Case {
    int tokuten;
    int streak;
    QString text;
  };
  const QString lost1 = QStringLiteral(" 1回連続満点だったのに！くやしいですね・・・");
  const QString lost2 = QStringLiteral(" 2回連続満点だったのに！くやしいですね・・・");
  const std::vector<Case> cases = {
      {10, 2, QStringLiteral("満点です。すばらしい！")},
      {9, 2, lost2 + QStringLiteral("わー惜しーい。１問間違えただけですよ。")},
      {9, 0, QStringLiteral("わー惜しーい。１問間違えただけですよ。")},
      {8, 1, lost1 + QStringLiteral("残念ね！２問間違えたわ。頑張って！！")},
      {7, 0, QStringLiteral(" 8問目で間違えました！まだ、勉強する余地がありますね。")},
      {6, 0, QStringLiteral(" 7問目で間違えました！まだ、勉強する余地がありますね。")},
      {5, 1, lost1 + QStringLiteral(" 6問目で間違えました！  残念な成績です。")},
      {4, 0, QStringLiteral(" 5問目で間違えました！  残念な成績です。")},
      {3, 0, QStringLiteral(" 4問目で間違えました！  勉強が足りません。")},
      {2, 2, lost2 + QStringLiteral(" 3問目で間違えました！  勉強が足りません。")},
      {1, 0, QStringLiteral(" 2問目で間違えました！   しっかりしてください。")},
      {0, 0, QStringLiteral(" 1問目で間違えました！   しっかりしてください。")},
  };
  for (const Case& c : cases) {
    bool known = false;
    EXPECT_EQ(judgement::grade(c.tokuten, c.streak, &known), c.text) << c.tokuten;
    EXPECT_TRUE(known);
  }
  bool known = true;
  EXPECT_EQ(judgement::grade(11, 0, &known), QString());
  EXPECT_FALSE(known);
}

TEST(judgeQuiz, StreakAndCompletionTexts) {
  EXPECT_EQ(judgement::perfectSuffix(1), QStringLiteral("さあ、これから連続満点だ！"));
  EXPECT_EQ(judgement::perfectSuffix(2), QStringLiteral(" 2回連続満点です。"));
  EXPECT_EQ(judgement::completion(1), QStringLiteral("やったね！「体に関する慣用句」の達人です。第１章 修了！！"));
  EXPECT_EQ(judgement::completion(2), QStringLiteral("すごーい！「同音異義語」の達人です。第２章 修了!!"));
  EXPECT_EQ(judgement::completion(3), QStringLiteral("すごいねー！「慣用句」の達人です。第３章 修了"));
}

TEST(judgeQuiz, CertificateLines) {
  EXPECT_EQ(
      judgement::certificate(QStringLiteral("はなこ"), 5, 12, 3),
      (QStringList{QStringLiteral("　　　免許皆伝状"), QString(), QStringLiteral("はなこ殿"), QString(),
                   QStringLiteral("あなたは、「体に関する慣用句」を 5回で"), QStringLiteral("「同音異義語」を 12回で"),
                   QStringLiteral("「慣用句（一般）」を 3回でクリアされました。"),
                   QStringLiteral("　　よって、貴殿に『免許皆伝状』を授与いたします"), QString(),
                   QStringLiteral("　　　　　　　全日本コトバリオン委員会")}));
}
