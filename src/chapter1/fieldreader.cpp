#include "chapter1/fieldreader.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

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

bool readsAsNumber(const QString& s, double* out) {
  static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
  if (!number.match(s).hasMatch()) return false;
  bool ok = false;
  const double v = s.toDouble(&ok);
  if (ok && out) *out = v;
  return ok;
}

bool FieldReader::atEnd() const {
  for (qsizetype i = pos_; i < s_.size(); ++i) {
    const QChar c = s_[i];
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != QChar(0x1A)) return false;
  }
  return true;
}

void FieldReader::skipSeparator() {
  if (pos_ >= s_.size()) return;
  if (s_[pos_] == u',') {
    ++pos_;
  } else if (s_[pos_] == u'\r') {
    ++pos_;
    if (pos_ < s_.size() && s_[pos_] == u'\n') ++pos_;
    ++line_;
  } else if (s_[pos_] == u'\n') {
    ++pos_;
    ++line_;
  }
}

bool FieldReader::next(Field& field) {
  if (pos_ >= s_.size()) return false;
  while (pos_ < s_.size() && (s_[pos_] == u' ' || s_[pos_] == u'\t')) ++pos_;
  field = Field{};
  field.line = line_;
  if (pos_ < s_.size() && s_[pos_] == u'"') {
    field.quoted = true;
    const qsizetype start = pos_ + 1;
    qsizetype close = s_.indexOf(u'"', start);
    if (close < 0) close = s_.size();
    field.text = s_.mid(start, close - start);
    line_ += static_cast<int>(field.text.count(u'\n'));
    pos_ = close < s_.size() ? close + 1 : close;
    while (pos_ < s_.size() && s_[pos_] != u',' && !isLineEnd(pos_)) ++pos_;
  } else {
    const qsizetype start = pos_;
    while (pos_ < s_.size() && s_[pos_] != u',' && !isLineEnd(pos_)) ++pos_;
    qsizetype end = pos_;
    while (end > start && (s_[end - 1] == u' ' || s_[end - 1] == u'\t')) --end;
    field.text = s_.mid(start, end - start);
  }
  skipSeparator();
  return true;
}

Value FieldReader::toValue(const Field& field) {
  if (field.quoted) return Value::ofText(field.text);
  if (field.text.isEmpty()) return {};
  double v = 0.0;
  if (readsAsNumber(field.text, &v)) return Value::ofNumber(v);
  return Value::ofText(field.text);
}

QString decodeCp932(const QByteArray& bytes, bool* ok) {
  QStringDecoder decoder("windows-31j");
  QString text = decoder(bytes);
  if (ok) *ok = decoder.isValid() && !decoder.hasError();
  return text;
}

QByteArray encodeCp932(const QString& text, bool* ok) {
  QStringEncoder encoder("windows-31j");
  QByteArray bytes = encoder(text);
  if (ok) *ok = encoder.isValid() && !encoder.hasError();
  return bytes;
}
