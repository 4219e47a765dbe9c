#include "startup/shoki.h"

#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>

#include "chapter1/form3.h"
#include "chapter2/form1.h"
#include "chapter3/form4.h"
#include "layout/chapterwindow.h"
#include "layout/layout.h"
#include "layout/placer.h"
#include "layout/widgets.h"
#include "questions/quizrules.h"
#include "records/form2.h"
#include "records/form5.h"
#include "records/recordfile.h"
#include "scoring/feedback.h"
#include "scoring/judgement.h"

Shoki::Shoki(Platform& platform) : platform_(platform) {}

Shoki::~Shoki() {
  delete form2;
  delete form1;
  delete form3;
  delete form4;
  delete form5;
}

void Shoki::Main() {
  platform_.randomize();
  if (platform_.anotherCopyRunning()) {
    // Something that is no copy of the program is named, so that the
    // learner is never locked out unheard.
    const QString holder = platform_.lockHolder();
    if (holder.isEmpty())
      platform_.messageBox(QStringLiteral("ナゴミアの勉強は起動しています。"), QStringLiteral("ナゴミア"));
    else
      platform_.messageBox(QStringLiteral("このプログラムのフォルダ「") +
                               QDir::toNativeSeparators(platform_.applicationDir()) +
                               QStringLiteral("」を、ほかのプログラム") + holder +
                               QStringLiteral("が使用中にしているため、起動できません。\n") +
                               QStringLiteral("そのプログラムを終わらせてから、もう一度起動してください。"),
                           QStringLiteral("コトバリオン"));
    endProgram();
    return;
  }
  AppDir = platform_.applicationDir();
  ui::guardKeyRepeats();
  // The registration window is built, put into its name-entry state, laid
  // out and shown first; the four hidden windows are built while the
  // learner already sees it. Nothing is drawn in between, and neither the
  // name-entry state nor the other layouts touch what Layout2 sets, so the
  // learner sees the same window.
  readTwipsPerPixel();
  form2 = new Form2(*this);
  form2->Fr2Main();
  Layout2();
  platform_.flushWindows();
  Layout1();
  Layout3();
  Layout4();
  Layout5();
}

void Shoki::refreshAppDir() {
  AppDir = platform_.applicationDir();
  if (!AppDir.endsWith(u'/')) AppDir += u'/';
}

void Shoki::Sound(const QString& name, int mode) {
  // Every caller plays in the background; the platform never blocks.
  (void)mode;
  platform_.playSound(AppDir + name);
}

bool Shoki::DSave() {
  QString error;
  unsavedProgress_ = !recordfile::save(AppDir, UserName, Kiroku, &error);
  if (!unsavedProgress_) return true;
  messageBox(QStringLiteral("「") + UserName + QStringLiteral("」さんの成績を保存できませんでした。\n") +
                 QStringLiteral("保存先：") + QDir::toNativeSeparators(recordfile::path(AppDir, UserName)) +
                 QStringLiteral("\n") + error +
                 QStringLiteral("\n今回の成績は消さずに覚えておき、次に保存するときにもう一度保存します。"),
             QStringLiteral("コトバリオン"));
  return false;
}

void Shoki::saveBeforeEnding() {
  const QString caption = QStringLiteral("コトバリオン");
  for (;;) {
    QString error;
    unsavedProgress_ = !recordfile::save(AppDir, UserName, Kiroku, &error);
    if (!unsavedProgress_) return;
    if (!platform_.question(QStringLiteral("「") + UserName + QStringLiteral("」さんの成績を保存できませんでした。\n") +
                                QStringLiteral("保存先：") +
                                QDir::toNativeSeparators(recordfile::path(AppDir, UserName)) + QStringLiteral("\n") +
                                error + QStringLiteral("\n空きを作るなどしてから、もう一度保存できます。"),
                            caption, QStringLiteral("もう一度保存する"), QStringLiteral("保存せずに終了する")))
      break;
  }
  QString progressText = recordSummary(Kiroku);
  progressText.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  messageBox(QStringLiteral("「") + UserName + QStringLiteral("」さんの次の成績は保存されていません。") +
                 QStringLiteral("先生に伝えてください。\n\n") + progressText + QStringLiteral("\n記録ファイル「") +
                 UserName + QStringLiteral(".dat」の内容：") +
                 QString::fromLatin1(recordfile::encode(Kiroku).trimmed()),
             caption);
}

bool Shoki::showModal(QWidget* window) {
  platform_.showModal(window);
  return !platform_.hasEnded();
}

bool Shoki::showMessage() {
  form5->Main5();
  return showModal(form5);
}

bool Shoki::messageBox(const QString& text, const QString& caption) {
  platform_.messageBox(text, caption);
  return !platform_.hasEnded();
}

void Shoki::endProgram() {
  if (unsavedProgress_ && !platform_.hasEnded()) saveBeforeEnding();
  platform_.endProgram();
}

void Shoki::SeikaiMsg() {
  if (Tokuten >= quiz::kQuestionsPerQuiz) progress.quizDecided(true);
  Sound(QStringLiteral("seikai.wav"), 0);
  MsgText = feedback::seikai({Genzai[1], Tokuten, Genzai[2], Kiroku[6]}, [this] { return platform_.rnd(); });
}

void Shoki::MissMsg() {
  progress.quizDecided(false);
  Sound(QStringLiteral("miss.wav"), 0);
  MsgText += feedback::miss({Genzai[1], Tokuten, Genzai[2], Kiroku[6]}, [this] { return platform_.rnd(); });
}

ChapterWindow* Shoki::chapterWindow(int c) const {
  switch (c) {
    case 1:
      return form3;
    case 2:
      return form1;
    case 3:
      return form4;
    default:
      return nullptr;
  }
}

void Shoki::Hantei() {
  DoneFlag = 0;
  const int c = Genzai[0];
  ChapterWindow* window = chapterWindow(c);
  bool known = false;
  const QString grade = judgement::grade(Tokuten, Genzai[2], &known);
  if (known) MsgText = grade;
  const progress::Progress::Outcome outcome = progress.judged(Tokuten == quiz::kQuestionsPerQuiz);
  if (Tokuten == quiz::kQuestionsPerQuiz) {
    const int streak = outcome == progress::Progress::Outcome::Completed ? quiz::kStreakToComplete : Genzai[2];
    MsgText += judgement::perfectSuffix(streak);
    if (window) {
      for (int i = 0; i < streak && i < quiz::kStreakToComplete; ++i) window->setStar(i, true);
      window->hide();
      if (outcome == progress::Progress::Outcome::Completed) MsgText = judgement::completion(c);
      if (progress.allCompleted()) {
        form5->showCertificate(judgement::certificate(UserName, Kiroku[3], Kiroku[4], Kiroku[5]),
                               layout::fontSize(TppX, 22), TppX);
        DoneFlag = 999;
      }
    }
  } else if (window) {
    window->hide();
  }
  DSave();
  if (DoneFlag == 999) return;
  if (!showMessage()) return;
  form2->Cmd2->show();
  form2->Opt1.select(Form2::kNeutralOption);
  form2->show();
  form2->Fr2Main1();
}

// --- layout --------------------------------------------------------------

namespace {

constexpr int kGuessedTitleBar = 32;

// The layout rule for one window: exact client size, placed on the screen.
// The placement reads the screen's metrics from the platform itself.
void applyLayout(QWidget* window, layout::Position position, Platform& platform) {
  window->setWindowState(Qt::WindowNoState);
  // A chapter window's size is its client area and its menu bar; on a
  // screen too small for it, less, and the client area scrolls.
  if (auto* chapter = qobject_cast<ChapterWindow*>(window)) {
    window->adjustSize();
    const ScreenMetrics m = platform.screenMetrics();
    const QRect room = m.available.isEmpty() ? QRect(0, 0, m.width, m.height) : m.available;
    // Until the window system has framed a window, a title bar is guessed.
    const QMargins frame = layout::plausibleFrame(platform.frameMargins(window));
    chapter->fitInto(room.size().shrunkBy(frame.isNull() ? QMargins(0, kGuessedTitleBar, 0, 0) : frame));
  }
  layout::WindowPlacer::place(window, window->size(), position, platform);
}

void setFontSize(QWidget* w, std::int16_t tpp, int k) {
  QFont f = w->font();
  f.setPointSize(layout::fontSize(tpp, k));
  w->setFont(f);
}

// Sets each control's font size by the layout rule, in the order given.
void setFontSizes(std::int16_t tpp, std::initializer_list<std::pair<QWidget*, int>> sizes) {
  for (const auto& [w, k] : sizes) setFontSize(w, tpp, k);
}

}  // namespace

void Shoki::readTwipsPerPixel() {
  const ScreenMetrics m = platform_.screenMetrics();
  TppX = layout::roundTwipsPerPixel(m.twipsPerPixelX);
  TppY = layout::roundTwipsPerPixel(m.twipsPerPixelY);
}

void Shoki::createWindows() {
  if (!form2) form2 = new Form2(*this);
  if (!form1) form1 = new Form1(*this);
  if (!form3) form3 = new Form3(*this);
  if (!form4) form4 = new Form4(*this);
  if (!form5) form5 = new Form5(*this);
}

void Shoki::Layout1() {
  readTwipsPerPixel();
  createWindows();
  Form1* f = form1;
  applyLayout(f, layout::Position::Corner, platform_);
  setFontSizes(TppX, {{f->Lbl1, 18}, {f->Lbl2, 28}});
  QFont pic = f->Pic1->printFont();
  pic.setPointSize(layout::fontSize(TppX, 28));
  f->Pic1->setPrintFont(pic);
  setFontSize(f->Frm1, TppX, 12);
  setFontSize(f->Cmd1, TppX, 14);
  f->Cmd1->setText(QStringLiteral("問題開始"));
  setFontSize(f->Opt1[Form1::kNeutralOption], TppX, 22);
  f->Frm1->hide();
  f->Pic1->setPrintPos(10, 10);
  f->Pic1->Print(QStringLiteral("下の選択欄から正解をクリックしなさい。"));
  for (int i = 0; i < Form1::kNeutralOption; ++i) setFontSize(f->Opt1[i], TppX, 28);
}

void Shoki::Layout2() {
  Form2* f = form2;
  f->setFixedSize(640, 400);
  applyLayout(f, layout::Position::Centred, platform_);
  f->Txt1->show();
  setFontSize(f->Txt1, TppX, 12);
  f->Label1->show();
  f->Lbl2->hide();
  f->Cmd2->hide();
  f->show();
}

void Shoki::Layout3() {
  Form3* f = form3;
  applyLayout(f, layout::Position::Centred, platform_);
  setFontSizes(TppX, {{f->Lbl1, 18}, {f->Lbl2, 26}, {f->Lbl3, 28}, {f->Frm1, 12}, {f->Cmd1, 15}});
  f->Frm1->hide();
  for (int i = 0; i < Form3::kNeutralOption; ++i) setFontSize(f->Option1[i], TppX, 22);
  setFontSize(f->Option1[Form3::kNeutralOption], TppX, 20);
}

void Shoki::Layout4() {
  Form4* f = form4;
  applyLayout(f, layout::Position::Centred, platform_);
  setFontSizes(TppX, {{f->Lbl1, 18}, {f->lbl2, 26}, {f->Lbl3, 28}, {f->Frm1, 12}, {f->Cmd1, 15}});
  f->Frm1->hide();
  for (int i = 0; i <= Form4::kNeutralOption; ++i) setFontSize(f->Opt1[i], TppX, 16);
}

void Shoki::Layout5() {
  Form5* f = form5;
  f->setFixedSize(320, 240);
  applyLayout(f, layout::Position::UpperThird, platform_);
  f->Pic2->hide();
}
