#include "layout/fit.h"

#include <QFontMetricsF>
#include <QRadioButton>
#include <algorithm>

#include "layout/layout.h"

namespace fit {

Box chapter1Sentence() { return {layout::designFont(26), 1024.0 - 344.0}; }
Box chapter1Meaning() { return {layout::designFont(18), 697.0}; }
Box chapter2Sentence() { return {layout::designFont(28), 665.0 - 10.0 / 15.0}; }
Box chapter2Option() { return {layout::designFont(28), 145.0, true}; }
Box chapter3Sentence() { return {layout::designFont(26, false), 1024.0 - 288.0}; }
Box chapter3Option() {
  std::vector<int> seen = visibleWidths(chapter3OptionRects(), chapter3FrameInnerRight());
  seen.pop_back();  // the prompt option shows its own text only
  return {layout::designFont(16), static_cast<double>(*std::min_element(seen.begin(), seen.end())), true};
}
Box chapter3Meaning() { return {layout::designFont(18), 777.0}; }

std::vector<int> visibleWidths(const std::vector<QRect>& buttons, int innerRight) {
  std::vector<int> widths;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const QRect& b = buttons[i];
    int right = std::min(b.x() + b.width(), innerRight);
    for (std::size_t j = i + 1; j < buttons.size(); ++j) {
      const QRect& over = buttons[j];
      if (over.intersects(b) && over.x() > b.x()) right = std::min(right, over.x());
    }
    widths.push_back(std::max(right - b.x(), 0));
  }
  return widths;
}

std::vector<QRect> chapter3OptionRects() {
  // Two rows in the frame: five options, then three and the prompt option.
  const int lefts[] = {8, 160, 320, 480, 632, 8, 160, 320};
  const int tops[] = {32, 32, 32, 32, 32, 80, 80, 80};
  std::vector<QRect> rects;
  for (int i = 0; i < 8; ++i) rects.emplace_back(lefts[i], tops[i], 161, 33);
  rects.emplace_back(480, 80, 257, 33);
  return rects;
}

// The frame is 785 wide; its one-pixel line on the right covers the last
// column inside.
int chapter3FrameInnerRight() { return 785 - 1; }

double width(const Box& box, const QString& text) {
  if (!box.option) return QFontMetricsF(box.font).horizontalAdvance(text);
  QRadioButton button(text);
  button.setFont(box.font);
  return button.sizeHint().width();
}

bool fits(const Box& box, const QString& text) { return width(box, text) <= box.width; }

namespace {
TextFits fitsIn(const Box& box) {
  return [box](const QString& text) { return fits(box, text); };
}
}  // namespace

QuestionBoxes chapter1Boxes() { return {fitsIn(chapter1Sentence()), fitsIn(chapter1Meaning()), {}}; }
QuestionBoxes chapter2Boxes() { return {fitsIn(chapter2Sentence()), {}, fitsIn(chapter2Option())}; }
QuestionBoxes chapter3Boxes() {
  return {fitsIn(chapter3Sentence()), fitsIn(chapter3Meaning()), fitsIn(chapter3Option())};
}

}  // namespace fit
