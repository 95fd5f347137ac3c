// The whole meteorology pass: a day case and a night stack case worked by
// hand through every step, the early return for a Vossler liquid, and the
// refusals.
#include <gtest/gtest.h>

#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

// 21 June, 12:00 local, 120.1E 30.2N; 3/10 middle cloud over wet ground at
// 25 deg C, 100 m elevation; 3 m/s measured at 5 m over 10 cm; a temporary
// liquid with a vapour pressure of 100 mmHg, continuous release.
ModelState DayCase() {
  ModelState s = mettest::BaseState();
  s.LocalDateText = "2017/06/21";
  s.LocalTimeText = "12:00:00";
  s.TimeDifference = 8.01f;
  s.Longitude = 120.1f;
  s.Latitude = 30.2f;
  s.CloudCover = 3;
  s.CloudType = 2;
  s.GroundMoisture = 2;
  s.AirTempC = 25.0f;
  s.AirTempK = 298.16f;
  s.AirPressure = static_cast<float>(1013.25 - 100.0 * 0.1148);
  s.WindSpeed = 3.0f;
  s.WindHeight = 5.0f;
  s.Roughness = 10.0f;
  s.DispersionRoughness = 10.0f;
  s.ReleaseMode = 2;
  s.IsLiquid = true;
  s.ChemicalName = "临时物质";
  s.MolecularWeight = 78.0f;
  s.VaporPressA = 100.0f;
  ComputeSurfaceFactors(s);
  return s;
}

// 12 January, 23:30 local (7:30 after the time difference, sun below the
// horizon); 2/10 high cloud over dry ground at 0 deg C, sea level; 2 m/s at
// 2 m over 3 cm; a stack 30 m high, gas at 100 deg C, 10 m3/s, 1 kg/min.
ModelState NightStackCase() {
  ModelState s = mettest::BaseState();
  s.LocalDateText = "2017/01/12";
  s.LocalTimeText = "23:30:00";
  s.TimeDifference = 8.01f;
  s.Longitude = 120.1f;
  s.Latitude = 30.2f;
  s.CloudCover = 2;
  s.CloudType = 1;
  s.GroundMoisture = 1;
  s.AirTempC = 0.0f;
  s.AirTempK = 273.16f;
  s.AirPressure = 1013.25f;
  s.WindSpeed = 2.0f;
  s.WindHeight = 2.0f;
  s.Roughness = 3.0f;
  s.DispersionRoughness = 3.0f;
  s.ReleaseMode = 3;
  s.IsLiquid = false;
  s.StackHeight = 30.0f;
  s.StackGasTemperature = 373.15f;
  s.StackFlowRate = 10.0f;
  s.ReleaseRate = 1000.0f;
  ComputeSurfaceFactors(s);
  return s;
}

TEST(MeteorologyPass, DayCase) {
  ModelState s = DayCase();
  std::string message = "stale";
  ASSERT_TRUE(RunMeteorology(s, message)) << message;
  EXPECT_EQ(message, "");

  EXPECT_NEAR(s.SolarElevation, 83.23537f, 2e-4f);
  EXPECT_EQ(s.DayNightFlag, "Y");
  EXPECT_NEAR(s.SolarRadiation, 941.3432f, 2e-3f);
  EXPECT_NEAR(s.SensibleHeatFlux, 96.64833f, 2e-4f);
  EXPECT_NEAR(s.AirDensity, 0.001170501f, 1e-9f);
  EXPECT_NEAR(s.AirViscosity, 0.0001837282f, 1e-10f);
  EXPECT_NEAR(s.AirKinematicViscosity, 0.1569654f, 1e-6f);
  EXPECT_NEAR(s.FrictionVelocity, 0.3351346f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, -34.46356f, 1e-4f);
  EXPECT_NEAR(s.RoughnessProfileTerm, 1.0107079f, 1e-6f);
  EXPECT_NEAR(s.WindSpeed10m, 3.397934f, 1e-5f);
  EXPECT_NEAR(s.HorizontalStability, 2.391220f, 1e-5f);
  EXPECT_EQ(s.VerticalStability, s.HorizontalStability);
  EXPECT_EQ(s.StabilityText, "不稳定");
  EXPECT_EQ(s.MixingHeight, 10000.0f);
  EXPECT_EQ(s.DispersionRoughness, 10.0f);

  EXPECT_NEAR(s.VaporPressure, 0.13158f, 5e-6f);
  EXPECT_EQ(s.LiquidDensity, 1.0f);
  EXPECT_EQ(s.VaporDensity, s.AirDensity);  // no critical constants
  EXPECT_TRUE(s.IsLiquid);
}

TEST(MeteorologyPass, NightStackCase) {
  ModelState s = NightStackCase();
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message)) << message;
  EXPECT_EQ(message, "");

  EXPECT_EQ(s.SolarElevation, 0.0f);
  EXPECT_EQ(s.DayNightFlag, "N");
  EXPECT_EQ(s.SolarRadiation, 0.0f);
  EXPECT_EQ(s.SensibleHeatFlux, -32.0f);
  EXPECT_NEAR(s.AirDensity, 0.001292268f, 1e-9f);
  EXPECT_NEAR(s.AirViscosity, 0.0001716129f, 1e-10f);
  EXPECT_NEAR(s.FrictionVelocity, 0.1566156f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, 11.06297f, 1e-4f);
  EXPECT_NEAR(s.WindSpeed10m, 4.114882f, 1e-5f);
  EXPECT_NEAR(s.HorizontalStability, 5.687805f, 1e-5f);
  EXPECT_EQ(s.VerticalStability, s.HorizontalStability);
  EXPECT_EQ(s.StabilityText, "稳定");

  // Stack: 3 cm dispersion roughness, F = 8.358903, class F (k = 6).
  EXPECT_EQ(s.DispersionRoughness, 3.0f);
  EXPECT_EQ(s.SourceStrength, 1000.0f);
  EXPECT_NEAR(s.BuoyancyFlux, 8.358903f, 1e-5f);
  EXPECT_NEAR(s.PlumeRise, 30.52191f, 1e-4f);
  EXPECT_NEAR(s.FinalRiseDistance, 240.3750f, 1e-3f);
  EXPECT_NEAR(s.EffectivePlumeHeight, 60.52190f, 1e-4f);
  EXPECT_EQ(s.SourceSize, 1.0f);

  // A gas: no vapour pressure, vapour density of the air.
  EXPECT_EQ(s.VaporPressure, 0.0f);
  EXPECT_EQ(s.VaporDensity, s.AirDensity);
  EXPECT_FALSE(s.IsLiquid);
}

TEST(MeteorologyPass, LiquidWithVosslerSetReturnsEarly) {
  ModelState s = DayCase();
  s.VosslerIndex = 1;
  s.VaporPressure = 0.5f;
  s.VaporDensity = 7.0f;
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message));
  EXPECT_EQ(s.VaporPressure, 0.5f);
  EXPECT_EQ(s.VaporDensity, 7.0f);
  EXPECT_TRUE(s.IsLiquid);
}

TEST(MeteorologyPass, GasWithVosslerSetStillGetsVapourDensity) {
  // An instantaneous gas release of a substance that has a Vossler set: the
  // puff size divides by VaporDensity, so it must be set.
  ModelState s = DayCase();
  s.ReleaseMode = 1;
  s.IsLiquid = false;
  s.VosslerIndex = 1;
  s.VaporPressure = 0.5f;
  s.VaporDensity = 0.0f;
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message));
  EXPECT_EQ(s.VaporPressure, 0.0f);
  EXPECT_GT(s.VaporDensity, 0.0f);
  EXPECT_EQ(s.VaporDensity, s.AirDensity);
  EXPECT_FALSE(s.IsLiquid);
}

TEST(MeteorologyPass, NegativeVosslerIndexStillGetsVapourPressure) {
  // A negative index (from a settings file) means no set: CLEWELL or SHELL
  // run and need the vapour pressure.
  ModelState s = DayCase();
  s.VosslerIndex = -1;
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message));
  EXPECT_NEAR(s.VaporPressure, 0.13158f, 5e-6f);
  EXPECT_TRUE(s.IsLiquid);
}

TEST(MeteorologyPass, LiquidWithoutVapourPressureBecomesGas) {
  ModelState s = DayCase();
  s.VaporPressA = 0.0f;
  s.VaporPressure = 0.5f;
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message));
  EXPECT_EQ(s.VaporPressure, 0.0f);
  EXPECT_FALSE(s.IsLiquid);
  EXPECT_EQ(s.VaporDensity, s.AirDensity);
}

TEST(MeteorologyPass, RefusesWindHeightAtRoughness) {
  // Wind measured at 1 m over the "100 cm" roughness: ln 1 = 0.
  ModelState s = DayCase();
  s.WindHeight = 1.0f;
  s.Roughness = 100.0f;
  std::string message;
  EXPECT_FALSE(RunMeteorology(s, message));
  EXPECT_EQ(message, "测风高度必须高于地表粗糙度，不能计算风廓线，请检查测风高度和地表粗糙度。");
}

TEST(MeteorologyPass, RefusesStackAboveInversion) {
  ModelState s = NightStackCase();
  s.MixingHeight = 29.0f;  // below 50: the stability step lifts the lid
  std::string message;
  ASSERT_TRUE(RunMeteorology(s, message));
  EXPECT_EQ(s.MixingHeight, 10000.0f);

  ModelState t = NightStackCase();
  t.MixingHeight = 60.0f;
  t.StackHeight = 61.0f;
  EXPECT_FALSE(RunMeteorology(t, message));
  EXPECT_EQ(message, "排气筒高于逆温层，不能计算,地面浓度为0。");
  EXPECT_EQ(t.DispersionRoughness, 3.0f);
}

TEST(MeteorologyPass, RefusesUnreadableLocalDate) {
  ModelState s = DayCase();
  s.LocalDateText = "";
  std::string message;
  EXPECT_FALSE(RunMeteorology(s, message));
  EXPECT_EQ(message, "当地日期或时间无法识别，不能计算太阳高度角。");
}

TEST(MeteorologyPass, RefusesNonPositiveAirPressure) {
  ModelState s = DayCase();
  s.AirPressure = static_cast<float>(1013.25 - 9000.0 * 0.1148);
  std::string message;
  EXPECT_FALSE(RunMeteorology(s, message));
  EXPECT_EQ(message, "泄漏处地面高程过高，气压不为正，不能计算空气密度。");
}

}  // namespace
}  // namespace zelto
