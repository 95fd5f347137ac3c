// The picture of one concentration-time curve: outdoor and indoor
// concentration against the time in minutes, the thresholds as horizontal
// lines, painted with Qt's painter and saved as PNG or SVG.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>
#include <vector>

#include "curve/PointCurve.h"

namespace zelto::desktop {

// Size of saved pictures unless the caller asks for another (pixels).
inline constexpr QSize kCurvePictureSize{1600, 1000};

// Draws the curve into area: title line, axes with their ticks (linear, or
// logarithmic in whole decades), the outdoor and the indoor curve, every
// threshold within the range as a dashed line, the time at which the inside
// rises above the outside, legend and a note on how the curve ends.
void PaintCurvePicture(QPainter& painter, const QRectF& area, const PointCurve& curve,
                       const std::vector<float>& thresholds, bool logAxis);

// Saves the picture; the file is replaced only when complete. False with a
// message naming the file when it cannot be written.
bool SaveCurvePng(const PointCurve& curve, const std::vector<float>& thresholds, bool logAxis,
                  const QString& path, QSize size, std::string& message);
bool SaveCurveSvg(const PointCurve& curve, const std::vector<float>& thresholds, bool logAxis,
                  const QString& path, QSize size, std::string& message);

}  // namespace zelto::desktop
