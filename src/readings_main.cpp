// Builds the table of kanji readings that chapter 2 describes its options
// with, from KANJIDIC (EUC-JP text, one kanji a line): for every kanji its
// on readings (katakana) and kun readings (hiragana, a dot before the
// okurigana). Name readings (after T1) and radical names (after T2) are left
// out, and so are the hyphens that mark a reading used only as a prefix or
// suffix.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string toUtf8(iconv_t cd, const std::string& in) {
  std::string out(in.size() * 3 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - dstLeft);
  return out;
}

// A UTF-8 text made only of the code points first..last (plus the long
// vowel mark and the dot of the okurigana).
bool allIn(const std::string& s, char32_t first, char32_t last) {
  if (s.empty()) return false;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '.') {
      ++i;
      continue;
    }
    if ((c & 0xF0) != 0xE0 || i + 2 >= s.size()) return false;
    const char32_t cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
    if ((cp < first || cp > last) && cp != 0x30FC) return false;
    i += 3;
  }
  return true;
}

std::string escaped(const std::vector<std::string>& readings) {
  std::string s;
  for (const std::string& r : readings) {
    if (!s.empty()) s += ' ';
    s += r;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kotobarion-readings KANJIDIC OUTPUT.inc\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read (install the Debian package kanjidic)\n", argv[1]);
    return 1;
  }
  iconv_t cd = iconv_open("UTF-8", "EUC-JP");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "no EUC-JP converter\n");
    return 1;
  }
  struct Entry {
    std::vector<std::string> on, kun;
  };
  std::map<unsigned long, Entry> table;
  std::string raw;
  while (std::getline(in, raw)) {
    if (raw.empty() || raw[0] == '#') continue;
    const std::string line = toUtf8(cd, raw);
    std::istringstream words(line);
    std::string kanji, word;
    words >> kanji;
    unsigned long cp = 0;
    Entry e;
    while (words >> word) {
      if (word == "T1" || word == "T2" || word[0] == '{') break;
      if (word[0] == 'U' && word.size() > 1) {
        cp = std::stoul(word.substr(1), nullptr, 16);
        continue;
      }
      std::string r;
      for (char c : word)
        if (c != '-') r += c;
      if (allIn(r, 0x30A1, 0x30F6)) {
        e.on.push_back(r);
      } else if (allIn(r, 0x3041, 0x3096)) {
        bool seen = false;
        for (const std::string& k : e.kun) seen = seen || k == r;
        if (!seen) e.kun.push_back(r);
      }
    }
    if (cp != 0 && (!e.on.empty() || !e.kun.empty())) table[cp] = e;
  }
  iconv_close(cd);
  std::ofstream out(argv[2], std::ios::binary);
  out << "// Generated from KANJIDIC (EDRDG, CC BY-SA 4.0) by kotobarion-readings.\n";
  for (const auto& [cp, e] : table)
    out << "{0x" << std::hex << cp << std::dec << ", \"" << escaped(e.on) << "\", \"" << escaped(e.kun) << "\"},\n";
  return out ? 0 : 1;
}
