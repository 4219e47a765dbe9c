#include "questions/fieldreader.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <charconv>

QString Value::asText() const {
  switch (kind) {
    case Kind::Empty:
      return {};
    case Kind::Text:
      return text;
    case Kind::Number:
      return QString::number(number, 'g', 15);
  }
  return {};
}

double Value::asNumber() const {
  if (kind == Kind::Number) return number;
  if (kind == Kind::Empty) return 0.0;
  // The leading decimal number of the text, blanks before it skipped.
  static const QRegularExpression lead(QStringLiteral("^[ \\t]*([+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?)"));
  const auto m = lead.match(text);
  if (!m.hasMatch()) return 0.0;
  bool ok = false;
  const double v = m.captured(1).toDouble(&ok);
  return ok ? v : 0.0;
}

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The characters of a number as Latin-1, for the standard parser.
bool toChars(const QString& s, char* out, qsizetype room) {
  if (s.size() >= room) return false;
  const auto* d = reinterpret_cast<const char16_t*>(s.constData());
  for (qsizetype i = 0; i < s.size(); ++i) out[i] = static_cast<char>(d[i]);
  return true;
}

}  // namespace

bool readsAsNumber(const QString& s, double* out) {
  // [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?
  const auto* d = reinterpret_cast<const char16_t*>(s.constData());
  const qsizetype n = s.size();
  qsizetype i = 0;
  if (i < n && (d[i] == u'+' || d[i] == u'-')) ++i;
  qsizetype mantissa = 0;
  while (i < n && isDigit(d[i])) ++i, ++mantissa;
  if (i < n && d[i] == u'.') {
    ++i;
    while (i < n && isDigit(d[i])) ++i, ++mantissa;
  }
  if (mantissa == 0) return false;
  if (i < n && (d[i] == u'e' || d[i] == u'E')) {
    ++i;
    if (i < n && (d[i] == u'+' || d[i] == u'-')) ++i;
    qsizetype exponent = 0;
    while (i < n && isDigit(d[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  if (i != n) return false;
  // Short numbers, the usual kind, go through the standard parser; anything
  // it does not take plainly (very long, out of range) through Qt's.
  char buffer[64];
  double v = 0.0;
  if (toChars(s, buffer, sizeof buffer)) {
    const char* begin = buffer[0] == '+' ? buffer + 1 : buffer;
    const auto [end, ec] = std::from_chars(begin, buffer + n, v);
    if (ec == std::errc() && end == buffer + n) {
      if (out) *out = v;
      return true;
    }
  }
  bool ok = false;
  v = s.toDouble(&ok);
  if (ok && out) *out = v;
  return ok;
}

FieldReader::FieldReader(QString text)
    : s_(std::move(text)), d_(reinterpret_cast<const char16_t*>(s_.constData())), n_(s_.size()) {
  contentEnd_ = n_;
  while (contentEnd_ > 0) {
    const char16_t c = d_[contentEnd_ - 1];
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != 0x1A) break;
    --contentEnd_;
  }
}

void FieldReader::skipLineEnd() {
  if (d_[pos_] == u'\r' && pos_ + 1 < n_ && d_[pos_ + 1] == u'\n') ++pos_;
  ++pos_;
  ++line_;
}

bool FieldReader::next(Field& field) {
  if (pos_ >= n_) return false;
  while (pos_ < n_ && (d_[pos_] == u' ' || d_[pos_] == u'\t')) ++pos_;
  field.line = line_;
  field.quoted = pos_ < n_ && d_[pos_] == u'"';
  const auto separator = [this](qsizetype i) { return d_[i] == u',' || d_[i] == u'\r' || d_[i] == u'\n'; };
  if (field.quoted) {
    const qsizetype start = ++pos_;
    // The text may run over line ends (CR LF, LF or CR): each counts once.
    while (pos_ < n_ && d_[pos_] != u'"') {
      if (d_[pos_] == u'\r' || d_[pos_] == u'\n') {
        skipLineEnd();
      } else {
        ++pos_;
      }
    }
    field.text = QString(reinterpret_cast<const QChar*>(d_ + start), pos_ - start);
    if (pos_ < n_) ++pos_;
    while (pos_ < n_ && !separator(pos_)) ++pos_;
  } else {
    const qsizetype start = pos_;
    while (pos_ < n_ && !separator(pos_)) ++pos_;
    // The last field ends where the blank or end-of-file tail begins ("7" of
    // "7" 0x1A).
    qsizetype end = std::min(pos_, std::max(contentEnd_, start));
    while (end > start && (d_[end - 1] == u' ' || d_[end - 1] == u'\t')) --end;
    field.text = QString(reinterpret_cast<const QChar*>(d_ + start), end - start);
  }
  if (pos_ < n_) {
    if (d_[pos_] == u',')
      ++pos_;
    else
      skipLineEnd();
  }
  return true;
}

Value FieldReader::toValue(const Field& field) {
  if (field.quoted) return Value::ofText(field.text);
  if (field.text.isEmpty()) return {};
  double v = 0.0;
  if (readsAsNumber(field.text, &v)) return Value::ofNumber(v);
  return Value::ofText(field.text);
}

Value FieldReader::toValue(Field&& field) {
  if (field.quoted) return Value::ofText(std::move(field.text));
  if (field.text.isEmpty()) return {};
  double v = 0.0;
  if (readsAsNumber(field.text, &v)) return Value::ofNumber(v);
  return Value::ofText(std::move(field.text));
}

namespace {

// ICU's "windows-31j" maps three ASCII control bytes elsewhere (0x1A to
// U+001C, 0x1C to U+007F, 0x7F to U+001A), so a DOS end-of-file mark would
// not read as one. In code page 932 as Windows reads it every byte below
// 0x80 is its ASCII self; these three are never part of a two-byte
// character (trail bytes start at 0x40 and skip 0x7F), so they are taken
// out and the runs between them decoded.
bool remappedControl(char16_t c) { return c == 0x1A || c == 0x1C || c == 0x7F; }

}  // namespace

QString decodeCp932(const QByteArray& bytes, bool* ok) {
  QString text;
  bool good = true;
  qsizetype start = 0;
  // A fresh decoder for every run: an error flag must not outlive its run.
  const auto run = [&](qsizetype end) {
    if (end == start) return;
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    text += decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
    good = good && decoder.isValid() && !decoder.hasError();
  };
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!remappedControl(b)) continue;
    run(i);
    text += QChar(b);
    start = i + 1;
  }
  run(bytes.size());
  if (ok) *ok = good;
  return text;
}

QByteArray encodeCp932(const QString& text, bool* ok) {
  QByteArray bytes;
  bool good = true;
  qsizetype start = 0;
  const auto run = [&](qsizetype end) {
    if (end == start) return;
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    bytes += encoder.encode(QStringView(text).sliced(start, end - start));
    good = good && encoder.isValid() && !encoder.hasError();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (!remappedControl(c)) continue;
    run(i);
    bytes += static_cast<char>(c);
    start = i + 1;
  }
  run(text.size());
  if (ok) *ok = good;
  return bytes;
}
