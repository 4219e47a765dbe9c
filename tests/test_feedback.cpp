#include <gtest/gtest.h>

#include "fakeplatform.h"
#include "scoring/feedback.h"

namespace {

// The value that picks k of n.
float pickOf(int k, int n) { return (static_cast<float>(k) - 0.5f) / static_cast<float>(n); }

const QString kOk = QStringLiteral("正解です。\r\n");

}  // namespace

TEST(composeRightFeedback, TheTenthQuestionGetsNoFurtherLineAndDrawsNothing) {
  Randoms s;
  EXPECT_EQ(feedback::right({10, 10, 2, 9}, s.fn()), kOk);
  EXPECT_EQ(s.drawn, 0);
}

TEST(composeRightFeedback, RowAWhenTheStreakRunsOn) {
  Randoms s{{0.71f}};
  EXPECT_EQ(feedback::right({8, 8, 1, 0}, s.fn()), kOk + QStringLiteral("連続満点記録 2回まで、 2問よ！！！"));
  EXPECT_EQ(s.drawn, 1);
  // u0 at most 0.7, no streak, or question 7: a set-D line instead.
  for (const feedback::Situation sit :
       {feedback::Situation{8, 8, 1, 0}, feedback::Situation{8, 8, 0, 0}, feedback::Situation{7, 7, 2, 0}}) {
    Randoms d{{sit.streak == 1 ? 0.7f : 0.9f, pickOf(3, 7)}};
    EXPECT_EQ(feedback::right(sit, d.fn()), kOk + QStringLiteral("ここまで来たら、慎重にね！")) << sit.question;
    EXPECT_EQ(d.drawn, 2);
  }
}

TEST(composeRightFeedback, EverySetLine) {
  struct Case {
    feedback::Situation sit;
    int pick;
    int of;
    QString line;
  };
  const std::vector<Case> cases = {
      {{1, 1, 0, 0}, 1, 9, QStringLiteral("千里の道も一歩から！教養あるねー")},
      {{2, 2, 0, 0}, 2, 9, QStringLiteral("幸先の良いスタートを切っていますよ！")},
      {{3, 3, 0, 0}, 3, 9, QStringLiteral("先は長いよ！あわててはだめよ！")},
      {{4, 4, 0, 0}, 4, 9, QStringLiteral("落ち着いてやってね。")},
      {{4, 4, 0, 0}, 5, 9, QStringLiteral("満点目指してがんばてね！")},
      {{1, 1, 0, 0}, 6, 9, QStringLiteral("すばらしいスタートダッシュですね。")},
      {{1, 1, 0, 0}, 7, 9, QStringLiteral("さあー、波に乗って10問まで満点でいこうね。")},
      {{1, 1, 0, 0}, 8, 9, QStringLiteral("順風満帆！　調子いいよ")},
      {{1, 1, 0, 0}, 9, 9, QStringLiteral("油断大敵！安心はだめよ")},
      {{5, 5, 0, 0}, 1, 7, QStringLiteral("順調ですね！満点がねらえるよ！")},
      {{5, 5, 0, 0}, 2, 7, QStringLiteral("満点ペースです！")},
      {{5, 5, 0, 0}, 3, 7, QStringLiteral("今、全問正解ですよ！")},
      {{6, 6, 0, 0}, 4, 7, QStringLiteral("この調子、この調子！")},
      {{6, 6, 0, 0}, 5, 7, QStringLiteral(" 6問まで満点ですよ。")},
      {{6, 6, 0, 4}, 6, 7, QStringLiteral("押し間違えのないように慎重にね。")},
      {{6, 6, 0, 5}, 6, 7, QStringLiteral(" 5回目の挑戦ですからね！満点をねらおう")},
      {{5, 5, 0, 0}, 7, 7, QString()},
      {{9, 9, 0, 0}, 1, 7, QStringLiteral("あと 1問で全問正解！！")},
      {{7, 7, 0, 0}, 1, 7, QStringLiteral("あと 3問で全問正解！！")},
      {{9, 9, 0, 0}, 2, 7, QStringLiteral("満点まで 1問")},
      {{7, 7, 0, 0}, 2, 7, QStringLiteral("満点まで 3問")},
      {{7, 7, 0, 0}, 4, 7, QStringLiteral("落ち着いて！落ち着いて")},
      {{8, 8, 0, 0}, 5, 7, QStringLiteral("気合いだ！　きあいだ！")},
      {{9, 9, 0, 0}, 6, 7, QStringLiteral("じっくりと考えよう")},
      {{9, 9, 0, 0}, 7, 7, QStringLiteral("あわてない　あわてない")},
      {{5, 4, 0, 0}, 3, 8, QStringLiteral("やれば出来るね!")},
  };
  for (const Case& c : cases) {
    Randoms s{{0.0f, pickOf(c.pick, c.of)}};
    EXPECT_EQ(feedback::right(c.sit, s.fn()), kOk + c.line) << c.sit.question << " pick " << c.pick;
    EXPECT_EQ(s.drawn, 2);
  }
}

TEST(composeWrongFeedback, OneOfSixLinesAfterTheCallersText) {
  const QStringList lines = {QStringLiteral("一問一問大事にね！"),
                             QStringLiteral("投げやりにならないね。人生は試練の連続ですよ"),
                             QStringLiteral("最後までがんばってね・・・"),
                             QStringLiteral("よく考えて慎重にしましょうね"),
                             QStringLiteral("次回は間違えないようにしようね・・・"),
                             QStringLiteral("気を落とさないでね。")};
  for (int k = 1; k <= 6; ++k) {
    Randoms s{{pickOf(k, 6)}};
    // A wrong answer is never counted, so t = q - 1 even after a long streak.
    EXPECT_EQ(feedback::wrong({9, 8, 2, 3}, s.fn()), lines[k - 1]);
    EXPECT_EQ(s.drawn, 1);
  }
  Randoms edge{{0.99999994f}};
  EXPECT_EQ(feedback::wrong({1, 0, 0, 0}, edge.fn()), lines[5]);
}
