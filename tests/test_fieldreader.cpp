#include <gtest/gtest.h>

#include "questions/fieldreader.h"

namespace {

std::vector<Field> readAll(const QString& text) {
  FieldReader r(text);
  std::vector<Field> fields;
  Field f;
  while (!r.atEnd() && r.next(f)) fields.push_back(f);
  return fields;
}

}  // namespace

TEST(FieldReader, SplitsFieldsAsTheDataFilesNeed) {
  struct Case {
    const char* name;
    QString text;
    std::vector<QString> expected;
  };
  const std::vector<Case> cases = {
      {"commas and CR LF", QStringLiteral("1,2\r\n3,4\r\n"), {"1", "2", "3", "4"}},
      {"LF alone", QStringLiteral("1,2\n3,4\n"), {"1", "2", "3", "4"}},
      {"CR alone", QStringLiteral("1,2\r3"), {"1", "2", "3"}},
      {"blanks and tabs before a field", QStringLiteral(" \t1,  2"), {"1", "2"}},
      {"trailing blanks removed", QStringLiteral("abc   ,d \t\r\n"), {"abc", "d"}},
      {"quoted field keeps commas", QStringLiteral("\"a,b\",c"), {"a,b", "c"}},
      {"text after closing quote skipped", QStringLiteral("\"a\"xyz,b"), {"a", "b"}},
      {"unterminated quote runs to the end", QStringLiteral("1,\"abc"), {"1", "abc"}},
      {"empty fields", QStringLiteral("1,,3"), {"1", "", "3"}},
      {"quoted blanks kept", QStringLiteral("\" a \""), {" a "}},
      {"trailing blank lines ignored", QStringLiteral("1\r\n\r\n  \r\n"), {"1"}},
  };
  for (const Case& c : cases) {
    std::vector<QString> got;
    for (const Field& f : readAll(c.text)) got.push_back(f.text);
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

TEST(FieldReader, TracksLinesAndQuotes) {
  const std::vector<Field> f = readAll(QStringLiteral("1,\"x\"\r\n2,y\r\n"));
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].line, 1);
  EXPECT_TRUE(f[1].quoted);
  EXPECT_EQ(f[2].line, 2);
  EXPECT_FALSE(f[3].quoted);
}

TEST(FieldReader, BareNumbersAreNumbersQuotedTextStaysText) {
  struct Case {
    QString text;
    Value::Kind kind;
    double number;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("12"), Value::Kind::Number, 12},   {QStringLiteral("-3"), Value::Kind::Number, -3},
      {QStringLiteral("2.5"), Value::Kind::Number, 2.5}, {QStringLiteral("1e2"), Value::Kind::Number, 100},
      {QStringLiteral("\"12\""), Value::Kind::Text, 12}, {QStringLiteral("12a"), Value::Kind::Text, 12},
      {QStringLiteral("頭"), Value::Kind::Text, 0},      {QStringLiteral(""), Value::Kind::Empty, 0},
  };
  for (const Case& c : cases) {
    FieldReader r(c.text);
    Field f;
    r.next(f);
    const Value v = FieldReader::toValue(f);
    EXPECT_EQ(v.kind, c.kind) << c.text.toStdString();
    EXPECT_DOUBLE_EQ(v.asNumber(), c.number) << c.text.toStdString();
  }
  EXPECT_EQ(Value::ofNumber(7).asText(), QStringLiteral("7"));
}

TEST(FieldReader, DecodesCodePage932WhereShiftJisDiffers) {
  // ～ (81 60), － (81 7C) and ① (87 40) are where code page 932 and plain
  // Shift_JIS part ways; 体 is 91 CC.
  const QByteArray bytes("\x81\x60,\x81\x7c,\x87\x40,\"\x91\xcc\"\r\n", 15);
  bool ok = false;
  const std::vector<Field> f = readAll(decodeCp932(bytes, &ok));
  EXPECT_TRUE(ok);
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].text, QString(QChar(0xFF5E)));
  EXPECT_EQ(f[1].text, QString(QChar(0xFF0D)));
  EXPECT_EQ(f[2].text, QString(QChar(0x2460)));
  EXPECT_EQ(f[3].text, QStringLiteral("体"));
  EXPECT_EQ(encodeCp932(QStringLiteral("～－①体")), QByteArray("\x81\x60\x81\x7c\x87\x40\x91\xcc"));
}

TEST(FieldReader, ReportsTextThatIsNotCodePage932) {
  bool ok = true;
  decodeCp932(QByteArray("\x81\x20\xff", 3), &ok);
  EXPECT_FALSE(ok);
  ok = true;
  encodeCp932(QStringLiteral("😀"), &ok);
  EXPECT_FALSE(ok);
}
