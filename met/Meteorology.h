// Meteorology and substance properties at ambient conditions.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

// Solar elevation at the local date and time and the day/night flag.
void ComputeSolarElevation(ModelState& s);

// Liquid density of the substance at the ambient temperature (g/cm3).
void ComputeLiquidDensity(ModelState& s);

// The whole meteorology pass. Returns false with a message (Chinese) when it
// refuses (a stack above the inversion, a formula that cannot be evaluated).
bool RunMeteorology(ModelState& s, std::string& message);

}  // namespace zelto
