#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <limits>

// The learner record file: one CR LF line of six comma-separated whole
// numbers, chapter by chapter (streak, then quiz count): kiroku 0,3,1,4,2,5.
namespace recordfile {

// File position i holds slot kFileOrder[i].
inline constexpr std::array<int, 6> kFileOrder{0, 3, 1, 4, 2, 5};

// A count or streak never goes past this; one more leaves it there.
inline constexpr int kCountCeiling = std::numeric_limits<int>::max();

// The value one up, stopping at kCountCeiling. Every slot that is counted up
// (quiz counts, the working count, the streak in play) goes through this, so
// a hand-edited record can never make the arithmetic overflow.
constexpr int countUp(int value) { return value < kCountCeiling ? value + 1 : kCountCeiling; }

// The longest file name the folder takes, in bytes.
inline constexpr int kMaxFileNameBytes = 255;
// A save writes name.dat.XXXXXX first and renames it; a kept copy is at most
// name.dat.bak99. Both must fit, so a record name leaves this many bytes free.
inline constexpr int kSaveSuffixBytes = 7;

// The line written for kiroku 0..5, for example "2,5,0,0,999,7\r\n".
QByteArray encode(const std::array<int, 7>& kiroku);

// Reads the fields of a record leniently into kiroku (in file order). A UTF-8
// byte order mark is skipped and a UTF-16 file with its byte order mark is
// read as such. Stops at the first field that is missing or not a whole
// number that fits; the kiroku read before it keep their values. Returns how
// many fields were read; damaged is set when reading stopped at a field that
// is there but is no such number ("3x", a NUL, 2147483648).
int decode(const QByteArray& bytes, std::array<int, 7>& kiroku, bool* damaged = nullptr);

// Why a learner's name cannot be a plain file name in the program's folder
// that is saved again and again (a path separator, a control character, a
// lone surrogate, an invisible direction mark, too long), or an empty text
// when it can. The empty name is fine: its file is ".dat"; "." and ".." are
// fine as well ("..dat", "...dat").
QString nameProblem(const QString& userName);

// AppDir + name + ".dat".
QString path(const QString& appDir, const QString& userName);

enum class LoadResult {
  Loaded,      // six whole numbers
  Short,       // fewer than six, every one a number ("1,3"): read as far as it goes
  Missing,     // no such file: a new learner
  Damaged,     // reading stopped at a field that is no whole number
  Empty,       // the file holds no record at all
  Unreadable,  // the file is there but cannot be opened (a folder, no permission, a bad name)
};

// Reads the record of a name into kiroku 0..5 and changes nothing in the
// folder: no file is written, removed or created, and no lock is taken, so a
// teacher's tool can read while learners play. For Damaged, Empty and
// Unreadable, problem tells in Japanese what is wrong with the file.
LoadResult read(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku, QString* problem = nullptr);

// Opens and reads the record of a name into kiroku 0..5. Removes the
// learner's temporary files left by an interrupted save. For Damaged, Empty
// and Unreadable, problem tells in Japanese what is wrong with the file.
LoadResult load(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku, QString* problem = nullptr);

// Replaces the record atomically: a temporary file in the same folder is
// written, flushed and renamed over the old one, so a crash or a full disk
// never leaves a truncated record. When the file it replaces is not a
// complete record, a copy of it is kept first as name.dat.bak (or .bak2 ..
// .bak99, never over an earlier copy). A symbolic link named name.dat is
// followed and its target written. Returns false on failure, with the reason
// in Japanese for the learner.
// beforeCommit runs once the temporary file is written (a hook for tests).
bool save(const QString& appDir, const QString& userName, const std::array<int, 7>& kiroku, QString* error = nullptr,
          const std::function<void()>& beforeCommit = {});

// Removes name.dat.XXXXXX files an interrupted save left behind; returns how
// many. Only one copy of the program runs per folder, so none is in use.
int removeStaleTemporaries(const QString& appDir, const QString& userName);

}  // namespace recordfile
