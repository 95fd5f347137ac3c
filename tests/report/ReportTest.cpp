// Report layout: every expected line below is written by hand from the report
// layout (literal texts, number forms, fixed-width columns), never copied from
// the program's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <fstream>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "report/Report.h"
#include "report/WholeFile.h"

namespace zelto {
namespace {

// Splits the report at CR LF; the report starts with CR LF, so element 0 is "".
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += "\r\n" + l;
  return out;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Index of a line, or -1.
int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  auto it = std::find(lines.begin(), lines.end(), line);
  return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

// Independent UTF-16 length of UTF-8 text: one unit per character, two for
// characters beyond U+FFFF (4-byte sequences).
size_t CodeUnits(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) n += (c >= 0xF0) ? 2 : 1;
  }
  return n;
}

void SetThresholds(ModelState& s, const std::vector<float>& values) {
  s.Targets.ThresholdCount = static_cast<int16_t>(values.size());
  s.Targets.Thresholds.assign(1, 0.0f);
  s.Targets.Thresholds.insert(s.Targets.Thresholds.end(), values.begin(), values.end());
  const size_t n = values.size() + 1;
  s.ContourPointCount.assign(n, 0);
  s.ContourX.assign(n, std::vector<float>(1, 0.0f));
  s.ContourHalfWidth.assign(n, std::vector<float>(1, 0.0f));
  s.ContourAxisConc.assign(n, std::vector<float>(1, 0.0f));
  s.MaxHalfWidth.assign(n, 0.0f);
  s.MaxHalfWidthX.assign(n, 0.0f);
}

void SetContour(ModelState& s, int i, const std::vector<float>& xs, float maxHalf, float maxHalfX) {
  s.ContourPointCount[i] = static_cast<int16_t>(xs.size());
  s.ContourX[i].assign(1, 0.0f);
  s.ContourX[i].insert(s.ContourX[i].end(), xs.begin(), xs.end());
  s.ContourHalfWidth[i].assign(xs.size() + 1, 1.0f);
  s.ContourAxisConc[i].assign(xs.size() + 1, 1.0f);
  s.MaxHalfWidth[i] = maxHalf;
  s.MaxHalfWidthX[i] = maxHalfX;
}

// A continuous chlorine gas release by day, two thresholds both reached.
ModelState BaseState() {
  ModelState s;
  InitConstants(s);
  s.Longitude = 116.4f;
  s.Latitude = 39.9f;
  s.ReleaseDate = "2024/05/01";
  s.ReleaseTime = "10:00:00";
  s.LocalDateText = "2024/05/01";
  s.LocalTimeText = "09:00:00";
  s.TimeDifference = 7.76f;
  s.DayNightFlag = "Y";
  s.SolarElevation = 45.5f;  // halves to even: 46
  s.CloudCover = 3;
  s.CloudType = 2;
  s.MixingHeight = 10000.0f;
  s.WindSpeed10m = 3.2f;
  s.AirTempC = 20.0f;
  s.AirPressure = 1013.25f;
  s.DispersionRoughness = 3.0f;
  s.GroundElevation = 0.0f;
  s.StabilityText = "中性";
  s.HorizontalStability = 4.0f;
  s.VerticalStability = 4.0f;
  s.ReleaseMode = 2;
  s.ReleaseRate = 60000.0f;
  s.ReleaseMass = 600000.0f;
  s.ReleaseDuration = 10.0f;
  s.ChemicalName = "氯气";
  s.IsLiquid = false;
  s.SourceStrength = 60000.0f;
  s.EvapRate = 60000.0f;
  s.AveragingTime = 10.0f;
  s.PredictionTime = 10.0f;
  s.ReceptorHeight = 0.0f;
  s.Targets.ThresholdText = "10,50";
  SetThresholds(s, {10.0f, 50.0f});
  SetContour(s, 1, {12.4f, 300.0f, 1520.5f}, 85.5f, 640.2f);
  SetContour(s, 2, {20.0f, 800.0f}, 30.25f, 400.5f);
  s.HazardDistance = 1520.5f;
  s.HazardTime = 10.0f;
  s.ZoneLength = 1700.4f;
  s.ZoneAngle = 37.5f;
  s.ContourText = " \r\n \r\n浓度 (mg/m3) =10:  预测时刻 (min) =10\r\n";
  return s;
}

ReportControls BaseControls() { return {"泥地", "干", "10", "分钟"}; }

std::string Build(const ModelState& s, MessageRecorder& rec,
                  const std::string& summary = "最大浓度 A\r\n最大浓度 B",
                  const std::string& path = "/opt/zelto/CONCXY.DAT") {
  return BuildReport(s, summary, BaseControls(), path, rec);
}

std::vector<std::string> BuildLines(const ModelState& s) {
  MessageRecorder rec;
  return Lines(Build(s, rec));
}

TEST(ReportLayout, WholeReportOfAContinuousGasReleaseByDay) {
  ModelState s = BaseState();
  MessageRecorder rec;
  const std::string report = Build(s, rec);
  const std::vector<std::string> expected = {
      "(一）输入参数",
      "",
      "（1）环境及气象参数",
      "经度/纬度：116.4E/39.9N",
      "北京时间：2024/05/01 10:00:00",
      "当地时间：2024/05/01 09:00:00",
      "当地时间与格林威治时差：7.76",
      "当前时间在当地为白天",
      "太阳高度角为:46 (度)",
      "云盖度[10分制]为:3",
      "    主导云类型为 MIDDLE (Ac, As, Sc, Cu)",
      "地表类型：泥地 + 干",
      "无逆温层",
      "10m高风速(m/s)： 3.2",
      "环境气温 ( ℃)： 20",
      "环境气压  (Pa)： 101325",
      "地表粗糙度(cm)： 3",
      "地面高程   (m)： 0",
      "大气稳定度为： 中性",
      "大气稳定度等级：4.0",
      "",
      "（2）泄漏参数",
      "短时或持续泄漏",
      "    泄漏时长:10分钟",
      "    泄漏速率:60 kg/min",
      "    泄漏总量:600 kg",
      "污染物名称：氯气",
      "当前环境下，泄漏物质为气体",
      "",
      "扩散计算的实际源强：60000 g/min",
      "实际源强的排放时长：10 min",
      "",
      "（3）计算参数",
      "计算平均时间：10 min",
      "预测时刻：10 min",
      "预测点离地高度：0 m",
      "计算廓线的阈值(mg/m3)：10,50",
      "计算廓线的阈值个数：2",
      "",
      "------------------------------------------------------------------------",
      "",
      "(二）输出结果",
      "",
      "（1）给定高度0 m和时间10 min下的最大浓度",
      "最大浓度 A\r\n最大浓度 B",
      "",
      "（2）给定系列点浓度",
      "    没有给定点",
      "",
      "（3）廓线数据",
      "    各阈值的廓线对应的位置",
      "    阈值(mg/m3)  X起点(m)  X终点(m) 最大半宽(m)  最大半宽对应X(m)",
      // 12.4 -> "12", 1520.5 -> "1521" (half away from zero), 85.5 -> "86", 640.2 -> "640"
      "    1.00E+01     12        1521      86            640     ",
      // 20, 800, 30.25 -> "30", 400.5 -> "401"
      "    5.00E+01     20        800       30            401     ",
      "",
      "    最小阈值为 1.00E+01(mg/m3)",
      "    最小阈值产生的最远距离 1521（m),发生时间为第10.00(min)",
      "    最小阈值的90%保证率危害区长度 1700(m), 宽度为38(度)",
      " \r\n \r\n浓度 (mg/m3) =10:  预测时刻 (min) =10\r\n",
  };
  EXPECT_EQ(report, Join(expected));
  EXPECT_EQ(report.substr(0, 2), "\r\n");
  EXPECT_TRUE(rec.messages.empty());
}

TEST(ReportLayout, HemisphereLetters) {
  ModelState s = BaseState();
  s.Longitude = -75.5f;
  s.Latitude = -33.9f;
  EXPECT_TRUE(Has(BuildLines(s), "经度/纬度：75.5W/33.9S"));
  s.Longitude = 0.0f;  // zero counts as east and north
  s.Latitude = 0.0f;
  EXPECT_TRUE(Has(BuildLines(s), "经度/纬度：0E/0N"));
  s.Longitude = 120.0f;
  s.Latitude = -0.5f;
  EXPECT_TRUE(Has(BuildLines(s), "经度/纬度：120E/0.5S"));
}

TEST(ReportLayout, DayAndNightLines) {
  ModelState s = BaseState();
  s.SolarElevation = 44.5f;  // halves to even: 44
  s.CloudCover = 0;
  auto day = BuildLines(s);
  int i = IndexOf(day, "当前时间在当地为白天");
  ASSERT_GT(i, 0);
  EXPECT_EQ(day[i + 1], "太阳高度角为:44 (度)");
  EXPECT_EQ(day[i + 2], "云盖度[10分制]为:0");
  EXPECT_EQ(day[i + 3], "地表类型：泥地 + 干");  // no cloud-type line with no cloud

  s.CloudCover = 10;
  s.CloudType = 1;
  EXPECT_TRUE(Has(BuildLines(s), "    主导云类型为 HIGH (Ci Cc, Cs)"));
  s.CloudType = 3;
  EXPECT_TRUE(Has(BuildLines(s), "    主导云类型为 LOW (St, Ns, Fog)"));
  s.CloudType = 0;  // an unknown type leaves the line with its label only
  EXPECT_TRUE(Has(BuildLines(s), "    主导云类型为 "));

  s.DayNightFlag = "N";
  s.CloudCover = 7;
  s.CloudType = 2;
  auto night = BuildLines(s);
  i = IndexOf(night, "当前时间在当地为夜间");
  ASSERT_GT(i, 0);
  EXPECT_EQ(night[i + 1], "云盖度[10分制]为:7");
  EXPECT_EQ(night[i + 2], "地表类型：泥地 + 干");
  EXPECT_EQ(IndexOf(night, "当前时间在当地为白天"), -1);

  s.DayNightFlag = "y";  // only an exact "Y" means day
  EXPECT_TRUE(Has(BuildLines(s), "当前时间在当地为夜间"));
}

TEST(ReportLayout, MixingHeightLines) {
  ModelState s = BaseState();
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "地表类型：泥地 + 干");
  EXPECT_EQ(lines[i + 1], "无逆温层");
  EXPECT_EQ(lines[i + 2], "10m高风速(m/s)： 3.2");

  s.MixingHeight = 300.0f;
  lines = BuildLines(s);
  i = IndexOf(lines, "地表类型：泥地 + 干");
  EXPECT_EQ(lines[i + 1], "逆温层底高为 300(m)");
  EXPECT_EQ(lines[i + 2], "10m高风速(m/s)： 3.2");

  s.MixingHeight = 500.0f;  // the boundary still prints the inversion line
  EXPECT_TRUE(Has(BuildLines(s), "逆温层底高为 500(m)"));

  s.MixingHeight = 800.0f;
  lines = BuildLines(s);
  i = IndexOf(lines, "地表类型：泥地 + 干");
  EXPECT_EQ(lines[i + 1], "10m高风速(m/s)： 3.2");
}

TEST(ReportLayout, MeanderingForms) {
  ModelState s = BaseState();
  s.HorizontalStability = 6.0f;
  s.VerticalStability = 6.0f;
  s.WindSpeed10m = 1.5f;
  s.StabilityText = "稳定";
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "大气稳定度为： 稳定");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    (烟羽弥散(meandering)可能发生)");
  EXPECT_EQ(lines[i + 2], "大气稳定度等级：6.0");
  EXPECT_EQ(lines[i + 3], "");

  // A 10 m wind of exactly 2 m/s does not meander.
  s.WindSpeed10m = 2.0f;
  lines = BuildLines(s);
  i = IndexOf(lines, "大气稳定度为： 稳定");
  EXPECT_EQ(lines[i + 1], "大气稳定度等级：6.0");

  // Horizontal below vertical: the five-space line always, then both values.
  s.HorizontalStability = 3.2f;
  s.VerticalStability = 4.0f;
  s.WindSpeed10m = 5.0f;
  lines = BuildLines(s);
  i = IndexOf(lines, "大气稳定度为： 稳定");
  EXPECT_EQ(lines[i + 1], "     (烟羽弥散(meandering)可能发生)");
  EXPECT_EQ(lines[i + 2], "水平稳定度参数：3.2");
  EXPECT_EQ(lines[i + 3], "垂直稳定度参数：4.0");
  EXPECT_EQ(lines[i + 4], "");

  // "#0.0" rounds halves away from zero: 2.25 -> 2.3, 0.5 -> 0.5.
  s.HorizontalStability = 2.25f;
  s.VerticalStability = 0.5f;
  lines = BuildLines(s);
  i = IndexOf(lines, "大气稳定度为： 稳定");
  EXPECT_EQ(lines[i + 1], "大气稳定度等级：2.3");
}

TEST(ReportLayout, InstantaneousReleaseAmount) {
  ModelState s = BaseState();
  s.ReleaseMode = 1;
  s.ReleaseMass = 10000.0f;
  s.ReleaseRate = 40000.0f;
  s.ReleaseDuration = 0.25f;
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "瞬时泄漏方式");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    泄漏量:10 kg");
  EXPECT_EQ(lines[i + 2], "污染物名称：氯气");
  EXPECT_TRUE(Has(lines, "实际源强的排放时长：0.25 min"));
}

TEST(ReportLayout, StackReleaseLines) {
  ModelState s = BaseState();
  s.ReleaseMode = 3;
  s.ReleaseRate = 1500.0f;
  s.ReleaseMass = 15000.0f;
  s.StackHeight = 30.0f;
  s.EffectivePlumeHeight = 75.75f;
  s.FinalRiseDistance = 1234.9f;
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "浮力气体从烟筒排出");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    泄漏时长:10分钟");
  EXPECT_EQ(lines[i + 2], "    泄漏速率:1.5 kg/min");
  EXPECT_EQ(lines[i + 3], "    泄漏总量:15 kg");
  EXPECT_EQ(lines[i + 4], "    烟筒高度:30(m)");
  EXPECT_EQ(lines[i + 5], "    抬升高度:45.75(m)");
  // whole parts, rounded down: 75.75 -> 75, 1234.9 -> 1234
  EXPECT_EQ(lines[i + 6], "    有效烟羽高度:75(m), 达到距离在下风1234(m)");
  EXPECT_EQ(lines[i + 7], "污染物名称：氯气");

  s.ReleaseMode = 0;  // an unknown mode writes no release lines
  lines = BuildLines(s);
  i = IndexOf(lines, "（2）泄漏参数");
  EXPECT_EQ(lines[i + 1], "污染物名称：氯气");
}

TEST(ReportLayout, LiquidLinesForEachEvaporationModel) {
  ModelState s = BaseState();
  s.IsLiquid = true;
  s.VosslerIndex = 0;
  s.MolecularDiameter = 3.5f;
  s.InteractionEnergy = 0.0f;
  s.VaporPressure = 0.123456f;
  s.VaporDensity = 0.00321f;
  s.EvapRate = 250.5f;
  s.ReleaseDuration = 10000.0f;
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "当前环境下，泄漏物质为液体");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    采用CLEWELL蒸发模型计算液体的蒸发速率。");
  EXPECT_EQ(lines[i + 2], "    当前环境下液体的蒸气压：1.2346E-01(atm)");
  EXPECT_EQ(lines[i + 3], "    计算出的物质蒸气密度为：3.2100E-03(g/cm3)");
  EXPECT_EQ(lines[i + 4], "    蒸发速率: 250.5 g/min");
  EXPECT_EQ(lines[i + 5], "    蒸发总时长: 10000 min");
  EXPECT_EQ(lines[i + 6], "");

  s.InteractionEnergy = 2.5f;
  EXPECT_TRUE(Has(BuildLines(s), "    采用SHELL蒸发模型计算液体的蒸发速率。"));
}

TEST(ReportLayout, VosslerPoolTemperatureAndMixtureDensity) {
  ModelState s = BaseState();
  s.IsLiquid = true;
  s.VosslerIndex = 1;
  s.PoolTemperature = 293.16f;  // K after the model: 20 deg C
  s.VaporDensity = 1.2f;        // kg/m3, printed as 1.2e-3 g/cm3
  s.EvapRate = 88.0f;
  s.ReleaseDuration = 75.5f;
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "当前环境下，泄漏物质为液体");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    采用Vossler蒸发模型计算液体的蒸发速率。");
  EXPECT_EQ(lines[i + 2], "    计算出的液池温度为：20度");
  EXPECT_EQ(lines[i + 3], "    计算出的物质蒸气密度为：1.2000E-03(g/cm3)");
  EXPECT_EQ(lines[i + 4], "    蒸发速率: 88 g/min");
  EXPECT_EQ(lines[i + 5], "    蒸发总时长: 75.5 min");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), lines[i + 3]), 1);

  // 300 K - 273.16 = 26.84 -> one decimal 26.8
  s.PoolTemperature = 300.0f;
  EXPECT_TRUE(Has(BuildLines(s), "    计算出的液池温度为：26.8度"));
}

TEST(ReportLayout, PointSevenLine) {
  ModelState s = BaseState();
  s.Targets.PointCount = 7;
  s.Targets.Points.assign(8, PointRow{0, 100, 0, 0, 10, 1});
  s.Targets.Points[7] = PointRow{0, 250.0f, -30.0f, 1.5f, 10.0f, 0.01234f};
  auto lines = BuildLines(s);
  EXPECT_TRUE(Has(lines, "需计算一系列点在特定时间的浓度，点数量为：7"));
  int i = IndexOf(lines, "    序号    X(m)    Y(m)    Z(m)    T(min)    C(mg/m3)");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "       1    100     0       0       10.00    1.00E+00 ");
  // 4 spaces; 3 spaces and 7; 4 spaces; 250 + 5; -30 + 5; 2 + 7 (1.5 away
  // from zero); 10.00 + 4; 1.23E-02 + 1.
  EXPECT_EQ(lines[i + 7], "       7    250     -30     2       10.00    1.23E-02 ");
  EXPECT_EQ(lines[i + 8], "");
  EXPECT_EQ(IndexOf(lines, "    没有给定点"), -1);
}

TEST(ReportLayout, PointNumbersKeepTheirLastFourCharacters) {
  ModelState s = BaseState();
  s.Targets.PointCount = 120;
  s.Targets.Points.assign(121, PointRow{0, 12345.6f, 0.4f, 0, 0.125f, 123456.0f});
  auto lines = BuildLines(s);
  // "   120" cut to its last four characters; 12345.6 -> 12346; 0.4 -> 0;
  // 0.125 -> 0.13 (away from zero); 123456 -> 1.23E+05.
  EXPECT_TRUE(Has(lines, "     120    12346   0       0       0.13     1.23E+05 "));
  EXPECT_TRUE(Has(lines, "      99    12346   0       0       0.13     1.23E+05 "));
}

TEST(ReportLayout, ThreeThresholdsSecondNeverReached) {
  ModelState s = BaseState();
  s.Targets.ThresholdText = "1,5,20";
  SetThresholds(s, {1.0f, 5.0f, 20.0f});
  SetContour(s, 1, {10.0f, 200.0f, 2500.0f, 4000.0f}, 120.0f, 1999.5f);
  s.ContourPointCount[2] = 0;
  SetContour(s, 3, {10.0f, 50.0f}, 5.0f, 30.0f);  // must not be printed
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "    阈值(mg/m3)  X起点(m)  X终点(m) 最大半宽(m)  最大半宽对应X(m)");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    1.00E+00     10        4000      120           2000    ");
  EXPECT_EQ(lines[i + 2], "    5.00E+00     此阈值及以上，无对应位置，因计算浓度均小于此阈值");
  EXPECT_EQ(lines[i + 3], "");
  EXPECT_EQ(lines[i + 4], "    最小阈值为 1.00E+00(mg/m3)");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("    2.00E+01", 0) == 0; }),
            0);
}

TEST(ReportLayout, LowestThresholdWithOnePointEndsAfterTheTable) {
  ModelState s = BaseState();
  SetContour(s, 1, {500.0f}, 0.0f, 500.0f);
  s.ContourPointCount[2] = -1;
  auto lines = BuildLines(s);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "    1.00E+01     500       500       0             500     ");
  EXPECT_EQ(lines.back(), "    5.00E+01     此阈值及以上，无对应位置，因计算浓度均小于此阈值");
  EXPECT_EQ(IndexOf(lines, "    最小阈值为 1.00E+01(mg/m3)"), -1);
}

TEST(ReportLayout, NoThresholdReachedEndsWithTheFirstLine) {
  ModelState s = BaseState();
  s.ContourPointCount[1] = 0;
  s.ContourPointCount[2] = 0;
  s.ContourText = "不应出现";
  auto lines = BuildLines(s);
  EXPECT_EQ(lines.back(), "    1.00E+01     此阈值及以上，无对应位置，因计算浓度均小于此阈值");
}

TEST(ReportLayout, HazardLimitNoteFollowsTheDistanceLine) {
  ModelState s = BaseState();
  s.HazardLimitReached = true;
  s.HazardDistance = 100000.0f;
  s.HazardTime = 10000.0f;
  auto lines = BuildLines(s);
  int i = IndexOf(lines, "    最小阈值产生的最远距离 100000（m),发生时间为第10000.00(min)");
  ASSERT_GT(i, 0);
  EXPECT_EQ(lines[i + 1], "    注意：已达到计算范围上限100km，最小阈值的实际危害距离可能更远。");
  EXPECT_EQ(lines[i + 2], "    最小阈值的90%保证率危害区长度 1700(m), 宽度为38(度)");

  s.HazardLimitReached = false;
  lines = BuildLines(s);
  i = IndexOf(lines, "    最小阈值产生的最远距离 100000（m),发生时间为第10000.00(min)");
  EXPECT_EQ(lines[i + 1], "    最小阈值的90%保证率危害区长度 1700(m), 宽度为38(度)");
}

TEST(ReportLayout, PressureAndReceptorLines) {
  ModelState s = BaseState();
  s.AirPressure = 1007.51f;  // 1013.25 - 0.1148 * 50 m, shown in Pa
  s.GroundElevation = 50.0f;
  s.ReceptorHeight = 1.5f;
  s.PredictionTime = 10000.0f;
  s.TimeDifference = -5.03f;
  auto lines = BuildLines(s);
  EXPECT_TRUE(Has(lines, "环境气压  (Pa)： 100751"));
  EXPECT_TRUE(Has(lines, "地面高程   (m)： 50"));
  EXPECT_TRUE(Has(lines, "预测点离地高度：1.5 m"));
  EXPECT_TRUE(Has(lines, "预测时刻：10000 min"));
  EXPECT_TRUE(Has(lines, "（1）给定高度1.5 m和时间10000 min下的最大浓度"));
  EXPECT_TRUE(Has(lines, "当地时间与格林威治时差：-5.03"));
}

// A long contour text, mostly Chinese (one UTF-16 unit each) with one
// character outside the basic plane (two units).
ModelState LongReportState(size_t chineseChars) {
  ModelState s = BaseState();
  std::string text = "😀";
  for (size_t k = 0; k < chineseChars; ++k) text += "浓";
  s.ContourText = text;
  return s;
}

TEST(ReportLimit, LongReportIsCutTo64000UnitsWithOneNotice) {
  const ModelState s = LongReportState(70000);
  MessageRecorder rec;
  const std::string report = Build(s, rec, "S", "/srv/out dir/CONCXY.DAT");
  ASSERT_EQ(rec.messages.size(), 1u);
  EXPECT_EQ(rec.messages[0],
            "计算结果中，廓线数据较多，这里只能显示部分数据。完整数据保存在'/srv/out "
            "dir/CONCXY.DAT'文件中。");
  EXPECT_EQ(CodeUnits(report), 64000u);
  // The cut keeps the beginning: the report up to the contour text is intact.
  ModelState shortState = BaseState();
  shortState.ContourText = "";
  MessageRecorder rec2;
  const std::string head = Build(shortState, rec2, "S", "x");
  EXPECT_EQ(report.substr(0, head.size()), head);
  EXPECT_EQ(report.substr(head.size(), 4), "😀");
  // Only whole characters: the text ends with a full "浓".
  EXPECT_EQ(report.substr(report.size() - 3), "浓");
}

TEST(ReportLimit, ReportOfExactly64000UnitsIsKept) {
  // Measure the report without contour text, then fill up to exactly 64000.
  ModelState s = BaseState();
  s.ContourText = "";
  MessageRecorder rec;
  const size_t head = CodeUnits(Build(s, rec));
  ASSERT_LT(head, 64000u);
  s.ContourText = std::string(64000 - head, 'x');
  std::string report = Build(s, rec);
  EXPECT_EQ(CodeUnits(report), 64000u);
  EXPECT_TRUE(rec.messages.empty());
  s.ContourText += "y";
  report = Build(s, rec);
  EXPECT_EQ(rec.messages.size(), 1u);
  EXPECT_EQ(CodeUnits(report), 64000u);
  EXPECT_EQ(report.back(), 'x');
}

TEST(ReadWholeFile, ConvertsGbkAndReadsMissingFileAsEmpty) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zelto_report_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "CONCXY.DAT").string();
  {
    std::ofstream f(path, std::ios::binary);
    // "浓度" in GBK is C5 A8 B6 C8.
    f << " \r\n\xC5\xA8\xB6\xC8 (mg/m3) =2\r\n";
  }
  EXPECT_EQ(ReadWholeFile(path), " \r\n浓度 (mg/m3) =2\r\n");
  std::filesystem::remove(path);
  EXPECT_EQ(ReadWholeFile(path), "");
}

}  // namespace
}  // namespace zelto

namespace zelto {
namespace {

TEST(ReportGuard, NamesTheFirstValueThatIsNotFinite) {
  ModelState s = BaseState();
  EXPECT_EQ(FirstNonFiniteReportValue(s), "");
  s.ZoneAngle = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(FirstNonFiniteReportValue(s), "ZoneAngle");
  s.WindSpeed10m = std::numeric_limits<float>::infinity();
  EXPECT_EQ(FirstNonFiniteReportValue(s), "WindSpeed10m");
  s = BaseState();
  s.MaxHalfWidthX[2] = -std::numeric_limits<float>::infinity();
  EXPECT_EQ(FirstNonFiniteReportValue(s), "MaxHalfWidthX");
  // Values of isopleths that are not printed are not looked at.
  s.ContourPointCount[2] = 0;
  EXPECT_EQ(FirstNonFiniteReportValue(s), "");
}

}  // namespace
}  // namespace zelto
