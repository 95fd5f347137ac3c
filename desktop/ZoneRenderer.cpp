// The hazard-zone picture: north up, metres to scale, painted with QPainter
// onto an image (PNG) or an SVG generator.
#include "desktop/ZoneRenderer.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "core/TextConv.h"
#include "notes/Applicability.h"
#include "zone/ZoneGeometry.h"

namespace zelto::desktop {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Num(float v) { return Q(FormatGeneral(v)); }

QFont PictureFont(double pixels, bool bold = false) {
  QFont font;
  font.setFamilies({"WenQuanYi Zen Hei", "Microsoft YaHei", "SimSun", "Noto Sans CJK SC"});
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

QColor ColourOf(int j, int n) {
  const auto rgb = ThresholdColour(j, n);
  return QColor(rgb[0], rgb[1], rgb[2]);
}

const QColor kHazardColour(150, 0, 0);
const QColor kReceptorColour(20, 70, 200);

// Everything drawn on the map, in metres east and north of the source.
struct Scene {
  const ModelState& s;
  ZoneGeometry g;
  double wind = 0;  // deg, where the wind comes from

  EastNorth At(ZonePoint p) const { return LocalToEastNorth(p, wind); }
  EastNorth Downwind(double x) const { return At({x, 0}); }
};

struct Bounds {
  double minE = std::numeric_limits<double>::max(), maxE = -std::numeric_limits<double>::max();
  double minN = std::numeric_limits<double>::max(), maxN = -std::numeric_limits<double>::max();
  void Add(EastNorth p) {
    minE = std::min(minE, p.East);
    maxE = std::max(maxE, p.East);
    minN = std::min(minN, p.North);
    maxN = std::max(maxN, p.North);
  }
  double Extent() const { return std::max(maxE - minE, maxN - minN); }
};

Bounds OutlineBounds(const Scene& sc) {
  Bounds b;
  b.Add({0, 0});
  for (const ThresholdOutline& o : sc.g.Outlines) {
    for (const ZonePoint& p : o.Ring) b.Add(sc.At(p));
  }
  return b;
}

Bounds AllBounds(const Scene& sc) {
  Bounds b = OutlineBounds(sc);
  if (sc.g.HasSector) {
    for (const ZonePoint& p : sc.g.Sector.Ring) b.Add(sc.At(p));
  }
  if (sc.g.Reached) b.Add(sc.Downwind(sc.g.HazardDistance));
  for (const ReceptorMark& r : sc.g.Receptors) b.Add(sc.At(r.At));
  return b;
}

// Metres east/north onto a rectangle of the picture, north up, one scale.
struct View {
  QRectF box;
  double scale = 1;  // pixels per metre
  double e0 = 0, n0 = 0;
  QPointF At(EastNorth p) const {
    return {box.center().x() + (p.East - e0) * scale, box.center().y() - (p.North - n0) * scale};
  }
};

View Fit(Bounds b, const QRectF& box, double minimumExtent, double margin = 0.08) {
  // At least minimumExtent metres across, so that a tiny zone is not blown up.
  const double grow = std::max(0.0, minimumExtent - (b.maxE - b.minE)) / 2;
  const double growN = std::max(0.0, minimumExtent - (b.maxN - b.minN)) / 2;
  b.minE -= grow, b.maxE += grow, b.minN -= growN, b.maxN += growN;
  View v;
  v.box = box;
  v.scale = std::min(box.width() * (1 - 2 * margin) / (b.maxE - b.minE),
                     box.height() * (1 - 2 * margin) / (b.maxN - b.minN));
  v.e0 = (b.minE + b.maxE) / 2;
  v.n0 = (b.minN + b.maxN) / 2;
  return v;
}

QPolygonF PolygonOf(const Scene& sc, const View& v, const std::vector<ZonePoint>& ring) {
  QPolygonF poly;
  for (const ZonePoint& p : ring) poly << v.At(sc.At(p));
  return poly;
}

// 1, 2 or 5 times a power of ten, at most target metres.
double RoundLength(double target) {
  const double power = std::pow(10.0, std::floor(std::log10(target)));
  for (double m : {5.0, 2.0, 1.0}) {
    if (m * power <= target) return m * power;
  }
  return power;
}

QString LengthText(double metres) {
  if (metres >= 1000) return Num(static_cast<float>(metres / 1000)) + " km";
  return Num(static_cast<float>(metres)) + " m";
}

void DrawAxes(QPainter& p, const Scene& sc, const View& v, double u) {
  // Long enough to cross any view: the whole diagonal of the box in metres.
  const double reach = std::hypot(v.box.width(), v.box.height()) / v.scale + std::hypot(v.e0, v.n0);
  p.setPen(QPen(QColor(140, 140, 140), 1.2 * u, Qt::DashDotLine));
  p.drawLine(v.At(sc.At({-reach, 0})), v.At(sc.At({reach, 0})));
  p.drawLine(v.At(sc.At({0, -reach})), v.At(sc.At({0, reach})));
}

void DrawSector(QPainter& p, const Scene& sc, const View& v, double u) {
  if (!sc.g.HasSector) return;
  p.setBrush(QColor(0, 0, 0, 18));
  QPen pen(Qt::black, 2.2 * u, Qt::DashLine);
  p.setPen(pen);
  p.drawPolygon(PolygonOf(sc, v, sc.g.Sector.Ring));
}

void DrawOutlines(QPainter& p, const Scene& sc, const View& v, double u) {
  for (const ThresholdOutline& o : sc.g.Outlines) {
    const QColor colour = ColourOf(o.Index, sc.g.ThresholdCount);
    const QPolygonF poly = PolygonOf(sc, v, o.Ring);
    if (o.HasArea) {
      QColor fill = colour;
      fill.setAlpha(190);
      p.setBrush(fill);
      p.setPen(QPen(colour.darker(170), 1.5 * u));
      p.drawPolygon(poly);
    } else {
      // Too thin for an area: its line, or its one point.
      p.setPen(QPen(colour.darker(130), 3 * u, Qt::SolidLine, Qt::RoundCap));
      if (poly.size() > 1) p.drawPolyline(poly);
      else p.drawPoint(poly.front());
    }
  }
}

void DrawHazardMark(QPainter& p, const Scene& sc, const View& v, double u, bool label) {
  if (!sc.g.Reached || !(sc.g.HazardDistance > 0)) return;
  const double half = 14 * u / v.scale;  // metres for 14 pixels
  const QPointF a = v.At(sc.At({sc.g.HazardDistance, -half}));
  const QPointF b = v.At(sc.At({sc.g.HazardDistance, half}));
  p.setPen(QPen(kHazardColour, 3 * u, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(a, b);
  if (!label) return;
  // On a white ground, so that it stays readable over the fills.
  const QFont font = PictureFont(15 * u, true);
  const QString text = "最远 " + LengthText(sc.g.HazardDistance);
  const QPointF at = v.At(sc.Downwind(sc.g.HazardDistance)) + QPointF(10 * u, -12 * u);
  QRectF ground = QFontMetricsF(font).boundingRect(text).translated(at).adjusted(-3 * u, -2 * u, 3 * u, 2 * u);
  p.fillRect(ground, QColor(255, 255, 255, 210));
  p.setFont(font);
  p.setPen(kHazardColour);
  p.drawText(at, text);
}

void DrawPoints(QPainter& p, const Scene& sc, const View& v, double u) {
  p.setFont(PictureFont(14 * u));
  for (const ReceptorMark& r : sc.g.Receptors) {
    const QPointF at = v.At(sc.At(r.At));
    p.setPen(QPen(Qt::white, 1.2 * u));
    p.setBrush(kReceptorColour);
    p.drawEllipse(at, 5 * u, 5 * u);
    p.setPen(kReceptorColour);
    p.drawText(at + QPointF(7 * u, -7 * u), QString::number(r.Number));
  }
  const QPointF source = v.At({0, 0});
  p.setPen(QPen(Qt::black, 1.5 * u));
  p.setBrush(QColor(220, 0, 0));
  p.drawEllipse(source, 6 * u, 6 * u);
  p.setFont(PictureFont(15 * u, true));
  p.setPen(Qt::black);
  p.drawText(source + QPointF(9 * u, 18 * u), "泄漏源");
}

void DrawScaleBar(QPainter& p, const View& v, double u, const QPointF& origin, double maxLength) {
  const double metres = RoundLength(maxLength / v.scale);
  const double length = metres * v.scale;
  p.setPen(QPen(Qt::black, 2 * u, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(origin, origin + QPointF(length, 0));
  for (double x : {0.0, length / 2, length}) p.drawLine(origin + QPointF(x, 0), origin + QPointF(x, -7 * u));
  p.setFont(PictureFont(14 * u));
  p.drawText(origin + QPointF(0, -11 * u), "0");
  p.drawText(origin + QPointF(length - 10 * u, -11 * u), LengthText(metres));
}

void DrawArrow(QPainter& p, const QPointF& tail, const QPointF& head, double u) {
  p.drawLine(tail, head);
  const QPointF d = head - tail;
  const double len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  const QPointF unit = d / len, normal(-unit.y(), unit.x());
  QPolygonF tip;
  tip << head << head - unit * 14 * u + normal * 7 * u << head - unit * 14 * u - normal * 7 * u;
  p.setBrush(p.pen().color());
  p.drawPolygon(tip);
}

void DrawNorthArrow(QPainter& p, const QPointF& base, double u) {
  p.setPen(QPen(Qt::black, 2.5 * u));
  DrawArrow(p, base, base - QPointF(0, 50 * u), u);
  p.setFont(PictureFont(20 * u, true));
  p.drawText(QRectF(base.x() - 20 * u, base.y() - 80 * u, 40 * u, 24 * u), Qt::AlignCenter, "N");
}

void DrawWindArrow(QPainter& p, const Scene& sc, const QPointF& centre, double u) {
  // The arrow points where the air goes: toward wind direction + 180 degrees.
  const EastNorth d = sc.Downwind(1.0);
  const QPointF unit(d.East, -d.North);
  p.setPen(QPen(QColor(0, 110, 160), 3 * u));
  DrawArrow(p, centre - unit * 32 * u, centre + unit * 32 * u, u);
  p.setFont(PictureFont(14 * u));
  p.drawText(QRectF(centre.x() - 40 * u, centre.y() + 36 * u, 240 * u, 20 * u), Qt::AlignLeft | Qt::AlignTop,
             "风向 " + Num(sc.s.WindDirection) + "°，风速 " + Num(sc.s.WindSpeed) + " m/s");
}

void DrawFigures(QPainter& p, const Scene& sc, const View& v, double u, bool labels) {
  p.save();
  p.setClipRect(v.box);
  p.fillRect(v.box, Qt::white);
  p.setRenderHint(QPainter::Antialiasing, true);
  DrawAxes(p, sc, v, u);
  DrawSector(p, sc, v, u);
  DrawOutlines(p, sc, v, u);
  DrawHazardMark(p, sc, v, u, labels);
  DrawPoints(p, sc, v, u);
  p.restore();
  p.setPen(QPen(Qt::black, 1.5 * u));
  p.setBrush(Qt::NoBrush);
  p.drawRect(v.box);
}

// An enlarged view of the isopleths when the confidence sector makes them
// too small to read, in the corner the cloud does not travel to.
void DrawInset(QPainter& p, const Scene& sc, const View& main, double u) {
  const Bounds b = OutlineBounds(sc);
  if (sc.g.Outlines.empty() || b.Extent() * main.scale > 0.15 * std::min(main.box.width(), main.box.height())) {
    return;
  }
  const QSizeF size(main.box.width() * 0.42, main.box.height() * 0.42);
  const EastNorth d = sc.Downwind(1.0);
  // Opposite the downwind direction: left when the cloud goes east, and so on.
  const double left = d.East > 0 ? main.box.left() + 10 * u : main.box.right() - 10 * u - size.width();
  const double top = d.North < 0 ? main.box.top() + 10 * u : main.box.bottom() - 10 * u - size.height();
  const View inset = Fit(b, QRectF(QPointF(left, top), size), 50.0, 0.14);
  // Where the enlarged area lies on the main view.
  const QRectF shown(main.At({inset.e0 - size.width() / 2 / inset.scale, inset.n0 + size.height() / 2 / inset.scale}),
                     main.At({inset.e0 + size.width() / 2 / inset.scale, inset.n0 - size.height() / 2 / inset.scale}));
  p.setPen(QPen(Qt::black, 1 * u));
  p.setBrush(Qt::NoBrush);
  p.drawRect(shown);
  DrawFigures(p, sc, inset, u, false);
  DrawScaleBar(p, inset, u, QPointF(inset.box.left() + 12 * u, inset.box.bottom() - 12 * u), size.width() * 0.3);
  p.setFont(PictureFont(14 * u, true));
  p.setPen(Qt::black);
  p.drawText(QRectF(inset.box.left() + 8 * u, inset.box.top() + 4 * u, size.width(), 24 * u),
             Qt::AlignLeft | Qt::AlignTop, "阈值浓度区放大");
}

QString TimeText(const ModelState& s) { return Q(ZoneTimeText(s)); }

void DrawTitle(QPainter& p, const ModelState& s, const QRectF& band, double u) {
  p.setPen(Qt::black);
  p.setFont(PictureFont(26 * u, true));
  p.drawText(band.adjusted(16 * u, 6 * u, -16 * u, 0), Qt::AlignLeft | Qt::AlignTop,
             "危害区：" + Q(s.ChemicalName) + "，" + TimeText(s));
  p.setFont(PictureFont(16 * u));
  p.drawText(band.adjusted(16 * u, 0, -16 * u, -6 * u), Qt::AlignLeft | Qt::AlignBottom,
             "泄漏时间 " + Q(s.ReleaseDate) + " " + Q(s.ReleaseTime) + "（北京时间），泄漏位置 " +
                 Q(SiteText(s)) + "，预测点离地高度 " + Num(s.ReceptorHeight) + " m");
}

// The footnotes under the map: one line per applicability note, with its
// numbers when the line holds them, else the sentence alone, cut at the edge.
void DrawFootnotes(QPainter& p, const std::vector<ApplicabilityNote>& notes, const QRectF& box, double u) {
  p.setPen(QColor(120, 0, 0));
  const QFont font = PictureFont(14 * u);
  p.setFont(font);
  const QFontMetricsF metrics(font);
  const double width = box.width() - 32 * u;
  for (size_t i = 0; i < notes.size(); ++i) {
    const QString mark = "注" + QString::number(i + 1) + "：";
    QString line = mark + Q(NoteLine(notes[i]));
    if (metrics.horizontalAdvance(line) > width) {
      line = metrics.elidedText(mark + Q(notes[i].Text), Qt::ElideRight, width);
    }
    const QRectF row(box.left() + 16 * u, box.top() + i * 20 * u, width, 20 * u);
    p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, line);
  }
}

// One legend entry: a symbol drawn by the caller in the swatch, two lines of text.
double LegendEntry(QPainter& p, double x, double y, double width, double u, const QString& first,
                   const QString& second, const QColor& textColour = Qt::black) {
  p.setPen(textColour);
  p.setFont(PictureFont(15 * u));
  p.drawText(QRectF(x + 44 * u, y, width - 44 * u, 20 * u), Qt::AlignLeft | Qt::AlignVCenter, first);
  if (!second.isEmpty()) {
    p.setFont(PictureFont(13 * u));
    p.drawText(QRectF(x + 44 * u, y + 20 * u, width - 44 * u, 18 * u), Qt::AlignLeft | Qt::AlignVCenter, second);
  }
  return y + 48 * u;
}

void DrawLegend(QPainter& p, const Scene& sc, const View& view, const QRectF& box, double u) {
  const ModelState& s = sc.s;
  const double x = box.left() + 12 * u, width = box.width() - 16 * u;
  DrawNorthArrow(p, QPointF(x + 20 * u, box.top() + 90 * u), u);
  DrawWindArrow(p, sc, QPointF(x + 130 * u, box.top() + 55 * u), u);
  p.setPen(Qt::black);
  p.setFont(PictureFont(14 * u));
  DrawScaleBar(p, view, u, QPointF(x, box.top() + 150 * u), width * 0.8);
  double y = box.top() + 170 * u;
  p.setPen(Qt::black);
  p.setFont(PictureFont(18 * u, true));
  p.drawText(QPointF(x, y + 18 * u), "图例");
  y += 34 * u;
  const bool ppm = HasPpm(s);
  for (int j = 1; j <= sc.g.ThresholdCount; ++j) {
    const float c = j < static_cast<int>(s.Targets.Thresholds.size()) ? s.Targets.Thresholds[j] : 0.0f;
    QString first = "≥ " + Num(c) + " mg/m3";
    if (ppm) first += "（" + Q(ShortNumber(c * static_cast<double>(s.PpmFactor))) + " ppm）";
    const ThresholdOutline* o = nullptr;
    for (const ThresholdOutline& candidate : sc.g.Outlines) {
      if (candidate.Index == j) o = &candidate;
    }
    QColor fill = ColourOf(j, sc.g.ThresholdCount);
    if (o) {
      fill.setAlpha(190);
      p.setBrush(fill);
      p.setPen(QPen(fill.darker(170), 1.5 * u));
      p.drawRect(QRectF(x, y + 2 * u, 34 * u, 30 * u));
      y = LegendEntry(p, x, y, width, u, first,
                      "X终点 " + LengthText(o->FarEnd) + "，最大半宽 " + LengthText(o->MaxHalfWidth));
    } else {
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(160, 160, 160), 1.5 * u));
      p.drawRect(QRectF(x, y + 2 * u, 34 * u, 30 * u));
      y = LegendEntry(p, x, y, width, u, first, "当前时刻未达到", QColor(120, 120, 120));
    }
  }
  if (sc.g.HasSector) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2.2 * u, Qt::DashLine));
    p.drawLine(QPointF(x, y + 17 * u), QPointF(x + 34 * u, y + 17 * u));
    y = LegendEntry(p, x, y, width, u, "90%保证率危害区",
                    "长 " + LengthText(sc.g.Sector.Radius) + "，宽 " + Num(sc.g.Sector.Angle) + "°");
  }
  if (sc.g.Reached && sc.g.HazardDistance > 0) {
    p.setPen(QPen(kHazardColour, 3 * u, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x + 17 * u, y + 4 * u), QPointF(x + 17 * u, y + 30 * u));
    QString when = s.ReleaseDuration == kSentinel ? QString() : "，第 " + Num(sc.g.HazardTime) + " min";
    y = LegendEntry(p, x, y, width, u, "最小阈值最远距离", LengthText(sc.g.HazardDistance) + when);
  }
  if (!sc.g.Receptors.empty()) {
    p.setPen(QPen(Qt::white, 1.2 * u));
    p.setBrush(kReceptorColour);
    p.drawEllipse(QPointF(x + 17 * u, y + 17 * u), 5 * u, 5 * u);
    y = LegendEntry(p, x, y, width, u, "预测点", "X 下风向，Y 横风向（左为正）");
  }
  p.setPen(QPen(Qt::black, 1.5 * u));
  p.setBrush(QColor(220, 0, 0));
  p.drawEllipse(QPointF(x + 17 * u, y + 17 * u), 6 * u, 6 * u);
  y = LegendEntry(p, x, y, width, u, "泄漏源", "");
  p.setPen(QPen(QColor(140, 140, 140), 1.2 * u, Qt::DashDotLine));
  p.drawLine(QPointF(x, y + 10 * u), QPointF(x + 34 * u, y + 10 * u));
  y = LegendEntry(p, x, y, width, u, "下风向和横风向轴线", "图上方为正北");
  // The receptor points' concentrations, as many as the column holds.
  p.setPen(kReceptorColour);
  p.setFont(PictureFont(13 * u));
  const int rows = static_cast<int>((box.bottom() - y) / (19 * u)) - 1;
  const int count = static_cast<int>(sc.g.Receptors.size());
  for (int i = 0; i < count && i < rows; ++i) {
    const ReceptorMark& r = sc.g.Receptors[i];
    const bool last = i == rows - 1 && count > rows;
    const QString line = last ? "其余 " + QString::number(count - i) + " 点见计算结果"
                              : QString::number(r.Number) + "：(" + Num(static_cast<float>(r.At.X)) + ", " +
                                    Num(static_cast<float>(r.At.Y)) + ") m，" + Num(r.T) + " min，" +
                                    Q(FormatPattern(r.Concentration, "0.00E+00")) + " mg/m3";
    p.drawText(QRectF(x, y, width, 19 * u), Qt::AlignLeft | Qt::AlignVCenter, line);
    y += 19 * u;
  }
}

}  // namespace

void PaintZonePicture(QPainter& painter, const QRectF& area, const ModelState& s) {
  Scene sc{s, BuildZoneGeometry(s), s.WindDirection};
  const double u = std::min(area.width() / 1.333, area.height()) / 1000.0;  // one unit of line and text
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(area, Qt::white);

  const QRectF band(area.left(), area.top(), area.width(), 84 * u);
  const std::vector<ApplicabilityNote> notes = EvaluateApplicability(s).Notes;
  const double footHeight = notes.empty() ? 0.0 : (notes.size() * 20 + 8) * u;
  const double legendWidth = std::max(area.width() * 0.26, 200 * u);
  const QRectF mapBox(area.left() + 16 * u, band.bottom() + 6 * u, area.width() - legendWidth - 28 * u,
                      area.height() - band.height() - 22 * u - footHeight);
  const QRectF legendBox(mapBox.right() + 6 * u, mapBox.top(), legendWidth, mapBox.height());
  DrawTitle(painter, s, band, u);

  const bool nothing = sc.g.Outlines.empty() && !sc.g.HasSector;
  const View view = Fit(AllBounds(sc), mapBox, 200.0);
  DrawFigures(painter, sc, view, u, true);
  if (nothing) {
    painter.setPen(QColor(150, 0, 0));
    painter.setFont(PictureFont(22 * u, true));
    painter.drawText(mapBox.adjusted(20 * u, mapBox.height() * 0.6, -20 * u, 0), Qt::AlignHCenter | Qt::AlignTop,
                     kNoHazardZoneText);
  }
  DrawInset(painter, sc, view, u);
  DrawLegend(painter, sc, view, legendBox, u);
  DrawFootnotes(painter, notes, QRectF(area.left(), mapBox.bottom() + 10 * u, area.width(), footHeight), u);
  painter.restore();
}

namespace {

bool Committed(QSaveFile& file, const QString& path, std::string& message) {
  if (file.commit()) return true;
  message = "无法写入图片文件" + path.toStdString() + "。";
  return false;
}

}  // namespace

bool SaveZonePng(const ModelState& s, const QString& path, QSize size, std::string& message) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintZonePicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), s);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG")) {
    file.cancelWriting();
    message = "无法写入图片文件" + path.toStdString() + "。";
    return false;
  }
  return Committed(file, path, message);
}

bool SaveZoneSvg(const ModelState& s, const QString& path, QSize size, std::string& message) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    message = "无法写入图片文件" + path.toStdString() + "。";
    return false;
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle("危害区：" + Q(s.ChemicalName));
  {
    QPainter painter(&svg);
    PaintZonePicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), s);
  }
  return Committed(file, path, message);
}

}  // namespace zelto::desktop
