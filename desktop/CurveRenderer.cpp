#include "desktop/CurveRenderer.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "core/TextConv.h"
#include "ui/CurveTab.h"

namespace zelto::desktop {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Num(double v) { return Q(FormatGeneral(static_cast<float>(v))); }

QFont PictureFont(double pixels, bool bold = false) {
  QFont font;
  font.setFamilies({"WenQuanYi Zen Hei", "Microsoft YaHei", "SimSun", "Noto Sans CJK SC"});
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

const QColor kOutdoorColour(190, 20, 20);
const QColor kIndoorColour(20, 70, 200);
const QColor kThresholdColour(230, 120, 0);
const QColor kGridColour(225, 225, 225);

// Maps time (min) and concentration (mg/m3) into the plot rectangle.
struct Plot {
  QRectF r;
  CurveAxes a;

  double X(double t) const { return r.left() + r.width() * t / a.tMax; }
  double Y(double c) const {
    double f;
    if (a.log) {
      f = c <= a.cMin ? 0.0 : (std::log10(c) - std::log10(a.cMin)) / (std::log10(a.cMax) - std::log10(a.cMin));
    } else {
      f = c / a.cMax;
    }
    return r.bottom() - r.height() * std::clamp(f, 0.0, 1.0);
  }
};

// The curve up to the end of the time axis, cut there by interpolation.
QPainterPath CurvePath(const Plot& p, const std::vector<float>& t, const std::vector<float>& c) {
  QPainterPath path;
  for (size_t i = 0; i < t.size() && i < c.size(); ++i) {
    double ti = t[i], ci = c[i];
    const bool past = ti > p.a.tMax;
    if (past && i > 0) {
      ci = c[i - 1] + (ci - c[i - 1]) * (p.a.tMax - t[i - 1]) / (ti - t[i - 1]);
      ti = p.a.tMax;
    }
    const QPointF at(p.X(ti), p.Y(ci));
    if (i == 0) {
      path.moveTo(at);
    } else {
      path.lineTo(at);
    }
    if (past) break;
  }
  return path;
}

const char* EndNote(CurveEnd end) {
  switch (end) {
    case CurveEnd::Faded:
      return "";
    case CurveEnd::Steady:
      return "连续泄漏：室外浓度已达稳定值，此后保持不变。";
    case CurveEnd::TimeLimit:
      return "已达24小时计算上限，浓度仍未降至峰值的1%以下。";
    case CurveEnd::NotReached:
      return "烟团(烟羽)未到达该点，浓度始终为0。";
  }
  return "";
}

}  // namespace

void PaintCurvePicture(QPainter& painter, const QRectF& area, const PointCurve& curve,
                       const std::vector<float>& thresholds, bool logAxis) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(area, Qt::white);
  const double unit = std::min(area.width() / 1600.0, area.height() / 1000.0) * 1.6;  // font scale
  const double text = std::max(9.0, 14.0 * unit);

  // Title.
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(text * 1.3, true));
  const QString title = "浓度-时间曲线：点" + QString::number(curve.point) + " (X=" + Num(curve.x) +
                        " m, Y=" + Num(curve.y) + " m, Z=" + Num(curve.z) + " m)，室内换气次数 " +
                        Num(curve.exchangePerHour) + " 次/小时";
  const QRectF titleBox(area.left() + text, area.top() + text * 0.5, area.width() - 2 * text, text * 2);
  painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, title);

  Plot p;
  p.a = ComputeCurveAxes(curve, thresholds, logAxis);
  p.r = QRectF(area.left() + text * 6.5, area.top() + text * 3.5, area.width() - text * 8.5,
               area.height() - text * 8.5);

  // Grid, ticks and their labels.
  painter.setFont(PictureFont(text));
  const QFontMetricsF fm(painter.font());
  for (double t : p.a.tTicks) {
    painter.setPen(QPen(kGridColour, 1));
    painter.drawLine(QPointF(p.X(t), p.r.top()), QPointF(p.X(t), p.r.bottom()));
    painter.setPen(Qt::black);
    const QString label = Num(t);
    painter.drawText(QPointF(p.X(t) - fm.horizontalAdvance(label) / 2, p.r.bottom() + text * 1.4), label);
  }
  for (double c : p.a.cTicks) {
    painter.setPen(QPen(kGridColour, 1));
    painter.drawLine(QPointF(p.r.left(), p.Y(c)), QPointF(p.r.right(), p.Y(c)));
    painter.setPen(Qt::black);
    const QString label = Num(c);
    painter.drawText(QPointF(p.r.left() - fm.horizontalAdvance(label) - text * 0.4, p.Y(c) + text * 0.35), label);
  }
  painter.setPen(QPen(Qt::black, std::max(1.0, unit)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(p.r);
  painter.drawText(QRectF(p.r.left(), p.r.bottom() + text * 1.8, p.r.width(), text * 1.6), Qt::AlignHCenter,
                   "时间 (min，自泄漏开始)");
  painter.save();
  painter.translate(area.left() + text * 1.2, p.r.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-p.r.height() / 2, -text, p.r.height(), text * 2), Qt::AlignCenter,
                   logAxis ? "浓度 (mg/m3，对数坐标)" : "浓度 (mg/m3)");
  painter.restore();

  // Thresholds.
  // Labels at the right end of their lines; one too close to the label
  // below it goes a label's width further left.
  double lastY = 1e300, lastShift = 0;
  for (float v : p.a.thresholdsShown) {
    QPen pen(kThresholdColour, std::max(1.0, 1.5 * unit), Qt::DashLine);
    painter.setPen(pen);
    painter.drawLine(QPointF(p.r.left(), p.Y(v)), QPointF(p.r.right(), p.Y(v)));
    const QString label = "阈值 " + Num(v) + " mg/m3";
    const double width = fm.horizontalAdvance(label) + text;
    const double shift = std::fabs(lastY - p.Y(v)) < text * 1.2 ? lastShift + width : 0.0;
    painter.drawText(QPointF(p.r.right() - width + text * 0.5 - shift, p.Y(v) - text * 0.3), label);
    lastY = p.Y(v);
    lastShift = shift;
  }

  // The curves.
  painter.setBrush(Qt::NoBrush);
  painter.setClipRect(p.r.adjusted(-2, -2, 2, 2));
  painter.setPen(QPen(kIndoorColour, std::max(1.5, 2.5 * unit)));
  painter.drawPath(CurvePath(p, curve.t, curve.cIn));
  painter.setPen(QPen(kOutdoorColour, std::max(1.5, 2.5 * unit)));
  painter.drawPath(CurvePath(p, curve.t, curve.cOut));
  if (curve.indoorAbove && curve.indoorAboveTime <= p.a.tMax) {
    painter.setPen(QPen(Qt::darkGray, std::max(1.0, unit), Qt::DotLine));
    const double x = p.X(curve.indoorAboveTime);
    painter.drawLine(QPointF(x, p.r.top()), QPointF(x, p.r.bottom()));
    painter.setPen(Qt::black);
    // Below the legend's two lines, which it would cross in a small picture.
    painter.drawText(QPointF(x + text * 0.3, p.r.top() + text * 3.9),
                     "室内浓度高于室外：" + Q(FormatPattern(curve.indoorAboveTime, "#0.0")) + " min，宜离开建筑");
  }
  painter.setClipping(false);

  // Legend.
  // As wide as its longer text, so that the text ends inside the plot frame.
  const double legendText = painter.fontMetrics().horizontalAdvance("室内（门窗关闭）");
  const double lx = p.r.right() - text * 3 - legendText, ly = p.r.top() + text * 0.8;
  painter.setPen(QPen(kOutdoorColour, std::max(1.5, 2.5 * unit)));
  painter.drawLine(QPointF(lx, ly), QPointF(lx + text * 2, ly));
  painter.setPen(QPen(kIndoorColour, std::max(1.5, 2.5 * unit)));
  painter.drawLine(QPointF(lx, ly + text * 1.3), QPointF(lx + text * 2, ly + text * 1.3));
  painter.setPen(Qt::black);
  painter.drawText(QPointF(lx + text * 2.4, ly + text * 0.35), "室外");
  painter.drawText(QPointF(lx + text * 2.4, ly + text * 1.65), "室内（门窗关闭）");

  // Note line: thresholds above the range, how the curve ends.
  QString note;
  for (float v : p.a.thresholdsAbove) note += "阈值 " + Num(v) + " mg/m3 高于图中范围。";
  note += Q(EndNote(curve.end));
  // The inside stays above the lowest threshold it reaches long after the
  // outside has cleared: say when it falls below it if that is off the axis.
  for (const ThresholdTimes& th : curve.indoor.thresholds) {
    if (!th.reached) continue;
    if (!th.ended) {
      note += "曲线结束时室内仍高于阈值 " + Num(th.threshold) + " mg/m3。";
    } else if (th.end > p.a.tMax) {
      note += "室内浓度于 " + Q(FormatPattern(th.end, "#0.0")) + " min 降至阈值 " + Num(th.threshold) +
              " mg/m3 以下（图中时间范围之外）。";
    }
    break;
  }
  if (!note.isEmpty()) {
    painter.drawText(QRectF(p.r.left(), area.bottom() - text * 2.2, p.r.width(), text * 1.6),
                     Qt::AlignLeft | Qt::AlignVCenter, note);
  }
  painter.restore();
}

namespace {

bool Committed(QSaveFile& file, const QString& path, std::string& message) {
  if (file.commit()) return true;
  message = "无法写入图片文件" + path.toStdString() + "。";
  return false;
}

}  // namespace

bool SaveCurvePng(const PointCurve& curve, const std::vector<float>& thresholds, bool logAxis,
                  const QString& path, QSize size, std::string& message) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintCurvePicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), curve, thresholds, logAxis);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG")) {
    file.cancelWriting();
    message = "无法写入图片文件" + path.toStdString() + "。";
    return false;
  }
  return Committed(file, path, message);
}

bool SaveCurveSvg(const PointCurve& curve, const std::vector<float>& thresholds, bool logAxis,
                  const QString& path, QSize size, std::string& message) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    message = "无法写入图片文件" + path.toStdString() + "。";
    return false;
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle("浓度-时间曲线：点" + QString::number(curve.point));
  {
    QPainter painter(&svg);
    PaintCurvePicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), curve, thresholds, logAxis);
  }
  return Committed(file, path, message);
}

}  // namespace zelto::desktop
