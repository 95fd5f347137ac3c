// Figures of one concentration-time curve, taken as linear between its
// points: peak, threshold times, dose and largest 60-minute mean.
#pragma once

#include <vector>

namespace zelto {

// How a curve ends.
enum class CurveEnd {
  Faded,      // below 1 % of its peak after the release had ended
  Steady,     // a continuous release: the steady value was reached and holds
  TimeLimit,  // still above 1 % of the peak at the 24 h bound
  NotReached, // the cloud passed without reaching the point (all 0)
};

// Times of one threshold on a curve (min after the start of the release).
struct ThresholdTimes {
  float threshold = 0;  // mg/m3
  bool reached = false; // the curve rises to the threshold or above
  float arrival = 0;    // first time the curve reaches the threshold
  bool ended = false;   // false: still at or above it where the curve ends
  float end = 0;        // last time it falls below the threshold (when ended)
  float above = 0;      // total time at or above the threshold, min
};

struct CurveFigures {
  float peak = 0;      // mg/m3
  float peakTime = 0;  // min
  std::vector<ThresholdTimes> thresholds;  // in the order given
  float dose = 0;      // integral of C dt over the curve, mg min/m3 (trapezoids)
  float max60 = 0;     // largest mean over 60 min, mg/m3
};

// Figures of the curve c on the times t (min, increasing). Crossing times
// are interpolated linearly between points; the dose is the trapezoid rule
// on the points. Beyond the last point the concentration is taken as 0,
// except for a steady curve, which keeps its last value (the 60-minute mean
// of a curve shorter than 60 min is taken over 60 min all the same).
CurveFigures ComputeCurveFigures(const std::vector<float>& t, const std::vector<float>& c,
                                 const std::vector<float>& thresholds, bool steady);

// The first time after the outdoor peak at which the indoor curve rises
// above the outdoor one (interpolated); false when it never does.
bool IndoorAboveOutdoorTime(const std::vector<float>& t, const std::vector<float>& cOut,
                            const std::vector<float>& cIn, float& time);

}  // namespace zelto
