// The three pool evaporation models ComputeSourceStrength chooses from,
// declared for the module's own files and its tests.
#pragma once

#include <string>

#include "core/ModelState.h"

namespace zelto {

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
