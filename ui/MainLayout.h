// Where the main window's controls sit, in which order the Tab key visits
// them, and how the window rearranges itself when its size changes.
//
// Positions and sizes are in twips (1/1440 inch), the window's design unit;
// the desktop layer turns them into pixels at kTwipsPerPixel. Nothing here
// depends on a toolkit.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/ControlIds.h"
#include "ui/Twips.h"

namespace zelto {

// Caption of the main window; message boxes carry the same title.
inline constexpr const char* kMainWindowTitle = "ZELTO 有毒化学品泄漏扩散预测";

// The smallest client area the window can be given (twips): the design width,
// which the two upper frames fill, and a height at which the computation
// frame still holds all its controls, a point list of four lines and a
// results area of ten, with the command bar below it.
inline constexpr int kMinClientWidth = kDesignClientWidth;
inline constexpr int kMinClientHeight = 7800;

// What holds a control: the window itself, one of the group frames Frame1(1)
// to Frame1(3) (the value is the frame's index), or the borderless command
// bar FrmCmd. Positions inside a frame or the bar are relative to it.
enum class Container : uint8_t {
  Form = 0,
  SourceFrame = 1,   // Frame1(1) "污染源和污染物属性"
  WeatherFrame = 2,  // Frame1(2) "气象及环境参数"
  ComputeFrame = 3,  // Frame1(3) "预测计算"
  CommandBar = 4     // FrmCmd
};

struct FramePlace {
  Container Frame;
  const char* Caption;  // empty for the command bar
  TwipRect Rect;        // in the client area
};

// An input box, list, check box or button.
struct ControlPlace {
  FocusId Control;
  Container In;
  TwipRect Rect;
};

// The caption in front of a control: the text is that control's label
// (ControlLabel). Label1Index names the label of the window model whose
// caption and visibility change with the release mode; -1 for fixed labels.
struct LabelPlace {
  FocusId For;
  int Label1Index;
  Container In;
  TwipRect Rect;
};

// The two status lines Label2(1) (day or night) and Label2(2) (substance).
struct StatusPlace {
  int Label2Index;
  Container In;
  TwipRect Rect;
};

const std::vector<FramePlace>& MainFrames();
const std::vector<ControlPlace>& MainControls();
const std::vector<LabelPlace>& MainLabels();
const std::vector<StatusPlace>& MainStatusLines();
// Every control that can hold the focus, in the order of the Tab key.
const std::vector<FocusId>& MainTabOrder();

ResizableRects DesignResizableRects();

// Form_Resize for a client area of the given size (twips). Each assignment is
// its own step; a size below zero is refused by the window, so that step is
// skipped (the rectangle keeps its previous value) and the next one still
// runs. Positions may be negative.
void FormResize(ResizableRects& rects, int clientWidth, int clientHeight);

}  // namespace zelto
