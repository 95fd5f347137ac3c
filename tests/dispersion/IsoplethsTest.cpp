// Dispersion entry, isopleths, hazard distance and zone.
#include <gtest/gtest.h>

#include <cmath>

#include "core/Files.h"
#include "core/Gbk.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "dispersion/UpwindEdge.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;
using testing_util::InstantaneousState;
using testing_util::SetThresholds;
using testing_util::TempDir;

float AxisAt(const ModelState& base, float x, float y, float z, float t) {
  ModelState s = base;
  s.Targets.ReceptorX = x;
  s.Targets.ReceptorY = y;
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  ComputeConcentration(s);
  return s.Concentration;
}

// ---- Zone angle ----

TEST(ZoneAngle, SigmaThetaScaledToExposureTime) {
  ModelState s = BaseState();
  s.SigmaThetaFlag = 2;
  s.SigmaTheta = 40.0f;
  s.SigmaThetaTime = 15.0f;
  s.ReleaseDuration = 120.0f;  // te = 60: 6 x 40 x 4^0.2 = 317, limited
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 180.5f);
  s.SigmaTheta = 10.0f;  // 6 x 10 x 4^0.2 = 79.17
  ComputeZoneAngle(s);
  EXPECT_NEAR(s.ZoneAngle, 60.0 * std::pow(4.0, 0.2), 1e-4);
  s.SigmaTheta = 3.0f;  // 23.75: at least 30
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 30.0f);
}

TEST(ZoneAngle, FromStabilityAndWind) {
  ModelState s = BaseState();
  s.WindSpeed = 6.0f;  // neutral, strong wind
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 45.0f);
  s.WindSpeed = 4.0f;
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 90.0f);
  s.WindSpeed = 5.15f;  // stored as 5.1500001, above 5.15 once widened
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 45.0f);
  s.WindSpeed = 5.1499f;
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 90.0f);
  s.HorizontalStability = 1.5f;  // 165 - 45
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 120.0f);
  s.WindSpeed = 1.8f;  // light wind: every direction
  s.SigmaThetaFlag = 2;
  ComputeZoneAngle(s);
  EXPECT_EQ(s.ZoneAngle, 360.0f);
}

// ---- Upwind edge ----

TEST(UpwindEdge, HalvedOddStepKeepsItsHalf) {
  // Maximum at 250 m, first step 25 m; the axis value is above the threshold
  // from 226 m on. 250 ok, 225 below: step 12.5; 250 - 2 x 12.5 = 225 below:
  // step 6.25, at least 10; 250 - 3 x 10 = 220 below with a 10 m step: stop.
  // (A step rounded to 12 would go 226 ok, 214, 210.)
  auto axis = [](float x) { return x >= 226.0f ? 1.0f : 0.0f; };
  EXPECT_EQ(SearchUpwindEdge(250.0f, 0.5f, axis), 220.0f);
}

// ---- Rounding ----

TEST(HazardZone, RoundingToTenMetres) {
  ModelState s;
  s.HazardDistance = 1234.0f;
  RoundHazardZone(s);
  EXPECT_EQ(s.HazardDistance, 1230.0f);
  EXPECT_EQ(s.ZoneLength, 2580.0f);  // 10 x round(258.3)
  s.HazardDistance = 1235.0f;  // 123.5 rounds to 124 (even)
  RoundHazardZone(s);
  EXPECT_EQ(s.HazardDistance, 1240.0f);
  EXPECT_EQ(s.ZoneLength, 2600.0f);  // 10 x round(260.4)
  s.HazardDistance = 1225.0f;  // 122.5 rounds to 122
  RoundHazardZone(s);
  EXPECT_EQ(s.HazardDistance, 1220.0f);
}

// ---- Dispersion entry ----

TEST(RunDispersion, MixingLayerRules) {
  DispersionContext ctx;
  std::string message;
  ModelState s = BaseState();
  SetThresholds(s, {2.0f});
  s.EffectivePlumeHeight = 300.0f;
  s.MixingHeight = 200.0f;
  s.ReceptorHeight = 2.0f;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_EQ(message, "注意--烟羽高超过混合层顶，而计算高度在混合层内，因此模型假定混合层内无污染物");
  s.EffectivePlumeHeight = 2.0f;
  s.ReceptorHeight = 250.0f;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::Isopleths, message, ctx));
  EXPECT_EQ(message, "注意--计算高度超过混合层顶，该高度上没有污染物");
  EXPECT_EQ(s.ResultKind, 1);
}

TEST(RunDispersion, LidRemovedForThisRunAndRestored) {
  DispersionContext ctx;
  ModelState s = BaseState();
  s.EffectivePlumeHeight = 300.0f;
  s.MixingHeight = 200.0f;
  s.ReceptorHeight = 250.0f;
  s.ReleaseDuration = 30.0f;
  s.PredictionTime = 20.0f;
  std::string message;
  ASSERT_TRUE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx)) << message;
  EXPECT_EQ(s.MixingHeight, 200.0f);
  EXPECT_EQ(s.ReceptorHeight, 250.0f);
  EXPECT_EQ(s.PredictionTime, 20.0f);
  // Same maximum as without any lid.
  ModelState open = s;
  open.MixingHeight = 10000.0f;
  std::string openMessage;
  ASSERT_TRUE(FindPlaneMaximum(open, {.height = 250.0f, .time = 20.0f}, openMessage));
  EXPECT_EQ(s.MaxConcentration, open.MaxConcentration);
  EXPECT_EQ(message, openMessage);
}

TEST(RunDispersion, PredictionTimeDefaults) {
  DispersionContext ctx;
  std::string message;
  ModelState s = InstantaneousState();
  s.PredictionTime = 0.0f;
  ASSERT_TRUE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_EQ(s.PredictionTime, 10.0f);  // kept after the run
  EXPECT_EQ(message.find("在预测时刻为 =10 min"), 0u);
  s = BaseState();
  s.ReleaseDuration = 25.0f;
  s.PredictionTime = 0.0f;
  ASSERT_TRUE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_EQ(s.PredictionTime, 25.0f);
  s = BaseState();
  s.PredictionTime = 30.0f;  // continuous: steady state whatever was entered
  ASSERT_TRUE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_EQ(s.PredictionTime, 10000.0f);
  EXPECT_EQ(message.find("稳定烟羽状态\r\n"), 0u);
}

TEST(RunDispersion, ListedPoints) {
  DispersionContext ctx;
  ModelState s = BaseState();
  s.ReleaseDuration = 10.0f;
  s.PredictionTime = 10.0f;
  s.Targets.PointCount = 3;
  s.Targets.Points.assign(4, PointRow{});
  s.Targets.Points[1] = {0, 0, 0, 2, 10, -1};
  s.Targets.Points[2] = {0, 500, 20, 1.5f, 8, -1};
  s.Targets.Points[3] = {0, 3000, 0, 2, 10, -1};  // beyond the front at 1800 m
  std::string message = "kept";
  ASSERT_TRUE(RunDispersion(s, DispersionKind::ReceptorPoints, message, ctx));
  EXPECT_EQ(message, "kept");
  ModelState ref = BaseState();
  ref.ReleaseDuration = 10.0f;
  EXPECT_EQ(s.Targets.Points[1][5], ConcentrationAtPoint(ref, 0, 0, 2, 10));
  EXPECT_EQ(s.Targets.Points[2][5], ConcentrationAtPoint(ref, 500, 20, 1.5f, 8));
  EXPECT_GT(s.Targets.Points[2][5], 0.0f);
  EXPECT_EQ(s.Targets.Points[3][5], 0.0f);
  EXPECT_EQ(s.PredictionTime, 10.0f);
  EXPECT_EQ(s.ReceptorHeight, 2.0f);
}

TEST(RunDispersion, RefusesInputsTheFormulasCannotTake) {
  DispersionContext ctx;
  std::string message;
  ModelState s = BaseState();
  s.WindSpeed10m = 0.0f;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_NE(message.find("10m高风速"), std::string::npos);
  s = BaseState();
  s.SourceSize = 0.0f;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_NE(message.find("源尺寸"), std::string::npos);
  s = BaseState();
  s.VerticalStability = 7.0f;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_NE(message.find("稳定度"), std::string::npos);
  s = BaseState();
  s.Targets.ThresholdCount = 0;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::Isopleths, message, ctx));
  EXPECT_EQ(message, "廓线的阈值无效!");
}

// ---- Isopleths ----

struct IsoplethRun {
  ModelState s;
  std::string path;
  MessageRecorder sink;
  int events = 0;
};

void RunIsopleths(IsoplethRun& run, const std::string& dirName) {
  run.path = TempDir(dirName) + "/CONCXY.DAT";
  DispersionContext ctx;
  ctx.contourFilePath = run.path;
  ctx.sink = &run.sink;
  ctx.processEvents = [&run] { ++run.events; };
  std::string message;
  ASSERT_TRUE(RunDispersion(run.s, DispersionKind::Isopleths, message, ctx)) << message;
}

// Every traced point: axis at or above the threshold, and the boundary
// within one 2 m crosswind step of the recorded half-width.
void CheckContour(const ModelState& s, int j) {
  const float c = s.Targets.Thresholds[j];
  const int k = s.ContourPointCount[j];
  float widest = -1.0f, widestX = 0.0f;
  for (int p = 1; p <= k; ++p) {
    const float x = s.ContourX[j][p];
    const float w = s.ContourHalfWidth[j][p];
    if (p > 1) {
      EXPECT_NE(x, s.ContourX[j][p - 1]);
    }
    EXPECT_GE(s.ContourAxisConc[j][p], c);
    EXPECT_EQ(s.ContourAxisConc[j][p], AxisAt(s, x, 0, s.ReceptorHeight, s.PredictionTime));
    EXPECT_GE(AxisAt(s, x, std::max(0.0f, w - 2.0f), s.ReceptorHeight, s.PredictionTime), c) << p;
    EXPECT_LE(AxisAt(s, x, w + 2.0f, s.ReceptorHeight, s.PredictionTime), c) << p;
    if (w > widest) {
      widest = w;
      widestX = x;
    }
  }
  // The march starts at the upwind edge in 10 m steps and only ever doubles
  // or halves its step: every point lies a multiple of 10 m from the first,
  // and 10 m before the first the axis is below the threshold.
  if (k >= 1) {
    const float x1 = s.ContourX[j][1];
    for (int p = 2; p <= k; ++p) {
      EXPECT_EQ(std::fmod(s.ContourX[j][p] - x1, 10.0f), 0.0f) << p;
    }
    if (x1 > 10.0f) {
      EXPECT_LT(AxisAt(s, x1 - 10.0f, 0, s.ReceptorHeight, s.PredictionTime), c);
    }
  }
  EXPECT_EQ(s.MaxHalfWidth[j], widest);
  EXPECT_EQ(s.MaxHalfWidthX[j], widestX);
}

TEST(Isopleths, SteadyPlumeTwoThresholdsOneNeverReached) {
  IsoplethRun run;
  run.s = BaseState();
  run.s.WindSpeed = 4.0f;
  SetThresholds(run.s, {0.5f, 1.0e6f});
  RunIsopleths(run, "iso1");
  const ModelState& s = run.s;
  ASSERT_GT(s.ContourPointCount[1], 10);
  EXPECT_EQ(s.ContourPointCount[2], 0);
  CheckContour(s, 1);
  // The last point is the downwind end: the axis is below 0.5 10 m further.
  const int k = s.ContourPointCount[1];
  const float f = s.ContourX[1][k];
  EXPECT_LT(AxisAt(s, f + 10.0f, 0, 2, 10000), 0.5f);
  // Continuous release: hazard distance = far end, rounded; steady time.
  EXPECT_EQ(s.HazardDistance, static_cast<float>(10.0 * std::nearbyint(f / 10.0)));
  EXPECT_EQ(s.HazardTime, 10000.0f);
  EXPECT_EQ(s.ZoneLength, static_cast<float>(10.0 * std::nearbyint(2.1 * s.HazardDistance / 10.0)));
  EXPECT_EQ(s.ZoneAngle, 90.0f);
  EXPECT_FALSE(s.HazardLimitReached);
  // Rows sized to the longest isopleth.
  EXPECT_EQ(s.ContourX[2].size(), static_cast<size_t>(k + 1));
  // The file holds the contour text in GBK; the text ends with the block of
  // the threshold never reached.
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(run.path, bytes));
  EXPECT_EQ(bytes, Utf8ToGbk(s.ContourText));
  EXPECT_EQ(s.ContourText, BuildContourText(s));
  const std::string tail = "浓度 (mg/m3) =1000000:  持续释放\r\n当前时刻下，计算区域内所有浓度均小于给定的浓度，无分布图坐标\r\n";
  ASSERT_GE(s.ContourText.size(), tail.size());
  EXPECT_EQ(s.ContourText.substr(s.ContourText.size() - tail.size()), tail);
  EXPECT_TRUE(run.sink.messages.empty());
  EXPECT_GT(run.events, k / 2);  // the window was let to repaint during the march
}

TEST(Isopleths, ThresholdsNestInsideEachOther) {
  IsoplethRun run;
  run.s = BaseState();
  run.s.ReleaseDuration = 30.0f;
  run.s.PredictionTime = 20.0f;
  SetThresholds(run.s, {0.2f, 1.0f, 5.0f});
  RunIsopleths(run, "iso2");
  const ModelState& s = run.s;
  for (int j = 1; j <= 3; ++j) {
    ASSERT_GT(s.ContourPointCount[j], 0) << j;
    CheckContour(s, j);
  }
  EXPECT_GT(s.MaxHalfWidth[1], s.MaxHalfWidth[2]);
  EXPECT_GT(s.MaxHalfWidth[2], s.MaxHalfWidth[3]);
  EXPECT_EQ(s.PredictionTime, 20.0f);  // restored after the hazard march
  // Timed release: the hazard distance is at least the far end of contour 1.
  EXPECT_GE(s.HazardDistance, s.ContourX[1][s.ContourPointCount[1]] - 5.0f);
  EXPECT_GE(s.HazardTime, 20.0f - 5.0f);
}

TEST(Isopleths, MaximumBelowSmallestThresholdLeavesPreviousFile) {
  IsoplethRun run;
  run.s = BaseState();
  run.s.ContourText = "stale";
  run.s.HazardLimitReached = true;
  SetThresholds(run.s, {1.0e6f, 2.0e6f});
  const std::string dir = TempDir("iso3");
  run.path = dir + "/CONCXY.DAT";
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(run.path, "previous contents\r\n", error));
  DispersionContext ctx;
  ctx.contourFilePath = run.path;
  std::string message;
  ASSERT_TRUE(RunDispersion(run.s, DispersionKind::Isopleths, message, ctx));
  EXPECT_EQ(run.s.ContourPointCount[1], 0);
  EXPECT_EQ(run.s.ContourPointCount[2], 0);
  EXPECT_EQ(run.s.ContourText, "");
  EXPECT_FALSE(run.s.HazardLimitReached);
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(run.path, bytes));
  EXPECT_EQ(bytes, "previous contents\r\n");
}

TEST(Isopleths, UnwritableContourFileIsReportedAndRunGoesOn) {
  ModelState s = BaseState();
  SetThresholds(s, {0.5f});
  MessageRecorder sink;
  DispersionContext ctx;
  ctx.contourFilePath = TempDir("iso4") + "/no-such-dir/CONCXY.DAT";
  ctx.sink = &sink;
  std::string message;
  ASSERT_TRUE(RunDispersion(s, DispersionKind::Isopleths, message, ctx));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find(ctx.contourFilePath), std::string::npos);
  EXPECT_EQ(sink.messages[0].find("无法写入廓线数据文件"), 0u);
  EXPECT_GT(s.ContourPointCount[1], 1);
  EXPECT_EQ(s.ContourText, BuildContourText(s));
}

TEST(Isopleths, InstantaneousCloudBeyondTheLimit) {
  IsoplethRun run;
  run.s = InstantaneousState();
  run.s.PredictionTime = 10.0f;
  SetThresholds(run.s, {1.0e-6f});
  RunIsopleths(run, "iso5");
  const ModelState& s = run.s;
  // The cloud centre moves 180 m per minute and is still above 1e-6 mg/m3
  // when it passes 100 km at T = 556 min (100080 m).
  EXPECT_TRUE(s.HazardLimitReached);
  EXPECT_EQ(s.HazardDistance, 100080.0f);
  EXPECT_EQ(s.HazardTime, 556.0f);
  EXPECT_EQ(s.ZoneLength, 210170.0f);  // 10 x round(21016.8)
  EXPECT_EQ(s.PredictionTime, 10.0f);
}

TEST(Isopleths, InstantaneousCloudDropsBelowThreshold) {
  IsoplethRun run;
  run.s = InstantaneousState();
  run.s.PredictionTime = 10.0f;
  SetThresholds(run.s, {0.05f});
  RunIsopleths(run, "iso6");
  const ModelState& s = run.s;
  EXPECT_FALSE(s.HazardLimitReached);
  // The last whole minute whose cloud centre is above 0.05 mg/m3.
  const float t = s.HazardTime;
  EXPECT_GT(AxisAt(s, t * 180.0f, 0, 2, t), 0.05f);
  EXPECT_LE(AxisAt(s, (t + 1) * 180.0f, 0, 2, t + 1), 0.05f);
  // The distance is the centre one minute later (where it fell below), at
  // least the far end of the isopleth, rounded to 10 m.
  const float f = s.ContourX[1][s.ContourPointCount[1]];
  const float x = std::max((t + 1) * 180.0f, f);
  EXPECT_EQ(s.HazardDistance, static_cast<float>(10.0 * std::nearbyint(x / 10.0)));
}

TEST(Isopleths, TimedReleaseCloudBeyondTheLimit) {
  IsoplethRun run;
  run.s = BaseState();
  run.s.ReleaseDuration = 10.0f;
  run.s.PredictionTime = 10.0f;
  run.s.SourceStrength = 1.0e6f;
  SetThresholds(run.s, {1.0e-4f});
  RunIsopleths(run, "iso7");
  const ModelState& s = run.s;
  EXPECT_TRUE(s.HazardLimitReached);
  EXPECT_GT(s.HazardDistance, 100000.0f);
  EXPECT_LE(s.HazardDistance, 100100.0f);
  // The edge of the cloud moves with the wind (180 m per min) a few sigma-x
  // (about 4 km at 100 km) ahead of its centre.
  EXPECT_GT(s.HazardTime, 400.0f);
  EXPECT_LT(s.HazardTime, 560.0f);
  ModelState probe = s;
  EXPECT_GT(AxisAt(probe, 100000.0f - 100.0f, 0, 2, s.HazardTime), 1.0e-4f);
}

TEST(Isopleths, TimedReleaseNeverAboveThresholdAtItsEnd) {
  IsoplethRun run;
  run.s = BaseState();
  // A 100 m release in very stable air reaches the ground only far out: at
  // the end of the 10 min release the ground concentration stays below
  // 1e-3 mg/m3 everywhere, 50 min later it exceeds it around 10 km.
  run.s.EffectivePlumeHeight = 100.0f;
  run.s.HorizontalStability = 6.0f;
  run.s.VerticalStability = 6.0f;
  run.s.ReceptorHeight = 0.0f;
  run.s.ReleaseDuration = 10.0f;
  run.s.PredictionTime = 60.0f;
  SetThresholds(run.s, {1.0e-3f});
  RunIsopleths(run, "iso8");
  const ModelState& s = run.s;
  ASSERT_GT(s.ContourPointCount[1], 0);
  const float f = s.ContourX[1][s.ContourPointCount[1]];
  EXPECT_GT(f, 5000.0f);
  EXPECT_FALSE(s.HazardLimitReached);
  EXPECT_EQ(s.HazardDistance, static_cast<float>(10.0 * std::nearbyint(f / 10.0)));
  EXPECT_EQ(s.HazardTime, 60.0f);
}

}  // namespace
}  // namespace zelto
