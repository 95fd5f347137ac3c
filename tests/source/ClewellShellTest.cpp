// CLEWELL and SHELL closed-form evaporation models.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "source/Evaporation.h"
#include "source/SourceTerm.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto {
namespace {

using testing_util::ClewellPool;
using testing_util::ShellPool;

// 0.08 u^0.75 A f M p / 0.67711085, kg/min -> g/min.
double ClewellByHand(double u, double area, double f, double m, double p) {
  return 0.08 * std::pow(u, 0.75) * area * f * (m * p / 0.67711085f) * 1000 / 60;
}

TEST(Clewell, TemperatureFactor) {
  std::string message;
  ModelState s = ClewellPool();
  ASSERT_TRUE(EvaporateClewell(s, message));
  // f = 1 + 0.0043 x 10^2 = 1.43 at 10 deg C
  EXPECT_FLOAT_EQ(s.EvapRate, static_cast<float>(ClewellByHand(2, 10, 1.43, 100, 0.1f)));
  EXPECT_FLOAT_EQ(s.EvapRate, 473.57361f);
  const float at10 = s.EvapRate;
  s.PoolTemperature = 0;  // f = 1
  ASSERT_TRUE(EvaporateClewell(s, message));
  EXPECT_FLOAT_EQ(s.EvapRate, 331.17038f);
  EXPECT_FLOAT_EQ(at10 / s.EvapRate, 1.43f);
  const float at0 = s.EvapRate;
  s.PoolTemperature = -5;  // below freezing: f = 1
  ASSERT_TRUE(EvaporateClewell(s, message));
  EXPECT_EQ(s.EvapRate, at0);
}

TEST(Clewell, ScalesWithAreaVapourPressureAndWind) {
  std::string message;
  ModelState base = ClewellPool();
  ASSERT_TRUE(EvaporateClewell(base, message));
  ModelState area = ClewellPool();
  area.PoolArea = 20;
  ASSERT_TRUE(EvaporateClewell(area, message));
  EXPECT_FLOAT_EQ(area.EvapRate, 2 * base.EvapRate);
  ModelState pressure = ClewellPool();
  pressure.VaporPressure = 0.2f;
  ASSERT_TRUE(EvaporateClewell(pressure, message));
  EXPECT_FLOAT_EQ(pressure.EvapRate, 2 * base.EvapRate);
  ModelState wind = ClewellPool();
  wind.WindSpeed10m = 4;
  ASSERT_TRUE(EvaporateClewell(wind, message));
  EXPECT_FLOAT_EQ(wind.EvapRate, static_cast<float>(std::pow(2.0, 0.75) * base.EvapRate));
}

TEST(Clewell, NegativeWindRefused) {
  ModelState s = ClewellPool();
  s.WindSpeed10m = -1;
  s.EvapRate = 7;
  std::string message;
  EXPECT_FALSE(EvaporateClewell(s, message));
  EXPECT_EQ(message, "CLEWELL蒸发模型：风速为负值。");
  EXPECT_EQ(s.EvapRate, 7.0f);
}

// The SHELL rate written out (g/min); turbulent tells which Sherwood form.
double ShellByHand(const ModelState& s, bool* turbulent) {
  const double ta = s.AirTempK, ma = 28.966f, m = s.MolecularWeight;
  const double ts = ta / std::sqrt(s.InteractionEnergy * 78.6);
  const double omega = 1.06036 / std::pow(ts, 0.1561) + 0.193 * std::exp(-0.47635 * ts) +
                       1.03587 * std::exp(-1.52996 * ts) + 1.76474 * std::exp(-3.89411 * ts);
  const double w = std::sqrt((m + ma) / (m * ma));
  const double sigma = (s.MolecularDiameter + 3.711) * 0.5;
  const double d = ta * ((2.17 - 0.5 * w) / 1000) * std::sqrt(ta) * w /
                   (sigma * omega * sigma * s.AirPressure / 1013);
  const double nu = s.AirKinematicViscosity;
  const double sc = nu / d;
  const double re = s.SourceSize * static_cast<double>(s.WindSpeed10m) * 10000 / nu;
  *turbulent = re > 320000;
  const double sh = *turbulent ? 0.037 * std::cbrt(sc) * (std::pow(re, 0.8) - 15200)
                               : 0.664 * std::cbrt(sc) * std::sqrt(re);
  return s.PoolArea * (d * sh / s.SourceSize / 10000) * s.VaporDensity * 60 * 1e6;
}

TEST(Shell, RateFromDiffusionAndBoundaryLayer) {
  ModelState s = ShellPool();
  std::string message;
  ASSERT_TRUE(EvaporateShell(s, message)) << message;
  bool turbulent = false;
  EXPECT_FLOAT_EQ(s.EvapRate, static_cast<float>(ShellByHand(s, &turbulent)));
  EXPECT_TRUE(turbulent);  // Re = 5 x 3 x 10000 / 0.15 = 1e6
  EXPECT_FLOAT_EQ(s.EvapRate, 1859.0842f);
}

TEST(Shell, IgnoresPoolTemperature) {
  ModelState a = ShellPool(), b = ShellPool();
  b.PoolTemperature = -30;
  std::string message;
  ASSERT_TRUE(EvaporateShell(a, message));
  ASSERT_TRUE(EvaporateShell(b, message));
  EXPECT_EQ(a.EvapRate, b.EvapRate);
}

TEST(Shell, TurbulentOnlyStrictlyAbove320000) {
  std::string message;
  bool turbulent = true;
  ModelState s = ShellPool();
  s.SourceSize = 16, s.WindSpeed10m = 2, s.AirKinematicViscosity = 1;  // Re = 320000
  ASSERT_TRUE(EvaporateShell(s, message));
  const double laminar = ShellByHand(s, &turbulent);
  EXPECT_FALSE(turbulent);
  EXPECT_FLOAT_EQ(s.EvapRate, static_cast<float>(laminar));

  ModelState t = s;
  t.AirKinematicViscosity = 0.99999f;  // Re just above 320000
  ASSERT_TRUE(EvaporateShell(t, message));
  const double turbulentRate = ShellByHand(t, &turbulent);
  EXPECT_TRUE(turbulent);
  EXPECT_FLOAT_EQ(t.EvapRate, static_cast<float>(turbulentRate));
  // The two forms differ at the switch, so the branch taken is visible.
  EXPECT_GT(std::fabs(turbulentRate / laminar - 1), 1e-4);
}

TEST(Shell, Refusals) {
  std::string message;
  ModelState s = ShellPool();
  s.InteractionEnergy = -440;
  EXPECT_FALSE(EvaporateShell(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：分子相互作用能为负值，无法开平方。");
  s = ShellPool();
  s.InteractionEnergy = 0;
  EXPECT_FALSE(EvaporateShell(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：分子相互作用能为零。");
  s = ShellPool();
  s.AirKinematicViscosity = 0;
  EXPECT_FALSE(EvaporateShell(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：空气运动粘度不是正值。");
  s = ShellPool();
  s.AirPressure = 0;
  EXPECT_FALSE(EvaporateShell(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：扩散系数的分母为零（检查分子有效直径和气压）。");
  s = ShellPool();
  s.AirTempK = 0;
  EXPECT_FALSE(EvaporateShell(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：气温（K）不是正值。");
}

}  // namespace
}  // namespace zelto
