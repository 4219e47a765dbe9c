#pragma once

#include <QWidget>

class QTextBrowser;

// Shows the help file beside the program in a window of its own, not modal,
// so a quiz goes on undisturbed. The file is HTML or Markdown text.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  HelpViewer();
  // Opens the file at its contents page; a missing or unreadable file is
  // reported in the window itself. Returns false in that case.
  bool open(const QString& helpFile, int command);
  QString shownText() const;
  // The text as a screen reader gets it, line by line through the caret.
  QString spokenText() const;

 protected:
  // Escape closes the window.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
};
