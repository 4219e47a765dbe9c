#include "records/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>

#include "questions/fieldreader.h"

namespace recordfile {

namespace {

// A record is one short line; anything past the first few kilobytes is
// ignored anyway, so a huge file cannot stall registration.
constexpr qint64 kReadBytes = 4096;
// The longest line a save writes: six numbers of up to eleven characters,
// five commas, CR LF.
constexpr qint64 kLongestLine = 6 * 11 + 5 + 2;
// Copies of an incomplete record go up to name.dat.bak999: ".bak999" is no
// longer than the temporary file's ".~XXXXX".
constexpr int kMaxCopies = 999;

// The record's text: a UTF-8 byte order mark (an editor's artefact before
// the digits) is skipped, a UTF-16 file with its mark is read as UTF-16, and
// anything else is code page 932 like every data file.
QString recordText(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return decodeCp932(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
  if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
  return decodeCp932(bytes);
}

bool isDirectionMark(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool isAsciiAlnum(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Characters that show nothing, or that split or join a name unseen: a name
// holding one looks like another name, or like no name at all.
bool isHiddenInName(char32_t c) {
  return c == 0x00AD || c == 0x034F || c == 0x180E || c == 0x200B || c == 0x200C || c == 0x2028 || c == 0x2029 ||
         (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF || (c >= 0xE0000 && c <= 0xE007F);
}

// True for a character that leaves a mark on the screen.
bool isVisible(char32_t c) {
  if (isHiddenInName(c) || isDirectionMark(c)) return false;
  switch (QChar::category(c)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
      return false;
    default:
      return true;
  }
}

bool isBlank(QChar c) { return c == u' ' || c == u'\u3000'; }

QByteArray contents(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// True when the file holds all six fields of a record.
bool holdsWholeRecord(const QString& file) {
  QFile f(file);
  if (!QFileInfo(f).isFile() || !f.open(QIODevice::ReadOnly)) return false;
  std::array<int, 7> probe{};
  return decode(f.read(kReadBytes), probe) == 6;
}

QString copyName(const QString& file, int n) {
  return file + QStringLiteral(".bak") + (n == 1 ? QString() : QString::number(n));
}

QString copiesFullProblem(const QString& fileName) {
  return QStringLiteral("写しの名前（「") + fileName + QStringLiteral(".bak」〜「") + fileName +
         QStringLiteral(".bak999」）がすべて使われているため、元のファイルを上書きできません。") +
         QStringLiteral("先生に古い写しを片づけてもらってください。");
}

enum class Copy { NotNeeded, Kept, AlreadyKept, NamesUsedUp, Failed, IsFolder };

// What keeping a copy of the file about to be replaced takes: none when it
// holds a whole record or a copy with the same bytes is already kept,
// otherwise a new file.bak (or .bak2 .. .bak999, never over an earlier
// copy). With make false nothing is written: the answer tells what a save
// would find.
Copy keepIncompleteRecord(const QString& file, bool make) {
  const QFileInfo info(file);
  if (!info.exists() || holdsWholeRecord(file)) return Copy::NotNeeded;
  if (info.isDir()) return Copy::IsFolder;
  const QByteArray bytes = contents(file);
  for (int n = 1; n <= kMaxCopies; ++n) {
    const QString copy = copyName(file, n);
    const QFileInfo copyInfo(copy);
    if (copyInfo.exists() || copyInfo.isSymLink()) {
      if (copyInfo.isFile() && copyInfo.size() == info.size() && contents(copy) == bytes) return Copy::AlreadyKept;
      continue;
    }
    if (!make) return Copy::Kept;
    if (QFile::copy(file, copy)) return Copy::Kept;
    // A partial copy is not a copy; the record itself is never moved.
    QFile::remove(copy);
    return Copy::Failed;
  }
  return Copy::NamesUsedUp;
}

QString copyProblem(Copy result, const QString& fileName) {
  switch (result) {
    case Copy::IsFolder:
      return QStringLiteral("「") + fileName +
             QStringLiteral("」がファイルではなくフォルダになっているため、そのままにして保存しませんでした。");
    case Copy::NamesUsedUp:
      return copiesFullProblem(fileName);
    case Copy::Failed:
      return QStringLiteral("元のファイルの写し（.bak）を作れなかったため（ディスクがいっぱいかもしれません）、") +
             QStringLiteral("元のファイルはそのままにして、上書きしませんでした。");
    default:
      return {};
  }
}

// The file a save writes: the record, or the file its symbolic link (or
// chain of links) leads to.
QString saveTarget(const QString& file) {
  const QFileInfo info(file);
  if (!info.isSymLink()) return file;
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// The program's own temporary file for `base`: base + ".~" + five letters or
// digits, a plain file holding at most one record line in the making. No
// person names a copy that way, and a file that holds anything else is not
// the program's.
bool isOwnTemporary(const QDir& dir, const QString& entry, const QString& base) {
  const QString prefix = base + QStringLiteral(".~");
  if (entry.size() != prefix.size() + 5 || !entry.startsWith(prefix)) return false;
  for (qsizetype i = prefix.size(); i < entry.size(); ++i)
    if (!isAsciiAlnum(entry[i])) return false;
  const QFileInfo info(dir.filePath(entry));
  if (info.isSymLink() || !info.isFile() || info.size() > kLongestLine) return false;
  for (char b : contents(info.filePath()))
    if (!((b >= '0' && b <= '9') || b == ',' || b == '-' || b == '\r' || b == '\n')) return false;
  return true;
}

int removeOwnTemporaries(const QString& file) {
  const QFileInfo info(file);
  const QDir dir = info.absoluteDir();
  int removed = 0;
  const auto entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (isOwnTemporary(dir, entry, info.fileName()) && QFile::remove(dir.filePath(entry))) ++removed;
  return removed;
}

QString errnoProblem(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ディスクがいっぱいです。");
    case EACCES:
    case EPERM:
      return QStringLiteral("フォルダに書き込む許可がありません。");
    case EROFS:
      return QStringLiteral("フォルダが読み取り専用のディスクにあります。");
    default:
      return QStringLiteral("書き込み中に問題が起きました（") + QString::fromLocal8Bit(std::strerror(error)) +
             QStringLiteral("）。");
  }
}

// Writes bytes to a new temporary file beside target, flushes it to the disk
// and renames it over target, so a crash or a full disk never leaves a
// truncated record. The record keeps its permissions.
bool replaceAtomically(const QString& target, const QByteArray& bytes, QString* error,
                       const std::function<void()>& beforeCommit) {
  const QByteArray targetName = QFile::encodeName(target);
  // A new record gets the permissions the user's umask gives new files; a
  // replaced one keeps its own.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  mode_t mode = 0666 & ~mask;
  struct stat st {};
  if (::stat(targetName.constData(), &st) == 0) mode = st.st_mode & 07777;
  QByteArray temporary;
  int fd = -1;
  int problem = EEXIST;
  static const char kAlnum[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100 && fd < 0 && problem == EEXIST; ++attempt) {
    temporary = targetName + ".~";
    for (int i = 0; i < 5; ++i) temporary += kAlnum[QRandomGenerator::global()->bounded(62)];
    fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    problem = fd < 0 ? errno : 0;
  }
  if (fd >= 0) {
    qsizetype done = 0;
    while (!problem && done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) problem = n < 0 ? errno : ENOSPC;
      if (n > 0) done += n;
    }
    if (!problem && ::fchmod(fd, mode) != 0) problem = errno;
    if (!problem && ::fsync(fd) != 0) problem = errno;
    if (::close(fd) != 0 && !problem) problem = errno;
    if (!problem && beforeCommit) beforeCommit();
    if (!problem && ::rename(temporary.constData(), targetName.constData()) != 0) problem = errno;
    if (problem) ::unlink(temporary.constData());
  }
  if (problem && error) *error = errnoProblem(problem);
  return !problem;
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
    const QString text = field.text.trimmed();
    // A whole number as a save writes it: decimal digits with an optional
    // sign. A fraction ("2.5") or an exponent ("1e3") is no such number and
    // stops the reading like any other damage; an empty field reads as 0.
    const QStringView digits = text.startsWith(u'-') || text.startsWith(u'+') ? QStringView(text).mid(1) : text;
    bool number = text.isEmpty() || !digits.isEmpty();
    for (QChar c : digits) number = number && c >= u'0' && c <= u'9';
    int value = 0;
    if (number && !text.isEmpty()) value = text.toInt(&number);
    if (!number) {
      if (damaged) *damaged = true;
      break;
    }
    kiroku[position] = value;
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

QString newNameProblem(const QString& userName) {
  const QString problem = nameProblem(userName);
  if (!problem.isEmpty()) return problem;
  bool visible = false;
  for (char32_t c : userName.toUcs4()) {
    if (isHiddenInName(c))
      return QStringLiteral("名前に見えない文字（幅のない空白、改行の記号、ソフトハイフンなど）は使えません。");
    visible = visible || isVisible(c);
  }
  if (!userName.isEmpty() && !visible) return QStringLiteral("名前に見える文字がひとつもありません。");
  if (!userName.isEmpty() && (isBlank(userName.front()) || isBlank(userName.back())))
    return QStringLiteral("名前の前やうしろに空白は入れられません。");
  return {};
}

QString learnerName(const QString& appDir, const QString& typed) {
  if (!nameProblem(typed).isEmpty() || QFileInfo::exists(path(appDir, typed)) ||
      QFileInfo(path(appDir, typed)).isSymLink())
    return typed;
  const QString wanted = typed.normalized(QString::NormalizationForm_C);
  // An earlier record of the same name in another normal form ("か" and the
  // combining voiced mark instead of "が"): the same learner.
  QStringList found;
  const auto entries =
      QDir(appDir).entryList({QStringLiteral("*.dat")},
                             QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& entry : entries) {
    const QString name = entry.chopped(4);
    if (name != typed && name.normalized(QString::NormalizationForm_C) == wanted) found += name;
  }
  if (found.contains(wanted)) return wanted;
  if (!found.isEmpty()) return found.front();
  // A new learner's record is named in the composed form.
  return wanted;
}

QString registrationProblem(const QString& appDir, const QString& typed) {
  const QString name = learnerName(appDir, typed);
  const QFileInfo info(path(appDir, name));
  // A learner with a record is always let in, whatever the name holds.
  if (info.exists() || info.isSymLink()) return nameProblem(name);
  return newNameProblem(typed);
}

QString saveProblem(const QString& appDir, const QString& userName) {
  if (!nameProblem(userName).isEmpty()) return {};
  const QString target = saveTarget(path(appDir, userName));
  return copyProblem(keepIncompleteRecord(target, false), QFileInfo(target).fileName());
}

QString path(const QString& appDir, const QString& userName) { return appDir + userName + QStringLiteral(".dat"); }

int removeStaleTemporaries(const QString& appDir, const QString& userName) {
  if (!nameProblem(userName).isEmpty()) return 0;
  const QString record = path(appDir, userName);
  int removed = removeOwnTemporaries(record);
  // A save through a symbolic link writes its temporary file beside the
  // file the link leads to.
  const QString target = saveTarget(record);
  if (target != record) removed += removeOwnTemporaries(target);
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
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  const QString problem = nameProblem(userName);
  if (!problem.isEmpty()) return fail(problem);
  removeStaleTemporaries(appDir, userName);
  const QString target = saveTarget(path(appDir, userName));
  const QString fileName = QFileInfo(target).fileName();
  const QString kept = copyProblem(keepIncompleteRecord(target, true), fileName);
  if (!kept.isEmpty()) return fail(kept);
  const QFileInfo old(target);
  // A record a teacher made read-only is left as it is.
  if (old.isFile() && !old.isWritable())
    return fail(QStringLiteral("「") + fileName +
                QStringLiteral("」は読み取り専用（書き込み禁止）になっているため、上書きしませんでした。"));
  return replaceAtomically(target, encode(kiroku), error, beforeCommit);
}

}  // namespace recordfile
