#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <limits>

#include "records/learnerrecord.h"

// The learner record file: one CR LF line of six comma-separated whole
// numbers, chapter by chapter (streak, then quiz count). The working count is
// not saved.
namespace recordfile {

// The numbers in the line: a streak and a count for each chapter.
inline constexpr int kFields = 2 * quiz::kChapters;

// A count or streak never goes past this; one more leaves it there.
inline constexpr int kCountCeiling = std::numeric_limits<int>::max();

// The value one up, stopping at kCountCeiling. Every slot that is counted up
// (quiz counts, the working count, the streak in play) goes through this, so
// a hand-edited record can never make the arithmetic overflow.
constexpr int countUp(int value) { return value < kCountCeiling ? value + 1 : kCountCeiling; }

// The longest file name the folder takes, in bytes.
inline constexpr int kMaxFileNameBytes = 255;
// A save writes name.dat.~XXXXX first and renames it; a kept copy is at most
// name.dat.bak999. Both must fit, so a record name leaves this many bytes free.
inline constexpr int kSaveSuffixBytes = 7;

// The line written for a record, for example "2,5,0,0,999,7\r\n".
QByteArray encode(const LearnerRecord& record);

// Reads the fields of a record leniently into record (in file order). A UTF-8
// byte order mark is skipped and a UTF-16 file with its byte order mark is
// read as such. A field is a whole number in decimal digits with an optional
// sign, spaces around it skipped (an empty field is 0). Stops at the first
// field that is missing or no such number that fits; the numbers read
// before it keep their values. Returns how many fields were read; damaged is set
// when reading stopped at a field that is there but is no such number ("3x",
// a NUL, 2147483648, a fraction "2.5", an exponent "1e3").
int decode(const QByteArray& bytes, LearnerRecord& record, bool* damaged = nullptr);

// Why a learner's name cannot be a plain file name in the program's folder
// that is saved again and again (a path separator, a control character, a
// lone surrogate, an invisible direction mark, too long), or an empty text
// when it can. The empty name is fine: its file is ".dat"; "." and ".." are
// fine as well ("..dat", "...dat").
QString nameProblem(const QString& userName);

// True for a character that shows nothing or splits or joins a name unseen:
// a format character, a line or paragraph separator, or another
// default-ignorable code point (a variation selector, a Hangul filler).
bool isHiddenInName(char32_t c);

// Why a name cannot become a new learner's record, beyond nameProblem: it
// shows no character at all, holds a character that shows nothing or splits
// the line unseen (a format character such as U+200B, U+200D or U+00AD, a
// line or paragraph separator, any other default-ignorable code point such
// as a variation selector or a Hangul filler), or begins or ends with a
// blank (any space separator, U+2800). Every rule applies to the composed
// form (NFC) that names the record file. Empty when it can.
QString newNameProblem(const QString& userName);

// The learner a typed name stands for: the name itself when its record
// exists; otherwise the name of an existing record that is the same text in
// another Unicode normal form (NFD "か" + U+3099 and NFC "が" are one
// learner); otherwise the name in composed form (NFC) for a new record.
QString learnerName(const QString& appDir, const QString& typed);

// What refuses a typed name at registration: nameProblem for a learner who
// has a record (every existing record stays reachable), newNameProblem for a
// new one. Empty when the name is accepted.
QString registrationProblem(const QString& appDir, const QString& typed);

// Why the next save of this learner would be refused before it writes
// anything (the record is incomplete and no copy of it can be kept: every
// name up to .bak999 is taken, or a folder stands in its place); empty when
// nothing stands in the way. Writes nothing.
QString saveProblem(const QString& appDir, const QString& userName);

// appDir + name + ".dat".
QString path(const QString& appDir, const QString& userName);

enum class LoadResult {
  Loaded,      // six whole numbers
  Short,       // fewer than six, every one a number ("1,3"): read as far as it goes
  Missing,     // no such file: a new learner
  Damaged,     // reading stopped at a field that is no whole number
  Empty,       // the file holds no record at all
  Unreadable,  // there but no record to read: a folder, a pipe or a device, a link that loops
               // or leads nowhere, no permission, a bad name
};

// Reads the record of a name into its streaks and counts and changes nothing in the
// folder: no file is written, removed or created, and no lock is taken, so a
// teacher's tool can read while learners play. For Damaged, Empty and
// Unreadable, problem tells in Japanese what is wrong with the file.
LoadResult read(const QString& appDir, const QString& userName, LearnerRecord& record, QString* problem = nullptr);

// Opens and reads the record of a name into its streaks and counts. Removes the
// learner's temporary files left by an interrupted save. For Damaged, Empty
// and Unreadable, problem tells in Japanese what is wrong with the file.
LoadResult load(const QString& appDir, const QString& userName, LearnerRecord& record, QString* problem = nullptr);

// Replaces the record atomically: a temporary file name.dat.~XXXXX in the
// same folder is written, flushed and renamed over the old one, so a crash
// or a full disk never leaves a truncated record. When the file it replaces
// is not a complete record, a copy of it is kept first as name.dat.bak (or
// .bak2 .. .bak999, never over an earlier copy; none when a copy with the
// same bytes is kept already). The record itself is never moved or deleted:
// when no copy can be made (the record is a folder, a pipe or a device, a
// link that loops or leads nowhere, or far larger than any record), or the
// record is read-only, nothing is written.
// A symbolic link named name.dat is followed and its target written (the
// temporary file lies beside the target). Returns false on failure, with the
// reason in Japanese for the learner.
// beforeCommit runs once the temporary file is written (a hook for tests).
bool save(const QString& appDir, const QString& userName, const LearnerRecord& record, QString* error = nullptr,
          const std::function<void()>& beforeCommit = {});

// Removes the temporary files an interrupted save left behind: files named
// name.dat.~XXXXX (five letters or digits) that hold nothing but the start of
// a record line, beside the record and beside the file its link leads to.
// Any other file, a teacher's copy included, is left alone. Returns how
// many were removed. Only one copy of the program runs per folder, so none
// is in use.
int removeStaleTemporaries(const QString& appDir, const QString& userName);

}  // namespace recordfile
