#pragma once

#include <QLabel>
#include <QPushButton>

#include "layout/chapterwindow.h"

class QGroupBox;

// The chapter 2 quiz window: homonyms, a red kana word in a sentence and five
// kanji to choose from.
class Form1 : public ChapterWindow {
  Q_OBJECT
 public:
  explicit Form1(Shoki& sh);

  QLabel* Lbl1;
  QLabel* Label1;
  QGroupBox* Frm1;
  OptionArray Opt1;
  QLabel* Lbl2;
  QPushButton* Cmd1;

  bool setUp() override { return Main1(); }
  bool Main1();
};
