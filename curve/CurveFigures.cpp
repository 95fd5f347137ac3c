#include "curve/CurveFigures.h"

#include <algorithm>
#include <cstddef>

namespace zelto {

namespace {

// Time where the line from (t0, c0) to (t1, c1) takes the value v.
double Crossing(double t0, double c0, double t1, double c1, double v) {
  if (c1 == c0) return t0;
  return t0 + (t1 - t0) * (v - c0) / (c1 - c0);
}

ThresholdTimes TimesOf(const std::vector<double>& t, const std::vector<double>& c, double v) {
  ThresholdTimes out;
  out.threshold = static_cast<float>(v);
  const size_t n = t.size();
  if (n == 0) return out;
  double above = 0.0, arrival = 0.0, end = 0.0;
  bool reached = c[0] >= v;
  if (reached) arrival = t[0];
  for (size_t i = 1; i < n; ++i) {
    const bool a0 = c[i - 1] >= v, a1 = c[i] >= v;
    if (a0 && a1) {
      above += t[i] - t[i - 1];
    } else if (!a0 && a1) {
      const double x = Crossing(t[i - 1], c[i - 1], t[i], c[i], v);
      above += t[i] - x;
      if (!reached) arrival = x;
      reached = true;
    } else if (a0 && !a1) {
      const double x = Crossing(t[i - 1], c[i - 1], t[i], c[i], v);
      above += x - t[i - 1];
      end = x;
    }
  }
  out.reached = reached;
  out.arrival = static_cast<float>(arrival);
  out.ended = reached && c[n - 1] < v;
  out.end = out.ended ? static_cast<float>(end) : 0.0f;
  out.above = static_cast<float>(above);
  return out;
}

// Piecewise-linear curve with its running integral, for the window means.
struct Linear {
  std::vector<double> t, c, integral;  // integral[i] = integral of c from t[0] to t[i]

  double ValueAt(double x) const {
    if (x <= t.front()) return c.front();
    if (x >= t.back()) return c.back();
    const size_t i = static_cast<size_t>(std::upper_bound(t.begin(), t.end(), x) - t.begin());
    return c[i - 1] + (c[i] - c[i - 1]) * (x - t[i - 1]) / (t[i] - t[i - 1]);
  }
  double IntegralTo(double x) const {
    if (x <= t.front()) return 0.0;
    if (x >= t.back()) return integral.back();
    const size_t i = static_cast<size_t>(std::upper_bound(t.begin(), t.end(), x) - t.begin());
    return integral[i - 1] + 0.5 * (c[i - 1] + ValueAt(x)) * (x - t[i - 1]);
  }
};

// Largest integral over a window of width w divided by w. The window mean
// M(a) is piecewise quadratic in its start a, with breakpoints where a or
// a + w meets a point of the curve; within each piece its slope
// (C(a + w) - C(a)) / w is linear, so the maximum lies at a breakpoint or
// where that slope changes sign.
double LargestWindowMean(const Linear& f, double w) {
  const double first = f.t.front(), last = f.t.back() - w;
  auto mean = [&](double a) { return (f.IntegralTo(a + w) - f.IntegralTo(a)) / w; };
  std::vector<double> starts{first, last};
  for (double x : f.t) {
    if (x >= first && x <= last) starts.push_back(x);
    if (x - w >= first && x - w <= last) starts.push_back(x - w);
  }
  std::sort(starts.begin(), starts.end());
  double best = mean(first);
  for (size_t i = 0; i < starts.size(); ++i) {
    best = std::max(best, mean(starts[i]));
    if (i + 1 == starts.size()) break;
    const double p = starts[i], q = starts[i + 1];
    if (!(q > p)) continue;
    const double dp = f.ValueAt(p + w) - f.ValueAt(p), dq = f.ValueAt(q + w) - f.ValueAt(q);
    if (dp > 0.0 && dq < 0.0) best = std::max(best, mean(p + (q - p) * dp / (dp - dq)));
  }
  return best;
}

}  // namespace

CurveFigures ComputeCurveFigures(const std::vector<float>& t, const std::vector<float>& c,
                                 const std::vector<float>& thresholds, bool steady) {
  CurveFigures out;
  const size_t n = std::min(t.size(), c.size());
  Linear f;
  f.t.assign(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(n));
  f.c.assign(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(n));
  for (double v : thresholds) out.thresholds.push_back(TimesOf(f.t, f.c, v));
  if (n == 0) return out;

  size_t peak = 0;
  for (size_t i = 1; i < n; ++i) {
    if (f.c[i] > f.c[peak]) peak = i;
  }
  out.peak = static_cast<float>(f.c[peak]);
  out.peakTime = static_cast<float>(f.t[peak]);

  f.integral.assign(n, 0.0);
  for (size_t i = 1; i < n; ++i) {
    f.integral[i] = f.integral[i - 1] + 0.5 * (f.c[i - 1] + f.c[i]) * (f.t[i] - f.t[i - 1]);
  }
  out.dose = static_cast<float>(f.integral.back());

  // 60-minute mean: the curve continued past its end (0, or its last value
  // for a steady curve) so that at least one full window fits.
  constexpr double kWindow = 60.0;  // min
  Linear g = f;
  auto append = [&g](double x, double v) {
    if (!(x > g.t.back())) return;
    g.integral.push_back(g.integral.back() + 0.5 * (g.c.back() + v) * (x - g.t.back()));
    g.t.push_back(x);
    g.c.push_back(v);
  };
  if (steady) {
    append(g.t.back() + kWindow, g.c.back());
  } else {
    append(g.t.back() + 1.0 / 60.0, 0.0);  // down to 0 within a second
    append(g.t.front() + kWindow, 0.0);
  }
  out.max60 = static_cast<float>(LargestWindowMean(g, kWindow));
  return out;
}

bool IndoorAboveOutdoorTime(const std::vector<float>& t, const std::vector<float>& cOut,
                            const std::vector<float>& cIn, float& time) {
  const size_t n = std::min({t.size(), cOut.size(), cIn.size()});
  if (n == 0) return false;
  size_t peak = 0;
  for (size_t i = 1; i < n; ++i) {
    if (cOut[i] > cOut[peak]) peak = i;
  }
  if (!(cOut[peak] > 0.0f)) return false;
  for (size_t i = peak + 1; i < n; ++i) {
    const double d0 = static_cast<double>(cIn[i - 1]) - cOut[i - 1];
    const double d1 = static_cast<double>(cIn[i]) - cOut[i];
    if (d1 > 0.0) {
      time = static_cast<float>(d0 > 0.0 ? t[i - 1] : Crossing(t[i - 1], d0, t[i], d1, 0.0));
      return true;
    }
  }
  return false;
}

}  // namespace zelto
