// Steps of the dispersion stages, for the module's own files and its tests;
// the window and the batch program run the stages through RunDispersion
// (dispersion/Dispersion.h).
#pragma once

#include <string>

#include "core/ModelState.h"
#include "dispersion/Dispersion.h"

namespace zelto {

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

// Writes BuildContourText(s) in GBK to path, replacing the file only when the
// new one is complete. An empty path becomes DefaultContourPath(). False with
// a system description in error when it fails.
bool WriteContourFile(const ModelState& s, std::string& path, std::string& error);

}  // namespace zelto
