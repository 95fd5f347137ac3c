// Applicability notes: after a successful computation, the conditions under
// which the Gaussian plume and puff model of this program is known to be
// unreliable, each with the numbers that triggered it, and for a cloud
// heavier than air an independent dense-gas estimate of the distances to the
// thresholds (Britter and McQuaid's workbook correlations).
//
// The step only reads the model record; it changes no result and writes no
// file. Its callers (the window model, the batch program, the zone picture,
// the map files) run it beside the computation.
#pragma once

#include <string>
#include <vector>

#include "core/ModelState.h"

namespace zelto {

// One number that triggered a note: a name (a record field or a short
// technical name), its Chinese label, its value and its unit.
struct NoteValue {
  std::string Name;   // for files and scripts
  std::string Label;  // for the operator (Chinese)
  double Value = 0;
  std::string Unit;
};

struct ApplicabilityNote {
  std::string Id;    // stable identifier, e.g. "dense-gas"
  std::string Text;  // one short Chinese sentence for the operator
  std::vector<NoteValue> Values;
};

// One threshold of the dense-gas estimate beside the Gaussian isopleth.
struct DenseGasRow {
  float Threshold = 0;             // mg/m3
  double Ratio = 0;                // Cm/C0 after the non-isothermal correction
  bool GaussianReached = false;    // the Gaussian isopleth exists
  float GaussianFarEnd = 0;        // m, downwind end of the Gaussian isopleth
  bool InRange = false;            // a distance could be read from the correlations
  double Distance = 0;             // m, Britter-McQuaid distance (when InRange)
  std::string Remark;              // why there is no distance (Chinese)
};

struct DenseGasEstimate {
  bool Done = false;             // the dense-gas criterion held and the table was built
  bool Instantaneous = false;    // puff correlations (else plume)
  double Alpha = 0;              // correlation parameter of the workbook
  double LengthScale = 0;        // m: (q0/u)^(1/2) for a plume, V0^(1/3) for a puff
  bool AlphaInRange = false;     // alpha within the correlations' range (at most 1)
  // Downwind distance where the correlations end (lowest ratio curve), m;
  // beyond it the cloud is diluted to passive behaviour. 0 when not known.
  double LowestCurveDistance = 0;
  double LowestCurveRatio = 0;
  std::vector<DenseGasRow> Rows;
};

struct Applicability {
  bool Evaluated = false;  // set by EvaluateApplicability
  std::vector<ApplicabilityNote> Notes;
  DenseGasEstimate DenseGas;
};

// All notes and the dense-gas estimate for the results in s. Call only after
// a successful computation.
Applicability EvaluateApplicability(const ModelState& s);

// ---- The pieces, for tests and other callers ----

// Density of the pure vapour at the ambient temperature and pressure from its
// molecular weight (ideal gas), kg/m3.
double PureVapourDensity(const ModelState& s);

// Reduced gravity g (rho0 - rhoa) / rhoa, m/s2.
double ReducedGravity(double rho0, double rhoa);

// Richardson-number criteria of the dense-gas workbook: continuous release
// (g0' q0 / (u^3 D))^(1/3) with D = (q0/u)^(1/2) (q0 m3/s, u m/s), and
// instantaneous release (g0' V0^(1/3))^(1/2) / u (V0 m3). Dense when the
// first is at least kContinuousDenseLimit, the second kInstantaneousDenseLimit.
double ContinuousDenseCriterion(double reducedGravity, double q0, double u);
double InstantaneousDenseCriterion(double reducedGravity, double v0, double u);
inline constexpr double kContinuousDenseLimit = 0.15;
inline constexpr double kInstantaneousDenseLimit = 0.2;

// Correlation parameters alpha of the workbook.
double PlumeAlpha(double reducedGravity, double q0, double u);
double PuffAlpha(double reducedGravity, double v0, double u);

// Ratio Cm/C0 read on the correlations after the non-isothermal correction of
// the workbook, for a released gas at t0 in air at ta (K).
double NonIsothermalRatio(double ratio, double t0, double ta);

// log10 of the dimensionless distance (x / (q0/u)^(1/2) for the plume,
// x / V0^(1/3) for the puff) at which the mean concentration has fallen to
// ratio x C0. False when alpha or ratio lie outside the correlations (no
// extrapolation).
bool PlumeBeta(double alpha, double ratio, double& beta);
bool PuffBeta(double alpha, double ratio, double& beta);
inline constexpr double kPlumeLowestRatio = 0.002;
inline constexpr double kPuffLowestRatio = 0.001;
inline constexpr double kHighestRatio = 0.1;

// ---- Text ----

// "适用性提示(2)": the caption of the window page with the number of notes.
std::string NotesCaption(const Applicability& a);
// One line per note: the sentence and its numbers in brackets.
std::string NoteLine(const ApplicabilityNote& n);
// The page text: the notes, then the dense-gas table; lines joined by "\n".
std::string ApplicabilityText(const Applicability& a);

}  // namespace zelto
