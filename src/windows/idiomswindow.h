#pragma once

#include "chapter3/idiomsbank.h"
#include "windows/chapterwindow.h"

// The chapter 3 quiz window: general idioms, eight idiom phrases to choose
// from with the meaning as a hint.
class IdiomsWindow : public ChapterWindowOf<IdiomsBank> {
  Q_OBJECT
 public:
  explicit IdiomsWindow(Session& session);

  // The option selected while no answer is given, after the phrases.
  static constexpr int kNeutralOption = IdiomsBank::kOptions;

  void layOut(std::int16_t twipsPerPixel) override;
  void prepareQuiz() override;
  void clearAnsweredQuestion() override;
  void dealQuestion() override;
  QString correction() const override;
};
