#include "scoring/judgement.h"

#include "questions/quizrules.h"
#include "questions/texts.h"

using texts::num;

namespace judgement {

QString grade(int score, int streak, bool* known) {
  if (known) *known = score >= 0 && score <= quiz::kQuestionsPerQuiz;
  const QString lost = streak > 0 && score != quiz::kQuestionsPerQuiz
                           ? num(streak) + QStringLiteral("回連続満点だったのに！くやしいですね・・・")
                           : QString();
  const QString missed = num(score + 1) + QStringLiteral("問目で間違えました！");
  switch (score) {
    case quiz::kQuestionsPerQuiz:
      return QStringLiteral("満点です。すばらしい！");
    case 9:
      return lost + QStringLiteral("わー惜しーい。１問間違えただけですよ。");
    case 8:
      return lost + QStringLiteral("残念ね！２問間違えたわ。頑張って！！");
    case 6:
    case 7:
      return lost + missed + QStringLiteral("まだ、勉強する余地がありますね。");
    case 4:
    case 5:
      return lost + missed + QStringLiteral("  残念な成績です。");
    case 2:
    case 3:
      return lost + missed + QStringLiteral("  勉強が足りません。");
    case 0:
    case 1:
      return lost + missed + QStringLiteral("   しっかりしてください。");
    default:
      return {};
  }
}

QString perfectSuffix(int streak) {
  return streak == 1 ? QStringLiteral("さあ、これから連続満点だ！") : num(streak) + QStringLiteral("回連続満点です。");
}

QString completion(int c) {
  switch (c) {
    case 1:
      return QStringLiteral("やったね！「体に関する慣用句」の達人です。第１章 修了！！");
    case 2:
      return QStringLiteral("すごーい！「同音異義語」の達人です。第２章 修了!!");
    case 3:
      return QStringLiteral("すごいねー！「慣用句」の達人です。第３章 修了");
    default:
      return {};
  }
}

QStringList certificate(const QString& userName, int count1, int count2, int count3) {
  return {
      QStringLiteral("　　　免許皆伝状"),
      QString(),
      userName + QStringLiteral("殿"),
      QString(),
      QStringLiteral("あなたは、「体に関する慣用句」を") + num(count1) + QStringLiteral("回で"),
      QStringLiteral("「同音異義語」を") + num(count2) + QStringLiteral("回で"),
      QStringLiteral("「慣用句（一般）」を") + num(count3) + QStringLiteral("回でクリアされました。"),
      QStringLiteral("　　よって、貴殿に『免許皆伝状』を授与いたします"),
      QString(),
      QStringLiteral("　　　　　　　全日本コトバリオン委員会"),
  };
}

}  // namespace judgement
