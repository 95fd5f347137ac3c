// Steps of the Vossler pool evaporation model and its property correlations.
// Every routine evaluates at the current PoolTemperature (K) and writes its
// results into ModelState as singles; each returns false with a message
// (Chinese) when its formula cannot be evaluated, leaving its fields unchanged.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

// Upper bound on Newton steps for the pool temperature.
inline constexpr int kMaxPoolTempIterations = 200;

// ---- Property correlations (SI units; saturation pressure in log10 mmHg) ----

// Clamps T into a fit range stored as (highest, lowest); the lowest bound is
// tested first.
double ClampToRange(double t, float highest, float lowest);

// SatPressure (Pa) from log10 p[mmHg] = A - B/(t+C) - D/t^2 + E t + F t^2 and
// SurfaceMoleFraction = SatPressure / StdPressure.
bool CalcSaturationPressure(ModelState& s, std::string& message);
// VaporizationHeat (J/kg) = C ((A - t)/(A - B))^D; 0 when A = B.
bool CalcVaporizationHeat(ModelState& s, std::string& message);
// LiquidConductivity (W/(m K)) = A + B t + C t^2.
bool CalcLiquidConductivity(ModelState& s, std::string& message);
// MixViscosity (Pa s): vapour viscosity mixed with air by sqrt(M) weights.
bool CalcGasViscosity(ModelState& s, std::string& message);
// MixHeatCapacity (J/(kg K)): vapour heat capacity mixed with air by mass.
bool CalcGasHeatCapacity(ModelState& s, std::string& message);
// MixConductivity (W/(m K)): vapour conductivity mixed with air by M^0.333.
bool CalcGasConductivity(ModelState& s, std::string& message);

// ---- Model steps ----

// Wind-profile exponent table: row by stability (1..4), column by roughness
// (1..4). Row 0 means no row applies (stability outside 0.5..6).
int WindProfileRow(float verticalStability, float windSpeed10m);
int WindProfileColumn(float roughnessCm);
double WindProfileExponent(int row, int column);

// Heat transfer coefficient of the ground over the first 10 min,
// k_g / sqrt(pi alpha_g 600) (W/(m2 K)).
double GroundHeatCoefficient(const ModelState& s);

// Pool depth (m): 0.1 for a short or continuous release, else mass / (rho A).
double PoolDepth(const ModelState& s);

// Fuller diffusion coefficient of the vapour in air at the pool temperature
// (m2/s), from the diffusion volumes of vapour and air (19.7, single).
double FullerDiffusionCoefficient(const ModelState& s);

// Mass-transfer coefficient, Schmidt number and vapour-air density over the pool.
bool CalcMassTransfer(ModelState& s, std::string& message);
// Convective heat transfer coefficient and flux from the air.
bool CalcConvection(ModelState& s, std::string& message);
// Pool emission and net radiation.
bool CalcRadiation(ModelState& s, std::string& message);
// Mass flux, EvapRate and the evaporative heat flux of a liquid surface.
bool LiquidSurfaceFlux(ModelState& s, std::string& message);
// The same for a frozen surface (sublimation heat).
bool FrozenSurfaceFlux(ModelState& s, std::string& message);

// Newton update T - F/F' of the pool temperature; refuses F' = 0 and an
// estimate beyond the single range.
bool NewtonPoolTemperature(double t, double f, double df, double& tNew, std::string& message);

// EvaporateVossler with an explicit bound on the Newton steps.
bool EvaporateVosslerBounded(ModelState& s, std::string& message, int maxIterations);

}  // namespace zelto
