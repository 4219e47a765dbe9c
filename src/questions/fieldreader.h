#pragma once

#include <QByteArray>
#include <QString>

// A value as read from a data file: a bare number stays a number, a quoted
// field or any other text stays text, an empty field is empty.
struct Value {
  enum class Kind { Empty, Number, Text };
  Kind kind = Kind::Empty;
  double number = 0.0;
  QString text;

  static Value ofNumber(double n) { return {Kind::Number, n, {}}; }
  static Value ofText(QString t) { return {Kind::Text, 0.0, std::move(t)}; }

  bool isNumber() const { return kind == Kind::Number; }
  // The value as text: a number in its plain decimal form, empty as "".
  QString asText() const;
  // The value as a number: a text's leading decimal number, 0 without one.
  double asNumber() const;
};

// One field as it stands in the file, with the line it starts on (1-based).
struct Field {
  QString text;
  bool quoted = false;
  int line = 1;
};

// True when the text reads as a decimal number (sign, digits, point, exponent).
bool readsAsNumber(const QString& s, double* out = nullptr);

// Reads comma-separated fields: commas and line ends (CR LF, LF or CR)
// separate fields, blanks and tabs before a field are skipped, a field in
// double quotes runs to the next double quote and may hold commas (anything
// after the closing quote up to the separator is skipped), any other field
// runs to the next comma or line end with its trailing blanks removed.
// Reading goes field by field, not line by line.
class FieldReader {
 public:
  explicit FieldReader(QString text);

  // True when nothing but blanks, line ends and end-of-file marks is left.
  bool atEnd() const { return pos_ >= contentEnd_; }
  // Reads the next field; false when the text is at its end.
  bool next(Field& field);
  // The line the next field starts on.
  int line() const { return line_; }

  // The field as a value: a quoted field is text, a bare one a number when it
  // reads as one, otherwise text; an empty bare field is empty.
  static Value toValue(const Field& field);
  static Value toValue(Field&& field);

 private:
  // Steps over one line end at pos_ (CR LF, LF or CR) and counts the line.
  void skipLineEnd();

  QString s_;
  const char16_t* d_ = nullptr;
  qsizetype n_ = 0;
  qsizetype pos_ = 0;
  // One past the last character that is not blank: reading is linear in the
  // text's size however long a blank tail it has.
  qsizetype contentEnd_ = 0;
  int line_ = 1;
};

// Code page 932 (Windows Shift_JIS) through Qt's ICU codec "windows-31j",
// with every byte below 0x80 its ASCII self (0x1A is the end-of-file mark,
// 0x7F is DEL). ok is false when some bytes are not code page 932, or some
// characters cannot be written in it.
QString decodeCp932(const QByteArray& bytes, bool* ok = nullptr);
QByteArray encodeCp932(const QString& text, bool* ok = nullptr);
