// Cross-check harness for the source-term stage: reads one JSON object of
// ModelState fields per line on standard input, runs ComputeSourceStrength on a
// fresh record holding them, and writes one JSON object per line with Ok, the
// message and every field the stage reads or writes.
//
// Built by CMake as crosscheck_source_harness (option ZELTO_CROSSCHECK).
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "core/ModelState.h"
#include "source/SourceTerm.h"

using nlohmann::json;

#define SOURCE_FIELDS(X)                                                                        \
  X(Pi) X(AirMolWeight) X(GasConstant) X(StdPressure) X(StdAirViscosity) X(AirConductivity)     \
  X(AirSpecificHeat) X(GroundType) X(GroundMoisture) X(AirTempK) X(AirPressure)                 \
  X(SolarRadiation) X(WindSpeed10m) X(VerticalStability) X(DispersionRoughness)                 \
  X(AirKinematicViscosity) X(MolecularWeight) X(BoilingPointK) X(MolecularDiameter)             \
  X(InteractionEnergy) X(VosslerIndex) X(FreezingPointK) X(VapViscA) X(VapViscB) X(VapViscC)    \
  X(VapViscTmax) X(VapViscTmin) X(VapCpA) X(VapCpB) X(VapCpC) X(VapCpD) X(VapCpTmax)             \
  X(VapCpTmin) X(VapCondA) X(VapCondB) X(VapCondC) X(VapCondD) X(VapCondTmax) X(VapCondTmin)     \
  X(HeatVapA) X(HeatVapB) X(HeatVapC) X(HeatVapD) X(HeatVapTmax) X(HeatVapTmin) X(SatPressA)     \
  X(SatPressB) X(SatPressC) X(SatPressD) X(SatPressE) X(SatPressF) X(SatPressTmax)               \
  X(SatPressTmin) X(LiqCondA) X(LiqCondB) X(LiqCondC) X(LiqCondTmax) X(LiqCondTmin)              \
  X(DiffusionVolume) X(VaporPressure) X(LiquidDensity) X(VaporDensity) X(ReleaseMode)           \
  X(ReleaseDuration) X(ReleaseRate) X(ReleaseMass) X(IsLiquid) X(PoolArea) X(PoolTemperature)   \
  X(EvapRate) X(SourceStrength) X(SourceSize) X(WindExponent) X(LengthExponent) X(SatPressure)  \
  X(SurfaceMoleFraction) X(MassTransferCoef) X(VaporizationHeat) X(MixConductivity)             \
  X(LiquidConductivity) X(MixHeatCapacity) X(NetRadiation) X(PoolEmission) X(ConvectiveFlux)    \
  X(SublimationHeat) X(ConvectiveCoef) X(EvaporativeFlux) X(SchmidtNumber) X(MixViscosity)

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.empty()) continue;
    const json in = json::parse(line);
    zelto::ModelState s;
#define READ(name) \
  if (in.contains(#name)) s.name = in[#name].get<decltype(s.name)>();
    SOURCE_FIELDS(READ)
#undef READ
    std::string message;
    const bool ok = zelto::ComputeSourceStrength(s, message);
    json out;
    out["Ok"] = ok;
    out["Message"] = message;
#define WRITE(name) out[#name] = s.name;
    SOURCE_FIELDS(WRITE)
#undef WRITE
    std::cout << out.dump() << "\n";
  }
  return 0;
}
