// The contour data file, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "core/Files.h"
#include "core/Gbk.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "tests/dispersion/DispersionTestUtil.h"

namespace zelto {
namespace {

using testing_util::BaseState;
using testing_util::SetThresholds;
using testing_util::TempDir;

// GBK bytes of the fixed texts.
const std::string kConcLabel = "\xc5\xa8\xb6\xc8 (mg/m3) =";                 // 浓度 (mg/m3) =
const std::string kContinuous = ":  \xb3\xd6\xd0\xf8\xca\xcd\xb7\xc5";       // :  持续释放
const std::string kTimeLabel = ":  \xd4\xa4\xb2\xe2\xca\xb1\xbf\xcc (min) =";  // :  预测时刻 (min) =
const std::string kHeader1 =
    "\xbe\xe0\xc0\xeb (m)   \xc5\xa8\xb6\xc8\xc7\xf8\xd3\xf2\xb0\xeb\xbf\xed     "
    "\xb8\xdf\xb7\xe5 \xc5\xa8\xb6\xc8 (mg/m3)";              // 距离 (m)   浓度区域半宽     高峰 浓度 (mg/m3)
const std::string kHeader2 = "             \xbf\xed \xb6\xc8 (m)";  // 13 spaces, 宽 度 (m)
const std::string kNoCoordinates =
    "\xb5\xb1\xc7\xb0\xca\xb1\xbf\xcc\xcf\xc2\xa3\xac\xbc\xc6\xcb\xe3\xc7\xf8\xd3\xf2\xc4\xda\xcb\xf9"
    "\xd3\xd0\xc5\xa8\xb6\xc8\xbe\xf9\xd0\xa1\xd3\xda\xb8\xf8\xb6\xa8\xb5\xc4\xc5\xa8\xb6\xc8\xa3\xac"
    "\xce\xde\xb7\xd6\xb2\xbc\xcd\xbc\xd7\xf8\xb1\xea";  // 当前时刻下，…，无分布图坐标

void SetContour(ModelState& s, int j, std::initializer_list<std::array<float, 3>> points) {
  const size_t n = static_cast<size_t>(s.Targets.ThresholdCount);
  s.ContourPointCount.resize(n + 1, 0);
  s.ContourX.resize(n + 1);
  s.ContourHalfWidth.resize(n + 1);
  s.ContourAxisConc.resize(n + 1);
  s.ContourPointCount[j] = static_cast<int16_t>(points.size());
  s.ContourX[j] = {0.0f};
  s.ContourHalfWidth[j] = {0.0f};
  s.ContourAxisConc[j] = {0.0f};
  for (const auto& p : points) {
    s.ContourX[j].push_back(p[0]);
    s.ContourHalfWidth[j].push_back(p[1]);
    s.ContourAxisConc[j].push_back(p[2]);
  }
}

TEST(ContourFile, ContinuousReleaseSecondThresholdNeverReached) {
  ModelState s = BaseState();
  SetThresholds(s, {2.0f, 10.0f});
  SetContour(s, 1, {{1230.0f, 85.5f, 2.345f}, {1500.0f, 0.0f, 2.0f}});
  SetContour(s, 2, {});
  const std::string dir = TempDir("contour1");
  std::string path = dir + "/CONCXY.DAT";
  std::string error;
  ASSERT_TRUE(WriteContourFile(s, path, error)) << error;
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  const std::string expected =
      " \r\n"
      " \r\n" +
      kConcLabel + "2" + kContinuous + "\r\n" +
      " \r\n" +
      kHeader1 + "\r\n" +
      kHeader2 + "\r\n" +
      "1.2300E+03   8.5500E+01      2.3450E+00\r\n"
      "1.5000E+03   0.0000E+00      2.0000E+00\r\n"
      " \r\n"
      " \r\n" +
      kConcLabel + "10" + kContinuous + "\r\n" +
      kNoCoordinates + "\r\n";
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(Utf8ToGbk(BuildContourText(s)), expected);
}

TEST(ContourFile, TimedReleaseWithOnePointContour) {
  ModelState s = BaseState();
  s.ReleaseDuration = 10.0f;
  s.PredictionTime = 12.5f;
  SetThresholds(s, {0.05f});
  SetContour(s, 1, {{40.0f, 2.0f, 0.05123456f}});
  const std::string expected = std::string(" \r\n \r\n") + kConcLabel + "0.05" + kTimeLabel + "12.5\r\n" +
                               " \r\n" + kHeader1 + "\r\n" + kHeader2 + "\r\n" +
                               "4.0000E+01   2.0000E+00      5.1235E-02\r\n";
  EXPECT_EQ(Utf8ToGbk(BuildContourText(s)), expected);
}

TEST(ContourFile, UnwritablePathFailsAndKeepsNothingHalfWritten) {
  ModelState s = BaseState();
  SetThresholds(s, {2.0f});
  SetContour(s, 1, {});
  const std::string dir = TempDir("contour2");
  std::string path = dir + "/missing-directory/CONCXY.DAT";
  std::string error;
  EXPECT_FALSE(WriteContourFile(s, path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace zelto
