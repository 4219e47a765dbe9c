#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "chapter1/bank1.h"
#include "chapter1/fieldreader.h"

// Reads a whole question file; the problems say why it cannot be used
// (missing, not a file, unreadable, far too large).
std::vector<FileProblem> readQuestionFile(const QString& path, QByteArray* bytes);

// Reads a question file and parses it into the columns with the given
// bank's parse; count is the number of records stored.
using ParseFn = std::vector<FileProblem> (*)(const QByteArray&, QuestionColumns&, int*);
std::vector<FileProblem> loadQuestionFile(const QString& path, ParseFn parse, QuestionColumns& columns, int* count);

// "<what>が<have>問しかありません。<need>問以上必要です。<note>"
FileProblem tooFew(const QString& what, int have, int need, const QString& note = QString());

// Reads the next record of n fields into f; returns how many fields were
// there (fewer than n only at the end of the text).
int readRecord(FieldReader& reader, std::vector<Field>& f, int n);

// A bare whole number in the given range, or false.
bool wholeIn(const Field& f, int low, int high, int* out);
