// Applicability notes: each condition just below and just above its limit,
// the dense-gas criterion for a hand-worked chlorine case and the worked
// example of the Britter-McQuaid plume correlations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "notes/Applicability.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto {
namespace {

std::vector<std::string> Ids(const ModelState& s) {
  std::vector<std::string> ids;
  for (const auto& n : EvaluateApplicability(s).Notes) ids.push_back(n.Id);
  return ids;
}

bool Has(const ModelState& s, const std::string& id) {
  for (const auto& n : EvaluateApplicability(s).Notes) {
    if (n.Id == id) return true;
  }
  return false;
}

// The steady neutral plume of the builder with thresholds and isopleths
// whose downwind ends are given (0 = not reached).
ModelState WithIsopleths(std::vector<float> thresholds, std::vector<float> farEnds) {
  ModelState s = testing_util::BaseState();
  const int n = static_cast<int>(thresholds.size());
  s.Targets.ThresholdCount = static_cast<int16_t>(n);
  s.Targets.Thresholds.assign(n + 1, 0.0f);
  s.ContourPointCount.assign(n + 1, 0);
  s.ContourX.assign(n + 1, {});
  for (int j = 1; j <= n; ++j) {
    s.Targets.Thresholds[j] = thresholds[j - 1];
    if (farEnds[j - 1] > 0) {
      s.ContourPointCount[j] = 2;
      s.ContourX[j] = {0.0f, 30.0f, farEnds[j - 1]};
    }
  }
  s.HazardDistance = farEnds[0];
  return s;
}

// Chlorine typed as the temporary substance, released as a gas at 10 kg/min
// for 30 min at 30 deg C on ground 5 m above sea level in a 3 m/s wind (the
// first example's release).
ModelState ChlorineLeak() {
  ModelState s = WithIsopleths({3, 30, 90}, {2430, 640, 330});
  s.MolecularWeight = 70.9f;
  s.AirTempC = 30;
  s.AirTempK = 303.16f;
  s.AirPressure = 1012.676f;                       // 1013.25 - 0.1148 x 5 mb
  s.AirDensity = 0.34838f * 1012.676f / 303.16f * 0.001f;  // g/cm3, as the meteorology has it
  s.ReleaseMode = release::ShortOrContinuous;
  s.ReleaseRate = 10000;
  s.SourceStrength = 10000;
  s.ReleaseDuration = 30;
  return s;
}

TEST(Applicability, PassiveNeutralPlumeHasNoNote) {
  EXPECT_TRUE(Ids(WithIsopleths({1}, {500})).empty());
}

// By hand: rho0 = M P / (R T) = 0.0709 x 101267.6 / (8.31446 x 303.16)
// = 2.8485 kg/m3; rhoa = 0.34838 x 1012.676 / 303.16 = 1.16373 kg/m3;
// g0' = 9.81 x (2.8485 - 1.16373) / 1.16373 = 14.202 m/s2;
// q0 = (10 kg/min / 60) / 2.8485 = 0.058511 m3/s; D = (q0/u)^(1/2)
// = (0.058511/3)^(1/2) = 0.13966 m; g0' q0 / (u^3 D) = 0.83098 / 3.7707
// = 0.22038; criterion = 0.22038^(1/3) = 0.6040 >= 0.15: dense.
TEST(Applicability, ChlorineLeakIsDenseByHand) {
  const ModelState s = ChlorineLeak();
  EXPECT_NEAR(PureVapourDensity(s), 2.8485, 0.0005);
  const Applicability a = EvaluateApplicability(s);
  ASSERT_FALSE(a.Notes.empty());
  const ApplicabilityNote& n = a.Notes[0];
  EXPECT_EQ(n.Id, "dense-gas");
  ASSERT_GE(n.Values.size(), 2u);
  EXPECT_EQ(n.Values[0].Name, "Criterion");
  EXPECT_NEAR(n.Values[0].Value, 0.6040, 0.0005);
  EXPECT_EQ(n.Values[1].Value, 0.15);
  // The estimate: alpha = 0.2 log10(g0'^2 q0 / u^5) = 0.2 log10(201.70 x
  // 0.058511 / 243) = -0.2627; the lowest plume curve (Cm/C0 = 0.002) on its
  // piece 0.39 alpha + 2.87 gives beta = 2.7675 and x = 10^2.7675 x 0.13966
  // = 81.8 m. The thresholds (3 mg/m3 is Cm/C0 = 3 / 2.8485e6 = 1.05e-6) lie
  // far below the correlations: no distance, no extrapolation.
  ASSERT_TRUE(a.DenseGas.Done);
  EXPECT_FALSE(a.DenseGas.Instantaneous);
  EXPECT_NEAR(a.DenseGas.Alpha, -0.2627, 0.0005);
  EXPECT_NEAR(a.DenseGas.LowestCurveDistance, 81.8, 0.1);
  ASSERT_EQ(a.DenseGas.Rows.size(), 3u);
  EXPECT_NEAR(a.DenseGas.Rows[0].Ratio, 1.053e-6, 0.001e-6);
  EXPECT_EQ(a.DenseGas.Rows[0].GaussianFarEnd, 2430.0f);
  for (const DenseGasRow& r : a.DenseGas.Rows) EXPECT_FALSE(r.InRange);
}

// The criterion falls as u^(-5/6): (g0' q0^(1/2) u^(-5/2))^(1/3) = 0.15 at
// u = (14.202 x 0.24189 / 0.15^3)^(2/5) = 15.93 m/s.
TEST(Applicability, ContinuousDenseCriterionAtItsLimit) {
  ModelState s = ChlorineLeak();
  s.WindSpeed10m = 15.8f;
  EXPECT_TRUE(Has(s, "dense-gas"));
  s.WindSpeed10m = 16.1f;
  EXPECT_FALSE(Has(s, "dense-gas"));
  s.ReleaseMode = release::Stack;  // a stack plume is never screened
  s.WindSpeed10m = 3;
  EXPECT_FALSE(Has(s, "dense-gas"));
}

// A 10 kg chlorine puff: V0 = 10 / 2.8485 = 3.5107 m3, V0^(1/3) = 1.5196 m,
// (g0' V0^(1/3))^(1/2) = (14.202 x 1.5196)^(1/2) = 4.6456 m/s; the criterion
// 4.6456 / u is 0.2 at u = 23.23 m/s.
TEST(Applicability, InstantaneousDenseCriterionAtItsLimit) {
  ModelState s = ChlorineLeak();
  s.ReleaseMode = release::Instantaneous;
  s.ReleaseMass = 10000;
  s.ReleaseDuration = 0.25f;
  s.AveragingTime = 0.25f;
  s.WindSpeed10m = 23.0f;
  const Applicability a = EvaluateApplicability(s);
  ASSERT_FALSE(a.Notes.empty());
  EXPECT_EQ(a.Notes[0].Id, "dense-gas");
  EXPECT_NEAR(a.Notes[0].Values[0].Value, 4.6456 / 23.0, 0.0005);
  EXPECT_TRUE(a.DenseGas.Instantaneous);
  s.WindSpeed10m = 23.5f;
  EXPECT_FALSE(Has(s, "dense-gas"));
}

// The worked example of the workbook method in the guidelines (the Burro LNG
// spill): 0.23 m3/s of liquid (425.6 kg/m3) boiling off as vapour of
// 1.76 kg/m3 at 111 K into air of 1.22 kg/m3 at 298 K, wind 10.9 m/s; the
// distance to the lower flammability limit, 5 % by volume. Printed:
// g0' = 9.8 (1.76 - 1.22) / 1.22 = 4.34 m/s2, q0 = 55.6 m3/s, D = 2.26 m,
// criterion 0.44 (dense), Cm/C0 on the curves 0.05 / (0.05 + 0.95 x 298/111)
// = 0.0192, alpha = -0.433, beta = 2.21 between the 0.02 and 0.01 curves,
// x = 10^2.21 x 2.26 = 367 m. The unrounded beta 2.2090 and D 2.2589 give
// 365.5 m: the printed 367 m multiplies the rounded beta and D.
TEST(Applicability, BritterMcQuaidWorkedExample) {
  const double g0 = 9.8 * (1.76 - 1.22) / 1.22;
  const double q0 = 0.23 * 425.6 / 1.76;
  const double u = 10.9;
  EXPECT_NEAR(g0, 4.34, 0.005);
  EXPECT_NEAR(q0, 55.6, 0.05);
  EXPECT_NEAR(std::sqrt(q0 / u), 2.26, 0.005);
  EXPECT_NEAR(ContinuousDenseCriterion(g0, q0, u), 0.44, 0.005);
  const double ratio = NonIsothermalRatio(0.05, 111, 298);
  EXPECT_NEAR(ratio, 0.0192, 0.00005);
  const double alpha = PlumeAlpha(g0, q0, u);
  EXPECT_NEAR(alpha, -0.433, 0.0005);
  double beta = 0;
  ASSERT_TRUE(PlumeBeta(alpha, ratio, beta));
  EXPECT_NEAR(beta, 2.21, 0.005);
  EXPECT_NEAR(std::pow(10.0, beta) * std::sqrt(q0 / u), 367, 2);
  // Outside the correlations nothing is read off.
  EXPECT_FALSE(PlumeBeta(1.01, 0.01, beta));
  EXPECT_FALSE(PlumeBeta(alpha, 0.0019, beta));
  EXPECT_FALSE(PlumeBeta(alpha, 0.11, beta));
  EXPECT_TRUE(PuffBeta(0.0, 0.001, beta));
  EXPECT_DOUBLE_EQ(beta, 2.05);
  EXPECT_FALSE(PuffBeta(0.0, 0.0009, beta));
}

TEST(Applicability, LightWindBelowOneMetrePerSecond) {
  ModelState s = WithIsopleths({1}, {500});
  s.WindSpeed10m = 0.99f;
  EXPECT_EQ(Ids(s), std::vector<std::string>{"light-wind"});
  s.WindSpeed10m = 1.0f;
  EXPECT_TRUE(Ids(s).empty());
}

TEST(Applicability, StableAirWithLightWind) {
  ModelState s = WithIsopleths({1}, {500});
  s.VerticalStability = 4.0f;  // class E begins at 4
  s.WindSpeed10m = 1.99f;
  EXPECT_EQ(Ids(s), std::vector<std::string>{"stable-light-wind"});
  s.WindSpeed10m = 2.0f;
  EXPECT_TRUE(Ids(s).empty());
  s.WindSpeed10m = 1.99f;
  s.VerticalStability = 3.99f;
  EXPECT_TRUE(Ids(s).empty());
}

TEST(Applicability, HazardOrIsoplethBeyondTenKilometres) {
  EXPECT_EQ(Ids(WithIsopleths({1}, {10010})), std::vector<std::string>{"far-distance"});
  EXPECT_TRUE(Ids(WithIsopleths({1}, {10000})).empty());
  ModelState s = WithIsopleths({1}, {9000});
  s.HazardDistance = 10010;  // an instantaneous cloud's centre beyond the isopleth
  EXPECT_EQ(Ids(s), std::vector<std::string>{"far-distance"});
}

TEST(Applicability, PointsOrIsoplethEndsNearerThanOneHundredMetres) {
  EXPECT_EQ(Ids(WithIsopleths({1, 50}, {500, 99})), std::vector<std::string>{"near-distance"});
  EXPECT_TRUE(Ids(WithIsopleths({1, 50}, {500, 100})).empty());
  ModelState s = WithIsopleths({1}, {500});
  s.Targets.PointCount = 2;
  s.Targets.Points = {{}, {0, 300, 0, 2, 10, 0}, {0, 99, 0, 2, 10, 0}};  // columns 1..5: X, Y, Z, T, C
  EXPECT_EQ(Ids(s), std::vector<std::string>{"near-distance"});
  s.Targets.Points[2][1] = 100;
  EXPECT_TRUE(Ids(s).empty());
}

// A pool of a liquid at 20 deg C (293.16 K).
ModelState Pool() {
  ModelState s = WithIsopleths({1}, {500});
  s.IsLiquid = true;
  s.ReleaseMode = release::ShortOrContinuous;
  s.AirTempK = 293.16f;
  s.AirPressure = 1013.25f;
  return s;
}

TEST(Applicability, LiquidAboveItsBoilingPoint) {
  ModelState s = Pool();
  s.BoilingPointK = 293.0f;
  EXPECT_EQ(Ids(s), std::vector<std::string>{"flashing-liquid"});
  s.BoilingPointK = 293.5f;
  EXPECT_TRUE(Ids(s).empty());
  // A typed-in substance has no boiling point: its vapour pressure above the
  // ambient pressure (1 atm here) says the same.
  s.BoilingPointK = 0;
  s.VaporPressure = 1.01f;
  EXPECT_EQ(Ids(s), std::vector<std::string>{"flashing-liquid"});
  s.VaporPressure = 0.99f;
  EXPECT_TRUE(Ids(s).empty());
}

// M 100 with 0.1 atm: Csat = 10132.5 Pa x 100 g/mol / (8.31446 x 293.16)
// = 415.70 g/m3 = 415700 mg/m3.
TEST(Applicability, ThresholdAboveTheSaturatedConcentration) {
  ModelState s = Pool();
  s.MolecularWeight = 100;
  s.VaporPressure = 0.1f;
  s.Targets.Thresholds[1] = 416000;
  const Applicability a = EvaluateApplicability(s);
  ASSERT_EQ(a.Notes.size(), 1u);
  EXPECT_EQ(a.Notes[0].Id, "unreachable-threshold");
  EXPECT_NEAR(a.Notes[0].Values[1].Value, 415700, 10);
  s.Targets.Thresholds[1] = 415000;
  EXPECT_TRUE(Ids(s).empty());
}

TEST(Applicability, ReleaseShorterThanTheAveragingTime) {
  ModelState s = testing_util::InstantaneousState();
  s.AveragingTime = 1;  // 0.25 min release
  EXPECT_EQ(Ids(s), std::vector<std::string>{"short-release"});
  s.AveragingTime = 0.25f;
  EXPECT_TRUE(Ids(s).empty());
}

TEST(Applicability, StackPlumeRisingAboveTheInversionBase) {
  ModelState s = WithIsopleths({1}, {2000});
  s.ReleaseMode = release::Stack;
  s.StackHeight = 100;
  s.MixingHeight = 150;
  s.PlumeRise = 50.5f;
  s.EffectivePlumeHeight = 150;  // cut back to the base
  EXPECT_EQ(Ids(s), std::vector<std::string>{"stack-above-inversion"});
  s.PlumeRise = 49.5f;
  EXPECT_TRUE(Ids(s).empty());
}

TEST(Applicability, CaptionCountsTheNotes) {
  ModelState s = WithIsopleths({1}, {10010});
  s.WindSpeed10m = 0.5f;
  const Applicability a = EvaluateApplicability(s);
  EXPECT_EQ(NotesCaption(a), "适用性提示(2)");
  EXPECT_EQ(NoteLine(a.Notes[0]),
            "10m高风速低于1 m/s（静小风），高斯模型在此风速下不可靠；输入风速低于0.5 m/s时已按0.5 m/s计算。"
            "（10m高风速 0.5 m/s，下限 1 m/s）");
}

}  // namespace
}  // namespace zelto
