#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

class QWidget;

// The layout rule: every window gets an exact client size in pixels and a
// place on the screen; fonts that the layout sets keep their pixel size at
// 15 twips per pixel, rounded down, on any other screen.
namespace layout {

// The face every window is designed in; mapped to an installed Japanese
// proportional gothic at start-up.
inline const QString kFace = QStringLiteral("ＭＳ Ｐゴシック");

// Twips per pixel rounded to a whole number, halves to even. Screens beyond
// 31 twips per pixel (below about 46 DPI) are not supported and are clamped.
std::int16_t roundTwipsPerPixel(double twipsPerPixel);

// Int(tpp * k / 15): the product as a 16-bit integer, the quotient rounded
// down, so 18 stays 18 at 15 twips per pixel and becomes 14 at 12.
int fontSize(std::int16_t tpp, int k);

enum class Position { Centred, UpperThird, Corner };

// The top-left corner of an outer window of the given size on the screen.
QPoint place(QSize outer, QSize screen, Position position);
// Where the window itself (inside its frame) goes so that its frame, the
// window's own size (client area and menu bar) grown by the window system's
// frame, lies at place(): the window system keeps a window given by its own
// geometry there, whether or not it has framed it yet. The desktop's panels
// leave only the available area (empty: the whole screen) to windows. A
// window whose frame lies inside that area stays exactly where the rule puts
// it; otherwise it moves the least that brings it inside, and a window larger
// than the area keeps its title bar and its upper left part inside (the
// area's top and left edges).
QRect windowGeometry(QSize window, QMargins frame, QSize screen, QRect available, Position position);
// A frame as the window system may report it: a window not framed yet can
// report its frame as a 1 x 1 rectangle, and so margins below zero. Such a
// frame, or one wider than any title bar, is no frame (zero margins).
QMargins plausibleFrame(QMargins frame);
// The top-left corner of an outer window moved into the available area.
QPoint keepInside(QPoint at, QSize outer, QRect available);

// A font of the design face.
QFont designFont(double points, bool bold = true, bool italic = false);

// Maps the design face to the Japanese gothic fonts that may be installed.
void installFontSubstitutes();

// Loads the system's font configuration (the slow part of the first text
// any window measures). It needs no display, so the program runs it on a
// thread of its own while QApplication connects to the display.
void loadFontConfiguration();

// Colours of the design: Qt's pure ones, then the design's own tints.
namespace colour {
inline const QColor green{Qt::green};
inline const QColor red{Qt::red};
inline const QColor blue{Qt::blue};
inline const QColor navy{Qt::darkBlue};  // 0, 0, 128
inline const QColor yellow{Qt::yellow};
inline const QColor white{Qt::white};
inline const QColor black{Qt::black};

inline const QColor darkBlue{0, 0, 192};
inline const QColor lightGreen{128, 255, 128};
inline const QColor paleGreen{192, 255, 192};
inline const QColor lightYellow{255, 255, 128};
inline const QColor paleYellow{255, 255, 192};
}  // namespace colour

}  // namespace layout
