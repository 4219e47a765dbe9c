#include "windows/bodyidiomswindow.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "questions/texts.h"
#include "windows/placer.h"
#include "windows/session.h"

using namespace layout;
using texts::num;

BodyIdiomsWindow::BodyIdiomsWindow(Session& session)
    : ChapterWindowOf(session, 1, {1024, 760},
                      {.window = QStringLiteral("第１章 体に関する慣用句 (コトバリオンVer.1.3)"),
                       .help = QStringLiteral("ヘ ル プ"),
                       .closing = QStringLiteral("コトバリオンを終了します!!!。")}) {
  QWidget* c = client();
  titleLabel = ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::black);
  streakHeading =
      ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 27}, designFont(15.75, true, true), colour::black);
  makeStars({704, 752, 800}, 48, {49, 49}, streakHeading);
  sentenceLabel = ui::label(c, QStringLiteral("Label2"), {344, 160, 0, 0}, designFont(26), colour::black);
  makeQuestionBox({168, 208, 697, 89}, designFont(24));
  questionBox->setForeColor(colour::blue);
  questionBox->setSpokenAsOneLine();
  optionsFrame = ui::frame(c, QStringLiteral("選択欄"), {168, 304, 697, 145}, designFont(12, true, true), QColor());
  const std::array<QString, 13>& words = BodyIdiomsBank::words();
  for (int i = 0; i < kNeutralOption; ++i) {
    const int row = i < 7 ? 0 : 1;
    const int col = i < 7 ? i : i - 7;
    const int height = (i == 0 || i == 7) ? 25 : 27;
    ui::place(options.add(optionsFrame, words[static_cast<std::size_t>(i)]),
              {24 + 96 * col, row == 0 ? 24 : 80, 73, height}, designFont(22), colour::black);
  }
  ui::place(options.add(optionsFrame, QStringLiteral("一つ選べ")), {504, 80, 137, 27}, designFont(20), colour::black);
  scoreLabel = ui::label(c, QStringLiteral("現在の得点"), {304, 496, 0, 0}, designFont(28), colour::black);
  startButton = ui::commandButton(c, QStringLiteral("Command1"), {696, 536, 169, 65}, designFont(15));
  connectControls(kNeutralOption);
}

void BodyIdiomsWindow::prepareQuiz() {
  optionsFrame->show();
  ui::caption(sentenceLabel, QStringLiteral("下の欄に問題文が表示される"));
  ui::caption(titleLabel, QStringLiteral("第１章 体に関する慣用句"));
  questionBox->setForeColor(colour::blue);
  questionBox->printFont().setPointSize(21);
  questionBox->Print(QStringLiteral("上の問題文の意味がここに表示される。\r\t"));
  questionBox->Print(QStringLiteral("この意味を参考に＊にあてはまる語を下から選ぶ。"));
  startButton->setAccessibleDescription(sentenceLabel->text() + QStringLiteral("。") + questionBox->accessibleName());
  options.select(kNeutralOption);
}

void BodyIdiomsWindow::clearAnsweredQuestion() {
  ui::caption(scoreLabel, QString());
  ui::caption(titleLabel, QStringLiteral("第") + num(session_.quizState().question) + QStringLiteral("問"));
}

void BodyIdiomsWindow::dealQuestion() {
  questionBox->Cls();
  questionOpen = true;
  startButton->hide();
  options.select(kNeutralOption);
  questionBox->setForeColor(colour::blue);
  const int q = session_.quizState().question;
  const int k = bank.draw(q, [this] { return session_.platform().rnd(); });
  const BodyIdiomsBank::Record& drawn = bank.record(k);
  ui::caption(sentenceLabel, drawn.sentence.asText());
  const std::array<QString, 2> lines = BodyIdiomsBank::splitMeaning(drawn.meaning.asText());
  questionBox->Print(lines[0] + QStringLiteral("\r\t"));
  questionBox->Print(lines[1]);
  options.select(kNeutralOption);
  ui::caption(titleLabel, QStringLiteral("第") + num(q) + QStringLiteral("問"));
  scoreLabel->hide();
  questionDealt(QString(sentenceLabel->text()).replace(QStringLiteral("＊"), QStringLiteral("〇〇")) +
                QStringLiteral("　") + titleLabel->text());
}

QString BodyIdiomsWindow::correction() const {
  // rightOption is 0..11 for every accepted question file.
  const auto right = static_cast<std::size_t>(std::clamp<int>(bank.rightOption, 0, kNeutralOption));
  return QStringLiteral("まちがい！") + QStringLiteral("「") + bank.bodyParts[right] + QStringLiteral("」です。") +
         texts::kCrLf;
}

void BodyIdiomsWindow::layOut(std::int16_t twipsPerPixel) {
  placeOnScreen(layout::Position::Centred);
  layout::setFontSizes(
      twipsPerPixel, {{titleLabel, 18}, {sentenceLabel, 26}, {scoreLabel, 28}, {optionsFrame, 12}, {startButton, 15}});
  optionsFrame->hide();
  for (int i = 0; i < kNeutralOption; ++i) layout::setFontSize(options[i], twipsPerPixel, 22);
  layout::setFontSize(options[kNeutralOption], twipsPerPixel, 20);
}
