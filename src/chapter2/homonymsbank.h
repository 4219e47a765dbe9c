#pragma once

#include "questions/questionbank.h"

// The chapter 2 question bank: "同音.txt", five fields a record (level 1 or
// 2, the homonym group key, the target word in kana as the sentence writes
// it, the right kanji, the sentence with "＊" where the word stands), record
// i at index i of the bank. At most 901 records and five a group; the
// first record is never asked, so at least 6 level-1 and 4 level-2 records
// must follow it.
class HomonymsBank : public QuestionBank {
 public:
  // No right option while no question is dealt.
  HomonymsBank() { rightOption = -1; }
  static inline const QString kFileName = QStringLiteral("同音.txt");
  static constexpr int kMaxRecords = 901;
  static constexpr int kMaxGroup = 5;

  // One record as it stands in the file.
  struct Record {
    int line = 0;
    Value level, key, kana, kanji;
    QString sentence;
  };

  // Reads and checks a question file's bytes into records; the problems
  // refuse the file.
  static std::vector<FileProblem> read(const QByteArray& bytes, std::vector<Record>* records);
  // What a teacher should know although the program plays the file: two
  // records of one group with the same kanji, a group of one record, a
  // sentence that shows its own answer or another question's, text that
  // would not fit its box on screen.
  static std::vector<FileProblem> warnings(const std::vector<Record>& records, const QuestionBoxes& fits);
  // Loads the bytes of "同音.txt" and sets lastRecord. The marks are kept:
  // they live as long as the window.
  std::vector<FileProblem> loadBytes(const QByteArray& bytes) override;
  std::vector<FileProblem> check(const QByteArray& bytes, const QuestionBoxes& fits, std::vector<FileProblem>* warnings,
                                 int* count) const override;
  int recordCount() const override { return static_cast<int>(records_.size()); }
  QString fileName() const override { return kFileName; }

  // Draws the record for question q (1..10) from 1..lastRecord: questions 1-6
  // level 1, 7-10 level 2. Every record drawn is marked, also one rejected
  // for its level. When no unmarked record of the level is left, the marks
  // of that level are cleared, except those of records asked in this quiz.
  int draw(int q, const std::function<float()>& rnd);
  // Deals question q: draws its record, offers the kanji of its group
  // (choices 0..lastChoice) in shuffled order and sets rightOption to the
  // right kanji's place.
  void deal(int q, const std::function<float()>& rnd);
  // Starts a new quiz's list of asked records (the marks stay).
  void newQuiz() { asked_.clear(); }

  // The record i (0..lastRecord), the file's (i + 1)-th.
  const Record& record(int i) const { return records_[static_cast<std::size_t>(i)]; }
  // The right kanji of every record of the group, in file order.
  std::vector<QString> candidates(const Value& group) const;
  // Group keys are equal when both are numbers of one value or both texts
  // of one text (an empty field counts as the empty text).
  static bool sameKey(const Value& a, const Value& b);
  // n + 1 exchanges, n = Int(u * 7 + 1), each of two positions Int(count * u).
  static void shuffle(std::array<QString, 5>& choices, int lastChoice, const std::function<float()>& rnd);
  // The text before and after the first "＊" of a sentence.
  static std::array<QString, 2> splitSentence(const QString& sentence);

  int currentRecord = 0;
  Value rightAnswer;
  QString questionSentence;
  std::array<QString, 5> choices{};
  int lastChoice = -1;

 private:
  std::vector<Record> records_;
  std::vector<int> asked_;
};
