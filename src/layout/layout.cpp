#include "layout/layout.h"

#include <fontconfig/fontconfig.h>

#include <QFont>
#include <QRect>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace layout {

std::int16_t roundTwipsPerPixel(double twipsPerPixel) {
  double r = std::nearbyint(twipsPerPixel);
  if (!(r >= 1.0)) r = 1.0;
  if (r > 31.0) r = 31.0;
  return static_cast<std::int16_t>(r);
}

int fontSize(std::int16_t tpp, int k) {
  const auto product = static_cast<std::int16_t>(tpp * k);
  return static_cast<int>(std::floor(static_cast<double>(product) / 15.0));
}

QPoint place(QSize outer, QSize screen, Position position) {
  switch (position) {
    case Position::Corner:
      return {0, 0};
    case Position::Centred:
      return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2};
    case Position::UpperThird:
      return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 3};
  }
  return {0, 0};
}

QMargins plausibleFrame(QMargins frame) {
  constexpr int kMost = 200;
  for (int m : {frame.left(), frame.top(), frame.right(), frame.bottom()})
    if (m < 0 || m > kMost) return {};
  return frame;
}

QPoint keepInside(QPoint at, QSize outer, QRect available) {
  if (available.isEmpty() || available.contains(QRect(at, outer))) return at;
  const int x = std::clamp(at.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width()));
  const int y = std::clamp(at.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height()));
  return {x, y};
}

QRect windowGeometry(QSize window, QMargins frame, QSize screen, QRect available, Position position) {
  const QSize outer = window.grownBy(frame);
  const QPoint at = keepInside(place(outer, screen, position), outer, available);
  return {at + QPoint(frame.left(), frame.top()), window};
}

QFont designFont(double points, bool bold, bool italic) {
  QFont font(kFace);
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void installFontSubstitutes() {
  QFont::insertSubstitutions(
      kFace, {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"), QStringLiteral("IPAGothic"),
              QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")});
}

void loadFontConfiguration() { FcInit(); }

}  // namespace layout
