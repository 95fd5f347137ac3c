// Names for the slots of a substance's two parameter records, so code reads
// e.Params[general::MolecularWeight] rather than e.Params[1].
//
// Both records are 1-based (slot 0 unused). Plain enums in their own
// namespaces: they index the arrays directly, and the parameter blocks list
// their items in slot order.
#pragma once

namespace zelto {

// ChemicalEntry::Params(1..12): the general block's lines 5 to 13 (lines 1 to
// 4, the exposure limits, have fields of their own).
namespace general {
enum Slot : int {
  MolecularWeight = 1,      // g/mol
  BoilingPoint = 2,         // K
  CriticalTemperature = 3,  // K
  CriticalPressure = 4,     // atm
  CriticalVolume = 5,       // cm3/g-mole
  VaporPressureA = 6,       // mmHg, or the first constant of the correlation
  VaporPressureB = 7,
  VaporPressureC = 8,
  LiquidDensityA = 9,
  LiquidDensityB = 10,
  MolecularDiameter = 11,   // Angstrom
  InteractionEnergy = 12,   // J
  Count = 13                // size of the array, slot 0 included
};
}  // namespace general

// VosslerSet::Values(1..40): copies of molecular weight and boiling point,
// then the 38 numbers of the 14 Vossler block lines. "Tmax" and "Tmin" are the
// highest and lowest temperatures (K) of a correlation's fit range.
namespace vossler {
enum Slot : int {
  MolecularWeight = 1,  // copy of the general record's
  BoilingPoint = 2,     // copy of the general record's, K
  FreezingPoint = 3,    // K; line 1
  VapourViscosityA = 4, VapourViscosityB = 5, VapourViscosityC = 6,
  VapourViscosityTmax = 7, VapourViscosityTmin = 8,
  VapourHeatCapacityA = 9, VapourHeatCapacityB = 10, VapourHeatCapacityC = 11,
  VapourHeatCapacityD = 12, VapourHeatCapacityTmax = 13, VapourHeatCapacityTmin = 14,
  VapourConductivityA = 15, VapourConductivityB = 16, VapourConductivityC = 17,
  VapourConductivityD = 18, VapourConductivityTmax = 19, VapourConductivityTmin = 20,
  VaporizationHeatA = 21, VaporizationHeatB = 22, VaporizationHeatC = 23,
  VaporizationHeatD = 24, VaporizationHeatTmax = 25, VaporizationHeatTmin = 26,
  SaturationPressureA = 27, SaturationPressureB = 28, SaturationPressureC = 29,
  SaturationPressureD = 30, SaturationPressureE = 31, SaturationPressureF = 32,
  SaturationPressureTmax = 33, SaturationPressureTmin = 34,
  LiquidConductivityA = 35, LiquidConductivityB = 36, LiquidConductivityC = 37,
  LiquidConductivityTmax = 38, LiquidConductivityTmin = 39,
  DiffusionVolume = 40,  // line 14
  Count = 41             // size of the array, slot 0 included
};
}  // namespace vossler

}  // namespace zelto
