#include <QApplication>
#include <thread>

#include "layout/layout.h"
#include "startup/qtplatform.h"
#include "windows/session.h"

int main(int argc, char** argv) {
  // The font configuration loads beside the connection to the display; the
  // thread has ended before any window measures text.
  std::thread fonts(layout::loadFontConfiguration);
  QApplication app(argc, argv);
  fonts.join();
  QtPlatform::setUpApplication();
  QtPlatform platform;
  Session session(platform);
  session.start();
  return QApplication::exec();
}
