// Concentration at a point: Gaussian spreads, steady plume, and the sum of
// Gaussian puffs released every 3 s with reflections at the ground and at the
// mixing-layer top.
//
// Arithmetic: each formula is evaluated in double and every named
// intermediate (spreads, puff amplitude, Gaussian factors, reflection terms,
// running sums) is rounded to a 32-bit float where it is kept, so the
// cut-offs (1e-30, 1e-35, -80, 0.01, the far-range distances) act on the
// same quantities as the stored values.
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <mutex>
#include <unordered_map>

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

// ---- Inputs ----

ConcentrationField ConcentrationInputs(const ModelState& s) {
  ConcentrationField f;
  f.spreadCoef = s.SpreadCoef;
  f.spreadExp = s.SpreadExp;
  f.pi = s.Pi;
  f.averagingTime = s.AveragingTime;
  f.releaseDuration = s.ReleaseDuration;
  f.sourceStrength = s.SourceStrength;
  f.sourceSize = s.SourceSize;
  f.plumeHeight = s.EffectivePlumeHeight;
  f.mixingHeight = s.MixingHeight;
  f.windSpeed10m = s.WindSpeed10m;
  f.horizontalStability = s.HorizontalStability;
  f.verticalStability = s.VerticalStability;
  f.dispersionRoughness = s.DispersionRoughness;
  f.roughness = s.Roughness;
  f.sigmaThetaFlag = s.SigmaThetaFlag;
  f.sigmaYClass = SigmaYClass(f);
  f.virtualDistance = VirtualDistance(f, f.sigmaYClass);
  return f;
}

ConcentrationField TakeConcentrationField(const ModelState& s) {
  ConcentrationField f = ConcentrationInputs(s);
  // Release and receptor plane both above the lid: the lid plays no part.
  if (s.EffectivePlumeHeight > s.MixingHeight && s.ReceptorHeight >= s.MixingHeight) {
    f.mixingHeight = kSentinel;
  }
  return f;
}

// ---- Spreads ----

int SigmaYClass(const ConcentrationField& f) {
  double n = RoundHalfEven(f.horizontalStability);
  if (!(f.averagingTime > 1.0f)) n = RoundHalfEven(f.verticalStability);
  if (f.sigmaThetaFlag != sigma_theta::Given && f.averagingTime > 1.0f && f.verticalStability == 6.0f) n = 4;
  return static_cast<int>(n);
}

float SigmaYAt(const ConcentrationField& f, float x, int n) {
  // Power law 0.9 in distance; the multiplier falls with the class number;
  // roughness (cm, relative to 3 cm) and averaging time (min, relative to
  // 10 min) widen the plume with the power 0.2.
  const double dn = n;
  return static_cast<float>((0.479 - 0.1232 * dn + 0.00904 * dn * dn) *
                            std::pow(static_cast<double>(x), 0.9) *
                            std::pow(f.dispersionRoughness / 3.0, 0.2) *
                            std::pow(f.averagingTime / 10.0, 0.2));
}

float SigmaZAt(const ConcentrationField& f, float xr) {
  const double v = f.verticalStability;
  int c1 = static_cast<int>(std::floor(v + 0.4999)) + 1;
  // The dispersion entry refuses stabilities outside the tables; keep the
  // indices inside them whatever happens.
  if (c1 < 1) c1 = 1;
  if (c1 > 7) c1 = 7;
  const int c2 = c1 == 7 ? 7 : c1 + 1;
  const int k1 = xr > FarRangeDistance(c1) ? c1 + 7 : c1;
  const int k2 = xr > FarRangeDistance(c2) ? c2 + 7 : c2;
  const float s1 = static_cast<float>(f.spreadCoef[k1] * std::pow(static_cast<double>(xr),
                                                                  static_cast<double>(f.spreadExp[k1])));
  const float s2 = static_cast<float>(f.spreadCoef[k2] * std::pow(static_cast<double>(xr),
                                                                  static_cast<double>(f.spreadExp[k2])));
  // Linear interpolation in the stability parameter between class centres
  // (A 0.5, B 1.5, C 2.5, D 3.5, E 4.5, F 6: the E-F interval is 1.5 wide).
  const double w = v <= 4.5 ? 1.0 : 1.5;
  const float fr = static_cast<float>(v - c2 + 2.5);
  float sz = static_cast<float>(s1 - fr * (static_cast<double>(s1) - s2) / w);
  const double r = f.sigmaThetaFlag == sigma_theta::Given ? f.roughness : 3.0;
  sz = static_cast<float>(sz * std::pow(f.dispersionRoughness / r, 0.2));
  return sz;
}

float VirtualDistance(const ConcentrationField& f, int n) {
  // Sigma-y is a power law K x^p; fit it through S/10 and S and solve for the
  // distance at which it equals the initial spread S / 4.3.
  const float size = f.sourceSize;
  const float x1 = static_cast<float>(size / 10.0);
  const float x2 = size;
  const float g1 = SigmaYAt(f, x1, n);
  const float g2 = SigmaYAt(f, x2, n);
  const float p = static_cast<float>(std::log(static_cast<double>(g1) / g2) /
                                     std::log(static_cast<double>(x1) / x2));
  const float q = static_cast<float>(std::log(static_cast<double>(g1)) - p * std::log(static_cast<double>(x1)));
  const float g0 = static_cast<float>(size / 4.3);
  return static_cast<float>(std::exp((std::log(static_cast<double>(g0)) - q) / p));
}

ColumnValues ColumnAt(const ConcentrationField& f, float x) {
  // Sigma-y at X plus the virtual distance, sigma-z at X.
  ColumnValues col;
  col.sigmaDistance = static_cast<float>(static_cast<double>(x) + f.virtualDistance);
  col.sigmaY = SigmaYAt(f, col.sigmaDistance, f.sigmaYClass);
  col.sigmaZ = SigmaZAt(f, x);
  col.sigmaX = col.sigmaY;
  return col;
}

void ComputeSpreads(ModelState& s) {
  const ConcentrationField f = ConcentrationInputs(s);
  s.SigmaY = SigmaYAt(f, s.SigmaDistance, f.sigmaYClass);
  s.SigmaZ = SigmaZAt(f, s.Targets.ReceptorX);
}

// ---- Puffs ----

void FillPuffFactors(const ConcentrationField& f, ColumnValues& col, float puffMass, float z) {
  col.puffReady = true;
  col.puffMass = puffMass;
  const double sx = col.sigmaX, sy = col.sigmaY, sz = col.sigmaZ;
  // Peak concentration of a 3-D Gaussian puff: M (2 Pi)^-1.5 / (sx sy sz).
  col.amplitude = static_cast<float>(puffMass * 0.0634936 / (sx * sy * sz));
  if (static_cast<double>(col.amplitude) < 1e-30) return;  // the puffs contribute nothing

  const double h = f.mixingHeight;
  const float d = static_cast<float>(static_cast<double>(z) - f.plumeHeight);
  const float sum2 = static_cast<float>(static_cast<double>(z) + f.plumeHeight);
  // Direct term and ground image.
  const float g = static_cast<float>(VerticalTerm(-0.5 * Sq(d / sz)) + VerticalTerm(-0.5 * Sq(sum2 / sz)));
  if (f.mixingHeight == kSentinel) {
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

float PuffContribution(const ConcentrationField& f, const ColumnValues& col, float x, float gy, float t) {
  if (static_cast<double>(col.amplitude) < 1e-30) return 0.0f;
  const double sx = col.sigmaX;
  const float gx = static_cast<float>(
      std::exp(-0.5 * Sq((static_cast<double>(x) - static_cast<double>(t) * f.windSpeed10m) / sx)));
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
  const ConcentrationField f = ConcentrationInputs(s);
  ColumnValues col;
  col.sigmaX = s.SigmaX;
  col.sigmaY = s.SigmaY;
  col.sigmaZ = s.SigmaZ;
  FillPuffFactors(f, col, s.PuffMass, s.ReceptorHeight);
  const float gy = static_cast<float>(std::exp(-0.5 * Sq(s.Targets.ReceptorY / static_cast<double>(col.sigmaY))));
  s.PuffConcentration = PuffContribution(f, col, s.Targets.ReceptorX, gy, s.PuffAge);
}

// ---- Concentration ----

ConcentrationSample EvaluateColumn(const ConcentrationField& f, ColumnValues& col, float x, float y,
                                   float z, float t, long long& puffs) {
  ConcentrationSample r;
  r.spreads = true;
  r.sigmaDistance = col.sigmaDistance;
  r.sigmaY = col.sigmaY;
  r.sigmaZ = col.sigmaZ;
  r.sigmaX = r.sigmaY;

  const double sy = r.sigmaY, sz = r.sigmaZ;
  const double u = f.windSpeed10m;
  const double h = f.mixingHeight;
  const double dur = f.releaseDuration;
  float c = 0.0f;

  if (t <= f.releaseDuration && (0.47 * h > sz || f.mixingHeight == kSentinel)) {
    // Steady plume with ground reflection; nothing before the front of the
    // plume (released at time 0, moving at u) has arrived.
    if (!(u * t * 60.0 < x - sy)) {
      const double H = f.plumeHeight;
      c = static_cast<float>(f.sourceStrength / 60.0 / (2.0 * f.pi * sy * sz * u) *
                             std::exp(-0.5 * Sq(y / sy)) *
                             (std::exp(-0.5 * Sq((z - H) / sz)) + std::exp(-0.5 * Sq((z + H) / sz))));
    }
  } else {
    // Puffs released every 3 s (20 per minute), each carrying a 20th of the
    // minute's emission; only ages within 4 sigma-x of the receptor count.
    r.puff = true;
    const float puffMass = static_cast<float>(f.sourceStrength / 20.0);
    r.puffMass = puffMass;
    if (!col.puffReady || col.puffMass != puffMass) FillPuffFactors(f, col, puffMass, z);
    float age = static_cast<float>(t * 60.0);
    const double emitting = f.releaseDuration == kSentinel ? static_cast<double>(t) : dur;
    const double count = std::floor(emitting * 20.0 + 0.5);
    const double sx = r.sigmaX;
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
      r.puffConcentration = PuffContribution(f, col, x, gy, age);
      r.summed = true;
      c = static_cast<float>(static_cast<double>(c) + r.puffConcentration);
      ++puffs;
      age = static_cast<float>(age - 3.0);
      if (age < tmin) break;
      i += 1;
    }
    r.puffAge = age;
  }
  r.concentration = static_cast<float>(c * 1000.0);  // g/m3 to mg/m3
  return r;
}

ConcentrationSample SampleConcentration(const ConcentrationField& f, float x, float y, float z, float t) {
  ColumnValues col = ColumnAt(f, x);
  long long puffs = 0;
  return EvaluateColumn(f, col, x, y, z, t, puffs);
}

namespace {

// Point and release on different sides of the lid: nothing reaches it. A
// point exactly at the lid counts as above it when the release is above.
bool AcrossTheLid(const ConcentrationField& f, float z) {
  const float h = f.mixingHeight;
  const float H = f.plumeHeight;
  return (z < h && H > h) || (z > h && H <= h);
}

float PointX(float x) { return x < 1.0f ? 1.0f : x; }

}  // namespace

float PointConcentration(const ConcentrationField& f, float x, float y, float z, float t) {
  if (AcrossTheLid(f, z)) return 0.0f;
  return SampleConcentration(f, PointX(x), y, z, t).concentration;
}

// ---- Working fields ----

void EvaluationTrail::Receptor(float x, float y) {
  hasReceptor = true;
  receptorX = x;
  receptorY = y;
}

void EvaluationTrail::Record(const ConcentrationSample& c) {
  hasConcentration = true;
  concentration = c.concentration;
  if (c.spreads) {
    hasSpreads = true;
    sigmaDistance = c.sigmaDistance;
    sigmaX = c.sigmaX;
    sigmaY = c.sigmaY;
    sigmaZ = c.sigmaZ;
  }
  if (c.puff) {
    hasPuff = true;
    puffAge = c.puffAge;
    puffMass = c.puffMass;
  }
  if (c.summed) {
    hasSummed = true;
    puffConcentration = c.puffConcentration;
  }
}

void EvaluationTrail::Then(const EvaluationTrail& later) {
  if (later.hasReceptor) Receptor(later.receptorX, later.receptorY);
  if (later.hasConcentration) {
    hasConcentration = true;
    concentration = later.concentration;
  }
  if (later.hasSpreads) {
    hasSpreads = true;
    sigmaDistance = later.sigmaDistance;
    sigmaX = later.sigmaX;
    sigmaY = later.sigmaY;
    sigmaZ = later.sigmaZ;
  }
  if (later.hasPuff) {
    hasPuff = true;
    puffAge = later.puffAge;
    puffMass = later.puffMass;
  }
  if (later.hasSummed) {
    hasSummed = true;
    puffConcentration = later.puffConcentration;
  }
}

void EvaluationTrail::WriteTo(ModelState& s) const {
  if (hasReceptor) {
    s.Targets.ReceptorX = receptorX;
    s.Targets.ReceptorY = receptorY;
  }
  if (hasConcentration) s.Concentration = concentration;
  if (hasSpreads) {
    s.SigmaDistance = sigmaDistance;
    s.SigmaX = sigmaX;
    s.SigmaY = sigmaY;
    s.SigmaZ = sigmaZ;
  }
  if (hasPuff) {
    s.PuffAge = puffAge;
    s.PuffMass = puffMass;
  }
  if (hasSummed) s.PuffConcentration = puffConcentration;
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

struct ResultKey {
  uint32_t x, y, z, t;
  bool operator==(const ResultKey&) const = default;
};
struct ResultKeyHash {
  size_t operator()(const ResultKey& k) const {
    const uint64_t a = (static_cast<uint64_t>(k.x) << 32) | k.y;
    const uint64_t b = (static_cast<uint64_t>(k.z) << 32) | k.t;
    return static_cast<size_t>(Mix(a ^ Mix(b)));
  }
};
struct ColumnKey {
  uint32_t x, z;
  bool operator==(const ColumnKey&) const = default;
};
struct ColumnKeyHash {
  size_t operator()(const ColumnKey& k) const {
    return static_cast<size_t>(Mix((static_cast<uint64_t>(k.x) << 32) | k.z));
  }
};

// A hash map the threads of a stage share: split into parts with a lock
// each, chosen by the top bits of the hash (the map itself uses the low
// bits), so two threads seldom wait for one another.
template <class Key, class Value, class Hash>
class SharedMap {
 public:
  bool Find(const Key& k, Value& out) {
    const size_t h = Hash{}(k);
    Part& p = parts_[h >> kShift];
    std::lock_guard<std::mutex> lock(p.mutex);
    auto it = p.map.find(k);
    if (it == p.map.end()) return false;
    out = it->second;
    return true;
  }
  void Put(const Key& k, const Value& v) {
    const size_t h = Hash{}(k);
    Part& p = parts_[h >> kShift];
    std::lock_guard<std::mutex> lock(p.mutex);
    p.map.insert_or_assign(k, v);
  }

 private:
  static constexpr int kBits = 5;
  static constexpr int kShift = static_cast<int>(sizeof(size_t) * 8) - kBits;
  struct alignas(64) Part {
    std::mutex mutex;
    std::unordered_map<Key, Value, Hash> map;
  };
  std::array<Part, size_t{1} << kBits> parts_;
};

}  // namespace

struct ConcentrationEvaluator::Shared {
  ConcentrationField field;
  bool useCache = true;
  long long workLimit = kDispersionWorkLimit;
  SharedMap<ColumnKey, ColumnValues, ColumnKeyHash> columns;
  SharedMap<ResultKey, ConcentrationSample, ResultKeyHash> results;
  std::atomic<long long> work{0};
  std::atomic<long long> evaluations{0};
  std::atomic<long long> reuses{0};
};

ConcentrationEvaluator::ConcentrationEvaluator(const ConcentrationField& f, bool useCache,
                                               long long workLimit)
    : shared_(std::make_shared<Shared>()) {
  shared_->field = f;
  shared_->useCache = useCache;
  shared_->workLimit = workLimit;
}

struct ConcentrationEvaluator::Private {
  std::unordered_map<ColumnKey, ColumnValues, ColumnKeyHash> columns;
  std::unordered_map<ResultKey, ConcentrationSample, ResultKeyHash> results;
};

ConcentrationEvaluator ConcentrationEvaluator::Fork() const {
  return ConcentrationEvaluator(shared_, std::make_shared<Private>());
}

const ConcentrationField& ConcentrationEvaluator::field() const { return shared_->field; }
long long ConcentrationEvaluator::evaluations() const { return shared_->evaluations.load() + evaluations_; }
long long ConcentrationEvaluator::reuses() const { return shared_->reuses.load() + reuses_; }
long long ConcentrationEvaluator::work() const {
  return shared_->work.load(std::memory_order_relaxed) + work_;
}
bool ConcentrationEvaluator::exhausted() const { return work() > shared_->workLimit; }

void ConcentrationEvaluator::Publish() {
  shared_->work.fetch_add(work_);
  shared_->evaluations.fetch_add(evaluations_);
  shared_->reuses.fetch_add(reuses_);
  work_ = evaluations_ = reuses_ = 0;
}

float ConcentrationEvaluator::At(float x, float y, float z, float t) {
  Shared& sh = *shared_;
  trail_.Receptor(x, y);
  const ResultKey key{Bits(x), Bits(y), Bits(z), Bits(t)};
  ConcentrationSample r;
  Private* own = sh.useCache ? private_.get() : nullptr;
  bool found = false;
  if (own) {
    auto it = own->results.find(key);
    if (it != own->results.end()) {
      r = it->second;
      found = true;
    }
  }
  if (!found && sh.useCache && sh.results.Find(key, r)) {
    found = true;
    if (own) own->results.emplace(key, r);
  }
  if (found) {
    ++reuses_;
    trail_.Record(r);
    return r.concentration;
  }
  if (exhausted()) {
    trail_.Record(ConcentrationSample{});  // concentration 0, nothing else written
    return 0.0f;
  }
  ++evaluations_;

  ColumnValues col;
  const ColumnKey columnKey{Bits(x), Bits(z)};
  bool kept = false, ownKept = false;
  if (own) {
    auto it = own->columns.find(columnKey);
    if (it != own->columns.end()) {
      col = it->second;
      kept = ownKept = true;
    }
  }
  if (!kept) kept = sh.useCache && sh.columns.Find(columnKey, col);
  if (!kept) col = ColumnAt(sh.field, x);
  const bool hadPuffFactors = col.puffReady;
  long long puffs = 0;
  r = EvaluateColumn(sh.field, col, x, y, z, t, puffs);
  work_ += kEvaluationWork + puffs;
  if (work_ >= kPublishedWork) Publish();
  if (sh.useCache) {
    const bool changed = !kept || col.puffReady != hadPuffFactors;
    if (changed) sh.columns.Put(columnKey, col);
    if (own && (changed || !ownKept)) own->columns.insert_or_assign(columnKey, col);
    sh.results.Put(key, r);
    if (own) own->results.emplace(key, r);
  }
  trail_.Record(r);
  return r.concentration;
}

float ConcentrationEvaluator::AtPoint(float x, float y, float z, float t) {
  x = PointX(x);
  if (AcrossTheLid(field(), z)) {
    trail_.Receptor(x, y);
    trail_.Record(ConcentrationSample{});
    return 0.0f;
  }
  return At(x, y, z, t);
}

// ---- The routines on the record ----

void ComputeConcentration(ModelState& s) {
  ConcentrationEvaluator ev(ConcentrationInputs(s), false);
  ev.At(s.Targets.ReceptorX, s.Targets.ReceptorY, s.ReceptorHeight, s.PredictionTime);
  ev.trail().WriteTo(s);
}

float ConcentrationAtPoint(ModelState& s, float x, float y, float z, float t) {
  ConcentrationEvaluator ev(ConcentrationInputs(s), false);
  const float c = ev.AtPoint(x, y, z, t);
  ev.trail().WriteTo(s);
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  return c;
}

}  // namespace zelto
