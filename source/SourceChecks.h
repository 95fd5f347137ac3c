// Small guards shared by the evaporation models: nothing that is not a finite
// single may be stored into ModelState.
#pragma once

#include <string>

#include "core/TextConv.h"

namespace zelto::source_detail {

// Rounds value to single and stores it; refuses with "<stage>：<what>计算结果无效。"
// when it is NaN, infinite or beyond the single range.
inline bool StoreSingle(float& field, double value, const char* stage, const char* what,
                        std::string& message) {
  if (zelto::StoreSingle(field, value)) return true;
  message = std::string(stage) + "：" + what + "计算结果无效。";
  return false;
}

inline bool Refuse(std::string& message, const char* stage, const char* text) {
  message = std::string(stage) + "：" + text;
  return false;
}

}  // namespace zelto::source_detail
