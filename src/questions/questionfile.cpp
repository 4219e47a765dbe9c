#include "questions/questionfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cmath>

#include "questions/fieldreader.h"

std::vector<FileProblem> readQuestionFile(const QString& path, QByteArray* bytes) {
  bytes->clear();
  const QFileInfo info(path);
  if (!info.exists()) return {{0, QStringLiteral("ファイルが見つかりません。")}};
  // A pipe or a device would block or never end: only plain files are read.
  if (!info.isFile()) return {{0, QStringLiteral("ファイルを読み込めません（ふつうのファイルではありません）。")}};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {{0, QStringLiteral("ファイルを読み込めません。")}};
  const QString tooLarge = QStringLiteral("ファイルが大きすぎます（") +
                           QString::number(kMaxQuestionFileBytes / (1024 * 1024)) + QStringLiteral(" MiB まで）。");
  if (file.size() > kMaxQuestionFileBytes) return {{0, tooLarge}};
  // The size a file reports can be wrong (it may grow meanwhile): read one
  // byte past the limit to be sure.
  QByteArray read = file.read(kMaxQuestionFileBytes + 1);
  if (read.size() > kMaxQuestionFileBytes) return {{0, tooLarge}};
  if (file.error() != QFileDevice::NoError) return {{0, QStringLiteral("ファイルを読み込めません。")}};
  *bytes = std::move(read);
  return {};
}

namespace {

// True when the bytes hold a byte above 0x7F: every byte below it is the
// same ASCII character in code page 932.
bool hasHighByte(const char* begin, const char* end) {
  for (const char* p = begin; p != end; ++p)
    if (static_cast<unsigned char>(*p) >= 0x80) return true;
  return false;
}

}  // namespace

QString decodeQuestionText(const QByteArray& bytes, std::vector<FileProblem>* problems) {
  // Stateless: a lead byte cut off by the end of the file is an error too.
  QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
  QString text = decoder(bytes);
  if (!decoder.hasError() || !problems) return text;
  // Rare: find the lines that hold the bad bytes. CR and LF are never part
  // of a two-byte character, so the file splits into lines as bytes; only
  // lines with bytes above 0x7F can be at fault.
  const char* data = bytes.constData();
  const qsizetype n = bytes.size();
  int line = 1;
  qsizetype start = 0;
  QStringDecoder lineDecoder("windows-31j", QStringConverter::Flag::Stateless);
  for (qsizetype i = 0; i <= n; ++i) {
    const bool end = i == n;
    if (!end && data[i] != '\r' && data[i] != '\n') continue;
    if (hasHighByte(data + start, data + i)) {
      lineDecoder.resetState();
      const QString part = lineDecoder.decode(QByteArrayView(data + start, i - start));
      if (lineDecoder.hasError())
        problems->push_back({line, QStringLiteral("Shift_JIS（コードページ932）として読めない文字があります。")});
    }
    if (end) break;
    if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
    ++line;
    start = i + 1;
  }
  if (problems->empty())
    problems->push_back({0, QStringLiteral("Shift_JIS（コードページ932）として読めない文字があります。")});
  return text;
}

QString describeProblems(const QString& fileName, const std::vector<FileProblem>& problems, int most) {
  QString text =
      QStringLiteral("問題ファイル「") + fileName + QStringLiteral("」に問題があるため、この章を始められません。\n");
  int shown = 0;
  for (const FileProblem& p : problems) {
    if (shown == most) {
      text += QStringLiteral("ほかに") + QString::number(problems.size() - static_cast<std::size_t>(most)) +
              QStringLiteral("件あります。\n");
      break;
    }
    text += p.line > 0 ? QString::number(p.line) + QStringLiteral("行目：") + p.message + u'\n' : p.message + u'\n';
    ++shown;
  }
  return text.trimmed();
}

QString showControls(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || u == 0x061C ||
                         u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    if (!control) {
      shown += c;
    } else if (u == u'\n') {
      shown += QStringLiteral("\\n");
    } else if (u == u'\r') {
      shown += QStringLiteral("\\r");
    } else if (u == u'\t') {
      shown += QStringLiteral("\\t");
    } else if (u == 0) {
      shown += QStringLiteral("\\0");
    } else {
      shown += QStringLiteral("\\u{") + QString::number(u, 16).toUpper().rightJustified(4, u'0') + u'}';
    }
  }
  return shown;
}

QString reportLine(const QString& path, const FileProblem& problem) {
  return showControls(path) + u':' + QString::number(problem.line) + QStringLiteral(": ") +
         showControls(problem.message);
}

std::vector<FileProblem> loadQuestionFile(const QString& path, ParseFn parse, QuestionColumns& columns, int* count) {
  QByteArray bytes;
  std::vector<FileProblem> problems = readQuestionFile(path, &bytes);
  if (!problems.empty()) return problems;
  return parse(bytes, columns, count);
}

FileProblem tooMany(int line, int most) {
  return {line,
          QStringLiteral("問題が多すぎます。") + QString::number(most) + QStringLiteral("問までにしてください。")};
}

FileProblem tooFew(const QString& what, int have, int need, const QString& note) {
  return {0, what + QStringLiteral("が") + QString::number(have) + QStringLiteral("問しかありません。") +
                 QString::number(need) + QStringLiteral("問以上必要です。") + note};
}

int readRecord(FieldReader& reader, std::vector<Field>& f, int n) {
  f.assign(static_cast<std::size_t>(n), Field{});
  int got = 0;
  while (got < n && reader.next(f[static_cast<std::size_t>(got)])) ++got;
  return got;
}

bool wholeIn(const Field& f, int low, int high, int* out) {
  double v = 0.0;
  if (f.quoted || !readsAsNumber(f.text, &v) || v != std::floor(v) || v < low || v > high) return false;
  *out = static_cast<int>(v);
  return true;
}

void storeFiveFields(QuestionColumns& columns, std::size_t i, const Value& f1, const Value& f2, const Value& f3,
                     const Value& f4, const QString& f5) {
  columns.Mon1[i] = f1;
  columns.Mon2[i] = f2;
  columns.Mon5[i] = f3;
  columns.Mon3[i] = f4;
  columns.Mon4[i] = Value::ofText(f5);
}
