#include "chapter3/idiomsbank.h"

#include <QHash>
#include <QSet>
#include <algorithm>

#include "questions/questionfile.h"
#include "questions/quizrules.h"

namespace {

QString shown(const QString& s) { return quoteField(s); }

// Characters that make up the words of a phrase a hint must not repeat:
// kanji (with 々) and katakana (with ー). Runs of kana between them are the
// grammar every phrase and hint share (を, する, の).
bool isWordChar(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) || c == u'々' ||
         (c >= 0x30A1 && c <= 0x30FA) || c == u'ー';
}

// The first word of two or more kanji or katakana of the phrase that the
// meaning repeats (「他人」 of 「赤の他人」 in 「まったくの他人。」); empty when
// there is none. Every longer repeated run holds a repeated pair, so pairs
// of neighbours are enough.
QString repeatedWord(const QString& phrase, const QString& meaning) {
  for (qsizetype i = 0; i + 1 < phrase.size(); ++i) {
    if (!isWordChar(phrase[i].unicode()) || !isWordChar(phrase[i + 1].unicode())) continue;
    if (!meaning.contains(QStringView(phrase).sliced(i, 2))) continue;
    // Name the whole run the meaning repeats.
    qsizetype end = i + 2;
    while (end < phrase.size() && isWordChar(phrase[end].unicode()) &&
           meaning.contains(QStringView(phrase).sliced(i, end + 1 - i)))
      ++end;
    return phrase.mid(i, end - i);
  }
  return {};
}

}  // namespace

std::vector<FileProblem> IdiomsBank::read(const QByteArray& bytes, std::vector<Record>* records, int* ignoredFrom) {
  std::vector<FileProblem> problems;
  FieldReader reader(decodeQuestionText(bytes, &problems));
  records->clear();
  if (ignoredFrom) *ignoredFrom = 0;
  int ignored = 0;
  int group1 = 0;
  int group2 = 0;
  QSet<QString> keys;
  std::vector<Field> f;
  while (!reader.atEnd()) {
    const int got = readRecord(reader, f, 5);
    const int line = f[0].line;
    if (f[0].text.isEmpty()) {
      // An empty first field ends the bank; say so when anything follows.
      const bool more = !reader.atEnd() ||
                        std::any_of(f.begin() + 1, f.begin() + got, [](const Field& x) { return !x.text.isEmpty(); });
      if (more) ignored = line;
      if (ignoredFrom) *ignoredFrom = ignored;
      break;
    }
    if (auto end = endOfRecords(got, 5, QStringLiteral("グループ,\"問題文\",\"慣用句\",\"見出し\",\"意味\""),
                                records->size(), kMaxRecords, line)) {
      problems.push_back(*end);
      break;
    }
    int group = -1;
    if (!wholeIn(f[0], 0, 2, &group))
      problems.push_back({line, QStringLiteral("1番目の項目（グループ）は 0、1、2 のどれかでなければなりません：") +
                                    quoteField(f[0].text)});
    checkControls(f[1], QStringLiteral("2番目の項目（問題文）"), problems);
    checkControls(f[2], QStringLiteral("3番目の項目（慣用句）"), problems);
    if (group == 1) ++group1;
    if (group == 2) ++group2;
    Record r = fromFields<Record>(line, f);
    if (!r.key.asText().isEmpty()) keys.insert(r.key.asText());
    records->push_back(std::move(r));
  }
  // Too few records may come from an empty first field that ended the bank
  // early: say where.
  const QString note = ignored > 0
                           ? QStringLiteral("（") + QString::number(ignored) +
                                 QStringLiteral("行目の1番目の項目が空なので、そこから後は読み込まれていません）")
                           : QString();
  requireQuizLevels(problems, {group1, group2}, {QStringLiteral("グループ1の問題"), QStringLiteral("グループ2の問題")},
                    note);
  if (problems.empty() && keys.size() < kOptions)
    problems.push_back({0, QStringLiteral("見出し（4番目の項目）の違う問題が") + QString::number(keys.size()) +
                               QStringLiteral("種類しかありません。選択肢を作るには") + QString::number(kOptions) +
                               QStringLiteral("種類以上必要です。") + note});
  return problems;
}

std::vector<FileProblem> IdiomsBank::warnings(const std::vector<Record>& records, int ignoredFrom,
                                              const QuestionBoxes& fits) {
  std::vector<FileProblem> found;
  QHash<QString, const Record*> firstOfKey;
  for (const Record& r : records) {
    const QString key = r.key.asText();
    if (!key.isEmpty()) {
      const Record* first = firstOfKey.value(key, nullptr);
      if (!first) {
        firstOfKey.insert(key, &r);
      } else if (first->phrase.asText() != r.phrase.asText() || first->meaning != r.meaning) {
        found.push_back({r.line, QStringLiteral("見出し") + shown(key) + QStringLiteral("が") +
                                     QString::number(first->line) +
                                     QStringLiteral("行目と同じなのに、慣用句か意味が違います。")});
      }
    }
    if (r.sentence.asText().endsWith(u'。'))
      found.push_back({r.line, QStringLiteral("問題文が「。」で終わっています。画面では後に「") + kBlank +
                                   QStringLiteral("」が付きます。")});
    if (r.phrase.asText().isEmpty()) found.push_back({r.line, QStringLiteral("3番目の項目（慣用句）が空です。")});
    if (!fits.sentence(r.sentence.asText() + kBlank))
      found.push_back({r.line, QStringLiteral("問題文が長すぎて画面に収まりません。")});
    if (!fits.option(r.phrase.asText()))
      found.push_back({r.line, QStringLiteral("慣用句") + shown(r.phrase.asText()) +
                                   QStringLiteral("が長すぎて選択ボタンに収まりません。")});
    const QString word = repeatedWord(r.phrase.asText(), r.meaning);
    if (!word.isEmpty())
      found.push_back({r.line, QStringLiteral("意味（ヒント）に慣用句の言葉「") + word +
                                   QStringLiteral("」が入っています。意味ではなく文字で答えが選べてしまいます。")});
    const auto lines = splitMeaning(r.meaning);
    if (!fits.meaning(lines[0]) || !fits.meaning(lines[1]))
      found.push_back({r.line, QStringLiteral("意味が長すぎて2行に収まりません。")});
  }
  if (ignoredFrom > 0) found.push_back(ignoredWarning(ignoredFrom));
  return found;
}

FileProblem IdiomsBank::ignoredWarning(int line) {
  return {line, QStringLiteral("1番目の項目が空なので、この行から後の問題は読み込まれません。")};
}

std::vector<FileProblem> IdiomsBank::check(const QByteArray& bytes, const QuestionBoxes& fits,
                                           std::vector<FileProblem>* warnings, int* count) const {
  std::vector<Record> records;
  int ignoredFrom = 0;
  std::vector<FileProblem> problems = read(bytes, &records, &ignoredFrom);
  *count = static_cast<int>(records.size());
  if (problems.empty())
    *warnings = IdiomsBank::warnings(records, ignoredFrom, fits);
  else if (ignoredFrom > 0)
    warnings->push_back(ignoredWarning(ignoredFrom));
  return problems;
}

std::vector<FileProblem> IdiomsBank::loadBytes(const QByteArray& bytes) {
  auto read = [](const QByteArray& b, std::vector<Record>* records) { return IdiomsBank::read(b, records); };
  std::vector<FileProblem> problems = readRecords(bytes, read, records_);
  if (problems.empty()) lastRecord = static_cast<int>(records_.size()) - 1;
  return problems;
}

int IdiomsBank::drawUpTo(int m, float u) {
  const float v = static_cast<float>(m + 1) * u + 1.0f;
  return std::clamp(static_cast<int>(v) - 1, 0, m);
}

void IdiomsBank::drawQuiz(const std::function<float()>& rnd) {
  for (int j = 0; j <= lastRecord; ++j) Used[static_cast<std::size_t>(j)] = 0;
  for (int i = 1; i <= quiz::kQuestionsPerQuiz; ++i) {
    for (;;) {
      const int k = drawUpTo(lastRecord, rnd());
      const auto r = static_cast<std::size_t>(k);
      if (Used[r] == 1) continue;
      Row& row = quizRows[static_cast<std::size_t>(i)];
      const Record& drawn = record(k);
      row = {drawn.group, drawn.sentence, drawn.phrase, drawn.key, drawn.meaning};
      const double group = row.group.asNumber();
      if (i > quiz::kLevelOneQuestions && group != 2) continue;
      if (i <= quiz::kLevelOneQuestions && group != 1) continue;
      Used[r] = 1;
      break;
    }
  }
}

void IdiomsBank::assemble(int n, const std::function<float()>& rnd) {
  choices.fill(QString());
  std::array<QString, 9> key{};
  // Which options are taken: a phrase may be empty text, so emptiness alone
  // cannot tell a free option from a taken one.
  std::array<bool, kOptions> taken{};
  const int right = drawUpTo(kOptions - 1, rnd());
  rightOption = static_cast<std::int16_t>(right);
  const Row& row = quizRows[static_cast<std::size_t>(n)];
  choices[static_cast<std::size_t>(right)] = row.phrase.asText();
  key[static_cast<std::size_t>(right)] = row.key.asText();
  taken[static_cast<std::size_t>(right)] = true;
  for (int j = 1; j < kOptions; ++j) {
    int r = 0;
    do {
      r = drawUpTo(lastRecord, rnd());
    } while (std::find(key.begin(), key.begin() + kOptions, record(r).key.asText()) != key.begin() + kOptions);
    std::size_t s = 0;
    do {
      s = static_cast<std::size_t>(drawUpTo(kOptions - 1, rnd()));
    } while (taken[s]);
    key[s] = record(r).key.asText();
    choices[s] = record(r).phrase.asText();
    taken[s] = true;
  }
}

std::array<QString, 2> IdiomsBank::splitMeaning(const QString& meaning) {
  if (meaning.size() > 27) return {meaning.left(26), meaning.mid(26)};
  return {meaning, QString()};
}
