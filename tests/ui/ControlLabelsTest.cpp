// Names and labels that identify the input at fault when there is no window
// to put the focus into (batch program).
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/ControlIds.h"
#include "ui/ControlLabels.h"

namespace zelto::testing {
namespace {

using ControlLabels = MainWindowTest;

TEST_F(ControlLabels, InputControlsAreNamedAsInTheDesign) {
  EXPECT_EQ(ControlName({ControlKind::Text1, box::WindSpeed}), "Text1(8)");
  EXPECT_EQ(ControlName({ControlKind::Text1, box::Thresholds}), "Text1(25)");
  EXPECT_EQ(ControlName({ControlKind::Combo1, combo::CloudType}), "Combo1(3)");
  EXPECT_EQ(ControlName({ControlKind::Check1, 0}), "Check1");
  EXPECT_EQ(ControlName({ControlKind::Text2, 0}), "Text2");
}

TEST_F(ControlLabels, NoInputNoName) {
  for (FocusId id : {FocusId{}, FocusId{ControlKind::Text3, 0}, FocusId{ControlKind::Command1, 2},
                     FocusId{ControlKind::Cmd, 0}, FocusId{ControlKind::Text1, 26},
                     FocusId{ControlKind::Text1, -1}, FocusId{ControlKind::Combo1, 9}}) {
    EXPECT_EQ(ControlName(id), "");
    EXPECT_EQ(ControlLabel(w, id), "");
  }
}

TEST_F(ControlLabels, BoxesCarryTheLabelInFrontOfThem) {
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::WindSpeed)), "环境风速(m/s)：");
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::AirTemperature)), "环境气温(℃)：");
  // Two boxes on one row share the label of the left one.
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::Latitude)), "泄漏位置经度和纬度：");
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::PoolTemperature)), "液池的面积(m2)和温度(℃)：");
  for (int i = 0; i < box::Count; ++i) EXPECT_FALSE(ControlLabel(w, BoxFocus(i)).empty()) << i;
}

TEST_F(ControlLabels, AmountAndHeightLabelsFollowTheReleaseMode) {
  // Before the first choice the design captions stand.
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::ReleaseAmount)), "物质泄漏速率/泄漏量,及单位：");
  w.SetListIndex(combo::ReleaseMode, 2);  // stack
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::ReleaseAmount)), "物质泄漏速率,及单位：");
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::ReleaseHeight)), "烟筒高度(m)：");
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::StackFlow)), "烟气温度(℃)和流量(m3/s)：");
  w.SetListIndex(combo::ReleaseMode, 0);  // instantaneous
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::ReleaseAmount)), "物质泄漏量,及单位：");
  EXPECT_EQ(ControlLabel(w, BoxFocus(box::ReleaseHeight)), "释放高度(m)：");
}

TEST_F(ControlLabels, UnitListsCarryTheLabelOfTheirBox) {
  EXPECT_EQ(ControlLabel(w, {ControlKind::Combo1, combo::DurationUnit}), "泄漏时长：");
  EXPECT_EQ(ControlLabel(w, {ControlKind::Combo1, combo::ThresholdUnit}), "计算廓线的阈值：");
  EXPECT_EQ(ControlLabel(w, {ControlKind::Combo1, combo::AmountUnit}),
            ControlLabel(w, BoxFocus(box::ReleaseAmount)));
  EXPECT_EQ(ControlLabel(w, {ControlKind::Combo1, combo::Roughness}), "周围环境地表粗糙度：");
  EXPECT_EQ(ControlLabel(w, {ControlKind::Combo1, combo::GroundMoisture}), "周围地表类型和干湿：");
}

TEST_F(ControlLabels, PointListCarriesTheCaptionOfItsCheckBox) {
  EXPECT_EQ(ControlLabel(w, {ControlKind::Text2, 0}), "计算一系列点在特定时间的浓度C(X,Y,Z,T)");
  EXPECT_EQ(ControlLabel(w, {ControlKind::Check1, 0}), "计算一系列点在特定时间的浓度C(X,Y,Z,T)");
}

}  // namespace
}  // namespace zelto::testing
