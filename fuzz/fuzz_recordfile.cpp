// Fuzz target: the learner record reader and the name check on any bytes.
// Checks that a record read whole is written back to the same numbers and
// that an accepted name can never leave the folder.
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "records/recordfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  std::array<int, 7> kiroku{};
  bool damaged = false;
  const int read = recordfile::decode(bytes, kiroku, &damaged);
  if (read < 0 || read > 6 || (damaged && read == 6)) std::abort();
  if (read == 6) {
    std::array<int, 7> again{};
    if (recordfile::decode(recordfile::encode(kiroku), again) != 6 || again != kiroku) std::abort();
  }
  for (int v : kiroku) (void)recordfile::countUp(v);

  for (const QString& name :
       {QString::fromUtf8(bytes),
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2)}) {
    if (!recordfile::nameProblem(name).isEmpty()) continue;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0))) std::abort();
    if (QFile::encodeName(name + QStringLiteral(".dat")).size() + recordfile::kSaveSuffixBytes >
        recordfile::kMaxFileNameBytes)
      std::abort();
  }
  return 0;
}
