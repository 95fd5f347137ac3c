#include "notes/Applicability.h"

#include <algorithm>
#include <cmath>

#include "core/TextConv.h"
#include "source/Vossler.h"

// Sources cited below:
//  [BM88]  R.E. Britter and J. McQuaid, Workbook on the Dispersion of Dense
//          Gases, HSE Contract Research Report 17/1988, Health and Safety
//          Executive, Sheffield, 1988.
//  [CCPS]  Center for Chemical Process Safety, Guidelines for Consequence
//          Analysis of Chemical Releases, AIChE, New York, 1999: section 2.3
//          (dispersion), with the workbook's curves as piecewise straight lines
//          in (alpha, beta) and the worked LNG example of the workbook method.
//  [TSCR]  US EPA, User's Guide to TSCREEN, EPA-454/B-94-023, 1994 (the same
//          digitisation of the plume curves).
//  [T70]   D.B. Turner, Workbook of Atmospheric Dispersion Estimates, US PHS
//          Publication 999-AP-26, 1970.
//  [HBH82] S.R. Hanna, G.A. Briggs and R.P. Hosker, Handbook on Atmospheric
//          Diffusion, DOE/TIC-11223, 1982.
//  [ISC3]  US EPA, User's Guide for the Industrial Source Complex (ISC3)
//          Dispersion Models, EPA-454/B-95-003, 1995.
//  [B75]   G.A. Briggs, Plume rise predictions, in Lectures on Air Pollution
//          and Environmental Impact Analyses, AMS, Boston, 1975, pp. 59-111.

namespace zelto {
namespace {

constexpr double kGravity = 9.81;                 // m/s2
constexpr double kMolarGasConstant = 8.314462618; // J/(mol K)
constexpr double kPascalPerAtm = 101325.0;
constexpr double kMbPerAtm = 1013.25;

// ---- The workbook's correlations as straight pieces in (alpha, beta) ----
//
// Each curve of constant Cm/C0 is beta = slope x alpha + intercept on the
// piece whose upper alpha bound is the first one at or above alpha; the
// first piece of each curve is flat and has no lower bound. The pieces end at
// alpha = 1, the right edge of the workbook's figures: larger alpha is
// outside the correlations.
struct Piece {
  double upTo, slope, intercept;
};
struct Curve {
  double ratio;
  std::vector<Piece> pieces;
};

// Continuous releases (plume), [CCPS] and [TSCR]. On the last piece of the
// 0.005 curve [CCPS] gives the slope -0.49; some reproductions print -0.48
// (beta differs by at most 0.01 at alpha = 1).
const std::vector<Curve>& PlumeCurves() {
  static const std::vector<Curve> curves = {
      {0.10, {{-0.55, 0, 1.75}, {-0.14, 0.24, 1.88}, {1.0, -0.50, 1.78}}},
      {0.05, {{-0.68, 0, 1.92}, {-0.29, 0.36, 2.16}, {-0.18, 0, 2.06}, {1.0, -0.56, 1.96}}},
      {0.02, {{-0.69, 0, 2.08}, {-0.31, 0.45, 2.39}, {-0.16, 0, 2.25}, {1.0, -0.54, 2.16}}},
      {0.01, {{-0.70, 0, 2.25}, {-0.29, 0.49, 2.59}, {-0.20, 0, 2.45}, {1.0, -0.52, 2.35}}},
      {0.005, {{-0.67, 0, 2.40}, {-0.28, 0.59, 2.80}, {-0.15, 0, 2.63}, {1.0, -0.49, 2.56}}},
      {0.002, {{-0.69, 0, 2.60}, {-0.25, 0.39, 2.87}, {-0.13, 0, 2.77}, {1.0, -0.50, 2.71}}},
  };
  return curves;
}

// Instantaneous releases (puff), [CCPS].
const std::vector<Curve>& PuffCurves() {
  static const std::vector<Curve> curves = {
      {0.10, {{-0.44, 0, 0.70}, {0.43, 0.26, 0.81}, {1.0, 0, 0.93}}},
      {0.05, {{-0.56, 0, 0.85}, {0.31, 0.26, 1.00}, {1.0, -0.12, 1.12}}},
      {0.02, {{-0.66, 0, 0.95}, {0.32, 0.36, 1.19}, {1.0, -0.26, 1.38}}},
      {0.01, {{-0.71, 0, 1.15}, {0.37, 0.34, 1.39}, {1.0, -0.38, 1.66}}},
      {0.005, {{-0.52, 0, 1.48}, {0.24, 0.26, 1.62}, {1.0, -0.30, 1.75}}},
      {0.002, {{0.27, 0, 1.83}, {1.0, -0.32, 1.92}}},
      {0.001, {{-0.10, 0, 2.075}, {1.0, -0.27, 2.05}}},
  };
  return curves;
}

bool CurveBeta(const Curve& c, double alpha, double& beta) {
  for (const Piece& p : c.pieces) {
    if (alpha <= p.upTo) {
      beta = p.slope * alpha + p.intercept;
      return true;
    }
  }
  return false;  // alpha > 1
}

// Between two curves beta is interpolated linearly in Cm/C0, the reading the
// worked example of [CCPS] makes (Cm/C0 = 0.0192 read between 0.02 and 0.01).
bool BetaOnCurves(const std::vector<Curve>& curves, double alpha, double ratio, double& beta) {
  if (!std::isfinite(alpha) || !std::isfinite(ratio)) return false;
  if (ratio > curves.front().ratio || ratio < curves.back().ratio) return false;
  for (size_t i = 0; i + 1 < curves.size(); ++i) {
    const Curve& hi = curves[i];
    const Curve& lo = curves[i + 1];
    if (ratio > hi.ratio || ratio < lo.ratio) continue;
    double bHi = 0, bLo = 0;
    if (!CurveBeta(hi, alpha, bHi) || !CurveBeta(lo, alpha, bLo)) return false;
    beta = bHi + (bLo - bHi) * (hi.ratio - ratio) / (hi.ratio - lo.ratio);
    return true;
  }
  return false;
}

// Four significant digits in the general text form.
std::string Short(double v) {
  if (!std::isfinite(v)) return "-";
  if (v == 0) return "0";
  const int digits = 4 - static_cast<int>(std::ceil(std::log10(std::fabs(v))));
  const double scale = std::pow(10.0, digits);
  return FormatGeneral(static_cast<float>(std::round(v * scale) / scale));
}

std::string Whole(double v) { return FormatPattern(v, "0"); }

NoteValue Value(const char* name, const char* label, double v, const char* unit) {
  return NoteValue{name, label, v, unit};
}

// Isopleth j holds points (1-based) in the contour tables.
bool Reached(const ModelState& s, int j) {
  return j >= 1 && static_cast<size_t>(j) < s.ContourPointCount.size() && s.ContourPointCount[j] >= 1 &&
         static_cast<size_t>(j) < s.ContourX.size() &&
         static_cast<size_t>(s.ContourPointCount[j]) < s.ContourX[j].size();
}

// Downwind end of isopleth j, m (0 when it has no point).
float FarEnd(const ModelState& s, int j) {
  return Reached(s, j) ? s.ContourX[j][s.ContourPointCount[j]] : 0.0f;
}

float ThresholdAt(const ModelState& s, int j) {
  return static_cast<size_t>(j) < s.Targets.Thresholds.size() ? s.Targets.Thresholds[j] : 0.0f;
}

// ---- Dense gas ----

// The released vapour as the criteria see it: a continuous source of q0 m3/s
// or a puff of V0 m3 of pure vapour. An evaporating pool feeds the air
// continuously, whatever the release mode; a gas released at once is a puff.
struct DenseSource {
  bool applies = false;
  bool instantaneous = false;
  double rho0 = 0, rhoa = 0, gPrime = 0, u = 0;
  double q0 = 0, v0 = 0;  // m3/s, m3
  double criterion = 0, limit = 0;
};

DenseSource DenseGasSource(const ModelState& s) {
  DenseSource d;
  // A stack plume is a buoyant (hot) gas: excluded.
  if (s.ReleaseMode == release::Stack) return d;
  d.rho0 = PureVapourDensity(s);
  d.rhoa = s.AirDensity * 1000.0;  // g/cm3 -> kg/m3
  d.u = s.WindSpeed10m;
  if (!(d.rho0 > 0) || !(d.rhoa > 0) || !(d.u > 0)) return d;
  d.gPrime = ReducedGravity(d.rho0, d.rhoa);
  d.instantaneous = !s.IsLiquid && s.ReleaseMode == release::Instantaneous;
  if (d.instantaneous) {
    d.v0 = s.ReleaseMass / 1000.0 / d.rho0;  // g -> kg -> m3
    if (!(d.v0 > 0)) return d;
    d.criterion = d.gPrime > 0 ? InstantaneousDenseCriterion(d.gPrime, d.v0, d.u) : 0;
    d.limit = kInstantaneousDenseLimit;
  } else {
    d.q0 = s.SourceStrength / 60000.0 / d.rho0;  // g/min -> kg/s -> m3/s
    if (!(d.q0 > 0)) return d;
    d.criterion = d.gPrime > 0 ? ContinuousDenseCriterion(d.gPrime, d.q0, d.u) : 0;
    d.limit = kContinuousDenseLimit;
  }
  d.applies = std::isfinite(d.criterion) && d.criterion >= d.limit;
  return d;
}

DenseGasEstimate EstimateDenseGas(const ModelState& s, const DenseSource& d) {
  DenseGasEstimate e;
  e.Done = true;
  e.Instantaneous = d.instantaneous;
  const std::vector<Curve>& curves = d.instantaneous ? PuffCurves() : PlumeCurves();
  e.Alpha = d.instantaneous ? PuffAlpha(d.gPrime, d.v0, d.u) : PlumeAlpha(d.gPrime, d.q0, d.u);
  e.LengthScale = d.instantaneous ? std::cbrt(d.v0) : std::sqrt(d.q0 / d.u);
  e.AlphaInRange = std::isfinite(e.Alpha) && e.Alpha <= 1.0;
  e.LowestCurveRatio = curves.back().ratio;
  double beta = 0;
  if (e.AlphaInRange && BetaOnCurves(curves, e.Alpha, e.LowestCurveRatio, beta)) {
    e.LowestCurveDistance = std::pow(10.0, beta) * e.LengthScale;
  }
  // The workbook treats a release as continuous at distance x when
  // u Td / x >= 2.5 and as instantaneous when u Td / x <= 0.6 (Td the release
  // duration) [BM88].
  const bool continuousForEver = s.ReleaseDuration == kSentinel;
  const double uTd = d.u * s.ReleaseDuration * 60.0;
  // The vapour leaves at the ambient temperature (see PureVapourDensity), so
  // the non-isothermal correction leaves the ratio as it is.
  const double c0 = d.rho0 * 1e6;  // mg/m3 of the pure vapour
  for (int j = 1; j <= s.Targets.ThresholdCount; ++j) {
    DenseGasRow row;
    row.Threshold = ThresholdAt(s, j);
    row.Ratio = NonIsothermalRatio(row.Threshold / c0, s.AirTempK, s.AirTempK);
    row.GaussianReached = Reached(s, j);
    row.GaussianFarEnd = row.GaussianReached ? FarEnd(s, j) : 0.0f;
    if (!e.AlphaInRange) {
      row.Remark = "α 超出关联式范围（α > 1），不外推";
    } else if (row.Ratio > kHighestRatio) {
      row.Remark = "Cm/C0 高于 0.1（近源区），不在关联式范围内";
    } else if (row.Ratio < e.LowestCurveRatio) {
      row.Remark = "Cm/C0 低于 " + Short(e.LowestCurveRatio) + "，超出关联式范围，不外推";
    } else if (!BetaOnCurves(curves, e.Alpha, row.Ratio, beta)) {
      row.Remark = "超出关联式范围，不外推";
    } else {
      const double x = std::pow(10.0, beta) * e.LengthScale;
      if (!d.instantaneous && !continuousForEver && uTd / x < 2.5) {
        row.Remark = "该距离处泄漏时长不足以视为连续泄漏（u·Td/x < 2.5）";
      } else if (d.instantaneous && uTd / x > 0.6) {
        row.Remark = "该距离处泄漏时长不可忽略，不能视为瞬时泄漏（u·Td/x > 0.6）";
      } else {
        row.InRange = true;
        row.Distance = x;
      }
    }
    e.Rows.push_back(row);
  }
  return e;
}

// ---- The other conditions ----

// Saturated vapour concentration at the ambient temperature, mg/m3, from the
// vapour pressure (ideal gas); for a gas the concentration of the pure gas at
// the ambient pressure. 0 when it cannot be worked out.
double SaturatedConcentration(const ModelState& s) {
  const double t = s.AirTempK;
  const double ambientPa = s.AirPressure * 100.0;
  if (!(s.MolecularWeight > 0) || !(t > 0) || !(ambientPa > 0)) return 0;
  double pv = ambientPa;
  if (s.IsLiquid) {
    if (s.VosslerIndex >= 1) {
      // The evaporation parameter set carries its own saturation pressure
      // correlation; evaluate it at the air temperature on a copy.
      ModelState at = s;
      at.PoolTemperature = static_cast<float>(t);
      std::string message;
      if (!CalcSaturationPressure(at, message)) return 0;
      pv = at.SatPressure;
    } else {
      pv = s.VaporPressure * kPascalPerAtm;
    }
    if (!(pv > 0)) return 0;
    pv = std::min(pv, ambientPa);
  }
  return pv * s.MolecularWeight / (kMolarGasConstant * t) * 1000.0;  // g/m3 -> mg/m3
}

void AddDenseGasNote(const DenseSource& d, std::vector<ApplicabilityNote>& notes) {
  // [BM88]: a release is dense enough to matter when the criterion reaches
  // 0.15 (continuous) or 0.2 (instantaneous).
  ApplicabilityNote n;
  n.Id = "dense-gas";
  n.Text = "泄漏气体明显重于空气，高斯模型未考虑重气的下沉和横向铺展，近源浓度和危害距离可能失准；请参看重气估算表。";
  n.Values.push_back(Value("Criterion", "理查森数判据", d.criterion, ""));
  n.Values.push_back(Value("CriterionLimit", "判据下限", d.limit, ""));
  n.Values.push_back(Value("VapourDensity", "纯蒸气密度", d.rho0, "kg/m3"));
  n.Values.push_back(Value("AirDensity", "空气密度", d.rhoa, "kg/m3"));
  if (d.instantaneous) {
    n.Values.push_back(Value("VapourVolume", "蒸气体积", d.v0, "m3"));
  } else {
    n.Values.push_back(Value("VapourVolumeRate", "蒸气体积流量", d.q0, "m3/s"));
  }
  n.Values.push_back(Value("WindSpeed10m", "10m高风速", d.u, "m/s"));
  notes.push_back(n);
}

}  // namespace

// Density of the pure vapour, rho0 = M P / (R T). The dense-gas criteria take
// it at the ambient temperature, not at the boiling point: the molecular
// weight and the ambient state are known for every computation while the
// boiling point of a typed-in substance is not, the dispersion model itself
// carries the vapour at the ambient temperature, and a cold release is denser
// still, so the criterion at the ambient temperature never flags a cloud that
// a colder one would not. (The record's VaporDensity equals the air's density
// for a gas and cannot serve.)
double PureVapourDensity(const ModelState& s) {
  const double t = s.AirTempK;
  const double p = s.AirPressure * 100.0;  // mb -> Pa
  if (!(s.MolecularWeight > 0) || !(t > 0) || !(p > 0)) return 0;
  return s.MolecularWeight / 1000.0 * p / (kMolarGasConstant * t);
}

double ReducedGravity(double rho0, double rhoa) { return kGravity * (rho0 - rhoa) / rhoa; }

// [BM88]: continuous release, D = (q0/u)^(1/2).
double ContinuousDenseCriterion(double reducedGravity, double q0, double u) {
  const double d = std::sqrt(q0 / u);
  return std::cbrt(reducedGravity * q0 / (u * u * u * d));
}

// [BM88]: instantaneous release.
double InstantaneousDenseCriterion(double reducedGravity, double v0, double u) {
  return std::sqrt(reducedGravity * std::cbrt(v0)) / u;
}

// [BM88], [CCPS]: alpha = 0.2 log10(g0'^2 q0 / u^5) for a plume,
// alpha = 0.5 log10(g0' V0^(1/3) / u^2) for a puff.
double PlumeAlpha(double reducedGravity, double q0, double u) {
  return 0.2 * std::log10(reducedGravity * reducedGravity * q0 / std::pow(u, 5));
}
double PuffAlpha(double reducedGravity, double v0, double u) {
  return 0.5 * std::log10(reducedGravity * std::cbrt(v0) / (u * u));
}

// [BM88], [CCPS]: Cm/C0 read on the curves is C* = C / (C + (1 - C) Ta/T0).
double NonIsothermalRatio(double ratio, double t0, double ta) {
  return ratio / (ratio + (1.0 - ratio) * ta / t0);
}

bool PlumeBeta(double alpha, double ratio, double& beta) {
  return BetaOnCurves(PlumeCurves(), alpha, ratio, beta);
}
bool PuffBeta(double alpha, double ratio, double& beta) {
  return BetaOnCurves(PuffCurves(), alpha, ratio, beta);
}

Applicability EvaluateApplicability(const ModelState& s) {
  Applicability a;
  a.Evaluated = true;
  std::vector<ApplicabilityNote>& notes = a.Notes;
  const double u = s.WindSpeed10m;

  const DenseSource dense = DenseGasSource(s);
  if (dense.applies) {
    AddDenseGasNote(dense, notes);
    a.DenseGas = EstimateDenseGas(s, dense);
  }

  // [ISC3] (calm processing) and [HBH82]: a steady Gaussian plume needs a
  // wind of at least 1 m/s; the input check already raises a measured wind
  // below 0.5 m/s to 0.5 m/s.
  if (u < 1.0f) {
    notes.push_back({"light-wind",
                     "10m高风速低于1 m/s（静小风），高斯模型在此风速下不可靠；输入风速低于0.5 m/s时已按0.5 m/s计算。",
                     {Value("WindSpeed10m", "10m高风速", u, "m/s"), Value("Limit", "下限", 1.0, "m/s")}});
  }

  // [T70] and [HBH82]: in stable air (classes E and F) with light wind the
  // plume meanders and the class spreads no longer describe it.
  const float stability = std::max(s.HorizontalStability, s.VerticalStability);
  if (stability >= 4.0f && u < 2.0f) {
    notes.push_back({"stable-light-wind",
                     "稳定大气（E/F类）且10m高风速低于2 m/s：烟羽可能蜿蜒摆动，轴线浓度和危害距离的不确定性很大。",
                     {Value("HorizontalStability", "水平稳定度参数", s.HorizontalStability, ""),
                      Value("VerticalStability", "垂直稳定度参数", s.VerticalStability, ""),
                      Value("WindSpeed10m", "10m高风速", u, "m/s")}});
  }

  // [T70], [CCPS]: the spread curves rest on observations between about
  // 100 m and 10 km from the source; outside that range they are extrapolated.
  double farthest = 0, nearestEnd = 0;
  bool anyReached = false;
  for (int j = 1; j <= s.Targets.ThresholdCount; ++j) {
    if (!Reached(s, j)) continue;
    const double end = FarEnd(s, j);
    farthest = std::max(farthest, end);
    nearestEnd = anyReached ? std::min(nearestEnd, end) : end;
    anyReached = true;
  }
  const double hazard = anyReached ? static_cast<double>(s.HazardDistance) : 0.0;
  if (std::max(farthest, hazard) > 10000.0) {
    notes.push_back({"far-distance",
                     "危害距离或廓线超过10 km：扩散参数的依据数据在10 km以内，远处结果为外推，仅供参考。",
                     {Value("HazardDistance", "最远危害距离", hazard, "m"),
                      Value("IsoplethEnd", "最远廓线终点", farthest, "m"), Value("Limit", "上限", 10000, "m")}});
  }
  double nearestPoint = 0;
  bool nearPoint = false;
  for (int i = 1; i <= s.Targets.PointCount && static_cast<size_t>(i) < s.Targets.Points.size(); ++i) {
    const double x = s.Targets.Points[i][1];  // column 1: X
    if (!nearPoint || x < nearestPoint) nearestPoint = x;
    nearPoint = true;
  }
  const bool pointNear = nearPoint && nearestPoint < 100.0;
  const bool endNear = anyReached && nearestEnd < 100.0;
  if (pointNear || endNear) {
    ApplicabilityNote n{"near-distance",
                        "计算点或廓线终点距源不足100 m：扩散参数的依据数据始于约100 m，近源浓度仅供参考。",
                        {}};
    if (pointNear) n.Values.push_back(Value("PointX", "最近计算点X", nearestPoint, "m"));
    if (endNear) n.Values.push_back(Value("IsoplethEnd", "最近廓线终点", nearestEnd, "m"));
    n.Values.push_back(Value("Limit", "下限", 100, "m"));
    notes.push_back(n);
  }

  // [CCPS] (flashing of superheated liquids): a liquid above its boiling
  // point flashes on release and forms aerosol; the pool evaporation models
  // assume a liquid below it. With a typed vapour pressure the same condition
  // reads: vapour pressure above the ambient pressure.
  if (s.IsLiquid) {
    const bool boilsBelowAir = s.BoilingPointK > 0 && s.BoilingPointK < s.AirTempK;
    const double ambientAtm = s.AirPressure / kMbPerAtm;
    const bool pressureAboveAir = s.VosslerIndex < 1 && s.VaporPressure > ambientAtm;
    if (boilsBelowAir || pressureAboveAir) {
      ApplicabilityNote n{"flashing-liquid",
                          "液体沸点低于环境温度（加压液化气体）：泄放时会闪蒸并形成气溶胶，液池蒸发模型不描述这一过程。",
                          {}};
      if (boilsBelowAir) {
        n.Values.push_back(Value("BoilingPointK", "沸点", s.BoilingPointK, "K"));
      } else {
        n.Values.push_back(Value("VaporPressure", "蒸气压", s.VaporPressure, "atm"));
        n.Values.push_back(Value("AirPressure", "环境气压", ambientAtm, "atm"));
      }
      n.Values.push_back(Value("AirTempK", "环境温度", s.AirTempK, "K"));
      notes.push_back(n);
    }
  }

  // Ideal gas: evaporation cannot raise the vapour's concentration above its
  // saturated value at the ambient temperature (a gas: above the pure gas).
  const double saturated = SaturatedConcentration(s);
  if (saturated > 0) {
    for (int j = 1; j <= s.Targets.ThresholdCount; ++j) {
      if (ThresholdAt(s, j) > saturated) {
        notes.push_back({"unreachable-threshold",
                         "阈值高于环境温度下的饱和蒸气浓度，此浓度永远不会出现。",
                         {Value("Threshold", "阈值", ThresholdAt(s, j), "mg/m3"),
                          Value("SaturatedConcentration", "饱和蒸气浓度", saturated, "mg/m3")}});
        break;  // thresholds ascend: the lowest one above is named
      }
    }
  }

  // [T70] (sampling time), [HBH82]: a concentration averaged over a time
  // longer than the release understates the peak the passing cloud brings.
  if (s.ReleaseDuration < s.AveragingTime) {
    notes.push_back({"short-release",
                     "泄漏时长短于浓度平均时间：平均浓度低于云团经过时的峰值浓度。",
                     {Value("ReleaseDuration", "泄漏时长", s.ReleaseDuration, "min"),
                      Value("AveragingTime", "平均时间", s.AveragingTime, "min")}});
  }

  // [B75], [ISC3]: a buoyant plume rising above the base of an elevated
  // inversion may penetrate it. The computation puts the plume at the base.
  if (s.ReleaseMode == release::Stack && s.MixingHeight != kSentinel &&
      static_cast<double>(s.StackHeight) + s.PlumeRise > s.MixingHeight) {
    notes.push_back({"stack-above-inversion",
                     "烟羽抬升后高于逆温层底，计算将有效烟羽高度限定在逆温层底；实际烟羽可能穿透逆温层，地面浓度可能偏高。",
                     {Value("StackHeight", "烟筒高度", s.StackHeight, "m"),
                      Value("PlumeRise", "抬升高度", s.PlumeRise, "m"),
                      Value("MixingHeight", "逆温层底高", s.MixingHeight, "m")}});
  }
  return a;
}

std::string NotesCaption(const Applicability& a) {
  return "适用性提示(" + std::to_string(a.Notes.size()) + ")";
}

std::string NoteLine(const ApplicabilityNote& n) {
  std::string line = n.Text;
  if (n.Values.empty()) return line;
  line += "（";
  for (size_t i = 0; i < n.Values.size(); ++i) {
    const NoteValue& v = n.Values[i];
    if (i > 0) line += "，";
    line += v.Label + " " + Short(v.Value);
    if (!v.Unit.empty()) line += " " + v.Unit;
  }
  line += "）";
  return line;
}

std::string ApplicabilityText(const Applicability& a) {
  std::string t;
  if (a.Notes.empty()) {
    t += "本次计算未发现已知的模型适用性问题。\n";
  } else {
    for (size_t i = 0; i < a.Notes.size(); ++i) {
      t += std::to_string(i + 1) + ". " + NoteLine(a.Notes[i]) + "\n";
    }
  }
  const DenseGasEstimate& e = a.DenseGas;
  if (!e.Done) return t;
  t += "\n重气扩散估算（Britter–McQuaid 工作手册关联式，";
  t += e.Instantaneous ? "瞬时泄漏）\n" : "连续泄漏）\n";
  t += "  α = " + Short(e.Alpha) + "，长度尺度 " + Short(e.LengthScale) + " m\n";
  for (const DenseGasRow& r : e.Rows) {
    t += "  阈值 " + Short(r.Threshold) + " mg/m3（Cm/C0 = " + FormatPattern(r.Ratio, "0.00E+00") + "）：";
    t += "高斯廓线终点 " + (r.GaussianReached ? Whole(r.GaussianFarEnd) + " m" : std::string("未达到"));
    t += "；重气估算 " + (r.InRange ? Whole(r.Distance) + " m" : r.Remark) + "\n";
  }
  if (e.LowestCurveDistance > 0) {
    t += "  关联式止于下风约 " + Whole(e.LowestCurveDistance) + " m（Cm/C0 = " + Short(e.LowestCurveRatio) +
         "）：此范围内重气效应显著，其外云团已充分稀释。\n";
  }
  return t;
}

}  // namespace zelto
