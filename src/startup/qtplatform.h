#pragma once

#include <QPointer>
#include <memory>
#include <random>

#include "startup/platform.h"

class SoundPlayer;
class HelpViewer;

// The production platform: Qt windows and sounds, a lock against a second
// running copy, the Mersenne twister seeded from the clock.
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  QString applicationDir() override;
  bool anotherCopyRunning() override;
  void playSound(const QString& path) override;
  void showModal(QWidget* window) override;
  void messageBox(const QString& text, const QString& caption) override;
  bool question(const QString& text, const QString& caption, const QString& yes, const QString& no) override;
  [[noreturn]] void endProgram() override;
  bool hasEnded() const override { return false; }
  void showHelp(const QString& helpFile, int command) override;
  float rnd() override;
  void randomize() override;
  ScreenMetrics screenMetrics() override;
  QMargins frameMargins(QWidget* window) override;
  bool isFramed(QWidget* window) override;
  void flushWindows() override;

  // Application-wide settings made once, right after the QApplication is
  // created: names for the desktop (never appended to a window's caption),
  // the style, the fonts, and no quitting when the last window is hidden.
  static void setUpApplication();

  // The name of the lock that marks a running copy started from appDir (an
  // abstract socket name, the same for every path to the folder).
  static QByteArray lockName(const QString& appDir);
  // Takes the lock of appDir for this copy; false when another copy on this
  // machine holds it.
  bool takeLock(const QString& appDir);

 private:
  // The bound lock socket while this copy holds its lock, else -1.
  int lockFd_ = -1;
  // Loaded at the first sound; none when the sound module is missing.
  SoundPlayer* player_ = nullptr;
  bool playerLoaded_ = false;
  QPointer<HelpViewer> help_;
  std::mt19937 gen_;
  QMargins knownFrame_;
};
