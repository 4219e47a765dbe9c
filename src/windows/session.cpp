#include "windows/session.h"

#include <QDir>
#include <QGroupBox>

#include "layout/layout.h"
#include "layout/widgets.h"
#include "questions/quizrules.h"
#include "records/recordfile.h"
#include "scoring/feedback.h"
#include "scoring/judgement.h"
#include "windows/bodyidiomswindow.h"
#include "windows/chapterwindow.h"
#include "windows/homonymswindow.h"
#include "windows/idiomswindow.h"
#include "windows/messagewindow.h"
#include "windows/placer.h"
#include "windows/registrationwindow.h"

Session::Session(Platform& platform) : platform_(platform) {}

Session::~Session() {
  delete registrationWindow;
  delete homonymsWindow;
  delete bodyIdiomsWindow;
  delete idiomsWindow;
  delete messageWindow;
}

void Session::start() {
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
  appDir_ = platform_.applicationDir();
  ui::guardKeyRepeats();
  // The registration window is built, put into its name-entry state, laid
  // out and shown first; the four hidden windows are built while the
  // learner already sees it. Nothing is drawn in between, and neither the
  // name-entry state nor the other layouts touch what the registration layout sets, so the
  // learner sees the same window.
  readTwipsPerPixel();
  registrationWindow = new RegistrationWindow(*this);
  registrationWindow->showNameEntry();
  registrationWindow->layOut(twipsPerPixelX_);
  platform_.flushWindows();
  createWindows();
  homonymsWindow->layOut(twipsPerPixelX_);
  bodyIdiomsWindow->layOut(twipsPerPixelX_);
  idiomsWindow->layOut(twipsPerPixelX_);
  messageWindow->layOut();
}

recordfile::LoadResult Session::loadRecord(const QString& typedName, QString* problem) {
  record_.streak = {};
  record_.count = {};
  userName_ = recordfile::learnerName(appDir_, typedName);
  return recordfile::load(appDir_, userName_, record_, problem);
}

void Session::refreshAppDir() {
  appDir_ = platform_.applicationDir();
  if (!appDir_.endsWith(u'/')) appDir_ += u'/';
}

void Session::playSound(const QString& name) {
  // The platform plays in the background and never blocks.
  platform_.playSound(appDir_ + name);
}

bool Session::trySave(QString* failure) {
  QString error;
  unsavedProgress_ = !recordfile::save(appDir_, userName_, record_, &error);
  if (unsavedProgress_)
    *failure = QStringLiteral("「") + userName_ + QStringLiteral("」さんの成績を保存できませんでした。\n") +
               QStringLiteral("保存先：") + QDir::toNativeSeparators(recordfile::path(appDir_, userName_)) +
               QStringLiteral("\n") + error;
  return !unsavedProgress_;
}

bool Session::saveRecord() {
  QString failure;
  if (trySave(&failure)) return true;
  messageBox(failure + QStringLiteral("\n今回の成績は消さずに覚えておき、次に保存するときにもう一度保存します。"),
             QStringLiteral("コトバリオン"));
  return false;
}

void Session::saveBeforeEnding() {
  const QString caption = QStringLiteral("コトバリオン");
  for (QString failure; !trySave(&failure);) {
    if (!platform_.question(failure + QStringLiteral("\n空きを作るなどしてから、もう一度保存できます。"), caption,
                            QStringLiteral("もう一度保存する"), QStringLiteral("保存せずに終了する")))
      break;
  }
  if (!unsavedProgress_) return;
  QString progressText = recordSummary(record_);
  progressText.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  messageBox(QStringLiteral("「") + userName_ + QStringLiteral("」さんの次の成績は保存されていません。") +
                 QStringLiteral("先生に伝えてください。\n\n") + progressText + QStringLiteral("\n記録ファイル「") +
                 userName_ + QStringLiteral(".dat」の内容：") +
                 QString::fromLatin1(recordfile::encode(record_).trimmed()),
             caption);
}

bool Session::showModal(QWidget* window) {
  platform_.showModal(window);
  return !platform_.hasEnded();
}

bool Session::showMessage(const QString& text) {
  messageWindow->showText(text);
  return showModal(messageWindow);
}

bool Session::messageBox(const QString& text, const QString& caption) {
  platform_.messageBox(text, caption);
  return !platform_.hasEnded();
}

void Session::endProgram() {
  if (unsavedProgress_ && !platform_.hasEnded()) saveBeforeEnding();
  platform_.endProgram();
}

QString Session::composeRightFeedback() {
  playSound(QStringLiteral("seikai.wav"));
  return feedback::right({quizState_.question, score_, quizState_.streak, record_.workingCount},
                         [this] { return platform_.rnd(); });
}

QString Session::composeWrongFeedback() {
  playSound(QStringLiteral("miss.wav"));
  return feedback::wrong({quizState_.question, score_, quizState_.streak, record_.workingCount},
                         [this] { return platform_.rnd(); });
}

ChapterWindow* Session::chapterWindow(int c) const {
  switch (c) {
    case 1:
      return bodyIdiomsWindow;
    case 2:
      return homonymsWindow;
    case 3:
      return idiomsWindow;
    default:
      return nullptr;
  }
}

void Session::judgeQuiz() {
  const int c = quizState_.chapter;
  ChapterWindow* window = chapterWindow(c);
  // The score_ is always 0..10, so the grade is always known.
  QString message = judgement::grade(score_, quizState_.streak);
  const progress::Progress::Outcome outcome = progress_.judged(score_ == quiz::kQuestionsPerQuiz);
  if (score_ == quiz::kQuestionsPerQuiz) {
    const int streak = outcome == progress::Progress::Outcome::Completed ? quiz::kStreakToComplete : quizState_.streak;
    message += judgement::perfectSuffix(streak);
    if (window) {
      for (int i = 0; i < streak && i < quiz::kStreakToComplete; ++i) window->setStar(i, true);
      window->hide();
      if (outcome == progress::Progress::Outcome::Completed) message = judgement::completion(c);
      if (record_.allCompleted()) {
        messageWindow->showCertificate(
            judgement::certificate(userName_, record_.count[0], record_.count[1], record_.count[2]),
            layout::fontSize(twipsPerPixelX_, 22), twipsPerPixelX_);
        certificateAwarded_ = true;
      }
    }
  } else if (window) {
    window->hide();
  }
  saveRecord();
  if (certificateAwarded_) return;
  if (!showMessage(message)) return;
  registrationWindow->returnToChapterChoice();
}

// --- layout --------------------------------------------------------------

void Session::readTwipsPerPixel() {
  const ScreenMetrics m = platform_.screenMetrics();
  twipsPerPixelX_ = layout::roundTwipsPerPixel(m.twipsPerPixelX);
}

void Session::createWindows() {
  if (!registrationWindow) registrationWindow = new RegistrationWindow(*this);
  if (!homonymsWindow) homonymsWindow = new HomonymsWindow(*this);
  if (!bodyIdiomsWindow) bodyIdiomsWindow = new BodyIdiomsWindow(*this);
  if (!idiomsWindow) idiomsWindow = new IdiomsWindow(*this);
  if (!messageWindow) messageWindow = new MessageWindow(*this);
}
