// Solar elevation at the site and the day/night flag.
//
// Simple almanac: a 30.4-day month gives the day number, a truncated Fourier
// series in the angle of the year gives the sun's longitude and the time of
// solar noon. Every intermediate value is held as a 32-bit float between
// steps; trigonometric functions take degrees times DegToRad.
#include <cmath>
#include <cstdint>

#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

namespace {

const char* const kMsgLocalDateTime = "当地日期或时间无法识别，不能计算太阳高度角。";
const char* const kMsgSolarElevation = "太阳高度角计算出错，请检查泄漏位置经纬度和泄漏日期时间。";

inline float F(double v) { return static_cast<float>(v); }

}  // namespace

bool ComputeSolarElevation(ModelState& s, std::string& message) {
  // Month and day from the local date, hour and minute from the local clock
  // time (seconds are ignored). Texts that cannot be read leave the solar
  // elevation and the day/night flag as they were.
  DateTimeParts date;
  DateTimeParts time;
  if (!ParseDateTime(s.LocalDateText, date) || !date.hasDate ||
      !ParseDateTime(s.LocalTimeText, time) || !time.hasTime) {
    message = kMsgLocalDateTime;
    return false;
  }

  const double rad = s.DegToRad;

  // Day number from a 30.4-day month, a 16-bit integer (1 March -> 61).
  const int16_t n = static_cast<int16_t>(std::floor((date.month - 1) * 30.4) + date.day);

  // Local clock time in hours, shifted by the time difference; past 23 h it
  // wraps to the next day.
  float t = F(time.hour + time.minute / 60.0);
  t = F(static_cast<double>(t) + s.TimeDifference);
  if (t > 23.0f) t = F(static_cast<double>(t) - 24.0);

  // Angle of the year (deg).
  const float d = F((n - 1) * 360.0 / 365.242);
  const double dr = static_cast<double>(d) * rad;
  const double d2r = 2.0 * static_cast<double>(d) * rad;

  // Sun's ecliptic longitude (deg).
  const float lambda = F(279.9348 + d + 1.914827 * std::sin(dr) - 0.079525 * std::cos(dr) +
                         0.019938 * std::sin(d2r) - 0.00162 * std::cos(d2r));

  // Declination; the 1e-9 keeps the root away from zero.
  const float sinDecl = F(std::sin(static_cast<double>(lambda) * rad) * std::sin(23.4438 * rad));
  const float cosDecl =
      F(std::sqrt(1.0 - static_cast<double>(sinDecl) * sinDecl + 1e-9));

  // Time of solar noon (h).
  const float noon = F(12.0 + 0.12357 * std::sin(dr) - 0.004289 * std::cos(dr) +
                       0.153809 * std::sin(d2r) + 0.060783 * std::cos(d2r));

  // Hour angle (deg).
  const float hourAngle = F(15.0 * (static_cast<double>(t) - noon) - s.Longitude);

  // Sine of the elevation.
  const double lat = static_cast<double>(s.Latitude) * rad;
  const float sinElev = F(std::sin(lat) * sinDecl +
                          std::cos(lat) * cosDecl * std::cos(static_cast<double>(hourAngle) * rad));

  // Elevation = arcsine, written as arctan(s / sqrt(1 - s^2)). With the sun
  // exactly at the zenith or nadir (|s| = 1, or just beyond by rounding) the
  // root vanishes; the limit +-90 deg is taken instead of dividing by zero.
  const double cosElev2 = 1.0 - static_cast<double>(sinElev) * sinElev;
  double elevation;
  if (cosElev2 > 0.0) {
    elevation = std::atan(sinElev / std::sqrt(cosElev2)) / rad;
  } else {
    elevation = std::copysign(std::atan(1.0) * 2.0, static_cast<double>(sinElev)) / rad;
  }
  if (!FitsSingle(elevation)) {
    message = kMsgSolarElevation;
    return false;
  }
  float elev = F(elevation);
  if (elev <= 0.0f) elev = 0.0f;  // below the horizon (also clears -0)
  s.SolarElevation = elev;

  if (s.SolarElevation == 0.0f) {
    s.DayNightFlag = kNightFlag;
  } else if (s.SolarElevation > 0.0f) {
    s.DayNightFlag = kDayFlag;
  }
  return true;
}

}  // namespace zelto
