// The hazard zone on a map: the figures of ZoneGeometry placed around the
// release site with a transverse Mercator projection centred on the site
// (PROJ, loaded when first needed), written as GeoJSON (RFC 7946) or KML 2.2.
#pragma once

#include <string>

#include "core/ModelState.h"
#include "zone/ZoneGeometry.h"

struct pj_ctx;
struct PJconsts;

namespace zelto {

// The release site in degrees (east and north positive): the shortest
// decimal that the record's 32-bit value stands for, so that 121.47 stays
// 121.47 rather than 121.47000122. False with a message when the site cannot be placed on a map
// (0/0, the value of empty boxes, or out of range).
bool ReleaseSite(const ModelState& s, double& longitude, double& latitude, std::string& message);

// Transverse Mercator on the WGS 84 ellipsoid with scale 1 on the meridian
// of the site and the site as origin; east/north metres <-> longitude/latitude.
// PROJ is loaded on the first Open (the library found when the program was
// built), so a program that writes no map file never loads it.
class SiteProjection {
 public:
  SiteProjection() = default;
  SiteProjection(const SiteProjection&) = delete;
  SiteProjection& operator=(const SiteProjection&) = delete;
  ~SiteProjection();

  bool Open(double longitude, double latitude, std::string& message);
  bool ToLonLat(EastNorth p, double& longitude, double& latitude) const;
  bool ToEastNorth(double longitude, double latitude, EastNorth& p) const;

 private:
  pj_ctx* context_ = nullptr;
  PJconsts* transform_ = nullptr;
};

// The map document of the results in s (after a successful computation):
// one polygon per reached threshold, the confidence sector, the source and
// the receptor points. False with a message when the site cannot be placed.
bool BuildGeoJson(const ModelState& s, std::string& text, std::string& message);
bool BuildKml(const ModelState& s, std::string& text, std::string& message);

// Builds the document and writes it (UTF-8) to path through a temporary file
// renamed when complete: a refusal or a failed write leaves no new file and
// the old one intact. False with a message naming the file.
bool ExportGeoJson(const ModelState& s, const std::string& path, std::string& message);
bool ExportKml(const ModelState& s, const std::string& path, std::string& message);

}  // namespace zelto
