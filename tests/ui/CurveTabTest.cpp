// The page "浓度-时间" without a toolkit: its explanation line, point and
// building choices, and the axes of the picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/CurveTab.h"
#include "ui/MainWindow.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

ModelState ComputedExample(const char* file) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = std::string(ZELTO_SOURCE_DIR) + "/examples/" + file;
  w.ContourPath = (fs::temp_directory_path() / "zelto-curvetab-test-CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  w.Command1_Click(2);
  return s;
}

TEST(CurveTab, ExplainsAnEmptyPageAndListsThePoints) {
  CurveTab tab;
  EXPECT_EQ(CurveTabExplanation(tab), "按“刷新结果”计算后，这里显示各计算点的浓度-时间曲线。");
  UpdateCurveTab(tab, ComputedExample("03-ammonia-instantaneous.ini"));  // no point listed
  EXPECT_NE(CurveTabExplanation(tab).find("没有给定计算点"), std::string::npos);
  EXPECT_TRUE(CurveFigureRows(tab).empty());

  UpdateCurveTab(tab, ComputedExample("01-chlorine-leak-day.ini"));
  EXPECT_EQ(CurveTabExplanation(tab), "");
  const std::vector<std::string> points = CurvePointChoices(tab);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[2], "点3 (X=1000, Y=50, Z=1.5 m)");
  SelectCurvePoint(tab, 2);
  SelectCurvePoint(tab, 7);  // no such point: the choice stays
  EXPECT_EQ(tab.selected, 2);
}

TEST(CurveTab, BuildingTypeSetsTheRateAndTheIndoorCurve) {
  CurveTab tab;
  UpdateCurveTab(tab, ComputedExample("01-chlorine-leak-day.ini"));
  const float closedHouse = tab.curves[0].indoor.peak;
  SelectBuilding(tab, 3);  // ventilated offices: 1.5 per hour
  EXPECT_EQ(tab.exchangePerHour, 1.5);
  // Three times the exchange lets more in during the 30-min plateau.
  EXPECT_GT(tab.curves[0].indoor.peak, closedHouse);
  std::string message;
  EXPECT_FALSE(SetAirExchange(tab, -1.0, message));
  EXPECT_EQ(message, "换气次数无效（须在0到100次/小时之间）。");
  EXPECT_EQ(tab.exchangePerHour, 1.5);
  ASSERT_TRUE(SetAirExchange(tab, 0.5, message));
  EXPECT_EQ(tab.building, 0);  // the closed house again
  EXPECT_EQ(tab.curves[0].indoor.peak, closedHouse);
}

TEST(CurveTab, AxesCoverThePeakAndNameThresholdsAboveIt) {
  // A plateau of 32 mg/m3 from 1 to 30 min that has faded by 40 min.
  PointCurve c;
  c.t = {0, 1, 30, 40};
  c.cOut = {0, 32, 32, 0.1f};
  c.cIn = {0, 0.1f, 7, 5};
  c.end = CurveEnd::Faded;
  c.outdoorEndTime = 40;
  // Linear: a step of at least 32 / 6 = 5.3 among 1, 2, 5 x 10^k is 10, so
  // the axis runs 0..40; time 3 x 40 = 120, but the curve ends at 40:
  // step 40 / 6 = 6.7 -> 10, axis 0..40.
  CurveAxes a = ComputeCurveAxes(c, {3, 30, 90}, false);
  EXPECT_EQ(a.cMax, 40.0);
  EXPECT_EQ(a.cTicks.size(), 5u);
  EXPECT_EQ(a.tMax, 40.0);
  EXPECT_EQ(a.thresholdsShown, (std::vector<float>{3, 30}));
  EXPECT_EQ(a.thresholdsAbove, (std::vector<float>{90}));
  // Log: top decade 100; down to min(32 / 100, 3 / 10) = 0.3 -> 0.1.
  a = ComputeCurveAxes(c, {3, 30, 90}, true);
  EXPECT_DOUBLE_EQ(a.cMax, 100.0);
  EXPECT_DOUBLE_EQ(a.cMin, 0.1);
  EXPECT_EQ(a.cTicks.size(), 4u);
  EXPECT_EQ(a.thresholdsShown, (std::vector<float>{3, 30, 90}));
}

}  // namespace
}  // namespace zelto
