// Closed-form pool evaporation models for substances without a Vossler set.
#include <cmath>

#include "source/Evaporation.h"
#include "source/SourceChecks.h"
#include "source/SourceTerm.h"

namespace zelto {

using source_detail::Refuse;
using source_detail::StoreSingle;

bool EvaporateClewell(ModelState& s, std::string& message) {
  constexpr const char* kStage = "CLEWELL蒸发模型";
  const double u = s.WindSpeed10m;
  if (u < 0) return Refuse(message, kStage, "风速为负值。");
  // Volatility relative to a reference liquid (constant held in single precision).
  const double r = s.MolecularWeight * static_cast<double>(s.VaporPressure) / 0.67711085f;
  // Pool temperature (deg C) raises the rate; below freezing no correction.
  const double t = s.PoolTemperature;
  double f = 1;
  if (t >= 0) f = 1 + 0.0043 * t * t;
  // kg/min from the empirical correlation, then g/min.
  return StoreSingle(s.EvapRate, 0.08 * std::pow(u, 0.75) * s.PoolArea * f * r * 1000 / 60, kStage,
                     "蒸发速率", message);
}

bool EvaporateShell(ModelState& s, std::string& message) {
  constexpr const char* kStage = "SHELL蒸发模型";
  const double ta = s.AirTempK, u = s.WindSpeed10m, len = s.SourceSize;
  const double nu = s.AirKinematicViscosity;  // cm2/s
  const double m = s.MolecularWeight, ma = s.AirMolWeight;
  if (s.InteractionEnergy < 0) return Refuse(message, kStage, "分子相互作用能为负值，无法开平方。");
  if (s.InteractionEnergy == 0) return Refuse(message, kStage, "分子相互作用能为零。");
  if (!(ta > 0)) return Refuse(message, kStage, "气温（K）不是正值。");
  if (!(m > 0)) return Refuse(message, kStage, "分子量不是正值。");
  if (!(nu > 0)) return Refuse(message, kStage, "空气运动粘度不是正值。");
  if (!(len > 0)) return Refuse(message, kStage, "液池尺寸不是正值。");
  if (u < 0) return Refuse(message, kStage, "风速为负值。");

  // Reduced temperature and the collision integral of diffusion.
  const double tStar = ta / std::sqrt(s.InteractionEnergy * 78.6);
  const double omega = 1.06036 / std::pow(tStar, 0.1561) + 0.193 * std::exp(-0.47635 * tStar) +
                       1.03587 * std::exp(-1.52996 * tStar) + 1.76474 * std::exp(-3.89411 * tStar);
  const double w = std::sqrt((m + ma) / (m * ma));
  // Collision diameter of the vapour-air pair (Angstrom).
  const double sigma = (s.MolecularDiameter + 3.711) * 0.5;
  const double beta = (2.17 - 0.5 * w) / 1000;
  const double denominator = sigma * omega * sigma * s.AirPressure / 1013;
  if (denominator == 0) return Refuse(message, kStage, "扩散系数的分母为零（检查分子有效直径和气压）。");
  // Diffusion coefficient of the vapour in air (cm2/s).
  const double diff = ta * beta * std::sqrt(ta) * w / denominator;
  if (!(diff > 0)) return Refuse(message, kStage, "扩散系数不是正值。");
  const double sc = nu / diff;
  const double re = len * u * 10000 / nu;
  // Laminar or turbulent boundary layer over the pool.
  double sh = 0;
  if (re > 320000) {
    sh = 0.037 * std::pow(sc, 1.0 / 3.0) * (std::pow(re, 0.8) - 15200);
  } else {
    sh = 0.664 * std::pow(sc, 1.0 / 3.0) * std::pow(re, 0.5);
  }
  const double k = diff * sh / len / 10000;  // m/s
  return StoreSingle(s.EvapRate, s.PoolArea * k * s.VaporDensity * 60 * 1000000, kStage,
                     "蒸发速率", message);
}

}  // namespace zelto
