// Box checks of the main window: every refusal with its message and the box
// that keeps the focus, and the normalised texts written back on acceptance.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace zelto::testing {
namespace {

using BoxRefusals = MainWindowTest;

struct Refusal {
  int box;
  const char* text;
  const char* message;  // "" = refused silently
};

TEST_F(BoxRefusals, EachMessageWithItsBox) {
  ContinuousDefaults();  // box 19 is checked against the release mode
  const Refusal cases[] = {
      {0, "180", ""},
      {0, "-180", ""},
      {1, "90", ""},
      {1, "-90.5S", ""},
      {2, "2017/13/01", "日期格式：YYYY/MM/DD"},
      {2, "tomorrow", "日期格式：YYYY/MM/DD"},
      {3, "25:00:00", "时间格式: HH:MM:SS"},
      {6, "0.5", "不能小于1m!"},
      {7, "181", "不能大于180 度!"},
      {9, "0.5", "有效范围[1,60]!"},
      {9, "61", "有效范围[1,60]!"},
      {10, "-51", "有效范围[-50,60]!"},
      {10, "60.5", "有效范围[-50,60]!"},
      {11, "-0.4", "有效范围[0,10]!"},
      {11, "10.6", "有效范围[0,10]!"},
      {16, "0", "无效!"},
      {16, "-3", "无效!"},
      {17, "0.99", "无效!最小为1"},
      {19, "-1", "无效!"},
      {21, "0", "无效!"},
      {22, "0.5", "不可小于 1 min!"},
      {23, "0", "无效!"},
      {25, "0,5", "无效!"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " <- " + c.text);
    EXPECT_FALSE(Enter(c.box, c.text));
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(rec.messages.empty());
    } else {
      EXPECT_EQ(OnlyMessage(), c.message);
    }
    EXPECT_EQ(w.Focus, BoxFocus(c.box));
    EXPECT_EQ(w.Text1[c.box].Text, c.text);  // left as typed
  }
}

TEST_F(BoxRefusals, RefusalLeavesModelUntouched) {
  ASSERT_TRUE(Enter(6, "12"));
  ASSERT_TRUE(Enter(10, "25"));
  ASSERT_TRUE(Enter(0, "100E"));
  EXPECT_FALSE(Enter(6, "0"));
  EXPECT_FALSE(Enter(10, "99"));
  EXPECT_FALSE(Enter(0, "200"));
  EXPECT_EQ(s.WindHeight, 12.0f);
  EXPECT_EQ(s.AirTempC, 25.0f);
  EXPECT_EQ(s.Longitude, 100.0f);
}

TEST_F(BoxRefusals, ReleaseHeightZeroOnlyRefusedForStack) {
  ContinuousDefaults();
  EXPECT_TRUE(Enter(19, "0"));
  w.SetListIndex(4, 0);
  EXPECT_TRUE(Enter(19, "0"));
  w.SetListIndex(4, 2);
  EXPECT_FALSE(Enter(19, "0"));
  EXPECT_EQ(OnlyMessage(), "无效!");
  EXPECT_TRUE(Enter(19, "30"));
}

TEST_F(BoxRefusals, DisabledReleaseHeightAndFlowAreNotChecked) {
  w.Text1[19].Enabled = false;
  w.Text1[21].Enabled = false;
  EXPECT_TRUE(Enter(19, " -5 "));
  EXPECT_TRUE(Enter(21, " 0 "));
  EXPECT_EQ(w.Text1[19].Text, " -5 ");  // not even trimmed
  EXPECT_EQ(w.Text1[21].Text, " 0 ");
}

TEST_F(BoxRefusals, ThresholdOnlyFirstValueChecked) {
  EXPECT_TRUE(Enter(25, "5,0"));
  EXPECT_FALSE(Enter(25, "0,5"));
}

// Values beyond the 32-bit range are refused with the box's own message, or
// "无效!" where the box has none.
TEST_F(BoxRefusals, NumbersBeyondSingleRange) {
  ContinuousDefaults();
  const Refusal cases[] = {
      {0, "1e39", "无效!"},     {1, "-1e39", "无效!"},      {4, "1e39", "无效!"},
      {5, "1e39", "无效!"},     {6, "1e39", "不能小于1m!"},  {7, "-1e39", "不能大于180 度!"},
      {8, "-1e39", "无效!"},    {9, "1e39", "有效范围[1,60]!"}, {10, "1e39", "有效范围[-50,60]!"},
      {11, "1e39", "有效范围[0,10]!"}, {12, "-1e39", "无效!"}, {13, "1e39", "无效!"},
      {14, "1e39", "无效!"},    {15, "1D39", "无效!"},       {16, "1e39", "无效!"},
      {17, "1e39", "无效!最小为1"}, {18, "1e39", "无效!"},   {19, "1e39", "无效!"},
      {20, "1e39", "无效!"},    {21, "1e39", "无效!"},       {22, "1e39", "不可小于 1 min!"},
      {23, "1e39", "无效!"},    {24, "-1e39", "无效!"},      {25, "1e39,2", "无效!"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " <- " + c.text);
    EXPECT_FALSE(Enter(c.box, c.text));
    EXPECT_EQ(OnlyMessage(), c.message);
    EXPECT_EQ(w.Focus, BoxFocus(c.box));
  }
  // The largest single still passes.
  EXPECT_TRUE(Enter(4, "3.4e38"));
  EXPECT_EQ(s.GroundElevation, 3.4e38f);
}

TEST_F(BoxRefusals, InstantaneousDurationIgnoresItsValue) {
  // Mode 1 replaces the duration by 15 s whatever the box holds.
  EXPECT_TRUE(Enter(13, "1e39"));
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
}

using NormalisedTexts = MainWindowTest;

struct Accepted {
  int box;
  const char* typed;
  const char* shown;
};

TEST_F(NormalisedTexts, TextsWrittenBack) {
  const Accepted cases[] = {
      {0, "119.5w", "119.5W"},   {0, "-119.5", "119.5W"},   {0, "120.10E", "120.1E"},
      {0, " 98.57 W ", "98.57W"}, {1, "-30", "30S"},        {1, "30.20N", "30.2N"},
      {1, "45s", "45S"},          {2, "2017-7-1", "2017/07/01"}, {3, "8:05:09", "08:05:09"},
      {4, " 100.50 ", "100.5"},   {5, "-10", "350"},         {5, "2.5", "2"},
      {5, "3.5", "4"},            {5, "359.6", "0"},         {5, "725", "5"},
      {5, "-0.4", "0"},           {6, " 10 m", "10 m"},      {7, "0", "0"},
      {7, "-5.0", "-5"},          {8, "0.2", "0.5"},         {8, "", "0.5"},
      {8, "3.0", "3.0"},          {9, "15.0", "15"},         {10, "20.00", "20"},
      {11, "2.5", "2"},           {11, "10.4", "10"},        {11, "3.5", "4"},
      {12, "-5", "0"},            {12, "10000", "10000"},    {14, " 32 ", "32"},
      {25, " 5，2/10 ", "5，2/10"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(std::to_string(c.box) + " <- " + c.typed);
    EXPECT_TRUE(Enter(c.box, c.typed));
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(w.Text1[c.box].Text, c.shown);
  }
}

TEST_F(NormalisedTexts, StoredValues) {
  ASSERT_TRUE(Enter(0, "119.5w"));
  EXPECT_EQ(s.Longitude, -119.5f);
  ASSERT_TRUE(Enter(0, "-119.5"));
  EXPECT_EQ(s.Longitude, -119.5f);
  ASSERT_TRUE(Enter(1, "-30"));
  EXPECT_EQ(s.Latitude, -30.0f);
  ASSERT_TRUE(Enter(2, "2017/7/1 10:00:00"));
  EXPECT_EQ(s.ReleaseDate, "2017/07/01");
  ASSERT_TRUE(Enter(3, "2017/7/1 10:20:30"));
  EXPECT_EQ(s.ReleaseTime, "10:20:30");
  ASSERT_TRUE(Enter(5, "-10"));
  EXPECT_EQ(s.WindDirection, 350.0f);
  ASSERT_TRUE(Enter(6, "2.5"));
  EXPECT_EQ(s.WindHeight, 2.5f);
  ASSERT_TRUE(Enter(8, "0.2"));
  EXPECT_EQ(s.WindSpeed, 0.5f);
  ASSERT_TRUE(Enter(9, "30"));
  EXPECT_EQ(s.SigmaThetaTime, 30.0f);
  ASSERT_TRUE(Enter(10, "-12.5"));
  EXPECT_EQ(s.AirTempC, -12.5f);
  EXPECT_EQ(s.AirTempK, static_cast<float>(-12.5 + 273.16));
  // Kelvin comes from the entered value, rounded once: -16.3 + 273.16 =
  // 256.86 is stored as the float nearest 256.86, 256.859985 (adding 273.16
  // to the float -16.3 = -16.2999992 would give 256.860016 instead).
  ASSERT_TRUE(Enter(10, "-16.3"));
  EXPECT_EQ(s.AirTempK, 256.859985f);
  EXPECT_NE(s.AirTempK, 256.860016f);
  ASSERT_TRUE(Enter(11, "10.4"));
  EXPECT_EQ(s.CloudCover, 10);
  ASSERT_TRUE(Enter(11, "2.5"));
  EXPECT_EQ(s.CloudCover, 2);
  ASSERT_TRUE(Enter(12, "-5"));
  EXPECT_EQ(s.InversionBase, 0.0f);
  EXPECT_EQ(s.MixingHeight, 0.0f);
  ASSERT_TRUE(Enter(12, "850"));
  EXPECT_EQ(s.MixingHeight, 850.0f);
}

TEST_F(NormalisedTexts, SigmaThetaEnablesItsAveragingTime) {
  ASSERT_TRUE(Enter(7, "0"));
  EXPECT_EQ(s.SigmaThetaFlag, 1);
  EXPECT_FALSE(w.Text1[9].Enabled);
  ASSERT_TRUE(Enter(7, "12.5"));
  EXPECT_EQ(s.SigmaThetaFlag, 2);
  EXPECT_EQ(s.SigmaTheta, 12.5f);
  EXPECT_TRUE(w.Text1[9].Enabled);
  ASSERT_TRUE(Enter(7, "-3"));
  EXPECT_EQ(s.SigmaThetaFlag, 1);
  EXPECT_FALSE(w.Text1[9].Enabled);
}

TEST_F(NormalisedTexts, ReleaseDurationInMinutes) {
  // Instantaneous (after start): always 15 s.
  ASSERT_TRUE(Enter(13, "99"));
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  // Continuous in seconds: value / 60; the text stays as typed (trimmed).
  w.SetListIndex(4, 1);
  w.SetListIndex(5, 1);
  ASSERT_TRUE(Enter(13, " 90 "));
  EXPECT_EQ(w.Text1[13].Text, "90");
  EXPECT_EQ(s.ReleaseDuration, 1.5f);
  w.SetListIndex(5, 0);
  ASSERT_TRUE(Enter(13, "7"));
  EXPECT_EQ(s.ReleaseDuration, 7.0f);
}

TEST_F(NormalisedTexts, CloudCoverSetsCloudTypeList) {
  s.DayNightFlag = "Y";
  ASSERT_TRUE(Enter(11, "5"));
  EXPECT_TRUE(w.Combo1[3].Enabled);
  ASSERT_TRUE(Enter(11, "0.4"));  // rounds to 0
  EXPECT_FALSE(w.Combo1[3].Enabled);
  s.DayNightFlag = "N";
  ASSERT_TRUE(Enter(11, "5"));
  EXPECT_FALSE(w.Combo1[3].Enabled);
}

using ListHandlers = MainWindowTest;

TEST_F(ListHandlers, RoughnessConfinedByValueOnLeaving) {
  const Accepted cases[] = {
      {0, "0.2", "0.5 cm"},   {0, "150", "100 cm"},     {0, "-50", "0.5 cm"},
      {0, "0", "0.5 cm"},     {0, "abc", "0.5 cm"},     {0, "  25 cm  ", "25 cm"},
      {0, "100", "100"},      {0, "0.5", "0.5"},        {0, "1e39", "100 cm"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.typed);
    w.Combo1[0].Text = c.typed;
    w.Combo1_LostFocus(0);
    EXPECT_EQ(w.Combo1[0].Text, c.shown);
  }
  // Other lists are left alone.
  w.Combo1[1].Text = "x";
  w.Combo1_LostFocus(1);
  EXPECT_EQ(w.Combo1[1].Text, "x");
}

TEST_F(ListHandlers, MolecularWeightGovernsThresholdUnit) {
  w.SetListIndex(8, 1);
  EXPECT_TRUE(w.Combo1[8].Enabled);
  w.SetText1(14, "0");
  EXPECT_FALSE(w.Combo1[8].Enabled);
  EXPECT_EQ(w.Combo1[8].ListIndex, 0);
  EXPECT_EQ(w.Combo1[8].Text, "mg/m3");
  w.SetText1(14, "46 g/mol");
  EXPECT_TRUE(w.Combo1[8].Enabled);
  EXPECT_EQ(w.Combo1[8].ListIndex, 0);  // enabling does not choose
}

TEST_F(ListHandlers, PointSeriesBoxFollowsCheck) {
  EXPECT_FALSE(w.Text2.Enabled);
  w.SetCheck(1);
  EXPECT_TRUE(w.Text2.Enabled);
  w.SetCheck(0);
  EXPECT_FALSE(w.Text2.Enabled);
}

TEST_F(ListHandlers, ListClicksQuietWhileBusy) {
  std::string before = w.Label1[18].Caption;
  w.Busy = true;
  w.SetListIndex(4, 2);
  EXPECT_EQ(w.Label1[18].Caption, before);
  EXPECT_EQ(s.ReleaseMode, 0);
  w.Busy = false;
  w.SetListIndex(4, 1);
  EXPECT_EQ(w.Label1[18].Caption, "物质泄漏速率,及单位：");
  EXPECT_EQ(s.ReleaseMode, 2);
}

TEST_F(ListHandlers, OnlyReleaseModeUnitAndSubstanceListsRefresh) {
  std::string before = w.Label1[18].Caption;
  w.SetListIndex(1, 2);
  w.SetListIndex(3, 1);
  w.SetListIndex(7, 1);
  w.SetListIndex(8, 1);
  EXPECT_EQ(w.Label1[18].Caption, before);
  EXPECT_EQ(s.ReleaseMode, 0);
}

TEST_F(ListHandlers, DefinedSubstanceFillsBoxes) {
  DefineSubstance("AMMONIA", 17.03f, 239.8f);
  s.Chemicals[1].Params[6] = 7500;  // vapour pressure as a single constant (mmHg)
  s.Chemicals[1].TwaMg = 0;
  s.Chemicals[1].StelMg = 10;
  w.SetText1(25, "0");
  w.SetListIndex(6, 1);
  EXPECT_EQ(s.ChemicalIndex, 1);
  EXPECT_EQ(w.Text1[14].Text, "17.03");
  EXPECT_EQ(w.Text1[15].Text, "7500");
  EXPECT_EQ(w.Text1[25].Text, "10");
}

TEST_F(ListHandlers, EnteredThresholdNeverReplaced) {
  DefineSubstance("AMMONIA", 17.03f, 239.8f);
  s.Chemicals[1].StelMg = 10;
  w.SetText1(25, "2");
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Text1[25].Text, "2");
}

TEST_F(ListHandlers, ThresholdCandidateFollowsUnit) {
  DefineSubstance("AMMONIA", 17.03f, 239.8f);
  s.Chemicals[1].TwaPpm = 25;
  s.Chemicals[1].StelPpm = 35;
  s.Chemicals[1].TwaMg = 18;
  w.SetListIndex(8, 1);
  w.SetText1(25, "0");
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Text1[25].Text, "25");
  // In mg/m3 the TWA in mg/m3 is preferred to the STEL.
  w.SetListIndex(6, 0);
  w.SetListIndex(8, 0);
  w.SetText1(25, "0");
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Text1[25].Text, "18");
}

TEST_F(ListHandlers, VapourPressureCorrelationNotCopied) {
  DefineSubstance("X", 50, 350);
  s.Chemicals[1].Params[6] = 7.5f;
  s.Chemicals[1].Params[7] = 1500;  // a correlation, not a single pressure
  w.SetText1(15, "0");
  w.SetListIndex(6, 1);
  EXPECT_EQ(w.Text1[15].Text, "0");
  EXPECT_EQ(w.Text1[14].Text, "50");
}

}  // namespace
}  // namespace zelto::testing
