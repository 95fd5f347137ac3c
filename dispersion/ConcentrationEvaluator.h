// Concentration evaluation shared by the public routines and the searches.
//
// The searches of the isopleth and plane-maximum stages ask for thousands of
// concentrations, many at receptors they already evaluated (the upwind edge
// search of every threshold starts at the same points, the half-width search
// visits one downwind distance at many crosswind offsets). The evaluator
// computes exactly what ComputeConcentration computes from one
// ConcentrationField, but keeps
//  - the spreads and the vertical reflection factor of every downwind
//    distance (they do not depend on the crosswind offset or the time),
//  - every finished receptor result (keyed by X, Y, Z and T),
// in a cache that the threads of one stage share.
#pragma once

#include <memory>
#include <string>

#include "core/ModelState.h"
#include "dispersion/ConcentrationField.h"
#include "dispersion/Dispersion.h"

namespace zelto {

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

// The inputs exactly as the record holds them (the mixing lid as it stands).
ConcentrationField ConcentrationInputs(const ModelState& s);

// The sigma-y class number n for the inputs.
int SigmaYClass(const ConcentrationField& f);
// Sigma-y (m) at distance x (m) for class number n.
float SigmaYAt(const ConcentrationField& f, float x, int n);
// Sigma-z (m) at downwind distance xr (m), roughness-corrected.
float SigmaZAt(const ConcentrationField& f, float xr);
// The virtual distance (m) of the initial source size.
float VirtualDistance(const ConcentrationField& f, int n);

// Spreads of the column at downwind distance x (m).
ColumnValues ColumnAt(const ConcentrationField& f, float x);
// Fills the puff factors of a column (A, vertical factor) for puffs of mass
// puffMass (g) seen at height z (m).
void FillPuffFactors(const ConcentrationField& f, ColumnValues& col, float puffMass, float z);
// One puff's contribution (g/m3) at downwind x (m) and age t (s) for
// crosswind factor gy.
float PuffContribution(const ConcentrationField& f, const ColumnValues& col, float x, float gy, float t);

// What one evaluation leaves in the record's working fields.
struct ConcentrationSample {
  float concentration = 0;  // mg/m3
  bool spreads = false;     // spreads computed (not for an evaluation the work limit refused)
  float sigmaDistance = 0, sigmaX = 0, sigmaY = 0, sigmaZ = 0;  // m
  bool puff = false;        // the puff path ran: age of the last puff looked at, puff mass
  float puffAge = 0;        // s
  float puffMass = 0;       // g
  bool summed = false;      // at least one puff was summed: its contribution
  float puffConcentration = 0;  // g/m3
};

// Concentration at (x, y, z, t) from the spreads of col (ColumnAt(f, x));
// fills the puff factors of col when the puff path needs them. Adds the
// puffs summed to puffs.
ConcentrationSample EvaluateColumn(const ConcentrationField& f, ColumnValues& col, float x, float y,
                                   float z, float t, long long& puffs);
// The same from scratch.
ConcentrationSample SampleConcentration(const ConcentrationField& f, float x, float y, float z, float t);

// The working fields of the record (receptor position, concentration,
// spreads, puff values) as a sequence of evaluations leaves them: every
// group holds the value of the latest evaluation that wrote it. Trails of
// consecutive pieces of work join with Then, in the order of the work.
struct EvaluationTrail {
  bool hasReceptor = false, hasConcentration = false, hasSpreads = false, hasPuff = false,
       hasSummed = false;
  float receptorX = 0, receptorY = 0;
  float concentration = 0;
  float sigmaDistance = 0, sigmaX = 0, sigmaY = 0, sigmaZ = 0;
  float puffAge = 0, puffMass = 0, puffConcentration = 0;

  void Receptor(float x, float y);
  void Record(const ConcentrationSample& c);
  void Then(const EvaluationTrail& later);
  // The last concentration evaluated, or otherwise when there was none.
  float LastConcentration(float otherwise) const { return hasConcentration ? concentration : otherwise; }
  void WriteTo(ModelState& s) const;
};

// Work a full evaluation counts for (spreads, kept results), in units of one
// puff summed. The limit of one stage is DispersionContext::workLimit.
inline constexpr long long kEvaluationWork = 20;

class ConcentrationEvaluator {
 public:
  // useCache false: nothing is kept between calls (each call equals a fresh
  // evaluation); true: columns and results are kept.
  explicit ConcentrationEvaluator(const ConcentrationField& f, bool useCache = true,
                                  long long workLimit = kDispersionWorkLimit);

  // An evaluator for another thread: the same field, kept results, work count
  // and limit; a trail of its own.
  ConcentrationEvaluator Fork() const;

  // Concentration (mg/m3) at (x, y, z, t); recorded in the trail.
  float At(float x, float y, float z, float t);
  // The same with the rules of a listed point: x at least 1 m, 0 without
  // evaluation across the mixing lid.
  float AtPoint(float x, float y, float z, float t);

  const ConcentrationField& field() const;
  EvaluationTrail& trail() { return trail_; }

  // Number of full evaluations done and of results served from the cache,
  // by this evaluator and the forks that have published their counts.
  long long evaluations() const;
  long long reuses() const;

  // Work done so far by every evaluator of the field, in units of one puff
  // summed. Once it passes the limit, every further evaluation gives a
  // concentration of 0 at once, so every search ends within its step bound,
  // and the stage is refused.
  long long work() const;
  bool exhausted() const;

  // Adds this evaluator's counts to the shared ones. A fork publishes its
  // work every kPublishedWork units on its own (so that the others see the
  // limit approach) and the rest when its thread is done; one evaluator
  // alone counts exactly without ever publishing.
  void Publish();
  static constexpr long long kPublishedWork = 1 << 16;

 private:
  struct Shared;
  struct Private;
  ConcentrationEvaluator(std::shared_ptr<Shared> shared, std::shared_ptr<Private> own)
      : shared_(std::move(shared)), private_(std::move(own)) {}
  std::shared_ptr<Shared> shared_;
  // A fork's own copy of the results and columns it used, looked at before
  // the shared ones, so that its searches, which mostly come back to their
  // own receptors, seldom touch what the other threads write.
  std::shared_ptr<Private> private_;
  EvaluationTrail trail_;
  // Counts not yet published: kept apart so that two threads do not write
  // the same cache line at every evaluation.
  long long work_ = 0, evaluations_ = 0, reuses_ = 0;
};

// The plane maximum as a search finds it; Store writes it into the record.
struct PlaneMaximumResult {
  bool found = false;
  float concentration = 0;  // mg/m3
  bool hasX = false;        // the distance was set (not for the lid refusal)
  float x = 0;              // m
  std::string message;      // summary text, or the reason when not found
};
PlaneMaximumResult SearchPlaneMaximum(ConcentrationEvaluator& ev, ReceptorPlane plane);
void StorePlaneMaximum(ModelState& s, const PlaneMaximumResult& m);

// Writes an already built contour data text (UTF-8) in GBK to path (empty:
// DefaultContourPath(); path is set to the name used).
bool WriteContourBytes(const std::string& utf8Text, std::string& path, std::string& error);

}  // namespace zelto
