#include "layout/fit.h"

#include <QFontMetricsF>
#include <QRadioButton>

#include "layout/layout.h"

namespace fit {

Box chapter1Sentence() { return {layout::designFont(26), 1024.0 - 344.0}; }
Box chapter1Meaning() { return {layout::designFont(18), 697.0}; }
Box chapter2Sentence() { return {layout::designFont(28), 665.0 - 10.0 / 15.0}; }
Box chapter2Option() { return {layout::designFont(28), 145.0, true}; }
Box chapter3Sentence() { return {layout::designFont(26, false), 1024.0 - 288.0}; }
Box chapter3Option() { return {layout::designFont(16), 161.0, true}; }
Box chapter3Meaning() { return {layout::designFont(18), 777.0}; }

double width(const Box& box, const QString& text) {
  if (!box.option) return QFontMetricsF(box.font).horizontalAdvance(text);
  QRadioButton button(text);
  button.setFont(box.font);
  return button.sizeHint().width();
}

bool fits(const Box& box, const QString& text) { return width(box, text) <= box.width; }

}  // namespace fit
