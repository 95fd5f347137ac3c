// Conversion between UTF-8 and the GBK code page of the settings file, the
// contour data file and window captions, through the C library's iconv.
#include "core/Gbk.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>

namespace zelto {

namespace {

bool AllAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Length of the UTF-8 sequence at s[i], or 1 for a byte that does not start
// a well-formed sequence.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t len = 1;
  if (c >= 0xC2 && c <= 0xDF) len = 2;
  else if (c >= 0xE0 && c <= 0xEF) len = 3;
  else if (c >= 0xF0 && c <= 0xF4) len = 4;
  if (len == 1 || i + len > s.size()) return 1;
  for (size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

// Converts `in` with converter cd; on an input sequence the target cannot
// take, appends `replacement`, skips `skip(in, pos)` bytes and counts it.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view in,
                    const char* replacement, Skip skip, int* counter) {
  if (counter) *counter = 0;
  if (AllAscii(in)) return std::string(in);
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter available: keep ASCII, replace the rest.
    for (size_t i = 0; i < in.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(in[i]);
      if (c < 0x80) {
        out.push_back(static_cast<char>(c));
      } else {
        out += replacement;
        if (counter) ++*counter;
      }
    }
    return out;
  }
  size_t pos = 0;
  char buf[4096];
  // Every pass consumes input or ends it, so in.size() + 1 passes suffice;
  // the extra margin covers passes that only flush a full output buffer.
  size_t guard = 2 * in.size() + 16;
  while (pos < in.size() && guard-- > 0) {
    char* inPtr = const_cast<char*>(in.data() + pos);
    size_t inLeft = in.size() - pos;
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    int err = errno;
    out.append(buf, static_cast<size_t>(outPtr - buf));
    pos = in.size() - inLeft;
    if (rc != static_cast<size_t>(-1)) break;
    if (err == E2BIG) continue;
    // EILSEQ (not convertible or malformed) or EINVAL (cut at the end).
    out += replacement;
    if (counter) ++*counter;
    pos += (err == EINVAL) ? inLeft : skip(in, pos);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8, int* substituted) {
  return Convert("GBK", "UTF-8", utf8, "?",
                 [](std::string_view s, size_t i) { return Utf8SequenceLength(s, i); },
                 substituted);
}

std::string GbkToUtf8(std::string_view gbk, int* invalid) {
  // A bad byte is replaced alone: a following ASCII byte stays itself.
  return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD",
                 [](std::string_view, size_t) { return static_cast<size_t>(1); }, invalid);
}

}  // namespace zelto
