// The model record as one JSON object, for scripts and checks.
#pragma once

#include <map>
#include <nlohmann/json.hpp>

#include "core/ModelState.h"
#include "curve/PointCurve.h"

namespace zelto {

// 32-bit values are kept as float, so the written number is the shortest text
// that reads back as the same 32-bit value. Keys keep the order of insertion.
using BatchJson = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                       std::int64_t, std::uint64_t, float>;

// Adds every field of the record to obj under its own name: constants, inputs,
// substance (chemical list and Vossler sets included), source term with the
// evaporation working values, the target fields (ThresholdText, PointCount,
// PointText, Points as [X, Y, Z, T, C] rows 1..PointCount, ReceptorX,
// ReceptorY, ThresholdCount, Thresholds 1..ThresholdCount) and the results
// (per-threshold lists 1..ThresholdCount; contour tables one array of exactly
// ContourPointCount points per threshold).
void AddModelState(BatchJson& obj, const ModelState& s);

// The figures of the concentration-time curves, one object per listed point:
// Point, X, Y, Z, AirExchange (per hour), End ("faded", "steady",
// "time-limit" or "not-reached"), Points (curve points), Outdoor and Indoor
// (Peak, PeakTime, Dose, Max60Mean, Thresholds: Threshold, Reached, Arrival,
// End, Above; times in min, null when there is none), IndoorAboveOutdoor (min
// or null). Concentrations in mg/m3, the dose in mg min/m3.
BatchJson CurvesJson(const std::vector<PointCurve>& curves);

}  // namespace zelto
