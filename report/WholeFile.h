// Whole-file reading of a file written in the system code page (GBK).
#pragma once

#include <string>

namespace zelto {

// The whole file as UTF-8 text, converted from the GBK bytes it was written
// in; a missing or unreadable file reads as "".
std::string ReadWholeFile(const std::string& path);

}  // namespace zelto
