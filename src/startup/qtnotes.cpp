#include "startup/qtnotes.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace {

void criticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) return;
  std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
}

}  // namespace

void quietQtNotes() { qInstallMessageHandler(criticalOnly); }
