#include "chapter1/bodyidiomsbank.h"

#include <cmath>

#include "questions/questionfile.h"
#include "questions/quizrules.h"
#include "questions/texts.h"

const std::array<QString, 13>& BodyIdiomsBank::words() {
  static const std::array<QString, 13> w = {QStringLiteral("頭"),
                                            QStringLiteral("目"),
                                            QStringLiteral("耳"),
                                            QStringLiteral("鼻"),
                                            QStringLiteral("口"),
                                            QStringLiteral("歯"),
                                            QStringLiteral("舌"),
                                            QStringLiteral("手"),
                                            QStringLiteral("胸"),
                                            QStringLiteral("腕"),
                                            QStringLiteral("腹"),
                                            QStringLiteral("足"),
                                            QString()};
  return w;
}

std::vector<FileProblem> BodyIdiomsBank::read(const QByteArray& bytes, std::vector<Record>* out) {
  std::vector<FileProblem> problems;
  FieldReader reader(decodeQuestionText(bytes, &problems));
  std::vector<Record> records;
  records.reserve(kMaxRecords);
  int level1 = 0;
  int level2 = 0;
  while (!reader.atEnd()) {
    std::array<Field, 4> f;
    int got = 0;
    while (got < 4 && reader.next(f[static_cast<std::size_t>(got)])) ++got;
    const int line = f[0].line;
    if (auto end = endOfRecords(got, 4, QStringLiteral("レベル,正解の番号,\"問題文\",\"意味\""), records.size(),
                                kMaxRecords, line)) {
      problems.push_back(*end);
      break;
    }
    int level = 0;
    int answer = 0;
    if (!wholeIn(f[0], 1, 2, &level))
      problems.push_back(
          {line, QStringLiteral("1番目の項目（レベル）は 1 か 2 でなければなりません：") + quoteField(f[0].text)});
    if (!wholeIn(f[1], 1, 12, &answer))
      problems.push_back(
          {f[1].line,
           QStringLiteral("2番目の項目（正解の番号）は 1 から 12 の数でなければなりません：") + quoteField(f[1].text)});
    if (!f[2].text.contains(u'＊'))
      problems.push_back({f[2].line, QStringLiteral("3番目の項目（問題文）に「＊」がありません。")});
    checkControls(f[2], QStringLiteral("3番目の項目（問題文）"), problems);
    if (level == 1) ++level1;
    if (level == 2) ++level2;
    records.push_back({FieldReader::toValue(std::move(f[0])), FieldReader::toValue(std::move(f[1])),
                       FieldReader::toValue(std::move(f[2])), Value::ofText(std::move(f[3].text))});
  }
  requireQuizLevels(problems, {level1, level2}, {QStringLiteral("レベル1の問題"), QStringLiteral("レベル2の問題")});
  if (problems.empty()) *out = std::move(records);
  return problems;
}

std::vector<FileProblem> BodyIdiomsBank::warnings(const QByteArray& bytes, const QuestionBoxes& fits) {
  std::vector<FileProblem> found;
  FieldReader reader(decodeQuestionText(bytes, nullptr));
  std::vector<Field> f;
  while (!reader.atEnd() && readRecord(reader, f, 4) == 4) {
    // All twelve words are offered: a hint holding one of them points at it
    // or misleads.
    for (const QString& word : words()) {
      if (!word.isEmpty() && f[3].text.contains(word)) {
        found.push_back({f[3].line, QStringLiteral("意味（ヒント）に選択肢の言葉「") + word +
                                        QStringLiteral("」が入っています。答えの手がかりや誤解のもとになります。")});
        break;
      }
    }
    if (!fits.sentence(f[2].text)) found.push_back({f[2].line, QStringLiteral("問題文が長すぎて画面に収まりません。")});
    const std::array<QString, 2> lines = splitMeaning(f[3].text);
    if (!fits.meaning(lines[0]) || !fits.meaning(lines[1]))
      found.push_back({f[3].line, QStringLiteral("意味が長すぎて2行に収まりません。")});
  }
  return found;
}

std::vector<FileProblem> BodyIdiomsBank::check(const QByteArray& bytes, const QuestionBoxes& fits,
                                               std::vector<FileProblem>* warnings, int* count) const {
  std::vector<Record> records;
  std::vector<FileProblem> problems = read(bytes, &records);
  *count = static_cast<int>(records.size());
  if (problems.empty()) *warnings = BodyIdiomsBank::warnings(bytes, fits);
  return problems;
}

std::vector<FileProblem> BodyIdiomsBank::loadBytes(const QByteArray& bytes) {
  std::vector<FileProblem> problems = readRecords(bytes, &BodyIdiomsBank::read, records_);
  if (!problems.empty()) return problems;
  lastRecord = static_cast<int>(records_.size());
  for (int j = 1; j <= lastRecord; ++j) Used[static_cast<std::size_t>(j)] = 0;
  bodyParts = words();
  return {};
}

int BodyIdiomsBank::draw(int q, const std::function<float()>& rnd) {
  for (;;) {
    const int k = texts::pick(rnd(), lastRecord);
    const auto i = static_cast<std::size_t>(k);
    if (Used[i] != 0) continue;
    const double level = record(k).level.asNumber();
    if (q <= quiz::kLevelOneQuestions && level != 1) continue;
    if (q > quiz::kLevelOneQuestions && level != 2) continue;
    Used[i] = 1;
    rightOption = answerIndex(record(k).answer);
    return k;
  }
}

std::array<QString, 2> BodyIdiomsBank::splitMeaning(const QString& s) {
  std::array<QString, 2> lines{s, QString()};
  const auto L = s.size();
  if (L > 28) lines = {s.left(28), s.mid(28)};
  if (L >= 28 && s[27] == u'。') lines = {s.left(29), s.mid(29)};
  return lines;
}

std::int16_t BodyIdiomsBank::answerIndex(const Value& field2) {
  return static_cast<std::int16_t>(texts::roundHalfEven(Value::ofText(field2.asText()).asNumber() - 1.0));
}
