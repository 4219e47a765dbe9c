// kotobarion-report [--csv] [FOLDER]: a class overview of every learner
// record (name.dat) in FOLDER, by default the folder the program uses. Reads
// with the program's own record reader and changes nothing: no file is
// written, renamed or created and no lock is taken, so it can run while
// learners play. Prints an aligned table, or CSV with --csv. Exits 1 when
// the folder cannot be read, 2 on a wrong command line, 3 when the report
// cannot be written (a full disk), saying why on standard error.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "records/classreport.h"
#include "tools/qtnotes.h"

namespace {

const char kUsage[] =
    "使い方: kotobarion-report [--csv] [フォルダ]\n"
    "フォルダにある成績のファイル（名前.dat）を一覧にします。フォルダを省くと、\n"
    "コトバリオンが使うフォルダを読みます。--csv で CSV（UTF-8）にします。\n";

void print(const QString& text, std::FILE* to) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
}

}  // namespace

int main(int argc, char** argv) {
  quietQtNotes();
  // A file-size limit on the output fails the write instead of ending the
  // program unheard.
  std::signal(SIGXFSZ, SIG_IGN);
  QCoreApplication app(argc, argv);
  bool csv = false;
  QStringList folders;
  bool options = true;
  for (const QString& arg : QCoreApplication::arguments().mid(1)) {
    if (options && arg == QStringLiteral("--")) {
      options = false;
    } else if (options && arg == QStringLiteral("--csv")) {
      csv = true;
    } else if (options && (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))) {
      print(QString::fromUtf8(kUsage), stdout);
      return 0;
    } else if (options && arg.startsWith(u'-') && arg.size() > 1) {
      print(QStringLiteral("kotobarion-report: 知らないオプションです：") + arg + u'\n' + QString::fromUtf8(kUsage),
            stderr);
      return 2;
    } else {
      folders << arg;
    }
  }
  if (folders.size() > 1) {
    print(QStringLiteral("kotobarion-report: フォルダは1つだけ指定してください。\n") + QString::fromUtf8(kUsage),
          stderr);
    return 2;
  }
  const QString folder = folders.isEmpty() ? classreport::programFolder(QCoreApplication::applicationDirPath(),
                                                                        qEnvironmentVariable("XDG_DATA_HOME"),
                                                                        qEnvironmentVariable("HOME"))
                                           : folders.front();
  const QString problem = classreport::folderProblem(folder);
  if (!problem.isEmpty()) {
    print(QStringLiteral("kotobarion-report: ") + problem + u'\n', stderr);
    return 1;
  }
  const std::vector<classreport::Row> rows = classreport::read(folder);
  print(csv ? classreport::csv(rows) : classreport::table(rows), stdout);
  if (!csv && rows.empty())
    print(QStringLiteral("（このフォルダには成績のファイル「名前.dat」がまだありません：") + folder +
              QStringLiteral("）\n"),
          stdout);
  const QString failed = outputProblem();
  if (failed.isEmpty()) return 0;
  print(QStringLiteral("kotobarion-report: ") + failed + u'\n', stderr);
  return 3;
}
