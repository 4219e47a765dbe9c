#pragma once

#include "questions/questionbank.h"

// The chapter 3 question bank: "慣用句２.txt", five fields a record (group 1
// or 2, the sentence up to the blank, the idiom phrase that fills it, the
// idiom's key, its meaning), record k at index k of the bank. A record
// whose first field is empty ends the bank. Group 0 is allowed: such a
// record is only ever a wrong option.
class IdiomsBank : public QuestionBank {
 public:
  static inline const QString kFileName = QStringLiteral("慣用句２.txt");
  static constexpr int kMaxRecords = 901;
  static constexpr int kOptions = 8;
  // What the window shows after the sentence.
  static inline const QString kBlank = QStringLiteral("　（　　　）。");

  // One record: group, sentence, phrase, key, meaning.
  struct Record {
    int line = 0;
    Value group, sentence, phrase, key;
    QString meaning;
  };

  // Reads and checks a question file's bytes; the problems refuse the file.
  // ignoredFrom is the line of the record with an empty first field that
  // ended the bank (0 when none did) when records follow it.
  static std::vector<FileProblem> read(const QByteArray& bytes, std::vector<Record>* records,
                                       int* ignoredFrom = nullptr);
  // What a teacher should know although the program plays the file: records
  // ignored after an empty first field, one key with different phrases or
  // meanings, a sentence already ending in "。", text too long for its box.
  static std::vector<FileProblem> warnings(const std::vector<Record>& records, int ignoredFrom,
                                           const QuestionBoxes& fits);
  // The warning that the record on this line, with an empty first field,
  // ended the bank: given also when the file has problems.
  static FileProblem ignoredWarning(int line);
  // Loads the bytes of "慣用句２.txt" and sets lastRecord.
  std::vector<FileProblem> loadBytes(const QByteArray& bytes) override;
  std::vector<FileProblem> check(const QByteArray& bytes, const QuestionBoxes& fits, std::vector<FileProblem>* warnings,
                                 int* count) const override;
  int recordCount() const override { return static_cast<int>(records_.size()); }
  // The record k (0..lastRecord), the file's (k + 1)-th.
  const Record& record(int k) const { return records_[static_cast<std::size_t>(k)]; }
  QString fileName() const override { return kFileName; }

  // A value from 0..m: Int((m + 1) * u + 1) - 1 in single precision, kept
  // inside 0..m.
  static int drawUpTo(int m, float u);
  // Draws the ten questions of a quiz: six different group-1 records, then
  // four different group-2 records.
  void drawQuiz(const std::function<float()>& rnd);
  // The eight options of question n: the right phrase at rightOption, seven
  // wrong phrases from the whole bank, eight different keys, no empty key.
  void assemble(int n, const std::function<float()>& rnd);
  // The two printed lines of a meaning: over 27 characters, the first 26
  // then the rest.
  static std::array<QString, 2> splitMeaning(const QString& meaning);

  struct Row {
    Value group, sentence, phrase, key;
    QString meaning;
  };
  std::array<Row, 11> quizRows{};  // rows 1..10
  std::array<QString, 9> choices{};

 private:
  std::vector<Record> records_;
};
