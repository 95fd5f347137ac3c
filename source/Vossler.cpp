// Vossler pool evaporation: the pool surface temperature is found from the heat
// balance (ground conduction through the liquid layer, convection from the air,
// net radiation against evaporative cooling) by Newton iteration; the mass flux
// at that temperature gives the evaporation rate. A pool that reaches its
// boiling point evaporates at the rate its heat supply allows.
#include <cmath>
#include <string>

#include "core/TextConv.h"
#include "source/Evaporation.h"
#include "source/SourceChecks.h"
#include "source/SourceTerm.h"
#include "source/Vossler.h"

namespace zelto {

using source_detail::Refuse;
using source_detail::StoreSingle;

namespace {

constexpr const char* kStage = "Vossler蒸发模型";

// Wind-profile exponent p, four rows by stability, four columns by roughness,
// read row by row.
constexpr double kWindProfileTable[16] = {0.23, 0.19, 0.05, 0.04, 0.29, 0.24, 0.13, 0.1,
                                          0.51, 0.46, 0.25, 0.2,  1.05, 0.96, 0.6,  0.54};

// Latent heat of fusion added to the heat of vaporisation for a frozen surface (J/kg).
constexpr double kFusionHeat = 159000;

// Radiation constants (single precision): emission of the pool surface and
// absorbed long-wave sky radiation, W/(m2 K4).
constexpr float kPoolEmissivitySigma = 5.3864998e-8f;
constexpr float kSkyRadiationSigma = 4.2525e-8f;

// Diffusion volume of air in the Fuller correlation (single precision).
constexpr float kAirDiffusionVolume = 19.7f;

bool CheckPoolTemperature(const ModelState& s, std::string& message) {
  if (!(s.PoolTemperature > 0)) return Refuse(message, kStage, "液池温度（K）不是正值。");
  return true;
}

// Mass flux m (kg/(m2 s)) and EvapRate (g/min) from the current mass-transfer
// coefficient and saturation pressure.
bool SurfaceMassFlux(ModelState& s, double& m, std::string& message) {
  if (!CalcMassTransfer(s, message)) return false;
  m = s.MolecularWeight * static_cast<double>(s.MassTransferCoef) * s.SatPressure /
      (static_cast<double>(s.PoolTemperature) * s.GasConstant);
  return StoreSingle(s.EvapRate, s.PoolArea * m * 60 * 1000, kStage, "蒸发速率", message);
}

}  // namespace

int WindProfileRow(float verticalStability, float windSpeed10m) {
  // Later rules override earlier ones.
  int row = 0;
  if (verticalStability <= 3) row = 1;
  if (std::trunc(verticalStability) == 3) row = 2;
  if (verticalStability >= 4 && verticalStability <= 6) row = 3;
  if (verticalStability == 6 && windSpeed10m <= 1) row = 4;
  return row;
}

int WindProfileColumn(float roughnessCm) {
  if (roughnessCm >= 100) return 1;
  if (roughnessCm >= 35) return 2;
  if (roughnessCm >= 5) return 3;
  return 4;
}

double WindProfileExponent(int row, int column) {
  return kWindProfileTable[(row - 1) * 4 + (column - 1)];
}

double GroundHeatCoefficient(const ModelState& s) {
  double k = 1.279, alpha = 4.92e-6;  // concrete (and any other code)
  if (s.GroundType == 1) {
    if (s.GroundMoisture == 1) {
      k = 0.138, alpha = 1.1e-7;  // dry soil
    } else {
      k = 0.657, alpha = 1.9e-7;  // wet or snow-covered soil
    }
  } else if (s.GroundType == 2) {
    if (s.GroundMoisture == 1) {
      k = 0.326, alpha = 2.74e-6;  // dry sand
    } else {
      k = 1.128, alpha = 4.92e-6;  // wet or snow-covered sand
    }
  }
  // Semi-infinite solid after a step change, averaged over 600 s.
  return k / std::sqrt(s.Pi * alpha * 600);
}

double PoolDepth(const ModelState& s) {
  if (s.ReleaseMode == release::ShortOrContinuous) return 0.1;
  return s.ReleaseMass / (s.LiquidDensity * std::pow(10.0, 6) * s.PoolArea);
}

double FullerDiffusionCoefficient(const ModelState& s) {
  const double vv = std::pow(static_cast<double>(s.DiffusionVolume), 0.3333) +
                    std::pow(static_cast<double>(kAirDiffusionVolume), 0.3333);
  return 0.00101 * std::pow(static_cast<double>(s.PoolTemperature), 1.75) *
         std::sqrt(1 / static_cast<double>(s.MolecularWeight) + 1 / static_cast<double>(s.AirMolWeight)) /
         (vv * vv * s.StdPressure / 100000) * 0.0001;
}

bool CalcMassTransfer(ModelState& s, std::string& message) {
  if (!CheckPoolTemperature(s, message)) return false;
  const double t = s.PoolTemperature;
  const double m = s.MolecularWeight;
  if (!(m > 0)) return Refuse(message, kStage, "分子量不是正值。");
  if (s.DiffusionVolume < 0) return Refuse(message, kStage, "分子扩散体积为负值，无法求分数次方。");
  const double diff = FullerDiffusionCoefficient(s);
  if (!CalcSaturationPressure(s, message)) return false;
  if (!CalcGasViscosity(s, message)) return false;
  // Density of the saturated vapour-air mixture over the pool (kg/m3).
  const double y = s.SurfaceMoleFraction;
  if (!StoreSingle(s.VaporDensity,
                   ((1 - y) * s.AirMolWeight + y * m) * s.StdPressure / (t * s.GasConstant), kStage,
                   "蒸气密度", message))
    return false;
  const double rhoD = static_cast<double>(s.VaporDensity) * diff;
  if (rhoD == 0) return Refuse(message, kStage, "蒸气密度与扩散系数之积为零，无法计算施密特数。");
  float sc = 0;
  if (!StoreSingle(sc, s.MixViscosity / rhoD, kStage, "施密特数", message)) return false;
  if (!(sc > 0)) return Refuse(message, kStage, "施密特数不是正值。");
  const double u = s.WindSpeed10m, len = s.SourceSize;
  if (u < 0) return Refuse(message, kStage, "风速为负值。");
  if (!(len > 0)) return Refuse(message, kStage, "液池尺寸不是正值。");
  s.SchmidtNumber = sc;
  // Mass-transfer coefficient over a pool of length L in a power-law wind
  // profile (m/s; wind and coefficient in m/h inside the bracket).
  return StoreSingle(s.MassTransferCoef,
                     0.0292 / std::pow(static_cast<double>(sc), 0.667) *
                         std::pow(u * 3600, static_cast<double>(s.WindExponent)) *
                         std::pow(len, static_cast<double>(s.LengthExponent)) / 3600,
                     kStage, "传质系数", message);
}

bool CalcConvection(ModelState& s, std::string& message) {
  if (!CalcGasHeatCapacity(s, message)) return false;
  if (!CalcGasConductivity(s, message)) return false;
  if (s.MixConductivity == 0) return Refuse(message, kStage, "混合气体热传导系数为零，无法计算普朗特数。");
  const double pr = static_cast<double>(s.MixHeatCapacity) * s.MixViscosity / s.MixConductivity;
  if (pr == 0) return Refuse(message, kStage, "普朗特数为零。");
  const double ratio = s.SchmidtNumber / pr;
  if (ratio < 0) return Refuse(message, kStage, "施密特数与普朗特数之比为负值，无法求分数次方。");
  // Heat transfer by analogy with mass transfer (W/(m2 K)).
  if (!StoreSingle(s.ConvectiveCoef,
                   std::pow(ratio, 0.67) * s.MassTransferCoef * s.VaporDensity * s.MixHeatCapacity,
                   kStage, "对流换热系数", message))
    return false;
  return StoreSingle(s.ConvectiveFlux,
                     (static_cast<double>(s.AirTempK) - s.PoolTemperature) * s.ConvectiveCoef,
                     kStage, "对流热通量", message);
}

bool CalcRadiation(ModelState& s, std::string& message) {
  if (!StoreSingle(s.PoolEmission,
                   kPoolEmissivitySigma * std::pow(static_cast<double>(s.PoolTemperature), 4),
                   kStage, "液面辐射", message))
    return false;
  return StoreSingle(s.NetRadiation,
                     0.86 * s.SolarRadiation +
                         kSkyRadiationSigma * std::pow(static_cast<double>(s.AirTempK), 4) -
                         s.PoolEmission,
                     kStage, "净辐射", message);
}

bool LiquidSurfaceFlux(ModelState& s, std::string& message) {
  double m = 0;
  if (!SurfaceMassFlux(s, m, message)) return false;
  if (!CalcVaporizationHeat(s, message)) return false;
  return StoreSingle(s.EvaporativeFlux, m * s.VaporizationHeat, kStage, "蒸发热通量", message);
}

bool FrozenSurfaceFlux(ModelState& s, std::string& message) {
  double m = 0;
  if (!SurfaceMassFlux(s, m, message)) return false;
  if (!CalcVaporizationHeat(s, message)) return false;
  if (!StoreSingle(s.SublimationHeat, s.VaporizationHeat + kFusionHeat, kStage, "升华热", message))
    return false;
  return StoreSingle(s.EvaporativeFlux, m * s.SublimationHeat, kStage, "蒸发热通量", message);
}

bool NewtonPoolTemperature(double t, double f, double df, double& tNew, std::string& message) {
  if (df == 0) return Refuse(message, kStage, "牛顿迭代的导数为零。");
  tNew = t - f / df;
  if (!FitsSingle(tNew)) return Refuse(message, kStage, "牛顿迭代发散。");
  return true;
}

bool EvaporateVosslerBounded(ModelState& s, std::string& message, int maxIterations) {
  // ---- set-up ----
  const double depth = PoolDepth(s);
  if (!(depth > 0) || !std::isfinite(depth))
    return Refuse(message, kStage, "液池深度不是正值（检查释放量、液体密度和液池面积）。");
  const float ta = s.AirTempK, tb = s.BoilingPointK, tf = s.FreezingPointK;
  // Start from the lower of boiling point and air temperature.
  s.PoolTemperature = tb;
  if (tb > ta) s.PoolTemperature = ta;
  if (!CheckPoolTemperature(s, message)) return false;

  const int row = WindProfileRow(s.VerticalStability, s.WindSpeed10m);
  if (row == 0) return Refuse(message, kStage, "垂直稳定度参数超出0.5～6的范围。");
  const double p = WindProfileExponent(row, WindProfileColumn(s.DispersionRoughness));
  const double n = 2 * p / (p + 1);
  s.WindExponent = static_cast<float>((2 - n) / (2 + n));
  s.LengthExponent = static_cast<float>(-n / (n + 2));
  const double hg = GroundHeatCoefficient(s);

  // Fraction of the liquid layer that resists conduction; depends on Tb only.
  const double phi = 1 / (std::exp(-0.06 * (static_cast<double>(tb) - 70 - kKelvinOffset)) + 1);

  // ---- Newton iteration on the pool temperature ----
  double u = 0;  // overall ground-to-surface heat transfer coefficient, W/(m2 K)
  bool settled = false;
  for (int iteration = 1; iteration <= maxIterations; ++iteration) {
    if (!CheckPoolTemperature(s, message)) return false;
    if (!CalcLiquidConductivity(s, message)) return false;
    // Liquid layer in series with the ground.
    const double layer = (depth / 2) * phi;
    if (layer == 0) return Refuse(message, kStage, "液层导热厚度为零。");
    const double hl = s.LiquidConductivity / layer;
    if (hl == 0) return Refuse(message, kStage, "液相热传导系数为零。");
    const double resistance = 1 / hg + 1 / hl;
    if (resistance == 0) return Refuse(message, kStage, "地面与液层的总热阻为零。");
    u = 1 / resistance;
    if (!CalcRadiation(s, message)) return false;
    if (s.PoolTemperature > tf) {
      if (!LiquidSurfaceFlux(s, message)) return false;
    } else {
      if (!FrozenSurfaceFlux(s, message)) return false;
    }
    if (!CalcConvection(s, message)) return false;

    const double t = s.PoolTemperature;
    const double gain = u + s.ConvectiveCoef;
    // Heat balance residual (W/m2) and its derivative with respect to T.
    const double f = gain * (t - ta) + s.EvaporativeFlux - s.NetRadiation;
    const double cT = static_cast<double>(s.SatPressC) + t;
    if (cT == 0) return Refuse(message, kStage, "饱和压力常数C与液池温度之和为零，无法求导数。");
    const double df = s.EvaporativeFlux * 2.303 * s.SatPressB / (cT * cT) +
                      4 * static_cast<double>(s.PoolEmission) / t + gain - s.EvaporativeFlux / t;
    double tNew = 0;
    if (!NewtonPoolTemperature(t, f, df, tNew, message)) return false;
    if (static_cast<float>(std::fabs(t - tNew)) < 0.1) {
      settled = true;  // T keeps the value that passed the test
      break;
    }
    s.PoolTemperature = static_cast<float>(tNew);
    if (!(s.PoolTemperature > tf)) {
      s.PoolTemperature = tf;  // the surface freezes
      settled = true;
      break;
    }
  }
  if (!settled) {
    message = std::string(kStage) + "：液池温度迭代" + std::to_string(maxIterations) +
              "次仍未收敛。";
    return false;
  }
  if (!CheckPoolTemperature(s, message)) return false;

  // ---- final rate ----
  if (s.PoolTemperature <= tf) return FrozenSurfaceFlux(s, message);
  if (!LiquidSurfaceFlux(s, message)) return false;
  if (s.PoolTemperature < tb) return true;

  // Boiling pool: held at its boiling point, it evaporates at the rate its heat
  // supply (ground, radiation, convection) allows.
  s.PoolTemperature = tb;
  if (!CalcMassTransfer(s, message)) return false;
  if (!CalcConvection(s, message)) return false;
  if (!CalcRadiation(s, message)) return false;
  const double groundHeat = (static_cast<double>(ta) - s.PoolTemperature) * u;
  if (!CalcVaporizationHeat(s, message)) return false;
  double heat = s.VaporizationHeat;
  if (!(tb > tf)) {
    // A substance whose boiling point is not above its freezing point is solid
    // at Tb: the heat supply sublimates it.
    if (!StoreSingle(s.SublimationHeat, s.VaporizationHeat + kFusionHeat, kStage, "升华热", message))
      return false;
    heat = s.SublimationHeat;
  }
  if (heat == 0) return Refuse(message, kStage, "蒸发热为零，无法计算沸腾液池的蒸发速率。");
  return StoreSingle(s.EvapRate,
                     (groundHeat + s.NetRadiation + s.ConvectiveFlux) * s.PoolArea / heat * 60 * 1000,
                     kStage, "蒸发速率", message);
}

bool EvaporateVossler(ModelState& s, std::string& message) {
  return EvaporateVosslerBounded(s, message, kMaxPoolTempIterations);
}

}  // namespace zelto
