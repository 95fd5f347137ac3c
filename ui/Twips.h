// Rectangles in twips (1/1440 inch), the unit the main window is designed in,
// and the part of the window's layout that follows its size.
#pragma once

namespace zelto {

// 15 twips to the pixel: 96 pixels per inch.
inline constexpr int kTwipsPerPixel = 15;
// Client area of the window as designed.
inline constexpr int kDesignClientWidth = 11820;
inline constexpr int kDesignClientHeight = 8700;

struct TwipRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TwipRect&) const = default;
};

// The rectangles that follow the window's size; the two upper frames and
// everything else keep their design places.
struct ResizableRects {
  TwipRect ComputeFrame;  // Frame1(3), in the client area
  TwipRect CommandBar;    // FrmCmd, in the client area
  TwipRect Text2;         // point list, in Frame1(3)
  TwipRect Text3;         // results, in Frame1(3)
};

}  // namespace zelto
