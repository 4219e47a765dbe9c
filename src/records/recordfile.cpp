#include "records/recordfile.h"

#include <fcntl.h>
#include <signal.h>
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
#include "questions/plainfile.h"

namespace recordfile {

namespace {

// A record is one short line; anything past the first few kilobytes is
// ignored anyway, so a huge file cannot stall registration.
constexpr qint64 kReadBytes = 4096;
// The longest line a save writes: six numbers of up to eleven characters,
// five commas, CR LF.
constexpr qint64 kLongestLine = kFields * 11 + (kFields - 1) + 2;
// Copies of an incomplete record go up to name.dat.bak999: ".bak999" is no
// longer than the temporary file's ".~XXXXX".
constexpr int kMaxCopies = 999;
// A record is one short line. A file far larger than that is no record a
// learner could lose, and is never copied.
constexpr qint64 kMaxCopyBytes = 1024 * 1024;

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

}  // namespace

// Characters that show nothing, or that split or join a name unseen: a name
// holding one looks like another name, or like no name at all. By Unicode's
// properties: every format character (zero-width spaces and joiners, the
// soft hyphen, tag characters, invisible operators, the interlinear
// annotation marks), the line and paragraph separators, and the rest of the
// default-ignorable code points, which Unicode lists as the variation
// selectors and Other_Default_Ignorable_Code_Point (the Hangul fillers among
// them).
bool isHiddenInName(char32_t c) {
  switch (QChar::category(c)) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      return true;
    default:
      break;
  }
  const bool variationSelector =
      (c >= 0x180B && c <= 0x180D) || c == 0x180F || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
  const bool otherDefaultIgnorable = c == 0x034F || c == 0x115F || c == 0x1160 || c == 0x17B4 || c == 0x17B5 ||
                                     c == 0x2065 || c == 0x3164 || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFF8) ||
                                     (c >= 0xE0000 && c <= 0xE0FFF);
  return variationSelector || otherDefaultIgnorable;
}

namespace {

// A character that shows as empty space: every space separator (U+0020,
// U+00A0, U+2003, U+3000 ...) and the blank Braille pattern.
bool isBlank(char32_t c) { return QChar::category(c) == QChar::Separator_Space || c == 0x2800; }

// True for a character that leaves a mark on the screen.
bool isVisible(char32_t c) {
  if (isHiddenInName(c) || isDirectionMark(c) || isBlank(c)) return false;
  switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
      return false;
    default:
      return true;
  }
}

// True when the bytes hold all six fields of a record (only the first
// kReadBytes count, as for the reader).
bool holdsWholeRecord(const QByteArray& bytes) {
  LearnerRecord probe;
  return decode(bytes.left(kReadBytes), probe) == kFields;
}

QString copyName(const QString& file, int n) {
  return file + QStringLiteral(".bak") + (n == 1 ? QString() : QString::number(n));
}

QString copiesFullProblem(const QString& fileName) {
  return QStringLiteral("写しの名前（「") + fileName + QStringLiteral(".bak」〜「") + fileName +
         QStringLiteral(".bak999」）がすべて使われているため、元のファイルを上書きできません。") +
         QStringLiteral("先生に古い写しを片づけてもらってください。");
}

enum class Copy {
  NotNeeded,
  Kept,
  AlreadyKept,
  NamesUsedUp,
  Failed,
  Unreadable,
  IsFolder,
  NotAFile,
  TooLarge,
  LinkLoop,
  LinkNowhere
};

// Writes a copy under a new name: never over anything already there, and
// flushed to the disk before the record it copies is replaced. errno tells
// why it failed.
bool writeNewCopy(const QString& copy, const QByteArray& bytes, unsigned mode) {
  const QByteArray name = QFile::encodeName(copy);
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode & 0666);
  if (fd < 0) return false;
  qsizetype done = 0;
  int problem = 0;
  while (!problem && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) problem = n < 0 ? errno : ENOSPC;
    if (n > 0) done += n;
  }
  if (!problem && ::fsync(fd) != 0) problem = errno;
  if (::close(fd) != 0 && !problem) problem = errno;
  // A partial copy is not a copy.
  if (problem) ::unlink(name.constData());
  errno = problem;
  return !problem;
}

// What keeping a copy of the record about to be replaced takes: none when it
// holds a whole record or a copy with the same bytes is already kept,
// otherwise a new target.bak (or .bak2 .. .bak999, never over an earlier
// copy), target being the file the record's link leads to. A record that is
// no plain file is never opened for reading, and one far larger than any
// record is not copied. With make false nothing is written: the answer
// tells what a save would find. error is the errno of a failure.
Copy keepIncompleteRecord(const QString& record, const QString& target, bool make, int* error) {
  PlainFile file(record);
  switch (file.kind()) {
    case PlainFile::Kind::Missing:
      return Copy::NotNeeded;
    case PlainFile::Kind::Folder:
      return Copy::IsFolder;
    case PlainFile::Kind::NotAFile:
      return Copy::NotAFile;
    case PlainFile::Kind::LinkLoop:
      return Copy::LinkLoop;
    case PlainFile::Kind::LinkNowhere:
      return Copy::LinkNowhere;
    case PlainFile::Kind::Unopenable:
      *error = file.error();
      return Copy::Unreadable;
    case PlainFile::Kind::File:
      break;
  }
  if (file.size() > kMaxCopyBytes) return Copy::TooLarge;
  bool ok = false;
  const QByteArray bytes = file.read(kMaxCopyBytes + 1, &ok);
  if (!ok) {
    *error = file.error();
    return Copy::Unreadable;
  }
  if (bytes.size() > kMaxCopyBytes) return Copy::TooLarge;
  if (holdsWholeRecord(bytes)) return Copy::NotNeeded;
  for (int n = 1; n <= kMaxCopies; ++n) {
    const QString copy = copyName(target, n);
    PlainFile earlier(copy);
    if (earlier.kind() != PlainFile::Kind::Missing) {
      if (earlier.kind() == PlainFile::Kind::File && earlier.size() == bytes.size() &&
          earlier.read(kMaxCopyBytes + 1) == bytes)
        return Copy::AlreadyKept;
      continue;
    }
    if (!make) return Copy::Kept;
    if (writeNewCopy(copy, bytes, file.mode())) return Copy::Kept;
    // Taken meanwhile: try the next name.
    if (errno == EEXIST) continue;
    *error = errno;
    return Copy::Failed;
  }
  return Copy::NamesUsedUp;
}

QString errnoProblem(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
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

QString copyProblem(Copy result, const QString& fileName, int error) {
  const QString file = QStringLiteral("「") + fileName + QStringLiteral("」");
  switch (result) {
    case Copy::IsFolder:
      return file + QStringLiteral("がファイルではなくフォルダになっているため、そのままにして保存しませんでした。");
    case Copy::NotAFile:
      return file +
             QStringLiteral("がふつうのファイルではない（パイプや装置など）ため、そのままにして保存しませんでした。");
    case Copy::LinkLoop:
      return file + QStringLiteral("はシンボリックリンクが循環しているため、そのままにして保存しませんでした。");
    case Copy::LinkNowhere:
      return file + QStringLiteral("はシンボリックリンクで、その先のファイルが見つからないため（USB メモリなどが") +
             QStringLiteral("外れているかもしれません）、そのままにして保存しませんでした。");
    case Copy::TooLarge:
      return file + QStringLiteral("は成績のファイルにしては大きすぎる（") + QString::number(kMaxCopyBytes / 1024) +
             QStringLiteral(" KiB を超える）ため、写しを作らず、そのままにして保存しませんでした。") +
             QStringLiteral("先生にファイルを確かめてもらってください。");
    case Copy::Unreadable:
      return file + QStringLiteral("を読み取れないため（") + QString::fromLocal8Bit(std::strerror(error)) +
             QStringLiteral("）、写しを作れず、そのままにして保存しませんでした。");
    case Copy::NamesUsedUp:
      return copiesFullProblem(fileName);
    case Copy::Failed:
      return QStringLiteral("元のファイルの写し（.bak）を作れなかったため（") + errnoProblem(error).chopped(1) +
             QStringLiteral("）、元のファイルはそのままにして、上書きしませんでした。");
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
  if (info.isSymLink()) return false;
  PlainFile file(info.filePath());
  if (file.kind() != PlainFile::Kind::File || file.size() > kLongestLine) return false;
  const QByteArray bytes = file.read(kLongestLine + 1);
  if (bytes.size() > kLongestLine) return false;
  for (char b : bytes)
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

namespace {
// Field i of the line: chapter i / 2 + 1's streak for even i, its count for odd.
int& field(LearnerRecord& record, int i) {
  const int chapter = i / 2 + 1;
  return i % 2 == 0 ? record.streakOf(chapter) : record.countOf(chapter);
}
}  // namespace

QByteArray encode(const LearnerRecord& record) {
  QByteArray line;
  for (std::size_t c = 0; c < record.streak.size(); ++c) {
    if (c > 0) line += ',';
    line += QByteArray::number(record.streak[c]) + ',' + QByteArray::number(record.count[c]);
  }
  line += "\r\n";
  return line;
}

int decode(const QByteArray& bytes, LearnerRecord& record, bool* damaged) {
  if (damaged) *damaged = false;
  FieldReader reader(recordText(bytes));
  if (reader.atEnd()) return 0;
  int read = 0;
  for (int position = 0; position < kFields; ++position) {
    Field f;
    if (!reader.next(f)) break;
    const QString text = f.text.trimmed();
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
    field(record, position) = value;
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
  QString problem = nameProblem(userName);
  if (!problem.isEmpty()) return problem;
  // The record is named after the composed form, which can be longer than
  // the typed one: every rule applies to the name that becomes the file.
  const QString stored = userName.normalized(QString::NormalizationForm_C);
  problem = nameProblem(stored);
  if (!problem.isEmpty()) return problem;
  const auto code = stored.toUcs4();
  bool visible = false;
  for (char32_t c : code) {
    if (isHiddenInName(c))
      return QStringLiteral("名前に見えない文字（幅のない空白や結合子、改行の記号、ソフトハイフン、") +
             QStringLiteral("ハングルの埋め草、異体字セレクタなど）は使えません。");
    visible = visible || isVisible(c);
  }
  if (!code.isEmpty() && !visible) return QStringLiteral("名前に見える文字がひとつもありません。");
  if (!code.isEmpty() && (isBlank(code.front()) || isBlank(code.back())))
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
  return newNameProblem(name);
}

QString saveProblem(const QString& appDir, const QString& userName) {
  if (!nameProblem(userName).isEmpty()) return {};
  const QString record = path(appDir, userName);
  const QString target = saveTarget(record);
  int error = 0;
  return copyProblem(keepIncompleteRecord(record, target, false, &error), QFileInfo(target).fileName(), error);
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

LoadResult read(const QString& appDir, const QString& userName, LearnerRecord& record, QString* problem) {
  auto fail = [problem](LoadResult result, const QString& why) {
    if (problem) *problem = why;
    return result;
  };
  const QString bad = nameProblem(userName);
  if (!bad.isEmpty()) return fail(LoadResult::Unreadable, bad);
  // Opened without blocking and checked once open: a pipe, a device or a
  // link that leads nowhere is never read, nor taken for a new learner.
  PlainFile file(path(appDir, userName));
  switch (file.kind()) {
    case PlainFile::Kind::Missing:
      return LoadResult::Missing;
    case PlainFile::Kind::Folder:
      return fail(LoadResult::Unreadable, QStringLiteral("ファイルではなくフォルダになっています。"));
    case PlainFile::Kind::NotAFile:
      return fail(LoadResult::Unreadable, QStringLiteral("ふつうのファイルではありません（パイプや装置などです）。"));
    case PlainFile::Kind::LinkLoop:
      return fail(LoadResult::Unreadable,
                  QStringLiteral("シンボリックリンクが循環していて、ファイルにたどり着けません。"));
    case PlainFile::Kind::LinkNowhere:
      return fail(LoadResult::Unreadable, QStringLiteral("シンボリックリンクの先のファイルが見つかりません（「") +
                                              QFileInfo(path(appDir, userName)).symLinkTarget() +
                                              QStringLiteral("」）。USB メモリなどが外れていないか確かめてください。"));
    case PlainFile::Kind::Unopenable:
      return fail(LoadResult::Unreadable, file.error() == EACCES || file.error() == EPERM
                                              ? QStringLiteral("読み取りが許可されていません。")
                                              : QStringLiteral("ファイルを開けません（") +
                                                    QString::fromLocal8Bit(std::strerror(file.error())) +
                                                    QStringLiteral("）。"));
    case PlainFile::Kind::File:
      break;
  }
  // A record is one short line: the first few kilobytes are all that is read.
  bool ok = false;
  const QByteArray bytes = file.read(kReadBytes, &ok);
  if (!ok) return fail(LoadResult::Unreadable, QStringLiteral("ファイルを読み込めません。"));
  bool damaged = false;
  const int read = decode(bytes, record, &damaged);
  if (read == kFields) return LoadResult::Loaded;
  if (read == 0)
    return fail(LoadResult::Empty, bytes.isEmpty() ? QStringLiteral("ファイルが空です。")
                                                   : QStringLiteral("成績の数字が見つかりません（形式が違います）。"));
  if (damaged)
    return fail(LoadResult::Damaged, QString::number(read + 1) + QStringLiteral("番目の項目が数字として読めません。"));
  return LoadResult::Short;
}

LoadResult load(const QString& appDir, const QString& userName, LearnerRecord& record, QString* problem) {
  removeStaleTemporaries(appDir, userName);
  return read(appDir, userName, record, problem);
}

bool save(const QString& appDir, const QString& userName, const LearnerRecord& learner, QString* error,
          const std::function<void()>& beforeCommit) {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  const QString problem = nameProblem(userName);
  if (!problem.isEmpty()) return fail(problem);
  // A file-size limit fails the write like a full disk instead of ending
  // the program.
  ::signal(SIGXFSZ, SIG_IGN);
  removeStaleTemporaries(appDir, userName);
  const QString record = path(appDir, userName);
  const QString target = saveTarget(record);
  const QString fileName = QFileInfo(target).fileName();
  int copyError = 0;
  const QString kept = copyProblem(keepIncompleteRecord(record, target, true, &copyError), fileName, copyError);
  if (!kept.isEmpty()) return fail(kept);
  // A record a teacher made read-only is left as it is. Any other reason the
  // record cannot be written (a disk mounted read-only) is told as it is.
  const QByteArray targetName = QFile::encodeName(target);
  if (::access(targetName.constData(), W_OK) != 0 && errno != ENOENT)
    return fail(errno == EACCES || errno == EPERM
                    ? QStringLiteral("「") + fileName +
                          QStringLiteral("」は読み取り専用（書き込み禁止）になっているため、上書きしませんでした。")
                    : errnoProblem(errno));
  return replaceAtomically(target, encode(learner), error, beforeCommit);
}

}  // namespace recordfile
