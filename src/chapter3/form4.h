#pragma once

#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "chapter3/bank3.h"
#include "layout/chapterwindow.h"

class QGroupBox;

// The chapter 3 quiz window: general idioms, eight idiom phrases to choose
// from with the meaning as a hint.
class Form4 : public ChapterWindow {
  Q_OBJECT
 public:
  explicit Form4(Shoki& sh);

  QLabel* Lbl1;
  QLabel* lbl2;
  QGroupBox* Frm1;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 8;
  OptionArray Opt1;
  QLabel* Lbl3;
  QPushButton* Cmd1;
  QLabel* Lbl4;

  // Window fields: the bank with the quiz's questions and options, and the
  // clicks since the question on screen was dealt.
  Bank3 bank;
  std::int16_t Kaitou = 4;

  bool setUp() override { return Main4(); }
  // Loads the bank and lights the stars, then sets up a quiz; false when the
  // question file was refused (the learner has been told why).
  bool Main4();
  void Main41();
  void Cmd1_Click();
  void Main42();
  void Syutu4();
  void Opt1_Click(int index);
  void Atari();
  void Miss();
  void Syuryou();

 private:
  void showScore();
};
