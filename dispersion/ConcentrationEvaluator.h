// Concentration evaluation shared by the public routines and the searches.
//
// The searches of the isopleth and plane-maximum stages ask for thousands of
// concentrations, many at receptors they already evaluated (the upwind edge
// search of every threshold starts at the same points, the half-width search
// visits one downwind distance at many crosswind offsets). The evaluator
// computes exactly what ComputeConcentration computes, but keeps
//  - the class number and virtual distance, fixed for one set of inputs,
//  - the spreads and the vertical reflection factor of every downwind
//    distance (they do not depend on the crosswind offset or the time),
//  - every finished receptor result (keyed by X, Y, Z and T),
// and drops all of it when any other input changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "core/ModelState.h"
#include "dispersion/Dispersion.h"

namespace zelto {

// Working values fixed for one set of inputs.
struct RunConstants {
  int sigmaYClass = 0;     // stability class number n of the sigma-y formula
  float virtualDistance = 0;  // m, distance at which sigma-y equals SourceSize / 4.3
};

// Spreads and puff-sum factors of one receptor column (downwind distance X at
// height Z); the crosswind offset and the time do not enter them.
struct ColumnValues {
  float sigmaDistance = 0;  // m, X + virtual distance
  float sigmaX = 0;         // m, along-wind spread (equal to sigma-y)
  float sigmaY = 0;         // m, at sigmaDistance
  float sigmaZ = 0;         // m, at X
  // Puff-sum factors, filled on first use by the puff path.
  bool puffReady = false;
  float puffMass = 0;       // g
  float amplitude = 0;      // A = puff mass / ((2 Pi)^1.5 sx sy sz), g/m3
  int verticalMode = 0;     // 0 no lid, 1 reflection series, 2 well mixed
  double vertical = 0;      // G (no lid) or G + reflection sum
  double wellMixed = 0;     // A x sqrt(2 Pi) x sz / h
};

// The sigma-y class number n for the current inputs.
int SigmaYClass(const ModelState& s);
// Sigma-y (m) at distance x (m) for class number n.
float SigmaYAt(const ModelState& s, float x, int n);
// Sigma-z (m) at downwind distance xr (m), roughness-corrected.
float SigmaZAt(const ModelState& s, float xr);
// The virtual distance (m) of the initial source size.
float VirtualDistance(const ModelState& s, int n);
RunConstants ComputeRunConstants(const ModelState& s);

// Fills the puff factors of a column (A, vertical factor) for puffs of mass
// puffMass (g).
void FillPuffFactors(const ModelState& s, ColumnValues& col, float puffMass);
// One puff's contribution (g/m3) at age t (s) for crosswind factor gy.
float PuffContribution(const ModelState& s, const ColumnValues& col, float gy, float t);

// Work a full evaluation counts for (spreads, kept results), in units of one
// puff summed. The limit of one stage is DispersionContext::workLimit.
inline constexpr long long kEvaluationWork = 20;

class ConcentrationEvaluator {
 public:
  // useCache false: nothing is kept between calls (each call equals a fresh
  // evaluation); true: columns and results are kept while the inputs stay.
  explicit ConcentrationEvaluator(bool useCache = true) : useCache_(useCache) {}

  // ComputeConcentration at the receptor held in s; writes the same fields.
  void Evaluate(ModelState& s);

  // Axis or off-axis concentration at (x, y) at the current height and time.
  float At(ModelState& s, float x, float y);

  // Number of full evaluations done and of results served from the cache.
  long long evaluations() const { return evaluations_; }
  long long reuses() const { return reuses_; }

  // Work done so far, in units of one puff summed. Once it passes the limit,
  // every further evaluation gives a concentration of 0 at once, so every
  // search ends within its step bound, and the stage is refused.
  long long work() const { return work_; }
  bool exhausted() const { return work_ > workLimit_; }
  void SetWorkLimit(long long limit) { workLimit_ = limit; }

 private:
  // Every input of the formulas other than the receptor position and time.
  struct Inputs {
    std::array<float, 15> coef{}, exps{};
    float pi = 0, ta = 0, duration = 0, strength = 0, size = 0, height = 0, lid = 0;
    float wind = 0, hStab = 0, vStab = 0, dispRough = 0, rough = 0;
    uint8_t thetaFlag = 0;
    bool operator==(const Inputs&) const = default;
  };
  struct ResultKey {
    uint32_t x, y, z, t;
    bool operator==(const ResultKey&) const = default;
  };
  struct ResultKeyHash {
    size_t operator()(const ResultKey& k) const;
  };
  struct ColumnKey {
    uint32_t x, z;
    bool operator==(const ColumnKey&) const = default;
  };
  struct ColumnKeyHash {
    size_t operator()(const ColumnKey& k) const;
  };
  // The fields a concentration evaluation writes.
  struct Result {
    float concentration, sigmaDistance, sigmaX, sigmaY, sigmaZ;
    bool puff;         // the puff path ran: puff age and mass were written
    bool puffSummed;   // at least one puff was summed: its contribution was written
    float puffAge, puffMass, puffConcentration;
  };

  static Inputs Snapshot(const ModelState& s);
  void Prepare(const ModelState& s);
  ColumnValues& Column(const ModelState& s, float x, float z, ColumnValues& scratch);

  bool useCache_;
  bool prepared_ = false;
  Inputs inputs_;
  RunConstants constants_;
  std::unordered_map<ColumnKey, ColumnValues, ColumnKeyHash> columns_;
  std::unordered_map<ResultKey, Result, ResultKeyHash> results_;
  long long evaluations_ = 0;
  long long reuses_ = 0;
  long long work_ = 0;
  long long workLimit_ = kDispersionWorkLimit;
};

// The searches, sharing one evaluator (and so its kept results) per run.
float ConcentrationAtPoint(ModelState& s, ConcentrationEvaluator& ev, float x, float y, float z,
                           float t);
bool FindPlaneMaximum(ModelState& s, ConcentrationEvaluator& ev, ReceptorPlane plane,
                      std::string& message);
void FindIsopleths(ModelState& s, ConcentrationEvaluator& ev, ReceptorPlane plane,
                   const DispersionContext& ctx);

// Writes an already built contour data text (UTF-8) in GBK to path (empty:
// DefaultContourPath(); path is set to the name used).
bool WriteContourBytes(const std::string& utf8Text, std::string& path, std::string& error);

}  // namespace zelto
