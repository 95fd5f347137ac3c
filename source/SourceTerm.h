// Source strength, source size, and the release amount and pool area in the
// units of the model. The evaporation models are in source/Evaporation.h.
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

}  // namespace zelto
