#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class FieldReader;
struct Field;
struct Value;

// Reading a question file, shared by every chapter's bank and by
// kotobarion-check, so the program and the checker accept the same files.

// One problem found in a question file, with the line it stands on (0 when
// it concerns the whole file).
struct FileProblem {
  int line = 0;
  QString message;
};

// A question file holds at most 900 records of a few hundred bytes: anything
// larger than this is no question file and is refused unread.
inline constexpr qint64 kMaxQuestionFileBytes = 4 * 1024 * 1024;

// Reads a question file's bytes whole. Refuses a missing file, a folder or
// other non-file, one that cannot be opened and one larger than
// kMaxQuestionFileBytes; the problems are returned and bytes is left empty.
std::vector<FileProblem> readQuestionFile(const QString& path, QByteArray* bytes);

// The encodings a question file may be written in, and UTF-16 saved without
// its byte order mark, which is read but refused.
enum class TextEncoding { Cp932, Utf8, Utf8Bom, Utf16LE, Utf16BE, Utf16LENoMark, Utf16BENoMark };

// Which encoding a question file's bytes are read in: UTF-8 when they start
// with the UTF-8 byte order mark, or hold a byte above 0x7F and are valid
// UTF-8 but for a minority of lines (a line pasted from a code page 932
// file); UTF-16 when they start with a UTF-16 mark, or when NUL bytes fill
// every other byte as in UTF-16 text without its mark; otherwise code page
// 932. Pure ASCII reads the same either way. Real code page 932 Japanese
// text is practically never valid UTF-8, so files written for the program
// read as before.
TextEncoding questionEncoding(const QByteArray& bytes);
// The encoding's name for a teacher: "Shift_JIS", "UTF-8", "UTF-8（BOM付き）",
// "UTF-16", "UTF-16（BOMなし）".
QString encodingName(TextEncoding encoding);

// A question file's text in the encoding questionEncoding() chooses (a byte
// order mark is not part of the text). Each line holding bytes that are not
// text in that encoding adds a problem with its real line number (line ends
// are CR LF, LF or CR alone, as the field reader counts them). UTF-16
// without its mark adds one problem for the whole file saying how to save
// it instead.
QString decodeQuestionText(const QByteArray& bytes, std::vector<FileProblem>* problems,
                           TextEncoding* encoding = nullptr);

// A field's text as messages quote it: in 「」, at most kQuotedChars
// characters, longer text cut with "…", so a huge field never makes a huge
// message.
inline constexpr int kQuotedChars = 30;
QString quoteField(const QString& text);

// True for a character that is no visible text: C0 controls, DEL, C1
// controls, line and paragraph separators, direction overrides.
bool isControlChar(char16_t c);
// A field shown as an option, a sentence or a kana word must hold no control
// character (a line break clips it, a NUL shows as a box). Adds the problem
// that refuses such a field, on its line; what names the field
// ("3番目の項目（問題文）").
void checkControls(const Field& field, const QString& what, std::vector<FileProblem>& problems);

// A problem list as one message for the learner or a teacher.
QString describeProblems(const QString& fileName, const std::vector<FileProblem>& problems, int most = 5);

// The text with every control character (C0, DEL, C1, line and paragraph
// separators, direction overrides) shown visibly: \n, \r, \t, \0 or \u{HHHH}.
QString showControls(const QString& text);

// One report line "file:line: message" (no line end) with its controls shown,
// so a field's text can never start a line of its own.
QString reportLine(const QString& path, const FileProblem& problem);

// Whether the record just read ends the file: one of fewer than its count
// fields (only the last record can be short; fieldList names the fields as
// "レベル,正解の番号,\"問題文\",\"意味\""), or one more than the most a
// file may hold when held records are read already. Null for a record to keep.
std::optional<FileProblem> endOfRecords(int got, int count, const QString& fieldList, std::size_t held, int most,
                                        int line);

// A quiz draws kLevelOneQuestions records of level (or group) 1 and the rest
// of level 2: a file that has no problem yet gets one for each level with
// too few records. what names each level's records ("レベル1の問題"); note
// ends each message.
void requireQuizLevels(std::vector<FileProblem>& problems, std::array<int, 2> counts, std::array<QString, 2> what,
                       const QString& note = QString());

// Reads the next record of n fields into f; returns how many fields were
// there (fewer than n only at the end of the text).
int readRecord(FieldReader& reader, std::vector<Field>& f, int n);

// A bare whole number in the given range, or false.
bool wholeIn(const Field& f, int low, int high, int* out);
