// Shared set-up for the source-term tests: an ammonia-like substance with its
// evaporation correlations in SI units, and ambient conditions set directly.
#pragma once

#include <cmath>

#include "core/ModelState.h"

namespace zelto::test {

// Ammonia-like liquid: M 17.03 kg/kmol, boils at 239.8 K, freezes at 195.4 K.
// Saturation pressure is an Antoine fit (log10 mmHg, K) through 760 mmHg at the
// boiling point, valid up to it; heat of vaporisation a Watson form through
// 1.3703e6 J/kg at the boiling point with critical temperature 405.5 K.
inline void SetAmmoniaLike(ModelState& s) {
  s.MolecularWeight = 17.03f;
  s.BoilingPointK = 239.8f;
  s.FreezingPointK = 195.4f;
  s.VapViscA = -7.874e-7f, s.VapViscB = 3.67e-8f, s.VapViscC = -4.47e-12f;  // Pa s
  s.VapViscTmax = 700, s.VapViscTmin = 195;
  s.VapCpA = 1603.6f, s.VapCpB = 1.3993f, s.VapCpC = 1.0023e-3f, s.VapCpD = -6.958e-7f;  // J/(kg K)
  s.VapCpTmax = 1000, s.VapCpTmin = 195;
  s.VapCondA = 0.00457f, s.VapCondB = 2.3239e-5f, s.VapCondC = 1.481e-7f, s.VapCondD = -3.41e-11f;
  s.VapCondTmax = 700, s.VapCondTmin = 195;
  s.HeatVapA = 405.5f, s.HeatVapB = 239.8f, s.HeatVapC = 1.3703e6f, s.HeatVapD = 0.38f;
  s.HeatVapTmax = 405, s.HeatVapTmin = 195;
  s.SatPressA = 7.73683f, s.SatPressB = 1113.928f, s.SatPressC = -10.409f;
  s.SatPressD = 0, s.SatPressE = 0, s.SatPressF = 0;
  s.SatPressTmax = 239.8f, s.SatPressTmin = 190;
  s.LiqCondA = 1.1606f, s.LiqCondB = -2.284e-3f, s.LiqCondC = 0;  // W/(m K)
  s.LiqCondTmax = 400, s.LiqCondTmin = 195;
  s.DiffusionVolume = 14.9f;
  s.LiquidDensity = 0.682f;
  s.VosslerIndex = 1;
}

// 1000 kg spilled at once on a 100 m2 dry concrete pool, 20 deg C, 3 m/s,
// slightly stable (row 2), roughness 10 cm, 500 W/m2 sunshine.
inline ModelState AmmoniaDaySpill() {
  ModelState s;
  InitConstants(s);
  SetAmmoniaLike(s);
  s.IsLiquid = true;
  s.ReleaseMode = 1;
  s.ReleaseMass = 1e6f;
  s.ReleaseRate = 4e6f;
  s.PoolArea = 100;
  s.SourceSize = 10;
  s.AirTempC = 20;
  s.AirTempK = 293.16f;
  s.WindSpeed10m = 3;
  s.VerticalStability = 3.5f;
  s.DispersionRoughness = 10;
  s.GroundType = 3;
  s.GroundMoisture = 1;
  s.SolarRadiation = 500;
  s.PoolTemperature = 20;
  return s;
}

// The same spill on wet concrete on a calm, very stable warm night (30 deg C,
// 1 m/s, row 4, roughness 3 cm): the heat supply exceeds what evaporation at
// the boiling point can carry away, so the pool boils.
inline ModelState AmmoniaNightSpill() {
  ModelState s = AmmoniaDaySpill();
  s.AirTempC = 30;
  s.AirTempK = 303.16f;
  s.WindSpeed10m = 1;
  s.VerticalStability = 6;
  s.DispersionRoughness = 3;
  s.GroundMoisture = 2;
  s.SolarRadiation = 0;
  return s;
}

}  // namespace zelto::test
