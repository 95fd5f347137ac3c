// Input preparation before a computation: release amount, duration and
// averaging-time checks, pool area, ppm factor, thresholds and receptor
// points, with the silent repairs written back into their boxes.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/TextConv.h"
#include "ui/InputRules.h"

namespace zelto::testing {
namespace {

class Prepare : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ContinuousDefaults();
  }
  bool Run() {
    rec.messages.clear();
    w.Focus = FocusId{};
    return w.PrepareInputs();
  }
  // A liquid of constant density (g/cm3) boiling above the air temperature.
  void DefineLiquid(const std::string& name, float density) {
    DefineSubstance(name, 100, 400);
    s.Chemicals[1].Params[3] = 600;      // critical temperature, K
    s.Chemicals[1].Params[6] = 20;       // vapour pressure, mmHg
    s.Chemicals[1].Params[9] = density;  // density constant A (B = 0: constant)
    w.SetListIndex(6, 1);
  }
};

TEST_F(Prepare, DefaultsPass) {
  EXPECT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_FALSE(w.Busy);
  EXPECT_EQ(s.ReleaseMode, 2);
  EXPECT_EQ(s.ReleaseDuration, 10.0f);
  EXPECT_EQ(s.ReleaseRate, 10000.0f);    // 10 kg/min
  EXPECT_EQ(s.ReleaseMass, 100000.0f);   // over 10 min
  EXPECT_EQ(s.AirPressure, static_cast<float>(1013.25 - 100 * 0.1148));
  EXPECT_EQ(s.MolecularWeight, 32.0f);
  EXPECT_EQ(s.PpmFactor, 0.7603572f);  // 28.966*2870400*293.16/(32*1001.77*1e6)
  EXPECT_FALSE(s.IsLiquid);            // no vapour pressure typed
  EXPECT_EQ(s.Targets.ThresholdCount, 1);
  EXPECT_EQ(s.Targets.PointCount, 0);
  EXPECT_EQ(s.Targets.PointText, "");
}

TEST_F(Prepare, InstantaneousTenKilograms) {
  w.SetListIndex(4, 0);
  w.SetText1(13, "3");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.ReleaseDuration, 0.25f);
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(s.ReleaseMass, 10000.0f);
  EXPECT_EQ(s.ReleaseRate, 40000.0f);
}

TEST_F(Prepare, FifteenSecondsRefusedSixteenAccepted) {
  w.SetListIndex(5, 1);
  w.SetText1(13, "15");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "非瞬时泄漏，泄漏时长必须大于15s!");
  EXPECT_EQ(w.Focus, BoxFocus(13));
  w.SetText1(13, "16");
  EXPECT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.ReleaseDuration, static_cast<float>(16.0 / 60.0));
}

TEST_F(Prepare, ZeroDurationRefused) {
  w.SetText1(13, "0");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "非瞬时泄漏，泄漏时长必须大于15s!");
}

TEST_F(Prepare, VolumeUnitUsesLiquidDensity) {
  DefineLiquid("OIL", 0.8f);
  w.SetListIndex(7, 1);
  ASSERT_EQ(w.Combo1[7].Text, "m3/min");
  w.SetText1(16, "2");
  Run();  // the evaporation stage may or may not accept this liquid
  EXPECT_EQ(s.LiquidDensity, 0.8f);
  EXPECT_EQ(s.ReleaseRate, 1600000.0f);  // 2 m3/min * 1e6 cm3/m3 * 0.8 g/cm3
  EXPECT_TRUE(s.IsLiquid);
  EXPECT_EQ(s.VaporPressA, 20.0f);  // the substance's constant, not box 15
}

TEST_F(Prepare, PoolAreaRoundedHalfToEven) {
  w.SetText1(17, "2.125");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.PoolArea, 2.12f);
  EXPECT_EQ(w.Text1[17].Text, "2.12");
}

TEST_F(Prepare, AveragingTimeLongerThanRelease) {
  w.SetText1(22, "15");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "泄漏(或液体蒸发）总时长为10(min),浓度平均时间不可超过10(min)");
  EXPECT_EQ(w.Focus, BoxFocus(22));
}

TEST_F(Prepare, AveragingTimeOneAcceptedForShortRelease) {
  w.SetText1(13, "0.5");
  w.SetText1(22, "1");
  EXPECT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.AveragingTime, 1.0f);
  w.SetText1(22, "2");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "泄漏(或液体蒸发）总时长为0.5(min),浓度平均时间不可超过1(min)");
}

TEST_F(Prepare, ThresholdsNormalisedAndSorted) {
  w.SetText1(25, "5，2/10");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.Targets.ThresholdText, "5,2,10");
  EXPECT_EQ(s.Targets.ThresholdCount, 3);
  EXPECT_EQ(s.Targets.Thresholds, (std::vector<float>{0, 2, 5, 10}));
  EXPECT_EQ(w.Text1[25].Text, "5，2/10");  // the box keeps its text
}

TEST_F(Prepare, ThresholdThatIsNoSingleRefused) {
  // The box check sees 1e-50 > 0, but as a list item it reads as 0.
  w.SetText1(25, "1e-50");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "廓线的阈值无效!");
  EXPECT_EQ(w.Focus, BoxFocus(25));
}

TEST_F(Prepare, PpmThresholdsConverted) {
  // A settings file restores list 8 after box 14, so ppm can stand with no
  // molecular weight; the factor then keeps its previous value.
  w.SetText1(14, "0");
  w.SetListIndex(8, 1);
  s.PpmFactor = 0.5f;
  w.SetText1(25, "4,1");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(s.PpmFactor, 0.5f);
  EXPECT_EQ(s.Targets.Thresholds, (std::vector<float>{0, 2, 8}));
  EXPECT_EQ(s.Targets.ThresholdText, "2,8");
}

TEST_F(Prepare, PpmWithoutFactorRefused) {
  w.SetText1(14, "0");
  w.SetListIndex(8, 1);
  s.PpmFactor = 0;
  w.SetText1(25, "1,4");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "阈值单位为ppm时，须输入大于0的物质分子量，才能换算为mg/m3!");
  EXPECT_EQ(w.Focus, BoxFocus(25));
  EXPECT_EQ(s.Targets.Thresholds, (std::vector<float>{0, 1, 4}));  // sorted, not divided
}

TEST_F(Prepare, PpmWithMolecularWeight) {
  w.SetListIndex(8, 1);
  w.SetText1(25, "1");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  // 1 ppm / 0.7603572 ppm per mg/m3
  EXPECT_EQ(s.Targets.Thresholds[1], static_cast<float>(1.0 / 0.7603572f));
  EXPECT_EQ(s.Targets.ThresholdText, FormatGeneral(static_cast<float>(1.0 / 0.7603572f)));
}

TEST_F(Prepare, NitrogenTetroxideDoublesFactor) {
  DefineSubstance("NITROGEN TETROXIDE", 92.011f, 250);
  w.SetListIndex(6, 1);
  ASSERT_EQ(w.Text1[14].Text, "92.011");
  Run();
  EXPECT_EQ(s.PpmFactor, 0.5288809f);  // 2 * 0.26444045
  DefineSubstance("Nitrogen Tetroxide", 92.011f, 250);
  w.SetListIndex(6, 0);
  w.SetListIndex(6, 1);
  Run();
  EXPECT_EQ(s.PpmFactor, 0.26444045f);
}

TEST_F(Prepare, PointLinesRepaired) {
  w.SetCheck(1);
  w.Text2.Text = "5,0,-1,0\r\n200,10,2\r\n";
  w.SetText1(23, "10");
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(w.Text2.Text, "10,0,0,10\r\n200,10,2,10");
  EXPECT_EQ(s.Targets.PointCount, 2);
  EXPECT_EQ(s.Targets.PointText, "5,0,-1,0\r\n200,10,2\r\n");  // only blanks trimmed
  EXPECT_EQ(s.Targets.Points[1], (PointRow{0, 10, 0, 0, 10, 0}));
  EXPECT_EQ(s.Targets.Points[2], (PointRow{0, 200, 10, 2, 10, 0}));
}

TEST_F(Prepare, PointTimeFollowsPreviousPoint) {
  w.SetCheck(1);
  w.Text2.Text = "100,0,2,30\r\n500,0,2\r\n1000,5,2,-1";
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(w.Text2.Text, "100,0,2,30\r\n500,0,2,30\r\n1000,5,2,30");
}

TEST_F(Prepare, EmptyPointListRefused) {
  w.SetCheck(1);
  w.Text2.Text = "  \r\n ";
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(),
            "系列计算点：每一行输入一个计算点定义，格式为（X,Y,Z,T)，其中X和Y为顺风和横风向坐标，Z为离地高，"
            "T为预测时刻(min)。以逗号分隔");
  EXPECT_EQ(w.Focus, (FocusId{ControlKind::Text2, 0}));
}

TEST_F(Prepare, BoxRefusalStopsAndClearsBusy) {
  w.SetText1(6, "0.5");
  w.SetText1(10, "99");
  EXPECT_FALSE(Run());
  EXPECT_EQ(OnlyMessage(), "不能小于1m!");  // the first refused box only
  EXPECT_EQ(w.Focus, BoxFocus(6));
  EXPECT_FALSE(w.Busy);
  // Later edits refresh the display again.
  w.SetListIndex(4, 2);
  EXPECT_EQ(s.ReleaseMode, 3);
}

TEST_F(Prepare, RoughnessConfinedWhenRead) {
  w.Combo1[0].Text = "-50";
  ASSERT_TRUE(Run()) << (rec.messages.empty() ? "" : rec.messages[0]);
  EXPECT_EQ(w.Combo1[0].Text, "0.5 cm");
  EXPECT_EQ(s.Roughness, 0.5f);
  EXPECT_EQ(s.DispersionRoughness, 0.5f);
  w.SetListIndex(0, 1);
  ASSERT_TRUE(Run());
  EXPECT_EQ(s.Roughness, 3.0f);
  w.SetListIndex(0, 2);  // an item with trailing blanks is read, not rewritten
  ASSERT_TRUE(Run());
  EXPECT_EQ(s.Roughness, 10.0f);
  EXPECT_EQ(w.Combo1[0].Text, w.Combo1[0].Items[2]);
  w.Combo1[0].Text = "  250 cm";
  ASSERT_TRUE(Run());
  EXPECT_EQ(w.Combo1[0].Text, "100 cm");
  EXPECT_EQ(s.Roughness, 100.0f);
}

TEST_F(Prepare, SurfaceParameters) {
  w.SetListIndex(1, 2);
  w.SetListIndex(2, 2);  // snow
  w.SetListIndex(3, 1);  // middle cloud
  w.SetText1(10, "10");
  Run();
  EXPECT_EQ(s.GroundType, 3);
  EXPECT_EQ(s.GroundMoisture, 3);
  EXPECT_EQ(s.CloudType, 2);
  EXPECT_EQ(s.CloudTypeFactor, 0.26f);
  EXPECT_EQ(s.Albedo, 0.75f);
  EXPECT_EQ(s.MoistureFactor, 1.0f);
  EXPECT_EQ(s.NetRadiationFactor, 0.0f);

  w.SetText1(10, "20");  // snow at 20 deg C counts as wet ground
  Run();
  EXPECT_EQ(s.Albedo, 0.23f);
  EXPECT_EQ(s.MoistureFactor, 1.0f);
  EXPECT_EQ(s.NetRadiationFactor, 0.12f);

  w.SetListIndex(2, 0);  // dry
  w.SetListIndex(3, 2);
  Run();
  EXPECT_EQ(s.CloudTypeFactor, 0.17f);
  EXPECT_EQ(s.Albedo, 0.23f);
  EXPECT_EQ(s.MoistureFactor, 0.45f);
  EXPECT_EQ(s.NetRadiationFactor, 0.25f);
}

TEST_F(Prepare, StackValuesRepaired) {
  w.SetListIndex(4, 2);
  w.SetText1(19, "0.5");
  w.SetText1(20, "150");
  w.SetText1(21, "12.50");
  Run();
  EXPECT_EQ(s.StackHeight, 1.0f);
  EXPECT_EQ(s.StackGasTemperature, static_cast<float>(150 + 273.15));
  EXPECT_EQ(s.StackFlowRate, 12.5f);
  EXPECT_EQ(w.Text1[21].Text, "12.5");
  EXPECT_EQ(s.VaporPressA, 0.0f);
  EXPECT_FALSE(s.IsLiquid);
}

TEST_F(Prepare, StackGasTemperatureRoundedOnceFromTheTypedValue) {
  // 300.7 + 273.15 = 573.85, nearest single 573.849976. Rounding the typed
  // value to single first (300.700012) would give 573.850012, stored 573.850037.
  w.SetListIndex(4, 2);
  w.SetText1(19, "30");
  w.SetText1(20, "300.7");
  Run();
  EXPECT_EQ(s.StackGasTemperature, 573.849976f);
  EXPECT_NE(s.StackGasTemperature, 573.850037f);
}

TEST_F(Prepare, TemporaryLiquidDecision) {
  w.SetText1(15, "100");
  Run();
  EXPECT_EQ(s.VaporPressA, 100.0f);
  // Decided before the evaporation stage; that stage may clear it later.
  EXPECT_EQ(s.ChemicalIndex, 0);
  w.SetText1(14, "0");
  Run();
  EXPECT_FALSE(s.IsLiquid);  // no molecular weight: a gas
}

// ---- Estimate button ----

using PoolEstimate = Prepare;

TEST_F(PoolEstimate, FromInstantaneousMass) {
  w.SetListIndex(4, 0);
  w.SetText1(16, "50");
  w.SetText1(17, "7");
  w.Command1_Click(1);
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_EQ(s.ReleaseMass, 50000.0f);
  EXPECT_EQ(s.PoolArea, 5.0f);  // 50000 g / 1 g/cm3 * 1e-4 m2/cm3
  EXPECT_EQ(w.Text1[17].Text, "5");
}

TEST_F(PoolEstimate, SmallAmountFloorsAtOne) {
  w.SetListIndex(4, 0);
  w.SetText1(16, "5");  // 5000 g -> 0.5 m2 -> 1
  w.Command1_Click(1);
  EXPECT_EQ(w.Text1[17].Text, "1");
  w.SetText1(16, "10");  // 10000 g -> 1 m2
  w.Command1_Click(1);
  EXPECT_EQ(s.PoolArea, 1.0f);
}

TEST_F(PoolEstimate, LongReleaseUsesTenMinutes) {
  w.SetText1(13, "20");
  w.SetText1(16, "3");  // 3000 g/min * 10 min = 30000 g -> 3 m2
  w.Command1_Click(1);
  EXPECT_EQ(w.Text1[17].Text, "3");
  w.SetText1(13, "10");  // not above 10 min: the whole 30000 g
  w.Command1_Click(1);
  EXPECT_EQ(w.Text1[17].Text, "3");
  w.SetText1(13, "5");  // 15000 g -> 1.5 m2
  w.Command1_Click(1);
  EXPECT_EQ(w.Text1[17].Text, "1.5");
}

TEST_F(PoolEstimate, NoAmountRefused) {
  w.SetText1(16, "0");
  w.SetText1(17, "7");
  w.Command1_Click(1);
  EXPECT_EQ(OnlyMessage(), "无效！");
  EXPECT_EQ(w.Focus, BoxFocus(16));
  EXPECT_EQ(w.Text1[17].Text, "7");
}

}  // namespace
}  // namespace zelto::testing
