// The meteorology pass: sun, surface layer, stability, stack plume rise, then
// the properties of air and substance at the ambient temperature.
#include "met/Meteorology.h"

namespace zelto {

bool RunMeteorology(ModelState& s, std::string& message) {
  message.clear();

  if (!ComputeSolarElevation(s, message)) return false;
  if (!ComputeHeatFlux(s, message)) return false;
  if (!ComputeAirProperties(s, message)) return false;
  // Refuses a wind height not above the roughness length before the log
  // profile divides by ln(100 zm / z0).
  if (!ComputeFrictionVelocity(s, message)) return false;
  if (!ComputeWind10m(s, message)) return false;
  if (!ComputeStability(s, message)) return false;

  if (s.ReleaseMode == release::Stack) {
    // Stack releases disperse over the standard 3 cm roughness.
    s.DispersionRoughness = 3.0f;
    if (!ComputePlumeRise(s, message)) return false;
  }

  // A liquid with a Vossler parameter set: that evaporation model works out
  // its own properties (the same test the source term uses to pick it).
  if (s.IsLiquid && s.VosslerIndex >= 1) return true;

  s.VaporPressure = 0.0f;
  if (s.IsLiquid) {
    if (s.VaporPressA > 0.0f && !ComputeVaporPressure(s, message)) return false;
    if (!ComputeLiquidDensity(s, message)) return false;
  }
  if (!ComputeVaporDensity(s, message)) return false;

  // No vapour pressure: the substance is treated as a gas.
  if (s.VaporPressure == 0.0f) s.IsLiquid = false;
  return true;
}

}  // namespace zelto
