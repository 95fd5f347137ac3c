#include "desktop/Fonts.h"

#include <QApplication>
#include <QStringList>

namespace zelto::desktop {

namespace {

constexpr int kPixelSize = 12;  // 9 points at 96 pixels per inch

}  // namespace

void ApplyApplicationFont() {
  QFont font = QApplication::font();
  // The first family the machine has wins; Debian's fonts-wqy-zenhei, the
  // fonts of a Chinese Windows, then Noto CJK.
  font.setFamilies({"WenQuanYi Zen Hei", "Microsoft YaHei", "SimSun", "Noto Sans CJK SC"});
  font.setPixelSize(kPixelSize);
  QApplication::setFont(font);
}

QFont FixedPitchFont(int pixelSize) {
  QFont font;
  font.setFamilies({"WenQuanYi Zen Hei Mono", "NSimSun", "Noto Sans Mono CJK SC"});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

int ToPixels(int twips) {
  // Nearest pixel, halves away from zero.
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

QRect ToPixels(const TwipRect& r) {
  return QRect(ToPixels(r.Left), ToPixels(r.Top), ToPixels(r.Width), ToPixels(r.Height));
}

}  // namespace zelto::desktop
