// kotobarion-check FILE...: checks question files with the program's own
// reader and limits, printing every problem as file:line: message.
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "chapter1/bank1.h"

namespace {

void report(const QString& path, const FileProblem& p) {
  const QByteArray line = reportLine(path, p).toLocal8Bit() + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs("usage: kotobarion-check FILE...\n", stderr);
    return 2;
  }
  int found = 0;
  for (const QString& path : args) {
    const QString name = QFileInfo(path).fileName();
    if (name != Bank1::kFileName) {
      report(path, {0, QStringLiteral("この種類の問題ファイルはまだ調べられません（対応：体.txt）。")});
      ++found;
      continue;
    }
    QByteArray bytes;
    if (const std::vector<FileProblem> unread = readQuestionFile(path, &bytes); !unread.empty()) {
      for (const FileProblem& p : unread) report(path, p);
      found += static_cast<int>(unread.size());
      continue;
    }
    QuestionColumns columns;
    int count = 0;
    const std::vector<FileProblem> problems = Bank1::parse(bytes, columns, &count);
    for (const FileProblem& p : problems) report(path, p);
    found += static_cast<int>(problems.size());
    if (problems.empty()) {
      const QString ok =
          showControls(path) + QStringLiteral(": OK（") + QString::number(count) + QStringLiteral("問）\n");
      std::fputs(ok.toLocal8Bit().constData(), stdout);
    }
  }
  return found == 0 ? 0 : 1;
}
