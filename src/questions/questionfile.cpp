#include "questions/questionfile.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "questions/fieldreader.h"
#include "questions/plainfile.h"
#include "questions/quizrules.h"

namespace {

// Why a path names no file: not every path that cannot be followed is a
// missing file.
QString missingReason(const QString& path) {
  struct stat st {};
  errno = 0;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
    switch (errno) {
      case ELOOP:
        return QStringLiteral("ファイルを開けません（シンボリックリンクが循環しています）。");
      case EACCES:
        return QStringLiteral("ファイルを開けません（フォルダを読む権限がありません）。");
      case ENAMETOOLONG:
        return QStringLiteral("ファイルを開けません（パスが長すぎます）。");
      case ENOTDIR:
        return QStringLiteral("ファイルが見つかりません（パスの途中がフォルダではありません）。");
      default:
        break;
    }
  }
  if (QFileInfo(path).isSymLink())
    return QStringLiteral("ファイルが見つかりません（シンボリックリンクの先がありません）。");
  return QStringLiteral("ファイルが見つかりません。");
}

}  // namespace

std::vector<FileProblem> readQuestionFile(const QString& path, QByteArray* bytes) {
  bytes->clear();
  // Opened without blocking and checked once open: a pipe or a device would
  // block or never end, so only plain files are read.
  PlainFile file(path);
  switch (file.kind()) {
    case PlainFile::Kind::Missing:
    case PlainFile::Kind::LinkLoop:
    case PlainFile::Kind::LinkNowhere:
      return {{0, missingReason(path)}};
    case PlainFile::Kind::Folder:
    case PlainFile::Kind::NotAFile:
      return {{0, QStringLiteral("ファイルを読み込めません（ふつうのファイルではありません）。")}};
    case PlainFile::Kind::Unopenable:
      return {{0, QFileInfo::exists(path) ? QStringLiteral("ファイルを読み込めません。") : missingReason(path)}};
    case PlainFile::Kind::File:
      break;
  }
  const QString tooLarge = QStringLiteral("ファイルが大きすぎます（") +
                           QString::number(kMaxQuestionFileBytes / (1024 * 1024)) + QStringLiteral(" MiB まで）。");
  if (file.size() > kMaxQuestionFileBytes) return {{0, tooLarge}};
  // The size a file reports can be wrong (it may grow meanwhile): read one
  // byte past the limit to be sure.
  bool ok = false;
  QByteArray read = file.read(kMaxQuestionFileBytes + 1, &ok);
  if (read.size() > kMaxQuestionFileBytes) return {{0, tooLarge}};
  if (!ok) return {{0, QStringLiteral("ファイルを読み込めません。")}};
  *bytes = std::move(read);
  return {};
}

namespace {

// True when the bytes hold a byte above 0x7F: every byte below it is the
// same ASCII character in code page 932.
bool hasHighByte(const char* begin, const char* end) {
  for (const char* p = begin; p != end; ++p)
    if (static_cast<unsigned char>(*p) >= 0x80) return true;
  return false;
}

}  // namespace

namespace {

// Decodes a run of bytes with a fresh decoder (an error flag must not
// outlive its run); ok tells whether every byte was text.
QString decodeBytes(QByteArrayView bytes, TextEncoding encoding, bool* ok) {
  if (encoding == TextEncoding::Cp932) return decodeCp932(bytes.toByteArray(), ok);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  *ok = !decoder.hasError();
  return text;
}

// Calls each(line, begin, end) for every line of the bytes that holds a
// byte above 0x7F. CR and LF are never part of a two-byte code page 932
// character nor of a UTF-8 sequence, so text in either splits into lines as
// bytes, counted as the field reader counts them.
template <class Each>
void eachHighLine(QByteArrayView bytes, Each each) {
  const char* data = bytes.data();
  const qsizetype n = bytes.size();
  int line = 1;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= n; ++i) {
    const bool end = i == n;
    if (!end && data[i] != '\r' && data[i] != '\n') continue;
    if (hasHighByte(data + start, data + i)) each(line, data + start, data + i);
    if (end) break;
    if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
    ++line;
    start = i + 1;
  }
}

// UTF-16 text without its byte order mark: NUL bytes in at least one
// two-byte unit in sixteen, nearly all in the same half of the units (the high
// byte of every ASCII character). Text in code page 932 or UTF-8 holds none.
TextEncoding utf16WithoutMark(const QByteArray& bytes) {
  qsizetype even = 0;
  qsizetype odd = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0') ++(i % 2 ? odd : even);
  const qsizetype units = bytes.size() / 2;
  if (even + odd < 2 || (even + odd) * 16 < units) return TextEncoding::Cp932;
  if (odd >= (even + odd) * 9 / 10) return TextEncoding::Utf16LENoMark;
  if (even >= (even + odd) * 9 / 10) return TextEncoding::Utf16BENoMark;
  return TextEncoding::Cp932;
}

}  // namespace

TextEncoding questionEncoding(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return TextEncoding::Utf8Bom;
  if (bytes.startsWith("\xFF\xFE")) return TextEncoding::Utf16LE;
  if (bytes.startsWith("\xFE\xFF")) return TextEncoding::Utf16BE;
  if (bytes.contains('\0')) {
    const TextEncoding utf16 = utf16WithoutMark(bytes);
    if (utf16 != TextEncoding::Cp932) return utf16;
  }
  if (!hasHighByte(bytes.constData(), bytes.constData() + bytes.size())) return TextEncoding::Cp932;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  const QString text = utf8.decode(bytes);  // the decoding runs when the result is taken
  if (!utf8.hasError()) return TextEncoding::Utf8;
  // A UTF-8 file with a few lines in another encoding is a UTF-8 file whose
  // other lines are at fault, not the other way round.
  int utf8Lines = 0;
  int otherLines = 0;
  eachHighLine(bytes, [&](int, const char* begin, const char* end) {
    bool ok = false;
    (void)decodeBytes(QByteArrayView(begin, end - begin), TextEncoding::Utf8, &ok);
    ++(ok ? utf8Lines : otherLines);
  });
  return utf8Lines > otherLines ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

QString encodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Cp932:
      return QStringLiteral("Shift_JIS");
    case TextEncoding::Utf8:
      return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom:
      return QStringLiteral("UTF-8（BOM付き）");
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      return QStringLiteral("UTF-16");
    case TextEncoding::Utf16LENoMark:
    case TextEncoding::Utf16BENoMark:
      return QStringLiteral("UTF-16（BOMなし）");
  }
  return {};
}

namespace {

// Adds the lines of UTF-16 text that hold a half of a surrogate pair alone;
// returns the number of the text's last line.
int loneSurrogateLines(const QString& text, std::vector<FileProblem>* problems, const QString& message) {
  int line = 1;
  int reported = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
      ++line;
    } else if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (c.isSurrogate() && reported != line) {
      problems->push_back({line, message});
      reported = line;
    }
  }
  return line;
}

}  // namespace

QString decodeQuestionText(const QByteArray& bytes, std::vector<FileProblem>* problems, TextEncoding* used) {
  const TextEncoding encoding = questionEncoding(bytes);
  if (used) *used = encoding;
  if (encoding == TextEncoding::Utf16LENoMark || encoding == TextEncoding::Utf16BENoMark) {
    // Read as what it is, so nothing else is blamed, and refused in one line.
    if (problems)
      problems->push_back(
          {0, QStringLiteral("このファイルは UTF-16 ですが、先頭にバイト順マーク（BOM）がありません。") +
                  QStringLiteral("メモ帳などで文字コードに「UTF-8」か「Shift_JIS」を選んで") +
                  QStringLiteral("保存し直してください。")});
    QStringDecoder decoder(encoding == TextEncoding::Utf16LENoMark ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
  }
  const QString message = encodingName(encoding) + QStringLiteral("として読めない文字があります。");
  if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) {
    QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
    if (problems) {
      const std::size_t before = problems->size();
      const int last = loneSurrogateLines(text, problems, message);
      // An odd last byte is half a character: the last line is at fault.
      if (bytes.size() % 2 != 0 && (problems->size() == before || problems->back().line != last))
        problems->push_back({last, message});
    }
    return text;
  }
  const QByteArrayView body = encoding == TextEncoding::Utf8Bom ? QByteArrayView(bytes).sliced(3) : bytes;
  bool ok = true;
  QString text = decodeBytes(body, encoding == TextEncoding::Cp932 ? encoding : TextEncoding::Utf8, &ok);
  if (ok || !problems) return text;
  // Rare: find the lines that hold the bad bytes, each with a decoder of its
  // own. Only lines with bytes above 0x7F can be at fault.
  const TextEncoding lineEncoding = encoding == TextEncoding::Cp932 ? encoding : TextEncoding::Utf8;
  // Without a mark, UTF-8 was chosen because most lines are UTF-8.
  const QString lineMessage =
      encoding == TextEncoding::Utf8
          ? QStringLiteral("この行は UTF-8 ではありません（ほかの行は UTF-8 です。") +
                QStringLiteral("この行だけ Shift_JIS など別の文字コードで保存されたようです）。")
          : message;
  const std::size_t before = problems->size();
  eachHighLine(body, [&](int line, const char* begin, const char* end) {
    bool lineOk = true;
    (void)decodeBytes(QByteArrayView(begin, end - begin), lineEncoding, &lineOk);
    if (!lineOk) problems->push_back({line, lineMessage});
  });
  if (problems->size() == before) problems->push_back({0, message});
  return text;
}

QString quoteField(const QString& text) {
  if (text.size() <= kQuotedChars) return u'「' + text + u'」';
  // Never cut a surrogate pair in two.
  qsizetype cut = kQuotedChars;
  if (text[cut - 1].isHighSurrogate()) --cut;
  return u'「' + text.left(cut) + QStringLiteral("…」");
}

bool isControlChar(char16_t u) {
  return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || u == 0x061C || u == 0x200E ||
         u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

void checkControls(const Field& field, const QString& what, std::vector<FileProblem>& problems) {
  const auto* d = reinterpret_cast<const char16_t*>(field.text.constData());
  if (std::none_of(d, d + field.text.size(), isControlChar)) return;
  problems.push_back(
      {field.line, what + QStringLiteral("に改行やタブなどの制御文字があります：") + quoteField(field.text)});
}

QString describeProblems(const QString& fileName, const std::vector<FileProblem>& problems, int most) {
  QString text =
      QStringLiteral("問題ファイル「") + fileName + QStringLiteral("」に問題があるため、この章を始められません。\n");
  int shown = 0;
  for (const FileProblem& p : problems) {
    if (shown == most) {
      text += QStringLiteral("ほかに") + QString::number(problems.size() - static_cast<std::size_t>(most)) +
              QStringLiteral("件あります。\n");
      break;
    }
    text += p.line > 0 ? QString::number(p.line) + QStringLiteral("行目：") + p.message + u'\n' : p.message + u'\n';
    ++shown;
  }
  return text.trimmed();
}

QString showControls(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (!isControlChar(u)) {
      shown += c;
    } else if (u == u'\n') {
      shown += QStringLiteral("\\n");
    } else if (u == u'\r') {
      shown += QStringLiteral("\\r");
    } else if (u == u'\t') {
      shown += QStringLiteral("\\t");
    } else if (u == 0) {
      shown += QStringLiteral("\\0");
    } else {
      shown += QStringLiteral("\\u{") + QString::number(u, 16).toUpper().rightJustified(4, u'0') + u'}';
    }
  }
  return shown;
}

QString reportLine(const QString& path, const FileProblem& problem) {
  return showControls(path) + u':' + QString::number(problem.line) + QStringLiteral(": ") +
         showControls(problem.message);
}

std::optional<FileProblem> endOfRecords(int got, int count, const QString& fieldList, std::size_t held, int most,
                                        int line) {
  if (got < count)
    return FileProblem{line, QStringLiteral("最後の問題の項目が足りません（") + QString::number(count) +
                                 QStringLiteral("項目：") + fieldList + QStringLiteral("）。")};
  if (held == static_cast<std::size_t>(most))
    return FileProblem{
        line, QStringLiteral("問題が多すぎます。") + QString::number(most) + QStringLiteral("問までにしてください。")};
  return std::nullopt;
}

void requireQuizLevels(std::vector<FileProblem>& problems, std::array<int, 2> counts, std::array<QString, 2> what,
                       const QString& note) {
  const std::array<int, 2> need = {quiz::kLevelOneQuestions, quiz::kQuestionsPerQuiz - quiz::kLevelOneQuestions};
  for (std::size_t level = 0; level < 2; ++level) {
    if (!problems.empty() || counts[level] >= need[level]) continue;
    problems.push_back({0, what[level] + QStringLiteral("が") + QString::number(counts[level]) +
                               QStringLiteral("問しかありません。") + QString::number(need[level]) +
                               QStringLiteral("問以上必要です。") + note});
  }
}

int readRecord(FieldReader& reader, std::vector<Field>& f, int n) {
  f.assign(static_cast<std::size_t>(n), Field{});
  int got = 0;
  while (got < n && reader.next(f[static_cast<std::size_t>(got)])) ++got;
  return got;
}

bool wholeIn(const Field& f, int low, int high, int* out) {
  double v = 0.0;
  if (f.quoted || !readsAsNumber(f.text, &v) || v != std::floor(v) || v < low || v > high) return false;
  *out = static_cast<int>(v);
  return true;
}
