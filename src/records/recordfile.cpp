#include "records/recordfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>
#include <limits>

#include "chapter1/fieldreader.h"
#include "startup/texts.h"

namespace recordfile {

QByteArray encode(const std::array<int, 7>& kiroku) {
  QByteArray line;
  for (std::size_t i = 0; i < kFileOrder.size(); ++i) {
    if (i > 0) line += ',';
    line += QByteArray::number(kiroku[kFileOrder[i]]);
  }
  line += "\r\n";
  return line;
}

int decode(const QByteArray& bytes, std::array<int, 7>& kiroku) {
  FieldReader reader(decodeCp932(bytes));
  int read = 0;
  for (int position : kFileOrder) {
    Field field;
    if (!reader.next(field)) break;
    double v = 0.0;
    if (!field.text.isEmpty() && !readsAsNumber(field.text.trimmed(), &v)) break;
    const double whole = std::nearbyint(v);
    if (!(std::fabs(whole) <= std::numeric_limits<int>::max())) break;
    kiroku[position] = static_cast<int>(whole);
    ++read;
  }
  return read;
}

QString nameProblem(const QString& userName) {
  if (userName == QStringLiteral(".") || userName == QStringLiteral(".."))
    return QStringLiteral("「.」や「..」は名前に使えません。");
  for (QChar c : userName) {
    if (c == u'/' || c == u'\\') return QStringLiteral("名前に「/」や「\\」は使えません。");
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return QStringLiteral("名前に制御文字は使えません。");
  }
  const QString file = userName + QStringLiteral(".dat");
  if (QFile::encodeName(file).size() > 255) return QStringLiteral("名前が長すぎます。");
  return {};
}

QString path(const QString& appDir, const QString& userName) { return appDir + userName + QStringLiteral(".dat"); }

LoadResult load(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku) {
  if (!nameProblem(userName).isEmpty()) return LoadResult::Failed;
  QFile file(path(appDir, userName));
  if (!file.exists()) return LoadResult::Missing;
  if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) return LoadResult::Failed;
  // A record is one short line; anything past the first few kilobytes is
  // ignored anyway, so a huge file cannot stall registration.
  const QByteArray bytes = file.read(4096);
  file.close();
  return decode(bytes, kiroku) == 6 ? LoadResult::Loaded : LoadResult::Failed;
}

bool save(const QString& appDir, const QString& userName, const std::array<int, 7>& kiroku, QString* error,
          const std::function<void()>& beforeCommit) {
  const QString problem = nameProblem(userName);
  if (!problem.isEmpty()) {
    if (error) *error = problem;
    return false;
  }
  QSaveFile file(path(appDir, userName));
  const QByteArray line = encode(kiroku);
  bool written = file.open(QIODevice::WriteOnly) && file.write(line) == line.size() && file.flush();
  if (written && beforeCommit) beforeCommit();
  written = written && file.commit();
  if (!written) {
    file.cancelWriting();
    if (error) *error = QStringLiteral("フォルダに書き込めないか、ディスクがいっぱいです。");
  }
  return written;
}

}  // namespace recordfile
