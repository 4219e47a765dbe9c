#pragma once

#include <QString>
#include <QStringList>

// The texts of the end-of-quiz judgement.
namespace judgement {

// The grade message for a quiz with `score` correct answers after a streak
// of `streak` perfect quizzes (the perfect-quiz suffix is not included). A
// score outside 0..10 gives an empty text and *known = false.
QString grade(int score, int streak, bool* known = nullptr);

// What a perfect quiz appends once the streak has been raised to `streak`.
QString perfectSuffix(int streak);

// The completion text of chapter c (1..3).
QString completion(int c);

// The ten lines of the certificate.
QStringList certificate(const QString& userName, int count1, int count2, int count3);

}  // namespace judgement
