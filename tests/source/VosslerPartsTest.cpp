// Set-up tables, property correlations and the fault guards of the Vossler model.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "source/Evaporation.h"
#include "source/SourceTerm.h"
#include "source/Vossler.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto {
namespace {

TEST(WindProfileTable, StabilityRows) {
  EXPECT_EQ(WindProfileRow(0.5f, 3), 1);
  EXPECT_EQ(WindProfileRow(2.9f, 3), 1);
  EXPECT_EQ(WindProfileRow(3.0f, 3), 2);
  EXPECT_EQ(WindProfileRow(3.5f, 3), 2);
  EXPECT_EQ(WindProfileRow(3.99f, 3), 2);
  EXPECT_EQ(WindProfileRow(4.0f, 3), 3);
  EXPECT_EQ(WindProfileRow(6.0f, 1.5f), 3);
  EXPECT_EQ(WindProfileRow(6.0f, 1.0f), 4);
  EXPECT_EQ(WindProfileRow(5.9f, 0.5f), 3);  // only s exactly 6 reaches row 4
  EXPECT_EQ(WindProfileRow(6.5f, 1.0f), 0);  // outside 0.5..6: no row
}

TEST(WindProfileTable, RoughnessColumns) {
  EXPECT_EQ(WindProfileColumn(100), 1);
  EXPECT_EQ(WindProfileColumn(99.9f), 2);
  EXPECT_EQ(WindProfileColumn(35), 2);
  EXPECT_EQ(WindProfileColumn(34.9f), 3);
  EXPECT_EQ(WindProfileColumn(5), 3);
  EXPECT_EQ(WindProfileColumn(4.99f), 4);
}

TEST(WindProfileTable, SixteenValuesReadRowByRow) {
  const double expected[4][4] = {{0.23, 0.19, 0.05, 0.04},
                                 {0.29, 0.24, 0.13, 0.1},
                                 {0.51, 0.46, 0.25, 0.2},
                                 {1.05, 0.96, 0.6, 0.54}};
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(WindProfileExponent(r, c), expected[r - 1][c - 1]);
}

TEST(GroundCoefficient, TableByGroundAndMoisture) {
  ModelState s;
  InitConstants(s);
  const double pi = 3.1415927f;
  s.GroundType = 2, s.GroundMoisture = 1;  // dry sand
  EXPECT_DOUBLE_EQ(GroundHeatCoefficient(s), 0.326 / std::sqrt(pi * 2.74e-6 * 600));
  s.GroundType = 3, s.GroundMoisture = 3;  // snow-covered concrete
  EXPECT_DOUBLE_EQ(GroundHeatCoefficient(s), 1.279 / std::sqrt(pi * 4.92e-6 * 600));
  s.GroundType = 1, s.GroundMoisture = 1;  // dry soil
  EXPECT_DOUBLE_EQ(GroundHeatCoefficient(s), 0.138 / std::sqrt(pi * 1.1e-7 * 600));
  s.GroundType = 1, s.GroundMoisture = 3;  // snow-covered soil counts as wet
  EXPECT_DOUBLE_EQ(GroundHeatCoefficient(s), 0.657 / std::sqrt(pi * 1.9e-7 * 600));
  s.GroundType = 2, s.GroundMoisture = 2;  // wet sand
  EXPECT_DOUBLE_EQ(GroundHeatCoefficient(s), 1.128 / std::sqrt(pi * 4.92e-6 * 600));
}

TEST(PoolDepth, FromMassOrFixedForShortRelease) {
  ModelState s;
  s.ReleaseMode = 1;
  s.ReleaseMass = 1e6f;  // 1000 kg in g
  s.LiquidDensity = 1;
  s.PoolArea = 100;
  EXPECT_DOUBLE_EQ(PoolDepth(s), 0.01);
  s.ReleaseMode = 2;
  EXPECT_DOUBLE_EQ(PoolDepth(s), 0.1);
  s.ReleaseMass = 5e9f;
  EXPECT_DOUBLE_EQ(PoolDepth(s), 0.1);
}

TEST(VosslerStart, StartsAtLowerOfBoilingPointAndAirTemperature) {
  // With no Newton step allowed, the refusal leaves the starting temperature.
  std::string message;
  ModelState warm = testing_util::AmmoniaDaySpill();  // Ta 293.16 above Tb 239.8
  EXPECT_FALSE(EvaporateVosslerBounded(warm, message, 0));
  EXPECT_EQ(warm.PoolTemperature, 239.8f);
  ModelState cold = testing_util::AmmoniaDaySpill();
  cold.AirTempK = 230.0f;  // below Tb
  EXPECT_FALSE(EvaporateVosslerBounded(cold, message, 0));
  EXPECT_EQ(cold.PoolTemperature, 230.0f);
}

// ---- property correlations ----

ModelState PropertyState(float t) {
  ModelState s = testing_util::AmmoniaDaySpill();
  s.PoolTemperature = t;
  return s;
}

TEST(Correlations, ClampOrder) {
  EXPECT_EQ(ClampToRange(250, 300, 200), 250);
  EXPECT_EQ(ClampToRange(150, 300, 200), 200);
  EXPECT_EQ(ClampToRange(350, 300, 200), 300);
  // Lowest above highest: lowest below it, highest otherwise.
  EXPECT_EQ(ClampToRange(150, 200, 300), 300);
  EXPECT_EQ(ClampToRange(250, 200, 300), 300);
  EXPECT_EQ(ClampToRange(300, 200, 300), 200);
  EXPECT_EQ(ClampToRange(350, 200, 300), 200);
  // A range of 0, 0 evaluates everything at 0.
  EXPECT_EQ(ClampToRange(250, 0, 0), 0);
}

TEST(Correlations, LiquidConductivityUsesClampedTemperature) {
  std::string message;
  ModelState s = PropertyState(250);
  ASSERT_TRUE(CalcLiquidConductivity(s, message));
  EXPECT_EQ(s.LiquidConductivity, static_cast<float>(1.1606f + (-2.284e-3f) * 250.0));
  s.PoolTemperature = 100;  // below 195
  ASSERT_TRUE(CalcLiquidConductivity(s, message));
  EXPECT_EQ(s.LiquidConductivity, static_cast<float>(1.1606f + (-2.284e-3f) * 195.0));
  s.PoolTemperature = 500;  // above 400
  ASSERT_TRUE(CalcLiquidConductivity(s, message));
  EXPECT_EQ(s.LiquidConductivity, static_cast<float>(1.1606f + (-2.284e-3f) * 400.0));
}

TEST(Correlations, SaturationPressureOfLog760IsStandardPressure) {
  ModelState s = PropertyState(250);
  s.SatPressA = static_cast<float>(std::log10(760.0));
  s.SatPressB = s.SatPressC = s.SatPressD = s.SatPressE = s.SatPressF = 0;
  s.SatPressTmax = 300, s.SatPressTmin = 200;
  std::string message;
  ASSERT_TRUE(CalcSaturationPressure(s, message)) << message;
  EXPECT_EQ(s.SatPressure, 101325.0f);
  EXPECT_EQ(s.SurfaceMoleFraction, 1.0f);
}

TEST(Correlations, SaturationPressureAtBoilingPoint) {
  // Antoine fit: 7.73683 - 1113.928 / (239.8 - 10.409) = log10(759.99...) mmHg.
  ModelState s = PropertyState(239.8f);
  std::string message;
  ASSERT_TRUE(CalcSaturationPressure(s, message));
  const double l = 7.73683f - 1113.928f / (239.8f + static_cast<double>(-10.409f));
  EXPECT_FLOAT_EQ(s.SatPressure, static_cast<float>(101325.0 / 760 * std::pow(10.0, l)));
  EXPECT_NEAR(s.SatPressure, 101325, 5);
}

TEST(Correlations, VaporizationHeatEdgeCases) {
  std::string message;
  ModelState s = PropertyState(239.8f);
  ASSERT_TRUE(CalcVaporizationHeat(s, message));
  EXPECT_EQ(s.VaporizationHeat, 1.3703e6f);  // exactly C at t = B
  s.PoolTemperature = 300;
  ASSERT_TRUE(CalcVaporizationHeat(s, message));
  EXPECT_FLOAT_EQ(s.VaporizationHeat,
                  static_cast<float>(1.3703e6f * std::pow((405.5f - 300.0) / (405.5f - 239.8f), 0.38f)));
  s.HeatVapB = s.HeatVapA;  // A = B: zero, range not consulted
  s.HeatVapTmax = s.HeatVapTmin = 0;
  ASSERT_TRUE(CalcVaporizationHeat(s, message));
  EXPECT_EQ(s.VaporizationHeat, 0.0f);
}

TEST(Correlations, MixturesAtZeroMoleFractionAreAir) {
  ModelState s = PropertyState(250);
  s.SurfaceMoleFraction = 0;
  std::string message;
  ASSERT_TRUE(CalcGasViscosity(s, message));
  ASSERT_TRUE(CalcGasHeatCapacity(s, message));
  ASSERT_TRUE(CalcGasConductivity(s, message));
  EXPECT_EQ(s.MixViscosity, 1.82e-5f);
  EXPECT_EQ(s.MixHeatCapacity, 1000.0f);
  EXPECT_EQ(s.MixConductivity, 0.0233f);
}

TEST(Correlations, MixturesAtUnitMoleFractionAreVapour) {
  ModelState s = PropertyState(250);
  s.SurfaceMoleFraction = 1;
  std::string message;
  ASSERT_TRUE(CalcGasViscosity(s, message));
  ASSERT_TRUE(CalcGasHeatCapacity(s, message));
  ASSERT_TRUE(CalcGasConductivity(s, message));
  const double t = 250;
  EXPECT_FLOAT_EQ(s.MixViscosity, static_cast<float>(-7.874e-7f + 3.67e-8f * t + -4.47e-12f * t * t));
  EXPECT_FLOAT_EQ(s.MixHeatCapacity,
                  static_cast<float>(1603.6f + 1.3993f * t + 1.0023e-3f * t * t + -6.958e-7f * t * t * t));
  EXPECT_FLOAT_EQ(s.MixConductivity,
                  static_cast<float>(0.00457f + 2.3239e-5f * t + 1.481e-7f * t * t + -3.41e-11f * t * t * t));
}

TEST(Correlations, ConductivityMixUsesExponent0333) {
  // Equal-part mixture: weights (28.966)^0.333 and (17.03)^0.333, not cube roots.
  ModelState s = PropertyState(250);
  s.SurfaceMoleFraction = 0.5f;
  s.VapCondA = 0.01f, s.VapCondB = s.VapCondC = s.VapCondD = 0;
  std::string message;
  ASSERT_TRUE(CalcGasConductivity(s, message));
  const double wa = std::pow(28.966f, 0.333), wv = std::pow(17.03f, 0.333);
  EXPECT_EQ(s.MixConductivity, static_cast<float>((0.5 * wa * 0.0233f + 0.5 * wv * 0.01f) / (0.5 * wa + 0.5 * wv)));
}

TEST(MassTransfer, FullerCoefficientWithSingle19_7) {
  // Check the Schmidt number against the diffusion coefficient written out.
  ModelState s = PropertyState(230);
  s.WindExponent = 0.75f, s.LengthExponent = -0.1f;
  std::string message;
  ASSERT_TRUE(CalcMassTransfer(s, message)) << message;
  const double vv = std::pow(14.9f, 0.3333) + std::pow(19.700000762939453, 0.3333);
  const double d = 0.00101 * std::pow(230.0, 1.75) * std::sqrt(1.0 / 17.03f + 1.0 / 28.966f) /
                   (vv * vv * 101325 / 100000) * 0.0001;
  EXPECT_DOUBLE_EQ(FullerDiffusionCoefficient(s), d);
  // Not the double 19.7, not cube roots.
  const double vv197 = std::pow(14.9f, 0.3333) + std::pow(19.7, 0.3333);
  EXPECT_NE(FullerDiffusionCoefficient(s), d * (vv * vv) / (vv197 * vv197));
  const double vvCube = std::cbrt(14.9f) + std::cbrt(19.700000762939453);
  EXPECT_NE(FullerDiffusionCoefficient(s), d * (vv * vv) / (vvCube * vvCube));
  const double y = s.SurfaceMoleFraction;
  const float rho = static_cast<float>(((1 - y) * 28.966f + y * 17.03f) * 101325 / (230.0 * 8314.401f));
  EXPECT_EQ(s.VaporDensity, rho);
  EXPECT_FLOAT_EQ(s.SchmidtNumber, static_cast<float>(s.MixViscosity / (rho * d)));
  const double k = 0.0292 / std::pow(s.SchmidtNumber, 0.667) * std::pow(3.0 * 3600, 0.75f) *
                   std::pow(10.0, -0.1f) / 3600;
  EXPECT_FLOAT_EQ(s.MassTransferCoef, static_cast<float>(k));
}

TEST(Radiation, SinglePrecisionConstants) {
  ModelState s = PropertyState(250);
  s.AirTempK = 290;
  s.SolarRadiation = 400;
  std::string message;
  ASSERT_TRUE(CalcRadiation(s, message));
  const float emission = static_cast<float>(5.3864998e-8f * std::pow(250.0, 4));
  EXPECT_EQ(s.PoolEmission, emission);
  EXPECT_EQ(s.NetRadiation,
            static_cast<float>(0.86 * 400 + 4.2525e-8f * std::pow(290.0, 4) - emission));
}

// ---- refusals ----

TEST(VosslerGuards, IterationBoundReached) {
  // The day spill needs four Newton steps; two are not enough.
  ModelState s = testing_util::AmmoniaDaySpill();
  std::string message;
  EXPECT_FALSE(EvaporateVosslerBounded(s, message, 2));
  EXPECT_EQ(message, "Vossler蒸发模型：液池温度迭代2次仍未收敛。");
  EXPECT_TRUE(std::isfinite(s.PoolTemperature));
}

TEST(VosslerGuards, NeverSettlingIterationStopsAt200) {
  // Saturation pressure fixed at 60 mmHg above 200 K (the fit range ends
  // there), but a B constant that only enters the derivative makes F' about
  // half the true slope: the estimates swing between about 263 K and 291 K for
  // ever. An independent replay stays in that two-cycle for 5000 steps.
  ModelState s = testing_util::AmmoniaDaySpill();
  s.SatPressB = -500, s.SatPressC = 0;
  s.SatPressA = -0.72184873f;  // log10(60) + B / 200
  s.SatPressTmax = 200, s.SatPressTmin = 190;
  std::string message;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：液池温度迭代200次仍未收敛。");
  EXPECT_GT(s.PoolTemperature, 255);
  EXPECT_LT(s.PoolTemperature, 300);
  // With a higher bound it still does not settle.
  EXPECT_FALSE(EvaporateVosslerBounded(s, message, 1000));
}

TEST(VosslerGuards, ZeroTemperature) {
  // Air at 0 K (below Tb): the iteration would start at 0 K.
  ModelState s = testing_util::AmmoniaDaySpill();
  s.AirTempK = 0;
  std::string message;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：液池温度（K）不是正值。");
}

TEST(VosslerGuards, SaturationCorrelationDivisions) {
  std::string message;
  ModelState s = PropertyState(250);
  s.SatPressTmax = s.SatPressTmin = 0;  // range 0, 0: t = 0
  EXPECT_FALSE(CalcSaturationPressure(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：饱和压力关联式的温度为零。");
  s = PropertyState(250);
  s.SatPressC = -250;
  s.SatPressTmax = 300;
  EXPECT_FALSE(CalcSaturationPressure(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：饱和压力关联式中温度与常数C之和为零。");
}

TEST(VosslerGuards, VaporizationHeatNegativeBase) {
  ModelState s = PropertyState(420);
  s.HeatVapTmax = 450;  // lets t exceed A = 405.5
  std::string message;
  const float before = s.VaporizationHeat;
  EXPECT_FALSE(CalcVaporizationHeat(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：蒸发热关联式的底数为负值（温度高于常数A），无法求分数次方。");
  EXPECT_EQ(s.VaporizationHeat, before);
}

TEST(VosslerGuards, ZeroVaporizationHeatInBoilingPool) {
  ModelState s = testing_util::AmmoniaNightSpill();
  s.HeatVapB = s.HeatVapA;  // heat of vaporisation 0
  std::string message;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：蒸发热为零，无法计算沸腾液池的蒸发速率。");
}

TEST(VosslerGuards, NewtonStepRefusesZeroDerivativeAndOverflow) {
  std::string message;
  double tNew = 0;
  ASSERT_TRUE(NewtonPoolTemperature(250, 100, 50, tNew, message));
  EXPECT_EQ(tNew, 248);
  EXPECT_FALSE(NewtonPoolTemperature(250, 100, 0, tNew, message));
  EXPECT_EQ(message, "Vossler蒸发模型：牛顿迭代的导数为零。");
  EXPECT_FALSE(NewtonPoolTemperature(250, 1e30, 1e-30, tNew, message));
  EXPECT_EQ(message, "Vossler蒸发模型：牛顿迭代发散。");
}

TEST(VosslerGuards, DerivativePoleAtMinusC) {
  // C = -Tb: the derivative term B / (C + T)^2 has its pole at the first
  // estimate (the pressure fit itself is evaluated below 200 K, clear of it).
  ModelState s = testing_util::AmmoniaDaySpill();
  s.SatPressC = -239.8f;
  s.SatPressA = -26.98814f;  // 10 mmHg at 200 K: 1 + 1113.928 / (200 - 239.8)
  s.SatPressTmax = 200;
  std::string message;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：饱和压力常数C与液池温度之和为零，无法求导数。");
}

TEST(VosslerGuards, BadPoolDepthAndStability) {
  std::string message;
  ModelState s = testing_util::AmmoniaDaySpill();
  s.LiquidDensity = 0;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：液池深度不是正值（检查释放量、液体密度和液池面积）。");
  s = testing_util::AmmoniaDaySpill();
  s.VerticalStability = 7;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：垂直稳定度参数超出0.5～6的范围。");
}

TEST(VosslerGuards, NegativeDiffusionVolumeAndMolecularWeight) {
  std::string message;
  ModelState s = testing_util::AmmoniaDaySpill();
  s.DiffusionVolume = -1;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：分子扩散体积为负值，无法求分数次方。");
  s = testing_util::AmmoniaDaySpill();
  s.MolecularWeight = 0;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：分子量不是正值。");
}

}  // namespace
}  // namespace zelto

namespace zelto {
namespace {

TEST(VosslerGuards, MoleFractionAboveOneGivesNegativeSchmidtNumber) {
  // A pressure fit that goes on above the boiling point: the estimate after
  // the first step (about 258 K) has y > 1, the viscosity mix turns negative
  // and the Schmidt number cannot be raised to 0.667.
  ModelState s = testing_util::AmmoniaNightSpill();
  s.SatPressTmax = 400;
  std::string message;
  EXPECT_FALSE(EvaporateVossler(s, message));
  EXPECT_EQ(message, "Vossler蒸发模型：施密特数不是正值。");
  EXPECT_GT(s.SurfaceMoleFraction, 1.0f);
}

}  // namespace
}  // namespace zelto
