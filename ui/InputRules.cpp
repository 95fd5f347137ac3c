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
  double estimate = basis * 0.0001 / static_cast<double>(s.LiquidDensity) / 1.0;
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

bool ComputePpmFactor(const ModelState& s, float molecularWeight, float& factor) {
  double f = static_cast<double>(s.AirMolWeight) * static_cast<double>(s.AirGasConstant) *
             static_cast<double>(s.AirTempK) /
             (static_cast<double>(molecularWeight) * static_cast<double>(s.AirPressure) * 1000000.0);
  if (!FitsSingle(f)) return false;
  float stored = static_cast<float>(f);
  // Nitrogen tetroxide is counted as its monomer.
  if (s.ChemicalName == "NITROGEN TETROXIDE") {
    if (!FitsSingle(2.0 * static_cast<double>(stored))) return false;
    stored = 2.0f * stored;
  }
  factor = stored;
  return true;
}

}  // namespace zelto
