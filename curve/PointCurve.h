// The concentration over time at each listed point, outdoors (the
// dispersion model's own concentration, with the averaging time as entered)
// and inside a closed building, with the figures of both curves.
//
// Time grid: points every 30 s from the start of the release, and every
// tau / 2 (at least 1 s, at most 30 s) within 5 tau of the arrival of the
// cloud at the point (x / u) and of its departure (release end + x / u),
// where tau = sigma-x / u is the time the cloud's along-wind spread takes to
// pass; after a first pass the steps on either side of the highest point and
// every step in which the curve crosses a threshold are refined to the same
// fine step.
// End: outdoors, after the release has ended, at the first point below 1 %
// of the peak and below every threshold; a continuous release ends once the
// concentration no longer changes (its steady value); a cloud that has
// passed without reaching the point ends with all zeros. The curve then goes
// on, with steps growing by a quarter from 30 s up to 10 min, while the
// building empties (until the indoor concentration is below 1 % of its
// peak) or fills up to the steady value outside (until it is within 1 % of
// it). 24 h and 6000 points bound every curve.
#pragma once

#include <functional>
#include <vector>

#include "core/ModelState.h"
#include "curve/CurveFigures.h"

namespace zelto {

inline constexpr double kCurveCoarseStep = 0.5;        // min
inline constexpr double kCurveFinestStep = 1.0 / 60;   // min
inline constexpr double kCurveTimeLimit = 24 * 60.0;   // min
inline constexpr size_t kCurveMaxPoints = 6000;
inline constexpr double kCurveFadeFraction = 0.01;     // of the peak
inline constexpr double kCurveTailGrowth = 1.25;        // step factor after the outdoor end
inline constexpr double kCurveTailMaxStep = 10.0;       // min

// Where on the time axis the cloud's edges pass the point (min).
struct CurveTiming {
  double arrival = 0;     // x / u: the cloud's centre reaches the point
  double passage = 0;     // tau = sigma-x / u
  double releaseEnd = 0;  // release duration
  bool continuous = false;
};

// The concentration (mg/m3) at the point at a time (min after the start of
// the release).
using ConcentrationOfTime = std::function<float(double)>;

struct PointCurve {
  int point = 0;  // 1-based position in the point list
  float x = 0, y = 0, z = 0;  // m
  // The outdoor curve as traced, with its tail up to 24 h.
  std::vector<float> tracedT, tracedOut;
  float outdoorEndTime = 0;  // min: where the outdoor curve ended
  CurveEnd end = CurveEnd::Faded;
  // The curve shown: the traced one up to the end of the indoor curve.
  std::vector<float> t;     // min
  std::vector<float> cOut;  // mg/m3
  std::vector<float> cIn;   // mg/m3
  double exchangePerHour = 0;
  CurveFigures outdoor, indoor;
  bool indoorAbove = false;     // the indoor curve rises above the outdoor one
  float indoorAboveTime = 0;    // min, after the outdoor peak
};

// Samples the outdoor curve on the grid and its tail (tracedT, tracedOut)
// and tells how it ended.
void TraceOutdoorCurve(const ConcentrationOfTime& concentration, const CurveTiming& timing,
                       const std::vector<float>& thresholds, PointCurve& curve);

// The curve shown (outdoor and indoor, up to the end of the indoor curve) and
// the figures of both, for the exchange rate (per hour).
void ApplyAirExchange(PointCurve& curve, const std::vector<float>& thresholds,
                      double exchangePerHour);

// The thresholds of the computation (mg/m3, ascending).
std::vector<float> CurveThresholds(const ModelState& s);

// The curves of every listed point of the record after a successful
// computation (empty when no point is listed).
std::vector<PointCurve> ComputePointCurves(const ModelState& s, double exchangePerHour);

}  // namespace zelto
