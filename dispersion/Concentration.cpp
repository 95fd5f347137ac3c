// Concentration at a point: Gaussian spreads, steady plume, and the sum of
// Gaussian puffs released every 3 s with reflections at the ground and at the
// mixing-layer top.
//
// Arithmetic: each formula is evaluated in double and every named
// intermediate (spreads, puff amplitude, Gaussian factors, reflection terms,
// running sums) is rounded to a 32-bit float where it is kept, so the
// cut-offs (1e-30, 1e-35, -80, 0.01, the far-range distances) act on the
// same quantities as the stored values.
#include <bit>
#include <cmath>

#include "core/TextConv.h"
#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"

namespace zelto {

namespace {

inline double Sq(double v) { return v * v; }

// Distance (m) beyond which the far-range sigma-z law of a class applies.
double FarRangeDistance(int classNumber) {
  switch (classNumber) {
    case 1:
    case 2:
    case 3:
      return 745.0;
    case 4:
      return 2000.0;
    case 5:
      return 1100.0;
    default:
      return 1400.0;
  }
}

// exp(e), with very small terms (e of -80 or less) taken as exactly 0.
inline double VerticalTerm(double e) { return e <= -80.0 ? 0.0 : std::exp(e); }

// Hard limit of one puff sum; the puff window keeps real sums far below it.
constexpr long long kMaxPuffsPerReceptor = 5000000;

}  // namespace

// ---- Spreads ----

int SigmaYClass(const ModelState& s) {
  double n = RoundHalfEven(s.HorizontalStability);
  if (!(s.AveragingTime > 1.0f)) n = RoundHalfEven(s.VerticalStability);
  if (s.SigmaThetaFlag != 2 && s.AveragingTime > 1.0f && s.VerticalStability == 6.0f) n = 4;
  return static_cast<int>(n);
}

float SigmaYAt(const ModelState& s, float x, int n) {
  // Power law 0.9 in distance; the multiplier falls with the class number;
  // roughness (cm, relative to 3 cm) and averaging time (min, relative to
  // 10 min) widen the plume with the power 0.2.
  const double dn = n;
  return static_cast<float>((0.479 - 0.1232 * dn + 0.00904 * dn * dn) *
                            std::pow(static_cast<double>(x), 0.9) *
                            std::pow(s.DispersionRoughness / 3.0, 0.2) *
                            std::pow(s.AveragingTime / 10.0, 0.2));
}

float SigmaZAt(const ModelState& s, float xr) {
  const double v = s.VerticalStability;
  int c1 = static_cast<int>(std::floor(v + 0.4999)) + 1;
  // The dispersion entry refuses stabilities outside the tables; keep the
  // indices inside them whatever happens.
  if (c1 < 1) c1 = 1;
  if (c1 > 7) c1 = 7;
  const int c2 = c1 == 7 ? 7 : c1 + 1;
  const int k1 = xr > FarRangeDistance(c1) ? c1 + 7 : c1;
  const int k2 = xr > FarRangeDistance(c2) ? c2 + 7 : c2;
  const float s1 = static_cast<float>(s.SpreadCoef[k1] * std::pow(static_cast<double>(xr),
                                                                  static_cast<double>(s.SpreadExp[k1])));
  const float s2 = static_cast<float>(s.SpreadCoef[k2] * std::pow(static_cast<double>(xr),
                                                                  static_cast<double>(s.SpreadExp[k2])));
  // Linear interpolation in the stability parameter between class centres
  // (A 0.5, B 1.5, C 2.5, D 3.5, E 4.5, F 6: the E-F interval is 1.5 wide).
  const double w = v <= 4.5 ? 1.0 : 1.5;
  const float f = static_cast<float>(v - c2 + 2.5);
  float sz = static_cast<float>(s1 - f * (static_cast<double>(s1) - s2) / w);
  const double r = s.SigmaThetaFlag == 2 ? s.Roughness : 3.0;
  sz = static_cast<float>(sz * std::pow(s.DispersionRoughness / r, 0.2));
  return sz;
}

float VirtualDistance(const ModelState& s, int n) {
  // Sigma-y is a power law K x^p; fit it through S/10 and S and solve for the
  // distance at which it equals the initial spread S / 4.3.
  const float size = s.SourceSize;
  const float x1 = static_cast<float>(size / 10.0);
  const float x2 = size;
  const float g1 = SigmaYAt(s, x1, n);
  const float g2 = SigmaYAt(s, x2, n);
  const float p = static_cast<float>(std::log(static_cast<double>(g1) / g2) /
                                     std::log(static_cast<double>(x1) / x2));
  const float q = static_cast<float>(std::log(static_cast<double>(g1)) - p * std::log(static_cast<double>(x1)));
  const float g0 = static_cast<float>(size / 4.3);
  return static_cast<float>(std::exp((std::log(static_cast<double>(g0)) - q) / p));
}

RunConstants ComputeRunConstants(const ModelState& s) {
  RunConstants rc;
  rc.sigmaYClass = SigmaYClass(s);
  rc.virtualDistance = VirtualDistance(s, rc.sigmaYClass);
  return rc;
}

void ComputeSpreads(ModelState& s) {
  const int n = SigmaYClass(s);
  s.SigmaY = SigmaYAt(s, s.SigmaDistance, n);
  s.SigmaZ = SigmaZAt(s, s.Targets.ReceptorX);
}

// ---- Puffs ----

void FillPuffFactors(const ModelState& s, ColumnValues& col, float puffMass) {
  col.puffReady = true;
  col.puffMass = puffMass;
  const double sx = col.sigmaX, sy = col.sigmaY, sz = col.sigmaZ;
  // Peak concentration of a 3-D Gaussian puff: M (2 Pi)^-1.5 / (sx sy sz).
  col.amplitude = static_cast<float>(puffMass * 0.0634936 / (sx * sy * sz));
  if (static_cast<double>(col.amplitude) < 1e-30) return;  // the puffs contribute nothing

  const double h = s.MixingHeight;
  const float d = static_cast<float>(static_cast<double>(s.ReceptorHeight) - s.EffectivePlumeHeight);
  const float sum2 = static_cast<float>(static_cast<double>(s.ReceptorHeight) + s.EffectivePlumeHeight);
  // Direct term and ground image.
  const float g = static_cast<float>(VerticalTerm(-0.5 * Sq(d / sz)) + VerticalTerm(-0.5 * Sq(sum2 / sz)));
  if (s.MixingHeight == kSentinel) {
    col.verticalMode = 0;
    col.vertical = g;
    return;
  }
  // Images in the ground and the lid at multiples L of 2h, until an order
  // adds less than 0.01; 200 orders without that means the layer is mixed.
  float sum = 0;
  for (int m = 1; m <= 200; ++m) {
    const float l = static_cast<float>(m * 2.0 * h);
    const float r = static_cast<float>(
        VerticalTerm(-0.5 * Sq((static_cast<double>(d) - l) / sz)) +
        VerticalTerm(-0.5 * Sq((static_cast<double>(sum2) - l) / sz)) +
        VerticalTerm(-0.5 * Sq((static_cast<double>(d) + l) / sz)) +
        VerticalTerm(-0.5 * Sq((static_cast<double>(l) + sum2) / sz)));
    sum = static_cast<float>(static_cast<double>(sum) + r);
    if (static_cast<double>(r) < 0.01) {
      col.verticalMode = 1;
      col.vertical = static_cast<double>(g) + sum;
      return;
    }
  }
  // Well mixed between ground and lid: the vertical Gaussian pair integrates
  // to sqrt(2 Pi) sz / h.
  col.verticalMode = 2;
  col.wellMixed = static_cast<double>(col.amplitude) * 2.5066283 * sz / h;
}

float PuffContribution(const ModelState& s, const ColumnValues& col, float gy, float t) {
  if (static_cast<double>(col.amplitude) < 1e-30) return 0.0f;
  const double sx = col.sigmaX;
  const float gx = static_cast<float>(
      std::exp(-0.5 * Sq((static_cast<double>(s.Targets.ReceptorX) -
                          static_cast<double>(t) * s.WindSpeed10m) / sx)));
  double v;
  if (col.verticalMode == 2) {
    v = col.wellMixed * gx * gy;
  } else {
    v = static_cast<double>(gy) * col.amplitude * gx * col.vertical;
  }
  float c = static_cast<float>(v);
  if (static_cast<double>(c) < 1e-35) c = 0.0f;
  return c;
}

void ComputePuffContribution(ModelState& s) {
  ColumnValues col;
  col.sigmaX = s.SigmaX;
  col.sigmaY = s.SigmaY;
  col.sigmaZ = s.SigmaZ;
  FillPuffFactors(s, col, s.PuffMass);
  const float gy = static_cast<float>(std::exp(-0.5 * Sq(s.Targets.ReceptorY / static_cast<double>(col.sigmaY))));
  s.PuffConcentration = PuffContribution(s, col, gy, s.PuffAge);
}

// ---- Evaluator ----

namespace {

inline uint64_t Mix(uint64_t v) {
  v += 0x9E3779B97F4A7C15ull;
  v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
  v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
  return v ^ (v >> 31);
}

inline uint32_t Bits(float v) { return std::bit_cast<uint32_t>(v); }

}  // namespace

size_t ConcentrationEvaluator::ResultKeyHash::operator()(const ResultKey& k) const {
  const uint64_t a = (static_cast<uint64_t>(k.x) << 32) | k.y;
  const uint64_t b = (static_cast<uint64_t>(k.z) << 32) | k.t;
  return static_cast<size_t>(Mix(a ^ Mix(b)));
}

size_t ConcentrationEvaluator::ColumnKeyHash::operator()(const ColumnKey& k) const {
  return static_cast<size_t>(Mix((static_cast<uint64_t>(k.x) << 32) | k.z));
}

ConcentrationEvaluator::Inputs ConcentrationEvaluator::Snapshot(const ModelState& s) {
  Inputs in;
  in.coef = s.SpreadCoef;
  in.exps = s.SpreadExp;
  in.pi = s.Pi;
  in.ta = s.AveragingTime;
  in.duration = s.ReleaseDuration;
  in.strength = s.SourceStrength;
  in.size = s.SourceSize;
  in.height = s.EffectivePlumeHeight;
  in.lid = s.MixingHeight;
  in.wind = s.WindSpeed10m;
  in.hStab = s.HorizontalStability;
  in.vStab = s.VerticalStability;
  in.dispRough = s.DispersionRoughness;
  in.rough = s.Roughness;
  in.thetaFlag = s.SigmaThetaFlag;
  return in;
}

void ConcentrationEvaluator::Prepare(const ModelState& s) {
  Inputs now = Snapshot(s);
  if (prepared_ && now == inputs_) return;
  inputs_ = now;
  constants_ = ComputeRunConstants(s);
  columns_.clear();
  results_.clear();
  prepared_ = true;
}

ColumnValues& ConcentrationEvaluator::Column(const ModelState& s, float x, float z,
                                             ColumnValues& scratch) {
  ColumnValues* col = &scratch;
  if (useCache_) {
    auto [it, inserted] = columns_.try_emplace(ColumnKey{Bits(x), Bits(z)});
    col = &it->second;
    if (!inserted) return *col;
  } else {
    scratch = ColumnValues{};
  }
  // Sigma-y at X plus the virtual distance, sigma-z at X.
  col->sigmaDistance = static_cast<float>(static_cast<double>(x) + constants_.virtualDistance);
  col->sigmaY = SigmaYAt(s, col->sigmaDistance, constants_.sigmaYClass);
  col->sigmaZ = SigmaZAt(s, x);
  col->sigmaX = col->sigmaY;
  return *col;
}

void ConcentrationEvaluator::Evaluate(ModelState& s) {
  Prepare(s);
  const float x = s.Targets.ReceptorX;
  const float y = s.Targets.ReceptorY;
  const float z = s.ReceptorHeight;
  const float t = s.PredictionTime;
  const ResultKey key{Bits(x), Bits(y), Bits(z), Bits(t)};
  if (useCache_) {
    auto it = results_.find(key);
    if (it != results_.end()) {
      const Result& r = it->second;
      s.Concentration = r.concentration;
      s.SigmaDistance = r.sigmaDistance;
      s.SigmaX = r.sigmaX;
      s.SigmaY = r.sigmaY;
      s.SigmaZ = r.sigmaZ;
      if (r.puff) {
        s.PuffAge = r.puffAge;
        s.PuffMass = r.puffMass;
      }
      if (r.puffSummed) s.PuffConcentration = r.puffConcentration;
      ++reuses_;
      return;
    }
  }
  if (exhausted()) {
    s.Concentration = 0.0f;
    return;
  }
  ++evaluations_;
  work_ += kEvaluationWork;

  ColumnValues scratch;
  ColumnValues& col = Column(s, x, z, scratch);
  s.SigmaDistance = col.sigmaDistance;
  s.SigmaY = col.sigmaY;
  s.SigmaZ = col.sigmaZ;
  s.SigmaX = s.SigmaY;

  const double sy = s.SigmaY, sz = s.SigmaZ;
  const double u = s.WindSpeed10m;
  const double h = s.MixingHeight;
  const double dur = s.ReleaseDuration;
  float c = 0.0f;
  bool puff = false, summed = false;

  if (t <= s.ReleaseDuration && (0.47 * h > sz || s.MixingHeight == kSentinel)) {
    // Steady plume with ground reflection; nothing before the front of the
    // plume (released at time 0, moving at u) has arrived.
    if (!(u * t * 60.0 < x - sy)) {
      const double H = s.EffectivePlumeHeight;
      c = static_cast<float>(s.SourceStrength / 60.0 / (2.0 * s.Pi * sy * sz * u) *
                             std::exp(-0.5 * Sq(y / sy)) *
                             (std::exp(-0.5 * Sq((z - H) / sz)) + std::exp(-0.5 * Sq((z + H) / sz))));
    }
  } else {
    // Puffs released every 3 s (20 per minute), each carrying a 20th of the
    // minute's emission; only ages within 4 sigma-x of the receptor count.
    puff = true;
    const float puffMass = static_cast<float>(s.SourceStrength / 20.0);
    s.PuffMass = puffMass;
    if (!col.puffReady || col.puffMass != puffMass) FillPuffFactors(s, col, puffMass);
    float age = static_cast<float>(t * 60.0);
    const double emitting = s.ReleaseDuration == kSentinel ? static_cast<double>(t) : dur;
    const double count = std::floor(emitting * 20.0 + 0.5);
    const double sx = s.SigmaX;
    const float tmax = static_cast<float>((x + 4.0 * sx) / u);
    float tmin = static_cast<float>((x - 4.0 * sx) / u);
    if (tmin < 0.0f) tmin = 0.0f;
    if (age == 600000.0f) age = tmax;  // steady state: start at the oldest relevant puff
    double i;
    if (age > tmax) {
      i = std::floor((static_cast<double>(age) - tmax) / 3.0);
      age = tmax;
    } else {
      i = 1;
    }
    const float gy = static_cast<float>(std::exp(-0.5 * Sq(y / sy)));
    for (long long guard = 0; i <= count && guard < kMaxPuffsPerReceptor; ++guard) {
      s.PuffAge = age;
      s.PuffConcentration = PuffContribution(s, col, gy, age);
      summed = true;
      c = static_cast<float>(static_cast<double>(c) + s.PuffConcentration);
      ++work_;
      age = static_cast<float>(age - 3.0);
      if (age < tmin) break;
      i += 1;
    }
    s.PuffAge = age;
  }
  s.Concentration = static_cast<float>(c * 1000.0);  // g/m3 to mg/m3

  if (useCache_) {
    results_.emplace(key, Result{s.Concentration, s.SigmaDistance, s.SigmaX, s.SigmaY, s.SigmaZ, puff, summed,
                                 s.PuffAge, s.PuffMass, s.PuffConcentration});
  }
}

float ConcentrationEvaluator::At(ModelState& s, float x, float y) {
  s.Targets.ReceptorX = x;
  s.Targets.ReceptorY = y;
  Evaluate(s);
  return s.Concentration;
}

void ComputeConcentration(ModelState& s) {
  ConcentrationEvaluator ev(false);
  ev.Evaluate(s);
}

float ConcentrationAtPoint(ModelState& s, ConcentrationEvaluator& ev, float x, float y, float z,
                           float t) {
  s.Targets.ReceptorX = x < 1.0f ? 1.0f : x;
  s.Targets.ReceptorY = y;
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  const float h = s.MixingHeight;
  const float H = s.EffectivePlumeHeight;
  // Point and release on different sides of the lid: nothing reaches it. A
  // point exactly at the lid counts as above it when the release is above.
  if ((z < h && H > h) || (z > h && H <= h)) {
    s.Concentration = 0.0f;
  } else {
    ev.Evaluate(s);
  }
  return s.Concentration;
}

float ConcentrationAtPoint(ModelState& s, float x, float y, float z, float t) {
  ConcentrationEvaluator ev(false);
  return ConcentrationAtPoint(s, ev, x, y, z, t);
}

}  // namespace zelto
