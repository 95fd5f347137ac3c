// zelto-gbk-table: the whole GBK conversion as text, one character a line,
// so that two builds (Linux and Windows) can be compared byte for byte.
//   "8140 丂" a GBK code and the character (UTF-8) it reads as;
//   "U+4E02 8140" a code point and the GBK code it is written as.
// Codes and code points that convert to nothing are left out.
#include <cstdio>
#include <string>

#include "core/Gbk.h"
#include "core/Platform.h"

namespace {

// UTF-8 of a code point from U+0080 up.
std::string Utf8(char32_t cp) {
  std::string o;
  if (cp < 0x800) {
    o += static_cast<char>(0xC0 | (cp >> 6));
  } else if (cp < 0x10000) {
    o += static_cast<char>(0xE0 | (cp >> 12));
    o += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  } else {
    o += static_cast<char>(0xF0 | (cp >> 18));
    o += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    o += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  }
  o += static_cast<char>(0x80 | (cp & 0x3F));  // the last six bits
  return o;
}

void PrintHex(const std::string& bytes) {
  for (unsigned char c : bytes) std::printf("%02X", c);
}

}  // namespace

int main() {
  zelto::UseBinaryStandardStreams();  // "\n" stays one byte on Windows
  for (int code = 0x80; code <= 0xFEFE; ++code) {
    std::string gbk;
    if (code > 0xFF) gbk += static_cast<char>(code >> 8);
    gbk += static_cast<char>(code & 0xFF);
    if (code > 0x80 && code < 0x8140) continue;
    int invalid = 0;
    const std::string utf8 = zelto::GbkToUtf8(gbk, &invalid);
    if (invalid != 0) continue;
    PrintHex(gbk);
    std::printf(" %s\n", utf8.c_str());
  }
  for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    int substituted = 0;
    const std::string gbk = zelto::Utf8ToGbk(Utf8(cp), &substituted);
    if (substituted != 0) continue;
    std::printf("U+%04X ", static_cast<unsigned>(cp));
    PrintHex(gbk);
    std::printf("\n");
  }
  return 0;
}
