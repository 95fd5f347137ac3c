// Source strength, source size and the pool evaporation models.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

// Source strength (g/min), source size and, for liquids, the evaporation rate
// and duration. Returns false with a message (Chinese) when it refuses.
bool ComputeSourceStrength(ModelState& s, std::string& message);

}  // namespace zelto
