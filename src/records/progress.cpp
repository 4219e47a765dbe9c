#include "records/progress.h"

#include <algorithm>

#include "questions/quizrules.h"
#include "records/recordfile.h"

namespace progress {

using recordfile::countUp;

void Progress::newLearner() {
  for (std::size_t i = 0; i < 6; ++i) Kiroku[i] = 0;
  Genzai[2] = 0;
}

void Progress::chapterChosen(int c) {
  // A completed chapter is not played again (the registration window says so).
  if (!isChapter(c) || streakSlot(c) == quiz::kCompletedMark) return;
  Genzai[0] = c;
  // A hand-edited streak below zero counts as none.
  Genzai[2] = std::max(streakSlot(c), 0);
  Kiroku[6] = countSlot(c);
  counted_ = false;
  decided_.reset();
}

void Progress::quizDecided(bool perfect) {
  if (!counted_) decided_ = perfect;
}

void Progress::quizEnded() {
  if (counted_) return;
  Kiroku[6] = countUp(Kiroku[6]);
  counted_ = true;
}

Progress::Outcome Progress::judged(bool perfect) {
  const int c = Genzai[0];
  if (!isChapter(c) || streakSlot(c) == quiz::kCompletedMark) return Outcome::None;
  counted_ = true;
  decided_.reset();
  countSlot(c) = Kiroku[6];
  if (!perfect) {
    streakSlot(c) = 0;
    Genzai[2] = 0;
    return Outcome::Lost;
  }
  Genzai[2] = countUp(Genzai[2]);
  if (Genzai[2] >= quiz::kStreakToComplete) {
    streakSlot(c) = quiz::kCompletedMark;
    Genzai[2] = 0;
    return Outcome::Completed;
  }
  streakSlot(c) = Genzai[2];
  return Outcome::Streak;
}

bool Progress::allCompleted() const { return quiz::allCompleted(Kiroku); }

bool Progress::countLeftQuiz(int c) {
  if (!isChapter(c) || streakSlot(c) == quiz::kCompletedMark) return false;
  if (!counted_) Kiroku[6] = countUp(Kiroku[6]);
  counted_ = true;
  countSlot(c) = Kiroku[6];
  return true;
}

void Progress::quitFromMenu(int c) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished) {
    streakSlot(c) = 0;
    Genzai[2] = 0;
  }
}

void Progress::chapterWindowClosed(int c, int question) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished && question < quiz::kQuestionsPerQuiz) {
    streakSlot(c) = 0;
    Genzai[2] = 0;
  }
}

void Progress::messageWindowClosed() {
  if (decided_) {
    const bool perfect = *decided_;
    quizEnded();
    judged(perfect);
    return;
  }
  countLeftQuiz(Genzai[0]);
}

}  // namespace progress
