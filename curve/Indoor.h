// Concentration inside a closed building: one well-mixed zone exchanging air
// with the outside at a fixed rate.
#pragma once

#include <array>
#include <vector>

namespace zelto {

// Air exchange rate (per hour) of a closed house: the default.
inline constexpr double kDefaultAirExchangePerHour = 0.5;

// A named kind of building with its typical air exchange rate when doors
// and windows are shut.
struct BuildingType {
  const char* name;        // Chinese, as the window lists it
  double exchangePerHour;  // 1/h
};

// The building types the window offers; the first is the default.
const std::array<BuildingType, 4>& BuildingTypes();

// One step of dCin/dt = k (Cout - Cin), k = exchangePerHour / 60 per minute,
// integrated exactly over a step of h minutes with Cout linear from c0 to c1.
// Returns Cin at the end of the step (mg/m3).
double IndoorStep(double cin0, double c0, double c1, double hMin, double exchangePerHour);

// The indoor curve on the times t (min) of the outdoor curve cOut, starting
// from clean air inside at the first time.
std::vector<float> IndoorCurve(const std::vector<float>& t, const std::vector<float>& cOut,
                               double exchangePerHour);

}  // namespace zelto
