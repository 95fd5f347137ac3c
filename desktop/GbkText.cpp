// Build step: writes a UTF-8 text file as GBK with CR LF line ends, the form
// of every file the operator opens (used for the help file readme.txt).
// Refuses a text that GBK cannot hold, rather than install one with "?".
#include <cstdio>
#include <string>

#include "core/Files.h"
#include "core/Gbk.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zelto-gbk-text UTF8-IN GBK-OUT\n");
    return 1;
  }
  std::string utf8;
  if (!zelto::ReadFileBytes(argv[1], utf8)) {
    std::fprintf(stderr, "zelto-gbk-text: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string lines;
  lines.reserve(utf8.size() + utf8.size() / 20);
  for (char c : utf8) {
    if (c == '\r') continue;
    if (c == '\n') lines += '\r';
    lines += c;
  }
  int substituted = 0;
  const std::string gbk = zelto::Utf8ToGbk(lines, &substituted);
  if (substituted != 0) {
    std::fprintf(stderr, "zelto-gbk-text: %d characters of %s have no GBK form\n", substituted, argv[1]);
    return 1;
  }
  std::string error;
  if (!zelto::WriteFileAtomic(argv[2], gbk, error)) {
    std::fprintf(stderr, "zelto-gbk-text: %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
