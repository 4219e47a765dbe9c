#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

#include "records/learnerrecord.h"

// Files for the tests that work on a folder of their own.
QByteArray readFile(const QString& path);  // "<missing>" when it cannot be read
// Writes the file, making its folder first.
void writeFile(const QString& path, const QByteArray& bytes);
// Every entry of a folder, hidden ones included, sorted.
QStringList filesIn(const QString& dir);
// A record with the streaks a, b, c and the counts d, e, f of chapters 1..3.
LearnerRecord slots6(int a, int b, int c, int d, int e, int f);
