// The small input rules on their own, including the cases the box checks
// refuse before a computation could reach them.
#include <gtest/gtest.h>

#include <cmath>

#include "core/ModelState.h"
#include "met/Meteorology.h"
#include "source/SourceTerm.h"
#include "ui/InputRules.h"

namespace zelto {
namespace {

TEST(WindDirectionRule, RoundsAndReduces) {
  EXPECT_EQ(ReduceWindDirection(-10), 350.0f);
  EXPECT_EQ(ReduceWindDirection(2.5), 2.0f);
  EXPECT_EQ(ReduceWindDirection(3.5), 4.0f);
  EXPECT_EQ(ReduceWindDirection(359.6), 0.0f);
  EXPECT_EQ(ReduceWindDirection(725), 5.0f);
  EXPECT_EQ(ReduceWindDirection(-360), 0.0f);
  EXPECT_EQ(ReduceWindDirection(-725), 355.0f);
  EXPECT_FALSE(std::signbit(ReduceWindDirection(-0.2)));
}

TEST(RoughnessRule, ConfinedByValue) {
  std::string t = "0.2";
  EXPECT_TRUE(ConfineRoughnessText(t));
  EXPECT_EQ(t, "0.5 cm");
  t = "-50";
  EXPECT_TRUE(ConfineRoughnessText(t));
  EXPECT_EQ(t, "0.5 cm");
  t = "150 cm";
  EXPECT_TRUE(ConfineRoughnessText(t));
  EXPECT_EQ(t, "100 cm");
  t = " 25 cm ";
  EXPECT_FALSE(ConfineRoughnessText(t));
  EXPECT_EQ(t, "25 cm");
}

class AmountRule : public ::testing::Test {
 protected:
  ModelState s;
};

TEST_F(AmountRule, InstantaneousMass) {
  s.ReleaseMode = 1;
  s.ReleaseDuration = 0.25f;
  s.LiquidDensity = 0.8f;
  ASSERT_TRUE(ConvertReleaseAmount(s, 10, false));
  EXPECT_EQ(s.ReleaseMass, 10000.0f);
  EXPECT_EQ(s.ReleaseRate, 40000.0f);
  ASSERT_TRUE(ConvertReleaseAmount(s, 2, true));  // 2 m3 of a 0.8 g/cm3 liquid
  EXPECT_EQ(s.ReleaseMass, 1600000.0f);
  EXPECT_EQ(s.ReleaseRate, 6400000.0f);
}

TEST_F(AmountRule, ContinuousRate) {
  s.ReleaseMode = 2;
  s.ReleaseDuration = 10;
  s.LiquidDensity = 0.8f;
  ASSERT_TRUE(ConvertReleaseAmount(s, 2, true));
  EXPECT_EQ(s.ReleaseRate, 1600000.0f);
  EXPECT_EQ(s.ReleaseMass, 16000000.0f);
}

TEST_F(AmountRule, StackIgnoresVolumeUnit) {
  s.ReleaseMode = 3;
  s.ReleaseDuration = 10;
  s.LiquidDensity = 0.8f;
  ASSERT_TRUE(ConvertReleaseAmount(s, 2, true));
  EXPECT_EQ(s.ReleaseRate, 2000.0f);
  EXPECT_EQ(s.ReleaseMass, 20000.0f);
}

TEST_F(AmountRule, OverflowRefusedAndNothingStored) {
  s.ReleaseMode = 2;
  s.ReleaseDuration = kSentinel;  // continuous
  s.ReleaseRate = 7;
  s.ReleaseMass = 8;
  EXPECT_FALSE(ConvertReleaseAmount(s, 3e34, false));  // 3e37 g/min * 1e4 min
  EXPECT_EQ(s.ReleaseRate, 7.0f);
  EXPECT_EQ(s.ReleaseMass, 8.0f);
}

class PoolRule : public ::testing::Test {
 protected:
  void SetUp() override {
    s.LiquidDensity = 1.0f;
    s.ReleaseDuration = 10;
  }
  ModelState s;
};

TEST_F(PoolRule, EstimateFromMass) {
  float area = 0;
  s.ReleaseMass = 10000;  // 10000 cm3 in a 1 cm layer: 1 m2
  ASSERT_TRUE(ResolvePoolArea(s, 0, area));
  EXPECT_EQ(area, 1.0f);
  s.ReleaseMass = 5000;  // 0.5 m2, floored at 1
  ASSERT_TRUE(ResolvePoolArea(s, 0, area));
  EXPECT_EQ(area, 1.0f);
  s.ReleaseMass = 123456;  // 12.3456 -> 12.35
  ASSERT_TRUE(ResolvePoolArea(s, -4, area));
  EXPECT_EQ(area, 12.35f);
}

TEST_F(PoolRule, EstimateFromTenMinutesOfLongRelease) {
  float area = 0;
  s.ReleaseDuration = 30;
  s.ReleaseRate = 4000;  // 40000 g -> 4 m2
  s.ReleaseMass = 1;
  ASSERT_TRUE(ResolvePoolArea(s, 0, area));
  EXPECT_EQ(area, 4.0f);
}

TEST_F(PoolRule, TypedAreaRoundedAndFloored) {
  float area = 0;
  ASSERT_TRUE(ResolvePoolArea(s, 2.125f, area));
  EXPECT_EQ(area, 2.12f);
  ASSERT_TRUE(ResolvePoolArea(s, 0.4f, area));
  EXPECT_EQ(area, 1.0f);
  ASSERT_TRUE(ResolvePoolArea(s, 2.375f, area));
  EXPECT_EQ(area, 2.38f);
}

TEST_F(PoolRule, ZeroDensityRefused) {
  float area = 5;
  s.LiquidDensity = 0;
  s.ReleaseMass = 100;
  EXPECT_FALSE(ResolvePoolArea(s, 0, area));
  EXPECT_TRUE(ResolvePoolArea(s, 3, area));  // a typed area needs no estimate
  EXPECT_EQ(area, 3.0f);
}

TEST(AveragingTimeRule, RaisedToOneMinute) {
  float t = 0.5f;
  EXPECT_TRUE(RaiseAveragingTime(t));
  EXPECT_EQ(t, 1.0f);
  t = 1;
  EXPECT_FALSE(RaiseAveragingTime(t));
  t = 7;
  EXPECT_FALSE(RaiseAveragingTime(t));
  EXPECT_EQ(t, 7.0f);
}

TEST(AveragingTimeRule, NotLongerThanRelease) {
  EXPECT_EQ(AveragingTimeRefusal(15, 10),
            "泄漏(或液体蒸发）总时长为10(min),浓度平均时间不可超过10(min)");
  EXPECT_EQ(AveragingTimeRefusal(15, 0.5f),
            "泄漏(或液体蒸发）总时长为0.5(min),浓度平均时间不可超过1(min)");
  EXPECT_EQ(AveragingTimeRefusal(1, 0.5f), "");  // only above 1 min is compared
  EXPECT_EQ(AveragingTimeRefusal(10, 10), "");
  EXPECT_EQ(AveragingTimeRefusal(15, kSentinel), "");
}

class PpmRule : public ::testing::Test {
 protected:
  void SetUp() override {
    InitConstants(s);
    s.AirTempK = static_cast<float>(20 + 273.16);
    s.AirPressure = static_cast<float>(1013.25 - 100 * 0.1148);
  }
  ModelState s;
};

TEST_F(PpmRule, Formula) {
  float f = 0;
  // 28.966 * 2870400 * 293.16 / (92.011 * 1001.77 * 1e6) = 0.26444045
  ASSERT_TRUE(ComputePpmFactor(s, 92.011f, f));
  EXPECT_EQ(f, 0.26444045f);
}

TEST_F(PpmRule, NitrogenTetroxideDoubled) {
  float f = 0;
  s.ChemicalName = "NITROGEN TETROXIDE";
  ASSERT_TRUE(ComputePpmFactor(s, 92.011f, f));
  EXPECT_EQ(f, 0.5288809f);
  s.ChemicalName = "Nitrogen Tetroxide";  // case matters
  ASSERT_TRUE(ComputePpmFactor(s, 92.011f, f));
  EXPECT_EQ(f, 0.26444045f);
  s.ChemicalName = "NITROGEN TETROXIDE ";
  ASSERT_TRUE(ComputePpmFactor(s, 92.011f, f));
  EXPECT_EQ(f, 0.26444045f);
}

TEST_F(PpmRule, ZeroPressureRefused) {
  float f = 3;
  s.AirPressure = 0;
  EXPECT_FALSE(ComputePpmFactor(s, 32, f));
  EXPECT_EQ(f, 3.0f);
}

TEST(BoxValue, SingleOrZero) {
  EXPECT_EQ(BoxSingle(" 12.5 kg"), 12.5f);
  EXPECT_EQ(BoxSingle("1e39"), 0.0f);
  EXPECT_EQ(BoxSingle("abc"), 0.0f);
  EXPECT_EQ(TextOfSingle(-0.0), "0");
  EXPECT_EQ(TextOfSingle(120.1), "120.1");
}

}  // namespace
}  // namespace zelto
