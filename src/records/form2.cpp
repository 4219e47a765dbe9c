#include "records/form2.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGroupBox>

#include "layout/chapterwindow.h"
#include "layout/layout.h"
#include "questions/quizrules.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "startup/shoki.h"
#include "startup/texts.h"

using namespace layout;

namespace {
const QString kChapterNames[3] = {QStringLiteral("第１章 体に関する慣用句"), QStringLiteral("第２章 同音異義語"),
                                  QStringLiteral("第３章 慣用句（一般）")};
const QString kDigits[3] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３")};
}  // namespace

QString recordDamageMessage(const QString& userName, const QString& problem, bool partly) {
  const QString file = userName + QStringLiteral(".dat");
  return QStringLiteral("成績のファイル「") + file + QStringLiteral("」を読み込めませんでした。\n") + problem +
         (partly ? QStringLiteral("\n読めたところまでの成績で続けます。")
                 : QStringLiteral("\n成績は 0 から始めます。")) +
         QStringLiteral("元のファイルは消さずに、写し（「") + file +
         QStringLiteral(".bak」など）を残してから新しい成績を保存します。");
}

QString recordSummary(const std::array<int, 7>& kiroku) {
  QString s;
  for (int c = 0; c < 3; ++c) {
    s += QStringLiteral("第") + kDigits[c] + QStringLiteral("章　");
    if (kiroku[static_cast<std::size_t>(c)] == quiz::kCompletedMark)
      s += QStringLiteral(" 修了");
    else
      s += texts::num(kiroku[static_cast<std::size_t>(c + 3)]) + QStringLiteral("回 連続満点は、") +
           texts::num(kiroku[static_cast<std::size_t>(c)]) + QStringLiteral("回");
    s += QStringLiteral("\n\r");
  }
  return s;
}

Form2::Form2(Shoki& sh) : sh_(sh) {
  setWindowTitle(QStringLiteral("名前登録  (コトバリオンVer.1.3)"));
  // A screen reader names it as a window (a plain widget reads as filler).
  ui::setAccessibleRole(this, QAccessible::Window);
  ui::setBack(this, colour::green);
  Label1 = ui::label(this, QStringLiteral("あなたの名前は"), {96, 8, 153, 25}, designFont(12), colour::black,
                     colour::lightGreen);
  Txt1 = new QLineEdit(this);
  ui::place(Txt1, {96, 32, 153, 33}, designFont(12), colour::black);
  Cmd1 = ui::button(this, QStringLiteral("登　録"), {40, 248, 113, 49}, designFont(14.25), colour::lightYellow);
  Lbl2 =
      ui::label(this, QStringLiteral("Label2"), {80, 72, 0, 0}, designFont(14.25), colour::black, colour::lightGreen);
  Lbl3 =
      ui::label(this, QStringLiteral("Label3"), {16, 96, 0, 0}, designFont(14.25), colour::black, colour::lightGreen);
  Frm1 =
      ui::frame(this, QStringLiteral("どの章を選びますか"), {344, 152, 233, 177}, designFont(9.75), colour::lightGreen);
  const QRect optGeometry[4] = {{16, 32, 209, 25}, {16, 64, 185, 25}, {16, 96, 185, 25}, {32, 128, 185, 25}};
  const QColor optColour[4] = {colour::darkBlue, colour::darkBlue, colour::blue, colour::red};
  for (int i = 0; i < 4; ++i) {
    QRadioButton* b = Opt1.add(Frm1, i < 3 ? kChapterNames[i] : QStringLiteral("上から選択する"));
    ui::place(b, optGeometry[i], designFont(11.25), optColour[i], colour::lightGreen);
  }
  // The arrow keys move among the chapters; Space or Enter starts one.
  Opt1.setArrowsMoveFocus();
  // The prompt names the name box; spaced captions are named unspaced, or a
  // screen reader spells them out.
  Label1->setBuddy(Txt1);
  Cmd1->setAccessibleName(QStringLiteral("登録"));
  Cmd2 = ui::button(this, QStringLiteral("やめる"), {176, 248, 105, 49}, designFont(15.75), colour::lightYellow);

  setTabOrder(Txt1, Label1);
  setTabOrder(Label1, Cmd1);
  setTabOrder(Cmd1, Lbl2);
  setTabOrder(Lbl2, Lbl3);
  setTabOrder(Lbl3, Frm1);
  setTabOrder(Frm1, Opt1[0]);
  setTabOrder(Opt1[0], Opt1[1]);
  setTabOrder(Opt1[1], Opt1[2]);
  setTabOrder(Opt1[2], Opt1[kNeutralOption]);
  setTabOrder(Opt1[kNeutralOption], Cmd2);

  connect(Txt1, &QLineEdit::returnPressed, this, [this] { Txt1_Enter(); });
  connect(Cmd1, &QPushButton::clicked, this, [this] { Cmd1_Click(); });
  connect(Cmd2, &QPushButton::clicked, this, [this] { Cmd2_Click(); });
  Opt1.onClick = [this](int i) { Opt1_Click(i); };
}

void Form2::Fr2Main() {
  Kaisu = 1;
  sh_.Genzai[0] = 0;
  Lbl3->hide();
  ui::caption(Lbl2, QString());
  ui::caption(Lbl3, QString());
  Frm1->hide();
  Opt1.select(kNeutralOption);
  Txt1->setFocus();
}

void Form2::Txt1_Enter() { Cmd1->setFocus(); }

void Form2::Cmd1_Click() {
  // A name that cannot be saved again and again is refused here, before any
  // quiz, and the learner stays at the name box to type another.
  if (Kaisu == 1) {
    sh_.refreshAppDir();
    const QString problem = recordfile::registrationProblem(sh_.AppDir, Txt1->text());
    if (!problem.isEmpty()) {
      if (!sh_.messageBox(QStringLiteral("この名前では登録できません。\n") + problem +
                              QStringLiteral("\n別の名前を入れてください。"),
                          QStringLiteral("コトバリオン")))
        return;
      Txt1->setFocus();
      Txt1->selectAll();
      return;
    }
  }
  Kaisu += 1;
  if (Kaisu == 2 && !DLoad()) return;
  Frm1->show();
  Mesq();
  Lbl2->show();
  Lbl3->show();
  Cmd1->hide();
  Opt1[kNeutralOption]->setFocus();
}

bool Form2::DLoad() {
  sh_.refreshAppDir();
  sh_.Genzai[0] = 0;
  // After a failed save the disk holds older progress than memory: the
  // learner sees the progress in memory, which the next save writes.
  if (sh_.unsavedProgress()) return true;
  for (int i = 0; i < 6; ++i) sh_.Kiroku[static_cast<std::size_t>(i)] = 0;
  sh_.UserName = recordfile::learnerName(sh_.AppDir, Txt1->text());
  QString problem;
  const recordfile::LoadResult result = recordfile::load(sh_.AppDir, sh_.UserName, sh_.Kiroku, &problem);
  switch (result) {
    case recordfile::LoadResult::Missing:
      Lbl3->show();
      Lbl2->show();
      sh_.MsgText = QStringLiteral("「") + sh_.UserName +
                    QStringLiteral(
                        "」さんは初めての挑戦ですね。３回連続満点を取ったら、その章は合格よ。詳しくはヘルプを見てね。");
      if (!sh_.showMessage()) return false;
      sh_.progress.newLearner();
      return true;
    case recordfile::LoadResult::Short: {
      // Fewer than six numbers: read as far as they go, without a word
      // unless the next save could not keep a copy of them.
      const QString blocked = recordfile::saveProblem(sh_.AppDir, sh_.UserName);
      return blocked.isEmpty() || sh_.messageBox(QStringLiteral("成績のファイル「") + sh_.UserName +
                                                     QStringLiteral(".dat」は数字が６つそろっていません。\n") + blocked,
                                                 QStringLiteral("コトバリオン"));
    }
    case recordfile::LoadResult::Damaged:
    case recordfile::LoadResult::Empty:
    case recordfile::LoadResult::Unreadable: {
      // The slots read so far keep their values; the learner hears what is
      // wrong, and the file itself is kept as a copy before the next save
      // (or hears why it cannot be).
      const QString blocked = recordfile::saveProblem(sh_.AppDir, sh_.UserName);
      return sh_.messageBox(recordDamageMessage(sh_.UserName, problem, result == recordfile::LoadResult::Damaged) +
                                (blocked.isEmpty() ? QString() : QStringLiteral("\n") + blocked),
                            QStringLiteral("コトバリオン"));
    }
    case recordfile::LoadResult::Loaded:
      break;
  }
  if (quiz::allCompleted(sh_.Kiroku)) {
    sh_.MsgText =
        QStringLiteral("「") + sh_.UserName + QStringLiteral("」さんは,すでに免許皆伝の賞状をお渡ししました。");
    if (!sh_.showMessage()) return false;
    sh_.endProgram();
    return false;
  }
  return true;
}

void Form2::Mesq() {
  Lbl3->show();
  summary_ = recordSummary(sh_.Kiroku);
  ui::caption(Lbl2, QStringLiteral("「") + sh_.UserName + QStringLiteral("」") + QStringLiteral(" さんの今までの成績"));
  QString shown = summary_;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  ui::caption(Lbl3, shown.trimmed());
  // The summary is read with the chapter choice that has the focus: each
  // chapter with its own line, the neutral entry with all of it.
  const QStringList lines = shown.trimmed().split(u'\n');
  for (int i = 0; i < 3; ++i)
    Opt1[i]->setAccessibleDescription(lines.value(i).section(QStringLiteral("　"), 1).trimmed());
  Opt1[kNeutralOption]->setAccessibleDescription(Lbl2->text() + QStringLiteral("　") +
                                                 lines.join(QStringLiteral("　")));
  Label1->hide();
  Txt1->hide();
  Frm1->show();
}

void Form2::Opt1_Click(int index) {
  sh_.DoneFlag = 0;
  if (index == kNeutralOption) return;
  const int c = index + 1;
  if (sh_.Kiroku[static_cast<std::size_t>(c - 1)] == quiz::kCompletedMark) {
    sh_.MsgText = QStringLiteral("すでに第") + kDigits[index] + QStringLiteral("章は修了しています。");
    Opt1.select(kNeutralOption);
    sh_.DoneFlag = 99;
  } else {
    sh_.MsgText = kChapterNames[index] + QStringLiteral("をスタートします。");
    sh_.progress.chapterChosen(c);
  }
  if (!sh_.showMessage()) return;
  if (sh_.DoneFlag != 99) {
    if (Shut()) Star();
  }
}

namespace {
// The chapter in play; none chosen yet counts as chapter 1.
int chapterInPlay(const Shoki& sh) { return sh.Genzai[0] == 0 ? 1 : sh.Genzai[0]; }
}  // namespace

bool Form2::Shut() {
  ChapterWindow* w = sh_.chapterWindow(chapterInPlay(sh_));
  w->Pic1->Cls();
  // The question file is read before the chapter window appears: a refused
  // file is reported over this window, and no half-set-up chapter is seen.
  if (!w->setUp()) {
    sh_.Genzai[0] = 0;
    Opt1.select(kNeutralOption);
    return false;
  }
  w->show();
  hide();
  return true;
}

void Form2::Star() {
  // A hand-edited streak above two still lights no more than three stars.
  sh_.chapterWindow(chapterInPlay(sh_))->setStars(sh_.Genzai[2]);
}

void Form2::Cmd2_Click() {
  // Progress the last save could not write is saved as the program ends.
  sh_.endProgram();
}

void Form2::closeHandling() {
  sh_.Sound(QString(), 0);
  if (sh_.unsavedProgress()) sh_.saveBeforeEnding();
  sh_.messageBox(QStringLiteral("コトバリオンを終了します。"), QStringLiteral("コトバリオン"));
  sh_.endProgram();
}

void Form2::closeEvent(QCloseEvent* event) {
  closeHandling();
  event->accept();
}

void Form2::Fr2Main1() {
  if (!DLoad()) return;
  Lbl2->show();
  Lbl3->show();
  Frm1->show();
  Mesq();
  Opt1[kNeutralOption]->setFocus();
}
