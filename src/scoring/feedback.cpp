#include "scoring/feedback.h"

#include <array>

#include "questions/quizrules.h"
#include "questions/texts.h"
#include "records/recordfile.h"

using texts::num;
using texts::pick;

namespace feedback {
namespace {

// While every answer so far is right, the encouragement after a right answer
// changes as the quiz goes on: early praise before question kMidwayFrom,
// midway praise from it, closing praise from question kClosingFrom until the
// last question (which gets none).
constexpr int kMidwayFrom = 5;
constexpr int kClosingFrom = 7;
// From this question on, a learner on a streak may hear how close the next
// streak record is ...
constexpr int kStreakRecordFrom = 8;
// ... when the draw comes out above this (three times in ten).
constexpr float kStreakRecordDraw = 0.7f;
// Once this many quizzes of the chapter are counted, one of the midway lines
// counts the tries instead of asking for care.
constexpr int kTriesCountedFrom = 5;

// Questions before kMidwayFrom, every answer right so far.
const std::array<QString, 9> kEarlyPraise = {
    QStringLiteral("千里の道も一歩から！教養あるねー"),
    QStringLiteral("幸先の良いスタートを切っていますよ！"),
    QStringLiteral("先は長いよ！あわててはだめよ！"),
    QStringLiteral("落ち着いてやってね。"),
    QStringLiteral("満点目指してがんばてね！"),
    QStringLiteral("すばらしいスタートダッシュですね。"),
    QStringLiteral("さあー、波に乗って10問まで満点でいこうね。"),
    QStringLiteral("順風満帆！　調子いいよ"),
    QStringLiteral("油断大敵！安心はだめよ"),
};

// Questions kMidwayFrom up to the one before kClosingFrom, every answer right
// so far; a pick of 7 adds no line.
QString midwayPraise(int k, const Situation& s) {
  switch (k) {
    case 1:
      return QStringLiteral("順調ですね！満点がねらえるよ！");
    case 2:
      return QStringLiteral("満点ペースです！");
    case 3:
      return QStringLiteral("今、全問正解ですよ！");
    case 4:
      return QStringLiteral("この調子、この調子！");
    case 5:
      return num(s.question) + QStringLiteral("問まで満点ですよ。");
    case 6:
      return s.quizzesTaken < kTriesCountedFrom
                 ? QStringLiteral("押し間違えのないように慎重にね。")
                 : num(s.quizzesTaken) + QStringLiteral("回目の挑戦ですからね！満点をねらおう");
    default:
      return {};
  }
}

// Questions kClosingFrom up to the last but one, every answer right so far.
QString closingPraise(int k, const Situation& s) {
  switch (k) {
    case 1:
      return QStringLiteral("あと") + num(quiz::kQuestionsPerQuiz - s.question) + QStringLiteral("問で全問正解！！");
    case 2:
      return QStringLiteral("満点まで") + num(quiz::kQuestionsPerQuiz - s.question) + QStringLiteral("問");
    case 3:
      return QStringLiteral("ここまで来たら、慎重にね！");
    case 4:
      return QStringLiteral("落ち着いて！落ち着いて");
    case 5:
      return QStringLiteral("気合いだ！　きあいだ！");
    case 6:
      return QStringLiteral("じっくりと考えよう");
    default:
      return QStringLiteral("あわてない　あわてない");
  }
}

// Offered when an earlier answer of the quiz was not counted as correct; the
// quiz windows end a quiz at its first wrong answer, so they never get here.
const std::array<QString, 8> kPraiseAfterMiss = {
    QStringLiteral("次回のタメにもしっかり勉強しとこうね！"),
    QStringLiteral("次回に同じ問題がでるかもね。"),
    QStringLiteral("やれば出来るね!"),
    QStringLiteral("正解！正解！大正解！がんばてねー"),
    QStringLiteral("この調子で最後までやりましょう！"),
    QStringLiteral("最後までがんばってね"),
    QStringLiteral("「習うより慣れよ」というじゃない。勉強！勉強！"),
    QStringLiteral("満点ばかりが大事でないよ。一に勉強！二に勉強よ！"),
};

// The consolation after a wrong answer.
const std::array<QString, 6> kConsolation = {
    QStringLiteral("一問一問大事にね！"),
    QStringLiteral("投げやりにならないね。人生は試練の連続ですよ"),
    QStringLiteral("最後までがんばってね・・・"),
    QStringLiteral("よく考えて慎重にしましょうね"),
    QStringLiteral("次回は間違えないようにしようね・・・"),
    QStringLiteral("気を落とさないでね。"),
};

// One line of the set, drawn uniformly.
template <std::size_t N>
const QString& pickFrom(const std::array<QString, N>& lines, const Random& rnd) {
  return lines[static_cast<std::size_t>(pick(rnd(), static_cast<int>(N)) - 1)];
}

}  // namespace

QString right(const Situation& s, const Random& rnd) {
  QString text = QStringLiteral("正解です。") + texts::kCrLf;
  if (s.question == quiz::kQuestionsPerQuiz) return text;
  const float u0 = rnd();
  if (s.score == s.question && s.question >= kStreakRecordFrom && s.streak > 0 && u0 > kStreakRecordDraw)
    return text + QStringLiteral("連続満点記録") + num(recordfile::countUp(s.streak)) + QStringLiteral("回まで、") +
           num(quiz::kQuestionsPerQuiz - s.question) + QStringLiteral("問よ！！！");
  if (s.score == s.question && s.question < kMidwayFrom) return text + pickFrom(kEarlyPraise, rnd);
  if (s.score == s.question && s.question >= kMidwayFrom && s.question < kClosingFrom)
    return text + midwayPraise(pick(rnd(), 7), s);
  if (s.score == s.question && s.question >= kClosingFrom && s.question < quiz::kQuestionsPerQuiz)
    return text + closingPraise(pick(rnd(), 7), s);
  return text + pickFrom(kPraiseAfterMiss, rnd);
}

QString wrong(const Situation& s, const Random& rnd) {
  // These three lines answer a wrong answer that the score already counts;
  // the quiz windows never count a wrong answer, so the random pick follows.
  if (s.score == s.question && s.streak > 1)
    return QStringLiteral("連続満点が") + num(s.streak) + QStringLiteral("回だったのに！！つらいー！");
  if (s.score == s.question && s.question >= kClosingFrom)
    return num(s.question) + QStringLiteral("問まで満点だったのに！！");
  if (s.score == s.question) return QStringLiteral("満点だったのにねー");
  return pickFrom(kConsolation, rnd);
}

}  // namespace feedback
