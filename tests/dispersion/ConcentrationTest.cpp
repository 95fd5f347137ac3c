// Concentration at a point: plume, puffs, reflections and cut-offs.
#include <gtest/gtest.h>

#include <cmath>

#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;
using testing_util::InstantaneousState;

float At(ModelState& s, float x, float y, float z, float t) {
  s.Targets.ReceptorX = x;
  s.Targets.ReceptorY = y;
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  ComputeConcentration(s);
  return s.Concentration;
}

// Expected values below were computed from the formulas with the spreads
// sigma-y = 0.13084 (x + 1.8947)^0.9 and sigma-z = 0.0975 x^0.8414 (class D),
// every stored intermediate rounded to single precision.

TEST(Concentration, SteadyPlumeOnTheAxis) {
  ModelState s = BaseState();
  // Q / 60 / (2 Pi 65.687 x 32.599 x 3) x (1 + exp(-0.5 (4 / 32.599)^2)) x 1000.
  const double expected = 1000.0 / 60.0 / (2 * 3.1415927 * 65.68715 * 32.59903 * 3.0) *
                          (1.0 + std::exp(-0.5 * std::pow(4.0 / 32.59903, 2))) * 1000.0;
  EXPECT_NEAR(At(s, 1000, 0, 2, 10000), expected, 1e-6 * expected);
  EXPECT_NEAR(s.Concentration, 0.8227367, 1e-6);
  EXPECT_EQ(s.SigmaX, s.SigmaY);
  EXPECT_NEAR(s.SigmaDistance, 1001.8947, 1e-3);
  EXPECT_NEAR(s.SigmaY, 65.68715, 1e-4);  // at X plus the virtual distance
  EXPECT_EQ(s.SigmaZ, static_cast<float>(0.0975f * std::pow(1000.0, static_cast<double>(0.8414f))));
}

TEST(Concentration, PlumeFrontNotArrivedIsExactlyZero) {
  ModelState s = BaseState();
  s.ReleaseDuration = 10.0f;  // 5 min after the start the front is 900 m out
  EXPECT_EQ(At(s, 1000, 0, 2, 5), 0.0f);  // 1000 - 65.7 > 900
  EXPECT_GT(At(s, 950, 0, 2, 5), 0.0f);   // 950 - 62.9 < 900
}

TEST(Concentration, SymmetricCrosswind) {
  ModelState s = BaseState();
  EXPECT_EQ(At(s, 700, 40, 2, 10000), At(s, 700, -40, 2, 10000));
  s.MixingHeight = 300.0f;
  s.ReleaseDuration = 10.0f;
  const float plus = At(s, 4000, 25, 2, 30);
  EXPECT_GT(plus, 0.0f);
  EXPECT_EQ(plus, At(s, 4000, -25, 2, 30));
  EXPECT_NEAR(plus, 0.09812124, 1e-8);
  s = InstantaneousState();
  EXPECT_EQ(At(s, 880, 30, 2, 5), At(s, 880, -30, 2, 5));
}

// The steady plume without a lid carries the whole emission: u times the
// integral of C over the crosswind plane (all y, z >= 0) is Q.
TEST(Concentration, SteadyPlumeFluxEqualsSourceStrength) {
  for (float height : {2.0f, 20.0f}) {
    ModelState s = BaseState();
    s.EffectivePlumeHeight = height;
    const float x = 1000.0f;
    const double dy = 5.0, dz = 2.0;
    double flux = 0.0;
    for (int iz = 0; iz <= 200; ++iz) {
      const double wz = (iz == 0 || iz == 200) ? 0.5 : 1.0;
      double row = 0.0;
      for (int iy = -100; iy <= 100; ++iy) {
        const double wy = (iy == -100 || iy == 100) ? 0.5 : 1.0;
        row += wy * At(s, x, static_cast<float>(iy * dy), static_cast<float>(iz * dz), 10000.0f);
      }
      flux += wz * row * dy * dz;
    }
    const double emitted = 1000.0 / 60.0 * 1000.0;  // mg/s
    EXPECT_NEAR(flux * 3.0, emitted, 0.01 * emitted) << height;
  }
}

TEST(Concentration, InstantaneousReleaseSumsFivePuffs) {
  ModelState s = InstantaneousState();
  // Ages 300, 297, 294, 291 and 288 s all lie inside the window (220 .. 380 s).
  const float c = At(s, 900, 0, 2, 5);
  EXPECT_NEAR(c, 11.094625, 2e-5);
  EXPECT_EQ(s.PuffMass, 2000.0f);
  EXPECT_EQ(s.PuffAge, 285.0f);  // one step past the fifth puff
  // Four puffs would give about 4/5 of it, six about 6/5.
  EXPECT_GT(c, 11.09 * 0.9);
  EXPECT_LT(c, 11.10 * 1.1);
}

TEST(Concentration, CloudLongGoneAndFarBeyond) {
  ModelState s = InstantaneousState();
  // One hour later the first index floor((3600 - 379.7) / 3) = 1073 exceeds the
  // 5 puffs: nothing is summed.
  EXPECT_EQ(At(s, 900, 0, 2, 60), 0.0f);
  // 3 km out after 5 min the age 300 s is below tmin (765 s): only the first
  // puff counts, about 2.1e-32 mg/m3.
  EXPECT_NEAR(At(s, 3000, 0, 2, 5), 2.147361e-32, 1e-37);
}

TEST(Concentration, SteadyStateUnderLidStartsAtOldestRelevantPuff) {
  ModelState s = BaseState();
  s.MixingHeight = 50.0f;  // 0.47 x 50 < sigma-z 32.6: puffs
  const float c = At(s, 1000, 0, 2, 10000);
  EXPECT_NEAR(c, 0.83811516, 2e-6);
  // 59 puffs from tmax = 420.9 s down to 245.8 s.
  EXPECT_NEAR(s.PuffAge, 420.91620f - 59 * 3, 1e-3);
}

TEST(Concentration, ReflectionsBetweenGroundAndLid) {
  ModelState s = BaseState();
  s.MixingHeight = 300.0f;
  s.ReleaseDuration = 10.0f;
  EXPECT_NEAR(At(s, 4000, 0, 2, 30), 0.09871058, 2e-8);
}

TEST(Concentration, WellMixedLayerAfter200Orders) {
  ModelState s = BaseState();
  s.HorizontalStability = 0.5f;
  s.VerticalStability = 0.5f;
  s.MixingHeight = 50.0f;  // sigma-z 13788 m: no order falls below 0.01
  const float c = At(s, 5000, 0, 2, 10000);
  EXPECT_NEAR(s.SigmaZ, 13787.954, 0.01);
  EXPECT_NEAR(c, 0.0433707, 2e-7);
}

TEST(Concentration, PuffContributionByHand) {
  ModelState s = BaseState();
  s.EffectivePlumeHeight = 0.0f;
  s.WindSpeed10m = 2.0f;
  s.Targets.ReceptorX = 100.0f;
  s.Targets.ReceptorY = 0.0f;
  s.ReceptorHeight = 0.0f;
  s.SigmaX = s.SigmaY = 10.0f;
  s.SigmaZ = 5.0f;
  s.PuffMass = 1.0f;
  s.PuffAge = 50.0f;  // centre on the receptor
  ComputePuffContribution(s);
  // A = 0.0634936 / 500; Gx = Gy = 1; G = 2 (direct and ground image).
  EXPECT_NEAR(s.PuffConcentration, 2.0 * 0.0634936 / 500.0, 1e-10);
  // Half a sigma-x away: Gx = exp(-0.125).
  s.PuffAge = 47.5f;
  ComputePuffContribution(s);
  EXPECT_NEAR(s.PuffConcentration, 2.0 * 0.0634936 / 500.0 * std::exp(-0.125), 1e-10);
}

TEST(Concentration, AmplitudeAndContributionCutOffs) {
  ModelState s = BaseState();
  s.EffectivePlumeHeight = 0.0f;
  s.WindSpeed10m = 2.0f;
  s.Targets.ReceptorX = 100.0f;
  s.ReceptorHeight = 0.0f;
  s.SigmaX = s.SigmaY = 10.0f;
  s.SigmaZ = 5.0f;
  s.PuffAge = 50.0f;
  // A = M x 1.27e-4: below 1e-30 for M = 5e-27 g, above for M = 1e-26 g.
  s.PuffMass = 5e-27f;
  ComputePuffContribution(s);
  EXPECT_EQ(s.PuffConcentration, 0.0f);
  s.PuffMass = 1e-26f;
  ComputePuffContribution(s);
  EXPECT_GT(s.PuffConcentration, 0.0f);
  // A = 1.27e-30 with Gy = exp(-8) = 3.4e-4: about 8.5e-34 > 1e-35 stays;
  // Gy = exp(-12.5) = 3.7e-6: about 9.4e-36 < 1e-35 becomes 0.
  s.Targets.ReceptorY = 40.0f;
  ComputePuffContribution(s);
  EXPECT_GT(s.PuffConcentration, 0.0f);
  s.Targets.ReceptorY = 50.0f;
  ComputePuffContribution(s);
  EXPECT_EQ(s.PuffConcentration, 0.0f);
}

TEST(Concentration, VerticalTermsAtMinus80AreDropped) {
  ModelState s = BaseState();
  s.WindSpeed10m = 2.0f;
  s.Targets.ReceptorX = 100.0f;
  s.ReceptorHeight = 0.0f;
  s.SigmaX = s.SigmaY = 10.0f;
  s.SigmaZ = 5.0f;
  s.PuffAge = 50.0f;
  s.PuffMass = 1e10f;
  // Release height 63 m: exponents -0.5 (63/5)^2 = -79.4, terms kept (about 3e-29).
  s.EffectivePlumeHeight = 63.0f;
  ComputePuffContribution(s);
  EXPECT_GT(s.PuffConcentration, 0.0f);
  // 63.3 m: -80.1, both terms dropped although exp() would still be 1.6e-35.
  s.EffectivePlumeHeight = 63.3f;
  ComputePuffContribution(s);
  EXPECT_EQ(s.PuffConcentration, 0.0f);
}

TEST(Concentration, PointOnOtherSideOfLidIsZeroWithoutEvaluation) {
  ModelState s = BaseState();
  s.EffectivePlumeHeight = 300.0f;
  s.MixingHeight = 200.0f;
  s.SigmaY = 123.0f;
  EXPECT_EQ(ConcentrationAtPoint(s, 500, 0, 2, 10), 0.0f);
  EXPECT_EQ(s.SigmaY, 123.0f);  // the model was not evaluated
  EXPECT_EQ(s.PredictionTime, 10.0f);
  EXPECT_EQ(s.ReceptorHeight, 2.0f);
  // At the lid itself with the release above: counts as above, evaluated.
  ConcentrationAtPoint(s, 500, 0, 200, 10);
  EXPECT_NE(s.SigmaY, 123.0f);
  // Receptor above the lid, release inside: zero.
  s.EffectivePlumeHeight = 2.0f;
  s.SigmaY = 123.0f;
  EXPECT_EQ(ConcentrationAtPoint(s, 500, 0, 250, 10), 0.0f);
  EXPECT_EQ(s.SigmaY, 123.0f);
}

TEST(Concentration, PointUpwindOrAtSourceIsEvaluatedAt1m) {
  ModelState s = BaseState();
  const float at1 = ConcentrationAtPoint(s, 1, 0, 2, 10000);
  EXPECT_EQ(ConcentrationAtPoint(s, 0, 0, 2, 10000), at1);
  EXPECT_EQ(s.Targets.ReceptorX, 1.0f);
  EXPECT_EQ(ConcentrationAtPoint(s, -20, 0, 2, 10000), at1);
}

// The cached evaluator of the searches gives exactly what a fresh evaluation
// gives, field for field, for the field of the inputs it was made for.
TEST(Concentration, EvaluatorMatchesFreshEvaluation) {
  ModelState s = BaseState();
  s.MixingHeight = 300.0f;
  s.ReleaseDuration = 10.0f;
  const float xs[] = {500, 4000, 500, 4000, 2500};
  const float ys[] = {0, 25, 0, 30, 0};
  const float ts[] = {30, 30, 30, 30, 5};
  for (int round = 0; round < 2; ++round) {
    if (round == 1) s.MixingHeight = 10000.0f;  // other inputs: another field
    ConcentrationEvaluator ev(TakeConcentrationField(s));
    for (int i = 0; i < 5; ++i) {
      ModelState fresh = s;
      fresh.Targets.ReceptorX = xs[i];
      fresh.Targets.ReceptorY = ys[i];
      fresh.PredictionTime = ts[i];
      ComputeConcentration(fresh);
      ev.At(xs[i], ys[i], s.ReceptorHeight, ts[i]);
      ev.trail().WriteTo(s);
      EXPECT_EQ(s.Concentration, fresh.Concentration) << round << " " << i;
      EXPECT_EQ(s.SigmaY, fresh.SigmaY);
      EXPECT_EQ(s.SigmaZ, fresh.SigmaZ);
      EXPECT_EQ(s.SigmaDistance, fresh.SigmaDistance);
      EXPECT_EQ(s.PuffAge, fresh.PuffAge);
      EXPECT_EQ(s.PuffMass, fresh.PuffMass);
      EXPECT_EQ(s.PuffConcentration, fresh.PuffConcentration) << round << " " << i;
      // The plain function of the snapshot gives the same number.
      EXPECT_EQ(PointConcentration(TakeConcentrationField(s), xs[i], ys[i], s.ReceptorHeight, ts[i]),
                fresh.Concentration);
    }
    EXPECT_EQ(ev.reuses(), 1);  // the repeated receptor of the round
  }
}

}  // namespace
}  // namespace zelto
