// Conversion between the program's UTF-8 text and the GBK bytes of its files.
#pragma once

#include <string>
#include <string_view>

namespace zelto {

// A character GBK cannot hold is written as "?" and counted in *substituted.
std::string Utf8ToGbk(std::string_view utf8, int* substituted = nullptr);
// Bytes that are not valid GBK become U+FFFD and are counted in *invalid.
std::string GbkToUtf8(std::string_view gbk, int* invalid = nullptr);

}  // namespace zelto
