#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList filesIn(const QString& dir) {
  QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  names.sort();
  return names;
}

LearnerRecord slots6(int a, int b, int c, int d, int e, int f) { return {{a, b, c}, {d, e, f}, 0}; }

ToolRun runTool(const char* program, const QStringList& args, const std::function<void(QProcess&)>& setUp) {
  QProcess p;
  if (setUp) setUp(p);
  p.start(QString::fromUtf8(program), args);
  ToolRun run;
  const bool finished = p.waitForFinished(60000);
  EXPECT_TRUE(finished) << program;
  if (!finished) return run;
  run.exitCode = p.exitCode();
  run.out = QString::fromUtf8(p.readAllStandardOutput());
  run.err = QString::fromUtf8(p.readAllStandardError());
  return run;
}

::testing::AssertionResult holdsAll(const QString& text, const QStringList& parts) {
  QStringList missing;
  for (const QString& part : parts)
    if (!text.contains(part)) missing << part;
  if (missing.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "lacks 「" << missing.join(QStringLiteral("」「")).toStdString() << "」 in:\n"
                                       << text.toStdString();
}

void expectRefused(QuestionBank& bank, const Refusal& c) {
  const std::vector<FileProblem> problems = bank.loadBytes(c.bytes);
  ASSERT_FALSE(problems.empty()) << c.name;
  if (c.line > 0) {
    EXPECT_EQ(problems.front().line, c.line) << c.name;
  }
  const QString told = describeProblems(bank.fileName(), problems);
  EXPECT_TRUE(told.contains(c.says)) << c.name << ": " << told.toStdString();
}

bool warns(const std::vector<FileProblem>& warnings, int line, const QString& part) {
  return std::any_of(warnings.begin(), warnings.end(),
                     [&](const FileProblem& p) { return p.line == line && p.message.contains(part); });
}
