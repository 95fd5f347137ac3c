// Derived display: local time across midnight, time difference, the
// day/night line and cloud-type list (half 0); release-mode and substance
// dependent controls, the undefined-substance snap and the default release
// height (half 1).
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/TextConv.h"

namespace zelto::testing {
namespace {

class LocalTime : public MainWindowTest {
 protected:
  void Site(float longitude, float latitude, const char* date, const char* time) {
    s.Longitude = longitude;
    s.Latitude = latitude;
    s.ReleaseDate = date;
    s.ReleaseTime = time;
    w.RefreshInput(InputHalf::LocationAndTime);
  }
};

TEST_F(LocalTime, FarWestShiftsToPreviousDay) {
  // (83 - 116.2) / 15 = -2.21 -> -2 h
  Site(83, 30, "2017/03/01", "01:30:00");
  EXPECT_EQ(s.LocalDateText, "2017/02/28");
  EXPECT_EQ(s.LocalTimeText, "23:30:00");
}

TEST_F(LocalTime, FarEastShiftsToNextDay) {
  // (135 - 116.2) / 15 = 1.25 -> 1 h, across the year end
  Site(135, 35, "2017/12/31", "23:10:05");
  EXPECT_EQ(s.LocalDateText, "2018/01/01");
  EXPECT_EQ(s.LocalTimeText, "00:10:05");
}

TEST_F(LocalTime, HalfHourShiftRoundsToEven) {
  // (123.7 - 116.2) / 15 = 0.5 -> 0
  Site(123.7f, 30, "2017/07/01", "10:11:12");
  EXPECT_EQ(s.LocalDateText, "2017/07/01");
  EXPECT_EQ(s.LocalTimeText, "10:11:12");
}

TEST_F(LocalTime, AmericasNotClamped) {
  // (-98.57 - 116.2) / 15 = -14.318 -> -14 h: 00:00 Beijing is 10:00 the day before.
  Site(-98.57f, 29.4f, "2017/07/01", "00:00:00");
  EXPECT_EQ(s.LocalDateText, "2017/06/30");
  EXPECT_EQ(s.LocalTimeText, "10:00:00");
  EXPECT_EQ(s.TimeDifference, static_cast<float>(-6.57));  // -98.57 / 15 = -6.5713
}

TEST_F(LocalTime, AmericasThroughTheLongitudeBox) {
  s.ReleaseDate = "2017/07/01";
  s.ReleaseTime = "00:00:00";
  ASSERT_TRUE(Enter(0, "98.57W"));
  EXPECT_EQ(s.LocalDateText, "2017/06/30");
  EXPECT_EQ(s.LocalTimeText, "10:00:00");
}

TEST_F(LocalTime, CoordinatesSummingToZeroAreARealPlace) {
  // 30.2 W with 30.2 N: (-30.2 - 116.2) / 15 = -9.76 -> -10 h.
  Site(-30.2f, 30.2f, "2017/07/01", "12:00:00");
  EXPECT_EQ(s.LocalDateText, "2017/07/01");
  EXPECT_EQ(s.LocalTimeText, "02:00:00");
  EXPECT_EQ(s.TimeDifference, static_cast<float>(-2.01));  // -30.2 / 15 = -2.0133
  EXPECT_NE(w.Label2[1].Caption, "当前本地为白天，太阳高度角30度，时差");
  // 0 / 0 as well: -116.2 / 15 = -7.75 -> -8 h.
  Site(0, 0, "2017/07/01", "07:00:00");
  EXPECT_EQ(s.LocalDateText, "2017/06/30");
  EXPECT_EQ(s.LocalTimeText, "23:00:00");
  EXPECT_EQ(s.TimeDifference, 0.0f);
}

TEST_F(LocalTime, TimeDifferenceTwoDecimals) {
  Site(120.1f, 30.2f, "2017/07/01", "12:00:00");
  EXPECT_EQ(s.TimeDifference, 8.01f);  // 120.1 / 15 = 8.00667
  Site(119.925f, 30.2f, "2017/07/01", "12:00:00");
  // 119.925 as a single is 119.925003, / 15 = 7.9950002: just above the half.
  EXPECT_EQ(s.TimeDifference, 8.0f);
}

TEST_F(LocalTime, MissingDateOrTimeLeavesEverything) {
  w.Label2[1].Caption = "unchanged";
  s.LocalDateText = "keep";
  s.Longitude = 120.1f;
  s.Latitude = 30.2f;
  s.ReleaseDate = "";
  s.ReleaseTime = "12:00:00";
  w.RefreshInput(InputHalf::LocationAndTime);
  s.ReleaseDate = "2017/07/01";
  s.ReleaseTime = "";
  w.RefreshInput(InputHalf::LocationAndTime);
  EXPECT_EQ(s.LocalDateText, "keep");
  EXPECT_EQ(w.Label2[1].Caption, "unchanged");
}

TEST_F(LocalTime, QuietWhileBusy) {
  w.Busy = true;
  Site(83, 30, "2017/03/01", "01:30:00");
  EXPECT_EQ(s.LocalDateText, "");
  w.Busy = false;
  w.RefreshInput(static_cast<InputHalf>(7));  // no such half
  EXPECT_EQ(s.LocalDateText, "");
}

TEST_F(LocalTime, NightLineDisablesCloudType) {
  s.CloudCover = 5;
  w.Combo1[3].Enabled = true;
  Site(120.1f, 30.2f, "2017/07/01", "00:00:00");  // local midnight
  EXPECT_EQ(s.DayNightFlag, "N");
  EXPECT_FALSE(w.Combo1[3].Enabled);
  EXPECT_EQ(w.Label2[1].Caption, "当前本地为夜间，当地时间的标准时差为 8.01 hr");
}

TEST_F(LocalTime, DayLineWithElevationAndCloudType) {
  s.CloudCover = 5;
  w.Combo1[3].Enabled = false;
  Site(120.1f, 30.2f, "2017/07/01", "12:00:00");
  ASSERT_EQ(s.DayNightFlag, "Y");
  EXPECT_GT(s.SolarElevation, 0.0f);
  EXPECT_TRUE(w.Combo1[3].Enabled);
  EXPECT_EQ(w.Label2[1].Caption, "当前本地为白天，太阳高度角" + FormatGeneral(s.SolarElevation) +
                                     "度。当地时间的标准时差为 8.01 hr");
  // No cloud: the list keeps its state.
  s.CloudCover = 0;
  w.Combo1[3].Enabled = false;
  w.RefreshInput(InputHalf::LocationAndTime);
  EXPECT_FALSE(w.Combo1[3].Enabled);
}

using ReleaseControls = MainWindowTest;

TEST_F(ReleaseControls, InstantaneousRelease) {
  w.SetText1(19, "0");
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(s.ReleaseMode, 1);
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_FALSE(w.Text1[13].Enabled);
  EXPECT_EQ(w.Combo1[5].ListIndex, 1);
  EXPECT_EQ(w.Combo1[5].Text, "秒");
  EXPECT_FALSE(w.Combo1[5].Enabled);
  EXPECT_EQ(w.Label1[18].Caption, "物质泄漏量,及单位：");
  EXPECT_EQ(w.Combo1[7].Items, (std::vector<std::string>{"kg", "m3"}));
  EXPECT_EQ(w.Combo1[7].Text, "kg");
  EXPECT_FALSE(w.Combo1[7].Enabled);
  EXPECT_EQ(w.Label1[21].Caption, "释放高度(m)：");
  EXPECT_FALSE(w.Label1[22].Visible);
  EXPECT_FALSE(w.Text1[20].Visible);
  EXPECT_FALSE(w.Text1[21].Visible);
  EXPECT_EQ(w.Label2[2].Caption,
            "如果泄漏物质在当前环境气温下为液体，必须输入物质分子量和蒸气压(mmHg),液面积和温度可采用缺省值。"
            "如果为气体，可以不输入");
  EXPECT_FALSE(w.Command1[1].Enabled);
  for (int i : {14, 15, 17, 18, 19}) EXPECT_TRUE(w.Text1[i].Enabled) << i;
  EXPECT_EQ(w.Text1[19].Text, "2");  // default release height
}

TEST_F(ReleaseControls, BackToContinuousInSeconds) {
  w.RefreshInput(InputHalf::ReleaseAndSubstance);  // instantaneous: list 5 at seconds
  w.SetListIndex(4, 1);
  EXPECT_EQ(s.ReleaseMode, 2);
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  EXPECT_TRUE(w.Text1[13].Enabled);
  EXPECT_TRUE(w.Combo1[5].Enabled);
  EXPECT_EQ(w.Combo1[7].Items, (std::vector<std::string>{"kg/min", "m3/min"}));
  EXPECT_EQ(w.Label1[18].Caption, "物质泄漏速率,及单位：");
  // Running the half again changes nothing.
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(w.Combo1[7].Items, (std::vector<std::string>{"kg/min", "m3/min"}));
}

TEST_F(ReleaseControls, DurationRaisedToFifteenSeconds) {
  w.SetListIndex(4, 1);
  w.SetText1(13, "0.1");
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  EXPECT_EQ(w.Text1[13].Text, "0.25");
  w.SetText1(13, "12 min");
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(s.ReleaseDuration, 12.0f);
  EXPECT_EQ(w.Text1[13].Text, "12");
  w.SetListIndex(5, 1);  // now the 12 are seconds
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  EXPECT_EQ(w.Text1[13].Text, "15");
}

TEST_F(ReleaseControls, StackRelease) {
  DefineSubstance("LIQUID", 100, 400);  // its state does not matter for a stack
  w.SetListIndex(6, 1);
  w.SetListIndex(7, 1);
  w.SetListIndex(4, 2);
  EXPECT_EQ(s.ReleaseMode, 3);
  EXPECT_EQ(w.Label2[2].Caption, "泄漏物质作为气体，从烟筒排出，泄漏速率即为源强.");
  EXPECT_EQ(w.Label1[21].Caption, "烟筒高度(m)：");
  EXPECT_TRUE(w.Label1[22].Visible);
  EXPECT_TRUE(w.Text1[20].Visible);
  EXPECT_TRUE(w.Text1[21].Visible);
  EXPECT_FALSE(w.Command1[1].Enabled);
  EXPECT_TRUE(w.Text1[14].Enabled);
  EXPECT_FALSE(w.Text1[15].Enabled);
  EXPECT_FALSE(w.Text1[17].Enabled);
  EXPECT_FALSE(w.Text1[18].Enabled);
  EXPECT_TRUE(w.Text1[19].Enabled);
  EXPECT_EQ(w.Combo1[7].ListIndex, 0);
  EXPECT_EQ(w.Combo1[7].Text, "kg/min");
  EXPECT_FALSE(w.Combo1[7].Enabled);
}

TEST_F(ReleaseControls, UndefinedSubstanceSnapsBack) {
  // Slot 1 without a boiling point counts as undefined.
  s.Chemicals[1].Params[1] = 58;
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Combo1[6].ListIndex, 0);
  EXPECT_EQ(w.Combo1[6].Text, "临时物质");
  EXPECT_EQ(s.ChemicalIndex, 0);
  EXPECT_EQ(s.ChemicalName, "临时物质");
  EXPECT_FALSE(w.Busy);
  // Likewise without a molecular weight.
  s.Chemicals[1].Params[1] = 0;
  s.Chemicals[1].Params[2] = 300;
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Combo1[6].ListIndex, 0);
}

TEST_F(ReleaseControls, SnapKeepsBusyAsItWas) {
  w.Combo1[6].ListIndex = 1;
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(w.Combo1[6].ListIndex, 0);
  EXPECT_FALSE(w.Busy);
}

TEST_F(ReleaseControls, DefinedGas) {
  DefineSubstance("CHLORINE", 70.9f, 239.1f);
  s.AirTempK = 293.16f;
  w.SetListIndex(4, 1);
  w.SetText1(19, "0");
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Label2[2].Caption, "泄漏物质在当前环境气温下为气体，泄漏速率即为源强.");
  EXPECT_FALSE(w.Command1[1].Enabled);
  for (int i : {14, 15, 17, 18}) EXPECT_FALSE(w.Text1[i].Enabled) << i;
  EXPECT_FALSE(w.Combo1[7].Enabled);
  EXPECT_EQ(w.Combo1[7].ListIndex, 0);
  EXPECT_TRUE(w.Text1[19].Enabled);
  EXPECT_EQ(w.Text1[19].Text, "2");
}

TEST_F(ReleaseControls, DefinedLiquidWithVosslerSet) {
  DefineSubstance("BENZENE", 78.1f, 353.2f);
  s.Chemicals[1].VosslerIndex = 1;  // vapour pressure constant stays 0
  s.AirTempK = 293.16f;
  w.SetListIndex(4, 1);
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Label2[2].Caption, "泄漏物质在当前环境气温下为液体，采用Vossler蒸发模型计算液体的蒸发速率。");
  EXPECT_FALSE(w.Text1[15].Enabled);
  for (int i : {14, 17, 18}) EXPECT_TRUE(w.Text1[i].Enabled) << i;
  EXPECT_TRUE(w.Command1[1].Enabled);
  EXPECT_TRUE(w.Combo1[7].Enabled);
  EXPECT_FALSE(w.Text1[19].Enabled);
  EXPECT_EQ(w.Text1[19].Text, "0");  // released on the ground
}

TEST_F(ReleaseControls, DefinedLiquidClewellAndShell) {
  DefineSubstance("HEXANE", 86.2f, 341.9f);
  s.AirTempK = 293.16f;
  w.SetListIndex(4, 1);
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Label2[2].Caption, "泄漏物质在当前环境气温下为液体，采用CLEWELL蒸发模型计算液体的蒸发速率。");
  EXPECT_TRUE(w.Text1[15].Enabled);  // no vapour pressure constant: typed instead

  s.Chemicals[1].Params[6] = 120;
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_FALSE(w.Text1[15].Enabled);

  s.Chemicals[1].Params[11] = 5.9f;  // molecular diameter
  s.Chemicals[1].Params[12] = 413;   // interaction energy
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(w.Label2[2].Caption, "泄漏物质在当前环境气温下为液体，采用SHELL蒸发模型计算液体的蒸发速率。");
  EXPECT_FALSE(w.Text1[15].Enabled);
  s.Chemicals[1].Params[6] = 0;
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_TRUE(w.Text1[15].Enabled);
}

TEST_F(ReleaseControls, QuietWhileBusy) {
  w.Busy = true;
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  EXPECT_EQ(s.ReleaseMode, 0);
  EXPECT_EQ(w.Text1[13].Text, "10");
}

}  // namespace
}  // namespace zelto::testing
