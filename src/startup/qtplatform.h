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
  QString lockHolder() override { return holder_; }
  void playSound(const QString& path) override;
  void showModal(QWidget* window) override;
  void activateWindow(QWidget* window) override;
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

  // Takes the lock of appDir for this copy; false when another process
  // holds it (then lockHolder() tells which, unless it is a copy of this
  // program run by this user).
  bool takeLock(const QString& appDir);

 private:
  // What holds the lock on the open folder, for the learner, when it is not
  // this user's copy of this program; empty otherwise or when unknown.
  static QString describeLockHolder(int folderFd);

  // The locked folder while this copy holds its lock, else -1.
  int lockFd_ = -1;
  QString holder_;
  // Loaded at the first sound; none when the sound module is missing.
  SoundPlayer* player_ = nullptr;
  bool playerLoaded_ = false;
  QPointer<HelpViewer> help_;
  std::mt19937 gen_;
  QMargins knownFrame_;
};
