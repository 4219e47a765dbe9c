// Converts a readable UTF-8 question source into the delivered form: code
// page 932 with CR LF line ends. Fails on a character code page 932 lacks.
#include <QFile>
#include <QString>
#include <cstdio>

#include "questions/fieldreader.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kotobarion-encode SOURCE.utf8.txt TARGET.txt\n");
    return 2;
  }
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "%s: cannot read\n", argv[1]);
    return 1;
  }
  QString text = QString::fromUtf8(in.readAll());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\n', QStringLiteral("\r\n"));
  bool ok = false;
  const QByteArray bytes = encodeCp932(text, &ok);
  if (!ok || decodeCp932(bytes) != text) {
    std::fprintf(stderr, "%s: holds characters that code page 932 cannot encode\n", argv[1]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
