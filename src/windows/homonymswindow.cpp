#include "windows/homonymswindow.h"

#include <QGroupBox>

#include "chapter2/readings.h"
#include "layout/layout.h"
#include "questions/quizrules.h"
#include "questions/texts.h"
#include "windows/placer.h"
#include "windows/session.h"

using namespace layout;
using texts::num;

HomonymsWindow::HomonymsWindow(Session& session)
    : ChapterWindowOf(
          session, 2, {1024, 700},
          {.window = QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"), .help = QStringLiteral("ヘ ル プ")}) {
  QWidget* c = client();
  titleLabel = ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::black);
  streakHeading =
      ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 27}, designFont(15.75, true, true), colour::black);
  makeStars({696, 744, 792}, 48, {49, 49}, streakHeading);
  makeQuestionBox({168, 208, 665, 81}, designFont(28));
  questionBox->setTwipUnit(15);
  optionsFrame = ui::frame(c, QStringLiteral("選 択 欄"), {168, 304, 665, 153}, designFont(12, true, true), QColor());
  optionsFrame->setAccessibleName(QStringLiteral("選択欄"));
  const int lefts[] = {32, 200, 376, 32, 200};
  const int tops[] = {24, 24, 24, 80, 80};
  for (int i = 0; i < kNeutralOption; ++i) {
    QRadioButton* b = options.add(optionsFrame, QString());
    ui::place(b, {lefts[i], tops[i], 145, 37}, designFont(28), colour::black);
  }
  ui::place(options.add(optionsFrame, QStringLiteral("一つ選ぶ")), {376, 72, 177, 37}, designFont(22), colour::black);
  // Opaque like the score of chapters 1 and 3: its red text stays readable
  // when the window turns red.
  scoreLabel = ui::label(c, QStringLiteral("Label2"), {296, 528, 0, 0}, designFont(28), colour::blue, colour::white);
  startButton = ui::commandButton(c, QStringLiteral("Command1"), {696, 536, 169, 65}, designFont(14));
  connectControls(kNeutralOption);
}

void HomonymsWindow::showOptions(int last, bool shown) {
  for (int i = 0; i <= last; ++i) options[i]->setVisible(shown);
}

void HomonymsWindow::prepareQuiz() {
  bank.newQuiz();
  ui::caption(titleLabel, QStringLiteral(" 第２章 同音異義語  "));
  optionsFrame->show();
  questionBox->show();
  questionBox->setForeColor(colour::red);
  questionBox->Print(QStringLiteral("赤字"), false);
  questionBox->setForeColor(colour::blue);
  questionBox->Print(QStringLiteral("の部分に適する漢字を下から選べ｡ "));
  // The red word is heard in quotation marks, and the instruction says so.
  questionBox->setSpokenText(QStringLiteral("赤字の部分（読み上げでは「」で囲んだことば）に適する漢字を下から選べ。"));
  startButton->setAccessibleDescription(questionBox->accessibleName());
  showOptions(kNeutralOption, false);
  bank.choices.fill(QString());
}

void HomonymsWindow::clearAnsweredQuestion() {
  showOptions(kNeutralOption, true);
  ui::caption(titleLabel, QStringLiteral("第") + num(session_.quizState().question) + QStringLiteral("問"));
}

void HomonymsWindow::dealQuestion() {
  startButton->setText(QStringLiteral("次の問題"));
  bank.deal(session_.quizState().question, [this] { return session_.platform().rnd(); });
  ui::caption(titleLabel, QStringLiteral("第") + num(session_.quizState().question) + QStringLiteral("問"));
  startButton->hide();
  scoreLabel->hide();
  options[kNeutralOption]->setText(QStringLiteral("一つ選ぶ"));
  options.select(kNeutralOption);
  questionBox->Cls();
  const std::array<QString, 2> parts = HomonymsBank::splitSentence(bank.questionSentence);
  questionBox->setPrintPos(10, 10);
  questionBox->setForeColor(colour::blue);
  questionBox->Print(parts[0], false);
  questionBox->setForeColor(colour::red);
  const QString kana = bank.record(bank.currentRecord).kana.asText();
  questionBox->Print(kana, false);
  questionBox->setForeColor(colour::blue);
  questionBox->Print(parts[1]);
  // The red word cannot be heard: it is read in quotation marks.
  questionBox->setSpokenText(parts[0] + QStringLiteral("「") + kana + QStringLiteral("」") + parts[1]);
  showOptions(kNeutralOption - 1, false);
  showOptions(bank.lastChoice, true);
  for (int i = 0; i <= bank.lastChoice; ++i) options[i]->setText(bank.choices[static_cast<std::size_t>(i)]);
  // Every option sounds the same: each is told apart by the other readings
  // of its kanji.
  QStringList group;
  for (int i = 0; i <= bank.lastChoice; ++i) group << bank.choices[static_cast<std::size_t>(i)];
  std::vector<readings::Word> words;
  for (int i = 0; i <= bank.lastRecord; ++i)
    words.emplace_back(bank.record(i).kanji.asText(), bank.record(i).kana.asText());
  const QStringList told = readings::describe(group, kana, words);
  for (int i = 0; i <= bank.lastChoice; ++i) options[i]->setAccessibleDescription(told.value(i));
  questionOpen = true;
  questionDealt(titleLabel->text());
}

void HomonymsWindow::beforeJudging() {
  showOptions(kNeutralOption, false);
  questionBox->Cls();
}

QString HomonymsWindow::scoreText() const {
  return QStringLiteral("得点は") + num(session_.score() * quiz::kPointsPerAnswer) + QStringLiteral("点です");
}

void HomonymsWindow::onNeutralChosen() {
  showOptions(kNeutralOption - 1, false);
  ui::caption(scoreLabel, QString());
}

void HomonymsWindow::colourScore(bool right) { ui::setFore(scoreLabel, right ? colour::blue : colour::red); }

QString HomonymsWindow::correction() const {
  return QStringLiteral("間違いですよ。") + QStringLiteral("正解は、「") + bank.rightAnswer.asText() +
         QStringLiteral("」です。") + texts::kCrLf;
}

void HomonymsWindow::layOut(std::int16_t twipsPerPixel) {
  placeOnScreen(layout::Position::Corner);
  layout::setFontSizes(twipsPerPixel, {{titleLabel, 18}, {scoreLabel, 28}});
  QFont pic = questionBox->printFont();
  pic.setPointSize(layout::fontSize(twipsPerPixel, 28));
  questionBox->setPrintFont(pic);
  layout::setFontSizes(twipsPerPixel, {{optionsFrame, 12}, {startButton, 14}, {options[kNeutralOption], 22}});
  startButton->setText(QStringLiteral("問題開始"));
  optionsFrame->hide();
  questionBox->setPrintPos(10, 10);
  questionBox->Print(QStringLiteral("下の選択欄から正解をクリックしなさい。"));
  for (int i = 0; i < kNeutralOption; ++i) layout::setFontSize(options[i], twipsPerPixel, 28);
}
