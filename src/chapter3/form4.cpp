#include "chapter3/form4.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "questions/quizrules.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "startup/shoki.h"
#include "startup/texts.h"

using namespace layout;
using texts::num;

Form4::Form4(Shoki& sh)
    : ChapterWindow(sh, 3, QStringLiteral("第３章 慣用句（一般）  (コトバリオンVer.1.3)"), {1024, 760},
                    QStringLiteral("ヘ　ル　プ")) {
  setClosingMessage(QStringLiteral("慣用句(一般)を終了します。"), QStringLiteral("慣用句(一般)"));
  QWidget* c = client();
  Lbl1 =
      ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::darkBlue, colour::lightYellow);
  // The sentence and the score use the window's own face, not bold.
  lbl2 = ui::label(c, QStringLiteral("Label2"), {288, 168, 0, 0}, designFont(26, false), colour::darkBlue,
                   colour::paleGreen);
  Pic1 = new PictureBox(c);
  Pic1->setGeometry(128, 208, 777, 113);
  Pic1->setBackColor(colour::white);
  Pic1->setForeColor(colour::darkBlue);
  Pic1->setPrintFont(designFont(24));
  Pic1->setSpokenAsOneLine();
  Frm1 = ui::frame(c, QStringLiteral("選択欄"), {128, 336, 785, 137}, designFont(12), colour::lightGreen);
  const int lefts[] = {8, 160, 320, 480, 632, 8, 160, 320};
  const int tops[] = {32, 32, 32, 32, 32, 80, 80, 80};
  for (int i = 0; i < kNeutralOption; ++i) {
    QRadioButton* b = Opt1.add(Frm1, QString());
    ui::place(b, {lefts[i], tops[i], 161, 33}, designFont(16), colour::navy, colour::lightGreen);
  }
  ui::place(Opt1.add(Frm1, QStringLiteral("適するものを選べ。")), {480, 80, 257, 33}, designFont(16), colour::black,
            colour::lightGreen);
  Lbl3 = ui::label(c, QStringLiteral("Label3"), {104, 520, 0, 0}, designFont(28, false), colour::black, colour::white);
  Cmd1 = ui::commandButton(c, QStringLiteral("問題開始"), {696, 536, 169, 65}, designFont(15));
  Lbl4 = ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 33}, designFont(15.75, true, true), colour::black,
                   colour::lightYellow);
  makeStars({696, 744, 792}, 48, {49, 45}, Lbl4);

  connect(Cmd1, &QPushButton::clicked, this, [this] { Cmd1_Click(); });
  Opt1.setNeutral(kNeutralOption);
  Opt1.onClick = [this](int i) { Opt1_Click(i); };
}

bool Form4::Main4() {
  sh_.refreshAppDir();
  const std::vector<FileProblem> problems = bank.load(sh_.AppDir, sh_);
  if (!problems.empty()) {
    sh_.messageBox(describeProblems(Bank3::kFileName, problems), QStringLiteral("コトバリオン"));
    return false;
  }
  setStars(sh_.Genzai[2]);
  sh_.DoneFlag = 0;
  Main41();
  return true;
}

void Form4::Main41() {
  sh_.Genzai[1] = 0;
  sh_.Tokuten = 0;
  Cmd1->show();
  ui::caption(lbl2, QStringLiteral("下の欄に問題文が表示される"));
  Pic1->Print(QStringLiteral("表示される意味を参考に問題文中の(  )に"));
  Pic1->Print(QStringLiteral("あてはまるものを下の選択欄から選べ。"));
  Cmd1->setAccessibleDescription(lbl2->text() + QStringLiteral("。") + Pic1->accessibleName());
  Lbl3->hide();
  sh_.platform().randomize();
  for (int i = 0; i <= kNeutralOption; ++i) Opt1[i]->hide();
  Opt1[kNeutralOption]->setText(QStringLiteral("適するものを選べ。"));
  Opt1.select(kNeutralOption);
  Cmd1->setText(QStringLiteral("問題開始"));
  ui::caption(Lbl1, QStringLiteral("第１問 "));
  Kaitou = 4;
  bank.Monsakusei(sh_, [this] { return sh_.platform().rnd(); });
  Cmd1->setFocus();
}

void Form4::Cmd1_Click() {
  if (sh_.DoneFlag == 999) {
    sh_.saveBeforeEnding();
    sh_.endProgram();
    return;
  }
  sh_.DoneFlag = 0;
  ui::caption(Lbl3, QString());
  Pic1->printFont().setPointSize(18);
  Pic1->Cls();
  Main42();
}

void Form4::Main42() {
  setBackColors(colour::green);
  Frm1->show();
  Lbl3->hide();
  lbl2->hide();
  if (sh_.DoneFlag == 999) {
    sh_.endProgram();
    return;
  }
  sh_.Genzai[1] += 1;
  if (sh_.Genzai[1] > quiz::kQuestionsPerQuiz) {
    Syuryou();
  } else {
    Pic1->Cls();
    Syutu4();
  }
}

void Form4::Syutu4() {
  const int n = sh_.Genzai[1];
  sh_.DoneFlag = 0;
  Opt1.select(kNeutralOption);
  lbl2->show();
  ui::caption(Lbl1, QStringLiteral("第") + num(n) + QStringLiteral("問 "));
  Cmd1->hide();
  const Bank3::Row& row = bank.Mondai[static_cast<std::size_t>(n)];
  ui::caption(lbl2, row.sentence.asText() + Bank3::kBlank);
  const std::array<QString, 2> lines = Bank3::splitMeaning(row.meaning);
  if (lines[1].isEmpty()) {
    Pic1->Print(lines[0]);
  } else {
    Pic1->Print(lines[0] + QStringLiteral("\r\t"));
    Pic1->Print(lines[1]);
  }
  bank.assemble(n, sh_, [this] { return sh_.platform().rnd(); });
  for (int i = 0; i < Bank3::kOptions; ++i) Opt1[i]->setText(bank.Sentaku[static_cast<std::size_t>(i)]);
  for (int i = 0; i <= kNeutralOption; ++i) Opt1[i]->show();
  Opt1.select(kNeutralOption);
  Frm1->show();
  Kaitou = 0;
  questionDealt(Opt1, lbl2->text() + QStringLiteral("　") + Lbl1->text().trimmed());
}

void Form4::Opt1_Click(int index) {
  sh_.MsgText.clear();
  if (index == kNeutralOption) return;
  Kaitou = static_cast<std::int16_t>(Kaitou + 1);
  if (Kaitou > 1) {
    Opt1.select(kNeutralOption);
    return;
  }
  Lbl3->show();
  if (index == bank.SeikaiNo) {
    Atari();
    if (sh_.ended()) return;
    Opt1.select(kNeutralOption);
    Main42();
  } else {
    Miss();
    if (sh_.ended()) return;
    Opt1.select(kNeutralOption);
    setBackColors(colour::green);
  }
}

void Form4::showScore() {
  Lbl3->show();
  ui::caption(Lbl3, QStringLiteral("ただいまの得点は、") + num(sh_.Tokuten * quiz::kPointsPerAnswer) +
                        QStringLiteral("点です。"));
}

void Form4::Atari() {
  sh_.Tokuten = static_cast<std::int16_t>(sh_.Tokuten + 1);
  showScore();
  sh_.SeikaiMsg();
  showFeedback(true);
}

void Form4::Miss() {
  setBackColors(colour::red);
  const auto right = static_cast<std::size_t>(std::clamp<int>(bank.SeikaiNo, 0, kNeutralOption));
  sh_.MsgText = QStringLiteral("残念！まちがい！") + texts::kCrLf + QStringLiteral("「") + bank.Sentaku[right] +
                QStringLiteral("」です。") + texts::kCrLf;
  showScore();
  sh_.MissMsg();
  if (!showFeedback(false)) return;
  Syuryou();
}

void Form4::Syuryou() {
  sh_.progress.quizEnded();
  if (sh_.Tokuten != quiz::kQuestionsPerQuiz) {
    setStars(0);
    bank.clearAllMarks();
  }
  if (sh_.Kiroku[2] != quiz::kCompletedMark) sh_.Hantei();
}
