// Surface factors, heat flux, friction velocity and 10 m wind. Expected values
// were worked by hand from the energy-balance and profile formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

// ---- Surface factors ----

TEST(SurfaceFactors, CloudTypeFactorByType) {
  ModelState s = mettest::BaseState();
  s.CloudType = 1;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.CloudTypeFactor, 0.61f);
  s.CloudType = 2;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.CloudTypeFactor, 0.26f);
  s.CloudType = 3;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.CloudTypeFactor, 0.17f);
  s.CloudType = 0;  // unknown: unchanged
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.CloudTypeFactor, 0.17f);
}

TEST(SurfaceFactors, GroundMoistureAndSnowRule) {
  ModelState s = mettest::BaseState();
  s.GroundMoisture = 3;
  s.AirTempC = 19.9f;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.Albedo, 0.75f);
  EXPECT_EQ(s.MoistureFactor, 1.0f);
  EXPECT_EQ(s.NetRadiationFactor, 0.0f);

  s.AirTempC = 20.0f;  // snow at 20 deg C counts as wet ground
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.Albedo, 0.23f);
  EXPECT_EQ(s.MoistureFactor, 1.0f);
  EXPECT_EQ(s.NetRadiationFactor, 0.12f);

  s.GroundMoisture = 1;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.Albedo, 0.23f);
  EXPECT_EQ(s.MoistureFactor, 0.45f);
  EXPECT_EQ(s.NetRadiationFactor, 0.25f);

  s.GroundMoisture = 2;
  ComputeSurfaceFactors(s);
  EXPECT_EQ(s.Albedo, 0.23f);
  EXPECT_EQ(s.MoistureFactor, 1.0f);
  EXPECT_EQ(s.NetRadiationFactor, 0.12f);
}

// ---- Heat flux ----

ModelState DayFlux(float elevation, int cover, int cloudType, int moisture, float airTempC,
                   float airTempK) {
  ModelState s = mettest::BaseState();
  s.DayNightFlag = "Y";
  s.SolarElevation = elevation;
  s.CloudCover = static_cast<uint8_t>(cover);
  s.CloudType = static_cast<uint8_t>(cloudType);
  s.GroundMoisture = static_cast<uint8_t>(moisture);
  s.AirTempC = airTempC;
  s.AirTempK = airTempK;
  ComputeSurfaceFactors(s);
  return s;
}

TEST(HeatFlux, WorkedDayExampleDryGround) {
  // 30 deg, clear, 293.15 K, dry: K0 = K = 465, Q = 221.05, r = 0.38937,
  // G = 22.105, H = 125.51 W/m2.
  ModelState s = DayFlux(30.0f, 0, 1, 1, 20.0f, 293.15f);
  std::string message;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_NEAR(s.SolarRadiation, 465.0f, 0.005f);
  EXPECT_NEAR(s.SensibleHeatFlux, 125.51f, 0.005f);
}

TEST(HeatFlux, PartialCloudWetGround) {
  // 45 deg, 5/10 middle cloud, wet, 293.16 K: K = 623.0649, H = 76.34228.
  ModelState s = DayFlux(45.0f, 5, 2, 2, 20.0f, 293.16f);
  std::string message;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_NEAR(s.SolarRadiation, 623.0649f, 2e-3f);
  EXPECT_NEAR(s.SensibleHeatFlux, 76.34228f, 2e-4f);
}

TEST(HeatFlux, ClearSkyRadiationIsNotRoundedBeforeTheCloudReduction) {
  // 30 deg with DegToRad in single precision: K0 = 990 sin(30 deg) - 30 =
  // 464.9999965 (a working value, not stored). 7/10 high cloud: 0.7^3.4 =
  // 0.2973948, 1 - 0.2973948 x (1 - 0.61f) = 0.8840160, K = 411.067456,
  // stored 411.06744. Rounding K0 to single first (465) would store 411.06747.
  ModelState s = DayFlux(30.0f, 7, 1, 2, 20.0f, 293.16f);
  std::string message;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_EQ(s.SolarRadiation, 411.06744f);
  EXPECT_NE(s.SolarRadiation, 411.06747f);
}

TEST(HeatFlux, NightCoolingByCloudCover) {
  ModelState s = mettest::BaseState();
  s.DayNightFlag = "N";
  std::string message;
  s.CloudCover = 10;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_EQ(s.SensibleHeatFlux, 0.0f);
  EXPECT_FALSE(std::signbit(s.SensibleHeatFlux));
  EXPECT_EQ(s.SolarRadiation, 0.0f);
  s.CloudCover = 0;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_EQ(s.SensibleHeatFlux, -40.0f);
  s.CloudCover = 5;
  ASSERT_TRUE(ComputeHeatFlux(s, message));
  EXPECT_EQ(s.SensibleHeatFlux, -20.0f);
}

TEST(HeatFlux, NegativeDaytimeFluxClampedExceptSnowAboveFreezing) {
  std::string message;
  // Low sun under full low cloud at 5 deg C. Dry ground: H = -23.79, clamped.
  ModelState dry = DayFlux(5.0f, 10, 3, 1, 5.0f, 278.16f);
  ASSERT_TRUE(ComputeHeatFlux(dry, message));
  EXPECT_EQ(dry.SensibleHeatFlux, 0.0f);
  EXPECT_NEAR(dry.SolarRadiation, 9.568312f, 1e-5f);

  // Snow (albedo 0.75, no ground flux) at 5 deg C: stays negative, -36.35212.
  ModelState snow = DayFlux(5.0f, 10, 3, 3, 5.0f, 278.16f);
  ASSERT_EQ(snow.Albedo, 0.75f);
  ASSERT_TRUE(ComputeHeatFlux(snow, message));
  EXPECT_NEAR(snow.SensibleHeatFlux, -36.35212f, 1e-4f);

  // Snow below freezing: clamped.
  ModelState frozen = DayFlux(5.0f, 10, 3, 3, -5.0f, 268.16f);
  ASSERT_TRUE(ComputeHeatFlux(frozen, message));
  EXPECT_EQ(frozen.SensibleHeatFlux, 0.0f);
}

// ---- Friction velocity ----

ModelState WindState(float speed, float height, float roughness, float flux) {
  ModelState s = mettest::BaseState();
  s.WindSpeed = speed;
  s.WindHeight = height;
  s.Roughness = roughness;
  s.SensibleHeatFlux = flux;
  s.AirPressure = 1013.25f;
  return s;
}

TEST(FrictionVelocity, NeutralLogProfile) {
  // u* = 0.4 x 3 / ln(1000 / 3) = 0.20657 m/s; 1/L replaced by 1e-15.
  ModelState s = WindState(3.0f, 10.0f, 3.0f, 0.0f);
  std::string message;
  int steps = -1;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_NEAR(s.FrictionVelocity, 0.20657f, 5e-6f);
  EXPECT_EQ(s.InverseMoninObukhovLength, 1e-15f);
  EXPECT_NEAR(s.MoninObukhovLength, 1e15f, 1e9f);
  EXPECT_EQ(steps, 0);
}

TEST(FrictionVelocity, FluxBetweenMinusOneAndOneKeepsNeutralValue) {
  // H = -1: neutral u* = 0.4 x 3 / ln(500 / 3) = 0.2345584; L from it.
  ModelState s = WindState(3.0f, 5.0f, 3.0f, -1.0f);
  std::string message;
  int steps = -1;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_NEAR(s.FrictionVelocity, 0.2345584f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, 1167.486f, 2e-3f);
  EXPECT_EQ(steps, 0);
}

TEST(FrictionVelocity, StableNightSearchCapsZeta) {
  // H = -40, 3 m/s at 10 m over 3 cm: L = 3.14 m, so zm / L is capped at 1.
  ModelState s = WindState(3.0f, 10.0f, 3.0f, -40.0f);
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_NEAR(s.FrictionVelocity, 0.1102779f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, 3.139874f, 1e-5f);
  EXPECT_NEAR(s.InverseMoninObukhovLength, 0.3184841f, 1e-6f);
  EXPECT_EQ(steps, 95);
}

TEST(FrictionVelocity, UnstableDaySearch) {
  // The worked daytime flux over 3 cm, 3 m/s at 10 m.
  ModelState s = WindState(3.0f, 10.0f, 3.0f, 125.51015f);
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_NEAR(s.FrictionVelocity, 0.2509000f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, -11.54940f, 1e-4f);
  EXPECT_NEAR(s.RoughnessProfileTerm, 1.0096016f, 1e-6f);
  EXPECT_EQ(steps, 36);
}

TEST(FrictionVelocity, FluxOfExactlyPlusOne) {
  // H = +1: the neutral u* is the first trial (ratio 0), then the unstable
  // branch runs; the 10 m wind treats H = 1 as neutral.
  ModelState s = WindState(3.0f, 5.0f, 3.0f, 1.0f);
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_EQ(steps, 2);
  EXPECT_NEAR(s.FrictionVelocity, 0.2354148f, 1e-6f);
  EXPECT_NEAR(s.MoninObukhovLength, -1182.482f, 2e-3f);
  EXPECT_NEAR(s.RoughnessProfileTerm, 1.0000951f, 1e-7f);
  ASSERT_TRUE(ComputeWind10m(s, message));
  // Neutral: ln(1000 / 3) x u* / 0.4.
  EXPECT_NEAR(s.WindSpeed10m, 3.418895f, 1e-5f);
}

TEST(FrictionVelocity, LightWindStrongFluxReachesStepBound) {
  // 0.5 m/s at 10 m over 0.5 cm with H = 300: the trial steps back and forth
  // without meeting the tolerance; the mean of trial and computed value ends
  // it at the bound.
  ModelState s = WindState(0.5f, 10.0f, 0.5f, 300.0f);
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_EQ(steps, kFrictionVelocityMaxSteps);
  EXPECT_TRUE(std::isfinite(s.FrictionVelocity));
  EXPECT_NEAR(s.FrictionVelocity, 0.06218401f, 1e-6f);
}

TEST(FrictionVelocity, StrongWindLowOverRoughGroundReachesItsSolution) {
  // 13.7 m/s at 1.5 m over 100 cm, H = 167.04865 W/m2 (the built-in site at
  // 12:30 on 2017/01/12, clear sky, 20 deg C, dry ground), 1001.77 mb. The
  // trial climbs from 1.71 m/s in 0.001 m/s steps, far beyond 10 000 trials,
  // and settles at 13.039/13.040 m/s, where x0 rounded to single precision
  // makes the computed u* jump between 14.167 and 12.915 m/s: the bound ends
  // it with the mean 13.60324 m/s (an independent step-by-step evaluation of
  // the profile formulas gives the same), the 10 m wind about 77.7 m/s.
  ModelState s = WindState(13.7f, 1.5f, 100.0f, 167.04865f);
  s.AirPressure = 1001.77f;
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_EQ(steps, kFrictionVelocityMaxSteps);
  EXPECT_NEAR(s.FrictionVelocity, 13.603245f, 2e-5f);
  ASSERT_TRUE(ComputeWind10m(s, message));
  EXPECT_NEAR(s.WindSpeed10m, 77.67, 0.01);
}

TEST(FrictionVelocity, LightWindOverRoughGroundEndsAtTheBound) {
  // 0.5 m/s at 10 m over 25 cm under strong morning heating (H = 160): the
  // trial steps back and forth around 0.119 m/s; the mean at the bound.
  ModelState s = WindState(0.5f, 10.0f, 25.0f, 160.0f);
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_EQ(steps, kFrictionVelocityMaxSteps);
  EXPECT_NEAR(s.FrictionVelocity, 0.11920923f, 1e-6f);
}

TEST(FrictionVelocity, RefusesWindHeightNotAboveRoughness) {
  // 1 m over 100 cm: ln(1) = 0.
  ModelState s = WindState(3.0f, 1.0f, 100.0f, 0.0f);
  s.FrictionVelocity = 7.0f;
  std::string message;
  EXPECT_FALSE(ComputeFrictionVelocity(s, message));
  EXPECT_EQ(message, "测风高度必须高于地表粗糙度，不能计算风廓线，请检查测风高度和地表粗糙度。");
  EXPECT_EQ(s.FrictionVelocity, 7.0f);

  ModelState ok = WindState(3.0f, 1.0f, 99.0f, 0.0f);
  EXPECT_TRUE(ComputeFrictionVelocity(ok, message));
  EXPECT_NEAR(ok.FrictionVelocity, 0.4 * 3.0 / std::log(100.0 / 99.0), 1e-3);
}

TEST(FrictionVelocity, RefusesNonPositiveInputs) {
  std::string message;
  ModelState rough = WindState(3.0f, 10.0f, -50.0f, 0.0f);
  EXPECT_FALSE(ComputeFrictionVelocity(rough, message));
  EXPECT_EQ(message, "地表粗糙度必须大于0，不能计算风廓线。");

  ModelState calm = WindState(0.0f, 10.0f, 3.0f, 0.0f);
  EXPECT_FALSE(ComputeFrictionVelocity(calm, message));
  EXPECT_EQ(message, "环境风速必须大于0，不能计算摩擦速度。");

  ModelState vacuum = WindState(3.0f, 10.0f, 3.0f, -40.0f);
  vacuum.AirPressure = 0.0f;
  EXPECT_FALSE(ComputeFrictionVelocity(vacuum, message));
  EXPECT_EQ(message, "泄漏处地面高程过高，气压不为正，不能计算莫宁-奥布霍夫长度。");
}

TEST(FrictionVelocity, RefusesWhenRoughnessTermRoundsToOne) {
  // 20 m/s over 0.5 cm with H = 1.2: L is so long that x0 rounds to 1 as a
  // float and ln((x - 1) / (x0 - 1)) divides by zero.
  ModelState s = WindState(20.0f, 10.0f, 0.5f, 1.2f);
  std::string message;
  EXPECT_FALSE(ComputeFrictionVelocity(s, message));
  EXPECT_EQ(message,
            "摩擦速度和莫宁-奥布霍夫长度计算出错，请检查环境风速、测风高度和地表粗糙度。");
  EXPECT_TRUE(std::isfinite(s.FrictionVelocity));
  EXPECT_TRUE(std::isfinite(s.MoninObukhovLength));
}

// ---- 10 m wind ----

TEST(Wind10m, MeasuredAtTenMetresIsTakenAsIs) {
  std::string message;
  for (float flux : {-40.0f, 0.0f, 125.51015f}) {
    ModelState s = WindState(3.0f, 10.0f, 3.0f, flux);
    ASSERT_TRUE(ComputeFrictionVelocity(s, message));
    ASSERT_TRUE(ComputeWind10m(s, message));
    EXPECT_EQ(s.WindSpeed10m, 3.0f);
  }
}

TEST(Wind10m, StableWithShortLengthCapsZeta) {
  // H = -40, 2 m/s at 2 m over 3 cm: L = 1.464 m < 10, zeta = 1.
  ModelState s = WindState(2.0f, 2.0f, 3.0f, -40.0f);
  std::string message;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message));
  EXPECT_NEAR(s.MoninObukhovLength, 1.464350f, 1e-5f);
  ASSERT_TRUE(ComputeWind10m(s, message));
  EXPECT_NEAR(s.WindSpeed10m, 2.361730f, 1e-5f);
}

TEST(Wind10m, StableWithLongerLength) {
  // H = -32: L = 11.06 m > 10, zeta = 10 / L.
  ModelState s = WindState(2.0f, 2.0f, 3.0f, -32.0f);
  std::string message;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message));
  EXPECT_NEAR(s.MoninObukhovLength, 11.06297f, 1e-4f);
  ASSERT_TRUE(ComputeWind10m(s, message));
  EXPECT_NEAR(s.WindSpeed10m, 4.114882f, 1e-5f);
}

TEST(Wind10m, UnstableProfile) {
  // 3 m/s at 5 m over 10 cm, H = 96.64833, 1001.77 mb.
  ModelState s = WindState(3.0f, 5.0f, 10.0f, 96.64833f);
  s.AirPressure = 1001.77f;
  std::string message;
  int steps = 0;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message, &steps));
  EXPECT_EQ(steps, 15);
  EXPECT_NEAR(s.FrictionVelocity, 0.3351346f, 1e-6f);
  ASSERT_TRUE(ComputeWind10m(s, message));
  EXPECT_NEAR(s.WindSpeed10m, 3.397934f, 1e-5f);
}

TEST(Wind10m, RefusesNonPositiveResult) {
  // Neutral over 1000 cm: ln(1000 / 1000) = 0 gives no wind at 10 m.
  ModelState s = WindState(3.0f, 20.0f, 1000.0f, 0.0f);
  std::string message;
  ASSERT_TRUE(ComputeFrictionVelocity(s, message));
  s.WindSpeed10m = 5.0f;
  EXPECT_FALSE(ComputeWind10m(s, message));
  EXPECT_EQ(message, "10m高处风速计算出错，请检查地表粗糙度和环境风速。");
  EXPECT_EQ(s.WindSpeed10m, 5.0f);
}

}  // namespace
}  // namespace zelto
