#pragma once

#include <QString>
#include <cmath>

namespace texts {

inline const QString kCrLf = QStringLiteral("\r\n");

// A number joined into a text: decimal digits with one leading blank when it
// is zero or more, a minus sign in that place otherwise ("第 3問").
inline QString num(long long v) { return v >= 0 ? QStringLiteral(" ") + QString::number(v) : QString::number(v); }

// Rounds to the nearest whole number, halves to the even neighbour.
inline long long roundHalfEven(double v) { return static_cast<long long>(std::nearbyint(v)); }

// A random pick 1..n from a uniform value u in [0, 1): the whole part of
// u * n + 1, computed in single precision and kept inside 1..n.
inline int pick(float u, int n) {
  const float scaled = u * static_cast<float>(n);
  int k = static_cast<int>(scaled) + 1;
  if (k > n) k = n;
  if (k < 1) k = 1;
  return k;
}

}  // namespace texts
