// kotobarion-check FILE...: checks question files ("体.txt", "同音.txt",
// "慣用句２.txt", told apart by their names) with the program's own reader,
// limits and fonts. Every problem that would refuse a file is printed as
// file:line: message; every warning (the program plays the file, but badly)
// as file:line: 注意：message; a file without problems as
// file: OK（count問、encoding[、注意n件]）. Exits 1 when any file has a problem,
// 2 on a wrong command line, 3 when the report cannot be written (a full
// disk), saying why on standard error.
#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>
#include <array>
#include <csignal>
#include <cstdio>
#include <utility>

#include "chapter1/bodyidiomsbank.h"
#include "chapter2/homonymsbank.h"
#include "chapter3/idiomsbank.h"
#include "layout/fit.h"
#include "layout/layout.h"
#include "questions/questionfile.h"
#include "tools/qtnotes.h"

namespace {

void report(const QString& path, const FileProblem& p, const QString& prefix = QString()) {
  const QByteArray line = reportLine(path, {p.line, prefix + p.message}).toLocal8Bit() + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
}

// Problems and warnings of one file's bytes, by the kind its name tells;
// count is the number of records read.
std::vector<FileProblem> check(const QString& name, const QByteArray& bytes, std::vector<FileProblem>* warnings,
                               int* count) {
  const BodyIdiomsBank bodyIdioms;
  const HomonymsBank homonyms;
  const IdiomsBank idioms;
  // Each bank with the boxes its texts are measured in, made only for the file checked.
  const std::array<std::pair<const QuestionBank*, QuestionBoxes (*)()>, 3> banks = {
      {{&bodyIdioms, &fit::chapter1Boxes}, {&homonyms, &fit::chapter2Boxes}, {&idioms, &fit::chapter3Boxes}}};
  for (const auto& [bank, boxes] : banks)
    if (name == bank->fileName()) return bank->check(bytes, boxes(), warnings, count);
  return {{0, QStringLiteral("この名前の問題ファイルは調べられません（対応：体.txt、同音.txt、慣用句２.txt）。")}};
}

}  // namespace

int main(int argc, char** argv) {
  quietQtNotes();
  // A file-size limit on the output fails the write instead of ending the
  // program unheard.
  std::signal(SIGXFSZ, SIG_IGN);
  // Texts are measured with the program's fonts; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  layout::installFontSubstitutes();
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs("usage: kotobarion-check FILE...\n", stderr);
    return 2;
  }
  int found = 0;
  for (const QString& path : args) {
    QByteArray bytes;
    std::vector<FileProblem> problems = readQuestionFile(path, &bytes);
    std::vector<FileProblem> warnings;
    int count = 0;
    if (problems.empty()) problems = check(QFileInfo(path).fileName(), bytes, &warnings, &count);
    for (const FileProblem& p : problems) report(path, p);
    for (const FileProblem& w : warnings) report(path, w, QStringLiteral("注意："));
    found += static_cast<int>(problems.size());
    if (problems.empty()) {
      const QString ok = showControls(path) + QStringLiteral(": OK（") + QString::number(count) +
                         QStringLiteral("問、") + encodingName(questionEncoding(bytes));
      const QString tail = warnings.empty()
                               ? QStringLiteral("）\n")
                               : QStringLiteral("、注意") + QString::number(warnings.size()) + QStringLiteral("件）\n");
      std::fputs((ok + tail).toLocal8Bit().constData(), stdout);
    }
  }
  const QString failed = outputProblem();
  if (!failed.isEmpty()) {
    std::fputs((QStringLiteral("kotobarion-check: ") + failed + u'\n').toLocal8Bit().constData(), stderr);
    return 3;
  }
  return found == 0 ? 0 : 1;
}
