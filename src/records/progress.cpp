#include "records/progress.h"

#include <algorithm>

#include "questions/quizrules.h"
#include "records/recordfile.h"

namespace progress {

using recordfile::countUp;

void Progress::newLearner() {
  record_.streak = {};
  record_.count = {};
  state_.streak = 0;
}

void Progress::chapterChosen(int c) {
  // A completed chapter is not played again (the registration window says so).
  if (!isChapter(c) || record_.completed(c)) return;
  state_.chapter = c;
  // A hand-edited streak below zero counts as none.
  state_.streak = std::max(record_.streakOf(c), 0);
  record_.workingCount = record_.countOf(c);
  counted_ = false;
  decided_.reset();
}

void Progress::quizDecided(bool perfect) {
  if (!counted_) decided_ = perfect;
}

void Progress::quizEnded() {
  if (counted_) return;
  record_.workingCount = countUp(record_.workingCount);
  counted_ = true;
}

Progress::Outcome Progress::judged(bool perfect) {
  const int c = state_.chapter;
  if (!isChapter(c) || record_.completed(c)) return Outcome::None;
  counted_ = true;
  decided_.reset();
  record_.countOf(c) = record_.workingCount;
  if (!perfect) {
    record_.streakOf(c) = 0;
    state_.streak = 0;
    return Outcome::Lost;
  }
  state_.streak = countUp(state_.streak);
  if (state_.streak >= quiz::kStreakToComplete) {
    record_.streakOf(c) = quiz::kCompletedMark;
    state_.streak = 0;
    return Outcome::Completed;
  }
  record_.streakOf(c) = state_.streak;
  return Outcome::Streak;
}

bool Progress::countLeftQuiz(int c) {
  if (!isChapter(c) || record_.completed(c)) return false;
  if (!counted_) record_.workingCount = countUp(record_.workingCount);
  counted_ = true;
  record_.countOf(c) = record_.workingCount;
  return true;
}

void Progress::quitFromMenu(int c) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished) {
    record_.streakOf(c) = 0;
    state_.streak = 0;
  }
}

void Progress::chapterWindowClosed(int c, int question) {
  const bool unfinished = !counted_;
  if (countLeftQuiz(c) && unfinished && question < quiz::kQuestionsPerQuiz) {
    record_.streakOf(c) = 0;
    state_.streak = 0;
  }
}

void Progress::messageWindowClosed() {
  if (decided_) {
    const bool perfect = *decided_;
    quizEnded();
    judged(perfect);
    return;
  }
  countLeftQuiz(state_.chapter);
}

}  // namespace progress
