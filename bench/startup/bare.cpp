// The yardstick of the start-up benchmark: a bare Qt Widgets program that
// shows one 640 x 400 window and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w;
  w.setWindowTitle(QStringLiteral("bare"));
  w.resize(640, 400);
  w.show();
  return QApplication::exec();
}
