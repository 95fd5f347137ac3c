// The work limit of a dispersion stage: evaluations and puffs are counted, an
// exhausted evaluator answers 0 without work, and a stage that reaches the
// limit is refused with its results cleared.
#include <gtest/gtest.h>

#include <string>

#include "core/Files.h"
#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;
using testing_util::InstantaneousState;
using testing_util::SetThresholds;
using testing_util::TempDir;

const char* const kTooMuchWork =
    "扩散计算量过大，无法在合理时间内完成，请检查风速、浓度平均时间、逆温层高度和阈值。";

TEST(DispersionWork, EvaluationsAndPuffsAreCounted) {
  // Steady plume: one evaluation, no puff.
  {
    ModelState s = BaseState();
    ConcentrationEvaluator ev(TakeConcentrationField(s));
    ev.At(500.0f, 0.0f, s.ReceptorHeight, s.PredictionTime);
    EXPECT_EQ(ev.work(), kEvaluationWork);
    ev.At(500.0f, 0.0f, s.ReceptorHeight, s.PredictionTime);  // kept result: no work
    EXPECT_EQ(ev.work(), kEvaluationWork);
  }
  // Instantaneous release of 0.25 min: floor(0.25 x 20 + 0.5) = 5 puffs. At
  // 900 m and 5 min (age 300 s, wind 3 m/s) sigma-x is about 60 m, so the age
  // window (900 -+ 4 x 60) / 3 = 220..380 s holds all five (300, 297, ..., 288 s).
  {
    ModelState s = InstantaneousState();
    ConcentrationEvaluator ev(TakeConcentrationField(s));
    const float c = ev.At(900.0f, 0.0f, s.ReceptorHeight, 5.0f);
    EXPECT_GT(c, 0.0f);
    EXPECT_EQ(ev.work(), kEvaluationWork + 5);
  }
}

TEST(DispersionWork, ExhaustedEvaluatorAnswersZeroWithoutWork) {
  ModelState s = BaseState();
  ConcentrationEvaluator ev(TakeConcentrationField(s), true, kEvaluationWork);
  const float z = s.ReceptorHeight, t = s.PredictionTime;
  EXPECT_GT(ev.At(500.0f, 0.0f, z, t), 0.0f);  // work 20: not above the limit
  EXPECT_FALSE(ev.exhausted());
  EXPECT_GT(ev.At(600.0f, 0.0f, z, t), 0.0f);  // work 40: above it from now on
  EXPECT_TRUE(ev.exhausted());
  EXPECT_EQ(ev.At(700.0f, 0.0f, z, t), 0.0f);
  EXPECT_EQ(ev.work(), 2 * kEvaluationWork);
  EXPECT_EQ(ev.evaluations(), 2);
  // A fresh evaluation of the same receptor is far from 0.
  ModelState fresh = s;
  fresh.Targets.ReceptorX = 700.0f;
  ComputeConcentration(fresh);
  EXPECT_GT(fresh.Concentration, 0.0f);
}

TEST(DispersionWork, DefaultLimitLeavesOrdinaryRunsAlone) {
  DispersionContext ctx;
  EXPECT_EQ(ctx.workLimit, kDispersionWorkLimit);
  ModelState s = BaseState();
  SetThresholds(s, {0.5f});
  ctx.contourFilePath = TempDir("work0") + "/CONCXY.DAT";
  std::string message;
  ASSERT_TRUE(RunDispersion(s, DispersionKind::Isopleths, message, ctx)) << message;
  EXPECT_GT(s.ContourPointCount[1], 10);
}

TEST(DispersionWork, IsoplethStageOverTheLimitIsRefused) {
  ModelState s = BaseState();
  s.ReleaseDuration = 30.0f;
  s.PredictionTime = 20.0f;
  s.HazardDistance = 123.0f;
  SetThresholds(s, {0.5f, 5.0f});
  const std::string path = TempDir("work1") + "/CONCXY.DAT";
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, "previous contents\r\n", error));
  DispersionContext ctx;
  ctx.contourFilePath = path;
  ctx.workLimit = 1000;  // 50 evaluations
  std::string message;
  EXPECT_FALSE(RunDispersion(s, DispersionKind::Isopleths, message, ctx));
  EXPECT_EQ(message, kTooMuchWork);
  // Results cleared, inputs of the stage restored, the file left as it was.
  EXPECT_EQ(s.ContourPointCount[1], 0);
  EXPECT_EQ(s.ContourPointCount[2], 0);
  EXPECT_EQ(s.MaxConcentration, 0.0f);
  EXPECT_EQ(s.HazardDistance, 0.0f);
  EXPECT_EQ(s.ZoneLength, 0.0f);
  EXPECT_EQ(s.ContourText, "");
  EXPECT_EQ(s.PredictionTime, 20.0f);
  EXPECT_EQ(s.ReceptorHeight, 2.0f);
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "previous contents\r\n");
}

TEST(DispersionWork, PointAndMaximumStagesOverTheLimitAreRefused) {
  DispersionContext ctx;
  ctx.workLimit = 0;  // the first evaluation passes it
  std::string message;

  ModelState points = BaseState();
  points.Targets.PointCount = 1;
  points.Targets.Points.assign(2, PointRow{});
  points.Targets.Points[1] = PointRow{0.0f, 500.0f, 0.0f, 2.0f, 10000.0f, 7.0f};
  EXPECT_FALSE(RunDispersion(points, DispersionKind::ReceptorPoints, message, ctx));
  EXPECT_EQ(message, kTooMuchWork);
  EXPECT_EQ(points.Targets.Points[1][5], 0.0f);

  ModelState maximum = BaseState();
  message.clear();
  EXPECT_FALSE(RunDispersion(maximum, DispersionKind::PlaneMaximum, message, ctx));
  EXPECT_EQ(message, kTooMuchWork);
  EXPECT_EQ(maximum.MaxConcentration, 0.0f);
}

// On two threads the same stage reaches the limit at another point of its
// work; it is then done again on one thread, so the refused stage leaves the
// record exactly as a single-threaded run leaves it (working fields included).
TEST(DispersionWork, RefusalOnTwoThreadsLeavesTheSingleThreadRecord) {
  ModelState runs[2];
  std::string messages[2];
  for (int i = 0; i < 2; ++i) {
    ModelState& s = runs[i];
    s = BaseState();
    s.ReleaseDuration = 30.0f;
    s.PredictionTime = 20.0f;
    SetThresholds(s, {0.5f, 1.0f, 2.0f, 5.0f});
    DispersionContext ctx;
    ctx.contourFilePath = TempDir("work3") + "/CONCXY.DAT";
    ctx.workLimit = 8000;  // 400 evaluations, short of the whole stage (about 500 to 600)
    ctx.threads = i + 1;
    EXPECT_FALSE(RunDispersion(s, DispersionKind::Isopleths, messages[i], ctx));
  }
  EXPECT_EQ(messages[1], messages[0]);
  EXPECT_EQ(messages[0], kTooMuchWork);
  const ModelState& one = runs[0];
  const ModelState& two = runs[1];
  EXPECT_EQ(two.Targets.ReceptorX, one.Targets.ReceptorX);
  EXPECT_EQ(two.Targets.ReceptorY, one.Targets.ReceptorY);
  EXPECT_EQ(two.Concentration, one.Concentration);
  EXPECT_EQ(two.SigmaDistance, one.SigmaDistance);
  EXPECT_EQ(two.SigmaY, one.SigmaY);
  EXPECT_EQ(two.SigmaZ, one.SigmaZ);
  EXPECT_EQ(two.PuffAge, one.PuffAge);
  EXPECT_EQ(two.PuffMass, one.PuffMass);
  EXPECT_EQ(two.PuffConcentration, one.PuffConcentration);
  EXPECT_EQ(two.ContourPointCount, one.ContourPointCount);
}

}  // namespace
}  // namespace zelto
