// The picture of the hazard zone: a north-up map sketch of the last
// computation's zones, drawn to scale with Qt's painter, saved as PNG or SVG.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>

#include "core/ModelState.h"

namespace zelto::desktop {

// Size of saved pictures unless the caller asks for another (pixels).
inline constexpr QSize kZonePictureSize{1600, 1200};

// Draws the zones of the results in s (after a successful computation) into
// area: title line, the thresholds filled from yellow (lowest) to red
// (highest) and outlined, the dashed confidence sector, the hazard distance,
// the receptor points, the source, scale bar, north arrow, wind arrow and
// legend, and under the map one footnote line per applicability note.
// Without a reached threshold: the axes and one line saying so.
void PaintZonePicture(QPainter& painter, const QRectF& area, const ModelState& s);

// Saves the picture; the file is replaced only when complete. False with a
// message naming the file when it cannot be written.
bool SaveZonePng(const ModelState& s, const QString& path, QSize size, std::string& message);
bool SaveZoneSvg(const ModelState& s, const QString& path, QSize size, std::string& message);

}  // namespace zelto::desktop
