// The progress rules: every event of play and what it leaves in the record.
#include <gtest/gtest.h>

#include <QDir>
#include <climits>

#include "records/progress.h"
#include "records/recordfile.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

enum class Step { End, Perfect, Imperfect, Menu, CloseAt0, CloseAt9, CloseAt10, Message, Wrong, TenthRight };

struct Row {
  const char* what;
  QByteArray before;  // the record as read at registration
  int chapter;        // chosen at the registration window; 0: none
  std::vector<Step> steps;
  QByteArray after;  // the record as saved
  int streakInPlay;  // the streak in play afterwards
};

void run(progress::Progress& p, Step step, int chapter) {
  switch (step) {
    case Step::End:
      p.quizEnded();
      break;
    case Step::Perfect:
    case Step::Imperfect:
      p.judged(step == Step::Perfect);
      break;
    case Step::Menu:
      p.quitFromMenu(chapter);
      break;
    case Step::CloseAt0:
    case Step::CloseAt9:
    case Step::CloseAt10:
      p.chapterWindowClosed(chapter, step == Step::CloseAt0 ? 0 : step == Step::CloseAt9 ? 9 : 10);
      break;
    case Step::Message:
      p.messageWindowClosed();
      break;
    case Step::Wrong:
    case Step::TenthRight:
      p.quizDecided(step == Step::TenthRight);
      break;
  }
}

}  // namespace

TEST(ProgressRules, EveryEventFromEveryState) {
  using S = Step;
  const QByteArray top = QByteArray::number(INT_MAX);
  const std::vector<Row> rows = {
      // The end of a quiz and its judgement.
      {"first quiz, not perfect", "0,0,0,0,0,0", 2, {S::End, S::Imperfect}, "0,0,0,1,0,0", 0},
      {"first perfect quiz", "0,0,0,0,0,0", 1, {S::End, S::Perfect}, "1,1,0,0,0,0", 1},
      {"second perfect quiz", "1,4,0,0,0,0", 1, {S::End, S::Perfect}, "2,5,0,0,0,0", 2},
      {"third perfect quiz completes", "2,5,0,0,0,0", 1, {S::End, S::Perfect}, "999,6,0,0,0,0", 0},
      {"a miss loses the streak", "0,0,0,0,2,5", 3, {S::End, S::Imperfect}, "0,0,0,0,0,6", 0},
      {"the last chapter completes", "999,3,999,4,2,3", 3, {S::End, S::Perfect}, "999,3,999,4,999,4", 0},
      // Leaving a quiz from the chapter window.
      {"menu before the first question", "2,4,0,0,0,0", 1, {S::Menu}, "0,5,0,0,0,0", 0},
      {"close box on the instruction screen", "0,0,0,0,2,4", 3, {S::CloseAt0}, "0,0,0,0,0,5", 0},
      {"close box at question 9", "0,0,2,4,0,0", 2, {S::CloseAt9}, "0,0,0,5,0,0", 0},
      {"close box at question 10 keeps the streak", "0,0,2,4,0,0", 2, {S::CloseAt10}, "0,0,2,5,0,0", 2},
      // Closing the message window.
      {"message closed before or during a quiz", "1,3,2,4,1,5", 3, {S::Message}, "1,3,2,4,1,6", 1},
      {"message closed twice counts once", "1,3,2,4,1,5", 3, {S::Message, S::Message}, "1,3,2,4,1,6", 1},
      {"grade message closed", "0,0,0,3,0,7", 3, {S::End, S::Imperfect, S::Message}, "0,0,0,3,0,8", 0},
      {"certificate closed", "999,3,999,4,2,3", 3, {S::End, S::Perfect, S::Message}, "999,3,999,4,999,4", 0},
      {"message closed with no chapter in play", "1,3,0,0,0,0", 0, {S::Message}, "1,3,0,0,0,0", 0},
      // Closing the feedback of the answer that decided the quiz: judged as decided.
      {"wrong answer's feedback closed", "2,5,0,0,0,0", 1, {S::Wrong, S::Message}, "0,6,0,0,0,0", 0},
      {"tenth right answer's feedback closed", "2,4,0,0,0,0", 1, {S::TenthRight, S::Message}, "999,5,0,0,0,0", 0},
      {"judged quiz: its feedback decides nothing more",
       "1,4,0,0,0,0",
       1,
       {S::Wrong, S::End, S::Imperfect, S::Message},
       "0,5,0,0,0,0",
       0},
      // Hand-edited streaks: above three completes, below zero counts as none.
      {"streak of 3 completes", "3,5,0,0,0,0", 1, {S::End, S::Perfect}, "999,6,0,0,0,0", 0},
      {"negative streak", "-5,5,0,0,0,0", 1, {S::End, S::Perfect}, "1,6,0,0,0,0", 1},
      // A completed chapter never changes.
      {"menu in a completed chapter", "999,3,0,0,0,0", 1, {S::Menu}, "999,3,0,0,0,0", 0},
      {"close box in a completed chapter", "999,3,0,0,0,0", 1, {S::CloseAt9}, "999,3,0,0,0,0", 0},
      {"message in a completed chapter", "999,3,0,0,0,0", 1, {S::Message}, "999,3,0,0,0,0", 0},
      {"no chapter in play judges nothing", "1,3,0,0,0,0", 0, {S::End, S::Perfect}, "1,3,0,0,0,0", 0},
      // Counts and streaks at their ceiling stay there.
      {"count at the ceiling, quiz", "0," + top + ",0,0,0,0", 1, {S::End, S::Imperfect}, "0," + top + ",0,0,0,0", 0},
      {"count at the ceiling, menu", "0,0,0," + top + ",0,0", 2, {S::Menu}, "0,0,0," + top + ",0,0", 0},
      {"count at the ceiling, close", "0,0,0," + top + ",0,0", 2, {S::CloseAt9}, "0,0,0," + top + ",0,0", 0},
      {"count at the ceiling, message", "0,0,0,0,0," + top, 3, {S::Message}, "0,0,0,0,0," + top, 0},
      {"streak at the ceiling completes", top + ",0,0,0,0,0", 1, {S::End, S::Perfect}, "999,1,0,0,0,0", 0},
  };
  for (const Row& row : rows) {
    LearnerRecord learner{};
    QuizState state;
    ASSERT_EQ(recordfile::decode(row.before, learner), 6) << row.what;
    progress::Progress p(learner, state);
    p.chapterChosen(row.chapter);
    for (Step step : row.steps) run(p, step, row.chapter);
    EXPECT_EQ(recordfile::encode(learner), row.after + "\r\n") << row.what;
    EXPECT_EQ(state.streak, row.streakInPlay) << row.what;
  }
}

// The message window after a judged quiz: closing the grade message keeps
// the count the judgement saved (it used to count the quiz again); closing
// the chapter-start message counts the quiz about to start; closing the
// feedback of a wrong answer judges the quiz it lost.
TEST(ProgressRules, ClosingTheMessageWindowCountsOnlyAQuizNotYetJudged) {
  enum class Closed { StartMessage, Grade, WrongFeedback };
  for (Closed closed : {Closed::StartMessage, Closed::Grade, Closed::WrongFeedback}) {
    TestApp app;
    app.registerName(QStringLiteral("ゆき"), "1,0,0,3,0,7\r\n");
    const auto close = [](QWidget* w) { w->close(); };
    if (closed == Closed::StartMessage) {
      app.fake.dismissals.push_back(close);
      app.choose(3);
      EXPECT_EQ(app.read(QStringLiteral("ゆき.dat")), QByteArray("1,0,0,3,0,8\r\n"));
    } else {
      app.choose(1);
      app.start();
      if (closed == Closed::Grade) app.fake.dismissals.push_back([](QWidget* w) { w->hide(); });
      app.fake.dismissals.push_back(close);
      app.answer(false);
      EXPECT_EQ(app.read(QStringLiteral("ゆき.dat")), QByteArray("0,1,0,3,0,7\r\n"));
    }
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    EXPECT_EQ(app.fake.boxes[0].text, QStringLiteral("コトバリオンを終了します。"));
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオンVer.1.3"));
    EXPECT_EQ(app.fake.sounds.back(), app.sh->appDir());  // the default sound
    EXPECT_EQ(app.fake.endCount, 1);
  }
}

// A save that fails after the third perfect quiz in a row: the learner has
// been congratulated, the registration window shows the completed chapter
// (not the old streak from the disk), and the next save that succeeds
// writes it.
TEST(ProgressRules, AFailedSaveKeepsTheProgressForTheNextSave) {
  TestApp app;
  app.enter(QStringLiteral("ゆい"), 1, "2,5,0,0,0,0\r\n");
  app.start();
  app.setFolderWritable(false);
  for (int q = 1; q <= 10; ++q) app.answer(true);
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_TRUE(holdsAll(app.fake.boxes[0].text, {QStringLiteral("保存できませんでした"),
                                                QStringLiteral("次に保存するときにもう一度保存します")}));
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("2,5,0,0,0,0\r\n"));
  EXPECT_TRUE(app.sh->registrationWindow->summary().startsWith(QStringLiteral("第１章　 修了")))
      << app.sh->registrationWindow->summary().toStdString();
  // The folder is back; the next save (leaving chapter 2) writes everything.
  app.setFolderWritable(true);
  app.choose(2);
  app.sh->homonymsWindow->quitAction->trigger();
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("999,6,0,1,0,0\r\n"));
  EXPECT_FALSE(app.sh->unsavedProgress());
}

// The certificate's save fails. Before the program ends the save is tried
// again: it succeeds once the folder is back; while it keeps failing the
// learner may retry or end, and ending says what was not saved.
TEST(ProgressRules, ProgressNotYetSavedIsSavedBeforeTheProgramEnds) {
  for (bool folderBack : {true, false}) {
    TestApp app;
    app.enter(QStringLiteral("ゆい"), 3, "999,3,999,4,2,5\r\n");
    app.start();
    app.setFolderWritable(false);
    for (int q = 1; q <= 10; ++q) app.answer(true);
    ASSERT_EQ(app.fake.boxes.size(), 1u);
    ASSERT_TRUE(app.sh->messageWindow->certificateButton->isVisible());
    if (folderBack)
      app.setFolderWritable(true);
    else
      app.fake.answers = {true};  // try again once, then end
    app.sh->messageWindow->certificateButton->click();
    EXPECT_EQ(app.fake.endCount, 1);
    if (folderBack) {
      EXPECT_EQ(app.fake.boxes.size(), 1u);
      EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("999,3,999,4,999,6\r\n"));
      continue;
    }
    ASSERT_EQ(app.fake.boxes.size(), 4u);
    EXPECT_TRUE(app.fake.boxes[2].text.contains(QStringLiteral("保存できませんでした")));
    EXPECT_TRUE(
        holdsAll(app.fake.boxes[3].text, {QStringLiteral("保存されていません"), QStringLiteral("第３章　 修了")}));
    EXPECT_TRUE(app.fake.boxes[3].text.endsWith(QStringLiteral("「ゆい.dat」の内容：999,3,999,4,999,6")));
    EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("999,3,999,4,2,5\r\n"));
  }
}
