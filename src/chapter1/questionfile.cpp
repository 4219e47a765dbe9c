#include "chapter1/questionfile.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

std::vector<FileProblem> readQuestionFile(const QString& path, QByteArray* bytes) {
  QFile file(path);
  if (!file.exists()) return {{0, QStringLiteral("ファイルが見つかりません。")}};
  if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
    return {{0, QStringLiteral("ファイルを読み込めません。")}};
  // 901 records of a few hundred bytes: anything far larger is no question file.
  if (file.size() > 4 * 1024 * 1024) return {{0, QStringLiteral("ファイルが大きすぎます。")}};
  *bytes = file.readAll();
  return {};
}

std::vector<FileProblem> loadQuestionFile(const QString& path, ParseFn parse, QuestionColumns& columns, int* count) {
  QByteArray bytes;
  std::vector<FileProblem> problems = readQuestionFile(path, &bytes);
  if (!problems.empty()) return problems;
  return parse(bytes, columns, count);
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
