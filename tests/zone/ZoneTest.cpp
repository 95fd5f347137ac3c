// Hazard-zone figures and their placement on the map.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <numbers>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"
#include "zone/MapExport.h"
#include "zone/ZoneGeometry.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr double kDeg = std::numbers::pi / 180.0;

// A record as the isopleth run leaves it: one threshold of 3 mg/m3 reached
// with the contour (x, w) given, site 121.47E 31.23N.
ModelState ZoneState(const std::vector<std::pair<float, float>>& contour) {
  ModelState s;
  s.Longitude = 121.47f;
  s.Latitude = 31.23f;
  s.ReleaseDuration = kSentinel;
  s.Targets.ThresholdCount = 1;
  s.Targets.Thresholds = {0.0f, 3.0f};
  s.MaxConcentration = 50.0f;
  s.ContourPointCount = {0, static_cast<int16_t>(contour.size())};
  s.ContourX.assign(2, {0.0f});
  s.ContourHalfWidth.assign(2, {0.0f});
  for (const auto& [x, w] : contour) {
    s.ContourX[1].push_back(x);
    s.ContourHalfWidth[1].push_back(w);
  }
  s.MaxHalfWidth = {0.0f, 0.0f};
  s.HazardDistance = 300.0f;
  s.ZoneLength = 630.0f;
  s.ZoneAngle = 150.0f;
  return s;
}

// The site plus one receptor point 1000 m downwind, exported and read back.
std::vector<double> ReceptorLonLat(float windDirection) {
  ModelState s = ZoneState({{10, 4}, {20, 6}});
  s.WindDirection = windDirection;
  s.Targets.PointCount = 1;
  s.Targets.Points = {PointRow{}, PointRow{0, 1000, 0, 1.5f, 10, 0}};
  std::string text, message;
  EXPECT_TRUE(BuildGeoJson(s, text, message)) << message;
  const Json doc = Json::parse(text);
  for (const Json& f : doc["features"]) {
    if (f["properties"]["kind"] == "预测点") return f["geometry"]["coordinates"];
  }
  return {};
}

// Offset (east, north) in metres of a point from the site, from the radii of
// curvature of the WGS 84 ellipsoid at the mean latitude (exact to well
// below a millimetre over 1 km).
std::pair<double, double> OffsetFromSite(const std::vector<double>& lonLat) {
  const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f);
  const double lat0 = 31.23, lon0 = 121.47;
  const double phi = (lat0 + lonLat.at(1)) / 2 * kDeg;
  const double w = 1 - e2 * std::sin(phi) * std::sin(phi);
  const double meridian = a * (1 - e2) / std::pow(w, 1.5), prime = a / std::sqrt(w);
  return {prime * std::cos(phi) * (lonLat.at(0) - lon0) * kDeg, meridian * (lonLat.at(1) - lat0) * kDeg};
}

TEST(MapPlacement, WindFromNorthSendsTheCloudSouth) {
  const auto [east, north] = OffsetFromSite(ReceptorLonLat(0));
  EXPECT_LT(std::hypot(east, north + 1000), 1.0);
}

TEST(MapPlacement, WindFromWestSendsTheCloudEast) {
  const auto [east, north] = OffsetFromSite(ReceptorLonLat(270));
  EXPECT_LT(std::hypot(east - 1000, north), 1.0);
}

TEST(ZoneGeometry, SectorHasTheZoneAngleAndLength) {
  for (float angle : {45.0f, 150.0f, 180.5f, 360.0f}) {
    ModelState s = ZoneState({{10, 4}, {20, 6}});
    s.ZoneAngle = angle;
    const ConfidenceSector c = BuildZoneGeometry(s).Sector;
    std::vector<ZonePoint> arc;
    for (const ZonePoint& p : c.Ring) {
      if (p.X != 0 || p.Y != 0) arc.push_back(p);
    }
    ASSERT_GE(arc.size(), 40u);
    for (const ZonePoint& p : arc) EXPECT_NEAR(std::hypot(p.X, p.Y), 630.0, 1e-9);
    if (angle < 360) {
      // Apex at the source, arc from -angle/2 to +angle/2 around the axis.
      EXPECT_EQ(c.Ring.front().X, 0.0);
      EXPECT_NEAR(std::atan2(arc.front().Y, arc.front().X) / kDeg, -angle / 2, 1e-9);
      EXPECT_NEAR(std::atan2(arc.back().Y, arc.back().X) / kDeg, angle / 2, 1e-9);
    } else {
      // Full circle: no apex; consecutive points 1 degree apart all round.
      EXPECT_EQ(arc.size(), 361u);
      EXPECT_NEAR(SignedAreaTwice(c.Ring) / 2, std::numbers::pi * 630 * 630, 0.001 * 630 * 630);
    }
  }
}

// The example scenarios computed as the window computes them.
bool ComputeExample(const fs::path& settings, ModelState& s) {
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = settings.string();
  w.ContourPath = (fs::temp_directory_path() / "zelto-zone-test-CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  w.Text3.Text.clear();
  w.Command1_Click(2);
  return !w.Text3.Text.empty();
}

bool ClosedCounterClockwise(const std::vector<ZonePoint>& ring) {
  return ring.size() >= 4 && ring.front().X == ring.back().X && ring.front().Y == ring.back().Y &&
         SignedAreaTwice(ring) > 0;
}

TEST(ZoneGeometry, EveryRingOfTheExamplesIsClosedAndCounterClockwise) {
  int rings = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(ZELTO_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".ini") continue;
    ModelState s;
    ASSERT_TRUE(ComputeExample(entry.path(), s)) << entry.path();
    const ZoneGeometry g = BuildZoneGeometry(s);
    for (const ThresholdOutline& o : g.Outlines) {
      EXPECT_TRUE(!o.HasArea || ClosedCounterClockwise(o.Ring)) << entry.path() << " " << o.Index;
    }
    EXPECT_TRUE(!g.HasSector || ClosedCounterClockwise(g.Sector.Ring)) << entry.path();
    // On the map too (RFC 7946: exterior rings counter-clockwise in lon/lat).
    std::string text, message;
    ASSERT_TRUE(BuildGeoJson(s, text, message)) << message;
    const Json doc = Json::parse(text);
    for (const Json& f : doc["features"]) {
      if (f["geometry"]["type"] != "Polygon") continue;
      std::vector<ZonePoint> ring;
      for (const Json& p : f["geometry"]["coordinates"][0]) ring.push_back({p[0], p[1]});
      EXPECT_TRUE(ClosedCounterClockwise(ring)) << entry.path() << " " << f["properties"]["name"];
      ++rings;
    }
  }
  EXPECT_GE(rings, 10);
}

// The chlorine leak of the first example is a dense gas and its 90 mg/m3
// isopleth ends 60 m from the source: every feature names both notes.
TEST(MapExport, FeaturesCarryTheApplicabilityNotes) {
  ModelState s;
  ASSERT_TRUE(ComputeExample(fs::path(ZELTO_SOURCE_DIR) / "examples" / "01-chlorine-leak-day.ini", s));
  std::string text, message;
  ASSERT_TRUE(BuildGeoJson(s, text, message)) << message;
  const Json doc = Json::parse(text);
  ASSERT_FALSE(doc["features"].empty());
  for (const Json& f : doc["features"]) {
    EXPECT_EQ(f["properties"]["applicability_note_ids"], Json::array({"dense-gas", "near-distance"}));
    ASSERT_EQ(f["properties"]["applicability_notes"].size(), 2u);
    EXPECT_EQ(f["properties"]["applicability_notes"][0].get<std::string>().rfind("泄漏气体明显重于空气", 0), 0u);
  }
}

TEST(ZoneGeometry, ContourWithoutAreaIsALineNotARing) {
  const ThresholdOutline o = BuildZoneGeometry(ZoneState({{10, 8}})).Outlines.at(0);
  EXPECT_FALSE(o.HasArea);
  ASSERT_EQ(o.Ring.size(), 2u);  // the crosswind segment at x = 10
  EXPECT_EQ(o.Ring[0].Y, -8.0);
  EXPECT_EQ(o.Ring[1].Y, 8.0);
}

TEST(MapExport, SiteAtZeroZeroIsRefused) {
  ModelState s = ZoneState({{10, 4}, {20, 6}});
  s.Longitude = s.Latitude = 0;
  const fs::path file = fs::temp_directory_path() / "zelto-zone-test-refused.kml";
  fs::remove(file);
  std::string message;
  EXPECT_FALSE(ExportKml(s, file.string(), message));
  EXPECT_EQ(message, "泄漏位置经度和纬度未给出（0/0），无法在地图上定位危害区。");
  EXPECT_FALSE(fs::exists(file));
}

TEST(MapExport, FailedWriteLeavesNoFile) {
  // The target is a directory: the complete temporary file cannot replace it.
  const fs::path dir = fs::temp_directory_path() / "zelto-zone-test-write";
  fs::remove_all(dir);
  fs::create_directories(dir / "map.geojson");
  std::string message;
  EXPECT_FALSE(ExportGeoJson(ZoneState({{10, 4}, {20, 6}}), (dir / "map.geojson").string(), message));
  EXPECT_EQ(message, "无法写入地图文件" + (dir / "map.geojson").string() + "。");
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir)) entries += e.path().filename() == "map.geojson" ? 0 : 1;
  EXPECT_EQ(entries, 0);
  EXPECT_TRUE(fs::is_directory(dir / "map.geojson"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelto
