// Final rise of a buoyant stack plume (Briggs formulas) and the effective
// release height.
#include <cmath>

#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

namespace {

const char* const kMsgAboveInversion = "排气筒高于逆温层，不能计算,地面浓度为0。";
const char* const kMsgAirTemp = "环境气温无效，不能计算烟气抬升高度。";
const char* const kMsgWind10m = "10m高处风速不为正，不能计算烟气抬升高度。";
const char* const kMsgPlumeRise = "烟气抬升高度计算出错，请检查烟气温度、烟气流量和泄漏速率。";

constexpr double kGravity = 9.8;  // m/s2

}  // namespace

bool ComputePlumeRise(ModelState& s, std::string& message) {
  message.clear();
  s.SourceStrength = s.ReleaseRate;

  // A stack whose top lies above the inversion base is not modelled.
  if (s.StackHeight > s.MixingHeight) {
    message = kMsgAboveInversion;
    return false;
  }
  if (!(s.AirTempK > 0.0f)) {
    message = kMsgAirTemp;
    return false;
  }
  if (!(s.WindSpeed10m > 0.0f)) {
    message = kMsgWind10m;
    return false;
  }

  // Stack gas colder than the air rises no more than the air.
  if (s.StackGasTemperature < s.AirTempK) s.StackGasTemperature = s.AirTempK;
  const double ts = s.StackGasTemperature;  // K
  const double ta = s.AirTempK;             // K
  const double u = s.WindSpeed10m;          // m/s

  // Buoyancy flux F = g / pi x V (Ts - Ta) / Ts (m4/s3), V the volume flow.
  if (!StoreSingle(s.BuoyancyFlux, kGravity / static_cast<double>(s.Pi) *
                                           static_cast<double>(s.StackFlowRate) * (ts - ta) / ts)) {
    message = kMsgPlumeRise;
    return false;
  }
  const double f = s.BuoyancyFlux;

  if (f <= 0.0) {
    s.PlumeRise = 0.0f;
    s.FinalRiseDistance = 0.0f;
  } else {
    // Class number 1..7 from the horizontal stability parameter.
    const double k = std::floor(static_cast<double>(s.HorizontalStability) + 1.0);
    float rise = s.PlumeRise;
    float distance = s.FinalRiseDistance;
    bool computed = true;
    if (k == 5.0 || k == 6.0 || k == 7.0) {
      // Stable: stability s = g/Ta dtheta/dz (1/s2).
      const double gradient = (k == 5.0) ? 0.02 : 0.035;  // K/m
      const double stab = gradient * kGravity / ta;
      double r;
      if (u <= 1.0) {
        r = 5.0 * std::pow(f, 0.25) / std::pow(stab, 0.375);  // calm
      } else {
        r = 2.6 * std::pow(f / (u * stab), 1.0 / 3.0);
      }
      computed = StoreSingle(rise, r) &&
                 StoreSingle(distance, 2.07 * u / std::pow(stab, 0.5));
    } else if (k >= 1.0 && k <= 4.0) {
      // Unstable and neutral: rise at 3.5 x*, x* the distance of the onset of
      // atmospheric turbulence.
      const double xStar = (f >= 55.0) ? 34.0 * std::pow(f, 0.4) : 14.0 * std::pow(f, 0.625);
      computed = StoreSingle(distance, 3.5 * xStar);
      if (computed) {
        computed = StoreSingle(
            rise, 1.6 * std::pow(f, 1.0 / 3.0) * std::pow(static_cast<double>(distance), 2.0 / 3.0) / u);
      }
    }
    if (!computed) {
      message = kMsgPlumeRise;
      return false;
    }
    s.PlumeRise = rise;
    s.FinalRiseDistance = distance;
  }

  // Effective release height, capped at the mixing-layer top.
  float height = 0.0f;
  if (!StoreSingle(height, static_cast<double>(s.StackHeight) + s.PlumeRise)) {
    message = kMsgPlumeRise;
    return false;
  }
  if (height > s.MixingHeight) height = s.MixingHeight;
  s.EffectivePlumeHeight = height;
  s.SourceSize = 1.0f;
  return true;
}

}  // namespace zelto
