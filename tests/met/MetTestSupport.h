// Shared set-up for the meteorology tests.
#pragma once

#include <cmath>
#include <string>

#include "core/ModelState.h"

namespace zelto::mettest {

// A record with the constants set and ordinary daytime inputs: wind 3 m/s at
// 10 m over 3 cm, 20 deg C, sea-level pressure, no sigma-theta, no lid.
inline ModelState BaseState() {
  ModelState s;
  InitConstants(s);
  s.LocalDateText = "2017/06/21";
  s.LocalTimeText = "12:00:00";
  s.Longitude = 120.1f;
  s.Latitude = 30.2f;
  s.TimeDifference = 8.01f;
  s.WindSpeed = 3.0f;
  s.WindHeight = 10.0f;
  s.Roughness = 3.0f;
  s.DispersionRoughness = 3.0f;
  s.AirTempC = 20.0f;
  s.AirTempK = 293.16f;
  s.AirPressure = 1013.25f;
  s.CloudCover = 0;
  s.CloudType = 1;
  s.GroundMoisture = 2;
  s.SigmaThetaFlag = 1;
  s.SigmaThetaTime = 60.0f;
  s.MixingHeight = 10000.0f;
  s.InversionBase = 10000.0f;
  s.ReleaseMode = 2;
  return s;
}

// The next float above (steps > 0) or below (steps < 0) v.
inline float NextFloat(float v, int steps) {
  for (int i = 0; i < steps; ++i) v = std::nextafter(v, INFINITY);
  for (int i = 0; i > steps; --i) v = std::nextafter(v, -INFINITY);
  return v;
}

}  // namespace zelto::mettest
