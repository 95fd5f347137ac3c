#include "tests/common/ScenarioBuilder.h"

namespace zelto::testing_util {
namespace {

ModelState ConstantsOnly() {
  ModelState s;
  InitConstants(s);
  return s;
}

// Air at 20 deg C (293.16 K) and 1013.25 hPa; kinematic viscosity 0.15 cm2/s.
void SetStandardAir(ModelState& s) {
  s.AirTempK = 293.16f;
  s.AirPressure = 1013.25f;
  s.AirKinematicViscosity = 0.15f;
}

// Benzene-like vapour: M 78.11 kg/kmol, collision diameter 5.35 Angstrom,
// interaction energy 440 K, saturated vapour density 0.00032 g/cm3.
void SetBenzeneLikeVapour(ModelState& s) {
  s.MolecularWeight = 78.11f;
  s.MolecularDiameter = 5.35f;
  s.InteractionEnergy = 440;
  s.VaporDensity = 0.00032f;
}

// The benzene-like 25 m2 pool at 20 deg C under 3 m/s wind in standard air.
ModelState BenzeneLikePool() {
  ModelState s = ConstantsOnly();
  SetStandardAir(s);
  SetBenzeneLikeVapour(s);
  s.WindSpeed10m = 3;
  s.PoolArea = 25;
  s.PoolTemperature = 20;  // deg C as entered
  return s;
}

}  // namespace

ModelState StartState() {
  ModelState s = ConstantsOnly();
  s.Chemicals.assign(2, ChemicalEntry{});
  s.Chemicals[1].Name = "未定义化学物质";
  s.ChemicalCount = 1;
  s.VosslerSets.assign(2, VosslerSet{});
  s.VosslerSetCount = 1;
  return s;
}

ModelState BaseState() {
  ModelState s = ConstantsOnly();
  s.HorizontalStability = 3.5f;
  s.VerticalStability = 3.5f;
  s.AveragingTime = 10.0f;
  s.SigmaThetaFlag = 1;
  s.DispersionRoughness = 3.0f;
  s.Roughness = 3.0f;
  s.SourceSize = 1.0f;
  s.SourceStrength = 1000.0f;
  s.EffectivePlumeHeight = 2.0f;
  s.MixingHeight = 10000.0f;
  s.WindSpeed10m = 3.0f;
  s.WindSpeed = 3.0f;
  s.ReleaseDuration = 10000.0f;
  s.PredictionTime = 10000.0f;
  s.ReceptorHeight = 2.0f;
  return s;
}

ModelState InstantaneousState() {
  ModelState s = BaseState();
  s.ReleaseDuration = 0.25f;
  s.SourceStrength = 40000.0f;
  s.SourceSize = 1.366f;
  s.PredictionTime = 5.0f;
  return s;
}

// Saturation pressure is an Antoine fit (log10 mmHg, K) through 760 mmHg at the
// boiling point, valid up to it; heat of vaporisation a Watson form through
// 1.3703e6 J/kg at the boiling point with critical temperature 405.5 K.
void SetAmmoniaLike(ModelState& s) {
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

ModelState AmmoniaDaySpill() {
  ModelState s = ConstantsOnly();
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

ModelState AmmoniaNightSpill() {
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

ModelState ClewellPool() {
  ModelState s = ConstantsOnly();
  s.MolecularWeight = 100;
  s.VaporPressure = 0.1f;  // atm
  s.WindSpeed10m = 2;
  s.PoolArea = 10;
  s.PoolTemperature = 10;  // deg C as entered
  return s;
}

ModelState ShellPool() {
  ModelState s = BenzeneLikePool();
  s.SourceSize = 5;
  return s;
}

ModelState LiquidPool() {
  ModelState s = BenzeneLikePool();
  s.VaporPressure = 0.1f;  // atm
  s.IsLiquid = true;
  s.ReleaseMode = 1;
  s.ReleaseMass = 1e5f;
  s.ReleaseRate = 4e5f;  // instantaneous: mass / 0.25 min
  s.ReleaseDuration = 0.25f;
  return s;
}

}  // namespace zelto::testing_util
