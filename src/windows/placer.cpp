#include "windows/placer.h"

#include <QEvent>
#include <QWidget>

#include "startup/platform.h"

namespace layout {

namespace {
// A window manager that keeps moving a window is not fought for ever.
constexpr int kMaxCorrections = 4;
}  // namespace

WindowPlacer* WindowPlacer::place(QWidget* window, QSize size, Position position, Platform& platform) {
  for (QObject* child : window->children()) {
    if (auto* old = dynamic_cast<WindowPlacer*>(child)) {
      window->removeEventFilter(old);
      old->deleteLater();
    }
  }
  auto* placer = new WindowPlacer(window, size, position, platform);
  placer->shown_ = window->isVisible();
  return placer;
}

WindowPlacer::WindowPlacer(QWidget* window, QSize size, Position position, Platform& platform)
    : QObject(window), window_(window), size_(size), position_(position), platform_(platform) {
  apply();
  window->installEventFilter(this);
}

QRect WindowPlacer::target() const {
  const ScreenMetrics m = platform_.screenMetrics();
  return windowGeometry(size_, frame_, {m.width, m.height}, m.available, position_);
}

void WindowPlacer::apply() {
  frame_ = plausibleFrame(platform_.frameMargins(window_));
  window_->setGeometry(target());
}

bool WindowPlacer::eventFilter(QObject*, QEvent* event) {
  if (settled_) {
    if (event->type() != QEvent::Show && event->type() != QEvent::WindowActivate) return false;
    const QMargins frame = plausibleFrame(platform_.frameMargins(window_));
    const QRect outer = window_->geometry().marginsAdded(frame);
    const ScreenMetrics m = platform_.screenMetrics();
    const QRect room = m.available.isEmpty() ? QRect(0, 0, m.width, m.height) : m.available;
    if (keepInside(outer.topLeft(), outer.size(), room) != outer.topLeft()) apply();
    return false;
  }
  switch (event->type()) {
    case QEvent::Show:
      if (!shown_) {
        shown_ = true;
        apply();
      }
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate: {
      if (!shown_) break;
      // Not framed yet: the window system has more to do.
      const QMargins frame = plausibleFrame(platform_.frameMargins(window_));
      if (!platform_.isFramed(window_) || frame.isNull()) break;
      if (frame != frame_ || window_->geometry() != target()) {
        if (++corrections_ <= kMaxCorrections) apply();
        if (corrections_ < kMaxCorrections) break;
      }
      // The frame may still change (a border added) until the window
      // manager hands the window to the learner.
      if (event->type() != QEvent::WindowActivate && corrections_ < kMaxCorrections) break;
      // Framed, active and where the rule wants it: the place is final
      // until the window is shown again off the screen.
      settled_ = true;
      break;
    }
    default:
      break;
  }
  return false;
}

void applyLayout(QWidget* window, Position position, Platform& platform) {
  window->setWindowState(Qt::WindowNoState);
  WindowPlacer::place(window, window->size(), position, platform);
}

void setFontSize(QWidget* control, std::int16_t twipsPerPixel, int designSize) {
  QFont f = control->font();
  f.setPointSize(fontSize(twipsPerPixel, designSize));
  control->setFont(f);
}

void setFontSizes(std::int16_t twipsPerPixel, std::initializer_list<std::pair<QWidget*, int>> sizes) {
  for (const auto& [control, designSize] : sizes) setFontSize(control, twipsPerPixel, designSize);
}

}  // namespace layout
