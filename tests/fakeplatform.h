#pragma once

#include <QColor>
#include <QString>
#include <deque>
#include <functional>
#include <random>
#include <vector>

#include "startup/platform.h"

// A platform for tests: records what was shown, played and ended, scripts the
// random values and how each modal window is dismissed, and never ends the
// test process.
class FakePlatform : public Platform {
 public:
  struct Modal {
    QString title;    // the window's caption
    QString text;     // what the message window showed
    QColor back;      // its background
    QString picture;  // the file of its picture
  };
  struct Box {
    QString text;
    QString caption;
  };

  QString appDir;
  bool otherCopy = false;
  ScreenMetrics metrics;
  // The frame every window gets from the window system.
  QMargins frame;

  std::vector<QString> sounds;
  std::vector<Modal> modals;
  std::vector<Box> boxes;
  std::vector<QString> helps;
  int endCount = 0;
  // Calls that reached the platform after the program had ended.
  int callsAfterEnd = 0;
  int reseeds = 0;
  int randomsDrawn = 0;

  // Scripted random values, used first; then a fixed pseudo-random sequence.
  std::deque<float> randoms;
  // How the next modal windows are dismissed; by default they are hidden as
  // the learner's OK button does.
  std::deque<std::function<void(QWidget*)>> dismissals;

  QString applicationDir() override { return appDir; }
  bool anotherCopyRunning() override { return otherCopy; }
  void playSound(const QString& path) override;
  void showModal(QWidget* window) override;
  void messageBox(const QString& text, const QString& caption) override;
  void endProgram() override;
  bool hasEnded() const override { return endCount > 0; }
  void showHelp(const QString& helpFile, int command) override;
  float rnd() override;
  void randomize() override { ++reseeds; }
  ScreenMetrics screenMetrics() override { return metrics; }
  QMargins frameMargins(QWidget*) override { return frame; }
  bool isFramed(QWidget*) override { return !frame.isNull(); }

 private:
  void afterEnd() {
    if (hasEnded()) ++callsAfterEnd;
  }
  std::mt19937 gen_{12345};
};
