#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

#include "questions/textfit.h"

// Whether question texts fit the boxes the windows show them in, measured
// with the windows' own fonts as they are laid out at 15 twips per pixel.
// Needs a running QApplication (option buttons are measured as widgets).
namespace fit {

// A box a text is shown in: its font and the width the text may take.
struct Box {
  QFont font;
  double width = 0.0;
  bool option = false;  // an option button: its indicator takes room too
};

// Chapter 1: the idiom sentence in the sentence label (from x 344 to the right edge of the
// 1024-pixel client) and one printed meaning line in questionBox (697 wide).
Box chapter1Sentence();
Box chapter1Meaning();
// Chapter 2: the sentence with its target word printed in questionBox from 10 twips
// (665 wide), and one kanji on an option button (145 wide).
Box chapter2Sentence();
Box chapter2Option();
// Chapter 3: the sentence with "　（　　　）。" in sentenceLabel (from x 288 to the
// right edge of the 1024-pixel client), one phrase on an option button (the
// narrowest width of a button that can be seen, 152 of its 161: any phrase
// may land on any button) and one printed meaning line in questionBox (777 wide).
Box chapter3Sentence();
Box chapter3Option();
Box chapter3Meaning();

// The widths that can be seen of buttons laid out side by side in one
// parent: a button created later is drawn over an earlier one it overlaps,
// and nothing shows right of innerRight (the parent's frame line). Buttons
// in creation order.
std::vector<int> visibleWidths(const std::vector<QRect>& buttons, int innerRight);
// Chapter 3's buttons as the window lays them out in its frame 選択欄: the
// eight options, then the prompt option; and the frame's inner right edge.
std::vector<QRect> chapter3OptionRects();
int chapter3FrameInnerRight();

// The boxes the checks of a chapter's question file measure against.
QuestionBoxes chapter1Boxes();
QuestionBoxes chapter2Boxes();
QuestionBoxes chapter3Boxes();

// The width the text takes in the box's font; for an option button the
// whole button's width (indicator, spacing, text).
double width(const Box& box, const QString& text);
bool fits(const Box& box, const QString& text);

}  // namespace fit
