#pragma once

#include "chapter2/homonymsbank.h"
#include "windows/chapterwindow.h"

// The chapter 2 quiz window: homonyms, a red kana word in a sentence and up
// to five kanji to choose from.
class HomonymsWindow : public ChapterWindowOf<HomonymsBank> {
  Q_OBJECT
 public:
  explicit HomonymsWindow(Session& session);

  // The option selected while no answer is given, after room for the
  // largest group's kanji.
  static constexpr int kNeutralOption = HomonymsBank::kMaxGroup;

  void layOut(std::int16_t twipsPerPixel) override;
  int answerCount() const override { return bank.lastChoice + 1; }
  void prepareQuiz() override;
  void clearAnsweredQuestion() override;
  void dealQuestion() override;
  QString correction() const override;

 protected:
  bool neutralChoiceAnswers() const override { return true; }
  void onNeutralChosen() override;
  bool showsScoreOnAnswer() const override { return false; }
  void clearForFirstQuestion() override {}
  void colourScore(bool right) override;
  void hideAnswers() override { showOptions(kNeutralOption - 1, false); }
  void beforeJudging() override;
  QString scoreText() const override;

 private:
  void showOptions(int last, bool shown);
};
