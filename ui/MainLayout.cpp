#include "ui/MainLayout.h"

#include "ui/ControlIds.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

FocusId Box(int i) { return {ControlKind::Text1, i}; }
FocusId List(int i) { return {ControlKind::Combo1, i}; }
FocusId Command(int i) { return {ControlKind::Command1, i}; }
FocusId Bar(int i) { return {ControlKind::Cmd, i}; }
constexpr FocusId kCheck1{ControlKind::Check1, 0};
constexpr FocusId kText2{ControlKind::Text2, 0};
constexpr FocusId kText3{ControlKind::Text3, 0};

// Rows of the two upper frames: first row below the frame's caption, one row
// every 285 twips, boxes and lists 270 high (a 9-point line).
constexpr int kRowTop = 240;
constexpr int kRowPitch = 285;
constexpr int kRowHeight = 270;
int Row(int r) { return kRowTop + r * kRowPitch; }

// Columns of the weather frame: label, first box, second box; the rows with
// two inputs of their own use a second label and box on the right.
constexpr int kWeatherLabel = 120, kWeatherLabelWidth = 2100;
constexpr int kWeatherBox1 = 2250, kWeatherBox2 = 3600, kWeatherBoxWidth = 1260;
constexpr int kWeatherShortBox = 600;
constexpr int kWeatherRightLabel = 2940, kWeatherRightLabelWidth = 1755;
constexpr int kWeatherRightBox = 4740, kWeatherRightBoxWidth = 855;

// Columns of the source frame: label, two boxes, a button on the right.
constexpr int kSourceLabel = 120, kSourceLabelWidth = 2400;
constexpr int kSourceBox1 = 2580, kSourceBox2 = 3600, kSourceBoxWidth = 915;
constexpr int kUnitListWidth = 1005;  // "kg/min", "m3/min" beside the drop-down arrow
constexpr int kSourceButton = 4620, kSourceButtonWidth = 1035;

// Columns and rows of the computation frame.
constexpr int kComputeLabel = 120, kComputeLabelWidth = 1860;
constexpr int kComputeBox = 2040, kComputeBoxWidth = 900;
constexpr int kComputeRowTop = 240, kComputeRowPitch = 300;
int ComputeRow(int r) { return kComputeRowTop + r * kComputeRowPitch; }
constexpr int kLeftColumnWidth = 4080;  // check box and point list
constexpr int kText2Top = 1740;
constexpr int kResultsLeft = 4380, kText3Top = 675;

TwipRect R(int left, int top, int width, int height) { return TwipRect{left, top, width, height}; }

}  // namespace

const std::vector<FramePlace>& MainFrames() {
  static const std::vector<FramePlace> frames = {
      {Container::WeatherFrame, "气象及环境参数", R(120, 60, 5715, 3615)},
      {Container::SourceFrame, "污染源和污染物属性", R(5940, 60, 5775, 3615)},
      {Container::ComputeFrame, "预测计算", R(120, 3840, 11595, 4155)},
      {Container::CommandBar, "", R(2700, 8100, 6000, 495)},
  };
  return frames;
}

const std::vector<ControlPlace>& MainControls() {
  constexpr Container W = Container::WeatherFrame;
  constexpr Container S = Container::SourceFrame;
  constexpr Container P = Container::ComputeFrame;
  constexpr Container B = Container::CommandBar;
  const int h = kRowHeight;
  // A button on a row is a little taller than the boxes beside it.
  auto rowButton = [](int r) { return Row(r) - 15; };
  static const std::vector<ControlPlace> controls = {
      // Weather and surroundings.
      {Box(box::Longitude), W, R(kWeatherBox1, Row(0), kWeatherBoxWidth, h)},
      {Box(box::Latitude), W, R(kWeatherBox2, Row(0), kWeatherBoxWidth, h)},
      {Box(box::ReleaseDate), W, R(kWeatherBox1, Row(1), kWeatherBoxWidth, h)},
      {Box(box::ReleaseTime), W, R(kWeatherBox2, Row(1), kWeatherBoxWidth, h)},
      {Box(box::GroundElevation), W, R(kWeatherBox1, Row(2), kWeatherBoxWidth, h)},
      {List(combo::Roughness), W, R(kWeatherBox1, Row(3), 5595 - kWeatherBox1, h)},
      {List(combo::GroundType), W, R(kWeatherBox1, Row(4), kWeatherBoxWidth, h)},
      {List(combo::GroundMoisture), W, R(kWeatherBox2, Row(4), kWeatherBoxWidth, h)},
      {Box(box::WindDirection), W, R(kWeatherBox1, Row(5), kWeatherShortBox, h)},
      {Box(box::WindHeight), W, R(kWeatherRightBox, Row(5), kWeatherRightBoxWidth, h)},
      {Box(box::SigmaTheta), W, R(kWeatherBox1, Row(6), kWeatherShortBox, h)},
      {Box(box::WindSpeed), W, R(kWeatherRightBox, Row(6), kWeatherRightBoxWidth, h)},
      {Box(box::SigmaThetaTime), W, R(kWeatherBox1, Row(7), kWeatherShortBox, h)},
      {Box(box::AirTemperature), W, R(kWeatherRightBox, Row(7), kWeatherRightBoxWidth, h)},
      {Box(box::CloudCover), W, R(kWeatherBox1, Row(8), kWeatherShortBox, h)},
      {List(combo::CloudType), W, R(4050, Row(8), 5595 - 4050, h)},
      {Box(box::InversionBase), W, R(kWeatherBox1, Row(9), kWeatherBoxWidth, h)},
      // Source and pollutant.
      {List(combo::ReleaseMode), S, R(kSourceBox1, Row(0), 2100, h)},
      {Box(box::ReleaseDuration), S, R(kSourceBox1, Row(1), kSourceBoxWidth, h)},
      {List(combo::DurationUnit), S, R(kSourceBox2, Row(1), kUnitListWidth, h)},
      {List(combo::Substance), S, R(kSourceBox1, Row(2), kSourceBox2 + kSourceBoxWidth - kSourceBox1, h)},
      {Command(command::Properties), S, R(kSourceButton, rowButton(2), kSourceButtonWidth, h + 30)},
      {Box(box::ReleaseAmount), S, R(kSourceBox1, Row(3), kSourceBoxWidth, h)},
      {List(combo::AmountUnit), S, R(kSourceBox2, Row(3), kUnitListWidth, h)},
      {Box(box::MolecularWeight), S, R(kSourceBox1, Row(4), kSourceBoxWidth, h)},
      {Box(box::VaporPressure), S, R(kSourceBox2, Row(4), kSourceBoxWidth, h)},
      {Box(box::PoolArea), S, R(kSourceBox1, Row(5), kSourceBoxWidth, h)},
      {Box(box::PoolTemperature), S, R(kSourceBox2, Row(5), kSourceBoxWidth, h)},
      {Command(command::EstimatePoolArea), S, R(kSourceButton, rowButton(5), kSourceButtonWidth, h + 30)},
      {Box(box::ReleaseHeight), S, R(kSourceBox1, Row(6), kSourceBoxWidth, h)},
      {Box(box::StackGasTemperature), S, R(kSourceBox1, Row(7), kSourceBoxWidth, h)},
      {Box(box::StackFlow), S, R(kSourceBox2, Row(7), kSourceBoxWidth, h)},
      // Computation.
      {Box(box::AveragingTime), P, R(kComputeBox, ComputeRow(0), kComputeBoxWidth, h)},
      {Box(box::PredictionTime), P, R(kComputeBox, ComputeRow(1), kComputeBoxWidth, h)},
      {Box(box::ReceptorHeight), P, R(kComputeBox, ComputeRow(2), kComputeBoxWidth, h)},
      {Box(box::Thresholds), P, R(kComputeBox, ComputeRow(3), 1140, h)},
      {List(combo::ThresholdUnit), P, R(3240, ComputeRow(3), kUnitListWidth, h)},
      {kCheck1, P, R(kComputeLabel, ComputeRow(4) + 30, kLeftColumnWidth, h)},
      {kText2, P, R(kComputeLabel, kText2Top, kLeftColumnWidth, 4155 - kText2Top - 100)},
      {Command(command::Compute), P, R(kResultsLeft, 240, 1455, 375)},
      {kText3, P, R(kResultsLeft, kText3Top, 11595 - kResultsLeft - 150, 4155 - kText3Top - 100)},
      // Command bar.
      {Bar(cmd::Save), B, R(660, 60, 1200, 375)},
      {Bar(cmd::Discard), B, R(2460, 60, 1200, 375)},
      {Bar(cmd::Help), B, R(4200, 60, 1200, 375)},
  };
  return controls;
}

const std::vector<LabelPlace>& MainLabels() {
  constexpr Container W = Container::WeatherFrame;
  constexpr Container S = Container::SourceFrame;
  constexpr Container P = Container::ComputeFrame;
  const int h = kRowHeight;
  auto left = [&](int r) { return R(kWeatherLabel, Row(r), kWeatherLabelWidth, h); };
  auto right = [&](int r) { return R(kWeatherRightLabel, Row(r), kWeatherRightLabelWidth, h); };
  auto source = [&](int r) { return R(kSourceLabel, Row(r), kSourceLabelWidth, h); };
  auto compute = [&](int r) { return R(kComputeLabel, ComputeRow(r), kComputeLabelWidth, h); };
  static const std::vector<LabelPlace> labels = {
      {Box(box::Longitude), -1, W, left(0)},
      {Box(box::ReleaseDate), -1, W, left(1)},
      {Box(box::GroundElevation), -1, W, left(2)},
      {List(combo::Roughness), -1, W, left(3)},
      {List(combo::GroundType), -1, W, left(4)},
      {Box(box::WindDirection), -1, W, left(5)},
      {Box(box::WindHeight), -1, W, right(5)},
      {Box(box::SigmaTheta), -1, W, left(6)},
      {Box(box::WindSpeed), -1, W, right(6)},
      {Box(box::SigmaThetaTime), -1, W, left(7)},
      {Box(box::AirTemperature), -1, W, right(7)},
      {Box(box::CloudCover), -1, W, left(8)},
      {List(combo::CloudType), -1, W, R(kWeatherRightLabel, Row(8), 4050 - kWeatherRightLabel - 30, h)},
      {Box(box::InversionBase), -1, W, left(9)},
      {List(combo::ReleaseMode), -1, S, source(0)},
      {Box(box::ReleaseDuration), -1, S, source(1)},
      {List(combo::Substance), -1, S, source(2)},
      {Box(box::ReleaseAmount), label1::ReleaseAmount, S, source(3)},
      {Box(box::MolecularWeight), -1, S, source(4)},
      {Box(box::PoolArea), -1, S, source(5)},
      {Box(box::ReleaseHeight), label1::ReleaseHeight, S, source(6)},
      {Box(box::StackGasTemperature), label1::StackData, S, source(7)},
      {Box(box::AveragingTime), -1, P, compute(0)},
      {Box(box::PredictionTime), -1, P, compute(1)},
      {Box(box::ReceptorHeight), -1, P, compute(2)},
      {Box(box::Thresholds), -1, P, compute(3)},
  };
  return labels;
}

const std::vector<StatusPlace>& MainStatusLines() {
  static const std::vector<StatusPlace> lines = {
      {label2::DayNight, Container::WeatherFrame, R(120, Row(10), 5475, 3600 - Row(10))},
      {label2::SubstanceState, Container::SourceFrame, R(120, Row(8) + 30, 5535, 3600 - Row(8) - 30)},
  };
  return lines;
}

const std::vector<FocusId>& MainTabOrder() {
  static const std::vector<FocusId> order = [] {
    std::vector<FocusId> o;
    // Weather frame.
    for (int i = box::Longitude; i <= box::GroundElevation; ++i) o.push_back(Box(i));
    for (int i = combo::Roughness; i <= combo::GroundMoisture; ++i) o.push_back(List(i));
    for (int i = box::WindDirection; i <= box::CloudCover; ++i) o.push_back(Box(i));
    o.push_back(List(combo::CloudType));
    o.push_back(Box(box::InversionBase));
    // Source frame.
    o.insert(o.end(), {List(combo::ReleaseMode), Box(box::ReleaseDuration), List(combo::DurationUnit),
                       List(combo::Substance), Command(command::Properties), Box(box::ReleaseAmount),
                       List(combo::AmountUnit), Box(box::MolecularWeight), Box(box::VaporPressure)});
    for (int i = box::PoolArea; i <= box::StackFlow; ++i) o.push_back(Box(i));
    // Computation frame.
    for (int i = box::AveragingTime; i <= box::Thresholds; ++i) o.push_back(Box(i));
    o.insert(o.end(), {List(combo::ThresholdUnit), kCheck1, kText2, Command(command::Compute), kText3});
    // Command bar, and last the pool-area estimate.
    o.insert(o.end(), {Bar(cmd::Save), Bar(cmd::Discard), Bar(cmd::Help), Command(command::EstimatePoolArea)});
    return o;
  }();
  return order;
}

ResizableRects DesignResizableRects() {
  ResizableRects r;
  for (const FramePlace& f : MainFrames()) {
    if (f.Frame == Container::ComputeFrame) r.ComputeFrame = f.Rect;
    if (f.Frame == Container::CommandBar) r.CommandBar = f.Rect;
  }
  for (const ControlPlace& c : MainControls()) {
    if (c.Control == kText2) r.Text2 = c.Rect;
    if (c.Control == kText3) r.Text3 = c.Rect;
  }
  return r;
}

namespace {

// A size the window refuses (below zero) leaves the old one.
void SetSize(int& size, int value) {
  if (value >= 0) size = value;
}

}  // namespace

void FormResize(ResizableRects& r, int clientWidth, int clientHeight) {
  // 1. Command bar at the bottom, centred.
  r.CommandBar.Top = clientHeight - r.CommandBar.Height;
  r.CommandBar.Left = (clientWidth - r.CommandBar.Width) / 2;
  // 2. The computation frame fills the width and the height above the bar.
  SetSize(r.ComputeFrame.Width, clientWidth - 2 * r.ComputeFrame.Left);
  SetSize(r.ComputeFrame.Height, clientHeight - r.ComputeFrame.Top - 50 - r.CommandBar.Height);
  // 3, 4. The point list and the results reach down to the frame's bottom,
  // the results also to its right edge.
  SetSize(r.Text2.Height, r.ComputeFrame.Height - r.Text2.Top - 100);
  SetSize(r.Text3.Height, r.ComputeFrame.Height - r.Text3.Top - 100);
  SetSize(r.Text3.Width, r.ComputeFrame.Width - r.Text3.Left - 150);
}

}  // namespace zelto
