// Surface layer: surface factors, sensible heat flux, friction velocity and
// Monin-Obukhov length, and the 10 m wind.
//
// Heat flux: a simplified surface energy balance (clear-sky radiation reduced
// by cloud, net radiation with long-wave terms in T, ground heat flux as a
// tenth of the net radiation on ordinary ground, then a Priestley-Taylor type
// split with the moisture factor). Friction velocity: log wind profile with
// the Businger-Dyer stability functions, solved by a stepped search on u*.
#include <cmath>
#include <cstdint>

#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

namespace {

const char* const kMsgHeatFlux = "地表感热通量计算出错，请检查环境气温、云量和地表参数。";
const char* const kMsgWindSpeed = "环境风速必须大于0，不能计算摩擦速度。";
const char* const kMsgWindHeight = "测风高度必须大于0，不能计算摩擦速度。";
const char* const kMsgRoughness = "地表粗糙度必须大于0，不能计算风廓线。";
const char* const kMsgWindHeightRoughness =
    "测风高度必须高于地表粗糙度，不能计算风廓线，请检查测风高度和地表粗糙度。";
const char* const kMsgAirPressure = "泄漏处地面高程过高，气压不为正，不能计算莫宁-奥布霍夫长度。";
const char* const kMsgFrictionVelocity =
    "摩擦速度和莫宁-奥布霍夫长度计算出错，请检查环境风速、测风高度和地表粗糙度。";
const char* const kMsgWind10m = "10m高处风速计算出错，请检查地表粗糙度和环境风速。";

// von Karman constant.
constexpr double kKarman = 0.4;

// Unstable (Businger-Dyer) wind-profile integral between the roughness height
// and height z: 2 (atan x - atan x0) + ln((x - 1)/(x0 - 1)) - ln((x + 1)/(x0 + 1)),
// with x = (1 - 15 z / L)^0.25. Returns false where a logarithm or a division
// cannot be evaluated (x or x0 not above 1, e.g. L so long that x0 rounds to 1).
bool UnstableProfile(double x, double x0, double& psi) {
  if (!(x0 - 1.0 != 0.0)) return false;
  const double ratioMinus = (x - 1.0) / (x0 - 1.0);
  const double ratioPlus = (x + 1.0) / (x0 + 1.0);
  if (!(ratioMinus > 0.0) || !(ratioPlus > 0.0)) return false;
  psi = 2.0 * (std::atan(x) - std::atan(x0)) + std::log(ratioMinus) - std::log(ratioPlus);
  return FitsSingle(psi);
}

}  // namespace

void ComputeSurfaceFactors(ModelState& s) {
  // Cloud-type transmission factor for the solar radiation under cloud.
  if (s.CloudType == 1) {
    s.CloudTypeFactor = 0.61f;
  } else if (s.CloudType == 2) {
    s.CloudTypeFactor = 0.26f;
  } else if (s.CloudType == 3) {
    s.CloudTypeFactor = 0.17f;
  }

  // Albedo, moisture factor of the heat-flux split and the denominator factor
  // of the net radiation: snow below 20 deg C, dry ground, everything else.
  s.Albedo = 0.23f;
  if (s.GroundMoisture == 3 && s.AirTempC < 20.0f) {
    s.Albedo = 0.75f;
    s.MoistureFactor = 1.0f;
    s.NetRadiationFactor = 0.0f;
  } else if (s.GroundMoisture == 1) {
    s.Albedo = 0.23f;
    s.MoistureFactor = 0.45f;
    s.NetRadiationFactor = 0.25f;
  } else {
    s.Albedo = 0.23f;
    s.MoistureFactor = 1.0f;
    s.NetRadiationFactor = 0.12f;
  }
}

bool ComputeHeatFlux(ModelState& s, std::string& message) {
  const double n = s.CloudCover;  // tenths

  if (s.DayNightFlag == kNightFlag) {
    // Night: no sun, a fixed cooling flux that cloud cover weakens.
    s.SolarRadiation = 0.0f;
    // (+ 0.0 turns the -0 of a full cover into 0.)
    s.SensibleHeatFlux = static_cast<float>(-40.0 * (1.0 - n / 10.0) + 0.0);
    return true;
  }

  // Clear-sky solar radiation K0 (W/m2), a working value kept in double
  // precision, then reduced by the cloud cover; only the reduced value is
  // stored (one rounding to single).
  const double clearSky = 990.0 * std::sin(static_cast<double>(s.SolarElevation) * s.DegToRad) - 30.0;
  float radiation = 0.0f;
  if (!StoreSingle(radiation,
                       clearSky * (1.0 - std::pow(n / 10.0, 3.4) *
                                             (1.0 - static_cast<double>(s.CloudTypeFactor))))) {
    message = kMsgHeatFlux;
    return false;
  }
  s.SolarRadiation = radiation;

  // Net radiation Q (W/m2): absorbed short-wave, incoming minus outgoing
  // long-wave (Swinbank-type T^6 term), a cloud term 60 N / 10 with 60 N
  // formed as a 16-bit integer.
  const double t = s.AirTempK;
  const int16_t sixtyN = static_cast<int16_t>(60 * s.CloudCover);
  const double denominator = 1.0 + static_cast<double>(s.NetRadiationFactor);
  if (denominator == 0.0) {
    message = kMsgHeatFlux;
    return false;
  }
  const double q = ((1.0 - static_cast<double>(s.Albedo)) * s.SolarRadiation +
                    5.31e-13 * std::pow(t, 6) - 5.67e-8 * std::pow(t, 4) + sixtyN / 10.0) /
                   denominator;

  // Temperature function r of the Priestley-Taylor split (r + 1 > 0 for any T).
  const double r = 119.56 - 0.7843 * t + 0.0012887 * t * t;

  // Ground heat flux: a tenth of Q on ordinary ground, none on snow.
  const double g = (s.Albedo == 0.23f) ? 0.1 * q : 0.0;

  // Sensible heat flux, positive upward.
  const double a = s.MoistureFactor;
  double h = (1.0 - a + r) / (r + 1.0) * (q - g) - 20.0 * a;

  // Daytime downward flux is ignored, except over snow above freezing.
  if (h < 0.0 && !(s.AirTempC > 0.0f && s.Albedo == 0.75f)) h = 0.0;

  if (!StoreSingle(s.SensibleHeatFlux, h)) {
    message = kMsgHeatFlux;
    return false;
  }
  return true;
}

bool ComputeFrictionVelocity(ModelState& s, std::string& message, int* stepsTaken) {
  if (stepsTaken) *stepsTaken = 0;
  const double u = s.WindSpeed;    // m/s at the measurement height
  const double zm = s.WindHeight;  // m
  const double z0 = s.Roughness;   // cm (100 x zm is the height in cm)
  const double h = s.SensibleHeatFlux;
  const double p = s.AirPressure;

  if (!(u > 0.0)) {
    message = kMsgWindSpeed;
    return false;
  }
  if (!(zm > 0.0)) {
    message = kMsgWindHeight;
    return false;
  }
  if (!(z0 > 0.0)) {
    message = kMsgRoughness;
    return false;
  }
  // The log profile needs the measurement height above the roughness length.
  if (100.0 * zm <= z0) {
    message = kMsgWindHeightRoughness;
    return false;
  }
  if (!(p > 0.0)) {
    message = kMsgAirPressure;
    return false;
  }
  const double logHeight = std::log(100.0 * zm / z0);

  double trial;  // trial u* (m/s)
  double q;      // previous ratio u*/u
  if (!(std::fabs(h) > 1.0)) {
    // Neutral: logarithmic profile.
    if (!StoreSingle(s.FrictionVelocity, kKarman * u / logHeight)) {
      message = kMsgFrictionVelocity;
      return false;
    }
    q = 0.0;
    trial = s.FrictionVelocity;
  } else {
    // First trial from a power-law estimate of the 10 m wind.
    const double u10 = u * std::pow(10.0 / zm, 0.2);
    if (h + 100.0 == 0.0) {
      message = kMsgFrictionVelocity;
      return false;
    }
    trial = (0.8 * h / (h + 100.0) + u10) / 12.0;
    if (trial < 0.0) trial = u / 12.0;
    q = trial / u;
  }

  for (int step = 1; step <= kFrictionVelocityMaxSteps; ++step) {
    // Inverse Monin-Obukhov length (1/m) from u* and H; the constant holds
    // kappa g / (rho cp T) with the pressure in mb. Never exactly 0.
    const double cube = trial * trial * trial;
    if (cube == 0.0) {
      message = kMsgFrictionVelocity;
      return false;
    }
    float inverseL = 0.0f;
    if (!StoreSingle(inverseL, -0.0112 * h / (cube * p))) {
      message = kMsgFrictionVelocity;
      return false;
    }
    if (inverseL == 0.0f) inverseL = 1e-15f;
    float lengthL = 0.0f;
    if (!StoreSingle(lengthL, 1.0 / static_cast<double>(inverseL))) {
      message = kMsgFrictionVelocity;
      return false;
    }
    s.InverseMoninObukhovLength = inverseL;
    s.MoninObukhovLength = lengthL;
    const double ell = s.MoninObukhovLength;

    double psi;  // integrated profile between z0 and zm
    if (h < -1.0) {
      // Stable: log-linear profile, zm / |L| at most 1.
      double zeta = zm / std::fabs(ell);
      if (zeta > 1.0) zeta = 1.0;
      psi = logHeight + 5.2 * zeta;
    } else if (h < 1.0) {
      // Neutral: u* of the log profile stands.
      if (stepsTaken) *stepsTaken = step - 1;
      return true;
    } else {
      // Unstable.
      const double baseX = 1.0 - 15.0 * zm / ell;
      const double baseX0 = 1.0 - 15.0 * z0 / (100.0 * ell);
      if (!(baseX >= 0.0) || !(baseX0 >= 0.0) ||
          !StoreSingle(s.RoughnessProfileTerm, std::pow(baseX0, 0.25))) {
        message = kMsgFrictionVelocity;
        return false;
      }
      if (!UnstableProfile(std::pow(baseX, 0.25), s.RoughnessProfileTerm, psi)) {
        message = kMsgFrictionVelocity;
        return false;
      }
    }

    if (psi == 0.0 || !StoreSingle(s.FrictionVelocity, kKarman * u / psi)) {
      message = kMsgFrictionVelocity;
      return false;
    }
    const double qn = s.FrictionVelocity / u;
    const double dq = qn - q;
    if (std::fabs(dq) < 0.001 || step == kFrictionVelocityMaxSteps) {
      // Converged (or the step bound reached): mean of trial and computed u*.
      if (stepsTaken) *stepsTaken = step;
      if (!StoreSingle(s.FrictionVelocity,
                           (trial + static_cast<double>(s.FrictionVelocity)) / 2.0)) {
        message = kMsgFrictionVelocity;
        return false;
      }
      return true;
    }
    // Step the trial value by a fixed 0.001 m/s towards the computed one.
    trial = (dq >= 0.0) ? trial + 0.001 : trial - 0.001;
    q = trial / u;
  }
  return true;  // not reached: the last step always returns
}

bool ComputeWind10m(ModelState& s, std::string& message) {
  if (s.WindHeight == 10.0f) {
    s.WindSpeed10m = s.WindSpeed;
    return true;
  }
  const double z0 = s.Roughness;  // cm; 1000 cm = 10 m
  const double h = s.SensibleHeatFlux;
  const double ell = s.MoninObukhovLength;
  if (!(z0 > 0.0)) {
    message = kMsgRoughness;
    return false;
  }

  double psi = 0.0;
  if (!(std::fabs(h) > 1.0)) {
    psi = std::log(1000.0 / z0);
  } else if (h < -1.0) {
    const double zeta = (ell > 10.0) ? 10.0 / ell : 1.0;
    psi = std::log(1000.0 / z0) + 5.2 * zeta;
  } else {
    // Unstable, with x0 from the friction-velocity search of this pass.
    const double base = 1.0 - 150.0 / ell;
    if (ell == 0.0 || !(base >= 0.0) ||
        !UnstableProfile(std::pow(base, 0.25), s.RoughnessProfileTerm, psi)) {
      message = kMsgWind10m;
      return false;
    }
  }

  // A non-positive 10 m wind would divide by zero (or invert the sign of
  // every later wind-dependent formula): refused.
  const double wind = psi * s.FrictionVelocity / kKarman;
  if (!FitsSingle(wind) || !(static_cast<float>(wind) > 0.0f)) {
    message = kMsgWind10m;
    return false;
  }
  s.WindSpeed10m = static_cast<float>(wind);
  return true;
}

}  // namespace zelto
