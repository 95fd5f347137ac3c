// Meteorology and substance properties at ambient conditions.
//
// Every routine reads and writes ModelState. Values are evaluated in double
// precision and rounded to 32-bit floats when stored into ModelState; a later
// step reads the stored float. Routines that can meet an arithmetic fault
// (logarithm of a non-positive number, division by zero, a non-finite result)
// return false with a short Chinese message naming the input or stage, and
// never store NaN or infinity.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

// The whole meteorology pass. Returns false with a message (Chinese) when it
// refuses (a stack above the inversion, a formula that cannot be evaluated).
bool RunMeteorology(ModelState& s, std::string& message);

// ---- Conversions of the entered site and release data ----

// Air pressure (mb) at a station of the given elevation (m): 1013.25 mb at sea
// level, falling by 0.1148 mb per metre.
float StationPressure(float elevation);

// Air temperature (K) from the entered deg C, in double precision and rounded
// once when stored (never from an already rounded Celsius value).
float AirTemperatureK(double celsius);

// Stack gas temperature (K) from the entered deg C; a value beyond the 32-bit
// range counts as 0 deg C.
float StackGasTemperatureK(double celsius);

// ppm per mg/m3 at the ambient temperature (K) and pressure (mb):
// Mair * Rair * T / (M * p * 1e6), doubled for "NITROGEN TETROXIDE", which is
// counted as its monomer. Returns false (factor unchanged) when the factor
// would not be a finite 32-bit value.
bool ComputePpmFactor(const ModelState& s, float molecularWeight, float& factor);

// ---- Surface parameters (set by the computation driver before the pass) ----

// CloudTypeFactor from CloudType (unchanged for an unknown type); Albedo,
// MoistureFactor and NetRadiationFactor from GroundMoisture and AirTempC.
void ComputeSurfaceFactors(ModelState& s);

// ---- Steps of the pass, in calling order ----

// Solar elevation at the local date and time and the day/night flag. Refuses
// local date or time texts that cannot be read (fields left unchanged) and a
// non-finite result.
bool ComputeSolarElevation(ModelState& s, std::string& message);

// Incoming solar radiation and surface sensible heat flux (W/m2).
bool ComputeHeatFlux(ModelState& s, std::string& message);

// Air density (g/cm3), dynamic (g/(cm s)) and kinematic (cm2/s) viscosity.
bool ComputeAirProperties(ModelState& s, std::string& message);

// Most trial values of the friction-velocity search, the first included; a
// search still outside its tolerance then takes the mean of trial and result.
inline constexpr int kFrictionVelocityMaxSteps = 100000;

// Friction velocity u* (m/s) and Monin-Obukhov length L (m) by a stepped
// search on u*. When stepsTaken is given it receives the number of trial
// values evaluated (0 when the neutral value ends the search at once).
bool ComputeFrictionVelocity(ModelState& s, std::string& message, int* stepsTaken = nullptr);

// Wind speed 10 m above ground from u*, L and the roughness (m/s).
bool ComputeWind10m(ModelState& s, std::string& message);

// Horizontal and vertical stability parameters (0.5..6), the stability word,
// and the shallow mixing-layer rule.
bool ComputeStability(ModelState& s, std::string& message);

// Stack releases: inversion check, buoyancy flux, final plume rise and the
// effective release height. The inversion refusal returns false with
// "排气筒高于逆温层，不能计算,地面浓度为0。".
bool ComputePlumeRise(ModelState& s, std::string& message);

// Vapour pressure of the substance at the ambient temperature (atm).
bool ComputeVaporPressure(ModelState& s, std::string& message);

// Liquid density of the substance at the ambient temperature (g/cm3). Where
// the correlation cannot be evaluated, LiquidDensity is set to 1 and false is
// returned.
bool ComputeLiquidDensity(ModelState& s, std::string& message);

// Saturated vapour density at the ambient temperature (g/cm3).
bool ComputeVaporDensity(ModelState& s, std::string& message);

}  // namespace zelto
