#pragma once

#include "chapter3/idiomsbank.h"
#include "windows/chapterwindow.h"

// The chapter 3 quiz window: general idioms, eight idiom phrases to choose
// from with the meaning as a hint.
class IdiomsWindow : public ChapterWindow {
  Q_OBJECT
 public:
  explicit IdiomsWindow(Session& session);

  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 8;

  // The bank with the quiz's questions and options.
  IdiomsBank bank;

  QuestionBank& questionBank() override { return bank; }
  void prepareQuiz() override;
  void clearAnsweredQuestion() override;
  void dealQuestion() override;
  QString correction() const override;
};
