#include "chapter2/readings.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace readings {

namespace {

struct Entry {
  char32_t c;
  const char* on;
  const char* kun;
  const char* examples;
};

const Entry kTable[] = {
#include "kanjireadings.inc"
};

bool isKana(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FC); }
bool isKatakana(char32_t c) { return c >= 0x30A1 && c <= 0x30F6; }

// How one character of a word is heard: kana as itself, a kanji by one of
// its readings (in hiragana, the okurigana left to the kana that follow).
struct Heard {
  bool kanji = false;
  bool on = false;
  QString reading;
};

QString voiced(const QString& r) {
  static const QString pairs = QStringLiteral(
      "かがきぎくぐけげこごさざしじすずせぜそぞただちぢつづてでとどはばはぱひびひぴふぶふぷへべへぺほぼほぽ");
  QStringList out;
  for (int i = 0; i + 1 < pairs.size(); i += 2)
    if (!r.isEmpty() && r[0] == pairs[i]) out << pairs[i + 1] + r.mid(1);
  return out.join(u' ');
}

// The sounds a kanji's reading can take inside a word: as it is, voiced at
// its start (rendaku), or cut short before the next sound (sokuon).
QStringList variants(const QString& r) {
  QStringList v{r};
  for (const QString& x : voiced(r).split(u' ', Qt::SkipEmptyParts)) v << x;
  const QString ends = QStringLiteral("つちくき");
  if (r.size() > 1 && ends.contains(r.back())) v << r.left(r.size() - 1) + u'っ';
  return v;
}

QString stem(const QString& kun) { return sound(kun.section(u'.', 0, 0)); }

// Splits kana over the characters of a word: the first way that reads the
// whole word, or false.
bool segment(const QList<uint>& chars, int i, const QString& kana, int p, std::vector<Heard>* out) {
  if (i == chars.size()) return p == kana.size();
  const char32_t c = chars[i];
  if (isKana(c)) {
    const QString s = sound(QString::fromUcs4(&c, 1));
    if (!kana.mid(p).startsWith(s)) return false;
    out->push_back({});
    out->back().reading = s;
    if (segment(chars, i + 1, kana, p + static_cast<int>(s.size()), out)) return true;
    out->pop_back();
    return false;
  }
  Kanji k;
  const char32_t looked = (c == U'々' && i > 0) ? chars[i - 1] : c;
  if (!lookup(looked, &k)) return false;
  // Followed by kana (okurigana) a kanji is most likely read by a kun
  // reading, within a compound by an on reading.
  std::vector<std::pair<QString, bool>> candidates, on;
  for (const QString& r : k.kun) candidates.emplace_back(stem(r), false);
  for (const QString& r : k.on) on.emplace_back(sound(r), true);
  const bool okurigana = i + 1 < chars.size() && isKana(chars[i + 1]);
  candidates.insert(okurigana ? candidates.end() : candidates.begin(), on.begin(), on.end());
  for (const auto& [reading, byOnReading] : candidates) {
    for (const QString& v : variants(reading)) {
      if (v.isEmpty() || !kana.mid(p).startsWith(v)) continue;
      out->push_back({true, byOnReading, reading});
      if (segment(chars, i + 1, kana, p + static_cast<int>(v.size()), out)) return true;
      out->pop_back();
    }
  }
  return false;
}

bool hear(const QString& word, const QString& kana, std::vector<Heard>* heard) {
  heard->clear();
  return segment(word.toUcs4(), 0, sound(kana), 0, heard);
}

QString spoken(const QString& reading, bool on) {
  QString r = reading;
  r.remove(u'.');
  if (!on) return r;
  // On readings are said in katakana, as dictionaries write them.
  for (QChar& ch : r)
    if (ch.unicode() >= 0x3041 && ch.unicode() <= 0x3096) ch = QChar(ch.unicode() + 0x60);
  return r;
}

// The kun reading a kanji is heard by, as the dictionary writes it: of the
// readings with the stem heard, the one whose okurigana the word goes on
// with (変える: か.える, not か.わる).
QString heardKun(const Kanji& k, const QString& stemHeard, const QString& after) {
  QString best;
  qsizetype bestLength = -1;
  for (const QString& r : k.kun) {
    if (stem(r) != stemHeard) continue;
    const QString okurigana = sound(r.section(u'.', 1));
    const qsizetype length = after.startsWith(okurigana) ? okurigana.size() : -1;
    if (best.isEmpty() || length > bestLength) {
      best = r;
      bestLength = length;
    }
  }
  return best;
}

// An example word from outside the group that holds the kanji, said as
// screen readers do (ほうりつのリツ): its kana, の, and the kanji's reading
// in it; the dictionary's first, else one of the given words. Empty when
// there is none.
QString example(char32_t c, const QStringList& group, const QString& kana, const std::vector<Word>& examples) {
  Kanji k;
  if (lookup(c, &k))
    for (const QString& e : k.examples) {
      const QString said = e.section(u'=', 1);
      if (!group.contains(e.section(u'=', 0, 0)) && !sound(said).contains(sound(kana))) return said;
    }
  std::vector<Heard> heard;
  for (const auto& [word, wordKana] : examples) {
    if (group.contains(word) || sound(wordKana).contains(sound(kana))) continue;
    const QList<uint> chars = word.toUcs4();
    const auto kanjiIn = std::count_if(chars.begin(), chars.end(), [](uint ch) { return !isKana(ch); });
    if (kanjiIn < 2 || !chars.contains(static_cast<uint>(c)) || !hear(word, wordKana, &heard)) continue;
    for (int i = 0; i < chars.size(); ++i) {
      const Heard& h = heard[static_cast<std::size_t>(i)];
      if (chars[i] == c && h.kanji) return sound(wordKana) + QStringLiteral("の") + spoken(h.reading, h.on);
    }
  }
  return {};
}

// How one kanji is told, more fully at each level: 0 a reading of the
// other kind (kun for a kanji heard by its on reading, on for one heard by
// its kun reading), 1 one more reading other than the one heard, 2 an
// example word for a kanji with no other reading, 3 an example word for
// every kanji.
QString element(char32_t c, const Heard* h, const QString& after, int level, const QStringList& group,
                const QString& kana, const std::vector<Word>& examples) {
  Kanji k;
  if (!lookup(c, &k)) return {};
  QStringList told;
  const auto add = [&](const QString& r) {
    if (!r.isEmpty() && !told.contains(r)) told << r;
  };
  if (!h) {
    for (const QString& r : k.kun) add(spoken(r, false));
    for (const QString& r : k.on) add(spoken(r, true));
  } else {
    const QString kunHeard = h->on ? QString() : heardKun(k, h->reading, after);
    for (const QString& r : h->on ? k.kun : k.on) add(spoken(r, !h->on));
    for (const QString& r : h->on ? k.on : k.kun)
      if (h->on ? sound(r) != h->reading : r != kunHeard) add(spoken(r, h->on));
  }
  // From level 2 an example word tells a kanji that has no other reading;
  // from level 3 every kanji.
  if (level >= 3 || (level == 2 && told.isEmpty())) {
    const QString ex = example(c, group, kana, examples);
    if (!ex.isEmpty()) return ex;
  }
  if (told.isEmpty() && h) add(spoken(h->reading, h->on));
  return QStringList(told.mid(0, std::min(level, 1) + 1)).join(QStringLiteral("、"));
}

QString describeOne(const QString& word, const QString& kana, int level, const QStringList& group,
                    const std::vector<Word>& examples) {
  std::vector<Heard> heard;
  const bool known = hear(word, kana, &heard);
  const QList<uint> chars = word.toUcs4();
  QStringList parts;
  for (int i = 0; i < chars.size(); ++i) {
    if (isKana(chars[i]) || chars[i] == U'々') continue;
    QString after;
    for (qsizetype n = i + 1; n < chars.size(); ++n) {
      const char32_t ch = chars[n];
      after += QString::fromUcs4(&ch, 1);
    }
    after = sound(after);
    const QString e =
        element(chars[i], known ? &heard[static_cast<std::size_t>(i)] : nullptr, after, level, group, kana, examples);
    if (!e.isEmpty()) parts << e;
  }
  return parts.join(QStringLiteral("・"));
}

}  // namespace

bool lookup(char32_t c, Kanji* kanji) {
  const auto it =
      std::lower_bound(std::begin(kTable), std::end(kTable), c, [](const Entry& e, char32_t v) { return e.c < v; });
  if (it == std::end(kTable) || it->c != c) return false;
  kanji->on = QString::fromUtf8(it->on).split(u' ', Qt::SkipEmptyParts);
  kanji->kun = QString::fromUtf8(it->kun).split(u' ', Qt::SkipEmptyParts);
  kanji->examples = QString::fromUtf8(it->examples).split(u' ', Qt::SkipEmptyParts);
  return true;
}

QString sound(const QString& text) {
  QString s;
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u == u'.' || u == u' ' || u == u'・' || u == u'、') continue;
    s += isKatakana(u) ? QChar(u - 0x60) : ch;
  }
  return s;
}

QStringList describe(const QStringList& group, const QString& kana, const std::vector<Word>& examples) {
  QStringList out;
  for (const QString& w : group) out << describeOne(w, kana, 0, group, examples);
  // Words that would still sound alike are told more fully, up to example
  // words.
  for (int level = 1; level <= 3; ++level) {
    std::vector<int> alike;
    for (int i = 0; i < out.size(); ++i)
      for (int j = 0; j < out.size(); ++j)
        if (i != j && sound(out[i]) == sound(out[j])) {
          alike.push_back(i);
          break;
        }
    for (int i : alike) out[i] = describeOne(group[i], kana, level, group, examples);
  }
  return out;
}

}  // namespace readings
