#pragma once

#include <array>
#include <cstddef>

#include "questions/quizrules.h"

// What the program keeps of one learner: per chapter (index chapter - 1) the
// streak of perfect quizzes in a row, or quiz::kCompletedMark once the chapter
// is completed, and the number of quizzes counted; and, while a chapter is in
// play, its working count. The record file saves streaks and counts only.
struct LearnerRecord {
  std::array<int, quiz::kChapters> streak{};
  std::array<int, quiz::kChapters> count{};
  // The quiz count of the chapter in play, counted up as its quizzes end; it
  // becomes the chapter's count when a quiz is judged or left.
  int workingCount = 0;

  int& streakOf(int chapter) { return streak[static_cast<std::size_t>(chapter - 1)]; }
  int& countOf(int chapter) { return count[static_cast<std::size_t>(chapter - 1)]; }
  bool completed(int chapter) const { return streak[static_cast<std::size_t>(chapter - 1)] == quiz::kCompletedMark; }
  // Every chapter completed: the certificate is earned.
  bool allCompleted() const {
    for (int c = 1; c <= quiz::kChapters; ++c)
      if (!completed(c)) return false;
    return true;
  }
  bool operator==(const LearnerRecord&) const = default;
};

// The quiz in play.
struct QuizState {
  int chapter = 0;   // 1..3; 0 while none is chosen
  int question = 0;  // the question on screen, 1..10; 0 before the first
  int streak = 0;    // the chapter's streak as the quiz began, raised by a perfect quiz
  bool operator==(const QuizState&) const = default;
};
