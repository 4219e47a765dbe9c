#pragma once

#include <QLabel>
#include <QPushButton>

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
  OptionArray Opt1;
  QLabel* Lbl3;
  QPushButton* Cmd1;
  QLabel* Lbl4;

  bool setUp() override { return Main4(); }
  bool Main4();
};
