#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <random>
#include <vector>

#include "startup/platform.h"

// Random values for tests: the scripted values first, then a fixed
// pseudo-random sequence; counts the values drawn.
struct Randoms {
  std::deque<float> values{};
  std::mt19937 gen{12345};
  int drawn = 0;
  float next();
  std::function<float()> fn() {
    return [this] { return next(); };
  }
};

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
    QStringList shownWindows;  // captions of the windows visible meanwhile
  };

  QString appDir;
  bool otherCopy = false;
  // What holds the folder when it is not a copy of the program.
  QString holder;
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
  // The clock: each reading moves it on by clockStep (a second unless a
  // test steps it by hand).
  long long clockMs = 0;
  long long clockStep = 1000;

  // How the next modal windows are dismissed; by default they are hidden as
  // the learner's OK button does.
  std::deque<std::function<void(QWidget*)>> dismissals;
  // How the next questions are answered (true: yes); then no.
  std::deque<bool> answers;

  QString applicationDir() override { return appDir; }
  bool anotherCopyRunning() override { return otherCopy; }
  QString lockHolder() override { return holder; }
  void playSound(const QString& path) override;
  void showModal(QWidget* window) override;
  // The window system grants every activation asked for at once, and gives
  // it back to the window that had it when a modal window is dismissed.
  void activateWindow(QWidget* window) override;
  void messageBox(const QString& text, const QString& caption) override;
  // Answered from `answers`, then `no`; recorded in boxes.
  bool question(const QString& text, const QString& caption, const QString& yes, const QString& no) override;
  void endProgram() override;
  bool hasEnded() const override { return endCount > 0; }
  void showHelp(const QString& helpFile, int command) override;
  float rnd() override { return randoms_.next(); }
  void randomize() override { ++reseeds; }
  ScreenMetrics screenMetrics() override { return metrics; }
  QMargins frameMargins(QWidget*) override { return frame; }
  bool isFramed(QWidget*) override { return !frame.isNull(); }
  long long elapsedMs() override { return clockMs += clockStep; }

 private:
  void afterEnd() {
    if (hasEnded()) ++callsAfterEnd;
  }
  Randoms randoms_;
};
