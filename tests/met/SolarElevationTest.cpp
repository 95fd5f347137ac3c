// Solar elevation and day/night flag. Expected elevations were worked by hand
// from the almanac formulas (day number from a 30.4-day month, every
// intermediate rounded to a 32-bit float).
#include <gtest/gtest.h>

#include <string>

#include "met/Meteorology.h"
#include "tests/met/MetTestSupport.h"

namespace zelto {
namespace {

ModelState SunState(const char* date, const char* time, float timeDifference, float longitude,
                    float latitude) {
  ModelState s = mettest::BaseState();
  s.LocalDateText = date;
  s.LocalTimeText = time;
  s.TimeDifference = timeDifference;
  s.Longitude = longitude;
  s.Latitude = latitude;
  s.DayNightFlag = "?";
  s.SolarElevation = -1.0f;
  return s;
}

TEST(SolarElevation, FirstJanuaryNoonAtForty) {
  // n = 1, D = 0, t = 20, tn = 12.056494, h = -0.85 deg, lambda = 279.853655,
  // declination -23.08 deg: elevation about 27 deg (26.91727 by hand).
  ModelState s = SunState("2017/01/01", "12:00:00", 8.0f, 120.0f, 40.0f);
  std::string message;
  ComputeSolarElevation(s, message);
  EXPECT_NEAR(s.SolarElevation, 27.0f, 0.5f);
  EXPECT_NEAR(s.SolarElevation, 26.917273f, 2e-4f);
  EXPECT_EQ(s.DayNightFlag, "Y");
}

TEST(SolarElevation, NightIsExactlyZeroAndN) {
  ModelState s = SunState("2017/01/01", "00:00:00", 8.0f, 120.0f, 40.0f);
  std::string message;
  ComputeSolarElevation(s, message);
  EXPECT_EQ(s.SolarElevation, 0.0f);
  EXPECT_FALSE(std::signbit(s.SolarElevation));
  EXPECT_EQ(s.DayNightFlag, "N");
}

TEST(SolarElevation, DayNumberUsesA30Point4DayMonth) {
  // 1 March: n = floor(60.8) + 1 = 61.
  ModelState march = SunState("2017/03/01", "12:00:00", 8.0f, 120.0f, 40.0f);
  std::string message;
  ComputeSolarElevation(march, message);
  EXPECT_NEAR(march.SolarElevation, 42.352615f, 2e-4f);

  // 1 November: n = floor(10 x 30.4) + 1 = 305 (a product falling just short
  // of 304 would give n = 304 and 36.0611 deg).
  ModelState november = SunState("2017/11/01", "12:00:00", 8.0f, 120.0f, 40.0f);
  ComputeSolarElevation(november, message);
  EXPECT_NEAR(november.SolarElevation, 35.735863f, 2e-4f);

  // 31 December: n = floor(334.4) + 31 = 365.
  ModelState lastDay = SunState("2017/12/31", "12:00:00", 8.0f, 120.0f, 40.0f);
  ComputeSolarElevation(lastDay, message);
  EXPECT_NEAR(lastDay.SolarElevation, 26.831017f, 2e-4f);
}

TEST(SolarElevation, ClockTimePlusTimeDifference) {
  // 23:30 with time difference 7.8: t = 31.3 - 24 = 7.3 h; at longitude 0 on
  // 21 June (n = 173), h = 15 (7.3 - 12.028477) = -70.93 deg.
  ModelState wrapped = SunState("2017/06/21", "23:30:00", 7.8f, 0.0f, 40.0f);
  std::string message;
  ComputeSolarElevation(wrapped, message);
  EXPECT_NEAR(wrapped.SolarElevation, 29.037945f, 2e-4f);
  EXPECT_EQ(wrapped.DayNightFlag, "Y");

  // 22:10 with 0.5: t = 22.6667 stays; at longitude -142, h = 301.57 deg.
  ModelState kept = SunState("2017/06/21", "22:10:00", 0.5f, -142.0f, 40.0f);
  ComputeSolarElevation(kept, message);
  EXPECT_NEAR(kept.SolarElevation, 38.587566f, 2e-4f);
}

TEST(SolarElevation, SecondsAreIgnored) {
  ModelState a = SunState("2017/01/01", "12:00:00", 8.0f, 120.0f, 40.0f);
  ModelState b = SunState("2017/01/01", "12:00:59", 8.0f, 120.0f, 40.0f);
  std::string message;
  ComputeSolarElevation(a, message);
  ComputeSolarElevation(b, message);
  EXPECT_EQ(a.SolarElevation, b.SolarElevation);
}

TEST(SolarElevation, UnreadableTextsLeaveFieldsAndReport) {
  ModelState s = SunState("not a date", "12:00:00", 8.0f, 120.0f, 40.0f);
  std::string message;
  EXPECT_FALSE(ComputeSolarElevation(s, message));
  EXPECT_EQ(message, "当地日期或时间无法识别，不能计算太阳高度角。");
  EXPECT_EQ(s.SolarElevation, -1.0f);
  EXPECT_EQ(s.DayNightFlag, "?");

  // A date in the time text is no clock time either; nothing changes.
  ModelState t = SunState("2017/01/01", "2017/01/01", 8.0f, 120.0f, 40.0f);
  ComputeSolarElevation(t, message);
  EXPECT_EQ(t.SolarElevation, -1.0f);
  EXPECT_EQ(t.DayNightFlag, "?");
  EXPECT_FALSE(ComputeSolarElevation(t, message));
}

}  // namespace
}  // namespace zelto
