// Air properties, vapour pressure, liquid density and vapour density.
// Expected values worked by hand from the correlations.
#include <gtest/gtest.h>

#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

TEST(AirProperties, StandardAtmosphere) {
  // 288.15 K, 1013.25 mb: 0.0012250 g/cm3 and 0.00017894 g/(cm s).
  ModelState s = mettest::BaseState();
  s.AirTempK = 288.15f;
  s.AirPressure = 1013.25f;
  std::string message;
  ASSERT_TRUE(ComputeAirProperties(s, message));
  EXPECT_NEAR(s.AirDensity, 0.0012250f, 5e-8f);
  EXPECT_NEAR(s.AirViscosity, 0.00017894f, 5e-9f);
  EXPECT_NEAR(s.AirKinematicViscosity, 0.1460668f, 1e-6f);
}

TEST(AirProperties, RefusesNonPositivePressureAndTemperature) {
  std::string message;
  ModelState high = mettest::BaseState();
  high.AirPressure = -2.0f;  // ground elevation above 8826 m
  EXPECT_FALSE(ComputeAirProperties(high, message));
  EXPECT_EQ(message, "泄漏处地面高程过高，气压不为正，不能计算空气密度。");
  ModelState cold = mettest::BaseState();
  cold.AirTempK = 0.0f;
  EXPECT_FALSE(ComputeAirProperties(cold, message));
  EXPECT_EQ(message, "环境气温无效，不能计算空气密度和粘度。");
}

ModelState Substance(float a, float b, float c) {
  ModelState s = mettest::BaseState();
  s.VaporPressA = a;
  s.VaporPressB = b;
  s.VaporPressC = c;
  return s;
}

TEST(VaporPressure, SingleConstantInMmHg) {
  ModelState s = Substance(100.0f, 0.0f, 0.0f);
  std::string message;
  ASSERT_TRUE(ComputeVaporPressure(s, message));
  EXPECT_NEAR(s.VaporPressure, 0.13158f, 5e-6f);
}

TEST(VaporPressure, Antoine) {
  // Water at 20 deg C: 10^(8.07131 - 1730.63 / 253.426) / 760 = 0.0229911 atm.
  ModelState s = Substance(8.07131f, 1730.63f, 233.426f);
  s.AirTempC = 20.0f;
  std::string message;
  ASSERT_TRUE(ComputeVaporPressure(s, message));
  EXPECT_NEAR(s.VaporPressure, 0.02299112f, 1e-8f);

  ModelState pole = Substance(8.0f, 1700.0f, -20.0f);
  pole.AirTempC = 20.0f;  // AirTempC + C = 0
  EXPECT_FALSE(ComputeVaporPressure(pole, message));
  EXPECT_EQ(message, "物质蒸气压计算出错，请检查蒸气压常数、临界温度和临界压力。");
}

TEST(VaporPressure, ReducedFormConverges) {
  // A = 5, B = 2, Tr = 293.15 / 500: converges after 4 iterations at
  // p = 0.0603222, times Pc = 40 atm.
  ModelState s = Substance(5.0f, 2.0f, 0.0f);
  s.AirTempK = 293.15f;
  s.CriticalTempK = 500.0f;
  s.CriticalPressure = 40.0f;
  std::string message;
  ASSERT_TRUE(ComputeVaporPressure(s, message));
  EXPECT_NEAR(s.VaporPressure, 2.412889f, 2e-6f);
}

TEST(VaporPressure, ReducedFormStopsAfterFiftyIterations) {
  // A = 1.872, B = 1, Tr = 0.6: the map contracts by about 0.97 per step.
  // After 50 iterations p x Pc = 32.6204 (49: 32.6010; converged: 33.0252).
  ModelState s = Substance(1.872f, 1.0f, 0.0f);
  s.AirTempK = 300.0f;
  s.CriticalTempK = 500.0f;
  s.CriticalPressure = 40.0f;
  std::string message;
  ASSERT_TRUE(ComputeVaporPressure(s, message));
  EXPECT_NEAR(s.VaporPressure, 32.62040f, 2e-4f);
}

TEST(VaporPressure, ReducedFormRefusesMissingCriticalTemperature) {
  ModelState s = Substance(5.0f, 2.0f, 0.0f);
  s.CriticalTempK = 0.0f;
  s.VaporPressure = 0.25f;
  std::string message;
  EXPECT_FALSE(ComputeVaporPressure(s, message));
  EXPECT_EQ(s.VaporPressure, 0.25f);
}

ModelState Liquid(const char* name, float a, float b) {
  ModelState s = mettest::BaseState();
  s.ChemicalName = name;
  s.LiquidDensityA = a;
  s.LiquidDensityB = b;
  return s;
}

TEST(LiquidDensity, DimethylhydrazineRuleOnFirst23Characters) {
  // a - b T - 4.8648e-7 T^2 at 293.16 K with a = 1, b = 0.0006: 0.7822946.
  ModelState exact = Liquid("DIMETHYLHYDRAZINE(UDMH)", 1.0f, 0.0006f);
  std::string message;
  ComputeLiquidDensity(exact, message);
  EXPECT_NEAR(exact.LiquidDensity, 0.7822946f, 1e-7f);

  ModelState longer = Liquid("dimethylhydrazine(udmh) technical grade", 1.0f, 0.0006f);
  ComputeLiquidDensity(longer, message);
  EXPECT_EQ(longer.LiquidDensity, exact.LiquidDensity);

  // The abbreviation alone does not select it (no Tc: density 1).
  ModelState abbreviation = Liquid("UDMH", 1.0f, 0.0006f);
  ComputeLiquidDensity(abbreviation, message);
  EXPECT_EQ(abbreviation.LiquidDensity, 1.0f);
}

TEST(LiquidDensity, Branches) {
  ModelState noA = Liquid("X", 0.0f, 0.3f);
  noA.CriticalTempK = 500.0f;
  std::string message;
  ComputeLiquidDensity(noA, message);
  EXPECT_EQ(noA.LiquidDensity, 1.0f);

  ModelState noTc = Liquid("X", 0.8f, 0.3f);
  ComputeLiquidDensity(noTc, message);
  EXPECT_EQ(noTc.LiquidDensity, 1.0f);

  ModelState constant = Liquid("X", 0.8f, 0.0f);
  constant.CriticalTempK = 500.0f;
  ComputeLiquidDensity(constant, message);
  EXPECT_EQ(constant.LiquidDensity, 0.8f);

  ModelState noVc = Liquid("X", 0.5f, 0.3f);
  noVc.CriticalTempK = 500.0f;
  ComputeLiquidDensity(noVc, message);
  EXPECT_EQ(noVc.LiquidDensity, 1.0f);

  // (1 + 0.5 tau^(1/3) + 0.3 tau) / 200 x 100 with tau = 1 - 293.15 / 500.
  ModelState full = Liquid("X", 0.5f, 0.3f);
  full.AirTempK = 293.15f;
  full.CriticalTempK = 500.0f;
  full.CriticalVolume = 200.0f;
  full.MolecularWeight = 100.0f;
  ComputeLiquidDensity(full, message);
  EXPECT_NEAR(full.LiquidDensity, 0.7483360f, 1e-7f);
}

TEST(LiquidDensity, AboveCriticalTemperatureReportsAndFallsBackToOne) {
  ModelState s = Liquid("X", 0.5f, 0.3f);
  s.AirTempK = 600.0f;
  s.CriticalTempK = 500.0f;
  s.CriticalVolume = 200.0f;
  s.MolecularWeight = 100.0f;
  std::string message;
  EXPECT_FALSE(ComputeLiquidDensity(s, message));
  EXPECT_EQ(message, "液体密度计算出错，请检查液体密度常数、临界温度和临界体积。");
  EXPECT_EQ(s.LiquidDensity, 1.0f);
}

TEST(VaporDensity, BerthelotCorrection) {
  // rho = 100 x 0.1 / (82.06 x 293.15) = 4.15699e-4, k = 0.9950667.
  ModelState s = mettest::BaseState();
  s.AirTempK = 293.15f;
  s.MolecularWeight = 100.0f;
  s.VaporPressure = 0.1f;
  s.CriticalTempK = 500.0f;
  s.CriticalPressure = 40.0f;
  std::string message;
  ASSERT_TRUE(ComputeVaporDensity(s, message));
  EXPECT_NEAR(s.VaporDensity, 4.136479e-4f, 1e-10f);
}

TEST(VaporDensity, MissingConstantGivesAirDensity) {
  ModelState s = mettest::BaseState();
  s.AirDensity = 0.0012f;
  s.VaporPressure = 0.1f;
  s.CriticalTempK = 500.0f;
  s.CriticalPressure = 0.0f;
  std::string message;
  ASSERT_TRUE(ComputeVaporDensity(s, message));
  EXPECT_EQ(s.VaporDensity, 0.0012f);
}

}  // namespace
}  // namespace zelto
