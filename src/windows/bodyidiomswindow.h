#pragma once

#include "chapter1/bodyidiomsbank.h"
#include "windows/chapterwindow.h"

// The chapter 1 quiz window: idioms about the body, answered on twelve
// body-part buttons.
class BodyIdiomsWindow : public ChapterWindowOf<BodyIdiomsBank> {
  Q_OBJECT
 public:
  explicit BodyIdiomsWindow(Session& session);

  // The option selected while no answer is given, after the words.
  static constexpr int kNeutralOption = BodyIdiomsBank::kWords;

  void layOut(std::int16_t twipsPerPixel) override;
  void prepareQuiz() override;
  void clearAnsweredQuestion() override;
  void dealQuestion() override;
  QString correction() const override;

 protected:
  void afterWrongAnswer() override { ui::caption(scoreLabel, QString()); }
};
