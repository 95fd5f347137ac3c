// Fonts of the windows: Chinese must render on every machine, and the columns
// of the report and of the parameter blocks must line up.
#pragma once

#include <QFont>
#include <QRect>

#include "ui/MainLayout.h"

namespace zelto::desktop {

// The application's font: a 9-point (12 pixel) CJK sans-serif, the size the
// window's design in twips was drawn for.
void ApplyApplicationFont();

// Fixed-pitch font in which a Chinese character is two columns wide (report,
// parameter names and values); 12 pixels unless a smaller size is asked for.
QFont FixedPitchFont(int pixelSize = 12);

// A design rectangle in pixels.
QRect ToPixels(const TwipRect& r);
int ToPixels(int twips);

}  // namespace zelto::desktop
