#include "scoring/feedback.h"

#include <array>

#include "questions/quizrules.h"
#include "questions/texts.h"
#include "records/recordfile.h"

using texts::num;
using texts::pick;

namespace feedback {
namespace {

const std::array<QString, 9> kSetB = {
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

QString setC(int k, const Situation& s) {
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
      return s.quizzesTaken < 5 ? QStringLiteral("押し間違えのないように慎重にね。")
                                : num(s.quizzesTaken) + QStringLiteral("回目の挑戦ですからね！満点をねらおう");
    default:
      return {};
  }
}

QString setD(int k, const Situation& s) {
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
const std::array<QString, 8> kSetE = {
    QStringLiteral("次回のタメにもしっかり勉強しとこうね！"),
    QStringLiteral("次回に同じ問題がでるかもね。"),
    QStringLiteral("やれば出来るね!"),
    QStringLiteral("正解！正解！大正解！がんばてねー"),
    QStringLiteral("この調子で最後までやりましょう！"),
    QStringLiteral("最後までがんばってね"),
    QStringLiteral("「習うより慣れよ」というじゃない。勉強！勉強！"),
    QStringLiteral("満点ばかりが大事でないよ。一に勉強！二に勉強よ！"),
};

const std::array<QString, 6> kMiss = {
    QStringLiteral("一問一問大事にね！"),
    QStringLiteral("投げやりにならないね。人生は試練の連続ですよ"),
    QStringLiteral("最後までがんばってね・・・"),
    QStringLiteral("よく考えて慎重にしましょうね"),
    QStringLiteral("次回は間違えないようにしようね・・・"),
    QStringLiteral("気を落とさないでね。"),
};

}  // namespace

QString right(const Situation& s, const Random& rnd) {
  QString text = QStringLiteral("正解です。") + texts::kCrLf;
  if (s.question == quiz::kQuestionsPerQuiz) return text;
  const float u0 = rnd();
  if (s.score == s.question && s.question > 7 && s.streak > 0 && u0 > 0.7f)
    return text + QStringLiteral("連続満点記録") + num(recordfile::countUp(s.streak)) + QStringLiteral("回まで、") +
           num(quiz::kQuestionsPerQuiz - s.question) + QStringLiteral("問よ！！！");
  if (s.score == s.question && s.question < 5) return text + kSetB[static_cast<std::size_t>(pick(rnd(), 9) - 1)];
  if (s.score == s.question && s.question > 4 && s.question < 7) return text + setC(pick(rnd(), 7), s);
  if (s.score == s.question && s.question > 6 && s.question < quiz::kQuestionsPerQuiz)
    return text + setD(pick(rnd(), 7), s);
  return text + kSetE[static_cast<std::size_t>(pick(rnd(), 8) - 1)];
}

QString wrong(const Situation& s, const Random& rnd) {
  // These three lines answer a wrong answer that the score already counts;
  // the quiz windows never count a wrong answer, so the random pick follows.
  if (s.score == s.question && s.streak > 1)
    return QStringLiteral("連続満点が") + num(s.streak) + QStringLiteral("回だったのに！！つらいー！");
  if (s.score == s.question && s.question > 6) return num(s.question) + QStringLiteral("問まで満点だったのに！！");
  if (s.score == s.question) return QStringLiteral("満点だったのにねー");
  return kMiss[static_cast<std::size_t>(pick(rnd(), 6) - 1)];
}

}  // namespace feedback
