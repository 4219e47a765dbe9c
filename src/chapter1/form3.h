#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <vector>

#include "chapter1/bank1.h"
#include "layout/chapterwindow.h"

class QGroupBox;

// The chapter 1 quiz window: idioms about the body, answered on twelve
// body-part buttons.
class Form3 : public ChapterWindow {
  Q_OBJECT
 public:
  explicit Form3(Shoki& sh);

  QLabel* Lbl1;
  QLabel* Lbl4;
  QLabel* Lbl2;
  QGroupBox* Frm1;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 12;
  OptionArray Option1;
  QLabel* Lbl3;
  QPushButton* Cmd1;

  // Window fields.
  Bank1 bank;
  std::int16_t Kaitou = 4;

  bool setUp() override { return Main3(); }
  // Loads the bank and lights the stars; false when the question file was
  // refused (the learner has been told why).
  bool Main3();
  void Main31();
  void Main32();
  void Syutu3();
  void Atari();
  void Miss();
  void Syuryou();
  void Cmd1_Click();
  void Option1_Click(int index);
};
