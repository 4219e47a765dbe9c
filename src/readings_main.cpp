// Builds the table that chapter 2 describes its options with, from two
// dictionaries of the Electronic Dictionary Research and Development Group
// (EUC-JP text): KANJIDIC, one kanji a line, gives every kanji its on
// readings (katakana) and kun readings (hiragana, a dot before the
// okurigana); name readings (after T1), radical names (after T2) and the
// hyphens of prefix and suffix readings are left out. EDICT gives each
// kanji up to two example words as screen readers use them (ぎろんのギ): a
// common word (marked P) of two kanji whose reading no other common word
// shares, split into the readings of its two kanji.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::u32string decode(iconv_t cd, const std::string& in) {
  std::u32string out(in.size() + 1, U'\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = reinterpret_cast<char*>(out.data());
  std::size_t dstLeft = out.size() * sizeof(char32_t);
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - dstLeft / sizeof(char32_t));
  return out;
}

std::string utf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool hiragana(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || c == 0x30FC; }
bool katakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FC; }

bool all(const std::u32string& s, bool (*is)(char32_t)) {
  if (s.empty()) return false;
  for (char32_t c : s)
    if (c != U'.' && !is(c)) return false;
  return true;
}

std::u32string toHiragana(std::u32string s) {
  for (char32_t& c : s)
    if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
  return s;
}

std::vector<std::u32string> words(const std::u32string& line) {
  std::vector<std::u32string> out;
  std::u32string w;
  for (char32_t c : line) {
    if (c == U' ') {
      if (!w.empty()) out.push_back(w);
      w.clear();
    } else {
      w += c;
    }
  }
  if (!w.empty()) out.push_back(w);
  return out;
}

struct Entry {
  std::vector<std::u32string> on, kun;
  // How common the kanji is: its rank among newspaper kanji (1 the most).
  int rank = 9999;
  // Example words by the rank of their other kanji, the most common first.
  std::multimap<int, std::u32string> examples;
};

// A reading as it may sound inside a word: as it is, voiced at its start,
// or cut short before the next sound.
std::vector<std::u32string> variants(const std::u32string& r) {
  static const std::u32string pairs =
      U"かがきぎくぐけげこごさざしじすずせぜそぞただちぢつづてでとどはばはぱひびひぴふぶふぷへべへぺほぼほぽ";
  std::vector<std::u32string> v{r};
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
    if (!r.empty() && r[0] == pairs[i]) v.push_back(pairs[i + 1] + r.substr(1));
  if (r.size() > 1 && std::u32string(U"つちくき").find(r.back()) != std::u32string::npos)
    v.push_back(r.substr(0, r.size() - 1) + U'っ');
  return v;
}

// The readings a kanji may have in a compound, with how each is said.
std::vector<std::pair<std::u32string, std::u32string>> sounds(const Entry& e) {
  std::vector<std::pair<std::u32string, std::u32string>> out;
  for (const std::u32string& r : e.on)
    for (const std::u32string& v : variants(toHiragana(r))) out.emplace_back(v, r);
  for (const std::u32string& r : e.kun) {
    const std::u32string stem = r.substr(0, r.find(U'.'));
    for (const std::u32string& v : variants(stem)) out.emplace_back(v, stem);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kotobarion-readings KANJIDIC EDICT OUTPUT.inc\n");
    return 2;
  }
  iconv_t cd = iconv_open("UTF-32LE", "EUC-JP");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "no EUC-JP converter\n");
    return 1;
  }
  std::map<char32_t, Entry> table;
  std::ifstream kanjidic(argv[1], std::ios::binary);
  if (!kanjidic) {
    std::fprintf(stderr, "%s: cannot read (install the Debian package kanjidic)\n", argv[1]);
    return 1;
  }
  std::string raw;
  while (std::getline(kanjidic, raw)) {
    if (raw.empty() || raw[0] == '#') continue;
    const std::vector<std::u32string> w = words(decode(cd, raw));
    if (w.empty() || w[0].size() != 1) continue;
    Entry e;
    for (std::size_t i = 1; i < w.size(); ++i) {
      if (w[i] == U"T1" || w[i] == U"T2" || w[i][0] == U'{') break;
      if (w[i][0] == U'F' && w[i].size() > 1 && w[i][1] >= U'0' && w[i][1] <= U'9') {
        e.rank = std::stoi(utf8(w[i].substr(1)));
        continue;
      }
      std::u32string r;
      for (char32_t c : w[i])
        if (c != U'-') r += c;
      std::vector<std::u32string>& list = all(r, katakana) ? e.on : e.kun;
      if (!all(r, katakana) && !all(r, hiragana)) continue;
      bool seen = false;
      for (const std::u32string& x : list) seen = seen || x == r;
      if (!seen) list.push_back(r);
    }
    if (!e.on.empty() || !e.kun.empty()) table[w[0][0]] = e;
  }
  std::ifstream edict(argv[2], std::ios::binary);
  if (!edict) {
    std::fprintf(stderr, "%s: cannot read (install the Debian package edict)\n", argv[2]);
    return 1;
  }
  // Common words of two kanji, and how many common words each reading has.
  std::vector<std::pair<std::u32string, std::u32string>> common;
  std::map<std::u32string, int> readers;
  while (std::getline(edict, raw)) {
    if (raw.find("(P)") == std::string::npos) continue;
    const std::u32string line = decode(cd, raw);
    const std::size_t open = line.find(U" ["), close = line.find(U"] /");
    if (open == std::u32string::npos || close == std::u32string::npos || close < open) continue;
    const std::u32string word = line.substr(0, open), reading = line.substr(open + 2, close - open - 2);
    ++readers[reading];
    if (word.size() == 2 && table.count(word[0]) && table.count(word[1]) && all(reading, hiragana))
      common.emplace_back(word, reading);
  }
  iconv_close(cd);
  for (const auto& [word, reading] : common) {
    if (readers[reading] != 1) continue;
    for (const auto& [first, firstSaid] : sounds(table[word[0]])) {
      if (reading.compare(0, first.size(), first) != 0) continue;
      const std::u32string rest = reading.substr(first.size());
      for (const auto& [second, secondSaid] : sounds(table[word[1]])) {
        if (rest != second) continue;
        for (std::size_t k = 0; k < 2; ++k)
          table[word[k]].examples.emplace(table[word[1 - k]].rank,
                                          word + U'=' + reading + U"の" + (k ? secondSaid : firstSaid));
        goto next;
      }
    }
  next:;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << "// Generated by kotobarion-readings from KANJIDIC and EDICT (EDRDG, CC BY-SA 4.0).\n";
  const auto join = [](const std::vector<std::u32string>& list, char32_t sep) {
    std::u32string s;
    for (const std::u32string& x : list) s += (s.empty() ? U"" : std::u32string(1, sep)) + x;
    return utf8(s);
  };
  for (const auto& [cp, e] : table) {
    std::vector<std::u32string> examples;
    for (auto it = e.examples.begin(); it != e.examples.end() && examples.size() < 2; ++it)
      examples.push_back(it->second);
    out << "{0x" << std::hex << static_cast<unsigned long>(cp) << std::dec << ", \"" << join(e.on, U' ') << "\", \""
        << join(e.kun, U' ') << "\", \"" << join(examples, U' ') << "\"},\n";
  }
  return out ? 0 : 1;
}
