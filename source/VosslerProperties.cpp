// Temperature-dependent properties of the spilled substance and of the
// vapour-air mixture over the pool, from the substance's fitted constants.
#include <cmath>

#include "source/SourceChecks.h"
#include "source/Vossler.h"

namespace zelto {

using source_detail::Refuse;
using source_detail::StoreSingle;

namespace {
constexpr const char* kStage = "Vossler蒸发模型";
}  // namespace

double ClampToRange(double t, float highest, float lowest) {
  if (t < lowest) return lowest;
  if (t > highest) return highest;
  return t;
}

bool CalcSaturationPressure(ModelState& s, std::string& message) {
  const double t = ClampToRange(s.PoolTemperature, s.SatPressTmax, s.SatPressTmin);
  if (t == 0) return Refuse(message, kStage, "饱和压力关联式的温度为零。");
  const double tc = t + s.SatPressC;
  if (tc == 0) return Refuse(message, kStage, "饱和压力关联式中温度与常数C之和为零。");
  // log10 of the saturation pressure in mmHg
  const double l = s.SatPressA - s.SatPressB / tc - s.SatPressD / (t * t) + s.SatPressE * t +
                   s.SatPressF * t * t;
  float p = 0;
  if (!StoreSingle(p, s.StdPressure / 760.0 * std::pow(10.0, l), kStage, "饱和压力", message))
    return false;
  // mole fraction of vapour at the surface, relative to standard pressure
  float y = 0;
  if (!StoreSingle(y, static_cast<double>(p) / s.StdPressure, kStage, "液面蒸气摩尔分数",
                   message))
    return false;
  s.SatPressure = p;
  s.SurfaceMoleFraction = y;
  return true;
}

bool CalcVaporizationHeat(ModelState& s, std::string& message) {
  const double a = s.HeatVapA, b = s.HeatVapB;
  if (static_cast<float>(a - b) == 0) {
    s.VaporizationHeat = 0;
    return true;
  }
  const double t = ClampToRange(s.PoolTemperature, s.HeatVapTmax, s.HeatVapTmin);
  // Watson form: A plays the critical temperature, B the reference temperature
  // at which the heat is C.
  const double base = (a - t) / (a - b);
  const double d = s.HeatVapD;
  if (base < 0 && d != std::floor(d))
    return Refuse(message, kStage, "蒸发热关联式的底数为负值（温度高于常数A），无法求分数次方。");
  return StoreSingle(s.VaporizationHeat, s.HeatVapC * std::pow(base, d), kStage, "蒸发热",
                     message);
}

bool CalcLiquidConductivity(ModelState& s, std::string& message) {
  const double t = ClampToRange(s.PoolTemperature, s.LiqCondTmax, s.LiqCondTmin);
  return StoreSingle(s.LiquidConductivity, s.LiqCondA + s.LiqCondB * t + s.LiqCondC * t * t,
                     kStage, "液相热传导系数", message);
}

bool CalcGasViscosity(ModelState& s, std::string& message) {
  const double t = ClampToRange(s.PoolTemperature, s.VapViscTmax, s.VapViscTmin);
  const double mu = s.VapViscA + s.VapViscB * t + s.VapViscC * t * t;  // Pa s
  if (s.MolecularWeight < 0) return Refuse(message, kStage, "分子量为负值，无法开平方。");
  const double y = s.SurfaceMoleFraction;
  const double wa = (1 - y) * std::sqrt(static_cast<double>(s.AirMolWeight));
  const double wv = y * std::sqrt(static_cast<double>(s.MolecularWeight));
  const double den = wa + wv;
  if (den == 0) return Refuse(message, kStage, "混合气体粘度的权重之和为零。");
  return StoreSingle(s.MixViscosity, (wa * s.StdAirViscosity + wv * mu) / den, kStage,
                     "混合气体粘度", message);
}

bool CalcGasHeatCapacity(ModelState& s, std::string& message) {
  const double t = ClampToRange(s.PoolTemperature, s.VapCpTmax, s.VapCpTmin);
  const double cv = s.VapCpA + s.VapCpB * t + s.VapCpC * t * t + s.VapCpD * t * t * t;
  const double y = s.SurfaceMoleFraction;
  const double wa = (1 - y) * s.AirMolWeight;
  const double wv = y * s.MolecularWeight;
  const double den = wa + wv;
  if (den == 0) return Refuse(message, kStage, "混合气体热容的权重之和为零。");
  return StoreSingle(s.MixHeatCapacity, (wa * s.AirSpecificHeat + wv * cv) / den, kStage,
                     "混合气体热容", message);
}

bool CalcGasConductivity(ModelState& s, std::string& message) {
  const double t = ClampToRange(s.PoolTemperature, s.VapCondTmax, s.VapCondTmin);
  const double kv = s.VapCondA + s.VapCondB * t + s.VapCondC * t * t + s.VapCondD * t * t * t;
  if (s.MolecularWeight < 0) return Refuse(message, kStage, "分子量为负值，无法求分数次方。");
  const double y = s.SurfaceMoleFraction;
  const double wa = (1 - y) * std::pow(static_cast<double>(s.AirMolWeight), 0.333);
  const double wv = y * std::pow(static_cast<double>(s.MolecularWeight), 0.333);
  const double den = wa + wv;
  if (den == 0) return Refuse(message, kStage, "混合气体热传导系数的权重之和为零。");
  return StoreSingle(s.MixConductivity, (wa * s.AirConductivity + wv * kv) / den, kStage,
                     "混合气体热传导系数", message);
}

}  // namespace zelto
