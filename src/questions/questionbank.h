#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "questions/fieldreader.h"
#include "questions/questionfile.h"

// What the question banks of the three chapters share: the file each reads
// into the question columns, how many records it holds and which of them a
// quiz has drawn.
class QuestionBank {
 public:
  QuestionBank() = default;
  QuestionBank(const QuestionBank&) = default;
  QuestionBank& operator=(const QuestionBank&) = default;
  virtual ~QuestionBank() = default;

  // The question file's name in the program's folder.
  virtual QString fileName() const = 0;
  // Loads the question file from the folder into the columns. Returns the
  // problems that refused the file.
  virtual std::vector<FileProblem> load(const QString& appDir, QuestionColumns& columns) = 0;
  // Forgets which records have been drawn.
  void clearAllMarks() { Used.assign(Used.size(), 0); }

  // The index of the last record loaded; -1 while none is.
  int lastRecord = -1;
  // 1 for each record drawn since the marks were last cleared.
  std::vector<std::int16_t> Used = std::vector<std::int16_t>(QuestionColumns::kEntries, 0);

 protected:
  // Loads the bank's file with its parse, for a bank whose records stand at
  // 0 .. count - 1 of the columns; on success sets lastRecord.
  std::vector<FileProblem> loadFromZero(const QString& appDir, ParseFn parse, QuestionColumns& columns) {
    int count = 0;
    std::vector<FileProblem> problems = loadQuestionFile(appDir + fileName(), parse, columns, &count);
    if (problems.empty()) lastRecord = count - 1;
    return problems;
  }
};
