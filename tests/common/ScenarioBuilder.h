// Model records for test scenarios, shared by the test programs and the fuzz
// targets. Each builder starts from the constants (InitConstants) and fills
// the fields that the earlier stages would have left, so that a test can run
// the stage under test at once. Only the fields named are set; every other
// field keeps the value of a fresh record.
#pragma once

#include "core/ModelState.h"

namespace zelto::testing_util {

// The constants and the two lists as the main window creates them at start:
// slot 1 of the chemical list is "未定义化学物质", one Vossler set.
ModelState StartState();

// ---- dispersion: the record as the meteorology and source stages leave it

// Neutral (D) stability, 3 m/s, 10 min averaging time, 3 cm roughness, no
// sigma-theta, no lid, continuous 1000 g/min ground release of size 1 m,
// receptor at 2 m in steady state.
ModelState BaseState();

// An instantaneous release of 10 kg (0.25 min at 40000 g/min) as a 1.366 m
// puff, observed at 5 min.
ModelState InstantaneousState();

// ---- source term: the record as input preparation and meteorology leave it

// Ammonia-like liquid: M 17.03 kg/kmol, boils at 239.8 K, freezes at 195.4 K,
// with its Vossler correlations in SI units.
void SetAmmoniaLike(ModelState& s);

// 1000 kg of the ammonia-like liquid spilled at once on a 100 m2 dry concrete
// pool, 20 deg C, 3 m/s, slightly stable (row 2), roughness 10 cm, 500 W/m2
// sunshine.
ModelState AmmoniaDaySpill();

// The same spill on wet concrete on a calm, very stable warm night (30 deg C,
// 1 m/s, row 4, roughness 3 cm): the pool boils.
ModelState AmmoniaNightSpill();

// A 10 m2 pool at 10 deg C of a substance of M 100 with 0.1 atm vapour
// pressure, 2 m/s wind: the CLEWELL inputs.
ModelState ClewellPool();

// A benzene-like vapour over a 25 m2 pool of size 5 m at 20 deg C in air at
// 293.16 K and 1013.25 hPa, 3 m/s: the SHELL inputs.
ModelState ShellPool();

// 100 kg of a liquid with both SHELL properties and a CLEWELL vapour pressure
// (0.1 atm) spilled at once on a 25 m2 pool, same air and wind as ShellPool.
ModelState LiquidPool();

}  // namespace zelto::testing_util
