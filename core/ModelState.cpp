#include "core/ModelState.h"

namespace zelto {

void InitConstants(ModelState& s) {
  s.Pi = 3.1415927f;
  s.DegToRad = static_cast<float>(static_cast<double>(s.Pi) / 180.0);
  s.AirMolWeight = 28.966f;
  s.AirGasConstant = 2870400.0f;
  s.GasConstant = 8314.401f;
  s.StdPressure = 101325.0f;
  s.AirConductivity = 0.0233f;
  s.AirSpecificHeat = 1000.0f;
  s.StdAirViscosity = 0.0000182f;

  // Vertical spread power laws sigma-z = a x^b: entry c (1..7) serves stability
  // class c near the source, entry c + 7 the same class beyond its far range.
  static constexpr float kCoef[14] = {0.0414f,    0.0414f,    0.1036f, 0.1173f, 0.0975f,
                                      0.105f,     0.0617f,    0.0001928f, 0.0001928f,
                                      0.0534f,    0.4422f,    0.6097f, 0.8788f, 0.999f};
  static constexpr float kExp[14] = {1.3155f, 1.3155f, 1.0026f, 0.9112f, 0.8414f,
                                     0.7692f, 0.7884f, 2.1234f, 2.1234f, 1.1029f,
                                     0.7382f, 0.5808f, 0.4771f, 0.4052f};
  s.SpreadCoef[0] = 0;
  s.SpreadExp[0] = 0;
  for (int i = 0; i < 14; ++i) {
    s.SpreadCoef[i + 1] = kCoef[i];
    s.SpreadExp[i + 1] = kExp[i];
  }
}

}  // namespace zelto
