#include "curve/Indoor.h"

#include <cmath>

namespace zelto {

const std::array<BuildingType, 4>& BuildingTypes() {
  // Typical air exchange rates with doors and windows shut, from U.S. EPA,
  // Exposure Factors Handbook, 2011 Edition (EPA/600/R-09/052F), chapter 19
  // (building characteristics), table 19-1 of recommended values:
  //  - residences: central value 0.45 per hour (rounded up to 0.5, which is
  //    also the median of the Brookhaven tracer data base analysed by Murray
  //    and Burmaster, Risk Analysis 15 (1995) 459-465: 0.51 per hour);
  //  - residences, 10th percentile: 0.18 per hour (a tight house);
  //  - non-residential buildings: mean 1.5 per hour with the ventilation
  //    running, 10th percentile 0.60 per hour.
  static const std::array<BuildingType, 4> types{{
      {"门窗关闭的住宅", kDefaultAirExchangePerHour},
      {"密闭性好的住宅", 0.18},
      {"办公楼、学校（通风关闭）", 0.6},
      {"办公楼、学校（通风运行）", 1.5},
  }};
  return types;
}

double IndoorStep(double cin0, double c0, double c1, double hMin, double exchangePerHour) {
  const double k = exchangePerHour / 60.0;  // per minute
  const double kh = k * hMin;
  if (!(kh > 0.0)) return cin0;
  // With Cout(s) = c0 + b s on the step (b = (c1 - c0) / h), the solution is
  //   Cin(s) = Cout(s) - b / k + (cin0 - c0 + b / k) e^(-k s);
  // at s = h, with E = 1 - e^(-k h) and w = 1 - E / (k h):
  //   Cin(h) = cin0 (1 - E) + c0 (E - w) + c1 w.
  const double e = -std::expm1(-kh);
  const double w = 1.0 - e / kh;
  return cin0 * (1.0 - e) + c0 * (e - w) + c1 * w;
}

std::vector<float> IndoorCurve(const std::vector<float>& t, const std::vector<float>& cOut,
                               double exchangePerHour) {
  std::vector<float> cIn(cOut.size(), 0.0f);
  double c = 0.0;
  for (size_t i = 1; i < cOut.size() && i < t.size(); ++i) {
    c = IndoorStep(c, cOut[i - 1], cOut[i], static_cast<double>(t[i]) - t[i - 1], exchangePerHour);
    cIn[i] = static_cast<float>(c);
  }
  return cIn;
}

}  // namespace zelto
