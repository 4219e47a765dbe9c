#pragma once

// The numbers every part of a quiz agrees on.
namespace quiz {

// Questions in one quiz; a quiz with every one of them right is perfect.
inline constexpr int kQuestionsPerQuiz = 10;
// Points a right answer adds to the score shown (ten right make 100).
inline constexpr int kPointsPerAnswer = 10;
// Questions 1..kLevelOneQuestions are drawn from level 1 of a question file,
// the rest of the quiz from level 2.
inline constexpr int kLevelOneQuestions = 6;
// Perfect quizzes in a row that complete a chapter.
inline constexpr int kStreakToComplete = 3;
// The number a completed chapter's streak holds in the learner's record.
inline constexpr int kCompletedMark = 999;
// Chapters of the course.
inline constexpr int kChapters = 3;

}  // namespace quiz
