#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// What tells homonyms apart for a learner who hears them: the other readings
// of their kanji, as Japanese screen readers describe a kanji. The readings
// come from KANJIDIC, made into a table at build time.
namespace readings {

// The readings of one kanji: on readings in katakana, kun readings in
// hiragana with a dot before the okurigana (たか.い).
struct Kanji {
  QStringList on, kun;
  // Example words as screen readers use them, word=said (議会=ぎかいのギ).
  QStringList examples;
};
// False when the dictionary does not hold the character.
bool lookup(char32_t c, Kanji* kanji);

// A word with the kana it is read by, as a question file pairs them.
using Word = std::pair<QString, QString>;

// The spoken descriptions of the words of one homonym group, all read as
// kana: for each kanji a reading other than the one the word is heard by
// (a kun reading for a kanji heard by its on reading, an on reading for one
// heard by its kun reading), joined by "・" (高価 read こうか: たかい・あたい).
// Words that would still sound alike are told by one more reading, and a
// kanji with no other reading by an example word (ほうりつのリツ): a common
// word from the dictionary, else one of the given words outside the group. Nothing but the words and their reading goes
// in, so no description tells which word a sentence wants.
QStringList describe(const QStringList& group, const QString& kana, const std::vector<Word>& examples);

// Folds katakana to hiragana and drops the dots and blanks of a reading:
// what two texts sound like.
QString sound(const QString& text);

}  // namespace readings
