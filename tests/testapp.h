#pragma once

#include <QByteArray>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <memory>

#include "fakeplatform.h"
// The program's windows, whole, for the tests to look into.
#include "windows/bodyidiomswindow.h"
#include "windows/homonymswindow.h"
#include "windows/idiomswindow.h"
#include "windows/messagewindow.h"
#include "windows/registrationwindow.h"
#include "windows/session.h"

// A started program in a folder of its own, on the fake platform, with the
// delivered files copied beside it; setUp may change the platform (the
// screen, the frame, another copy running) before the program starts.
struct TestApp {
  explicit TestApp(bool withDelivered = true, const std::function<void(FakePlatform&)>& setUp = {});
  ~TestApp();

  QString dir() const { return tmp.path() + u'/'; }
  // Writes and reads files in the program's folder.
  void write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;
  bool exists(const QString& name) const;

  // Writes the learner's record (when one is given, even an empty one),
  // types the name and presses the registration button.
  void registerName(const QString& name, const QByteArray& record = {});
  // Picks chapter c (1..3) in the registration window.
  void choose(int c);
  // Presses "問題開始" in the window of the chapter in play.
  void start();
  // Answers the question on screen in the chapter in play, right or wrong.
  void answer(bool right);
  // Writes the small test banks of chapters 2 and 3 beside the program.
  void writeSmallBanks() const;
  // Writes the small banks, registers the learner (with the record, when one
  // is given) and picks chapter c; returns the chapter's window.
  ChapterWindow* enter(const QString& name, int c, const QByteArray& record = {});
  // Makes the program's folder unwritable (a path through a plain file) or
  // writable again, as a full or removed disk would.
  void setFolderWritable(bool writable);

  QTemporaryDir tmp;
  FakePlatform fake;
  std::unique_ptr<Session> sh;
};

// Shows the window and makes it the active one, as a click on it does.
void activate(QWidget* window);

// The default file for the tests: 6 level-1 and 4 level-2 records, written
// in code page 932 with CR LF line ends.
QByteArray smallBank();
// Chapter 2: a first record that is never asked, then 6 level-1 and 4
// level-2 records in groups of two or three.
QByteArray smallBank2();
// Chapter 3: 6 group-1 and 4 group-2 records, ten different keys.
QByteArray smallBank3();

// The small bank of chapter c (1..3), and a question bank of that chapter.
QByteArray smallBankOf(int c);
std::unique_ptr<QuestionBank> newBank(int c);

// 900 records of a realistic length, for the reader's benchmarks.
QByteArray bank900();
