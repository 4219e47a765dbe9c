#include "chapter1/form3.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "questions/quizrules.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "startup/shoki.h"
#include "startup/texts.h"

using namespace layout;
using texts::num;

Form3::Form3(Shoki& sh)
    : ChapterWindow(sh, 1, QStringLiteral("第１章 体に関する慣用句 (コトバリオンVer.1.3)"), {1024, 760},
                    QStringLiteral("ヘ ル プ")) {
  setClosingMessage(QStringLiteral("コトバリオンを終了します!!!。"), QStringLiteral("コトバリオン"));
  QWidget* c = client();
  Lbl1 = ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::black);
  Lbl4 = ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 27}, designFont(15.75, true, true), colour::black);
  makeStars({704, 752, 800}, 48, {49, 49}, Lbl4);
  Lbl2 = ui::label(c, QStringLiteral("Label2"), {344, 160, 0, 0}, designFont(26), colour::black);
  Pic1 = new PictureBox(c);
  Pic1->setGeometry(168, 208, 697, 89);
  Pic1->setBackColor(colour::white);
  Pic1->setForeColor(colour::blue);
  Pic1->setPrintFont(designFont(24));
  Pic1->setSpokenAsOneLine();
  Frm1 = ui::frame(c, QStringLiteral("選択欄"), {168, 304, 697, 145}, designFont(12, true, true), QColor());
  const std::array<QString, 13>& words = Bank1::words();
  for (int i = 0; i < kNeutralOption; ++i) {
    const int row = i < 7 ? 0 : 1;
    const int col = i < 7 ? i : i - 7;
    const int height = (i == 0 || i == 7) ? 25 : 27;
    ui::place(Option1.add(Frm1, words[static_cast<std::size_t>(i)]), {24 + 96 * col, row == 0 ? 24 : 80, 73, height},
              designFont(22), colour::black);
  }
  ui::place(Option1.add(Frm1, QStringLiteral("一つ選べ")), {504, 80, 137, 27}, designFont(20), colour::black);
  Option1.setNeutral(kNeutralOption);
  Lbl3 = ui::label(c, QStringLiteral("現在の得点"), {304, 496, 0, 0}, designFont(28), colour::black);
  Cmd1 = ui::commandButton(c, QStringLiteral("Command1"), {696, 536, 169, 65}, designFont(15));

  connect(Cmd1, &QPushButton::clicked, this, [this] { Cmd1_Click(); });
  Option1.onClick = [this](int i) { Option1_Click(i); };
}

bool Form3::Main3() {
  sh_.Genzai[0] = 1;
  sh_.refreshAppDir();
  const std::vector<FileProblem> problems = bank.load(sh_.AppDir, sh_);
  if (!problems.empty()) {
    sh_.messageBox(describeProblems(Bank1::kFileName, problems), QStringLiteral("コトバリオン"));
    return false;
  }
  setStars(sh_.Genzai[2]);
  Main31();
  return true;
}

void Form3::Main31() {
  sh_.Genzai[1] = 0;
  sh_.Tokuten = 0;
  sh_.platform().randomize();
  Frm1->show();
  Lbl3->hide();
  ui::caption(Lbl2, QStringLiteral("下の欄に問題文が表示される"));
  Cmd1->show();
  ui::caption(Lbl1, QStringLiteral("第１章 体に関する慣用句"));
  Cmd1->setText(QStringLiteral("問題開始"));
  Pic1->setForeColor(colour::blue);
  Pic1->printFont().setPointSize(21);
  Pic1->Print(QStringLiteral("上の問題文の意味がここに表示される。\r\t"));
  Pic1->Print(QStringLiteral("この意味を参考に＊にあてはまる語を下から選ぶ。"));
  Cmd1->setAccessibleDescription(Lbl2->text() + QStringLiteral("。") + Pic1->accessibleName());
  sh_.DoneFlag = 0;
  Option1.select(kNeutralOption);
  Kaitou = 4;
  Cmd1->setFocus();
}

void Form3::Cmd1_Click() {
  if (sh_.DoneFlag == 999) {
    sh_.endProgram();
    return;
  }
  sh_.DoneFlag = 0;
  ui::caption(Lbl3, QString());
  Pic1->printFont().setPointSize(18);
  Pic1->Cls();
  Main32();
}

void Form3::Main32() {
  setBackColors(colour::green);
  ui::caption(Lbl3, QString());
  if (sh_.DoneFlag == 999) {
    sh_.endProgram();
    return;
  }
  ui::caption(Lbl1, QStringLiteral("第") + num(sh_.Genzai[1]) + QStringLiteral("問"));
  if (sh_.Genzai[1] >= quiz::kQuestionsPerQuiz) {
    Syuryou();
  } else {
    Pic1->Cls();
    Syutu3();
  }
}

void Form3::Syutu3() {
  Kaitou = 0;
  Cmd1->hide();
  Option1.select(kNeutralOption);
  Pic1->setForeColor(colour::blue);
  sh_.Genzai[1] += 1;
  const int q = sh_.Genzai[1];
  const int k = bank.draw(q, sh_, [this] { return sh_.platform().rnd(); });
  const auto i = static_cast<std::size_t>(k);
  bank.SeikaiNo = Bank1::answerIndex(sh_.Mon2[i]);
  ui::caption(Lbl2, sh_.Mon3[i].asText());
  const std::array<QString, 2> lines = Bank1::splitMeaning(sh_.Mon4[i].asText());
  Pic1->Print(lines[0] + QStringLiteral("\r\t"));
  Pic1->Print(lines[1]);
  Option1.select(kNeutralOption);
  ui::caption(Lbl1, QStringLiteral("第") + num(q) + QStringLiteral("問"));
  Lbl3->hide();
  questionDealt(Option1, QString(Lbl2->text()).replace(QStringLiteral("＊"), QStringLiteral("〇〇")) +
                             QStringLiteral("　") + Lbl1->text());
}

void Form3::Option1_Click(int index) {
  if (index == kNeutralOption) return;
  Kaitou = static_cast<std::int16_t>(Kaitou + 1);
  if (Kaitou > 1) {
    Option1.select(kNeutralOption);
    return;
  }
  Lbl3->show();
  if (index == bank.SeikaiNo) {
    Atari();
    if (sh_.ended()) return;
    Option1.select(kNeutralOption);
    Main32();
  } else {
    Miss();
    if (sh_.ended()) return;
    Option1.select(kNeutralOption);
    setBackColors(colour::green);
    ui::caption(Lbl3, QString());
  }
}

void Form3::Atari() {
  sh_.Tokuten = static_cast<std::int16_t>(sh_.Tokuten + 1);
  Lbl3->show();
  ui::caption(Lbl3, QStringLiteral("ただいまの得点は、") + num(sh_.Tokuten * quiz::kPointsPerAnswer) +
                        QStringLiteral("点です。"));
  sh_.SeikaiMsg();
  showFeedback(true);
}

void Form3::Miss() {
  setBackColors(colour::red);
  // SeikaiNo is 0..11 for every accepted question file.
  const auto right = static_cast<std::size_t>(std::clamp<int>(bank.SeikaiNo, 0, kNeutralOption));
  sh_.MsgText = QStringLiteral("まちがい！") + QStringLiteral("「") + bank.Karada[right] + QStringLiteral("」です。") +
                texts::kCrLf;
  Lbl3->show();
  ui::caption(Lbl3, QStringLiteral("ただいまの得点は、") + num(sh_.Tokuten * quiz::kPointsPerAnswer) +
                        QStringLiteral("点です。"));
  sh_.MissMsg();
  if (!showFeedback(false)) return;
  Syuryou();
}

void Form3::Syuryou() {
  sh_.progress.quizEnded();
  sh_.Genzai[0] = 1;
  if (sh_.Tokuten != quiz::kQuestionsPerQuiz) {
    setStars(0);
    bank.clearAllMarks();
  }
  sh_.Hantei();
}
