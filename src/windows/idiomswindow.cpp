#include "windows/idiomswindow.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "questions/texts.h"
#include "windows/placer.h"
#include "windows/session.h"

using namespace layout;
using texts::num;

IdiomsWindow::IdiomsWindow(Session& session)
    : ChapterWindowOf(session, 3, {1024, 760},
                      {.window = QStringLiteral("第３章 慣用句（一般）  (コトバリオンVer.1.3)"),
                       .help = QStringLiteral("ヘ　ル　プ"),
                       .closing = QStringLiteral("慣用句(一般)を終了します。"),
                       .closingTitle = QStringLiteral("慣用句(一般)")}) {
  QWidget* c = client();
  titleLabel =
      ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::darkBlue, colour::lightYellow);
  // The sentence and the score use the window's own face, not bold.
  sentenceLabel = ui::label(c, QStringLiteral("Label2"), {288, 168, 0, 0}, designFont(26, false), colour::darkBlue,
                            colour::paleGreen);
  makeQuestionBox({128, 208, 777, 113}, designFont(24));
  questionBox->setForeColor(colour::darkBlue);
  questionBox->setSpokenAsOneLine();
  optionsFrame = ui::frame(c, QStringLiteral("選択欄"), {128, 336, 785, 137}, designFont(12), colour::lightGreen);
  const int lefts[] = {8, 160, 320, 480, 632, 8, 160, 320};
  const int tops[] = {32, 32, 32, 32, 32, 80, 80, 80};
  for (int i = 0; i < kNeutralOption; ++i) {
    QRadioButton* b = options.add(optionsFrame, QString());
    ui::place(b, {lefts[i], tops[i], 161, 33}, designFont(16), colour::navy, colour::lightGreen);
  }
  ui::place(options.add(optionsFrame, QStringLiteral("適するものを選べ。")), {480, 80, 257, 33}, designFont(16),
            colour::black, colour::lightGreen);
  scoreLabel =
      ui::label(c, QStringLiteral("Label3"), {104, 520, 0, 0}, designFont(28, false), colour::black, colour::white);
  startButton = ui::commandButton(c, QStringLiteral("問題開始"), {696, 536, 169, 65}, designFont(15));
  streakHeading = ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 33}, designFont(15.75, true, true),
                            colour::black, colour::lightYellow);
  makeStars({696, 744, 792}, 48, {49, 45}, streakHeading);
  connectControls(kNeutralOption);
}

void IdiomsWindow::prepareQuiz() {
  ui::caption(sentenceLabel, QStringLiteral("下の欄に問題文が表示される"));
  questionBox->Print(QStringLiteral("表示される意味を参考に問題文中の(  )に"));
  questionBox->Print(QStringLiteral("あてはまるものを下の選択欄から選べ。"));
  startButton->setAccessibleDescription(sentenceLabel->text() + QStringLiteral("。") + questionBox->accessibleName());
  for (int i = 0; i <= kNeutralOption; ++i) options[i]->hide();
  options[kNeutralOption]->setText(QStringLiteral("適するものを選べ。"));
  options.select(kNeutralOption);
  ui::caption(titleLabel, QStringLiteral("第１問 "));
  bank.drawQuiz([this] { return session_.platform().rnd(); });
}

void IdiomsWindow::clearAnsweredQuestion() {
  optionsFrame->show();
  scoreLabel->hide();
  sentenceLabel->hide();
}

void IdiomsWindow::dealQuestion() {
  questionBox->Cls();
  const int n = session_.quizState().question;
  options.select(kNeutralOption);
  sentenceLabel->show();
  ui::caption(titleLabel, QStringLiteral("第") + num(n) + QStringLiteral("問 "));
  startButton->hide();
  const IdiomsBank::Row& row = bank.quizRows[static_cast<std::size_t>(n)];
  ui::caption(sentenceLabel, row.sentence.asText() + IdiomsBank::kBlank);
  const std::array<QString, 2> lines = IdiomsBank::splitMeaning(row.meaning);
  if (lines[1].isEmpty()) {
    questionBox->Print(lines[0]);
  } else {
    questionBox->Print(lines[0] + QStringLiteral("\r\t"));
    questionBox->Print(lines[1]);
  }
  bank.assemble(n, [this] { return session_.platform().rnd(); });
  for (int i = 0; i < IdiomsBank::kOptions; ++i) options[i]->setText(bank.choices[static_cast<std::size_t>(i)]);
  for (int i = 0; i <= kNeutralOption; ++i) options[i]->show();
  options.select(kNeutralOption);
  optionsFrame->show();
  questionOpen = true;
  questionDealt(sentenceLabel->text() + QStringLiteral("　") + titleLabel->text().trimmed());
}

QString IdiomsWindow::correction() const {
  const auto right = static_cast<std::size_t>(std::clamp<int>(bank.rightOption, 0, kNeutralOption));
  return QStringLiteral("残念！まちがい！") + texts::kCrLf + QStringLiteral("「") + bank.choices[right] +
         QStringLiteral("」です。") + texts::kCrLf;
}

void IdiomsWindow::layOut(std::int16_t twipsPerPixel) {
  placeOnScreen(layout::Position::Centred);
  layout::setFontSizes(
      twipsPerPixel, {{titleLabel, 18}, {sentenceLabel, 26}, {scoreLabel, 28}, {optionsFrame, 12}, {startButton, 15}});
  optionsFrame->hide();
  for (int i = 0; i <= kNeutralOption; ++i) layout::setFontSize(options[i], twipsPerPixel, 16);
}
