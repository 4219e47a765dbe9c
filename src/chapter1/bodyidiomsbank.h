#pragma once

#include "questions/questionbank.h"

// The chapter 1 question bank: "体.txt", four fields a record (level 1 or 2,
// the number 1..12 of the right body-part word, the idiom sentence with "＊"
// for the word, its meaning), at most 900 records, at least 6 of level 1 and
// 4 of level 2.
class BodyIdiomsBank : public QuestionBank {
 public:
  static inline const QString kFileName = QStringLiteral("体.txt");
  static constexpr int kMaxRecords = 900;

  // The body-part words in button order; entry kWords stays empty.
  static const std::array<QString, 13>& words();
  // The body-part words offered with every question.
  static constexpr int kWords = 12;

  // One record as it stands in the file.
  struct Record {
    Value level, answer, sentence, meaning;
  };

  // Reads and checks a question file's bytes into records; the problems
  // refuse the file, and then no record is given.
  static std::vector<FileProblem> read(const QByteArray& bytes, std::vector<Record>* records);

  // What a teacher should know although the program plays the file: a
  // sentence or a meaning line that would not fit its box on screen.
  static std::vector<FileProblem> warnings(const QByteArray& bytes, const QuestionBoxes& fits);

  // Loads the bytes of "体.txt": sets lastRecord, clears the Used marks and
  // fills bodyParts. Returns the problems that refused the file.
  std::vector<FileProblem> loadBytes(const QByteArray& bytes) override;
  std::vector<FileProblem> check(const QByteArray& bytes, const QuestionBoxes& fits, std::vector<FileProblem>* warnings,
                                 int* count) const override;
  int recordCount() const override { return static_cast<int>(records_.size()); }
  QString fileName() const override { return kFileName; }

  // Draws the record for question q (1..10): questions 1-6 from level 1,
  // 7-10 from level 2, none twice in a quiz; marks it used and sets
  // rightOption to its word's button.
  int draw(int q, const std::function<float()>& rnd);
  // The record k (1..lastRecord), the file's k-th.
  const Record& record(int k) const { return records_[static_cast<std::size_t>(k - 1)]; }

  // The two printed lines of a meaning: 28 characters on the first, 29 when
  // the 28th is "。", the rest on the second.
  static std::array<QString, 2> splitMeaning(const QString& meaning);
  // The button index of the right word: field 2 as text, its leading number
  // minus one, rounded half to even.
  static std::int16_t answerIndex(const Value& field2);

  std::array<QString, 13> bodyParts{};

 private:
  std::vector<Record> records_;
};
