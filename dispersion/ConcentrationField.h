// The concentration of one computation as a plain function of the receptor
// and the time.
//
// A ConcentrationField is a const snapshot of everything the Gaussian plume
// and puff formulas read (meteorology and source results, spread tables,
// mixing lid, release shape, averaging time), taken once; evaluating it
// writes nothing shared, so any number of threads may evaluate one field at
// once.
//
// After a successful computation (the three dispersion stages ran):
//
//   const ConcentrationField field = TakeConcentrationField(s);
//   float c = PointConcentration(field, x, y, z, t);  // mg/m3
//
// with x downwind and y crosswind of the source (m), z the height above
// ground (m) and t the time after the start of the release (min; 10000 =
// steady state, the time the stages use for a continuous release). This is
// the concentration the listed points of the report show, with the
// averaging time as entered and the same lid rules.
#pragma once

#include <array>
#include <cstdint>

#include "core/ModelState.h"

namespace zelto {

struct ConcentrationField {
  // Inputs of the formulas, copied from the record.
  std::array<float, 15> spreadCoef{}, spreadExp{};  // sigma-z tables, entries 1..14
  float pi = 0;
  float averagingTime = 0;        // min
  float releaseDuration = 0;      // min; 10000 = continuous
  float sourceStrength = 0;       // g/min
  float sourceSize = 0;           // m
  float plumeHeight = 0;          // m, effective release height H
  float mixingHeight = 0;         // m; 10000 = no lid
  float windSpeed10m = 0;         // m/s
  float horizontalStability = 0;
  float verticalStability = 0;
  float dispersionRoughness = 0;  // cm
  float roughness = 0;            // cm, as entered for the site
  uint8_t sigmaThetaFlag = 0;     // sigma_theta::Flag
  // Fixed for these inputs.
  int sigmaYClass = 0;            // class number n of the sigma-y formula
  float virtualDistance = 0;      // m, where sigma-y equals SourceSize / 4.3

  bool operator==(const ConcentrationField&) const = default;
};

// The snapshot of the record as the dispersion stages see it: when the
// release and the receptor plane (ReceptorHeight) both lie above the mixing
// lid, the lid is left out, as the stages leave it out. Meaningful once the
// dispersion inputs passed their checks (a successful computation).
ConcentrationField TakeConcentrationField(const ModelState& s);

// Concentration (mg/m3) at downwind x, crosswind y, height z (m) and time t
// (min; 10000 = steady state), as a listed point is evaluated: x at least
// 1 m, and 0 when the point and the release lie on different sides of the
// mixing lid.
float PointConcentration(const ConcentrationField& f, float x, float y, float z, float t);

}  // namespace zelto
