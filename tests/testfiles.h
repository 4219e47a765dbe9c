#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "questions/questionbank.h"
#include "records/learnerrecord.h"

// Files for the tests that work on a folder of their own, the command-line
// tools' runs, and what a text is expected to hold.
QByteArray readFile(const QString& path);  // "<missing>" when it cannot be read
// Writes the file, making its folder first.
void writeFile(const QString& path, const QByteArray& bytes);
// Every entry of a folder, hidden ones included, sorted.
QStringList filesIn(const QString& dir);
// A record with the streaks a, b, c and the counts d, e, f of chapters 1..3.
LearnerRecord slots6(int a, int b, int c, int d, int e, int f);

// What a command-line tool printed and how it ended (-1: it did not finish
// within a minute, which fails the test).
struct ToolRun {
  int exitCode = -1;
  QString out, err;
};
// Runs the program (KOTOBARION_CHECK or KOTOBARION_REPORT) with the
// arguments; setUp may prepare the process first.
ToolRun runTool(const char* program, const QStringList& args, const std::function<void(QProcess&)>& setUp = {});
// A question file a bank must refuse: the line its first problem names (0:
// not checked) and words the description of its problems holds.
struct Refusal {
  const char* name;
  QByteArray bytes;
  int line;
  QString says;
};
// Loads the bytes into the bank and checks that they are refused so.
void expectRefused(QuestionBank& bank, const Refusal& c);
// Whether one of the warnings is on that line and holds part.
bool warns(const std::vector<FileProblem>& warnings, int line, const QString& part);
// Whether the text holds every one of the parts; names those it lacks, and
// the text, when it does not.
::testing::AssertionResult holdsAll(const QString& text, const QStringList& parts);
