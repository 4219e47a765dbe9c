#include "chapter2/form1.h"

#include <QGroupBox>

#include "chapter2/readings.h"
#include "layout/layout.h"
#include "questions/quizrules.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "startup/shoki.h"
#include "startup/texts.h"

using namespace layout;
using texts::num;

Form1::Form1(Shoki& sh)
    : ChapterWindow(sh, 2, QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"), {1024, 700},
                    QStringLiteral("ヘ ル プ")) {
  QWidget* c = client();
  Lbl1 = ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::black);
  Label1 =
      ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 27}, designFont(15.75, true, true), colour::black);
  makeStars({696, 744, 792}, 48, {49, 49}, Label1);
  Pic1 = new PictureBox(c);
  Pic1->setGeometry(168, 208, 665, 81);
  Pic1->setBackColor(colour::white);
  Pic1->setPrintFont(designFont(28));
  Pic1->setTwipUnit(15);
  Frm1 = ui::frame(c, QStringLiteral("選 択 欄"), {168, 304, 665, 153}, designFont(12, true, true), QColor());
  Frm1->setAccessibleName(QStringLiteral("選択欄"));
  const int lefts[] = {32, 200, 376, 32, 200};
  const int tops[] = {24, 24, 24, 80, 80};
  for (int i = 0; i < kNeutralOption; ++i) {
    QRadioButton* b = Opt1.add(Frm1, QString());
    ui::place(b, {lefts[i], tops[i], 145, 37}, designFont(28), colour::black);
  }
  ui::place(Opt1.add(Frm1, QStringLiteral("一つ選ぶ")), {376, 72, 177, 37}, designFont(22), colour::black);
  // Opaque like the score of chapters 1 and 3: its red text stays readable
  // when the window turns red.
  Lbl2 = ui::label(c, QStringLiteral("Label2"), {296, 528, 0, 0}, designFont(28), colour::blue, colour::white);
  Cmd1 = ui::commandButton(c, QStringLiteral("Command1"), {696, 536, 169, 65}, designFont(14));

  he = hp;
  he->setObjectName(QStringLiteral("he"));
  connect(Cmd1, &QPushButton::clicked, this, [this] { Cmd1_Click(); });
  Opt1.setNeutral(kNeutralOption);
  Opt1.onClick = [this](int i) { Opt1_Click(i); };
}

void Form1::showOptions(int last, bool shown) {
  for (int i = 0; i <= last; ++i) Opt1[i]->setVisible(shown);
}

bool Form1::Main1() {
  sh_.refreshAppDir();
  const std::vector<FileProblem> problems = bank.load(sh_.AppDir, sh_);
  if (!problems.empty()) {
    sh_.messageBox(describeProblems(Bank2::kFileName, problems), QStringLiteral("コトバリオン"));
    return false;
  }
  Main12();
  return true;
}

void Form1::Main12() {
  sh_.Genzai[1] = 0;
  sh_.Tokuten = 0;
  bank.newQuiz();
  ui::caption(Lbl1, QStringLiteral(" 第２章 同音異義語  "));
  sh_.platform().randomize();
  Frm1->show();
  Pic1->show();
  Pic1->setForeColor(colour::red);
  Pic1->Print(QStringLiteral("赤字"), false);
  Pic1->setForeColor(colour::blue);
  Pic1->Print(QStringLiteral("の部分に適する漢字を下から選べ｡ "));
  // The red word is heard in quotation marks, and the instruction says so.
  Pic1->setSpokenText(QStringLiteral("赤字の部分（読み上げでは「」で囲んだことば）に適する漢字を下から選べ。"));
  Cmd1->setAccessibleDescription(Pic1->accessibleName());
  Lbl2->hide();
  Cmd1->show();
  Cmd1->setText(QStringLiteral("問題開始"));
  showOptions(kNeutralOption, false);
  bank.Sentaku.fill(QString());
  sh_.DoneFlag = 0;
  Cmd1->setFocus();
}

void Form1::Cmd1_Click() {
  setBackColor(colour::green);
  if (sh_.DoneFlag == 999) {
    sh_.endProgram();
    return;
  }
  ui::caption(Lbl1, QStringLiteral("第") + num(sh_.Genzai[1]) + QStringLiteral("問"));
  if (sh_.Genzai[1] >= quiz::kQuestionsPerQuiz)
    Owari();
  else
    Main13();
}

void Form1::Main13() {
  showOptions(kNeutralOption, true);
  setBackColors(colour::green);
  ui::caption(Lbl1, QStringLiteral("第") + num(sh_.Genzai[1]) + QStringLiteral("問"));
  if (sh_.Genzai[1] >= quiz::kQuestionsPerQuiz)
    Owari();
  else
    Monsakusei();
}

void Form1::Monsakusei() {
  Cmd1->setText(QStringLiteral("次の問題"));
  sh_.Genzai[1] += 1;
  const int r = bank.draw(sh_.Genzai[1], sh_, [this] { return sh_.platform().rnd(); });
  const std::vector<QString> list = Bank2::candidates(sh_.Mon2[static_cast<std::size_t>(r)], sh_, bank.MonMax);
  // A group holds at most five records in every accepted file.
  const int j = static_cast<int>(std::min<std::size_t>(list.size(), bank.Sentaku.size()));
  for (int i = 0; i < j; ++i) bank.Sentaku[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)];
  bank.LastChoice = j - 1;
  Syutu1();
}

void Form1::Syutu1() {
  ui::caption(Lbl1, QStringLiteral("第") + num(sh_.Genzai[1]) + QStringLiteral("問"));
  Cmd1->hide();
  Lbl2->hide();
  Opt1[kNeutralOption]->setText(QStringLiteral("一つ選ぶ"));
  Opt1.select(kNeutralOption);
  Pic1->Cls();
  const std::array<QString, 2> parts = Bank2::splitSentence(bank.Sentence);
  Pic1->setPrintPos(10, 10);
  Pic1->setForeColor(colour::blue);
  Pic1->Print(parts[0], false);
  Pic1->setForeColor(colour::red);
  Pic1->Print(sh_.Mon5[static_cast<std::size_t>(bank.CurRec)].asText(), false);
  Pic1->setForeColor(colour::blue);
  Pic1->Print(parts[1]);
  // The red word cannot be heard: it is read in quotation marks.
  Pic1->setSpokenText(parts[0] + QStringLiteral("「") + sh_.Mon5[static_cast<std::size_t>(bank.CurRec)].asText() +
                      QStringLiteral("」") + parts[1]);
  showOptions(kNeutralOption - 1, false);
  showOptions(bank.LastChoice, true);
  Bank2::shuffle(bank.Sentaku, bank.LastChoice, [this] { return sh_.platform().rnd(); });
  const QString answer = bank.Answer.asText();
  bank.SeikaiNo = -1;
  for (int i = 0; i <= bank.LastChoice; ++i) {
    Opt1[i]->setText(bank.Sentaku[static_cast<std::size_t>(i)]);
    if (bank.Sentaku[static_cast<std::size_t>(i)] == answer) bank.SeikaiNo = static_cast<std::int16_t>(i);
  }
  // Every option sounds the same: each is told apart by the other readings
  // of its kanji.
  QStringList group;
  for (int i = 0; i <= bank.LastChoice; ++i) group << bank.Sentaku[static_cast<std::size_t>(i)];
  std::vector<readings::Word> words;
  for (int i = 0; i <= bank.MonMax; ++i)
    words.emplace_back(sh_.Mon3[static_cast<std::size_t>(i)].asText(), sh_.Mon5[static_cast<std::size_t>(i)].asText());
  const QStringList told = readings::describe(group, sh_.Mon5[static_cast<std::size_t>(bank.CurRec)].asText(), words);
  for (int i = 0; i <= bank.LastChoice; ++i) Opt1[i]->setAccessibleDescription(told.value(i));
  Kaitou = 0;
  questionDealt(Opt1, Lbl1->text());
}

void Form1::Opt1_Click(int index) {
  Kaitou = static_cast<std::int16_t>(Kaitou + 1);
  if (Kaitou > 1) {
    Opt1.select(kNeutralOption);
    return;
  }
  if (index == kNeutralOption) {
    showOptions(kNeutralOption - 1, false);
    ui::caption(Lbl2, QString());
    return;
  }
  if (index == bank.SeikaiNo) {
    Atari1();
    if (sh_.ended()) return;
    Opt1.select(kNeutralOption);
    Main13();
  } else {
    Miss1();
    if (sh_.ended()) return;
    Opt1.select(kNeutralOption);
    setBackColors(colour::green);
  }
}

void Form1::Atari1() {
  ui::setFore(Lbl2, colour::blue);
  sh_.Tokuten = static_cast<std::int16_t>(sh_.Tokuten + 1);
  Lbl2->show();
  ui::caption(Lbl2, QStringLiteral("得点は") + num(sh_.Tokuten * quiz::kPointsPerAnswer) + QStringLiteral("点です"));
  sh_.SeikaiMsg();
  // The options go once the message has the focus: hidden before, the
  // focus would run over the rest of the window.
  showFeedback(true, [this] { showOptions(kNeutralOption - 1, false); });
  showOptions(kNeutralOption - 1, false);
}

void Form1::Miss1() {
  setBackColors(colour::red);
  ui::setFore(Lbl2, colour::red);
  Lbl2->show();
  ui::caption(Lbl2, QStringLiteral("得点は") + num(sh_.Tokuten * quiz::kPointsPerAnswer) + QStringLiteral("点です"));
  sh_.MsgText = QStringLiteral("間違いですよ。") + QStringLiteral("正解は、「") + bank.Answer.asText() +
                QStringLiteral("」です。") + texts::kCrLf;
  sh_.MissMsg();
  const bool going = showFeedback(false, [this] { showOptions(kNeutralOption - 1, false); });
  showOptions(kNeutralOption - 1, false);
  if (!going) return;
  Owari();
}

void Form1::Owari() {
  sh_.progress.quizEnded();
  showOptions(kNeutralOption, false);
  sh_.MsgText.clear();
  Pic1->Cls();
  if (sh_.Tokuten != quiz::kQuestionsPerQuiz) {
    setStars(0);
    bank.clearAllMarks();
  }
  sh_.Hantei();
}
