#include "startup/helpviewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "questions/fieldreader.h"
#include "questions/plainfile.h"

namespace {
// Far more than any help text; a larger file is not read past this.
constexpr qint64 kMaxHelpBytes = 8 * 1024 * 1024;
}  // namespace

HelpViewer::HelpViewer() {
  setWindowTitle(QStringLiteral("コトバリオン　ヘルプ"));
  resize(800, 700);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  QFont font = browser_->font();
  font.setPointSize(12);
  browser_->setFont(font);
  browser_->setOpenExternalLinks(false);
  box->addWidget(browser_);
}

bool HelpViewer::open(const QString& helpFile, int command) {
  // Command 15 opens the contents: the top of the file.
  (void)command;
  // Opened without blocking and read only so far: a pipe or a device in its
  // place, even one swapped in at the last moment, never holds the program.
  PlainFile file(helpFile);
  const QString name = QFileInfo(helpFile).fileName();
  bool read = file.kind() == PlainFile::Kind::File;
  const QByteArray bytes = read ? file.read(kMaxHelpBytes, &read) : QByteArray();
  if (!read) {
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
  browser_->moveCursor(QTextCursor::Start);
  return true;
}

QString HelpViewer::shownText() const { return browser_->toPlainText(); }
