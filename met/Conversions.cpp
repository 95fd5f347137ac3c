// Conversions of the entered site and release data into the units of the
// model: station pressure, temperatures in Kelvin and the ppm factor.
#include "core/ModelState.h"
#include "core/TextConv.h"
#include "met/Meteorology.h"

namespace zelto {

float StationPressure(float elevation) {
  return static_cast<float>(1013.25 - static_cast<double>(elevation) * 0.1148);
}

float AirTemperatureK(double celsius) { return static_cast<float>(celsius + kKelvinOffset); }

float StackGasTemperatureK(double celsius) {
  return static_cast<float>((FitsSingle(celsius) ? celsius : 0.0) + kStackGasKelvinOffset);
}

bool ComputePpmFactor(const ModelState& s, float molecularWeight, float& factor) {
  double f = static_cast<double>(s.AirMolWeight) * static_cast<double>(s.AirGasConstant) *
             static_cast<double>(s.AirTempK) /
             (static_cast<double>(molecularWeight) * static_cast<double>(s.AirPressure) * 1000000.0);
  if (!FitsSingle(f)) return false;
  float stored = static_cast<float>(f);
  // Nitrogen tetroxide is counted as its monomer.
  if (s.ChemicalName == "NITROGEN TETROXIDE") {
    if (!FitsSingle(2.0 * static_cast<double>(stored))) return false;
    stored = 2.0f * stored;
  }
  factor = stored;
  return true;
}

}  // namespace zelto
