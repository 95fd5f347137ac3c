// Source strength, source size and the pool evaporation models.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

// ---- The entered release in the units of the model ----

// Release amount (grams and grams per minute) from the amount box value v:
// an instantaneous release converts to ReleaseMass, the others to ReleaseRate;
// the volume unit (m3, m3/min, density LiquidDensity g/cm3) applies only to
// releases that are not from a stack. Returns false (fields unchanged) when a
// result would not be a finite 32-bit value.
bool ConvertReleaseAmount(ModelState& s, double v, bool volumeUnit);

// Pool area estimated from the released amount: a 1 cm deep layer of the
// liquid, m2 = cm3 * 0.0001; the basis is ten minutes of release when the
// release lasts longer than 10 min, else the whole mass. Stored as single.
// Returns false when the estimate is not a finite 32-bit value.
bool EstimatePoolArea(const ModelState& s, float& area);

// Pool area rounded to 2 decimals (halves to even), at least 1 m2.
float SettlePoolArea(float area);

// The whole pool-area rule of a computation: a typed area that is not
// positive is replaced by the estimate; then rounded and floored at 1.
// Returns false when the estimate fails.
bool ResolvePoolArea(const ModelState& s, float typedArea, float& area);

// ---- Source term ----

// Source strength (g/min), source size and, for liquids, the evaporation rate
// and duration. Returns false with a message (Chinese) when it refuses.
bool ComputeSourceStrength(ModelState& s, std::string& message);

// CLEWELL pool evaporation (closed form from wind, area, vapour pressure and
// the entered pool temperature). Writes EvapRate (g/min).
bool EvaporateClewell(ModelState& s, std::string& message);

// SHELL pool evaporation (boundary-layer mass transfer with a diffusion
// coefficient from kinetic gas theory). Writes EvapRate (g/min).
bool EvaporateShell(ModelState& s, std::string& message);

// Vossler pool evaporation: heat balance of the pool solved for its surface
// temperature, then the mass flux at that temperature (or the heat-limited rate
// of a boiling pool). Writes EvapRate (g/min), PoolTemperature (K), VaporDensity
// (kg/m3) and the evaporation working values.
bool EvaporateVossler(ModelState& s, std::string& message);

}  // namespace zelto
