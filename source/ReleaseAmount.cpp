// The entered release in the units of the model: the amount in grams (or
// grams per minute) and the area of the pool a liquid forms.
#include "core/TextConv.h"
#include "source/SourceTerm.h"

namespace zelto {

bool ConvertReleaseAmount(ModelState& s, double v, bool volumeUnit) {
  // Mass unit kg (or kg/min) -> g; volume unit m3 -> cm3 (1e6) times g/cm3.
  double converted = volumeUnit ? v * 1000000.0 * static_cast<double>(s.LiquidDensity) : v * 1000.0;
  if (s.ReleaseMode == release::Instantaneous) {
    if (!FitsSingle(converted)) return false;
    float mass = static_cast<float>(converted);
    double rate = static_cast<double>(mass) / static_cast<double>(s.ReleaseDuration);
    if (!FitsSingle(rate)) return false;
    s.ReleaseMass = mass;
    s.ReleaseRate = static_cast<float>(rate);
    return true;
  }
  // A stack releases gas: kg/min only.
  if (s.ReleaseMode != release::ShortOrContinuous) converted = v * 1000.0;
  if (!FitsSingle(converted)) return false;
  float rate = static_cast<float>(converted);
  double mass = static_cast<double>(rate) * static_cast<double>(s.ReleaseDuration);
  if (!FitsSingle(mass)) return false;
  s.ReleaseRate = rate;
  s.ReleaseMass = static_cast<float>(mass);
  return true;
}

bool EstimatePoolArea(const ModelState& s, float& area) {
  double basis = s.ReleaseDuration > 10 ? static_cast<double>(s.ReleaseRate) * 10.0
                                        : static_cast<double>(s.ReleaseMass);
  // grams / (g/cm3) = cm3; a layer 1 cm deep of V cm3 covers V * 0.0001 m2.
  double estimate = basis * 0.0001 / static_cast<double>(s.LiquidDensity);
  if (!FitsSingle(estimate)) return false;
  area = static_cast<float>(estimate);
  return true;
}

float SettlePoolArea(float area) {
  float rounded = static_cast<float>(RoundHalfEven(static_cast<double>(area), 2));
  if (!(rounded >= 1)) rounded = 1;
  return rounded;
}

bool ResolvePoolArea(const ModelState& s, float typedArea, float& area) {
  area = typedArea;
  if (!(area > 0)) {
    if (!EstimatePoolArea(s, area)) return false;
  }
  area = SettlePoolArea(area);
  return true;
}

}  // namespace zelto
