// Complete Vossler pool cases checked against a hand calculation of the heat
// balance, written here independently from the correlations in double precision.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "source/Evaporation.h"
#include "source/SourceTerm.h"
#include "source/Vossler.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto {
namespace {

// Heat balance of the pool surface at temperature T (W/m2), from the fitted
// constants of the substance.
struct HandBalance {
  double satPressure = 0;  // Pa
  double moleFraction = 0;
  double massFlux = 0;     // kg/(m2 s)
  double heatOfVaporisation = 0;
  double evaporativeFlux = 0;
  double gain = 0;         // U + h_c, W/(m2 K)
  double convectiveCoef = 0;
  double netRadiation = 0;
  double poolEmission = 0;
  double residual = 0;     // F
  double derivative = 0;   // F'
};

double Clamp(double t, double hi, double lo) { return t < lo ? lo : (t > hi ? hi : t); }

// Overall ground-to-surface coefficient U at T for a pool of depth d.
double HandGroundCoefficient(const ModelState& c, double t, double depth, double kGround,
                             double alphaGround) {
  const double hg = kGround / std::sqrt(3.1415927 * alphaGround * 600);
  const double tl = Clamp(t, c.LiqCondTmax, c.LiqCondTmin);
  const double kl = c.LiqCondA + c.LiqCondB * tl + c.LiqCondC * tl * tl;
  const double phi = 1 / (std::exp(-0.06 * (c.BoilingPointK - 343.16)) + 1);
  const double hl = kl / (depth / 2 * phi);
  return 1 / (1 / hg + 1 / hl);
}

HandBalance HandBalanceAt(const ModelState& c, double t, double u, double p, bool frozen) {
  HandBalance b;
  const double m = c.MolecularWeight, ma = 28.966, r = 8314.401, p0 = 101325;
  const double ta = c.AirTempK;
  // saturation pressure and surface mole fraction
  const double ts = Clamp(t, c.SatPressTmax, c.SatPressTmin);
  b.satPressure = p0 / 760 * std::pow(10.0, c.SatPressA - c.SatPressB / (ts + c.SatPressC));
  const double y = b.moleFraction = b.satPressure / p0;
  // Fuller diffusion coefficient, m2/s
  const double vv = std::pow(c.DiffusionVolume, 0.3333) + std::pow(19.7, 0.3333);
  const double diff = 0.00101 * std::pow(t, 1.75) * std::sqrt(1 / m + 1 / ma) / (vv * vv * 1.01325) * 1e-4;
  // mixture viscosity
  const double tv = Clamp(t, c.VapViscTmax, c.VapViscTmin);
  const double muv = c.VapViscA + c.VapViscB * tv + c.VapViscC * tv * tv;
  const double mu = ((1 - y) * std::sqrt(ma) * 1.82e-5 + y * std::sqrt(m) * muv) /
                    ((1 - y) * std::sqrt(ma) + y * std::sqrt(m));
  const double rho = ((1 - y) * ma + y * m) * p0 / (t * r);
  const double sc = mu / (rho * diff);
  // wind-profile exponents from the table value p
  const double n = 2 * p / (p + 1);
  const double km = 0.0292 / std::pow(sc, 0.667) * std::pow(u * 3600, (2 - n) / (2 + n)) *
                    std::pow(10.0, -n / (n + 2)) / 3600;
  b.massFlux = m * km * b.satPressure / (t * r);
  const double th = Clamp(t, c.HeatVapTmax, c.HeatVapTmin);
  b.heatOfVaporisation =
      c.HeatVapC * std::pow((c.HeatVapA - th) / (c.HeatVapA - c.HeatVapB), c.HeatVapD);
  b.evaporativeFlux = b.massFlux * (b.heatOfVaporisation + (frozen ? 159000 : 0));
  // convection by the heat/mass transfer analogy
  const double tc = Clamp(t, c.VapCpTmax, c.VapCpTmin);
  const double cv = c.VapCpA + c.VapCpB * tc + c.VapCpC * tc * tc + c.VapCpD * tc * tc * tc;
  const double cp = ((1 - y) * ma * 1000 + y * m * cv) / ((1 - y) * ma + y * m);
  const double tk = Clamp(t, c.VapCondTmax, c.VapCondTmin);
  const double kv = c.VapCondA + c.VapCondB * tk + c.VapCondC * tk * tk + c.VapCondD * tk * tk * tk;
  const double wa = std::pow(ma, 0.333), wv = std::pow(m, 0.333);
  const double kmix = ((1 - y) * wa * 0.0233 + y * wv * kv) / ((1 - y) * wa + y * wv);
  const double pr = cp * mu / kmix;
  b.convectiveCoef = std::pow(sc / pr, 0.67) * km * rho * cp;
  // radiation
  b.poolEmission = 5.3865e-8 * std::pow(t, 4);
  b.netRadiation = 0.86 * c.SolarRadiation + 4.2525e-8 * std::pow(ta, 4) - b.poolEmission;
  return b;
}

void CloseBalance(HandBalance& b, const ModelState& c, double t, double groundU) {
  b.gain = groundU + b.convectiveCoef;
  b.residual = b.gain * (t - c.AirTempK) + b.evaporativeFlux - b.netRadiation;
  b.derivative = b.evaporativeFlux * 2.303 * c.SatPressB / std::pow(c.SatPressC + t, 2) +
                 4 * b.poolEmission / t + b.gain - b.evaporativeFlux / t;
}

TEST(VosslerCase, AmmoniaDaySpillSettlesBelowBoilingPoint) {
  ModelState s = testing_util::AmmoniaDaySpill();
  const ModelState c = s;
  std::string message;
  ASSERT_TRUE(EvaporateVossler(s, message)) << message;
  EXPECT_TRUE(message.empty());

  // Evaporative cooling takes the pool well below its boiling point.
  const double t = s.PoolTemperature;
  EXPECT_GT(t, c.FreezingPointK);
  EXPECT_LT(t, c.BoilingPointK);

  // Row 2 (3 < s < 4), column 3 (5 <= z0 < 35): p = 0.13. Dry concrete ground.
  const double depth = 1e6 / (0.682e6 * 100);  // 1000 kg, 0.682 g/cm3, 100 m2 -> m
  HandBalance b = HandBalanceAt(c, t, 3.0, 0.13, false);
  CloseBalance(b, c, t, HandGroundCoefficient(c, t, depth, 1.279, 4.92e-6));

  // The balance closes: the residual is within one Newton step of 0.1 K and is
  // a small fraction of each of its terms.
  EXPECT_LT(std::fabs(b.residual), 0.1 * b.derivative + 0.5);
  EXPECT_LT(std::fabs(b.residual), 0.005 * b.evaporativeFlux);
  EXPECT_LT(std::fabs(b.residual), 0.005 * std::fabs(b.gain * (t - c.AirTempK)));
  EXPECT_LT(std::fabs(b.residual), 0.02 * b.netRadiation);

  // The rate follows from that temperature: area x mass flux, g/min.
  EXPECT_NEAR(s.EvapRate, 100 * b.massFlux * 60 * 1000, 1e-5 * s.EvapRate);
  EXPECT_NEAR(s.SatPressure, b.satPressure, 1e-5 * b.satPressure);
  EXPECT_NEAR(s.EvaporativeFlux, b.evaporativeFlux, 1e-5 * b.evaporativeFlux);

  // Values of an independent single-precision replay of the iteration:
  // 239.8 -> 221.038 -> 212.242 -> 210.770, where the 0.1 K test holds.
  EXPECT_FLOAT_EQ(s.PoolTemperature, 210.77023f);
  EXPECT_FLOAT_EQ(s.EvapRate, 13798.628f);
  // The vapour-air density over the pool replaces the ambient value (kg/m3).
  EXPECT_NEAR(s.VaporDensity, 1.53824, 1e-4);
}

TEST(VosslerCase, AmmoniaNightSpillBoilsAtHeatLimitedRate) {
  ModelState s = testing_util::AmmoniaNightSpill();
  const ModelState c = s;
  std::string message;
  ASSERT_TRUE(EvaporateVossler(s, message)) << message;

  // The reported temperature is the boiling point exactly.
  EXPECT_EQ(s.PoolTemperature, c.BoilingPointK);

  // Row 4 (s = 6, u <= 1), column 4 (z0 < 5): p = 0.54. Wet concrete.
  const double depth = 1e6 / (0.682e6 * 100);
  const double tb = c.BoilingPointK;
  // At the boiling point the heat supply exceeds the evaporative loss (F < 0),
  // so the balance temperature lies above Tb.
  HandBalance atTb = HandBalanceAt(c, tb, 1.0, 0.54, false);
  CloseBalance(atTb, c, tb, HandGroundCoefficient(c, tb, depth, 1.279, 4.92e-6));
  EXPECT_LT(atTb.residual, -500);

  // The last Newton temperature can be read back from the liquid conductivity
  // it left (k_L = A + B T): the independent replay settles at 282.262 K.
  const double tLast = (c.LiqCondA - s.LiquidConductivity) / -c.LiqCondB;
  EXPECT_NEAR(tLast, 282.262, 0.01);
  HandBalance atLast = HandBalanceAt(c, tLast, 1.0, 0.54, false);
  const double uLast = HandGroundCoefficient(c, tLast, depth, 1.279, 4.92e-6);
  CloseBalance(atLast, c, tLast, uLast);
  EXPECT_LT(std::fabs(atLast.residual), 0.1 * atLast.derivative + 0.5);
  EXPECT_LT(std::fabs(atLast.residual), 0.01 * std::fabs(atLast.gain * (tLast - c.AirTempK)));

  // Heat-limited rate at Tb: (ground + net radiation + convection) x area / heat
  // of vaporisation, with U from the last iteration. At Tb the Watson form
  // gives exactly C.
  EXPECT_EQ(s.VaporizationHeat, c.HeatVapC);
  const double ground = (c.AirTempK - tb) * uLast;
  const double convection = (c.AirTempK - tb) * atTb.convectiveCoef;
  const double expected =
      (ground + atTb.netRadiation + convection) * 100 / atTb.heatOfVaporisation * 60 * 1000;
  EXPECT_NEAR(s.EvapRate, expected, 1e-5 * expected);
  EXPECT_FLOAT_EQ(s.EvapRate, 4597.7393f);
  // The mass-transfer rate at Tb would be far smaller than the heat supply allows.
  EXPECT_LT(100 * atTb.massFlux * 60000, 0.5 * s.EvapRate);
}

TEST(VosslerCase, EstimateBelowFreezingEndsAtFreezingPointWithSublimationHeat) {
  // Raising the freezing point to 215 K: the second estimate (212.24 K) drops
  // below it, the iteration stops at Tf and the frozen surface sublimates.
  ModelState s = testing_util::AmmoniaDaySpill();
  s.FreezingPointK = 215;
  const ModelState c = s;
  std::string message;
  ASSERT_TRUE(EvaporateVossler(s, message)) << message;
  EXPECT_EQ(s.PoolTemperature, 215.0f);
  HandBalance b = HandBalanceAt(c, 215, 3.0, 0.13, true);
  EXPECT_NEAR(s.SublimationHeat, b.heatOfVaporisation + 159000, 1e-6 * s.SublimationHeat);
  EXPECT_EQ(s.SublimationHeat, static_cast<float>(static_cast<double>(s.VaporizationHeat) + 159000));
  EXPECT_NEAR(s.EvaporativeFlux, b.evaporativeFlux, 1e-5 * b.evaporativeFlux);
  EXPECT_NEAR(s.EvapRate, 100 * b.massFlux * 60000, 1e-5 * s.EvapRate);
  EXPECT_FLOAT_EQ(s.EvapRate, 17888.504f);
}

TEST(VosslerCase, BoilingPointNotAboveFreezingPointDividesBySublimationHeat) {
  // Tb = Tf: at its boiling point the substance is solid, so the heat supply
  // sublimates it; the divisor is the heat of vaporisation at Tb plus 159000.
  ModelState s = testing_util::AmmoniaNightSpill();
  s.FreezingPointK = s.BoilingPointK;
  const ModelState c = s;
  std::string message;
  ASSERT_TRUE(EvaporateVossler(s, message)) << message;
  EXPECT_EQ(s.PoolTemperature, c.BoilingPointK);
  EXPECT_EQ(s.VaporizationHeat, c.HeatVapC);
  EXPECT_EQ(s.SublimationHeat, 1.3703e6f + 159000);

  const double depth = 1e6 / (0.682e6 * 100);
  const double tb = c.BoilingPointK;
  const double tLast = (c.LiqCondA - s.LiquidConductivity) / -c.LiqCondB;
  const double uLast = HandGroundCoefficient(c, tLast, depth, 1.279, 4.92e-6);
  HandBalance atTb = HandBalanceAt(c, tb, 1.0, 0.54, false);
  const double supply = (c.AirTempK - tb) * (uLast + atTb.convectiveCoef) + atTb.netRadiation;
  const double expected = supply * 100 / (1.3703e6 + 159000) * 60000;
  EXPECT_NEAR(s.EvapRate, expected, 1e-5 * expected);
  EXPECT_FLOAT_EQ(s.EvapRate, 4119.7163f);
}

TEST(VosslerCase, ShortReleaseUsesTenCentimetreDeepPool) {
  // Mode 2: d = 0.1 m whatever the mass; a deeper layer conducts less heat.
  ModelState a = testing_util::AmmoniaDaySpill();
  a.ReleaseMode = 2;
  ModelState b = a;
  b.ReleaseMass = 1;  // the mass no longer matters
  std::string message;
  ASSERT_TRUE(EvaporateVossler(a, message)) << message;
  ASSERT_TRUE(EvaporateVossler(b, message)) << message;
  EXPECT_EQ(a.EvapRate, b.EvapRate);
  EXPECT_EQ(a.PoolTemperature, b.PoolTemperature);
  EXPECT_FLOAT_EQ(a.PoolTemperature, 210.76274f);
  EXPECT_FLOAT_EQ(a.EvapRate, 13792.171f);
}

TEST(VosslerCase, ExponentsStoredFromTableValue) {
  ModelState s = testing_util::AmmoniaDaySpill();
  std::string message;
  ASSERT_TRUE(EvaporateVossler(s, message)) << message;
  const double n = 2 * 0.13 / 1.13;
  EXPECT_EQ(s.WindExponent, static_cast<float>((2 - n) / (2 + n)));
  EXPECT_EQ(s.LengthExponent, static_cast<float>(-n / (n + 2)));
}

}  // namespace
}  // namespace zelto
