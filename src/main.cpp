#include <QApplication>
#include <QStyleFactory>

#include "layout/layout.h"
#include "startup/qtplatform.h"
#include "startup/shoki.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kotobarion"));
  QApplication::setApplicationDisplayName(QStringLiteral("コトバリオン"));
  // The program ends only through its end operation, never because its last
  // visible window was closed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  layout::installFontSubstitutes();
  QApplication::setFont(layout::designFont(11, false));
  QtPlatform platform;
  Shoki shoki(platform);
  shoki.Main();
  return QApplication::exec();
}
