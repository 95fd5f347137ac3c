#include "ui/InputRules.h"

#include <cmath>

#include "core/TextConv.h"

namespace zelto {

float BoxSingle(const std::string& text) {
  double v = LeadingNumber(text);
  return FitsSingle(v) ? static_cast<float>(v) : 0.0f;
}

std::string TextOfSingle(double v) {
  float f = static_cast<float>(v);
  if (f == 0.0f) f = 0.0f;  // no "-0"
  return FormatGeneral(f);
}

float ReduceWindDirection(double v) {
  double n = RoundHalfEven(v, 0);
  double d = std::fmod(n, 360.0);  // keeps the sign of n
  if (d < 0) d += 360.0;
  if (d == 0) d = 0;  // no -0
  return static_cast<float>(d);
}

bool ConfineRoughnessText(std::string& text) {
  text = TrimSpaces(text);
  double v = LeadingNumber(text);
  if (v < 0.5) {
    text = "0.5 cm";
    return true;
  }
  if (v > 100) {
    text = "100 cm";
    return true;
  }
  return false;
}

bool RaiseAveragingTime(float& averagingTime) {
  if (averagingTime < 1 || std::isnan(averagingTime)) {
    averagingTime = 1;
    return true;
  }
  return false;
}

std::string AveragingTimeRefusal(float averagingTime, float releaseDuration) {
  if (averagingTime > 1 && averagingTime > releaseDuration) {
    float d = releaseDuration;
    float d1 = d >= 1 ? d : 1.0f;
    return "泄漏(或液体蒸发）总时长为" + TextOfSingle(d) + "(min),浓度平均时间不可超过" +
           TextOfSingle(d1) + "(min)";
  }
  return std::string();
}

}  // namespace zelto
