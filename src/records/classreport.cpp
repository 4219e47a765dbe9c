#include "records/classreport.h"

#include <dirent.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "questions/questionfile.h"
#include "questions/quizrules.h"

namespace classreport {

namespace {

// Columns of one code point on a terminal (the East Asian wide and
// full-width ranges take two).
int columns(char32_t u) {
  const QChar::Category c = QChar::category(u);
  if (c == QChar::Mark_NonSpacing || c == QChar::Mark_Enclosing || c == QChar::Other_Format) return 0;
  const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0x303E) || (u >= 0x3041 && u <= 0x33FF) ||
                    (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xA000 && u <= 0xA4CF) ||
                    (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) ||
                    (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6) || (u >= 0x1F300 && u <= 0x1F64F) ||
                    (u >= 0x1F900 && u <= 0x1F9FF) || (u >= 0x20000 && u <= 0x3FFFD);
  return wide ? 2 : 1;
}

// The record read in full: its numbers are shown rather than its problem.
bool readInFull(const Row& r) { return r.result == recordfile::LoadResult::Loaded; }

// Chapter c's streak (修了 for a completed chapter) and quiz count.
QString streak(const Row& r, int c) {
  const int v = r.record.streak[static_cast<std::size_t>(c)];
  return v == quiz::kCompletedMark ? QStringLiteral("修了") : QString::number(v);
}
QString count(const Row& r, int c) { return QString::number(r.record.count[static_cast<std::size_t>(c)]); }

// A learner's name as the teacher reads it: control characters, characters
// that show nothing and blanks at either end shown as \u{HHHH}, so two
// names that look alike on the screen stay apart in the list.
QString shownName(const QString& name) {
  const auto code = name.toUcs4();
  QString shown;
  for (qsizetype i = 0; i < code.size(); ++i) {
    const char32_t c = code[i];
    const bool end = i == 0 || i + 1 == code.size();
    if (recordfile::isHiddenInName(c) || (end && QChar::category(c) == QChar::Separator_Space))
      shown += QStringLiteral("\\u{") + QString::number(c, 16).toUpper().rightJustified(4, u'0') + u'}';
    else
      shown += showControls(QString::fromUcs4(&c, 1));
  }
  return shown;
}

QString padded(const QString& text, int width, bool right) {
  const QString fill(std::max(0, width - displayWidth(text)), u' ');
  return right ? fill + text : text + fill;
}

// A field as a spreadsheet reads it: the text as shown (control characters
// visibly, so an escape sequence never reaches a terminal), behind a
// leading ' when the raw text would run as a formula (starting with =, +,
// -, @, TAB or CR).
QString csvField(const QString& raw, QString text) {
  const QChar first = raw.isEmpty() ? QChar() : raw.front();
  if (first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r')
    text.prepend(u'\'');
  if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
  QString quoted = text;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

// A file name's bytes as text: UTF-8 where they are UTF-8, every other byte
// as \xHH, so two names that differ only in such bytes stay apart.
QString shownFileName(const QByteArray& raw) {
  QString shown;
  for (qsizetype i = 0; i < raw.size();) {
    const auto lead = static_cast<unsigned char>(raw[i]);
    const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length > 0 && i + length <= raw.size()) {
      const QByteArray sequence = raw.mid(i, length);
      const QString decoded = QString::fromUtf8(sequence);
      if (decoded.toUtf8() == sequence && !decoded.contains(QChar::ReplacementCharacter)) {
        shown += decoded;
        i += length;
        continue;
      }
    }
    shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, u'0');
    ++i;
  }
  return shown;
}

}  // namespace

QString folderProblem(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.exists()) return QStringLiteral("フォルダ「") + folder + QStringLiteral("」が見つかりません。");
  if (!info.isDir()) return QStringLiteral("「") + folder + QStringLiteral("」はフォルダではありません。");
  if (!info.isReadable() || !info.isExecutable())
    return QStringLiteral("フォルダ「") + folder +
           QStringLiteral("」の中を読めません（読み取りが許可されていません）。");
  return {};
}

std::vector<Row> read(const QString& folder) {
  const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
  std::vector<Row> rows;
  // The folder's own listing, byte for byte: a name whose bytes are no
  // UTF-8 (copied from another system) is listed too, not left out.
  DIR* listing = ::opendir(QFile::encodeName(dir).constData());
  if (!listing) return rows;
  while (const dirent* entry = ::readdir(listing)) {
    const QByteArray raw(entry->d_name);
    if (!raw.endsWith(".dat")) continue;
    Row row;
    row.name = QFile::decodeName(raw.chopped(4));
    if (QFile::encodeName(row.name) != raw.chopped(4)) {
      row.name = shownFileName(raw.chopped(4));
      row.result = recordfile::LoadResult::Unreadable;
      row.problem = QStringLiteral("ファイル名の文字が UTF-8 ではないため、開けません。");
    } else {
      row.result = recordfile::read(dir, row.name, row.record, &row.problem);
    }
    if (row.result == recordfile::LoadResult::Short)
      row.problem = QStringLiteral("成績の数字が6つそろっていません。");
    else if (row.result == recordfile::LoadResult::Missing)
      row.problem = QStringLiteral("ファイルが見つかりません（読んでいる間に消されました）。");
    rows.push_back(std::move(row));
  }
  ::closedir(listing);
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.name < b.name; });
  return rows;
}

QString programFolder(const QString& programDir, const QString& xdgDataHome, const QString& home) {
  const QDir dir(programDir);
  QDir parent(programDir);
  const bool installed = dir.dirName() == QStringLiteral("kotobarion") && parent.cdUp() &&
                         parent.dirName() == QStringLiteral("lib") &&
                         QFileInfo(parent.filePath(QStringLiteral("../bin/kotobarion"))).isFile();
  if (!installed) return programDir;
  const QString dataHome = xdgDataHome.isEmpty() ? home + QStringLiteral("/.local/share") : xdgDataHome;
  return dataHome + QStringLiteral("/kotobarion");
}

int displayWidth(const QString& text) {
  int width = 0;
  for (char32_t u : text.toUcs4()) width += columns(u);
  return width;
}

QString table(const std::vector<Row>& rows) {
  const QStringList header = {QStringLiteral("名前"),   QStringLiteral("第１章"),  QStringLiteral("回数"),
                              QStringLiteral("第２章"), QStringLiteral("回数"),    QStringLiteral("第３章"),
                              QStringLiteral("回数"),   QStringLiteral("免許皆伝")};
  std::vector<QStringList> cells;
  cells.reserve(rows.size());
  for (const Row& r : rows) {
    QStringList line{shownName(r.name)};
    if (!readInFull(r)) {
      line << showControls(r.problem);
    } else {
      for (int c = 0; c < quiz::kChapters; ++c) line << streak(r, c) << count(r, c);
      const bool all = r.record.allCompleted();
      line << (all ? QStringLiteral("○") : QString());
    }
    cells.push_back(line);
  }
  // Every column but the last is as wide as its widest cell; a message
  // runs from the second column to the end of the line.
  std::vector<int> width(static_cast<std::size_t>(header.size()) - 1);
  for (std::size_t i = 0; i < width.size(); ++i) width[i] = displayWidth(header[static_cast<qsizetype>(i)]);
  for (std::size_t k = 0; k < cells.size(); ++k)
    for (std::size_t i = 0; i < width.size(); ++i)
      if (i == 0 || readInFull(rows[k]))
        width[i] = std::max(width[i], displayWidth(cells[k][static_cast<qsizetype>(i)]));
  auto lineOf = [&width](const QStringList& line) {
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
      if (i > 0) text += QStringLiteral("  ");
      const bool last = i + 1 == line.size();
      text += last ? line[i] : padded(line[i], width[static_cast<std::size_t>(i)], i > 0);
    }
    while (text.endsWith(u' ')) text.chop(1);
    return text + u'\n';
  };
  QString out = lineOf(header);
  for (const QStringList& line : cells) out += lineOf(line);
  return out;
}

QString csv(const std::vector<Row>& rows) {
  QString out = QStringLiteral("名前,第１章,第１章の回数,第２章,第２章の回数,第３章,第３章の回数,備考\r\n");
  for (const Row& r : rows) {
    out += csvField(r.name, shownName(r.name));
    if (readInFull(r)) {
      for (int c = 0; c < quiz::kChapters; ++c) out += u',' + streak(r, c) + u',' + count(r, c);
      out += u',';
    } else {
      out += QStringLiteral(",,,,,,,") + csvField(r.problem, showControls(r.problem));
    }
    out += QStringLiteral("\r\n");
  }
  return out;
}

}  // namespace classreport
