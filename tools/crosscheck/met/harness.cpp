// Cross-check harness for the meteorology routines: reads one JSON object per
// line on standard input ({"stage": NAME, fields...}), sets those ModelState
// fields on a fresh record, runs the named routine and writes one JSON object
// per line with Ok, the message, the steps of the u* search and the fields.
// Stages: all (RunMeteorology), solar, heat, ustar, wind10, stability, plume,
// vp, ld, vd.
//
// Built by CMake as crosscheck_met_harness (option ZELTO_CROSSCHECK).
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "core/ModelState.h"
#include "met/Meteorology.h"

using nlohmann::json;

#define MET_FIELDS(X)                                                                             \
  X(Pi) X(DegToRad) X(Longitude) X(Latitude) X(TimeDifference) X(SolarElevation)                 \
  X(CloudCover) X(CloudTypeFactor) X(Albedo) X(NetRadiationFactor) X(MoistureFactor)             \
  X(AirTempK) X(AirTempC) X(AirPressure) X(WindSpeed) X(WindHeight) X(Roughness)                 \
  X(SolarRadiation) X(SensibleHeatFlux) X(FrictionVelocity) X(MoninObukhovLength)                \
  X(InverseMoninObukhovLength) X(RoughnessProfileTerm) X(WindSpeed10m) X(SigmaThetaFlag)         \
  X(SigmaTheta) X(SigmaThetaTime) X(MixingHeight) X(HorizontalStability) X(VerticalStability)    \
  X(ReleaseMode) X(ReleaseRate) X(StackHeight) X(StackGasTemperature) X(StackFlowRate)           \
  X(EffectivePlumeHeight) X(BuoyancyFlux) X(PlumeRise) X(FinalRiseDistance) X(SourceStrength)    \
  X(SourceSize) X(DispersionRoughness) X(AirDensity) X(AirViscosity) X(AirKinematicViscosity)    \
  X(VosslerIndex) X(IsLiquid) X(MolecularWeight) X(CriticalTempK) X(CriticalPressure)            \
  X(CriticalVolume) X(VaporPressA) X(VaporPressB) X(VaporPressC) X(LiquidDensityA)               \
  X(LiquidDensityB) X(VaporPressure) X(LiquidDensity) X(VaporDensity)

#define MET_TEXTS(X) X(LocalDateText) X(LocalTimeText) X(DayNightFlag) X(StabilityText) X(ChemicalName)

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.empty()) continue;
    json in = json::parse(line);
    zelto::ModelState s;
#define SET(f) \
  if (in.contains(#f)) s.f = in[#f].get<decltype(s.f)>();
    MET_FIELDS(SET)
    MET_TEXTS(SET)
#undef SET
    std::string stage = in.value("stage", "all");
    std::string message;
    int steps = 0;
    bool ok = true;
    if (stage == "all") ok = zelto::RunMeteorology(s, message);
    else if (stage == "solar") ok = zelto::ComputeSolarElevation(s, message);
    else if (stage == "heat") ok = zelto::ComputeHeatFlux(s, message);
    else if (stage == "ustar") ok = zelto::ComputeFrictionVelocity(s, message, &steps);
    else if (stage == "wind10") ok = zelto::ComputeWind10m(s, message);
    else if (stage == "stability") ok = zelto::ComputeStability(s, message);
    else if (stage == "plume") ok = zelto::ComputePlumeRise(s, message);
    else if (stage == "vp") ok = zelto::ComputeVaporPressure(s, message);
    else if (stage == "ld") ok = zelto::ComputeLiquidDensity(s, message);
    else if (stage == "vd") ok = zelto::ComputeVaporDensity(s, message);
    json out;
    out["Ok"] = ok;
    out["Message"] = message;
    out["Steps"] = steps;
#define GET(f) out[#f] = s.f;
    MET_FIELDS(GET)
    MET_TEXTS(GET)
#undef GET
    std::cout << out.dump(-1, ' ', false, json::error_handler_t::replace) << "\n";
  }
  return 0;
}
