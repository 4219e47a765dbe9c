#pragma once

#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "chapter3/idiomsbank.h"
#include "windows/chapterwindow.h"

class QGroupBox;

// The chapter 3 quiz window: general idioms, eight idiom phrases to choose
// from with the meaning as a hint.
class IdiomsWindow : public ChapterWindow {
  Q_OBJECT
 public:
  explicit IdiomsWindow(Session& session);

  QLabel* sentenceLabel;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 8;

  // Window fields: the bank with the quiz's questions and options, and the
  // clicks since the question on screen was dealt.
  IdiomsBank bank;
  std::int16_t answersGiven = 4;

  bool setUp() override { return loadChapter(); }
  int rightOption() const override { return bank.rightOption; }
  int answerCount() const override { return kNeutralOption; }
  // Loads the bank and lights the stars, then sets up a quiz; false when the
  // question file was refused (the learner has been told why).
  bool loadChapter();
  void prepareQuiz();
  void onStartClicked();
  void nextQuestion();
  void dealQuestion();
  void onOptionClicked(int index);
  void onRightAnswer();
  void onWrongAnswer();
  void endQuiz();

 private:
  void showScore();
};
