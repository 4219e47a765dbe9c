#include "windows/registrationwindow.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGroupBox>

#include "layout/layout.h"
#include "questions/quizrules.h"
#include "questions/texts.h"
#include "records/recordfile.h"
#include "windows/chapterwindow.h"
#include "windows/messagewindow.h"
#include "windows/placer.h"
#include "windows/session.h"

using namespace layout;

namespace {
const QString kChapterNames[quiz::kChapters] = {QStringLiteral("第１章 体に関する慣用句"),
                                                QStringLiteral("第２章 同音異義語"),
                                                QStringLiteral("第３章 慣用句（一般）")};
const QString kDigits[quiz::kChapters] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３")};
}  // namespace

QString recordDamageMessage(const QString& userName, const QString& problem, bool partly) {
  const QString file = userName + QStringLiteral(".dat");
  return QStringLiteral("成績のファイル「") + file + QStringLiteral("」を読み込めませんでした。\n") + problem +
         (partly ? QStringLiteral("\n読めたところまでの成績で続けます。")
                 : QStringLiteral("\n成績は 0 から始めます。")) +
         QStringLiteral("元のファイルは消さずに、写し（「") + file +
         QStringLiteral(".bak」など）を残してから新しい成績を保存します。");
}

QString recordSummary(const LearnerRecord& record) {
  QString s;
  for (int c = 0; c < quiz::kChapters; ++c) {
    s += QStringLiteral("第") + kDigits[c] + QStringLiteral("章　");
    if (record.streak[static_cast<std::size_t>(c)] == quiz::kCompletedMark)
      s += QStringLiteral(" 修了");
    else
      s += texts::num(record.count[static_cast<std::size_t>(c)]) + QStringLiteral("回 連続満点は、") +
           texts::num(record.streak[static_cast<std::size_t>(c)]) + QStringLiteral("回");
    s += QStringLiteral("\n\r");
  }
  return s;
}

RegistrationWindow::RegistrationWindow(Session& session) : session_(session) {
  setWindowTitle(QStringLiteral("名前登録  (コトバリオンVer.1.3)"));
  // A screen reader names it as a window (a plain widget reads as filler).
  ui::setAccessibleRole(this, QAccessible::Window);
  ui::setBack(this, colour::green);
  namePrompt = ui::label(this, QStringLiteral("あなたの名前は"), {96, 8, 153, 25}, designFont(12), colour::black,
                         colour::lightGreen);
  nameEdit = new QLineEdit(this);
  ui::place(nameEdit, {96, 32, 153, 33}, designFont(12), colour::black);
  registerButton =
      ui::button(this, QStringLiteral("登　録"), {40, 248, 113, 49}, designFont(14.25), colour::lightYellow);
  summaryHeading =
      ui::label(this, QStringLiteral("Label2"), {80, 72, 0, 0}, designFont(14.25), colour::black, colour::lightGreen);
  summaryLabel =
      ui::label(this, QStringLiteral("Label3"), {16, 96, 0, 0}, designFont(14.25), colour::black, colour::lightGreen);
  chapterFrame =
      ui::frame(this, QStringLiteral("どの章を選びますか"), {344, 152, 233, 177}, designFont(9.75), colour::lightGreen);
  // One option per chapter, then the neutral one.
  const QRect optGeometry[kNeutralOption + 1] = {
      {16, 32, 209, 25}, {16, 64, 185, 25}, {16, 96, 185, 25}, {32, 128, 185, 25}};
  const QColor optColour[kNeutralOption + 1] = {colour::darkBlue, colour::darkBlue, colour::blue, colour::red};
  for (int i = 0; i <= kNeutralOption; ++i) {
    QRadioButton* b =
        chapterOptions.add(chapterFrame, i < kNeutralOption ? kChapterNames[i] : QStringLiteral("上から選択する"));
    ui::place(b, optGeometry[i], designFont(11.25), optColour[i], colour::lightGreen);
  }
  // The arrow keys move among the chapters; Space or Enter starts one.
  chapterOptions.setArrowsMoveFocus();
  // The prompt names the name box; spaced captions are named unspaced, or a
  // screen reader spells them out.
  namePrompt->setBuddy(nameEdit);
  registerButton->setAccessibleName(QStringLiteral("登録"));
  quitButton = ui::button(this, QStringLiteral("やめる"), {176, 248, 105, 49}, designFont(15.75), colour::lightYellow);

  setTabOrder(nameEdit, namePrompt);
  setTabOrder(namePrompt, registerButton);
  setTabOrder(registerButton, summaryHeading);
  setTabOrder(summaryHeading, summaryLabel);
  setTabOrder(summaryLabel, chapterFrame);
  setTabOrder(chapterFrame, chapterOptions[0]);
  setTabOrder(chapterOptions[0], chapterOptions[1]);
  setTabOrder(chapterOptions[1], chapterOptions[2]);
  setTabOrder(chapterOptions[2], chapterOptions[kNeutralOption]);
  setTabOrder(chapterOptions[kNeutralOption], quitButton);

  connect(nameEdit, &QLineEdit::returnPressed, this, [this] { onNameEntered(); });
  connect(registerButton, &QPushButton::clicked, this, [this] { onRegisterClicked(); });
  connect(quitButton, &QPushButton::clicked, this, [this] { onQuitClicked(); });
  chapterOptions.onClick = [this](int i) { onChapterClicked(i); };
}

void RegistrationWindow::showNameEntry() {
  stage_ = Stage::NameEntry;
  session_.setChapterInPlay(0);
  summaryLabel->hide();
  ui::caption(summaryHeading, QString());
  ui::caption(summaryLabel, QString());
  chapterFrame->hide();
  chapterOptions.select(kNeutralOption);
  nameEdit->setFocus();
}

void RegistrationWindow::onNameEntered() { registerButton->setFocus(); }

void RegistrationWindow::onRegisterClicked() {
  // A name that cannot be saved again and again is refused here, before any
  // quiz, and the learner stays at the name box to type another.
  if (stage_ == Stage::NameEntry) {
    session_.refreshAppDir();
    const QString problem = recordfile::registrationProblem(session_.appDir(), nameEdit->text());
    if (!problem.isEmpty()) {
      if (!session_.messageBox(QStringLiteral("この名前では登録できません。\n") + problem +
                                   QStringLiteral("\n別の名前を入れてください。"),
                               QStringLiteral("コトバリオン")))
        return;
      nameEdit->setFocus();
      nameEdit->selectAll();
      return;
    }
  }
  switch (stage_) {
    case Stage::Built:
      stage_ = Stage::NameEntry;
      break;
    case Stage::NameEntry:
      stage_ = Stage::NameAccepted;
      break;
    case Stage::NameAccepted:
    case Stage::ChapterChoice:
      stage_ = Stage::ChapterChoice;
      break;
  }
  // A record that ends the program keeps the stage at NameAccepted.
  if (stage_ == Stage::NameAccepted && !loadRecord()) return;
  chapterFrame->show();
  showSummary();
  summaryHeading->show();
  summaryLabel->show();
  registerButton->hide();
  chapterOptions[kNeutralOption]->setFocus();
}

bool RegistrationWindow::loadRecord() {
  session_.refreshAppDir();
  session_.setChapterInPlay(0);
  // After a failed save the disk holds older progress than memory: the
  // learner sees the progress in memory, which the next save writes.
  if (session_.unsavedProgress()) return true;
  QString problem;
  const recordfile::LoadResult result = session_.loadRecord(nameEdit->text(), &problem);
  switch (result) {
    case recordfile::LoadResult::Missing:
      summaryLabel->show();
      summaryHeading->show();
      if (!session_.showMessage(
              QStringLiteral("「") + session_.userName() +
              QStringLiteral(
                  "」さんは初めての挑戦ですね。３回連続満点を取ったら、その章は合格よ。詳しくはヘルプを見てね。")))
        return false;
      session_.progress().newLearner();
      return true;
    case recordfile::LoadResult::Short: {
      // Fewer than six numbers: read as far as they go, without a word
      // unless the next save could not keep a copy of them.
      const QString blocked = recordfile::saveProblem(session_.appDir(), session_.userName());
      return blocked.isEmpty() ||
             session_.messageBox(QStringLiteral("成績のファイル「") + session_.userName() +
                                     QStringLiteral(".dat」は数字が６つそろっていません。\n") + blocked,
                                 QStringLiteral("コトバリオン"));
    }
    case recordfile::LoadResult::Damaged:
    case recordfile::LoadResult::Empty:
    case recordfile::LoadResult::Unreadable: {
      // The streaks and counts read so far keep their values; the learner hears what is
      // wrong, and the file itself is kept as a copy before the next save
      // (or hears why it cannot be).
      const QString blocked = recordfile::saveProblem(session_.appDir(), session_.userName());
      return session_.messageBox(
          recordDamageMessage(session_.userName(), problem, result == recordfile::LoadResult::Damaged) +
              (blocked.isEmpty() ? QString() : QStringLiteral("\n") + blocked),
          QStringLiteral("コトバリオン"));
    }
    case recordfile::LoadResult::Loaded:
      break;
  }
  if (session_.record().allCompleted()) {
    if (!session_.showMessage(QStringLiteral("「") + session_.userName() +
                              QStringLiteral("」さんは,すでに免許皆伝の賞状をお渡ししました。")))
      return false;
    session_.endProgram();
    return false;
  }
  return true;
}

void RegistrationWindow::showSummary() {
  summaryLabel->show();
  summary_ = recordSummary(session_.record());
  ui::caption(summaryHeading, QStringLiteral("「") + session_.userName() + QStringLiteral("」") +
                                  QStringLiteral(" さんの今までの成績"));
  QString shown = summary_;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  ui::caption(summaryLabel, shown.trimmed());
  // The summary is read with the chapter choice that has the focus: each
  // chapter with its own line, the neutral entry with all of it.
  const QStringList lines = shown.trimmed().split(u'\n');
  for (int i = 0; i < quiz::kChapters; ++i)
    chapterOptions[i]->setAccessibleDescription(lines.value(i).section(QStringLiteral("　"), 1).trimmed());
  chapterOptions[kNeutralOption]->setAccessibleDescription(summaryHeading->text() + QStringLiteral("　") +
                                                           lines.join(QStringLiteral("　")));
  namePrompt->hide();
  nameEdit->hide();
  chapterFrame->show();
}

void RegistrationWindow::onChapterClicked(int index) {
  if (index == kNeutralOption) return;
  const int c = index + 1;
  // A completed chapter is only named as completed; any other one starts.
  const bool completed = session_.record().completed(c);
  QString message;
  if (completed) {
    message = QStringLiteral("すでに第") + kDigits[index] + QStringLiteral("章は修了しています。");
    chapterOptions.select(kNeutralOption);
  } else {
    message = kChapterNames[index] + QStringLiteral("をスタートします。");
    session_.progress().chapterChosen(c);
  }
  if (!session_.showMessage(message)) return;
  // The chapter window lights its stars as it is set up.
  if (!completed) openChapter();
}

void RegistrationWindow::returnToChapterChoice() {
  quitButton->show();
  chapterOptions.select(kNeutralOption);
  show();
  showChapterChoice();
}

namespace {
// The chapter in play. The learner reaches openChapter only by choosing a
// chapter, so it is always set then; should it run with none chosen (0), it
// uses the first chapter's window, as Session has no window for chapter 0.
int chapterInPlay(const Session& session) {
  const int chapter = session.quizState().chapter;
  return chapter == 0 ? 1 : chapter;
}
}  // namespace

void RegistrationWindow::openChapter() {
  ChapterWindow* w = session_.chapterWindow(chapterInPlay(session_));
  w->questionBox->Cls();
  // The question file is read before the chapter window appears: a refused
  // file is reported over this window, and no half-set-up chapter is seen.
  if (!w->setUp()) {
    session_.setChapterInPlay(0);
    chapterOptions.select(kNeutralOption);
    return;
  }
  w->show();
  hide();
}

void RegistrationWindow::onQuitClicked() {
  // Progress the last save could not write is saved as the program ends.
  session_.endProgram();
}

void RegistrationWindow::closeHandling() {
  session_.playSound(QString());
  if (session_.unsavedProgress()) session_.saveBeforeEnding();
  session_.messageBox(QStringLiteral("コトバリオンを終了します。"), QStringLiteral("コトバリオン"));
  session_.endProgram();
}

void RegistrationWindow::closeEvent(QCloseEvent* event) {
  closeHandling();
  event->accept();
}

void RegistrationWindow::showChapterChoice() {
  if (!loadRecord()) return;
  summaryHeading->show();
  summaryLabel->show();
  chapterFrame->show();
  showSummary();
  chapterOptions[kNeutralOption]->setFocus();
}

void RegistrationWindow::layOut(std::int16_t twipsPerPixel) {
  setFixedSize(640, 400);
  layout::applyLayout(this, layout::Position::Centred, session_.platform());
  nameEdit->show();
  layout::setFontSize(nameEdit, twipsPerPixel, 12);
  namePrompt->show();
  summaryHeading->hide();
  quitButton->hide();
  show();
}
