// Upwind end of an isopleth, as a search over any concentration profile along
// the axis, so that its stepping can be checked apart from the plume physics.
#pragma once

#include "core/TextConv.h"

namespace zelto {

// Steps of the upwind edge search.
inline constexpr int kMaxUpwindSteps = 10000;

// From the distance xm (m) of the plane maximum back towards the source in
// steps of a tenth of that distance; where the axis concentration conc(x)
// (mg/m3) falls below c, the step is halved (never below 10 m) and the search
// goes on, until a step of 10 m finds it below c again or 10 m is reached.
// The start and the first step are whole metres (halves to even); a halved
// step keeps its exact half, so an odd step gives a half-metre step.
// Returns the distance (m) where the search stopped.
template <class AxisConcentration>
float SearchUpwindEdge(float xm, float c, AxisConcentration&& conc) {
  const double x0 = RoundHalfEven(xm);
  double step = RoundHalfEven(x0 / 10.0);
  if (step < 10.0) step = 10.0;
  float x = 0.0f;
  for (int i = 1; i <= kMaxUpwindSteps; ++i) {
    x = static_cast<float>(x0 - (i - 1) * step);
    if (x < 10.0f) {
      x = 10.0f;
      break;
    }
    if (conc(x) < c) {
      if (step <= 10.0) break;
      step = step / 2.0;
      if (step < 10.0) step = 10.0;
    }
  }
  return x;
}

}  // namespace zelto
