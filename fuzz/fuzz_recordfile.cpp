// Fuzz target: the learner record reader and the name check on any bytes.
// Checks that a record read whole is written back to the same numbers, that
// an accepted name can never leave the folder, and that a name accepted for
// a new learner is, in the composed form (NFC) that names its file, short
// enough to save again and again, free of characters that show nothing and
// of blanks at its ends, and shows something.
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "records/recordfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  LearnerRecord learner{};
  bool damaged = false;
  const int read = recordfile::decode(bytes, learner, &damaged);
  if (read < 0 || read > 6 || (damaged && read == 6)) std::abort();
  if (read == 6) {
    LearnerRecord again{};
    if (recordfile::decode(recordfile::encode(learner), again) != 6 || again != learner) std::abort();
  }
  for (int v : learner.streak) (void)recordfile::countUp(v);
  for (int v : learner.count) (void)recordfile::countUp(v);

  for (const QString& name :
       {QString::fromUtf8(bytes),
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2)}) {
    if (!recordfile::nameProblem(name).isEmpty()) continue;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0))) std::abort();
    if (QFile::encodeName(name + QStringLiteral(".dat")).size() + recordfile::kSaveSuffixBytes >
        recordfile::kMaxFileNameBytes)
      std::abort();
    if (!recordfile::newNameProblem(name).isEmpty()) continue;
    const QString stored = name.normalized(QString::NormalizationForm_C);
    if (!recordfile::nameProblem(stored).isEmpty()) std::abort();
    if (QFile::encodeName(stored + QStringLiteral(".dat")).size() + recordfile::kSaveSuffixBytes >
        recordfile::kMaxFileNameBytes)
      std::abort();
    const auto code = stored.toUcs4();
    bool shows = false;
    for (char32_t c : code) {
      const QChar::Category category = QChar::category(c);
      if (category == QChar::Other_Format || category == QChar::Other_Control || c == 0x3164 || c == 0x115F ||
          c == 0x1160 || c == 0xFFA0 || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0000 && c <= 0xE0FFF))
        std::abort();
      shows = shows || (category != QChar::Separator_Space && category != QChar::Mark_NonSpacing && c != 0x2800);
    }
    if (!code.isEmpty() && (!shows || QChar::category(code.front()) == QChar::Separator_Space ||
                            QChar::category(code.back()) == QChar::Separator_Space))
      std::abort();
  }
  return 0;
}
