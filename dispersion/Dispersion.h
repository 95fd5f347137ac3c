// Concentrations, plane maximum, isopleths, hazard zone and contour data file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// Name of the contour data file, kept beside the executable by the desktop
// program.
inline constexpr char kContourFileName[] = "CONCXY.DAT";

// Refusal of a threshold list that holds no positive finite number, by the
// input checks and by the dispersion entry alike.
inline constexpr char kThresholdsInvalidMessage[] = "廓线的阈值无效!";

// Default work limit of one dispersion stage (see DispersionContext).
inline constexpr long long kDispersionWorkLimit = 300000000;

struct DispersionContext {
  // Full path of the contour data file (empty: DefaultContourPath()).
  std::string contourFilePath;
  // Warnings shown while the computation goes on (unwritable contour file).
  MessageSink* sink = nullptr;
  // Lets the window process its pending events once per search step; empty
  // in tests and in the batch program.
  std::function<void()> processEvents;
  // Work one stage may do, in puffs summed (a full evaluation counts as 20):
  // a few seconds of computing. Wide clouds in light wind with long averaging
  // times, steady states and very small thresholds could otherwise keep the
  // searches busy for hours; a stage that reaches the limit is refused.
  long long workLimit = kDispersionWorkLimit;
};

// The three dispersion stages of a computation, in the order they run; the
// value is what ModelState::ResultKind records.
enum class DispersionKind : uint8_t {
  Isopleths = 1,      // plane maximum, isopleths, hazard distance and zone, contour file
  ReceptorPoints = 2, // concentrations at the listed points
  PlaneMaximum = 3,   // maximum on the receptor plane and its summary text
};

// The receptor plane and the time a search looks at.
struct ReceptorPlane {
  float height = 0;  // m above ground
  float time = 0;    // min after the start of the release; 10000 = steady state
};

// Runs one stage. Returns false with a message when it refuses; after a
// successful PlaneMaximum stage the message holds the result summary text.
bool RunDispersion(ModelState& s, DispersionKind kind, std::string& message,
                   const DispersionContext& ctx);

// ---- Concentration at a point ----

// Crosswind spread SigmaY at SigmaDistance and vertical spread SigmaZ at
// ReceptorX (m), with roughness and averaging-time corrections.
void ComputeSpreads(ModelState& s);

// Contribution (g/m3) of one puff of age PuffAge (s) and mass PuffMass (g) at
// the receptor, with ground and mixing-lid reflections; writes PuffConcentration.
void ComputePuffContribution(ModelState& s);

// Concentration (mg/m3) at ReceptorX, ReceptorY, ReceptorHeight and
// PredictionTime: steady plume or sum of 3-second puffs. Writes Concentration
// and the working fields (spreads, puff age, mass and contribution).
void ComputeConcentration(ModelState& s);

// Concentration at one listed point (X at least 1 m); 0 without evaluation
// when the point and the release lie on different sides of the mixing lid.
float ConcentrationAtPoint(ModelState& s, float x, float y, float z, float t);

// ---- Plane maximum ----

// Largest axis concentration on the plane (MaxConcentration,
// MaxConcentrationX) and its summary text. False with the reason in message
// when the plane lies across the lid or the cloud never reaches it.
bool FindPlaneMaximum(ModelState& s, ReceptorPlane plane, std::string& message);

// ---- Isopleths, hazard distance and zone ----

// Traces the isopleth of every threshold on the plane, derives the hazard
// distance, hazard time, zone length and zone angle of the smallest
// threshold, and writes the contour data file (ctx.contourFilePath). Sets
// ContourText to the text written (empty when the maximum stays below the
// smallest threshold: the file is then left as it was) and HazardLimitReached.
void FindIsopleths(ModelState& s, ReceptorPlane plane, const DispersionContext& ctx);

// Zone angle (deg) of the 90 % confidence hazard zone from the wind and the
// stability; writes ZoneAngle.
void ComputeZoneAngle(ModelState& s);

// Rounds HazardDistance to 10 m (halves to even) and sets ZoneLength to
// 2.1 times it, rounded to 10 m the same way.
void RoundHazardZone(ModelState& s);

// ---- Contour data file ----

// The contour data text (UTF-8, CR LF after every line) of the current
// isopleth results: one block per threshold.
std::string BuildContourText(const ModelState& s);

// The contour data file beside the executable.
std::string DefaultContourPath();

// Writes BuildContourText(s) in GBK to path, replacing the file only when the
// new one is complete. An empty path becomes DefaultContourPath(). False with
// a system description in error when it fails.
bool WriteContourFile(const ModelState& s, std::string& path, std::string& error);

}  // namespace zelto
