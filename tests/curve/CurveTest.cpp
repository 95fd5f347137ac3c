// The indoor balance, the figures of a curve, the curve against the report's
// own point concentrations, and the CSV file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "curve/CurveCsv.h"
#include "curve/CurveFigures.h"
#include "curve/Indoor.h"
#include "curve/PointCurve.h"
#include "ui/MainWindow.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

TEST(Indoor, StepOutsideFillsTheHouseExponentially) {
  // Cout jumps to 100 mg/m3 at t = 0 and stays; lambda = 0.5 per hour.
  // Cin(t) = 100 (1 - exp(-lambda t)):
  //   t = 60 min:  100 (1 - e^-0.5) = 100 x 0.393469 = 39.3469
  //   t = 120 min: 100 (1 - e^-1)   = 100 x 0.632121 = 63.2121
  // Steps of 30, 30 and 60 min give the exact values at the grid points.
  const std::vector<float> t{0, 30, 60, 120};
  const std::vector<float> out{100, 100, 100, 100};
  const std::vector<float> in = IndoorCurve(t, out, 0.5);
  EXPECT_EQ(in[0], 0.0f);
  EXPECT_NEAR(in[2], 39.3469, 1e-3);
  EXPECT_NEAR(in[3], 63.2121, 1e-3);
}

TEST(Indoor, RampOutsideLagsBehindByOneOverTheRate) {
  // Cout = r t with r = 1 mg/m3 per min, k = 0.5 / 60 = 1/120 per min:
  // Cin(t) = r (t - (1 - e^-kt) / k).
  //   t = 60:  60 - 120 (1 - e^-0.5) = 60 - 120 x 0.393469 = 12.7837
  //   t = 240: 240 - 120 (1 - e^-2)  = 240 - 120 x 0.864665 = 136.2402
  // Unequal steps (20, 40, 180 min): exact for a Cout linear on each step.
  const std::vector<float> t{0, 20, 60, 240};
  const std::vector<float> out{0, 20, 60, 240};
  const std::vector<float> in = IndoorCurve(t, out, 0.5);
  EXPECT_NEAR(in[2], 12.7837, 1e-3);
  EXPECT_NEAR(in[3], 136.2402, 1e-3);
  // No exchange: the inside stays clean.
  EXPECT_EQ(IndoorCurve(t, out, 0.0)[3], 0.0f);
}

TEST(CurveFigures, TriangleThresholdTimesDoseAndHourlyMean) {
  // Rises linearly from 0 at 0 min to 100 mg/m3 at 10 min, back to 0 at 20 min.
  // Threshold 50: crossed at 5 and 15 min, 10 min above. Threshold 100: only
  // touched at 10 min. Threshold 150: never reached.
  // Dose: the area 20 x 100 / 2 = 1000 mg min/m3; every 60-min window that
  // holds the whole triangle has the mean 1000 / 60 = 16.667 mg/m3.
  const CurveFigures f = ComputeCurveFigures({0, 10, 20}, {0, 100, 0}, {50, 100, 150}, false);
  EXPECT_EQ(f.peak, 100.0f);
  EXPECT_EQ(f.peakTime, 10.0f);
  EXPECT_FLOAT_EQ(f.dose, 1000.0f);
  EXPECT_NEAR(f.max60, 1000.0 / 60.0, 1e-4);
  ASSERT_EQ(f.thresholds.size(), 3u);
  const ThresholdTimes& half = f.thresholds[0];
  EXPECT_TRUE(half.reached);
  EXPECT_TRUE(half.ended);
  EXPECT_FLOAT_EQ(half.arrival, 5.0f);
  EXPECT_FLOAT_EQ(half.end, 15.0f);
  EXPECT_FLOAT_EQ(half.above, 10.0f);
  EXPECT_TRUE(f.thresholds[1].reached);
  EXPECT_FLOAT_EQ(f.thresholds[1].arrival, 10.0f);
  EXPECT_FLOAT_EQ(f.thresholds[1].above, 0.0f);
  EXPECT_FALSE(f.thresholds[2].reached);
}

TEST(CurveFigures, SteadyCurveStaysAboveAndHoldsItsValue) {
  // 0 at 0 min up to 10 mg/m3 at 10 min, then steady: threshold 5 reached at
  // 5 min and never left; the best 60-min window lies wholly on the steady
  // value, mean 10.
  const CurveFigures f = ComputeCurveFigures({0, 10}, {0, 10}, {5}, true);
  EXPECT_FLOAT_EQ(f.thresholds[0].arrival, 5.0f);
  EXPECT_FALSE(f.thresholds[0].ended);
  EXPECT_FLOAT_EQ(f.thresholds[0].above, 5.0f);
  EXPECT_NEAR(f.max60, 10.0, 1e-5);
  // A triangle 0 at 30 min, 60 mg/m3 at 40 min, 0 at 100 min (area
  // 70 x 60 / 2 = 2100): the best 60-min window [a, a + 60] has
  // C(a) = C(a + 60) with a between grid points: 6 (a - 30) = 40 - a, so
  // a = 220 / 7 = 31.4286. It leaves out 6 x 1.4286^2 / 2 = 6.1224 on the
  // left and 8.5714 x 8.5714 / 2 = 36.7347 on the right:
  // mean = (2100 - 6.1224 - 36.7347) / 60 = 34.2857 mg/m3.
  const CurveFigures g = ComputeCurveFigures({0, 30, 40, 100}, {0, 0, 60, 0}, {}, false);
  EXPECT_NEAR(g.max60, 34.2857, 1e-3);
}

TEST(CurveFigures, IndoorRisesAboveOutdoorAfterThePeak) {
  // After the outdoor peak at 10 min: the difference in - out is 5 - 100 =
  // -95 at 10 min and 20 - 0 = 20 at 20 min: zero at 10 + 10 x 95 / 115 =
  // 18.2609 min.
  float time = 0;
  ASSERT_TRUE(IndoorAboveOutdoorTime({0, 10, 20, 30}, {0, 100, 0, 0}, {0, 5, 20, 15}, time));
  EXPECT_NEAR(time, 18.2609, 1e-3);
  EXPECT_FALSE(IndoorAboveOutdoorTime({0, 10}, {0, 0}, {0, 0}, time));
}

// Example 1 computed as the window computes it.
ModelState ComputedExample(const char* file) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = std::string(ZELTO_SOURCE_DIR) + "/examples/" + file;
  w.ContourPath = (fs::temp_directory_path() / "zelto-curve-test-CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  w.Text3.Text.clear();
  w.Command1_Click(2);
  EXPECT_FALSE(w.Text3.Text.empty());
  return s;
}

TEST(PointCurve, CurveAtTheListedTimeIsTheReportsConcentration) {
  const ModelState s = ComputedExample("01-chlorine-leak-day.ini");
  const std::vector<PointCurve> curves = ComputePointCurves(s, kDefaultAirExchangePerHour);
  ASSERT_EQ(curves.size(), 3u);
  for (const PointCurve& c : curves) {
    const PointRow& p = s.Targets.Points[c.point];
    bool found = false;
    for (size_t i = 0; i < c.t.size(); ++i) {
      if (c.t[i] == p[4]) {
        EXPECT_EQ(c.cOut[i], p[5]) << "point " << c.point;
        found = true;
      }
    }
    EXPECT_TRUE(found) << "point " << c.point << " time " << p[4];
    EXPECT_EQ(c.end, CurveEnd::Faded);
    EXPECT_LE(c.t.size(), kCurveMaxPoints);
  }
}

TEST(CurveCsv, ExampleHasHeaderAndOneRowPerCurvePoint) {
  const ModelState s = ComputedExample("01-chlorine-leak-day.ini");
  const std::vector<PointCurve> curves = ComputePointCurves(s, kDefaultAirExchangePerHour);
  const fs::path file = fs::temp_directory_path() / "zelto-curve-test.csv";
  std::string message;
  ASSERT_TRUE(WriteCurveCsv(curves, file.string(), message)) << message;
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file.string(), bytes));
  std::istringstream in(bytes);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "point,x,y,z,t_min,c_out,c_in\r");
  size_t rows = 0, expected = 0;
  std::vector<int> perPoint(4, 0);
  while (std::getline(in, line)) {
    ASSERT_EQ(std::count(line.begin(), line.end(), ','), 6) << line;
    perPoint.at(static_cast<size_t>(std::stoi(line)))++;
    ++rows;
  }
  for (const PointCurve& c : curves) {
    expected += c.t.size();
    EXPECT_EQ(perPoint[static_cast<size_t>(c.point)], static_cast<int>(c.t.size()));
  }
  EXPECT_EQ(rows, expected);
  fs::remove(file);
}

TEST(CurveCsv, FailedWriteLeavesNoFile) {
  // The target is a directory: the complete temporary file cannot replace it.
  const fs::path dir = fs::temp_directory_path() / "zelto-curve-test-write";
  fs::remove_all(dir);
  fs::create_directories(dir / "curve.csv");
  std::string message;
  EXPECT_FALSE(WriteCurveCsv({}, (dir / "curve.csv").string(), message));
  EXPECT_EQ(message, "无法写入浓度-时间文件" + (dir / "curve.csv").string() + "。");
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir)) entries += e.path().filename() == "curve.csv" ? 0 : 1;
  EXPECT_EQ(entries, 0);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelto
