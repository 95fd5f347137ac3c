// Stack plume rise and the inversion check. Expected values worked by hand
// from the Briggs formulas (F stored as a float before use).
#include <gtest/gtest.h>

#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

// Flow 10 m3/s at 373.15 K into air at 293.15 K, 30 m stack, wind 3 m/s.
ModelState Stack(float stability) {
  ModelState s = mettest::BaseState();
  s.ReleaseMode = 3;
  s.AirTempK = 293.15f;
  s.StackGasTemperature = 373.15f;
  s.StackFlowRate = 10.0f;
  s.StackHeight = 30.0f;
  s.ReleaseRate = 5000.0f;
  s.MixingHeight = 10000.0f;
  s.HorizontalStability = stability;
  s.WindSpeed10m = 3.0f;
  s.SourceSize = 0.0f;
  return s;
}

void Rise(ModelState& s) {
  std::string message = "old";
  ASSERT_TRUE(ComputePlumeRise(s, message));
  EXPECT_EQ(message, "");
}

TEST(PlumeRise, WorkedNeutralExample) {
  // F = 6.688 m4/s3; k = 4: x* = 45.91 m, xf = 160.7 m, rise 29.70 m.
  ModelState s = Stack(3.5f);
  Rise(s);
  EXPECT_NEAR(s.BuoyancyFlux, 6.688f, 5e-4f);
  EXPECT_NEAR(s.FinalRiseDistance, 160.7f, 0.05f);
  EXPECT_NEAR(s.PlumeRise, 29.70f, 0.005f);
  EXPECT_NEAR(s.EffectivePlumeHeight, 59.70012f, 1e-4f);
  EXPECT_EQ(s.SourceStrength, 5000.0f);
  EXPECT_EQ(s.SourceSize, 1.0f);
}

TEST(PlumeRise, WorkedStableExample) {
  // Class F (k = 6): s = 0.00117 1/s2, rise 32.23 m, distance 181.5 m.
  ModelState s = Stack(5.5f);
  Rise(s);
  EXPECT_NEAR(s.PlumeRise, 32.23f, 0.005f);
  EXPECT_NEAR(s.FinalRiseDistance, 181.5f, 0.05f);
}

TEST(PlumeRise, ClassEdgesOfTheStabilityParameter) {
  // 4.0 gives k = 5 (0.02 K/m): rise 38.84232 m, distance 240.1643 m.
  ModelState e = Stack(4.0f);
  Rise(e);
  EXPECT_NEAR(e.PlumeRise, 38.84232f, 1e-4f);
  EXPECT_NEAR(e.FinalRiseDistance, 240.1643f, 1e-3f);
  // 5.0 (k = 6) and 6.0 (k = 7) use 0.035 K/m.
  ModelState f5 = Stack(5.0f);
  ModelState f6 = Stack(6.0f);
  Rise(f5);
  Rise(f6);
  EXPECT_NEAR(f5.PlumeRise, 32.23238f, 1e-4f);
  EXPECT_EQ(f6.PlumeRise, f5.PlumeRise);
  EXPECT_EQ(f6.FinalRiseDistance, f5.FinalRiseDistance);
  // Just below 4.0 stays neutral (k = 4).
  ModelState d = Stack(mettest::NextFloat(4.0f, -1));
  Rise(d);
  EXPECT_NEAR(d.PlumeRise, 29.70012f, 1e-4f);
}

TEST(PlumeRise, CalmStableFormulaAtOneMetrePerSecond) {
  // u = 1.0 exactly: 5 F^0.25 / s^0.375 = 101.0914 m; distance 2.07 u / s^0.5.
  ModelState s = Stack(5.5f);
  s.WindSpeed10m = 1.0f;
  Rise(s);
  EXPECT_NEAR(s.PlumeRise, 101.0914f, 1e-3f);
  EXPECT_NEAR(s.FinalRiseDistance, 60.51572f, 1e-4f);
}

TEST(PlumeRise, SwitchAtFiftyFive) {
  // F exactly 55 uses 34 F^0.4: x* = 168.8978, rise 142.8612 m.
  ModelState a = Stack(3.5f);
  a.StackFlowRate = 82.2394027709961f;
  Rise(a);
  ASSERT_EQ(a.BuoyancyFlux, 55.0f);
  EXPECT_NEAR(a.FinalRiseDistance, 591.1423f, 1e-3f);
  EXPECT_NEAR(a.PlumeRise, 142.8612f, 1e-3f);
  // F = 54.9 uses 14 F^0.625: x* = 171.1436, rise 144.0374 m.
  ModelState b = Stack(3.5f);
  b.StackFlowRate = 82.08987426757812f;
  Rise(b);
  EXPECT_NEAR(b.BuoyancyFlux, 54.9f, 1e-5f);
  EXPECT_NEAR(b.FinalRiseDistance, 599.0027f, 1e-3f);
  EXPECT_NEAR(b.PlumeRise, 144.0374f, 1e-3f);
}

TEST(PlumeRise, ColdGasHasNoRise) {
  ModelState s = Stack(3.5f);
  s.StackGasTemperature = 273.15f;
  s.PlumeRise = 9.0f;
  s.FinalRiseDistance = 9.0f;
  Rise(s);
  EXPECT_EQ(s.StackGasTemperature, 293.15f);
  EXPECT_EQ(s.BuoyancyFlux, 0.0f);
  EXPECT_EQ(s.PlumeRise, 0.0f);
  EXPECT_EQ(s.FinalRiseDistance, 0.0f);
  EXPECT_EQ(s.EffectivePlumeHeight, 30.0f);
}

TEST(PlumeRise, StackAtMixingHeightAcceptedAndCapped) {
  ModelState s = Stack(3.5f);
  s.MixingHeight = 30.0f;
  Rise(s);
  EXPECT_NEAR(s.PlumeRise, 29.70f, 0.005f);
  EXPECT_EQ(s.EffectivePlumeHeight, 30.0f);
}

TEST(PlumeRise, StackAboveInversionRefused) {
  ModelState s = Stack(3.5f);
  s.MixingHeight = 29.5f;
  s.PlumeRise = 9.0f;
  s.EffectivePlumeHeight = 2.0f;
  std::string message;
  EXPECT_FALSE(ComputePlumeRise(s, message));
  EXPECT_EQ(message, "排气筒高于逆温层，不能计算,地面浓度为0。");
  EXPECT_EQ(s.SourceStrength, 5000.0f);
  EXPECT_EQ(s.PlumeRise, 9.0f);
  EXPECT_EQ(s.EffectivePlumeHeight, 2.0f);
  EXPECT_EQ(s.StackGasTemperature, 373.15f);
  EXPECT_EQ(s.SourceSize, 0.0f);
}

TEST(PlumeRise, RefusesNonPositiveWind) {
  ModelState s = Stack(3.5f);
  s.WindSpeed10m = 0.0f;
  std::string message;
  EXPECT_FALSE(ComputePlumeRise(s, message));
  EXPECT_EQ(message, "10m高处风速不为正，不能计算烟气抬升高度。");
}

}  // namespace
}  // namespace zelto
