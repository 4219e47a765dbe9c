#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

// Files for the tests that work on a folder of their own.
QByteArray readFile(const QString& path);  // "<missing>" when it cannot be read
// Writes the file, making its folder first.
void writeFile(const QString& path, const QByteArray& bytes);
// Every entry of a folder, hidden ones included, sorted.
QStringList filesIn(const QString& dir);
// Kiroku with slots 0..5 as given and the working count 0.
std::array<int, 7> slots6(int a, int b, int c, int d, int e, int f);
