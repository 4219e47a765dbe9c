#pragma once

#include <QString>
#include <functional>

// Whether a text fits a box a window shows it in. The measurement needs the
// windows' own fonts and widgets, so the window library supplies it (see
// layout/fit.h); the question files' checks only ask.
using TextFits = std::function<bool(const QString&)>;

// The boxes a chapter shows a question in (a chapter without one of them
// leaves it empty).
struct QuestionBoxes {
  TextFits sentence;
  TextFits meaning;
  TextFits option;
};
