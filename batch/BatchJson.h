// The model record as one JSON object, for scripts and checks.
#pragma once

#include <map>
#include <nlohmann/json.hpp>

#include "core/ModelState.h"

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

}  // namespace zelto
