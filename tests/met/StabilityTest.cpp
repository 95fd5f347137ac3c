// Stability parameters, the night rules, the mixing-height rule and the
// stability word. Expected values worked by hand from the fits.
#include <gtest/gtest.h>

#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

ModelState FromLength(float inverseL, float roughness) {
  ModelState s = mettest::BaseState();
  s.SigmaThetaFlag = 1;
  s.InverseMoninObukhovLength = inverseL;
  s.Roughness = roughness;
  return s;
}

ModelState FromSigma(float sigma, float height, float minutes, const char* flag, float u10) {
  ModelState s = mettest::BaseState();
  s.SigmaThetaFlag = 2;
  s.SigmaTheta = sigma;
  s.WindHeight = height;
  s.SigmaThetaTime = minutes;
  s.DayNightFlag = flag;
  s.WindSpeed10m = u10;
  return s;
}

void Stabilize(ModelState& s) {
  std::string message;
  ASSERT_TRUE(ComputeStability(s, message)) << message;
}

TEST(StabilityFromLength, NeutralLayer) {
  // 1/L = 1e-15: b practically 0, P = 3.5.
  ModelState s = FromLength(1e-15f, 3.0f);
  Stabilize(s);
  EXPECT_EQ(s.HorizontalStability, 3.5f);
  EXPECT_EQ(s.VerticalStability, 3.5f);
  EXPECT_EQ(s.StabilityText, "中性");
}

TEST(StabilityFromLength, StronglyStableNight) {
  // 1/L = 0.1, z0 = 3 cm: P = 3.5 + 2.167 + 0.48 x 0.477 = 5.90.
  ModelState s = FromLength(0.1f, 3.0f);
  Stabilize(s);
  EXPECT_NEAR(s.HorizontalStability, 5.90f, 0.005f);
  EXPECT_EQ(s.VerticalStability, s.HorizontalStability);
  EXPECT_EQ(s.StabilityText, "稳定");
}

TEST(StabilityFromLength, VeryUnstableRaisedToHalf) {
  // 1/L = -0.2, z0 = 100 cm (limited to 40): P = -1.6, raised to 0.5.
  ModelState s = FromLength(-0.2f, 100.0f);
  Stabilize(s);
  EXPECT_EQ(s.HorizontalStability, 0.5f);
  EXPECT_EQ(s.StabilityText, "不稳定");
}

TEST(StabilityFromLength, SmallInverseLengthUsesPowerLawSlope) {
  // |1/L| = 0.01 < 0.015: b = 43.63 x 0.01^1.08, with the sign of 1/L.
  ModelState stable = FromLength(0.01f, 3.0f);
  Stabilize(stable);
  EXPECT_NEAR(stable.HorizontalStability, 3.860717f, 1e-6f);
  ModelState unstable = FromLength(-0.01f, 3.0f);
  Stabilize(unstable);
  EXPECT_NEAR(unstable.HorizontalStability, 3.139283f, 1e-6f);
}

TEST(StabilityFromLength, RoughnessLimitedToPointOneAndForty) {
  ModelState low = FromLength(0.1f, 0.05f);
  ModelState atLow = FromLength(0.1f, 0.1f);
  Stabilize(low);
  Stabilize(atLow);
  EXPECT_EQ(low.HorizontalStability, atLow.HorizontalStability);
  ModelState high = FromLength(0.01f, 100.0f);
  ModelState atHigh = FromLength(0.01f, 40.0f);
  Stabilize(high);
  Stabilize(atHigh);
  EXPECT_EQ(high.HorizontalStability, atHigh.HorizontalStability);
}

TEST(StabilityFromSigma, LargeSigmaByDayAndNight) {
  // 30 deg at 10 m over 60 min: s = 30 >= 27.35 gives 0.5.
  ModelState day = FromSigma(30.0f, 10.0f, 60.0f, "Y", 3.0f);
  Stabilize(day);
  EXPECT_EQ(day.HorizontalStability, 0.5f);
  EXPECT_EQ(day.VerticalStability, 0.5f);
  // By night s > 22.5: vertical from 14.44 / u10.
  ModelState night = FromSigma(30.0f, 10.0f, 60.0f, "N", 3.0f);
  Stabilize(night);
  EXPECT_EQ(night.HorizontalStability, 0.5f);
  EXPECT_NEAR(night.VerticalStability, 4.813333f, 1e-6f);
}

TEST(StabilityFromSigma, DaytimeCappedAtNeutral) {
  // 5 deg: P = 6.46 - 1.705 + 0.1125 = 4.87, capped to 3.5 for both.
  ModelState s = FromSigma(5.0f, 10.0f, 60.0f, "Y", 3.0f);
  Stabilize(s);
  EXPECT_EQ(s.HorizontalStability, 3.5f);
  EXPECT_EQ(s.VerticalStability, 3.5f);
  // The same at night keeps 4.87 (s <= 12.5: vertical = horizontal).
  ModelState n = FromSigma(5.0f, 10.0f, 60.0f, "N", 3.0f);
  Stabilize(n);
  EXPECT_NEAR(n.HorizontalStability, 4.8675f, 1e-6f);
  EXPECT_EQ(n.VerticalStability, n.HorizontalStability);
}

TEST(StabilityFromSigma, NightModerateSigmaUses9Point600001) {
  // s = 15, u10 = 1.5: V = 6.4, capped to 5; u10 = 4: 2.4, raised to 3.5.
  ModelState a = FromSigma(15.0f, 10.0f, 60.0f, "N", 1.5f);
  Stabilize(a);
  EXPECT_EQ(a.VerticalStability, 5.0f);
  ModelState b = FromSigma(15.0f, 10.0f, 60.0f, "N", 4.0f);
  Stabilize(b);
  EXPECT_EQ(b.VerticalStability, 3.5f);
  // u10 = 2: 9.600001 / 2 = 4.8000005, stored 4.8000007 (not 4.8).
  ModelState c = FromSigma(15.0f, 10.0f, 60.0f, "N", 2.0f);
  Stabilize(c);
  EXPECT_EQ(c.VerticalStability, 4.8000007f);
  EXPECT_NE(c.VerticalStability, 4.8f);
  // u10 = 2.5: 9.600001 / 2.5 = 3.8400004 exactly, whose nearest single is
  // 3.84000039. The constant is a double: its single rounding 9.60000134
  // would give 3.84000053 and store 3.84000063 instead.
  ModelState d = FromSigma(15.0f, 10.0f, 60.0f, "N", 2.5f);
  Stabilize(d);
  EXPECT_EQ(d.VerticalStability, 3.8400004f);
  EXPECT_NE(d.VerticalStability, 3.8400006f);
}

TEST(StabilityFromSigma, NightRowEdges) {
  // s = 12.5 exactly: vertical = horizontal = 2.900625.
  ModelState a = FromSigma(12.5f, 10.0f, 60.0f, "N", 2.0f);
  Stabilize(a);
  EXPECT_NEAR(a.HorizontalStability, 2.900625f, 1e-6f);
  EXPECT_EQ(a.VerticalStability, a.HorizontalStability);
  // s = 17.5 exactly: the 9.600001 row.
  ModelState b = FromSigma(17.5f, 10.0f, 60.0f, "N", 2.0f);
  Stabilize(b);
  EXPECT_NEAR(b.VerticalStability, 4.8000007f, 1e-6f);
  // s = 22.5 exactly: 12 / u10; u10 = 3 gives exactly 4, "稳定".
  ModelState c = FromSigma(22.5f, 10.0f, 60.0f, "N", 3.0f);
  Stabilize(c);
  EXPECT_EQ(c.VerticalStability, 4.0f);
  EXPECT_EQ(c.StabilityText, "稳定");
}

TEST(StabilityFromSigma, ReducedToTenMetresAndSixtyMinutes) {
  // 20 deg at 5 m over 15 min: s = 20 x 2^0.2 x 4^0.2 = 22.974 > 22.5.
  ModelState s = FromSigma(20.0f, 5.0f, 15.0f, "N", 2.5f);
  Stabilize(s);
  EXPECT_NEAR(s.HorizontalStability, 1.0009915f, 1e-6f);
  EXPECT_NEAR(s.VerticalStability, 5.776f, 1e-6f);
}

TEST(StabilityFromSigma, RefusesZeroAveragingTime) {
  ModelState s = FromSigma(20.0f, 10.0f, 0.0f, "N", 2.5f);
  std::string message;
  EXPECT_FALSE(ComputeStability(s, message));
  EXPECT_EQ(message, "风向标准差时间必须大于0，不能计算大气稳定度。");
}

TEST(StabilityWord, ExactlyThreeIsNeutralAndExactlyFourStable) {
  // Daytime sigma-theta 12.068761 deg gives P = 2.99999999 -> 3.0f exactly.
  ModelState three = FromSigma(12.068760871887207f, 10.0f, 60.0f, "Y", 3.0f);
  Stabilize(three);
  ASSERT_EQ(three.VerticalStability, 3.0f);
  EXPECT_EQ(three.StabilityText, "中性");
  // One float step more sigma: P just below 3.
  ModelState below = FromSigma(mettest::NextFloat(12.068760871887207f, 1), 10.0f, 60.0f, "Y", 3.0f);
  Stabilize(below);
  ASSERT_LT(below.VerticalStability, 3.0f);
  EXPECT_EQ(below.StabilityText, "不稳定");
}

TEST(MixingHeight, ShallowLayerForcesStableAndRemovesLid) {
  ModelState a = FromLength(-0.2f, 3.0f);
  a.MixingHeight = 40.0f;
  Stabilize(a);
  EXPECT_EQ(a.HorizontalStability, 0.5f);
  EXPECT_EQ(a.VerticalStability, 6.0f);
  EXPECT_EQ(a.MixingHeight, 10000.0f);
  EXPECT_EQ(a.StabilityText, "稳定");

  ModelState b = FromSigma(30.0f, 10.0f, 60.0f, "Y", 3.0f);
  b.MixingHeight = 40.0f;
  Stabilize(b);
  EXPECT_EQ(b.VerticalStability, 6.0f);
  EXPECT_EQ(b.MixingHeight, 10000.0f);

  ModelState c = FromLength(-0.2f, 3.0f);
  c.MixingHeight = 50.0f;
  Stabilize(c);
  EXPECT_EQ(c.VerticalStability, 0.5f);
  EXPECT_EQ(c.MixingHeight, 50.0f);
}

}  // namespace
}  // namespace zelto
