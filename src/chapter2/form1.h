#pragma once

#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "chapter2/bank2.h"
#include "layout/chapterwindow.h"

class QGroupBox;

// The chapter 2 quiz window: homonyms, a red kana word in a sentence and up
// to five kanji to choose from.
class Form1 : public ChapterWindow {
  Q_OBJECT
 public:
  explicit Form1(Shoki& sh);

  QLabel* Lbl1;
  QLabel* Label1;
  QGroupBox* Frm1;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 5;
  OptionArray Opt1;
  QLabel* Lbl2;
  QPushButton* Cmd1;
  // The help menu (the window's own name for it; the same action as hp).
  QAction* he = nullptr;

  // Window fields: the bank with its marks, the current question and the
  // clicks since it was dealt.
  Bank2 bank;
  std::int16_t Kaitou = 0;

  bool setUp() override { return Main1(); }
  // Loads the bank, then sets up a quiz; false when the question file was
  // refused (the learner has been told why).
  bool Main1();
  void Main12();
  void Cmd1_Click();
  void Main13();
  void Monsakusei();
  void Syutu1();
  void Opt1_Click(int index);
  void Atari1();
  void Miss1();
  void Owari();
  void he_Click() { hp_Click(); }

 private:
  void showOptions(int last, bool shown);
};
