#include <gtest/gtest.h>

#include "core/ModelState.h"

namespace zelto {
namespace {

TEST(InitConstants, SetsConstantsAsSingles) {
  ModelState s;
  InitConstants(s);
  EXPECT_EQ(s.Pi, 3.1415927f);
  // DegToRad is Pi/180 evaluated in double and rounded once.
  EXPECT_EQ(s.DegToRad, static_cast<float>(3.1415927f / 180.0));
  EXPECT_EQ(s.AirGasConstant, 2870400.0f);
  EXPECT_EQ(s.StdAirViscosity, 1.82e-5f);
}

TEST(InitConstants, SpreadTablesAreOneBased) {
  ModelState s;
  InitConstants(s);
  EXPECT_EQ(s.SpreadCoef[0], 0.0f);
  EXPECT_EQ(s.SpreadCoef[1], 0.0414f);
  EXPECT_EQ(s.SpreadCoef[8], 0.0001928f);
  EXPECT_EQ(s.SpreadCoef[14], 0.999f);
  EXPECT_EQ(s.SpreadExp[7], 0.7884f);
  EXPECT_EQ(s.SpreadExp[14], 0.4052f);
}

TEST(ModelState, StartsEmpty) {
  ModelState s;
  EXPECT_EQ(s.Targets.ThresholdCount, 0);
  EXPECT_EQ(s.Targets.PointCount, 0);
  EXPECT_TRUE(s.Targets.Thresholds.empty());
  EXPECT_FALSE(s.IsLiquid);
}

}  // namespace
}  // namespace zelto
