#pragma once

#include <QString>
#include <array>
#include <vector>

#include "records/learnerrecord.h"
#include "records/recordfile.h"

// A class overview for the teacher: every learner record (name.dat) of a
// folder, read with the program's own record reader and without changing
// anything in the folder.
namespace classreport {

// One learner: the name (the file name without ".dat"; bytes that are no
// UTF-8 shown as \xHH), how the record
// read, the record's streaks and counts, and for a record that did not read completely
// the message saying why.
struct Row {
  QString name;
  recordfile::LoadResult result = recordfile::LoadResult::Loaded;
  LearnerRecord record;
  QString problem;
};

// Why the folder cannot be reported (missing, not a folder, not readable),
// in Japanese, or an empty text when it can.
QString folderProblem(const QString& folder);

// Every entry named *.dat in the folder (also a folder, a file that cannot be
// read, or a name whose bytes are no UTF-8), sorted by name in character
// code order. Reads only: nothing in the folder is written, renamed, removed
// or created.
std::vector<Row> read(const QString& folder);

// The folder the program uses: its own folder, or, when that is the
// read-only folder the .deb installs (lib/kotobarion beside the launcher
// bin/kotobarion), the user's copy the launcher runs:
// dataHome/kotobarion, dataHome being $XDG_DATA_HOME, or home/.local/share
// when that is empty.
QString programFolder(const QString& programDir, const QString& xdgDataHome, const QString& home);

// The columns a text takes on a terminal: two for a wide or full-width
// character (kanji, kana, full-width forms), none for a combining mark.
int displayWidth(const QString& text);

// An aligned table for a terminal, one learner a line: 名前, for each chapter
// the streak or 修了 and the number of quizzes, 免許皆伝 (○ when all three
// chapters are complete). A record that did not read completely shows its
// message instead of the numbers. Control characters in a name are shown
// visibly (\n, \t ...), so each learner stays on one line, and so are
// characters that show nothing and blanks at either end (\u{200D},
// \u{00A0}), so names that look alike stay apart.
QString table(const std::vector<Row>& rows);

// The same as CSV (RFC 4180: fields with a comma or a double quote are
// quoted, quotes doubled; CR LF line ends), with control characters shown
// visibly as in the table and a ' before a name or message that a
// spreadsheet would take for a formula (=, +, -, @, TAB, CR first), with the header
// 名前,第１章,第１章の回数,第２章,第２章の回数,第３章,第３章の回数,備考.
QString csv(const std::vector<Row>& rows);

}  // namespace classreport
