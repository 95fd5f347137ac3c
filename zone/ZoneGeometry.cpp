// Outlines, confidence sector and points of the stored hazard-zone results.
#include "zone/ZoneGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/TextConv.h"

namespace zelto {

namespace {

template <typename T>
T Item(const std::vector<T>& v, size_t i) {
  return i < v.size() ? v[i] : T{};
}

float Item2(const std::vector<std::vector<float>>& v, size_t i, size_t k) {
  return i < v.size() && k < v[i].size() ? v[i][k] : 0.0f;
}

void AddDistinct(std::vector<ZonePoint>& ring, ZonePoint p) {
  if (ring.empty() || ring.back().X != p.X || ring.back().Y != p.Y) ring.push_back(p);
}

// The contour of threshold j: along the right-hand side (y = -W) downwind,
// then back along the left-hand side (y = +W); this order runs
// counter-clockwise. Half-widths of 0 meet on the axis and are kept once.
ThresholdOutline OutlineOf(const ModelState& s, int j) {
  ThresholdOutline o;
  o.Index = j;
  o.Threshold = Item(s.Targets.Thresholds, j);
  o.MaxHalfWidth = Item(s.MaxHalfWidth, j);
  const int k = Item(s.ContourPointCount, j);
  o.FarEnd = Item2(s.ContourX, j, k);
  std::vector<ZonePoint> ring;
  for (int i = 1; i <= k; ++i) AddDistinct(ring, {Item2(s.ContourX, j, i), -Item2(s.ContourHalfWidth, j, i)});
  for (int i = k; i >= 1; --i) AddDistinct(ring, {Item2(s.ContourX, j, i), Item2(s.ContourHalfWidth, j, i)});
  if (ring.size() >= 3 && SignedAreaTwice(ring) != 0) {
    ring.push_back(ring.front());
    o.HasArea = true;
    o.Ring = std::move(ring);
    return o;
  }
  // No area: the distinct points of the axis segment or crosswind segment.
  std::vector<ZonePoint> line;
  for (const ZonePoint& p : ring) {
    bool seen = false;
    for (const ZonePoint& q : line) seen = seen || (q.X == p.X && q.Y == p.Y);
    if (!seen) line.push_back(p);
  }
  o.Ring = std::move(line);
  return o;
}

// Sector of the confidence zone, its arc in steps of at most 1 degree (the
// chord then departs from the arc by less than 4e-5 of the radius).
ConfidenceSector SectorOf(float angle, float radius) {
  ConfidenceSector c;
  c.Angle = angle;
  c.Radius = radius;
  c.FullCircle = angle >= 360.0f;
  const double width = c.FullCircle ? 360.0 : static_cast<double>(angle);
  const int steps = static_cast<int>(std::ceil(width));
  const double deg = std::numbers::pi / 180.0;
  if (!c.FullCircle) c.Ring.push_back({0, 0});
  for (int i = 0; i <= steps; ++i) {
    if (c.FullCircle && i == steps) break;  // closed below
    const double a = (-width / 2 + width * i / steps) * deg;
    c.Ring.push_back({radius * std::cos(a), radius * std::sin(a)});
  }
  c.Ring.push_back(c.Ring.front());
  return c;
}

}  // namespace

double SignedAreaTwice(const std::vector<ZonePoint>& ring) {
  double sum = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const ZonePoint& a = ring[i];
    const ZonePoint& b = ring[(i + 1) % ring.size()];
    sum += a.X * b.Y - b.X * a.Y;
  }
  return sum;
}

std::string ShortNumber(double v) {
  if (!(v > 0) || !std::isfinite(v)) return FormatGeneral(static_cast<float>(v));
  const double unit = std::pow(10.0, std::floor(std::log10(v)) - 3);
  return FormatGeneral(static_cast<float>(std::round(v / unit) * unit));
}

std::array<int, 3> ThresholdColour(int j, int n) {
  const double t = n > 1 ? static_cast<double>(j - 1) / (n - 1) : 0.0;
  const int green = static_cast<int>(std::lround(255.0 * (1.0 - std::clamp(t, 0.0, 1.0))));
  return {255, green, 0};
}

ZoneGeometry BuildZoneGeometry(const ModelState& s) {
  ZoneGeometry g;
  const int n = s.Targets.ThresholdCount;
  g.ThresholdCount = n > 0 ? n : 0;
  // The isopleth search stops before any tracing when the plane maximum
  // stays below the smallest threshold; the hazard fields then still hold
  // an earlier run's values and are not shown.
  g.Reached = n >= 1 && s.MaxConcentration >= Item(s.Targets.Thresholds, 1);
  if (g.Reached) {
    for (int j = 1; j <= n; ++j) {
      if (Item(s.ContourPointCount, j) >= 1) g.Outlines.push_back(OutlineOf(s, j));
    }
    g.HazardDistance = s.HazardDistance;
    g.HazardTime = s.HazardTime;
    g.HasSector = s.ZoneAngle > 0 && s.ZoneLength > 0;
    if (g.HasSector) g.Sector = SectorOf(s.ZoneAngle, s.ZoneLength);
  }
  for (int i = 1; i <= s.Targets.PointCount && i < static_cast<int>(s.Targets.Points.size()); ++i) {
    const PointRow& p = s.Targets.Points[i];
    g.Receptors.push_back({i, {p[1], p[2]}, p[3], p[4], p[5]});
  }
  return g;
}

EastNorth LocalToEastNorth(ZonePoint p, double windDirection) {
  // Heading of the cloud, clockwise from north: downwind unit vector
  // (sin b, cos b); the left-hand crosswind unit vector is (-cos b, sin b).
  const double b = (windDirection + 180.0) * std::numbers::pi / 180.0;
  const double sb = std::sin(b), cb = std::cos(b);
  return {p.X * sb - p.Y * cb, p.X * cb + p.Y * sb};
}

std::string ZoneTimeText(const ModelState& s) {
  if (s.ReleaseDuration == kSentinel) return "持续释放";
  return "预测时刻 " + FormatGeneral(s.PredictionTime) + " min";
}

bool HasPpm(const ModelState& s) {
  return s.MolecularWeight > 0 && s.PpmFactor > 0 && std::isfinite(s.PpmFactor);
}

std::string SiteText(const ModelState& s) {
  return FormatGeneral(std::fabs(s.Longitude)) + (s.Longitude < 0 ? "W " : "E ") +
         FormatGeneral(std::fabs(s.Latitude)) + (s.Latitude < 0 ? "S" : "N");
}

}  // namespace zelto
