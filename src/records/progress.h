#pragma once

#include <optional>

#include "records/learnerrecord.h"

// The rules of a learner's progress: what each event of play does to the
// learner's record (streaks and counts per chapter, the working count) and to
// the quiz in play (chapter, question, streak).
//
// Rules every event keeps:
// - a completed chapter never changes again, neither its mark nor its
//   count (the number printed on the certificate);
// - a quiz is counted once: when it ends, or when the learner leaves it
//   before it has ended;
// - counts and streaks stop at recordfile::kCountCeiling, so a hand-edited
//   record never makes them overflow.
// The windows call one function per event and do no arithmetic on the
// record themselves.
namespace progress {

class Progress {
 public:
  // The rules change the record and the quiz in play they are given, which
  // their owner keeps.
  Progress(LearnerRecord& learnerRecord, QuizState& quizState) : record_(learnerRecord), state_(quizState) {}

  // A learner without a record: every chapter's streak and count, and the
  // streak in play, at 0.
  void newLearner();
  // Chapter c (1..3) chosen at the registration window: it is the chapter in
  // play, its streak the streak in play and its count the working count; a
  // quiz is about to start and is not counted yet. A completed chapter
  // changes nothing.
  void chapterChosen(int c);
  // The answer just given decides the quiz in play: a wrong answer makes it
  // imperfect, the tenth right answer perfect. Its feedback is shown next;
  // the judgement follows once the learner has dismissed it.
  void quizDecided(bool perfect);
  // The quiz in play has ended with its last answer: one more quiz in the
  // working count. The judgement follows.
  void quizEnded();

  enum class Outcome { None, Streak, Completed, Lost };
  // The judgement of the quiz just ended in the chapter in play. A perfect
  // quiz raises the streak (the third in a row completes the chapter: the completed mark,
  // streak in play back to 0); any other quiz sets the streak to 0. Either
  // way the chapter's count takes the working count. A streak in play that
  // a hand-edited record put above three completes as well. No chapter in
  // play: nothing changes (None).
  Outcome judged(bool perfect);

  // The learner ends the program from chapter c's menu 終了: the quiz in
  // play is counted and the streak broken.
  void quitFromMenu(int c);
  // The learner closes chapter c's window with `question` on
  // screen: the quiz in play is counted, and the streak broken unless the
  // tenth question is on screen.
  void chapterWindowClosed(int c, int question);
  // The learner closes the message window: a quiz the last answer has
  // decided is judged as that answer decided it (a wrong answer breaks the
  // streak, the tenth right one raises it and may complete the chapter);
  // any other quiz of the chapter in play that is about to start or in
  // progress, and not yet counted, is counted and the streak stays. After
  // the judgement nothing changes.
  void messageWindowClosed();

  // True once the quiz in play has been counted.
  bool counted() const { return counted_; }

 private:
  LearnerRecord& record_;
  QuizState& state_;
  static bool isChapter(int c) { return c >= 1 && c <= quiz::kChapters; }
  // Counts the quiz in play of chapter c once, into the working count and
  // the chapter's count. False (nothing changes) for a completed chapter.
  bool countLeftQuiz(int c);
  bool counted_ = false;
  // Set by quizDecided until the judgement: the quiz was perfect, or not.
  std::optional<bool> decided_;
};

}  // namespace progress
