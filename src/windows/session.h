#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "questions/quizrules.h"
#include "records/progress.h"
#include "records/recordfile.h"
#include "startup/platform.h"

class ChapterWindow;
class HomonymsWindow;
class RegistrationWindow;
class BodyIdiomsWindow;
class IdiomsWindow;
class MessageWindow;
class QWidget;

// The program's session: its entry, the state shared by every window (the
// learner's record, the quiz in play, the progress rules) and the shared
// routines. Windows are created once at the start, each lays itself out
// for the screen, and they are only hidden afterwards.
class Session {
 public:
  explicit Session(Platform& platform);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Platform& platform() { return platform_; }

  // --- the learner and the quiz in play ---------------------------------
  // The program's folder: as the platform reports it at the start, then
  // with one trailing separator from the first refreshAppDir (before a
  // record or a chapter's files are read).
  const QString& appDir() const { return appDir_; }
  // The learner's name as the record file is named.
  const QString& userName() const { return userName_; }
  const LearnerRecord& record() const { return record_; }
  const QuizState& quizState() const { return quizState_; }
  // Right answers in the quiz in play.
  int score() const { return score_; }
  // The rules of progress; each event of play is one call.
  progress::Progress& progress() { return progress_; }

  // Events of the quiz in play.
  // The chapter whose window is in play (0: none).
  void setChapterInPlay(int chapter) { quizState_.chapter = chapter; }
  // A quiz is set up: no question on screen yet, no right answer.
  void newQuiz() {
    quizState_.question = 0;
    score_ = 0;
  }
  // The next question is dealt; its number (1..10).
  int advanceQuestion() { return ++quizState_.question; }
  // A right answer: one more in the score; the tenth decides the quiz as
  // perfect. A wrong answer decides it as not perfect. Either way the
  // judgement follows once the feedback is dismissed.
  void answeredRight() {
    if (++score_ >= quiz::kQuestionsPerQuiz) progress_.quizDecided(true);
  }
  void answeredWrong() { progress_.quizDecided(false); }
  // The typed name becomes the learner's, and the learner's record file is
  // read into a record that starts empty.
  recordfile::LoadResult loadRecord(const QString& typedName, QString* problem);

  // --- windows (created at the start) -----------------------------------
  RegistrationWindow* registrationWindow = nullptr;
  HomonymsWindow* homonymsWindow = nullptr;
  BodyIdiomsWindow* bodyIdiomsWindow = nullptr;
  IdiomsWindow* idiomsWindow = nullptr;
  MessageWindow* messageWindow = nullptr;

  // --- routines ---------------------------------------------------------
  // Start-up: seed, single-copy guard, folder, layout, registration.
  void start();
  // Plays appDir + name in the background (no name: the default sound).
  void playSound(const QString& name);
  // Writes record slots 0..5 to userName's file. Reports a failure to the
  // learner and returns false; the program goes on, and the progress stays
  // in memory to be saved again by the next save.
  bool saveRecord();
  // True while the last save failed: the disk does not hold the progress in
  // memory, so the record is not read again until a save succeeds.
  bool unsavedProgress() const { return unsavedProgress_; }
  // Saves the record before the program ends. While the save fails the
  // learner may try again (after freeing space, say) or end; ending says
  // plainly which progress was not saved, so a teacher can note it.
  void saveBeforeEnding();
  // A right answer: the right sound plays, and the encouragement to show
  // is returned.
  QString composeRightFeedback();
  // A wrong answer: the wrong sound plays, and the lines that follow the
  // chapter's own correction are returned.
  QString composeWrongFeedback();
  // The quiz in play has ended: the progress rules judge it, the record is
  // saved, and the grade is shown before the registration window returns
  // (or the certificate, once all three chapters are completed).
  void judgeQuiz();
  // True once the certificate has been awarded: the program only ends now.
  bool certificateAwarded() const { return certificateAwarded_; }

  // Sets appDir to the program's folder with exactly one trailing separator.
  void refreshAppDir();
  // Shows a window modally; false when the program ended meanwhile.
  bool showModal(QWidget* window);
  // Puts text into the message window and shows it modally; false when the program
  // ended meanwhile (the learner closed the message window).
  bool showMessage(const QString& text);
  // A modal message box; false when the program ended meanwhile.
  bool messageBox(const QString& text, const QString& caption);
  // Ends the program; progress a failed save kept is saved first.
  void endProgram();
  // The window of chapter c (1..3), or none.
  ChapterWindow* chapterWindow(int c) const;
  bool ended() const { return platform_.hasEnded(); }

 private:
  // Saves the record; on failure false, with what went wrong (whose
  // record, where, why) in failure.
  bool trySave(QString* failure);
  void createWindows();
  // twipsPerPixelX from the screen, which every window's layout uses.
  void readTwipsPerPixel();
  Platform& platform_;
  QString appDir_;
  QString userName_;
  QuizState quizState_;
  LearnerRecord record_;
  progress::Progress progress_{record_, quizState_};
  int score_ = 0;
  std::int16_t twipsPerPixelX_ = 15;
  bool unsavedProgress_ = false;
  bool certificateAwarded_ = false;
};
