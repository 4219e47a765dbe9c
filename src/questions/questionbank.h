#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "questions/fieldreader.h"
#include "questions/questionfile.h"
#include "questions/quizrules.h"
#include "questions/textfit.h"

// What the question banks of the three chapters share: the file each reads
// into its own records, how many records it holds and which of them a quiz
// has drawn.
class QuestionBank {
 public:
  // The most records a bank holds, with room for the first index.
  static constexpr int kEntries = 901;

  QuestionBank() = default;
  QuestionBank(const QuestionBank&) = default;
  QuestionBank& operator=(const QuestionBank&) = default;
  virtual ~QuestionBank() = default;

  // The question file's name in the program's folder.
  virtual QString fileName() const = 0;
  // Loads the question file from the folder into the bank's records. Returns
  // the problems that refused the file; the records held then stay as they are.
  std::vector<FileProblem> load(const QString& appDir) {
    QByteArray bytes;
    std::vector<FileProblem> problems = readQuestionFile(appDir + fileName(), &bytes);
    if (!problems.empty()) return problems;
    return loadBytes(bytes);
  }
  // Loads a question file's bytes as load() does.
  virtual std::vector<FileProblem> loadBytes(const QByteArray& bytes) = 0;
  // Checks a question file's bytes as kotobarion-check does, without loading
  // them: returns the problems that refuse the file; warnings gets what a
  // teacher should know although the program plays it (fits tells whether a
  // text fits its box on screen), count the number of records read.
  virtual std::vector<FileProblem> check(const QByteArray& bytes, const QuestionBoxes& fits,
                                         std::vector<FileProblem>* warnings, int* count) const = 0;
  // How many records the bank holds.
  virtual int recordCount() const = 0;
  // Forgets which records have been drawn.
  void clearAllMarks() { Used.assign(Used.size(), 0); }

  // The number of the last record loaded (chapter 1 numbers its records
  // from 1, the others from 0); -1 while none is.
  int lastRecord = -1;
  // 1 for each record drawn since the marks were last cleared.
  std::vector<std::int16_t> Used = std::vector<std::int16_t>(kEntries, 0);
  // The option of the right answer to the question on screen, a 16-bit
  // integer in every chapter.
  std::int16_t rightOption = 0;

 protected:
  // A record of the line it starts on, four fields kept as values and a
  // fifth kept as text.
  template <class Record>
  static Record fromFields(int line, std::vector<Field>& f) {
    return Record{line,
                  FieldReader::toValue(std::move(f[0])),
                  FieldReader::toValue(std::move(f[1])),
                  FieldReader::toValue(std::move(f[2])),
                  FieldReader::toValue(std::move(f[3])),
                  std::move(f[4].text)};
  }
  // The reading every bank shares: the bytes read into records with the
  // bank's read (bytes, records) -> problems. The records are replaced only
  // when there is no problem.
  template <class Record, class Read>
  static std::vector<FileProblem> readRecords(const QByteArray& bytes, Read read, std::vector<Record>& records) {
    std::vector<Record> fresh;
    std::vector<FileProblem> problems = read(bytes, &fresh);
    if (problems.empty()) records = std::move(fresh);
    return problems;
  }
};
