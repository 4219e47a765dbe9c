#include "records/progress.h"

#include <algorithm>

#include "questions/quizrules.h"
#include "records/recordfile.h"

namespace progress {

using recordfile::countUp;

void Progress::newLearner() {
  record.streak = {};
  record.count = {};
  state.streak = 0;
}

void Progress::chapterChosen(int c) {
  // A completed chapter is not played again (the registration window says so).
  if (!isChapter(c) || record.completed(c)) return;
  state.chapter = c;
  // A hand-edited streak below zero counts as none.
  state.streak = std::max(record.streakOf(c), 0);
  record.workingCount = record.countOf(c);
  counted_ = false;
  decided_.reset();
}

void Progress::quizDecided(bool perfect) {
  if (!counted_) decided_ = perfect;
}

void Progress::quizEnded() {
  if (counted_) return;
  record.workingCount = countUp(record.workingCount);
  counted_ = true;
}

Progress::Outcome Progress::judged(bool perfect) {
  const int c = state.chapter;
  if (!isChapter(c) || record.completed(c)) return Outcome::None;
  counted_ = true;
  decided_.reset();
  record.countOf(c) = record.workingCount;
  if (!perfect) {
    record.streakOf(c) = 0;
    state.streak = 0;
    return Outcome::Lost;
  }
  state.streak = countUp(state.streak);
  if (state.streak >= quiz::kStreakToComplete) {
    record.streakOf(c) = quiz::kCompletedMark;
    state.streak = 0;
    return Outcome::Completed;
  }
  record.streakOf(c) = state.streak;
  return Outcome::Streak;
}

bool Progress::countLeftQuiz(int c) {
  if (!isChapter(c) || record.completed(c)) return false;
  if (!counted_) record.workingCount = countUp(record.workingCount);
  counted_ = true;
  record.countOf(c) = record.workingCount;
  return true;
}

void Progress::quitFromMenu(int c) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished) {
    record.streakOf(c) = 0;
    state.streak = 0;
  }
}

void Progress::chapterWindowClosed(int c, int question) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished && question < quiz::kQuestionsPerQuiz) {
    record.streakOf(c) = 0;
    state.streak = 0;
  }
}

void Progress::messageWindowClosed() {
  if (decided_) {
    const bool perfect = *decided_;
    quizEnded();
    judged(perfect);
    return;
  }
  countLeftQuiz(state.chapter);
}

}  // namespace progress
