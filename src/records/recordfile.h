#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

// The learner record file: one CR LF line of six comma-separated whole
// numbers, chapter by chapter (streak, then quiz count): kiroku 0,3,1,4,2,5.
namespace recordfile {

// File position i holds slot kFileOrder[i].
inline constexpr std::array<int, 6> kFileOrder{0, 3, 1, 4, 2, 5};

// The line written for kiroku 0..5, for example "2,5,0,0,999,7\r\n".
QByteArray encode(const std::array<int, 7>& kiroku);

// Reads the fields of a record leniently into kiroku (in file order). Stops at
// the first field that is missing or not a whole number; the kiroku read
// before it keep their values. Returns how many fields were read.
int decode(const QByteArray& bytes, std::array<int, 7>& kiroku);

// Why a learner's name cannot be a plain file name in the program's folder
// (a path separator, "." or "..", a control character, too long), or an
// empty text when it can. The empty name is fine: its file is ".dat".
QString nameProblem(const QString& userName);

// AppDir + name + ".dat".
QString path(const QString& appDir, const QString& userName);

enum class LoadResult { Loaded, Missing, Failed };

// Opens and reads the record of a name into kiroku 0..5.
LoadResult load(const QString& appDir, const QString& userName, std::array<int, 7>& kiroku);

// Replaces the record atomically: a temporary file in the same folder is
// written, flushed and renamed over the old one, so a crash or a full disk
// never leaves a truncated record. Returns false on failure, with the reason
// in Japanese for the learner.
// beforeCommit runs once the temporary file is written (a hook for tests).
bool save(const QString& appDir, const QString& userName, const std::array<int, 7>& kiroku, QString* error = nullptr,
          const std::function<void()>& beforeCommit = {});

}  // namespace recordfile
