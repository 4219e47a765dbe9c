#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <chrono>

class QWidget;

// What the screen reports: its twips per pixel (1440 / logical DPI, not yet
// rounded), its size in pixels and the part of it that windows may use (the
// screen less the desktop's panels; empty when it is the whole screen).
struct ScreenMetrics {
  double twipsPerPixelX = 15.0;
  double twipsPerPixelY = 15.0;
  int width = 1920;
  int height = 1080;
  QRect available;
};

// Everything the program needs from the platform sits behind this seam.
// Production uses QtPlatform; the tests use a fake that records what was
// shown, played and ended and scripts random values and modal dismissals.
class Platform {
 public:
  virtual ~Platform() = default;

  // The folder that holds the program and every file it reads or writes.
  virtual QString applicationDir() = 0;
  // True when another copy of the program already runs from this folder.
  virtual bool anotherCopyRunning() = 0;
  // Once anotherCopyRunning() was true: what holds the folder when it is not
  // this user's copy of this program ("「sleep」（プロセス番号 812、ユーザー
  // ken）"), or an empty text when it is one or cannot be told.
  virtual QString lockHolder() { return {}; }

  // Plays a .wav file in the background; a new sound cuts off one still
  // playing. A path that names no readable sound gives the default sound.
  virtual void playSound(const QString& path) = 0;
  // Shows a window modally and returns once it has been hidden again.
  virtual void showModal(QWidget* window) = 0;
  // Asks the window system to raise a shown window and give it the
  // keyboard; the window system may grant it later, or not at all.
  virtual void activateWindow(QWidget* window) = 0;
  // A modal message box with one OK button.
  virtual void messageBox(const QString& text, const QString& caption) = 0;
  // A modal question with two buttons: true for `yes`, false for `no`
  // (also when the box is closed or Escape pressed).
  virtual bool question(const QString& text, const QString& caption, const QString& yes, const QString& no) = 0;
  // Ends the program at once: no close handling runs, nothing is saved.
  // In production this never returns.
  virtual void endProgram() = 0;
  // True once endProgram() has been called (only a fake ever returns here).
  virtual bool hasEnded() const = 0;
  // Opens the help file with the given help command, not modally.
  virtual void showHelp(const QString& helpFile, int command) = 0;

  // Uniform single-precision value u with 0 <= u < 1.
  virtual float rnd() = 0;
  // Reseeds the generator from the clock.
  virtual void randomize() = 0;

  virtual ScreenMetrics screenMetrics() = 0;

  // The frame the window system puts around a top-level window (title bar
  // and borders; a menu bar is part of the window), in pixels. Zero while
  // it is not known yet.
  virtual QMargins frameMargins(QWidget* window) {
    (void)window;
    return {};
  }
  // True once the window system has framed this window itself (until then
  // frameMargins() may only stand in with the frame of another window).
  virtual bool isFramed(QWidget* window) {
    (void)window;
    return false;
  }
  // Milliseconds on a clock that only goes forward.
  virtual long long elapsedMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  // Hands the windows just shown to the window system at once, so they
  // appear while the program goes on with work the learner does not see.
  virtual void flushWindows() {}
};
