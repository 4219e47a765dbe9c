#include <QApplication>

#include "startup/qtplatform.h"
#include "startup/shoki.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QtPlatform::setUpApplication();
  QtPlatform platform;
  Shoki shoki(platform);
  shoki.Main();
  return QApplication::exec();
}
