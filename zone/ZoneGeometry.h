// The hazard zone of the last computation as plane figures around the source:
// the outline of every threshold reached, the 90 % confidence sector, the
// hazard distance and the receptor points. Everything is read from the
// stored results of the model record; nothing is recomputed.
//
// Frame: metres, origin at the source, x downwind along the cloud's axis, y
// crosswind, positive to the left when looking downwind. This is a
// right-handed frame, so it turns into east/north by a pure rotation and a
// counter-clockwise ring stays counter-clockwise on the map.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/ModelState.h"

namespace zelto {

struct ZonePoint {
  double X = 0;  // m downwind
  double Y = 0;  // m crosswind, left of the downwind direction
};

struct EastNorth {
  double East = 0;   // m
  double North = 0;  // m
};

// Turns the zone frame (x downwind, y to the left of it) into east and north
// of the source. The wind direction is where the wind comes from (N = 0,
// E = 90, degrees), so the cloud travels toward windDirection + 180.
EastNorth LocalToEastNorth(ZonePoint p, double windDirection);

// The isopleth of one threshold: the march points of the contour with their
// half-widths mirrored to both sides of the axis.
struct ThresholdOutline {
  int Index = 0;           // threshold number, 1 = lowest
  float Threshold = 0;     // mg/m3
  float FarEnd = 0;        // m, downwind distance of the last march point
  float MaxHalfWidth = 0;  // m
  // HasArea: closed counter-clockwise ring (first point repeated at the end).
  // Otherwise the contour is too thin to enclose an area (one march point, or
  // every half-width 0) and Ring holds its distinct points as an open line.
  bool HasArea = false;
  std::vector<ZonePoint> Ring;
};

// The 90 % confidence zone: a sector of angular width Angle centred on the
// downwind axis with the source as apex, radius Radius; a full circle when
// the angle is 360 degrees.
struct ConfidenceSector {
  float Angle = 0;   // deg
  float Radius = 0;  // m
  bool FullCircle = false;
  std::vector<ZonePoint> Ring;  // closed, counter-clockwise
};

struct ReceptorMark {
  int Number = 0;  // row of the point list, from 1
  ZonePoint At;
  float Z = 0;              // m above ground
  float T = 0;              // min
  float Concentration = 0;  // mg/m3
};

struct ZoneGeometry {
  // The maximum on the receptor plane reached the smallest threshold, so the
  // hazard distance and the confidence sector belong to this computation.
  bool Reached = false;
  std::vector<ThresholdOutline> Outlines;  // reached thresholds, lowest first
  int ThresholdCount = 0;                  // thresholds given (reached or not)
  bool HasSector = false;
  ConfidenceSector Sector;
  float HazardDistance = 0;  // m, greatest distance of the smallest threshold
  float HazardTime = 0;      // min, 10000 for a continuous release
  std::vector<ReceptorMark> Receptors;
};

// The figures of the results stored in s by the last successful computation.
ZoneGeometry BuildZoneGeometry(const ModelState& s);

// ---- Captions shared by the hazard-zone picture and the map files ----

// The sentence shown when the maximum stays below the smallest threshold.
inline constexpr char kNoHazardZoneText[] = "当前时刻下，计算区域内所有浓度均小于给定的最小阈值，无危害区";

// "持续释放" for a continuous release, else "预测时刻 10 min".
std::string ZoneTimeText(const ModelState& s);

// True when thresholds can also be shown in ppm (molecular weight and a
// finite conversion factor known).
bool HasPpm(const ModelState& s);

// The release site with hemisphere letters: "121.47E 31.23N".
std::string SiteText(const ModelState& s);

// Twice the signed area of a ring (shoelace); positive for counter-clockwise.
double SignedAreaTwice(const std::vector<ZonePoint>& ring);

// Four significant digits in the general text form, for names and legends
// (a threshold of 3 mg/m3 of chlorine is "1.053" ppm).
std::string ShortNumber(double v);

// Fill colour of threshold j of n: yellow for the lowest, through orange, to
// red for the highest (sRGB 0..255).
std::array<int, 3> ThresholdColour(int j, int n);

}  // namespace zelto
