// GeoJSON and KML documents of the hazard zone, placed with PROJ.
#include "zone/MapExport.h"

// PROJ's declarations only: the library itself is loaded when a map is made.
#include <proj.h>

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/Files.h"
#include "core/Platform.h"
#include "core/TextConv.h"
#include "notes/Applicability.h"

namespace zelto {

namespace {

using Json = nlohmann::ordered_json;


// A 32-bit result as the number its shortest text shows (3.0f -> 3, 0.1f -> 0.1);
// whole numbers as integers, so that the files show 90 rather than 90.0.
Json Shown(float v) {
  const double shown = LeadingNumber(FormatGeneral(v));
  if (std::fabs(shown) < 1e15 && shown == std::trunc(shown)) return static_cast<long long>(shown);
  return shown;
}

bool IsContinuous(const ModelState& s) { return s.ReleaseDuration == kSentinel; }


// The inputs every feature carries, so that a single feature copied out of
// the document still says what it belongs to.
Json CommonProperties(const ModelState& s) {
  Json p;
  p["substance"] = s.ChemicalName;
  p["time"] = ZoneTimeText(s);
  if (!IsContinuous(s)) p["prediction_time_min"] = Shown(s.PredictionTime);
  p["release_date"] = s.ReleaseDate;
  p["release_time"] = s.ReleaseTime;
  p["wind_direction_deg"] = Shown(s.WindDirection);
  p["wind_speed_m_s"] = Shown(s.WindSpeed);
  // The applicability notes of this computation: where the Gaussian model is
  // known to be unreliable, one sentence with its numbers per note.
  const Applicability a = EvaluateApplicability(s);
  Json ids = Json::array(), lines = Json::array();
  for (const ApplicabilityNote& n : a.Notes) {
    ids.push_back(n.Id);
    lines.push_back(NoteLine(n));
  }
  p["applicability_note_ids"] = ids;
  p["applicability_notes"] = lines;
  return p;
}

// Chinese captions of the property keys (KML display names).
const char* Caption(const std::string& key) {
  static const std::pair<const char*, const char*> kCaptions[] = {
      {"kind", "类别"},
      {"threshold_index", "阈值序号"},
      {"threshold_mg_m3", "阈值(mg/m3)"},
      {"threshold_ppm", "阈值(ppm)"},
      {"far_end_m", "X终点(m)"},
      {"max_half_width_m", "最大半宽(m)"},
      {"zone_length_m", "危害区长度(m)"},
      {"zone_angle_deg", "危害区宽度(度)"},
      {"hazard_distance_m", "最小阈值最远距离(m)"},
      {"hazard_time_min", "发生时间(min)"},
      {"longitude", "经度"},
      {"latitude", "纬度"},
      {"note", "说明"},
      {"number", "序号"},
      {"x_m", "X(m)"},
      {"y_m", "Y(m)"},
      {"z_m", "Z(m)"},
      {"t_min", "T(min)"},
      {"concentration_mg_m3", "C(mg/m3)"},
      {"substance", "物质"},
      {"time", "时刻"},
      {"prediction_time_min", "预测时刻(min)"},
      {"release_date", "泄漏日期"},
      {"release_time", "泄漏时间(北京时间)"},
      {"wind_direction_deg", "风向(度,以N=0,E=90)"},
      {"wind_speed_m_s", "环境风速(m/s)"},
      {"applicability_note_ids", "适用性提示编号"},
      {"applicability_notes", "适用性提示"},
  };
  for (const auto& [k, caption] : kCaptions) {
    if (key == k) return caption;
  }
  return nullptr;
}

std::string HexColour(const std::array<int, 3>& rgb) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = "#";
  for (int c : rgb) {
    out += kDigits[(c >> 4) & 15];
    out += kDigits[c & 15];
  }
  return out;
}

enum class Shape { Polygon, Line, Point };

// One placed feature; coordinates are longitude/latitude in degrees.
struct MapFeature {
  std::string name;
  Shape shape = Shape::Point;
  std::vector<std::pair<double, double>> lonLat;
  Json properties;
  std::string style;  // KML style id
  std::array<int, 3> colour{0, 0, 0};
  bool filled = false;
};

struct MapDocument {
  std::string title;
  int thresholdCount = 0;
  std::vector<MapFeature> features;
};

bool Place(const SiteProjection& proj, const std::vector<ZonePoint>& points, double windDirection,
           MapFeature& f) {
  for (const ZonePoint& p : points) {
    double lon = 0, lat = 0;
    if (!proj.ToLonLat(LocalToEastNorth(p, windDirection), lon, lat)) return false;
    f.lonLat.emplace_back(lon, lat);
  }
  return true;
}

bool BuildDocument(const ModelState& s, MapDocument& doc, std::string& message) {
  double lon0 = 0, lat0 = 0;
  if (!ReleaseSite(s, lon0, lat0, message)) return false;
  SiteProjection proj;
  if (!proj.Open(lon0, lat0, message)) return false;
  const ZoneGeometry g = BuildZoneGeometry(s);
  const double wind = s.WindDirection;
  const std::string placeFailed = "泄漏位置经度和纬度：危害区超出地图投影范围，无法导出地图。";
  doc.title = "ZELTO 危害区：" + s.ChemicalName + "，" + ZoneTimeText(s);
  doc.thresholdCount = g.ThresholdCount;

  // Largest figures first, so that map programs draw the smaller ones on top.
  if (g.HasSector) {
    MapFeature f;
    f.name = "90%保证率危害区";
    f.shape = Shape::Polygon;
    f.style = "sector";
    f.properties["kind"] = f.name;
    f.properties["zone_length_m"] = Shown(g.Sector.Radius);
    f.properties["zone_angle_deg"] = Shown(g.Sector.Angle);
    f.properties["hazard_distance_m"] = Shown(g.HazardDistance);
    if (!IsContinuous(s)) f.properties["hazard_time_min"] = Shown(g.HazardTime);
    f.properties.update(CommonProperties(s));
    f.properties["stroke"] = "#000000";
    f.properties["stroke-width"] = 2;
    f.properties["fill-opacity"] = 0;
    if (!Place(proj, g.Sector.Ring, wind, f)) return message = placeFailed, false;
    doc.features.push_back(std::move(f));
  }
  for (const ThresholdOutline& o : g.Outlines) {
    MapFeature f;
    const double ppm = static_cast<double>(o.Threshold) * s.PpmFactor;
    f.name = "浓度 ≥ " + FormatGeneral(o.Threshold) + " mg/m3";
    if (HasPpm(s)) f.name += "（" + ShortNumber(ppm) + " ppm）";
    f.shape = o.HasArea ? Shape::Polygon : (o.Ring.size() > 1 ? Shape::Line : Shape::Point);
    f.style = "threshold" + std::to_string(o.Index);
    f.colour = ThresholdColour(o.Index, g.ThresholdCount);
    f.filled = true;
    f.properties["kind"] = "阈值浓度区";
    f.properties["threshold_index"] = o.Index;
    f.properties["threshold_mg_m3"] = Shown(o.Threshold);
    if (HasPpm(s)) f.properties["threshold_ppm"] = Shown(static_cast<float>(ppm));
    f.properties["far_end_m"] = Shown(o.FarEnd);
    f.properties["max_half_width_m"] = Shown(o.MaxHalfWidth);
    f.properties.update(CommonProperties(s));
    f.properties["stroke"] = HexColour(f.colour);
    f.properties["fill"] = HexColour(f.colour);
    f.properties["fill-opacity"] = 0.5;
    if (!Place(proj, o.Ring, wind, f)) return message = placeFailed, false;
    doc.features.push_back(std::move(f));
  }
  {
    MapFeature f;
    f.name = "泄漏源";
    f.style = "source";
    f.properties["kind"] = f.name;
    f.properties["longitude"] = lon0;
    f.properties["latitude"] = lat0;
    if (!g.Reached) f.properties["note"] = kNoHazardZoneText;
    f.properties.update(CommonProperties(s));
    f.lonLat.emplace_back(lon0, lat0);
    doc.features.push_back(std::move(f));
  }
  for (const ReceptorMark& r : g.Receptors) {
    MapFeature f;
    f.name = "预测点 " + std::to_string(r.Number);
    f.style = "receptor";
    f.properties["kind"] = "预测点";
    f.properties["number"] = r.Number;
    f.properties["x_m"] = Shown(static_cast<float>(r.At.X));
    f.properties["y_m"] = Shown(static_cast<float>(r.At.Y));
    f.properties["z_m"] = Shown(r.Z);
    f.properties["t_min"] = Shown(r.T);
    f.properties["concentration_mg_m3"] = Shown(r.Concentration);
    f.properties.update(CommonProperties(s));
    if (!Place(proj, {r.At}, wind, f)) return message = placeFailed, false;
    doc.features.push_back(std::move(f));
  }
  return true;
}

// Degrees rounded to 1e-7 (about 1 cm), which keeps the files small.
double RoundDegrees(double v) { return std::round(v * 1e7) / 1e7; }

std::string GeoJsonText(const MapDocument& doc) {
  std::string out = "{\"type\":\"FeatureCollection\",\"name\":" +
                    Json(doc.title).dump(-1, ' ', false, Json::error_handler_t::replace) + ",\"features\":[";
  for (size_t i = 0; i < doc.features.size(); ++i) {
    const MapFeature& f = doc.features[i];
    Json positions = Json::array();
    for (const auto& [lon, lat] : f.lonLat) positions.push_back({RoundDegrees(lon), RoundDegrees(lat)});
    Json geometry;
    if (f.shape == Shape::Polygon) {
      geometry["type"] = "Polygon";
      geometry["coordinates"] = Json::array({positions});
    } else if (f.shape == Shape::Line) {
      geometry["type"] = "LineString";
      geometry["coordinates"] = positions;
    } else {
      geometry["type"] = "Point";
      geometry["coordinates"] = positions.at(0);
    }
    Json feature;
    feature["type"] = "Feature";
    Json properties;
    properties["name"] = f.name;
    properties.update(f.properties);
    feature["properties"] = properties;
    feature["geometry"] = geometry;
    out += i == 0 ? "\r\n" : ",\r\n";
    out += feature.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  out += "\r\n]}\r\n";
  return out;
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // Control characters other than tab and line ends are not allowed in XML.
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
    }
  }
  return out;
}

std::string Fixed7(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, RoundDegrees(v), std::chars_format::fixed, 7);
  return std::string(buf, r.ptr);
}

// KML colours are aabbggrr.
std::string KmlColour(const std::array<int, 3>& rgb, int alpha) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (int c : {alpha, rgb[2], rgb[1], rgb[0]}) {
    out += kDigits[(c >> 4) & 15];
    out += kDigits[c & 15];
  }
  return out;
}

std::string KmlStyles(const MapDocument& doc) {
  std::string out;
  for (int j = 1; j <= doc.thresholdCount; ++j) {
    const auto rgb = ThresholdColour(j, doc.thresholdCount);
    out += "<Style id=\"threshold" + std::to_string(j) + "\"><LineStyle><color>" + KmlColour(rgb, 255) +
           "</color><width>2</width></LineStyle><PolyStyle><color>" + KmlColour(rgb, 128) +
           "</color></PolyStyle></Style>\r\n";
  }
  out +=
      "<Style id=\"sector\"><LineStyle><color>ff000000</color><width>2</width></LineStyle>"
      "<PolyStyle><fill>0</fill></PolyStyle></Style>\r\n"
      "<Style id=\"source\"><IconStyle><color>ff0000ff</color></IconStyle></Style>\r\n"
      "<Style id=\"receptor\"><IconStyle><color>ffff0000</color></IconStyle></Style>\r\n";
  return out;
}

// A list of texts is one text, an item per line.
std::string KmlValue(const Json& v) {
  if (v.is_string()) return v.get<std::string>();
  if (v.is_array()) {
    std::string out;
    for (const Json& item : v) {
      if (!out.empty()) out += "\n";
      out += KmlValue(item);
    }
    return out;
  }
  return v.dump();
}

std::string KmlPlacemark(const MapFeature& f) {
  std::string out = "<Placemark><name>" + XmlEscaped(f.name) + "</name><styleUrl>#" + f.style +
                    "</styleUrl>\r\n<ExtendedData>";
  for (const auto& [key, value] : f.properties.items()) {
    const char* caption = Caption(key);
    if (!caption) continue;  // style hints of the GeoJSON
    out += "<Data name=\"" + key + "\"><displayName>" + XmlEscaped(caption) + "</displayName><value>" +
           XmlEscaped(KmlValue(value)) + "</value></Data>";
  }
  out += "</ExtendedData>\r\n";
  std::string coordinates;
  for (const auto& [lon, lat] : f.lonLat) {
    if (!coordinates.empty()) coordinates += ' ';
    coordinates += Fixed7(lon) + "," + Fixed7(lat);
  }
  if (f.shape == Shape::Polygon) {
    out += "<Polygon><outerBoundaryIs><LinearRing><coordinates>" + coordinates +
           "</coordinates></LinearRing></outerBoundaryIs></Polygon>";
  } else if (f.shape == Shape::Line) {
    out += "<LineString><coordinates>" + coordinates + "</coordinates></LineString>";
  } else {
    out += "<Point><coordinates>" + coordinates + "</coordinates></Point>";
  }
  return out + "\r\n</Placemark>\r\n";
}

std::string KmlText(const MapDocument& doc) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n<Document>\r\n<name>" +
      XmlEscaped(doc.title) + "</name>\r\n";
  out += KmlStyles(doc);
  for (const MapFeature& f : doc.features) out += KmlPlacemark(f);
  out += "</Document>\r\n</kml>\r\n";
  return out;
}

// The PROJ functions the export calls, from the library found when the
// program was built (ZELTO_PROJ_LIBRARY, else its shared-object name on the
// system's search path). Loaded once, on the first map: PROJ brings some
// forty libraries (network, TLS, image formats) whose loading would
// otherwise cost every start of the batch program many times its computation.
struct ProjApi {
  bool loaded = false;
  decltype(&proj_context_create) contextCreate = nullptr;
  decltype(&proj_context_destroy) contextDestroy = nullptr;
  decltype(&proj_log_level) logLevel = nullptr;
  decltype(&proj_create_crs_to_crs) createCrsToCrs = nullptr;
  decltype(&proj_normalize_for_visualization) normalizeForVisualization = nullptr;
  decltype(&proj_destroy) destroy = nullptr;
  decltype(&proj_trans) trans = nullptr;
};

#ifndef ZELTO_PROJ_LIBRARY
#define ZELTO_PROJ_LIBRARY ""
#endif
#ifndef ZELTO_PROJ_SONAME
#define ZELTO_PROJ_SONAME ""
#endif

ProjApi LoadProj() {
  ProjApi api;
  void* library = nullptr;
  for (const char* name : {ZELTO_PROJ_LIBRARY, ZELTO_PROJ_SONAME}) {
    if (!*name) continue;
    library = OpenSharedLibrary(name);
    if (library) break;
  }
  if (!library) return api;
  auto symbol = [library](auto& function, const char* name) {
    void* address = SharedLibrarySymbol(library, name);
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(address);
    return address != nullptr;
  };
  // The library stays loaded for the rest of the program.
  api.loaded = symbol(api.contextCreate, "proj_context_create") &&
               symbol(api.contextDestroy, "proj_context_destroy") &&
               symbol(api.logLevel, "proj_log_level") &&
               symbol(api.createCrsToCrs, "proj_create_crs_to_crs") &&
               symbol(api.normalizeForVisualization, "proj_normalize_for_visualization") &&
               symbol(api.destroy, "proj_destroy") && symbol(api.trans, "proj_trans");
  return api;
}

const ProjApi& Proj() {
  static const ProjApi api = LoadProj();
  return api;
}

PJ_COORD Coord(double x, double y) {
  PJ_COORD c{};
  c.v[0] = x;
  c.v[1] = y;
  return c;
}

bool WriteMapFile(const std::string& path, const std::string& text, std::string& message) {
  std::string error;
  if (!WriteFileAtomic(path, text, error)) {
    message = "无法写入地图文件" + path + "。";
    return false;
  }
  return true;
}

}  // namespace

bool ReleaseSite(const ModelState& s, double& longitude, double& latitude, std::string& message) {
  longitude = LeadingNumber(FormatRoundTrip(s.Longitude));
  latitude = LeadingNumber(FormatRoundTrip(s.Latitude));
  if (!std::isfinite(longitude) || !std::isfinite(latitude) || std::fabs(longitude) >= 180 ||
      std::fabs(latitude) >= 90) {
    message = "泄漏位置经度和纬度无效，无法在地图上定位危害区。";
    return false;
  }
  if (longitude == 0 && latitude == 0) {
    message = "泄漏位置经度和纬度未给出（0/0），无法在地图上定位危害区。";
    return false;
  }
  return true;
}

SiteProjection::~SiteProjection() {
  if (transform_) Proj().destroy(transform_);
  if (context_) Proj().contextDestroy(context_);
}

bool SiteProjection::Open(double longitude, double latitude, std::string& message) {
  const ProjApi& proj = Proj();
  if (!proj.loaded) {
    message = "无法加载地图投影库 PROJ（" + std::string(*ZELTO_PROJ_LIBRARY ? ZELTO_PROJ_LIBRARY : ZELTO_PROJ_SONAME) +
              "），无法导出地图。";
    return false;
  }
  const std::string failed = "无法建立泄漏位置的地图投影，请检查经度和纬度。";
  if (!context_) context_ = proj.contextCreate();
  if (!context_) return message = failed, false;
  proj.logLevel(context_, PJ_LOG_NONE);
  if (transform_) proj.destroy(transform_);
  transform_ = nullptr;
  // Numbers in the definition are written without the locale's separators.
  auto number = [](double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
  };
  const std::string tmerc = "+proj=tmerc +lat_0=" + number(latitude) + " +lon_0=" + number(longitude) +
                            " +k=1 +x_0=0 +y_0=0 +datum=WGS84 +units=m +no_defs +type=crs";
  PJ* raw = proj.createCrsToCrs(context_, tmerc.c_str(), "EPSG:4326", nullptr);
  if (!raw) return message = failed, false;
  // Longitude first, whatever axis order the EPSG definition has.
  transform_ = proj.normalizeForVisualization(context_, raw);
  proj.destroy(raw);
  if (!transform_) return message = failed, false;
  return true;
}

bool SiteProjection::ToLonLat(EastNorth p, double& longitude, double& latitude) const {
  if (!transform_) return false;
  const PJ_COORD out = Proj().trans(transform_, PJ_FWD, Coord(p.East, p.North));
  longitude = out.xy.x;
  latitude = out.xy.y;
  return std::isfinite(longitude) && std::isfinite(latitude);
}

bool SiteProjection::ToEastNorth(double longitude, double latitude, EastNorth& p) const {
  if (!transform_) return false;
  const PJ_COORD out = Proj().trans(transform_, PJ_INV, Coord(longitude, latitude));
  p = {out.xy.x, out.xy.y};
  return std::isfinite(p.East) && std::isfinite(p.North);
}

bool BuildGeoJson(const ModelState& s, std::string& text, std::string& message) {
  MapDocument doc;
  if (!BuildDocument(s, doc, message)) return false;
  text = GeoJsonText(doc);
  return true;
}

bool BuildKml(const ModelState& s, std::string& text, std::string& message) {
  MapDocument doc;
  if (!BuildDocument(s, doc, message)) return false;
  text = KmlText(doc);
  return true;
}

bool ExportGeoJson(const ModelState& s, const std::string& path, std::string& message) {
  std::string text;
  return BuildGeoJson(s, text, message) && WriteMapFile(path, text, message);
}

bool ExportKml(const ModelState& s, const std::string& path, std::string& message) {
  std::string text;
  return BuildKml(s, text, message) && WriteMapFile(path, text, message);
}

}  // namespace zelto
