#include "records/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <cmath>

#include "questions/fieldreader.h"

namespace recordfile {

namespace {

// A record is one short line; anything past the first few kilobytes is
// ignored anyway, so a huge file cannot stall registration.
constexpr qint64 kReadBytes = 4096;

// The record's text: a UTF-8 byte order mark (an editor's artefact before
// the digits) is skipped, a UTF-16 file with its mark is read as UTF-16, and
// anything else is code page 932 like every data file.
QString recordText(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return decodeCp932(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
  if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
  return decodeCp932(bytes);
}

bool isDirectionMark(char16_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool isAsciiAlnum(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// True when the file holds all six fields of a record.
bool holdsWholeRecord(const QString& file) {
  QFile f(file);
  if (!QFileInfo(f).isFile() || !f.open(QIODevice::ReadOnly)) return false;
  std::array<int, 7> probe{};
  return decode(f.read(kReadBytes), probe) == 6;
}

// Keeps the file about to be replaced as file.bak (or .bak2 .. .bak99, never
// over an earlier copy) unless it holds a whole record. A copy where it can
// be read; otherwise (a folder, no read permission) the file itself is moved
// aside. False when no copy could be kept.
bool keepIncompleteRecord(const QString& file) {
  const QFileInfo info(file);
  if (!info.exists() || holdsWholeRecord(file)) return true;
  for (int n = 1; n <= 99; ++n) {
    const QString copy = file + QStringLiteral(".bak") + (n == 1 ? QString() : QString::number(n));
    const QFileInfo copyInfo(copy);
    if (copyInfo.exists() || copyInfo.isSymLink()) continue;
    if (info.isFile() && QFile::copy(file, copy)) return true;
    if (QFileInfo::exists(copy)) continue;
    return QDir().rename(file, copy);
  }
  return false;
}

}  // namespace

QByteArray encode(const std::array<int, 7>& kiroku) {
  QByteArray line;
  for (std::size_t i = 0; i < kFileOrder.size(); ++i) {
    if (i > 0) line += ',';
    line += QByteArray::number(kiroku[kFileOrder[i]]);
  }
  line += "\r\n";
  return line;
}

int decode(const QByteArray& bytes, std::array<int, 7>& kiroku, bool* damaged) {
  if (damaged) *damaged = false;
  FieldReader reader(recordText(bytes));
  if (reader.atEnd()) return 0;
  int read = 0;
  for (int position : kFileOrder) {
    Field field;
    if (!reader.next(field)) break;
    double v = 0.0;
    const QString text = field.text.trimmed();
    const bool number = text.isEmpty() || readsAsNumber(text, &v);
    const double whole = std::nearbyint(v);
    if (!number || !(std::fabs(whole) <= std::numeric_limits<int>::max())) {
      if (damaged) *damaged = true;
      break;
    }
    kiroku[position] = static_cast<int>(whole);
    ++read;
  }
  return read;
}

QString nameProblem(const QString& userName) {
  const qsizetype n = userName.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = userName[i];
    if (c == u'/' || c == u'\\') return QStringLiteral("名前に「/」や「\\」は使えません。");
    if (c.category() == QChar::Other_Control) return QStringLiteral("名前に改行やタブなどの制御文字は使えません。");
    if (c.isHighSurrogate() && i + 1 < n && userName[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (c.isSurrogate())
      return QStringLiteral("名前に文字として読めない部分（対になっていないサロゲート）があります。");
    if (isDirectionMark(c.unicode())) return QStringLiteral("名前に文字の向きを変える見えない記号は使えません。");
  }
  if (QFile::encodeName(userName + QStringLiteral(".dat")).size() + kSaveSuffixBytes > kMaxFileNameBytes)
    return QStringLiteral("名前が長すぎます。もっと短い名前にしてください。");
  return {};
}

QString path(const QString& appDir, const QString& userName) { return appDir + userName + QStringLiteral(".dat"); }

int removeStaleTemporaries(const QString& appDir, const QString& userName) {
  if (!nameProblem(userName).isEmpty()) return 0;
  // QSaveFile names its temporary file after the record: name.dat + "." + six
  // letters or digits. No record, kept copy or other learner's file has
  // that shape, as every other file of the folder ends in ".dat" or ".bak".
  const QString prefix = userName + QStringLiteral(".dat.");
  QDir dir(appDir);
  int removed = 0;
  const auto entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    if (entry.size() != prefix.size() + 6 || !entry.startsWith(prefix)) continue;
    bool shape = true;
    for (qsizetype i = prefix.size(); i < entry.size(); ++i) shape = shape && isAsciiAlnum(entry[i]);
    if (shape && dir.remove(entry)) ++removed;
  }
  return removed;
}

LoadResult read(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku, QString* problem) {
  auto fail = [problem](LoadResult result, const QString& why) {
    if (problem) *problem = why;
    return result;
  };
  const QString bad = nameProblem(userName);
  if (!bad.isEmpty()) return fail(LoadResult::Unreadable, bad);
  const QFileInfo info(path(appDir, userName));
  if (!info.exists()) return LoadResult::Missing;
  if (info.isDir()) return fail(LoadResult::Unreadable, QStringLiteral("ファイルではなくフォルダになっています。"));
  // A pipe or a device would block or never end: only plain files are read.
  if (!info.isFile()) return fail(LoadResult::Unreadable, QStringLiteral("ふつうのファイルではありません。"));
  QFile file(info.filePath());
  if (!file.open(QIODevice::ReadOnly))
    return fail(LoadResult::Unreadable, info.isReadable() ? QStringLiteral("ファイルを開けません。")
                                                          : QStringLiteral("読み取りが許可されていません。"));
  const QByteArray bytes = file.read(kReadBytes);
  file.close();
  bool damaged = false;
  const int read = decode(bytes, kiroku, &damaged);
  if (read == 6) return LoadResult::Loaded;
  if (read == 0)
    return fail(LoadResult::Empty, bytes.isEmpty() ? QStringLiteral("ファイルが空です。")
                                                   : QStringLiteral("成績の数字が見つかりません（形式が違います）。"));
  if (damaged)
    return fail(LoadResult::Damaged, QString::number(read + 1) + QStringLiteral("番目の項目が数字として読めません。"));
  return LoadResult::Short;
}

LoadResult load(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku, QString* problem) {
  removeStaleTemporaries(appDir, userName);
  return read(appDir, userName, kiroku, problem);
}

bool save(const QString& appDir, const QString& userName, const std::array<int, 7>& kiroku, QString* error,
          const std::function<void()>& beforeCommit) {
  const QString problem = nameProblem(userName);
  if (!problem.isEmpty()) {
    if (error) *error = problem;
    return false;
  }
  removeStaleTemporaries(appDir, userName);
  const QString target = path(appDir, userName);
  if (!keepIncompleteRecord(target)) {
    if (error) *error = QStringLiteral("元のファイルの写し（.bak）を残せないため、上書きしませんでした。");
    return false;
  }
  QSaveFile file(target);
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
