#include "fakeplatform.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "windows/messagewindow.h"

void FakePlatform::playSound(const QString& path) {
  afterEnd();
  sounds.push_back(path);
}

void FakePlatform::showModal(QWidget* window) {
  afterEnd();
  Modal m{window->windowTitle(), {}, window->palette().color(QPalette::Window), {}};
  if (auto* f5 = qobject_cast<MessageWindow*>(window)) {
    m.text = f5->text();
    m.back = f5->backColor();
    m.picture = f5->picture->pictureFile();
  }
  modals.push_back(m);
  QPointer<QWidget> before = QApplication::activeWindow();
  window->show();
  if (!dismissals.empty()) {
    auto dismiss = std::move(dismissals.front());
    dismissals.pop_front();
    dismiss(window);
  } else {
    window->hide();
  }
  if (before && before->isVisible() && !window->isVisible()) QApplication::setActiveWindow(before);
}

void FakePlatform::activateWindow(QWidget* window) {
  afterEnd();
  if (window->isVisible()) QApplication::setActiveWindow(window);
}

void FakePlatform::messageBox(const QString& text, const QString& caption) {
  afterEnd();
  QStringList shown;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) shown.append(w->windowTitle());
  boxes.push_back({text, caption, shown});
}

bool FakePlatform::question(const QString& text, const QString& caption, const QString&, const QString&) {
  messageBox(text, caption);
  if (answers.empty()) return false;
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

void FakePlatform::endProgram() {
  afterEnd();
  ++endCount;
}

void FakePlatform::showHelp(const QString& helpFile, int command) {
  afterEnd();
  helps.push_back(helpFile + QStringLiteral("#") + QString::number(command));
}

float Randoms::next() {
  ++drawn;
  if (values.empty()) return static_cast<float>(gen() >> 8) * (1.0f / 16777216.0f);
  const float u = values.front();
  values.pop_front();
  return u;
}
