// Dispersion entry, isopleths of the thresholds, hazard distance and zone.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/TextConv.h"
#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Concurrent.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"
#include "dispersion/UpwindEdge.h"

namespace zelto {

namespace {

// Limits of the searches: steps of the downwind march, and the farthest
// distance (m) any march looks.
constexpr int kMaxSearchSteps = 10000;
constexpr float kMarchLimit = 100000.0f;
// Crosswind steps of one half-width search (2 m each: 200 km).
constexpr int kMaxCrosswindSteps = 100000;
// Steps of the hazard-distance loops; the 100 km limit ends them long before.
constexpr long kMaxHazardSteps = 1000000;
// Slowest wind (m/s) for which the puff ages stay within float resolution.
constexpr float kMinWind = 0.01f;
// Largest source strength (g/min, a million tonnes per minute) for which no
// concentration can overflow a float.
constexpr float kMaxSourceStrength = 1.0e12f;

void ProcessEvents(const DispersionContext& ctx) {
  if (ctx.processEvents) ctx.processEvents();
}

bool Finite(float v) { return std::isfinite(v); }

// Refuses inputs for which a formula of the model cannot be evaluated.
bool CheckDispersionInputs(const ModelState& s, DispersionKind kind, std::string& message) {
  const char kPrefix[] = "扩散计算无法进行：";
  if (!Finite(s.WindSpeed10m) || s.WindSpeed10m < kMinWind) {
    message = std::string(kPrefix) + "10m高风速无效（须不小于0.01m/s）。";
    return false;
  }
  if (!Finite(s.SourceSize) || !(s.SourceSize > 0.0f)) {
    message = std::string(kPrefix) + "源尺寸无效（须大于0）。";
    return false;
  }
  if (!Finite(s.SourceStrength) || s.SourceStrength < 0.0f || s.SourceStrength > kMaxSourceStrength) {
    message = std::string(kPrefix) + "源强无效。";
    return false;
  }
  if (!Finite(s.ReleaseDuration) || !(s.ReleaseDuration > 0.0f)) {
    message = std::string(kPrefix) + "排放时长无效（须大于0）。";
    return false;
  }
  if (!Finite(s.AveragingTime) || !(s.AveragingTime > 0.0f)) {
    message = std::string(kPrefix) + "浓度平均时间无效（须大于0）。";
    return false;
  }
  if (!Finite(s.DispersionRoughness) || !(s.DispersionRoughness > 0.0f) ||
      (s.SigmaThetaFlag == sigma_theta::Given && (!Finite(s.Roughness) || !(s.Roughness > 0.0f)))) {
    message = std::string(kPrefix) + "地表粗糙度无效（须大于0）。";
    return false;
  }
  // The sigma-z tables cover the stability parameter from 0.5 (A) to 6 (F).
  if (!Finite(s.HorizontalStability) || !Finite(s.VerticalStability) ||
      s.HorizontalStability < 0.0f || s.HorizontalStability > 6.5f ||
      std::floor(s.VerticalStability + 0.4999) < 0.0 || std::floor(s.VerticalStability + 0.4999) > 6.0) {
    message = std::string(kPrefix) + "大气稳定度参数无效。";
    return false;
  }
  if (!Finite(s.MixingHeight) || !(s.MixingHeight > 0.0f)) {
    message = std::string(kPrefix) + "混合层高度无效（须大于0）。";
    return false;
  }
  if (!Finite(s.EffectivePlumeHeight)) {
    message = std::string(kPrefix) + "释放高度无效。";
    return false;
  }
  if (!Finite(s.ReceptorHeight)) {
    message = std::string(kPrefix) + "预测点离地高度无效。";
    return false;
  }
  if (!Finite(s.PredictionTime) || std::fabs(s.PredictionTime) > 1.0e7f) {
    message = std::string(kPrefix) + "预测时刻无效。";
    return false;
  }
  const float xv = ConcentrationInputs(s).virtualDistance;
  if (!Finite(xv) || !(xv > 0.0f)) {
    message = std::string(kPrefix) + "初始源尺寸对应的虚拟距离无法计算。";
    return false;
  }
  if (kind == DispersionKind::Isopleths) {
    const int n = s.Targets.ThresholdCount;
    bool ok = n >= 1 && static_cast<int>(s.Targets.Thresholds.size()) > n;
    for (int j = 1; ok && j <= n; ++j) {
      ok = Finite(s.Targets.Thresholds[j]) && s.Targets.Thresholds[j] > 0.0f;
    }
    if (!ok) {
      message = kThresholdsInvalidMessage;
      return false;
    }
    if (s.SigmaThetaFlag == sigma_theta::Given && static_cast<double>(s.WindSpeed) > kLightWindSpeed &&
        (!Finite(s.SigmaTheta) || !Finite(s.SigmaThetaTime) || !(s.SigmaThetaTime > 0.0f))) {
      message = std::string(kPrefix) + "风向标准差时间无效（须大于0）。";
      return false;
    }
  }
  if (kind == DispersionKind::ReceptorPoints) {
    const int n = s.Targets.PointCount;
    bool ok = n <= 0 || static_cast<int>(s.Targets.Points.size()) > n;
    for (int i = 1; ok && i <= n; ++i) {
      const PointRow& p = s.Targets.Points[i];
      ok = Finite(p[1]) && Finite(p[2]) && Finite(p[3]) && Finite(p[4]) && std::fabs(p[4]) <= 1.0e7f;
    }
    if (!ok) {
      message = std::string(kPrefix) + "系列计算点的坐标或时刻无效。";
      return false;
    }
  }
  return true;
}

// True when every result the stage wrote is a finite number.
bool ResultsFinite(const ModelState& s, DispersionKind kind) {
  if (!Finite(s.MaxConcentration) || !Finite(s.Concentration)) return false;
  if (kind == DispersionKind::Isopleths) {
    if (!Finite(s.HazardDistance) || !Finite(s.HazardTime) || !Finite(s.ZoneLength) ||
        !Finite(s.ZoneAngle)) {
      return false;
    }
    for (const auto& row : s.ContourAxisConc) {
      for (float v : row) {
        if (!Finite(v)) return false;
      }
    }
  }
  if (kind == DispersionKind::ReceptorPoints) {
    for (int i = 1; i <= s.Targets.PointCount; ++i) {
      if (!Finite(s.Targets.Points[i][5])) return false;
    }
  }
  return true;
}

// Replaces the results of a stage that overflowed by zeros.
void ClearResults(ModelState& s, DispersionKind kind) {
  s.Concentration = 0.0f;
  s.MaxConcentration = 0.0f;
  if (kind == DispersionKind::Isopleths) {
    std::fill(s.ContourPointCount.begin(), s.ContourPointCount.end(), int16_t{0});
    for (auto* table : {&s.ContourX, &s.ContourHalfWidth, &s.ContourAxisConc}) {
      for (auto& row : *table) std::fill(row.begin(), row.end(), 0.0f);
    }
    std::fill(s.MaxHalfWidth.begin(), s.MaxHalfWidth.end(), 0.0f);
    std::fill(s.MaxHalfWidthX.begin(), s.MaxHalfWidthX.end(), 0.0f);
    s.HazardDistance = s.HazardTime = s.ZoneLength = s.ZoneAngle = 0.0f;
    s.HazardLimitReached = false;
    s.ContourText.clear();
  }
  if (kind == DispersionKind::ReceptorPoints) {
    for (int i = 1; i <= s.Targets.PointCount; ++i) s.Targets.Points[i][5] = 0.0f;
  }
}

// One traced isopleth: points 1..k (element 0 unused).
struct Contour {
  std::vector<float> x{0.0f}, halfWidth{0.0f}, axisConc{0.0f};
  int count() const { return static_cast<int>(x.size()) - 1; }
};

// Where the searches look: the receptor plane's height and time.
struct SearchPlane {
  float z = 0;  // m
  float t = 0;  // min
};

// Half-width at distance x of the isopleth of threshold c, searched in 2 m
// crosswind steps from the previous half-width. Sets ended when the
// isopleth closes (the search came down to the axis).
float FindHalfWidth(ConcentrationEvaluator& ev, SearchPlane p, float x, float c, float previous,
                    bool& ended) {
  constexpr float dy = 2.0f;
  ended = false;
  float y = previous;
  float conc = ev.At(x, y, p.z, p.t);
  if (conc > c) {
    for (int i = 0; i < kMaxCrosswindSteps; ++i) {
      y = static_cast<float>(y + dy);
      conc = ev.At(x, y, p.z, p.t);
      if (conc < c) break;
    }
    return static_cast<float>(y - dy);
  }
  if (conc == c) return y;
  for (int i = 0; i < kMaxCrosswindSteps; ++i) {
    y = static_cast<float>(y - dy);
    if (y <= 0.0f) {
      ended = true;
      return 0.0f;
    }
    conc = ev.At(x, y, p.z, p.t);
    if (!(conc <= c)) break;
  }
  return static_cast<float>(y + dy);
}

// Downwind march from xs along the isopleth of threshold c, recording the
// axis concentration and half-width at every distance where the axis is at
// or above c. The 10 m step doubles while the half-width changes by less than
// 10 % (but stays within a fifth of the distance) and is halved back at the
// downwind end until it is 10 m again.
Contour MarchIsopleth(ConcentrationEvaluator& ev, SearchPlane p, float xs, float c,
                      const std::function<void()>& processEvents) {
  Contour contour;
  float x = xs;
  double step = 10.0;
  for (int i = 1; i <= kMaxSearchSteps; ++i) {
    if (processEvents) processEvents();
    if (i > 1) x = static_cast<float>(x + step);
    const float conc = ev.At(x, 0.0f, p.z, p.t);
    if (conc >= c) {
      contour.x.push_back(x);
      contour.axisConc.push_back(conc);
      const int k = contour.count();
      const float previous = contour.halfWidth[k - 1];
      bool ended = false;
      const float w = FindHalfWidth(ev, p, x, c, previous, ended);
      contour.halfWidth.push_back(w);
      if (ended) break;
      if (previous > 0.0f && k >= 3 &&
          std::fabs(static_cast<double>(w) - previous) / previous < 0.1) {
        step = 2.0 * step;
        if (step / x > 0.2) step = step / 2.0;
      }
    } else if (contour.count() > 0) {
      if (step <= 10.0) break;
      x = static_cast<float>(x - step);
      step = step / 2.0;
    }
    if (x > kMarchLimit) break;
  }
  return contour;
}

// The isopleth of one threshold c: the upwind edge, then, when the plane
// maximum reaches c, the march downwind from it.
struct ThresholdIsopleth {
  bool reached = false;  // false: this and every higher threshold have no isopleth
  Contour contour;
};

ThresholdIsopleth TraceThreshold(ConcentrationEvaluator& ev, SearchPlane p, float xm, float maximum,
                                 float c, const std::function<void()>& processEvents) {
  ThresholdIsopleth r;
  const float xs = SearchUpwindEdge(xm, c, [&](float x) { return ev.At(x, 0.0f, p.z, p.t); });
  if (maximum < c) return r;
  r.reached = true;
  r.contour = MarchIsopleth(ev, p, xs, c, processEvents);
  return r;
}

// Hazard distance and time of the smallest threshold.
struct Hazard {
  float distance = 0;  // m
  float time = 0;      // min
  bool limitReached = false;
};

// Hazard distance and time of an instantaneous release: follow the cloud
// centre (X = u T) minute by minute while its axis concentration exceeds c1.
// conc: the last concentration computed before.
Hazard InstantaneousHazard(ConcentrationEvaluator& ev, SearchPlane p, float conc, float c1, float f,
                           const DispersionContext& ctx) {
  const double u = ev.field().windSpeed10m;
  float time = p.t;
  float x = 0.0f;
  float previous = conc;
  bool limit = false;
  long step = 0;
  for (; step < kMaxHazardSteps; ++step) {
    ProcessEvents(ctx);
    if (step > 0) time = static_cast<float>(time + 1.0);
    x = static_cast<float>(time * 60.0 * u);
    previous = conc;
    conc = ev.At(x, 0.0f, p.z, time);
    if (!(conc > c1)) break;
    if (x > kMarchLimit) {
      limit = true;
      break;
    }
  }
  if (step >= kMaxHazardSteps) limit = true;
  // The step back applies when the loop ended with the cloud below c1 after
  // a minute above it.
  if (!limit && previous > c1) time = static_cast<float>(time - 1.0);
  return Hazard{.distance = x > f ? x : f, .time = time, .limitReached = limit};
}

// Hazard distance and time of a timed release: march outwards along the axis
// from the end of the release, following the time at which the edge of the
// cloud passes each distance; give up after a few minutes without reaching
// c1 (patience shrinking with longer releases).
Hazard TimedReleaseHazard(ConcentrationEvaluator& ev, SearchPlane p, float c1, float f,
                          const DispersionContext& ctx) {
  const float duration = ev.field().releaseDuration;
  float x = 10.0f;
  float time = duration < 1.0f ? 1.0f : duration;
  float previous = 0.0f;
  int waited = 0;
  const int patience = duration < 90.0f ? 5 : duration < 150.0f ? 4 : duration < 210.0f ? 3 : 2;
  bool limit = false, neverAbove = false;
  for (long step = 0; step < kMaxHazardSteps; ++step) {
    ProcessEvents(ctx);
    const float conc = ev.At(x, 0.0f, p.z, time);
    if (conc <= c1 && previous > c1) {
      // The edge has just been crossed at this time: look one minute later.
      time = static_cast<float>(time + 1.0);
      previous = 0.0f;
      continue;
    }
    if (conc > c1 || (conc < c1 && time == duration)) {
      float ds = static_cast<float>(0.02 * x);
      if (ds < 10.0f) ds = 10.0f;
      if (ds > 100.0f) ds = 100.0f;
      x = static_cast<float>(x + ds);
      previous = conc;
      waited = 0;
      if (x > kMarchLimit) {
        if (conc > c1) {
          limit = true;
        } else {
          neverAbove = true;
        }
        break;
      }
      continue;
    }
    ++waited;
    if (waited >= patience) break;
    time = static_cast<float>(time + 1.0);
    previous = 0.0f;
  }
  if (neverAbove) return Hazard{.distance = f, .time = p.t, .limitReached = limit};
  return Hazard{.distance = x > f ? x : f, .time = static_cast<float>(time - waited), .limitReached = limit};
}

// Everything the isopleth stage finds, written into the record by
// StoreIsopleths.
struct IsoplethResults {
  PlaneMaximumResult maximum;
  int thresholds = 0;
  std::vector<Contour> contours;  // [threshold], 1-based; missing: no isopleth
  // The maximum reaches the smallest threshold: zone and hazard follow.
  bool traced = false;
  float zoneAngle = 0;
  Hazard hazard;
};

// The zone angle (deg) of the 90 % confidence hazard zone.
float ZoneAngleOf(const ModelState& s) {
  float angle;
  // The stored single-precision wind is widened to double before it meets the
  // decimal limits, so a typed 5.15 (stored as 5.1500001) counts as above 5.15.
  const double wind = s.WindSpeed;
  if (wind <= kLightWindSpeed) {
    angle = 360.0f;  // light wind: the direction is too unsteady for a sector
  } else if (s.SigmaThetaFlag == sigma_theta::Given) {
    // Six standard deviations of the wind direction, scaled from its
    // averaging time to the exposure time (at most 60 min) with the power 0.2.
    const float te = s.ReleaseDuration < 60.0f ? s.ReleaseDuration : 60.0f;
    angle = static_cast<float>(6.0 * s.SigmaTheta * std::pow(static_cast<double>(te) / s.SigmaThetaTime, 0.2));
    if (angle < 30.0f) angle = 30.0f;
    if (angle > 180.0f) angle = 180.5f;
  } else if (s.HorizontalStability < 3.5f) {
    angle = static_cast<float>(165.0 - 30.0 * s.HorizontalStability);
  } else {
    angle = wind > 5.15 ? 45.0f : 90.0f;
  }
  return angle;
}

// Hazard distance rounded to 10 m (halves to even).
float RoundedHazardDistance(float d) { return static_cast<float>(10.0 * RoundHalfEven(d / 10.0)); }
// The 90 % zone reaches 2.1 times the (rounded) hazard distance, rounded the same way.
float ZoneLengthOf(float rounded) { return static_cast<float>(10.0 * RoundHalfEven(2.1 * rounded / 10.0)); }

void StoreIsopleths(ModelState& s, const IsoplethResults& r) {
  const int n = r.thresholds;
  size_t longest = 0;
  for (const Contour& c : r.contours) longest = std::max(longest, static_cast<size_t>(c.count()));
  // Every threshold's rows hold as many points as the longest isopleth.
  s.ContourPointCount.assign(n + 1, 0);
  s.ContourX.assign(n + 1, std::vector<float>(longest + 1, 0.0f));
  s.ContourHalfWidth.assign(n + 1, std::vector<float>(longest + 1, 0.0f));
  s.ContourAxisConc.assign(n + 1, std::vector<float>(longest + 1, 0.0f));
  s.MaxHalfWidth.assign(n + 1, 0.0f);
  s.MaxHalfWidthX.assign(n + 1, 0.0f);
  for (int j = 1; j < static_cast<int>(r.contours.size()) && j <= n; ++j) {
    const Contour& c = r.contours[j];
    const int k = c.count();
    s.ContourPointCount[j] = static_cast<int16_t>(k);
    std::copy(c.x.begin(), c.x.end(), s.ContourX[j].begin());
    std::copy(c.halfWidth.begin(), c.halfWidth.end(), s.ContourHalfWidth[j].begin());
    std::copy(c.axisConc.begin(), c.axisConc.end(), s.ContourAxisConc[j].begin());
    if (k >= 1) {
      s.MaxHalfWidth[j] = c.halfWidth[1];
      s.MaxHalfWidthX[j] = c.x[1];
      for (int p = 2; p <= k; ++p) {
        if (c.halfWidth[p] > s.MaxHalfWidth[j]) {
          s.MaxHalfWidth[j] = c.halfWidth[p];
          s.MaxHalfWidthX[j] = c.x[p];
        }
      }
    }
  }
  StorePlaneMaximum(s, r.maximum);
  s.HazardLimitReached = r.hazard.limitReached;
  if (r.traced) {
    s.ZoneAngle = r.zoneAngle;
    s.HazardDistance = RoundedHazardDistance(r.hazard.distance);
    s.HazardTime = r.hazard.time;
    s.ZoneLength = ZoneLengthOf(s.HazardDistance);
  }
  // No contour text unless this run writes the file; the report shows the
  // text only when the smallest threshold has an isopleth anyway.
  s.ContourText.clear();
}

// The isopleths of thresholds 1 .. n from the plane maximum (distance xm,
// concentration maximum), in threshold order: the list ends after the first
// threshold the maximum does not reach (its upwind edge is searched all the
// same, as a single search would). Independent searches, run on up to
// `threads` threads and assembled in threshold order; trail receives the
// working fields exactly as a single search from threshold 1 upwards leaves
// them.
std::vector<Contour> TraceThresholds(ConcentrationEvaluator& ev, SearchPlane p, float xm, float maximum,
                                     const std::vector<float>& thresholds, int n, ThreadChoice threads,
                                     const std::function<void()>& processEvents) {
  std::vector<Contour> contours(n + 1);
  // Thresholds 1 .. last are searched: the first one above the maximum ends the list.
  int last = 1;
  while (last < n && !(maximum < thresholds[last])) ++last;
  // The plane maximum's search, just done, stands for the work of one
  // threshold: too little work is not worth starting a thread for.
  const long long perThreshold = std::max(ev.work(), kEvaluationWork);
  if (threads.threads <= 1 || last <= 1 || perThreshold * (last - 1) < threads.minWork) {
    for (int j = 1; j <= last; ++j) {
      ThresholdIsopleth t = TraceThreshold(ev, p, xm, maximum, thresholds[j], processEvents);
      if (!t.reached) break;
      contours[j] = std::move(t.contour);
    }
    return contours;
  }
  std::vector<ThresholdIsopleth> traced(last + 1);
  std::vector<EvaluationTrail> trails(last + 1);
  RunConcurrently(
      last, threads.threads, ev,
      [&](int i, ConcentrationEvaluator& mine, const std::function<void()>& events) {
        traced[i + 1] = TraceThreshold(mine, p, xm, maximum, thresholds[i + 1], events);
        trails[i + 1] = mine.trail();
      },
      processEvents);
  for (int j = 1; j <= last; ++j) {
    ev.trail().Then(trails[j]);
    if (!traced[j].reached) break;
    contours[j] = std::move(traced[j].contour);
  }
  return contours;
}

// The isopleth stage's searches on one evaluator; s is only read.
IsoplethResults SearchIsopleths(const ModelState& s, ConcentrationEvaluator& ev, ReceptorPlane plane,
                                ThreadChoice threads, const DispersionContext& ctx) {
  const SearchPlane p{.z = plane.height, .t = plane.time};
  IsoplethResults r;
  const int n = s.Targets.ThresholdCount;
  r.thresholds = n;
  r.maximum = SearchPlaneMaximum(ev, plane);
  const float xm = r.maximum.hasX ? r.maximum.x : s.MaxConcentrationX;
  const float maximum = r.maximum.concentration;
  const std::vector<float>& thresholds = s.Targets.Thresholds;
  if (n < 1 || maximum < thresholds[1]) return r;
  r.traced = true;
  r.contours = TraceThresholds(ev, p, xm, maximum, thresholds, n, threads, ctx.processEvents);
  r.zoneAngle = ZoneAngleOf(s);

  // Hazard distance of the smallest threshold. An isopleth without points
  // (the maximum exceeds the threshold only between two march positions)
  // has no far end; 0 stands in for it.
  const float c1 = thresholds[1];
  const Contour& first = r.contours[1];
  const float f = first.count() > 0 ? first.x.back() : 0.0f;
  const float duration = ev.field().releaseDuration;
  if (duration == kSentinel) {
    r.hazard = Hazard{.distance = f, .time = kSentinel, .limitReached = false};
  } else if (IsInstantaneousRelease(duration)) {
    const float last = ev.trail().LastConcentration(s.Concentration);
    r.hazard = InstantaneousHazard(ev, p, last, c1, f, ctx);
  } else {
    r.hazard = TimedReleaseHazard(ev, p, c1, f, ctx);
  }
  return r;
}

// Concentrations at the listed points 1 .. PointCount (element 0 unused),
// on up to `threads` threads; trail as for a single pass in list order.
std::vector<float> EvaluatePoints(const ModelState& s, ConcentrationEvaluator& ev, ThreadChoice threads,
                                  const DispersionContext& ctx) {
  const int n = s.Targets.PointCount;
  std::vector<float> values(n + 1, 0.0f);
  auto point = [&](int i, ConcentrationEvaluator& e) {
    const PointRow& row = s.Targets.Points[i];
    values[i] = e.AtPoint(row[1], row[2], row[3], row[4]);
  };
  if (n < 1) return values;
  // The first point on this thread; its work stands for that of the others.
  point(1, ev);
  const long long perPoint = std::max(ev.work(), kEvaluationWork);
  if (threads.threads <= 1 || perPoint * (n - 1) < threads.minWork) {
    for (int i = 2; i <= n; ++i) point(i, ev);
    return values;
  }
  std::vector<EvaluationTrail> trails(n + 1);
  RunConcurrently(
      n - 1, threads.threads, ev,
      [&](int i, ConcentrationEvaluator& mine, const std::function<void()>&) {
        point(i + 2, mine);
        trails[i + 2] = mine.trail();
      },
      ctx.processEvents);
  for (int i = 2; i <= n; ++i) ev.trail().Then(trails[i]);
  return values;
}

// The contour text of the stored results, kept in the record and written to
// the contour data file. A search cut short by the work limit traced no real
// isopleth: the stage is refused and the file keeps what it held.
void WriteContourData(ModelState& s, const IsoplethResults& r, const DispersionContext& ctx) {
  if (!r.traced) return;
  s.ContourText = BuildContourText(s);
  std::string path = ctx.contourFilePath;
  std::string error;
  if (!WriteContourBytes(s.ContourText, path, error) && ctx.sink) {
    ctx.sink->ShowMessage("无法写入廓线数据文件" + path + "，计算继续进行，报告中的廓线数据不受影响。");
  }
}

}  // namespace

ThreadChoice DispersionThreads(const DispersionContext& ctx) {
  ThreadChoice choice;
#ifdef ZELTO_SINGLE_THREADED
  (void)ctx;
#else
  int n = ctx.threads;
  if (n <= 0) {
    const char* env = std::getenv("ZELTO_THREADS");
    if (env && *env) n = static_cast<int>(std::strtol(env, nullptr, 10));
  }
  if (n > 0) {
    choice.minWork = 0;
  } else {
    n = static_cast<int>(std::thread::hardware_concurrency());
  }
  choice.threads = std::clamp(n, 1, kMaxDispersionThreads);
#endif
  return choice;
}

void ComputeZoneAngle(ModelState& s) { s.ZoneAngle = ZoneAngleOf(s); }

void RoundHazardZone(ModelState& s) {
  s.HazardDistance = RoundedHazardDistance(s.HazardDistance);
  s.ZoneLength = ZoneLengthOf(s.HazardDistance);
}

bool RunDispersion(ModelState& s, DispersionKind kind, std::string& message,
                   const DispersionContext& ctx) {
  s.ResultKind = static_cast<uint8_t>(kind);
  // Continuous releases are evaluated in steady state; a missing prediction
  // time becomes 10 min after an instantaneous release, else the release end.
  const float duration = s.ReleaseDuration;
  if (duration == kSentinel) {
    s.PredictionTime = kSentinel;
  } else if (s.PredictionTime == 0.0f) {
    s.PredictionTime = IsInstantaneousRelease(duration) ? 10.0f : duration;
  }
  if (!CheckDispersionInputs(s, kind, message)) return false;

  const float t = s.PredictionTime;
  const float z = s.ReceptorHeight;
  const float H = s.EffectivePlumeHeight;
  const float h = s.MixingHeight;
  // Mixing-layer rules: release and receptor both above the lid see no lid
  // (the concentration field leaves it out).
  if (H > h && z < h) {
    message = "注意--烟羽高超过混合层顶，而计算高度在混合层内，因此模型假定混合层内无污染物";
    return false;
  }
  if (H <= h && z > h) {
    message = "注意--计算高度超过混合层顶，该高度上没有污染物";
    return false;
  }

  const ConcentrationField field = TakeConcentrationField(s);
  const ThreadChoice threads = DispersionThreads(ctx);
  // A run on several threads gets a quarter of the limit. Reaching it, it is
  // done again on one thread with the whole limit, so that a refusal leaves
  // the record exactly as a single-threaded run does (where the limit is
  // reached depends on the order of the work); the work wasted on the way is
  // at most a quarter of the limit. A run that stays within the quarter did
  // no more work than a single-threaded one, so it would not have been
  // refused either.
  ConcentrationEvaluator ev(field, true, threads.threads > 1 ? ctx.workLimit / 4 : ctx.workLimit);
  auto again = [&] {
    if (threads.threads <= 1 || !ev.exhausted()) return false;
    ev = ConcentrationEvaluator(field, true, ctx.workLimit);
    return true;
  };
  bool found = true;
  std::string summary;
  const ReceptorPlane plane{.height = z, .time = t};
  if (kind == DispersionKind::Isopleths) {
    IsoplethResults r = SearchIsopleths(s, ev, plane, threads, ctx);
    if (again()) r = SearchIsopleths(s, ev, plane, ThreadChoice{}, ctx);
    StoreIsopleths(s, r);
    ev.trail().WriteTo(s);
    if (!ev.exhausted()) WriteContourData(s, r, ctx);
  } else if (kind == DispersionKind::ReceptorPoints) {
    std::vector<float> values = EvaluatePoints(s, ev, threads, ctx);
    if (again()) values = EvaluatePoints(s, ev, ThreadChoice{}, ctx);
    for (int i = 1; i <= s.Targets.PointCount; ++i) s.Targets.Points[i][5] = values[i];
    ev.trail().WriteTo(s);
  } else {
    const PlaneMaximumResult m = SearchPlaneMaximum(ev, plane);
    StorePlaneMaximum(s, m);
    ev.trail().WriteTo(s);
    found = m.found;
    summary = m.message;
  }
  const bool finite = ResultsFinite(s, kind);

  if (ev.exhausted()) {
    ClearResults(s, kind);
    message = "扩散计算量过大，无法在合理时间内完成，请检查风速、浓度平均时间、逆温层高度和阈值。";
    return false;
  }
  if (!finite) {
    ClearResults(s, kind);
    message = "扩散计算结果超出数值范围，请检查源强和气象输入。";
    return false;
  }
  if (kind == DispersionKind::PlaneMaximum) {
    message = summary;
    return found;
  }
  return true;
}

}  // namespace zelto
