// Source-strength stage: model choice, the fed-pool cap, source size and the
// evaporation time.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "source/Evaporation.h"
#include "source/SourceTerm.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto {
namespace {

using testing_util::AmmoniaDaySpill;
using testing_util::LiquidPool;

TEST(SourceStrength, PoolSideBeforeTheModelRuns) {
  ModelState s = LiquidPool();
  std::string message;
  ASSERT_TRUE(ComputeSourceStrength(s, message)) << message;
  EXPECT_EQ(s.SourceSize, 5.0f);
}

TEST(SourceStrength, ModelChoice) {
  std::string message;
  // Both properties given: SHELL.
  ModelState shell = LiquidPool();
  ModelState shellDirect = shell;
  shellDirect.SourceSize = 5;
  ASSERT_TRUE(EvaporateShell(shellDirect, message));
  ASSERT_TRUE(ComputeSourceStrength(shell, message));
  EXPECT_EQ(shell.EvapRate, shellDirect.EvapRate);

  // Interaction energy 0 with diameter 3.5: CLEWELL.
  ModelState clewell = LiquidPool();
  clewell.MolecularDiameter = 3.5f;
  clewell.InteractionEnergy = 0;
  ModelState clewellDirect = clewell;
  ASSERT_TRUE(EvaporateClewell(clewellDirect, message));
  ASSERT_TRUE(ComputeSourceStrength(clewell, message));
  EXPECT_EQ(clewell.EvapRate, clewellDirect.EvapRate);
  EXPECT_NE(clewell.EvapRate, shell.EvapRate);

  // Diameter 0: CLEWELL as well.
  ModelState noDiameter = LiquidPool();
  noDiameter.MolecularDiameter = 0;
  ASSERT_TRUE(ComputeSourceStrength(noDiameter, message));
  EXPECT_EQ(noDiameter.EvapRate, clewellDirect.EvapRate);

  // Any Vossler set wins, whatever the other two are; it leaves the pool
  // temperature in K.
  ModelState vossler = AmmoniaDaySpill();
  vossler.MolecularDiameter = 3.5f;
  vossler.InteractionEnergy = 0;
  ModelState vosslerDirect = vossler;
  ASSERT_TRUE(EvaporateVossler(vosslerDirect, message));
  ASSERT_TRUE(ComputeSourceStrength(vossler, message)) << message;
  EXPECT_EQ(vossler.EvapRate, vosslerDirect.EvapRate);
  EXPECT_EQ(vossler.PoolTemperature, vosslerDirect.PoolTemperature);
  EXPECT_GT(vossler.PoolTemperature, 200.0f);
}

TEST(SourceStrength, InstantLiquidDurationIsEvaporationTime) {
  ModelState s = LiquidPool();
  std::string message;
  ASSERT_TRUE(ComputeSourceStrength(s, message));
  EXPECT_EQ(s.SourceStrength, s.EvapRate);
  EXPECT_EQ(s.ReleaseDuration, static_cast<float>(1e5 / static_cast<double>(s.EvapRate)));
}

TEST(SourceStrength, FedPoolCappedAtReleaseRate) {
  // 30 min at 100 g/min: the pool could evaporate faster than it is fed.
  ModelState s = LiquidPool();
  s.ReleaseMode = 2;
  s.ReleaseRate = 100;
  s.ReleaseMass = 3000;
  std::string message;
  ASSERT_TRUE(ComputeSourceStrength(s, message));
  EXPECT_EQ(s.EvapRate, 100.0f);
  EXPECT_EQ(s.SourceStrength, 100.0f);
  EXPECT_EQ(s.ReleaseDuration, 30.0f);

  // No cap for an instantaneous release.
  ModelState instant = LiquidPool();
  instant.ReleaseRate = 100;
  ASSERT_TRUE(ComputeSourceStrength(instant, message));
  EXPECT_GT(instant.EvapRate, 100.0f);
}

TEST(SourceStrength, SlowPoolLastsExactly10000) {
  ModelState s = LiquidPool();
  s.ReleaseMass = 1e12f;
  std::string message;
  ASSERT_TRUE(ComputeSourceStrength(s, message));
  EXPECT_EQ(s.ReleaseDuration, 10000.0f);
}

TEST(SourceStrength, ZeroEvaporationRateRefusedBeforeDuration) {
  // No vapour pressure: CLEWELL gives 0 g/min.
  ModelState s = LiquidPool();
  s.InteractionEnergy = 0;
  s.VaporPressure = 0;
  s.ReleaseDuration = 12;
  std::string message;
  EXPECT_FALSE(ComputeSourceStrength(s, message));
  EXPECT_EQ(message, "源强计算：液池蒸发速率不是正值，无法计算蒸发持续时间。");
  EXPECT_EQ(s.ReleaseDuration, 12.0f);
}

TEST(SourceStrength, ModelRefusalPassesMessage) {
  ModelState s = LiquidPool();
  s.InteractionEnergy = -1;
  std::string message;
  EXPECT_FALSE(ComputeSourceStrength(s, message));
  EXPECT_EQ(message, "SHELL蒸发模型：分子相互作用能为负值，无法开平方。");
}

ModelState GasRelease(uint8_t mode) {
  ModelState s;
  InitConstants(s);
  s.IsLiquid = false;
  s.ReleaseMode = mode;
  s.ReleaseMass = 1000;
  s.ReleaseRate = 4000;
  s.ReleaseDuration = 0.25f;
  s.VaporDensity = 0.001f;
  s.SourceSize = 42;
  return s;
}

TEST(SourceStrength, GasReleases) {
  std::string message;
  ModelState cont = GasRelease(2);
  cont.ReleaseDuration = 30;
  ASSERT_TRUE(ComputeSourceStrength(cont, message));
  EXPECT_EQ(cont.SourceSize, 1.0f);
  EXPECT_EQ(cont.EvapRate, 4000.0f);
  EXPECT_EQ(cont.SourceStrength, 4000.0f);
  EXPECT_EQ(cont.ReleaseDuration, 30.0f);

  // 1000 g at 0.001 g/cm3: V = 1 m3 (0.001 held as a single), diameter
  // 2 (V/pi)^(1/3) = 1.366 m.
  ModelState puff = GasRelease(1);
  ASSERT_TRUE(ComputeSourceStrength(puff, message));
  const double v = 1000 / (1e6 * static_cast<double>(0.001f));
  EXPECT_EQ(puff.SourceSize, static_cast<float>(2 * std::pow(v / 3.1415927f, 1.0 / 3.0)));
  EXPECT_NEAR(puff.SourceSize, 1.366, 0.0005);
  EXPECT_EQ(puff.ReleaseDuration, 0.25f);

  ModelState stack = GasRelease(3);
  ASSERT_TRUE(ComputeSourceStrength(stack, message));
  EXPECT_EQ(stack.SourceSize, 42.0f);
  EXPECT_EQ(stack.SourceStrength, 4000.0f);
}

TEST(SourceStrength, InstantGasWithoutVapourDensityRefused) {
  ModelState s = GasRelease(1);
  s.VaporDensity = 0;
  std::string message;
  EXPECT_FALSE(ComputeSourceStrength(s, message));
  EXPECT_EQ(message, "源强计算：瞬时气体释放：蒸气密度不是正值，无法计算初始烟团尺寸。");
  EXPECT_EQ(s.SourceSize, 42.0f);
}

}  // namespace
}  // namespace zelto
