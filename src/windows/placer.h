#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "layout/layout.h"

class Platform;
class QWidget;

namespace layout {

// The layout rule for a window of fixed size: its state normal, placed on
// the screen by position (the placement reads the screen's metrics from the
// platform itself).
void applyLayout(QWidget* window, Position position, Platform& platform);
// A control's font at the design size, scaled by the layout rule for the
// screen's twips per pixel.
void setFontSize(QWidget* control, std::int16_t twipsPerPixel, int designSize);
// The same for each control with its design size.
void setFontSizes(std::int16_t twipsPerPixel, std::initializer_list<std::pair<QWidget*, int>> sizes);

// Keeps a window where the layout rule puts it. The place is computed from
// the window's known size (its client area and menu bar, never the size it
// happens to have while the window system is still setting it up) grown by
// the real frame. The window system frames a window only once it is shown,
// and may move it while it does, so the window is placed when set up, again
// when first shown, and corrected once it has been framed, until its frame
// sits where the rule wants it when the window becomes active. After that
// the learner's own moves are left alone, but every time the window is shown
// or activated again a frame that lies off the screen (a title bar above
// it) is brought back to the rule's place.
class WindowPlacer : public QObject {
 public:
  // Places window (size: its known size) and follows it until it is framed.
  // A window placed again (the certificate) gets a new placer.
  static WindowPlacer* place(QWidget* window, QSize size, Position position, Platform& platform);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WindowPlacer(QWidget* window, QSize size, Position position, Platform& platform);
  void apply();
  QRect target() const;

  QWidget* window_;
  QSize size_;
  Position position_;
  Platform& platform_;
  QMargins frame_;
  bool shown_ = false;
  int corrections_ = 0;
  bool settled_ = false;
};

}  // namespace layout
