// Maximum concentration on the receptor plane and its summary text.
#include <gtest/gtest.h>

#include "core/TextConv.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;

float AxisAt(const ModelState& base, float x, float z, float t) {
  ModelState s = base;
  s.Targets.ReceptorX = x;
  s.Targets.ReceptorY = 0.0f;
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  ComputeConcentration(s);
  return s.Concentration;
}

TEST(PlaneMaximum, ReceptorAtReleaseHeightDuringRelease) {
  ModelState s = BaseState();  // release and receptor at 2 m, steady state
  std::string message;
  ASSERT_TRUE(FindPlaneMaximum(s, {.height = 2.0f, .time = 10000.0f}, message));
  const float c30 = AxisAt(BaseState(), 30.0f, 2.0f, 10000.0f);
  EXPECT_EQ(s.MaxConcentration, c30);
  EXPECT_EQ(s.MaxConcentrationX, 30.0f);
  EXPECT_EQ(message, "稳定烟羽状态\r\n离地高为 =2m 的平面上\r\n最大浓度产生于离源 30m 的距离内\r\n"
                     "在 30m 处的浓度为" + FormatGeneral(c30) + " mg/m3");
}

TEST(PlaneMaximum, GroundReceptorFallingFromTheStart) {
  ModelState s = BaseState();
  std::string message;
  ASSERT_TRUE(FindPlaneMaximum(s, {.height = 0.0f, .time = 10000.0f}, message));
  // Falls from 30 m on: the fine pass runs below 30 m, the near-source text
  // with the value at 30 m.
  EXPECT_EQ(s.MaxConcentration, AxisAt(BaseState(), 30.0f, 0.0f, 10000.0f));
  EXPECT_EQ(s.MaxConcentrationX, 30.0f);
  EXPECT_EQ(message.rfind("稳定烟羽状态\r\n离地高为 =0m 的平面上\r\n", 0), 0u);
  EXPECT_NE(message.find("在 30m 处的浓度为"), std::string::npos);
}

TEST(PlaneMaximum, ElevatedReleaseFoundText) {
  ModelState s = BaseState();
  s.EffectivePlumeHeight = 50.0f;
  s.ReleaseDuration = 60.0f;
  std::string message;
  ASSERT_TRUE(FindPlaneMaximum(s, {.height = 0.0f, .time = 30.0f}, message));
  const float x = s.MaxConcentrationX;
  const float c = s.MaxConcentration;
  EXPECT_GT(x, 100.0f);
  EXPECT_EQ(c, AxisAt(s, x, 0.0f, 30.0f));
  // A maximum on the 10 m grid of the fine pass.
  EXPECT_GT(c, AxisAt(s, x + 10.0f, 0.0f, 30.0f));
  EXPECT_GE(c, AxisAt(s, x - 10.0f, 0.0f, 30.0f));
  EXPECT_EQ(message, "在预测时刻为 =30 min\r\n离地高 =0m 的平面上\r\n最大浓度为 " +
                         FormatPattern(c, "0.0000E+00") + "mg/m3\r\n产生于下风轴线距离 X =" +
                         FormatGeneral(x) + "m 处");
  EXPECT_EQ(s.Targets.ReceptorY, 0.0f);
  EXPECT_EQ(s.ReceptorHeight, 0.0f);
  EXPECT_EQ(s.PredictionTime, 30.0f);
}

TEST(PlaneMaximum, AfterTheReleaseStartsAtTheTail) {
  ModelState s = BaseState();
  s.WindSpeed10m = 2.0f;
  s.ReleaseDuration = 10.0f;
  std::string message;
  // 20 min after a 10 min release at 2 m/s the tail is at (20 - 10) x 2 x 60 = 1200 m.
  ASSERT_TRUE(FindPlaneMaximum(s, {.height = 0.0f, .time = 20.0f}, message));
  EXPECT_GE(s.MaxConcentrationX, 1100.0f);
  EXPECT_GE(s.MaxConcentration, AxisAt(s, 1200.0f, 0.0f, 20.0f));
  EXPECT_EQ(message.find("在预测时刻为 =20 min\r\n"), 0u);
}

TEST(PlaneMaximum, CloudNeverReachesThePlane) {
  ModelState s = BaseState();
  s.ReleaseDuration = 10.0f;
  s.MaxConcentration = 5.0f;
  std::string message;
  // After 0.1 min the cloud is at most 1.2 x 3 x 6 = 21.6 m out.
  EXPECT_FALSE(FindPlaneMaximum(s, {.height = 0.0f, .time = 0.1f}, message));
  EXPECT_EQ(message, "当前高度下没有浓度");
  EXPECT_EQ(s.MaxConcentration, 0.0f);
}

TEST(PlaneMaximum, PlaneAcrossTheLid) {
  ModelState s = BaseState();
  s.MixingHeight = 200.0f;
  s.MaxConcentration = 5.0f;
  std::string message;
  EXPECT_FALSE(FindPlaneMaximum(s, {.height = 250.0f, .time = 10000.0f}, message));
  EXPECT_EQ(message, "模型假设烟羽(烟团)不会穿透逆温层,因此，在此高度上的预测点浓度可忽略，均为0。");
  EXPECT_EQ(s.MaxConcentration, 0.0f);
  s.EffectivePlumeHeight = 300.0f;
  EXPECT_FALSE(FindPlaneMaximum(s, {.height = 2.0f, .time = 10000.0f}, message));
}

}  // namespace
}  // namespace zelto
