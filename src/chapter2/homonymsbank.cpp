#include "chapter2/homonymsbank.h"

#include <QHash>
#include <algorithm>

#include "questions/questionfile.h"
#include "questions/quizrules.h"
#include "questions/texts.h"

namespace {

// A group key as text that tells a number from any text: the number 1 and
// the text "#1" are two groups.
QString keyText(const Value& v) { return (v.isNumber() ? QStringLiteral("#") : QStringLiteral("$")) + v.asText(); }

QString shown(const Value& v) { return quoteField(v.asText()); }

bool isKanji(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF);
}

// The first kanji of the answer that the sentence shows and that not every
// other candidate of the group has: the sentence gives the answer away
// (「映像を＊」 for 映す among 写す and 移す). Empty when there is none.
QString givenAway(const HomonymsBank::Record& r, const std::vector<const HomonymsBank::Record*>& group) {
  const QString answer = r.kanji.asText();
  for (QChar c : answer) {
    if (!isKanji(c.unicode()) || !r.sentence.contains(c)) continue;
    const bool shared = std::all_of(group.begin(), group.end(), [&](const HomonymsBank::Record* other) {
      return other == &r || other->kanji.asText().contains(c);
    });
    if (!shared) return QString(c);
  }
  return {};
}

// The first other record whose answer the sentence prints whole (「この薬は
// よく効く」 tells the answer of the 「きく」 question asked later in the same
// quiz). The first record of the file is never asked, so its sentence is
// never shown and its answer is never a question's: it takes no part.
// Null when there is none.
const HomonymsBank::Record* printedAnswer(const HomonymsBank::Record& r,
                                          const std::vector<HomonymsBank::Record>& records) {
  if (&r == &records.front()) return nullptr;
  for (auto other = records.begin() + 1; other != records.end(); ++other) {
    const QString kanji = other->kanji.asText();
    if (&*other != &r && !kanji.isEmpty() && kanji != r.kanji.asText() && r.sentence.contains(kanji)) return &*other;
  }
  return nullptr;
}

}  // namespace

std::vector<FileProblem> HomonymsBank::read(const QByteArray& bytes, std::vector<Record>* records) {
  std::vector<FileProblem> problems;
  FieldReader reader(decodeQuestionText(bytes, &problems));
  records->clear();
  int level1 = 0;
  int level2 = 0;
  QHash<QString, int> groupSize;
  std::vector<Field> f;
  while (!reader.atEnd()) {
    const int got = readRecord(reader, f, 5);
    const int line = f[0].line;
    if (auto end = endOfRecords(got, 5, QStringLiteral("レベル,グループ,\"かな\",\"漢字\",\"問題文\""), records->size(),
                                kMaxRecords, line)) {
      problems.push_back(*end);
      break;
    }
    int level = 0;
    if (!wholeIn(f[0], 1, 2, &level))
      problems.push_back(
          {line, QStringLiteral("1番目の項目（レベル）は 1 か 2 でなければなりません：") + quoteField(f[0].text)});
    if (!f[4].text.contains(u'＊'))
      problems.push_back({f[4].line, QStringLiteral("5番目の項目（問題文）に「＊」がありません。")});
    checkControls(f[2], QStringLiteral("3番目の項目（かな）"), problems);
    checkControls(f[3], QStringLiteral("4番目の項目（漢字）"), problems);
    checkControls(f[4], QStringLiteral("5番目の項目（問題文）"), problems);
    Record r = fromFields<Record>(line, f);
    if (++groupSize[keyText(r.key)] == kMaxGroup + 1)
      problems.push_back({f[1].line, QStringLiteral("グループ") + shown(r.key) + QStringLiteral("の問題が") +
                                         QString::number(kMaxGroup) + QStringLiteral("問を超えています。")});
    // The first record is never asked: only the later ones count.
    if (!records->empty() && level == 1) ++level1;
    if (!records->empty() && level == 2) ++level2;
    records->push_back(std::move(r));
  }
  // The first record is never asked: say so when the later ones are too few.
  requireQuizLevels(problems, {level1, level2},
                    {QStringLiteral("2行目からあとのレベル1の問題"), QStringLiteral("2行目からあとのレベル2の問題")},
                    QStringLiteral("（1行目の問題は出題されません）"));
  return problems;
}

std::vector<FileProblem> HomonymsBank::warnings(const std::vector<Record>& records, const QuestionBoxes& fits) {
  std::vector<FileProblem> found;
  QHash<QString, std::vector<const Record*>> groups;
  for (const Record& r : records) groups[keyText(r.key)].push_back(&r);
  for (const Record& r : records) {
    const std::vector<const Record*>& group = groups[keyText(r.key)];
    if (group.size() == 1)
      found.push_back({r.line, QStringLiteral("グループ") + shown(r.key) +
                                   QStringLiteral("の問題はこの1問だけです。選択肢が1つしか出ません。")});
    for (const Record* other : group) {
      if (other == &r) break;
      if (other->kanji.asText() == r.kanji.asText())
        found.push_back({r.line, QStringLiteral("同じグループに同じ漢字") + shown(r.kanji) + QStringLiteral("が") +
                                     QString::number(other->line) + QStringLiteral("行目にもあります。")});
    }
    const QString kanji = givenAway(r, group);
    if (!kanji.isEmpty())
      found.push_back(
          {r.line, QStringLiteral("問題文に答え") + shown(r.kanji) + QStringLiteral("の漢字「") + kanji +
                       QStringLiteral("」が入っています。ほかの選択肢にはない字なので答えがわかってしまいます。")});
    if (const Record* other = printedAnswer(r, records))
      found.push_back({r.line, QStringLiteral("問題文に") + QString::number(other->line) +
                                   QStringLiteral("行目の問題の答え") + shown(other->kanji) +
                                   QStringLiteral("が入っています。同じ回に出るとその答えがわかってしまいます。")});
    const auto parts = splitSentence(r.sentence);
    if (!fits.sentence(parts[0] + r.kana.asText() + parts[1]))
      found.push_back({r.line, QStringLiteral("問題文が長すぎて画面に収まりません。")});
    if (!fits.option(r.kanji.asText()))
      found.push_back(
          {r.line, QStringLiteral("漢字") + shown(r.kanji) + QStringLiteral("が長すぎて選択ボタンに収まりません。")});
  }
  return found;
}

std::vector<FileProblem> HomonymsBank::check(const QByteArray& bytes, const QuestionBoxes& fits,
                                             std::vector<FileProblem>* warnings, int* count) const {
  std::vector<Record> records;
  std::vector<FileProblem> problems = read(bytes, &records);
  *count = static_cast<int>(records.size());
  if (problems.empty()) *warnings = HomonymsBank::warnings(records, fits);
  return problems;
}

std::vector<FileProblem> HomonymsBank::loadBytes(const QByteArray& bytes) {
  std::vector<FileProblem> problems = readRecords(bytes, &HomonymsBank::read, records_);
  if (problems.empty()) lastRecord = static_cast<int>(records_.size()) - 1;
  return problems;
}

int HomonymsBank::draw(int q, const std::function<float()>& rnd) {
  const double level = q > quiz::kLevelOneQuestions ? 2 : 1;
  auto levelOf = [this](int i) { return static_cast<std::int16_t>(record(i).level.asNumber()); };
  bool left = false;
  for (int i = 1; i <= lastRecord && !left; ++i) left = Used[static_cast<std::size_t>(i)] == 0 && levelOf(i) == level;
  if (!left) {
    // Every record of the level has been drawn since the marks were last
    // cleared: free those not asked in this quiz.
    for (int i = 1; i <= lastRecord; ++i)
      if (levelOf(i) == level && std::find(asked_.begin(), asked_.end(), i) == asked_.end())
        Used[static_cast<std::size_t>(i)] = 0;
  }
  for (;;) {
    const int r = texts::pick(rnd(), lastRecord);
    const auto i = static_cast<std::size_t>(r);
    if (Used[i] != 0) continue;
    Used[i] = 1;
    currentRecord = r;
    if (levelOf(r) != level) continue;
    rightAnswer = record(r).kanji;
    questionSentence = record(r).sentence;
    asked_.push_back(r);
    return r;
  }
}

void HomonymsBank::deal(int q, const std::function<float()>& rnd) {
  const int r = draw(q, rnd);
  const std::vector<QString> list = candidates(record(r).key);
  // A group holds at most five records in every accepted file.
  const int j = static_cast<int>(std::min<std::size_t>(list.size(), choices.size()));
  for (int i = 0; i < j; ++i) choices[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)];
  lastChoice = j - 1;
  shuffle(choices, lastChoice, rnd);
  rightOption = -1;
  for (int i = 0; i <= lastChoice; ++i)
    if (choices[static_cast<std::size_t>(i)] == rightAnswer.asText()) rightOption = static_cast<std::int16_t>(i);
}

bool HomonymsBank::sameKey(const Value& a, const Value& b) { return keyText(a) == keyText(b); }

std::vector<QString> HomonymsBank::candidates(const Value& group) const {
  std::vector<QString> list;
  for (int i = 0; i <= lastRecord; ++i)
    if (sameKey(record(i).key, group)) list.push_back(record(i).kanji.asText());
  return list;
}

void HomonymsBank::shuffle(std::array<QString, 5>& choices, int lastChoice, const std::function<float()>& rnd) {
  const int count = lastChoice + 1;
  auto index = [&] { return std::min(static_cast<int>(static_cast<float>(count) * rnd()), lastChoice); };
  const int n = std::min(static_cast<int>(rnd() * 7.0f + 1.0f), 7);
  for (int k = 0; k <= n; ++k) {
    const int a = index();
    const int b = index();
    std::swap(choices[static_cast<std::size_t>(a)], choices[static_cast<std::size_t>(b)]);
  }
}

std::array<QString, 2> HomonymsBank::splitSentence(const QString& sentence) {
  const qsizetype p = sentence.indexOf(u'＊');
  if (p < 0) return {sentence, QString()};
  return {sentence.left(p), sentence.mid(p + 1)};
}
