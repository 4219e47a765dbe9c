#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <vector>

#include "chapter1/bodyidiomsbank.h"
#include "windows/chapterwindow.h"

class QGroupBox;

// The chapter 1 quiz window: idioms about the body, answered on twelve
// body-part buttons.
class BodyIdiomsWindow : public ChapterWindow {
  Q_OBJECT
 public:
  explicit BodyIdiomsWindow(Session& session);

  QLabel* sentenceLabel;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 12;

  // The bank with its marks.
  BodyIdiomsBank bank;

  QuestionBank& questionBank() override { return bank; }
  int rightOption() const override { return bank.rightOption; }
  int answerCount() const override { return kNeutralOption; }
  void prepareQuiz() override;
  void clearAnsweredQuestion() override;
  void dealQuestion() override;
  QString correction() const override;

 protected:
  void afterWrongAnswer() override { ui::caption(scoreLabel, QString()); }
};
