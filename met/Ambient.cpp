// Properties of the ambient air and of the released substance at the ambient
// temperature: air density and viscosity, vapour pressure, liquid density and
// saturated vapour density.
#include <cmath>
#include <string_view>

#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

namespace {

const char* const kMsgAirTemp = "环境气温无效，不能计算空气密度和粘度。";
const char* const kMsgAirPressure = "泄漏处地面高程过高，气压不为正，不能计算空气密度。";
const char* const kMsgAirProperties = "空气密度和粘度计算出错，请检查环境气温和地面高程。";
const char* const kMsgVaporPressure =
    "物质蒸气压计算出错，请检查蒸气压常数、临界温度和临界压力。";
const char* const kMsgLiquidDensity =
    "液体密度计算出错，请检查液体密度常数、临界温度和临界体积。";
const char* const kMsgVaporDensity = "饱和蒸气密度计算出错，请检查分子量、临界温度和临界压力。";

// Substance whose liquid density follows its own quadratic in T.
constexpr std::string_view kUdmhName = "DIMETHYLHYDRAZINE(UDMH)";

// True when the first 23 characters of the name, upper-cased, read
// "DIMETHYLHYDRAZINE(UDMH)". The key is ASCII, so a name matches exactly when
// its first 23 bytes are ASCII and equal the key after ASCII upper-casing.
bool IsUdmhName(const std::string& name) {
  if (name.size() < kUdmhName.size()) return false;
  for (size_t i = 0; i < kUdmhName.size(); ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kUdmhName[i]) return false;
  }
  return true;
}

// Up to this many fixed-point iterations of the reduced vapour-pressure form.
constexpr int kVaporPressureIterations = 50;

}  // namespace

bool ComputeAirProperties(ModelState& s, std::string& message) {
  const double t = s.AirTempK;     // K
  const double p = s.AirPressure;  // mb
  if (!(t > 0.0)) {
    message = kMsgAirTemp;
    return false;
  }
  if (!(p > 0.0)) {
    message = kMsgAirPressure;
    return false;
  }
  // Ideal gas: rho = P M / (R T); 0.34838 kg K/(m3 mb), times 0.001 for g/cm3.
  float density = 0.0f;
  float viscosity = 0.0f;
  if (!StoreSingle(density, 0.34838 * p / t * 0.001) || !(density > 0.0f) ||
      // Sutherland's law with constant 110.4 K (g/(cm s)).
      !StoreSingle(viscosity, 0.00001458 * t * std::sqrt(t) / (t + 110.4))) {
    message = kMsgAirProperties;
    return false;
  }
  s.AirDensity = density;
  s.AirViscosity = viscosity;
  if (!StoreSingle(s.AirKinematicViscosity,
                       static_cast<double>(s.AirViscosity) / s.AirDensity)) {
    message = kMsgAirProperties;
    return false;
  }
  return true;
}

bool ComputeVaporPressure(ModelState& s, std::string& message) {
  const double a = s.VaporPressA;
  const double b = s.VaporPressB;
  const double c = s.VaporPressC;
  double pressure;  // atm
  if (b == 0.0) {
    // A single constant: the vapour pressure in mmHg.
    pressure = a / 760.0;
  } else if (c != 0.0) {
    // Antoine equation, mmHg and deg C.
    const double denominator = static_cast<double>(s.AirTempC) + c;
    if (denominator == 0.0) {
      message = kMsgVaporPressure;
      return false;
    }
    pressure = std::pow(10.0, a - b / denominator) / 760.0;
  } else {
    // Reduced form in Tr = T / Tc, solved by fixed-point iteration
    // p = exp(l + m p) (0.421875 = 27/64).
    const double tc = s.CriticalTempK;
    if (tc == 0.0) {
      message = kMsgVaporPressure;
      return false;
    }
    const double tr = static_cast<double>(s.AirTempK) / tc;
    if (!(tr > 0.0)) {
      message = kMsgVaporPressure;
      return false;
    }
    const double l = a * (1.0 - 1.0 / tr) - b * std::log(tr) - 0.421875;
    const double m = 0.421875 / (tr * tr);
    double p0 = std::exp(l);
    double p = p0;
    for (int i = 0; i < kVaporPressureIterations; ++i) {
      p = std::exp(l + m * p0);
      if (p0 == 0.0 || !std::isfinite(p)) {
        message = kMsgVaporPressure;
        return false;
      }
      if (std::fabs(1.0 - p / p0) < 0.0001) break;
      p0 = p;
    }
    pressure = static_cast<double>(s.CriticalPressure) * p;
  }
  if (!StoreSingle(s.VaporPressure, pressure)) {
    message = kMsgVaporPressure;
    return false;
  }
  return true;
}

bool ComputeLiquidDensity(ModelState& s, std::string& message) {
  const double t = s.AirTempK;
  const double a = s.LiquidDensityA;
  const double b = s.LiquidDensityB;
  const double tc = s.CriticalTempK;
  double density;
  if (IsUdmhName(s.ChemicalName)) {
    density = a - b * t - 4.8648e-7 * t * t;
  } else if (a == 0.0 || tc == 0.0) {
    density = 1.0;
  } else if (b == 0.0) {
    density = a;
  } else if (s.CriticalVolume == 0.0f) {
    density = 1.0;
  } else {
    // Corresponding-states form in tau = 1 - T/Tc (molar volume Vc, cm3/mol).
    const double tau = 1.0 - t / tc;
    if (tau < 0.0) {  // above the critical temperature: no liquid
      s.LiquidDensity = 1.0f;
      message = kMsgLiquidDensity;
      return false;
    }
    density = (1.0 + a * std::pow(tau, 1.0 / 3.0) + b * tau) /
              static_cast<double>(s.CriticalVolume) * s.MolecularWeight;
  }
  if (!StoreSingle(s.LiquidDensity, density)) {
    s.LiquidDensity = 1.0f;
    message = kMsgLiquidDensity;
    return false;
  }
  return true;
}

bool ComputeVaporDensity(ModelState& s, std::string& message) {
  const double pv = s.VaporPressure;   // atm
  const double tc = s.CriticalTempK;   // K
  const double pc = s.CriticalPressure;  // atm
  if (tc == 0.0 || pc == 0.0 || pv == 0.0) {
    s.VaporDensity = s.AirDensity;
    return true;
  }
  const double t = s.AirTempK;
  if (!(t > 0.0)) {
    message = kMsgVaporDensity;
    return false;
  }
  // Ideal gas (82.06 cm3 atm/(mol K)) with the Berthelot correction.
  const double rho = static_cast<double>(s.MolecularWeight) * pv / (82.06 * t);
  const double k = 1.0 + 9.0 * pv * tc * (1.0 - 6.0 * tc * tc / (t * t)) / (128.0 * pc * t);
  if (!StoreSingle(s.VaporDensity, rho * k)) {
    message = kMsgVaporDensity;
    return false;
  }
  return true;
}

}  // namespace zelto
