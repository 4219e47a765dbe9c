#include "tools/qtnotes.h"

#include <QString>
#include <QtGlobal>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void criticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) return;
  std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
}

}  // namespace

void quietQtNotes() { qInstallMessageHandler(criticalOnly); }

QString outputProblem() {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) return {};
  return QStringLiteral("結果を標準出力に書き込めませんでした（") +
         QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO)) + QStringLiteral("）。");
}
