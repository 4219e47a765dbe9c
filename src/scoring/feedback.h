#pragma once

#include <QString>
#include <functional>

// The lines that meet an answer. Each pick draws a fresh uniform value from
// the generator; the decision rows are tested in order.
namespace feedback {

struct Situation {
  int question = 0;      // number of the question just answered, 1..10
  int score = 0;         // correct answers so far (counting this one after a correct answer)
  int streak = 0;        // consecutive perfect quizzes of the chapter before this quiz
  int quizzesTaken = 0;  // quizzes already taken in the chapter
};

using Random = std::function<float()>;

// The whole text after a correct answer: "正解です。" CR LF and at most one
// line of encouragement (none after question 10).
QString right(const Situation& s, const Random& rnd);

// The line of consolation appended after a wrong answer.
QString wrong(const Situation& s, const Random& rnd);

}  // namespace feedback
