#include "startup/helpviewer.h"

#include <QAccessible>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QVBoxLayout>

#include "layout/widgets.h"
#include "questions/fieldreader.h"
#include "questions/plainfile.h"

namespace {
// Far more than any help text; a larger file is not read past this.
constexpr qint64 kMaxHelpBytes = 8 * 1024 * 1024;
}  // namespace

namespace {

// A screen reader reads the text line by line through the caret: a table's
// frame marks and the line breaks inside a paragraph would be read out, so
// every table row becomes a paragraph of its cells and every line break a
// paragraph break. What is shown keeps its headings, lists and bold.
void flatten(QTextDocument* doc) {
  for (;;) {
    QTextTable* table = nullptr;
    for (QTextBlock b = doc->begin(); b.isValid() && !table; b = b.next()) table = QTextCursor(b).currentTable();
    if (!table) break;
    std::vector<QTextDocumentFragment> rows;
    for (int r = 0; r < table->rows(); ++r) {
      for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor in = cell.firstCursorPosition();
        in.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        rows.emplace_back(in);
      }
    }
    const int columns = table->columns();
    QTextCursor at(doc);
    at.setPosition(table->firstPosition() - 1);
    at.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    at.removeSelectedText();
    at.insertBlock();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      at.insertFragment(rows[i]);
      const bool rowEnds = (static_cast<int>(i) + 1) % columns == 0;
      if (rowEnds)
        at.insertBlock();
      else
        at.insertText(QStringLiteral("："));
    }
  }
  for (QTextCursor c = doc->find(QString(QChar::LineSeparator)); !c.isNull();
       c = doc->find(QString(QChar::LineSeparator), c))
    c.insertBlock();
}

}  // namespace

HelpViewer::HelpViewer() {
  setWindowTitle(QStringLiteral("コトバリオン　ヘルプ"));
  // A dialog with its name for a screen reader, its text one a caret moves
  // through (the arrow keys, reading as it goes), read-only.
  ui::setAccessibleRole(this, QAccessible::Dialog);
  setAccessibleName(windowTitle());
  resize(800, 700);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  QFont font = browser_->font();
  font.setPointSize(12);
  browser_->setFont(font);
  browser_->setOpenExternalLinks(false);
  browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
  browser_->setAccessibleName(QStringLiteral("ヘルプの本文"));
  box->addWidget(browser_);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool HelpViewer::open(const QString& helpFile, int command) {
  // Command 15 opens the contents: the top of the file.
  (void)command;
  // Opened without blocking and read only so far: a pipe or a device in its
  // place, even one swapped in at the last moment, never holds the program.
  const QString name = QFileInfo(helpFile).fileName();
  QByteArray bytes;
  if (!PlainFile::readUpTo(helpFile, kMaxHelpBytes, &bytes)) {
    browser_->setPlainText(
        QStringLiteral("ヘルプファイル「") + name +
        QStringLiteral("」が見つからないか、読み込めません。\nプログラムと同じフォルダにあるか確かめてください。"));
    return false;
  }
  QString text = QString::fromUtf8(bytes);
  if (text.contains(QChar::ReplacementCharacter)) text = decodeCp932(bytes);
  browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
  if (text.contains(QStringLiteral("<html"), Qt::CaseInsensitive) ||
      text.contains(QStringLiteral("<h1"), Qt::CaseInsensitive))
    browser_->setHtml(text);
  else
    browser_->setMarkdown(text);
  flatten(browser_->document());
  browser_->moveCursor(QTextCursor::Start);
  browser_->setFocus();
  return true;
}

QString HelpViewer::shownText() const { return browser_->toPlainText(); }

QString HelpViewer::spokenText() const { return browser_->document()->toRawText(); }
