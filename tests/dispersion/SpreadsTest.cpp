// Crosswind and vertical spreads and the virtual distance of the source.
#include <gtest/gtest.h>

#include <cmath>

#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;

// Table entry a x^b as the model evaluates it (float constants, double power).
float Entry(float a, float b, double x) {
  return static_cast<float>(static_cast<double>(a) * std::pow(x, static_cast<double>(b)));
}

void SpreadsAt(ModelState& s, float x) {
  s.SigmaDistance = x;
  s.Targets.ReceptorX = x;
  ComputeSpreads(s);
}

TEST(Spreads, NeutralAt1000m) {
  ModelState s = BaseState();
  SpreadsAt(s, 1000.0f);
  // Class 4 (3.5 rounds to 4): 0.479 - 0.1232 x 4 + 0.00904 x 16 = 0.13084.
  EXPECT_NEAR(s.SigmaY, 0.13084 * std::pow(1000.0, 0.9), 1e-3);
  EXPECT_NEAR(s.SigmaY, 65.58, 0.005);
  EXPECT_NEAR(s.SigmaZ, 32.60, 0.005);
  // 3.5 lies on the class-D centre: exactly the D near-range entry.
  EXPECT_EQ(s.SigmaZ, Entry(0.0975f, 0.8414f, 1000.0));
}

TEST(Spreads, VerticalStabilityInterpolation) {
  ModelState s = BaseState();
  const float d = Entry(0.0975f, 0.8414f, 1000.0);
  const float e = Entry(0.105f, 0.7692f, 1000.0);
  const float f = Entry(0.0617f, 0.7884f, 1000.0);

  s.VerticalStability = 4.0f;  // halfway between D and E
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaZ, 26.96, 0.005);
  EXPECT_NEAR(s.SigmaZ, 0.5 * (d + e), 1e-4);

  s.VerticalStability = 6.0f;  // exactly F
  SpreadsAt(s, 1000.0f);
  EXPECT_EQ(s.SigmaZ, f);

  s.VerticalStability = 5.0f;  // a third of the way from E to F
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaZ, e - (e - f) / 3.0, 1e-4);
}

TEST(Spreads, FarRangeEntryBeyondClassDistance) {
  ModelState s = BaseState();  // 3.5: the D entries, far range beyond 1100 m
  SpreadsAt(s, 1100.0f);
  EXPECT_EQ(s.SigmaZ, Entry(0.0975f, 0.8414f, 1100.0));
  SpreadsAt(s, 1200.0f);
  EXPECT_EQ(s.SigmaZ, Entry(0.6097f, 0.5808f, 1200.0));
}

TEST(Spreads, SigmaYClassNumber) {
  ModelState s = BaseState();
  const double x09 = std::pow(1000.0, 0.9);
  // 2.5 rounds to 2 (halves to even).
  s.HorizontalStability = 2.5f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, (0.479 - 0.2464 + 0.03616) * x09, 1e-3);
  // Averaging time 1 min: the class comes from the vertical parameter (5).
  s.HorizontalStability = 1.0f;
  s.VerticalStability = 5.0f;
  s.AveragingTime = 1.0f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, (0.479 - 0.616 + 0.226) * x09 * std::pow(0.1, 0.2), 1e-3);
  // Vertical parameter exactly 6 without sigma-theta and a longer average: class 4.
  s.VerticalStability = 6.0f;
  s.AveragingTime = 10.0f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, 0.13084 * x09, 1e-3);
  // With sigma-theta the horizontal parameter (1) stays.
  s.SigmaThetaFlag = 2;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, (0.479 - 0.1232 + 0.00904) * x09, 1e-3);
}

TEST(Spreads, RoughnessAndAveragingTimeCorrections) {
  ModelState s = BaseState();
  SpreadsAt(s, 1000.0f);
  const float sy = s.SigmaY, sz = s.SigmaZ;
  s.DispersionRoughness = 30.0f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, sy * std::pow(10.0, 0.2), 1e-3);
  EXPECT_NEAR(s.SigmaZ, sz * std::pow(10.0, 0.2), 1e-3);
  // With sigma-theta the vertical spread is relative to the site roughness.
  s.SigmaThetaFlag = 2;
  s.Roughness = 30.0f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaZ, sz, 1e-4);
  // Averaging time 15 min instead of 10.
  s = BaseState();
  s.AveragingTime = 15.0f;
  SpreadsAt(s, 1000.0f);
  EXPECT_NEAR(s.SigmaY, sy * std::pow(1.5, 0.2), 1e-3);
}

TEST(Spreads, VirtualDistanceGivesInitialSpread) {
  for (float size : {1.0f, 1.366f, 5.0f, 31.6f}) {
    ModelState s = BaseState();
    s.SourceSize = size;
    const ConcentrationField f = ConcentrationInputs(s);
    const int n = SigmaYClass(f);
    const float xv = VirtualDistance(f, n);
    EXPECT_NEAR(SigmaYAt(f, xv, n), size / 4.3, 1e-5 * size) << size;
  }
  // Sigma-y 0.13084 x^0.9 = 1 / 4.3 at x = (1 / (4.3 x 0.13084))^(1/0.9) = 1.8947 m.
  const ConcentrationField f = ConcentrationInputs(BaseState());
  EXPECT_NEAR(VirtualDistance(f, SigmaYClass(f)), 1.8947, 1e-3);
}

}  // namespace
}  // namespace zelto
