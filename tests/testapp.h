#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "fakeplatform.h"
#include "startup/shoki.h"

// A started program in a folder of its own, on the fake platform, with the
// delivered files copied beside it.
struct TestApp {
  explicit TestApp(bool withDelivered = true);
  ~TestApp();

  QString dir() const { return tmp.path() + u'/'; }
  // Writes and reads files in the program's folder.
  void write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;
  bool exists(const QString& name) const;

  // Types a name and presses the registration button.
  void registerName(const QString& name);
  // Picks chapter c (1..3) in the registration window.
  void choose(int c);
  // Presses "問題開始" in the chapter 1 window.
  void start();
  // Answers the question on screen in chapter 1, right or wrong.
  void answer(bool right);

  QTemporaryDir tmp;
  FakePlatform fake;
  std::unique_ptr<Shoki> sh;
};

// The default file for the tests: 6 level-1 and 4 level-2 records, written
// in code page 932 with CR LF line ends.
QByteArray smallBank();

// 900 records of a realistic length, for the reader's benchmarks.
QByteArray bank900();
