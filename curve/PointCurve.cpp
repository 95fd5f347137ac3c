#include "curve/PointCurve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "curve/Indoor.h"
#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/ConcentrationField.h"

namespace zelto {

namespace {

struct Window {
  double from, to;
};

// The next grid time after t: the next multiple of the coarse step or the
// next fine step of a window, whichever comes first.
double NextTime(double t, const std::vector<Window>& windows, double fine) {
  constexpr double eps = 1e-9;
  double next = (std::floor(t / kCurveCoarseStep + 1e-6) + 1.0) * kCurveCoarseStep;
  for (const Window& w : windows) {
    if (t + eps < w.from) {
      next = std::min(next, w.from);
    } else if (t + eps < w.to) {
      next = std::min({next, w.from + (std::floor((t - w.from) / fine + 1e-6) + 1.0) * fine, w.to});
    }
  }
  return next;
}

double FineStep(const CurveTiming& timing) {
  return std::clamp(timing.passage / 2.0, kCurveFinestStep, kCurveCoarseStep);
}

size_t PeakIndex(const std::vector<float>& c) {
  return static_cast<size_t>(std::max_element(c.begin(), c.end()) - c.begin());
}

// Fills the steps on either side of the highest point, and every step in
// which the curve crosses a threshold, with points at the fine step.
void Refine(const ConcentrationOfTime& concentration, double fine, const std::vector<float>& thresholds,
            std::vector<float>& times, std::vector<float>& values) {
  if (times.size() < 2) return;
  std::vector<std::pair<double, double>> spans;
  const size_t p = PeakIndex(values);
  if (values[p] > 0.0f) spans.push_back({times[p > 0 ? p - 1 : p], times[std::min(p + 1, times.size() - 1)]});
  for (size_t i = 1; i < times.size(); ++i) {
    for (float v : thresholds) {
      if ((values[i - 1] < v) != (values[i] < v)) {
        spans.push_back({times[i - 1], times[i]});
        break;
      }
    }
  }
  std::vector<float> t, c;
  for (const auto& [from, to] : spans) {
    for (double x = from + fine; x < to - 1e-9 && times.size() + t.size() < kCurveMaxPoints; x += fine) {
      t.push_back(static_cast<float>(x));
      c.push_back(concentration(x));
    }
  }
  for (size_t i = 0; i < t.size(); ++i) {
    const auto at = std::lower_bound(times.begin(), times.end(), t[i]);
    if (at != times.end() && *at == t[i]) continue;
    const auto k = at - times.begin();
    times.insert(at, t[i]);
    values.insert(values.begin() + k, c[i]);
  }
}

}  // namespace

void TraceOutdoorCurve(const ConcentrationOfTime& concentration, const CurveTiming& timing,
                       const std::vector<float>& thresholds, PointCurve& curve) {
  std::vector<float>& times = curve.tracedT;
  std::vector<float>& values = curve.tracedOut;
  times.clear();
  values.clear();
  const double fine = FineStep(timing);
  const double reach = 5.0 * timing.passage;
  std::vector<Window> windows{{std::max(0.0, timing.arrival - reach), timing.arrival + reach}};
  const double departure = timing.releaseEnd + timing.arrival;
  if (!timing.continuous) windows.push_back({std::max(0.0, departure - reach), departure + reach});
  // Past this time a cloud that has not reached the point never will.
  const double passed = (timing.continuous ? timing.arrival : departure) + reach + kCurveCoarseStep;

  // A faded curve is also below every threshold, so that each threshold's
  // end lies on the refined grid.
  const float lowest = thresholds.empty() ? std::numeric_limits<float>::max()
                                          : *std::min_element(thresholds.begin(), thresholds.end());
  double t = 0.0;
  float peak = 0.0f;
  curve.end = CurveEnd::TimeLimit;
  while (times.size() < kCurveMaxPoints) {
    const float c = concentration(t);
    times.push_back(static_cast<float>(t));
    values.push_back(c);
    peak = std::max(peak, c);
    if (peak > 0.0f) {
      if (timing.continuous) {
        const float before = values.size() > 1 ? values[values.size() - 2] : -1.0f;
        if (t > timing.arrival + reach && std::fabs(static_cast<double>(c) - before) <= 1e-4 * c) {
          curve.end = CurveEnd::Steady;
          break;
        }
      } else if (t > timing.releaseEnd && c < kCurveFadeFraction * peak && c < lowest) {
        curve.end = CurveEnd::Faded;
        break;
      }
    } else if (t > passed) {
      curve.end = CurveEnd::NotReached;
      break;
    }
    const double next = NextTime(t, windows, fine);
    if (next > kCurveTimeLimit + 1e-9) break;
    t = next;
  }
  curve.outdoorEndTime = static_cast<float>(t);
  if (curve.end == CurveEnd::NotReached) return;
  Refine(concentration, fine, thresholds, times, values);
  if (curve.end == CurveEnd::TimeLimit) return;
  // The tail, for the building that empties or fills after the outdoor end.
  double step = kCurveCoarseStep;
  while (times.size() < kCurveMaxPoints && t < kCurveTimeLimit) {
    step = std::min(step * kCurveTailGrowth, kCurveTailMaxStep);
    t = std::min(t + step, kCurveTimeLimit);
    times.push_back(static_cast<float>(t));
    values.push_back(concentration(t));
  }
}

void ApplyAirExchange(PointCurve& curve, const std::vector<float>& thresholds,
                      double exchangePerHour) {
  curve.exchangePerHour = exchangePerHour;
  const std::vector<float> inside = IndoorCurve(curve.tracedT, curve.tracedOut, exchangePerHour);
  // The curve shown ends where the building has emptied (below 1 % of its
  // own peak) or has filled to the steady value outside (within 1 %).
  size_t count = inside.size();
  const bool steady = curve.end == CurveEnd::Steady;
  if (curve.end == CurveEnd::Faded || steady) {
    const float peak = inside.empty() ? 0.0f : *std::max_element(inside.begin(), inside.end());
    for (size_t i = 0; i < inside.size(); ++i) {
      if (!(curve.tracedT[i] > curve.outdoorEndTime)) continue;
      const bool done = steady ? inside[i] >= (1.0 - kCurveFadeFraction) * curve.tracedOut[i]
                               : inside[i] < kCurveFadeFraction * peak;
      if (done) {
        count = i + 1;
        break;
      }
    }
  }
  const auto n = static_cast<std::ptrdiff_t>(count);
  curve.t.assign(curve.tracedT.begin(), curve.tracedT.begin() + n);
  curve.cOut.assign(curve.tracedOut.begin(), curve.tracedOut.begin() + n);
  curve.cIn.assign(inside.begin(), inside.begin() + n);
  curve.outdoor = ComputeCurveFigures(curve.t, curve.cOut, thresholds, steady);
  // Indoors a steady outdoor value is approached only slowly: the indoor
  // curve is not steady where the outdoor one is.
  curve.indoor = ComputeCurveFigures(curve.t, curve.cIn, thresholds, false);
  curve.indoorAboveTime = 0.0f;
  curve.indoorAbove = IndoorAboveOutdoorTime(curve.t, curve.cOut, curve.cIn, curve.indoorAboveTime);
}

std::vector<float> CurveThresholds(const ModelState& s) {
  std::vector<float> out;
  for (int j = 1; j <= s.Targets.ThresholdCount && j < static_cast<int>(s.Targets.Thresholds.size()); ++j) {
    out.push_back(s.Targets.Thresholds[j]);
  }
  return out;
}

std::vector<PointCurve> ComputePointCurves(const ModelState& s, double exchangePerHour) {
  std::vector<PointCurve> curves;
  const int n = std::min<int>(s.Targets.PointCount, static_cast<int>(s.Targets.Points.size()) - 1);
  if (n <= 0) return curves;
  const std::vector<float> thresholds = CurveThresholds(s);

  // The concentration the point stage evaluates, as a function of the
  // receptor and the time, with the averaging time as entered.
  const ConcentrationField field = TakeConcentrationField(s);
  const double u = field.windSpeed10m;
  for (int i = 1; i <= n; ++i) {
    const PointRow& p = s.Targets.Points[i];
    PointCurve curve;
    curve.point = i;
    curve.x = p[1];
    curve.y = p[2];
    curve.z = p[3];
    const float x = std::max(1.0f, p[1]);
    const double sigmaX = ColumnAt(field, x).sigmaX;
    CurveTiming timing;
    timing.arrival = x / u / 60.0;
    timing.passage = sigmaX / u / 60.0;
    timing.releaseEnd = field.releaseDuration;
    timing.continuous = field.releaseDuration == kSentinel;
    if (!std::isfinite(timing.passage) || !(timing.passage > 0.0)) timing.passage = kCurveCoarseStep;

    // One evaluator per point: the spreads of its column are computed once.
    ConcentrationEvaluator ev(field);
    TraceOutdoorCurve(
        [&](double t) {
          // The stages refuse results that overflow; a curve point that
          // would is drawn and written as 0 rather than reach a file.
          const float c = ev.AtPoint(p[1], p[2], p[3], static_cast<float>(t));
          return std::isfinite(c) ? c : 0.0f;
        },
        timing, thresholds, curve);
    ApplyAirExchange(curve, thresholds, exchangePerHour);
    curves.push_back(std::move(curve));
  }
  return curves;
}

}  // namespace zelto
