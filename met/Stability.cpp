// Continuous stability parameters (0.5 most unstable .. 6 most stable; whole
// units match the classes A..F) and the stability word.
//
// Without a measured sigma-theta the parameter follows from 1/L and the
// roughness (a Golder-type fit); with one, from sigma-theta reduced to 10 m
// and a 60 min average, with night rules on the 10 m wind for the vertical
// parameter.
#include <cmath>

#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

namespace {

const char* const kMsgSigmaThetaTime = "风向标准差时间必须大于0，不能计算大气稳定度。";
const char* const kMsgWindHeight = "测风高度必须大于0，不能计算大气稳定度。";
const char* const kMsgWind10m = "10m高处风速不为正，不能计算夜间大气稳定度。";
const char* const kMsgStability = "大气稳定度计算出错，请检查风向标准差和测风高度。";

// Night numerator of the vertical parameter for sigma-theta 12.5..17.5 deg
// (9.600001 exactly as written, in double precision like every other
// constant of the formula; not 9.6 and not its single rounding).
constexpr double kNightModerate = 9.600001;

}  // namespace

bool ComputeStability(ModelState& s, std::string& message) {
  bool fromMoninObukhov = (s.SigmaThetaFlag == sigma_theta::NotGiven);

  if (fromMoninObukhov) {
    // P = b log10(z0) + c with c = 3.5 + 21.67 / L and b = +-0.48, tending to
    // 0 near neutral.
    const double inverseL = s.InverseMoninObukhovLength;
    const double c = 3.5 + 21.67 * inverseL;
    double b = 0.48;
    if (std::fabs(inverseL) < 0.015) b = 43.63 * std::pow(std::fabs(inverseL), 1.08);
    if (inverseL < 0.0) b = -b;
    double z = s.Roughness;  // cm, kept within 0.1..40
    if (z > 40.0) z = 40.0;
    if (z < 0.1) z = 0.1;
    double p = b * (std::log(z) / std::log(10.0)) + c;
    if (p < 0.5) p = 0.5;
    if (p > 6.0) p = 6.0;
    if (!StoreSingle(s.HorizontalStability, p)) {
      message = kMsgStability;
      return false;
    }
    // The vertical parameter follows the horizontal one unless the mixing
    // layer is shallow (handled below).
    if (s.MixingHeight >= 50.0f) s.VerticalStability = s.HorizontalStability;
  } else {
    // Sigma-theta (deg) reduced to 10 m and a 60 min averaging time.
    if (!(s.WindHeight > 0.0f)) {
      message = kMsgWindHeight;
      return false;
    }
    if (!(s.SigmaThetaTime > 0.0f)) {
      message = kMsgSigmaThetaTime;
      return false;
    }
    const double sigma = static_cast<double>(s.SigmaTheta) *
                         std::pow(10.0 / static_cast<double>(s.WindHeight), -0.2) *
                         std::pow(60.0 / static_cast<double>(s.SigmaThetaTime), 0.2);
    if (!std::isfinite(sigma)) {
      message = kMsgStability;
      return false;
    }
    double p;
    if (sigma < 27.35) {
      p = 6.46 - 0.341 * sigma + 0.0045 * sigma * sigma;
      if (p > 6.0) p = 6.0;
    } else {
      p = 0.5;
    }
    if (!StoreSingle(s.HorizontalStability, p)) {
      message = kMsgStability;
      return false;
    }

    if (s.DayNightFlag == kDayFlag) {
      // Daytime: no more stable than neutral.
      if (p > 3.5) s.HorizontalStability = 3.5f;
      s.VerticalStability = s.HorizontalStability;
    } else if (sigma <= 12.5) {
      s.VerticalStability = s.HorizontalStability;
    } else {
      // Night with larger sigma-theta: vertical parameter from the 10 m wind.
      const double u10 = s.WindSpeed10m;
      if (!(u10 > 0.0)) {
        message = kMsgWind10m;
        return false;
      }
      double v;
      if (sigma <= 17.5) {
        v = kNightModerate / u10;
        if (v > 5.0) v = 5.0;
      } else if (sigma <= 22.5) {
        v = 12.0 / u10;
      } else {
        v = 14.44 / u10;
      }
      if (v > 6.0) v = 6.0;
      if (v < 3.5) v = 3.5;
      s.VerticalStability = static_cast<float>(v);
    }
  }

  // A mixing layer below 50 m: vertical spread fully stable, lid removed.
  if (s.MixingHeight < 50.0f) {
    s.VerticalStability = 6.0f;
    s.MixingHeight = kSentinel;
  }

  const float v = s.VerticalStability;
  if (v < 3.0f) {
    s.StabilityText = "不稳定";
  } else if (v < 4.0f) {
    s.StabilityText = "中性";
  } else {
    s.StabilityText = "稳定";
  }
  return true;
}

}  // namespace zelto
