// Conversion between UTF-8 and the GBK code page of the settings file, the
// contour data file and window captions. The code page itself comes from the
// system one character at a time (core/Platform.h: iconv, or code page 936 on
// Windows); how text is cut into characters and what replaces a character
// that cannot be converted is decided here, once for every system.
#include "core/Gbk.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "core/Platform.h"

namespace zelto {

namespace {

// Position of the first byte of 0x80 or above from `from` on, or the size.
size_t FirstNonAscii(std::string_view s, size_t from) {
  // Eight bytes at a time: such a byte sets its top bit.
  constexpr uint64_t kTopBits = 0x8080808080808080ULL;
  size_t i = from;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, s.data() + i, sizeof word);
    if ((word & kTopBits) != 0) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

bool AllAscii(std::string_view s) { return FirstNonAscii(s, 0) == s.size(); }

unsigned char Byte(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the UTF-8 sequence a lead byte starts (2 to 4), or 1 for a byte
// that starts none.
size_t Utf8LeadLength(unsigned char c) {
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 1;
}

// The code point of the well-formed sequence of `len` bytes at s[i], or -1
// for an overlong form, a surrogate or a value beyond U+10FFFF.
long DecodeUtf8(std::string_view s, size_t i, size_t len) {
  long cp = Byte(s, i) & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (Byte(s, i + k) & 0x3F);
  static const long kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// GBK's two-byte characters: a lead byte 0x81-0xFE and a trail byte
// 0x40-0x7E or 0x80-0xFE. Of the single bytes above 0x7F only 0x80 is a
// character (the euro sign, in code page 936 and in the C library's GBK).
bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// The private use area: code page 936 maps GBK's user-defined areas there
// (AAA1-AFFE, F8A1-FEFE, A140-A7A0 and a few codes GBK left open), the C
// library's GBK does not. A private character means nothing on another
// machine, so neither system takes one.
bool IsPrivateUse(char32_t cp) { return cp >= 0xE000 && cp <= 0xF8FF; }

// The code point of the two GBK bytes at s[i], or false. Only characters the
// code page converts both ways are taken, so that both systems' tables agree
// where one of them also maps a second code point onto the same bytes.
bool DecodeGbkPair(std::string_view s, size_t i, char32_t& cp) {
  if (!IsGbkLead(Byte(s, i)) || !IsGbkTrail(Byte(s, i + 1))) return false;
  const std::string_view pair = s.substr(i, 2);
  if (!GbkCharToCodePoint(pair, cp) || cp < 0x80 || IsPrivateUse(cp)) return false;
  std::string back;
  return CodePointToGbkChar(cp, back) && back == pair;
}

const unsigned char kEuroByte = 0x80;

// The code point of the single byte 0x80, or false.
bool DecodeGbkSingle(unsigned char c, char32_t& cp) {
  if (c != kEuroByte) return false;
  const char byte = static_cast<char>(c);
  if (!GbkCharToCodePoint(std::string_view(&byte, 1), cp) || cp < 0x80) return false;
  std::string back;
  return CodePointToGbkChar(cp, back) && back.size() == 1 && back[0] == byte;
}

// The GBK bytes of a code point above U+007F, or false.
bool EncodeGbk(char32_t cp, std::string& out) {
  if (IsPrivateUse(cp)) return false;
  std::string bytes;
  if (!CodePointToGbkChar(cp, bytes)) return false;
  const bool pair = bytes.size() == 2 && IsGbkLead(Byte(bytes, 0)) && IsGbkTrail(Byte(bytes, 1));
  const bool single = bytes.size() == 1 && Byte(bytes, 0) == kEuroByte;
  char32_t back = 0;
  if (!(pair || single) || !GbkCharToCodePoint(bytes, back) || back != cp) return false;
  out += bytes;
  return true;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8, int* substituted) {
  if (substituted) *substituted = 0;
  if (AllAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // A run of ASCII is the same in both: copied at once.
    const size_t runEnd = FirstNonAscii(utf8, i);
    out.append(utf8, i, runEnd - i);
    i = runEnd;
    if (i == utf8.size()) break;
    const unsigned char c = Byte(utf8, i);
    size_t len = Utf8LeadLength(c);
    size_t good = 1;  // the lead and the continuation bytes after it
    while (good < len && i + good < utf8.size() && IsContinuation(Byte(utf8, i + good))) ++good;
    long cp = -1;
    if (len > 1 && good == len) {
      cp = DecodeUtf8(utf8, i, len);
    } else if (len > 1 && i + good == utf8.size()) {
      len = good;  // a sequence cut off by the end of the text: one "?" for it
    } else {
      len = 1;     // a byte that starts no sequence, or one broken off
    }
    if (cp < 0 || !EncodeGbk(static_cast<char32_t>(cp), out)) {
      out += '?';
      if (substituted) ++*substituted;
    }
    i += len;
  }
  return out;
}

std::string GbkToUtf8(std::string_view gbk, int* invalid) {
  if (invalid) *invalid = 0;
  if (AllAscii(gbk)) return std::string(gbk);
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  // Pairs already decoded in this text, with kNoCharacter for those that are
  // none: a file repeats its few Chinese words, and asking the system costs
  // far more than looking up.
  constexpr char32_t kNoCharacter = 0xFFFFFFFF;
  std::unordered_map<uint16_t, char32_t> pairs;
  size_t i = 0;
  while (i < gbk.size()) {
    // A run of ASCII is the same in both: copied at once.
    const size_t runEnd = FirstNonAscii(gbk, i);
    out.append(gbk, i, runEnd - i);
    i = runEnd;
    if (i == gbk.size()) break;
    const unsigned char c = Byte(gbk, i);
    char32_t cp = 0;
    if (i + 1 < gbk.size()) {
      const uint16_t key = static_cast<uint16_t>(c << 8 | Byte(gbk, i + 1));
      const auto [known, isNew] = pairs.try_emplace(key, kNoCharacter);
      if (isNew && DecodeGbkPair(gbk, i, cp)) known->second = cp;
      if (known->second != kNoCharacter) {
        AppendUtf8(known->second, out);
        i += 2;
        continue;
      }
    }
    if (DecodeGbkSingle(c, cp)) {
      AppendUtf8(cp, out);
      ++i;
      continue;
    }
    // A bad byte is replaced alone: a following ASCII byte stays itself.
    out += "\xEF\xBF\xBD";
    if (invalid) ++*invalid;
    ++i;
  }
  return out;
}

}  // namespace zelto
