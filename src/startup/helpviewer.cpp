#include "startup/helpviewer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "questions/fieldreader.h"

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
  QFile file(helpFile);
  const QString name = QFileInfo(helpFile).fileName();
  if (!QFileInfo(helpFile).isFile() || !file.open(QIODevice::ReadOnly)) {
    browser_->setPlainText(
        QStringLiteral("ヘルプファイル「") + name +
        QStringLiteral("」が見つからないか、読み込めません。\nプログラムと同じフォルダにあるか確かめてください。"));
    return false;
  }
  const QByteArray bytes = file.readAll();
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
