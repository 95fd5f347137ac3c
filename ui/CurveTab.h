// The page "浓度-时间" of the main window without a toolkit: the curves of
// the last successful computation, the point and building chosen, the axis
// kind, the table of figures and the axes of the picture. The Qt page only
// draws what this model says and forwards the operator's choices to it.
#pragma once

#include <string>
#include <vector>

#include "core/ModelState.h"
#include "curve/PointCurve.h"

namespace zelto {

struct CurveTab {
  bool computed = false;              // a computation has succeeded
  std::vector<PointCurve> curves;     // one per listed point
  std::vector<float> thresholds;      // mg/m3, ascending
  int selected = 0;                   // index into curves
  bool logAxis = false;
  int building = 0;                   // index into BuildingTypes(); -1: a rate typed in
  double exchangePerHour = 0.5;       // per hour
};

// After every successful computation: the curves of all listed points with
// the exchange rate chosen; the chosen point stays when it still exists.
void UpdateCurveTab(CurveTab& tab, const ModelState& s);

// One line of explanation when there is no curve to draw, else empty.
std::string CurveTabExplanation(const CurveTab& tab);

// The entries of the point list: "点1 (X=100, Y=0, Z=1.5 m)".
std::vector<std::string> CurvePointChoices(const CurveTab& tab);
void SelectCurvePoint(CurveTab& tab, int index);

// Building types: their names, then "自定义换气次数" for a rate typed in.
std::vector<std::string> BuildingChoices();
void SelectBuilding(CurveTab& tab, int index);
// A rate typed in (per hour, 0 to 100); false with a message otherwise.
bool SetAirExchange(CurveTab& tab, double perHour, std::string& message);

// The table of figures of the chosen point: what, outdoors, indoors.
struct FigureRow {
  std::string what, outdoor, indoor;
};
std::vector<FigureRow> CurveFigureRows(const CurveTab& tab);

// The axes of the picture of one curve.
struct CurveAxes {
  double tMax = 1;          // min; the time axis runs from 0
  std::vector<double> tTicks;
  bool log = false;
  double cMin = 0, cMax = 1;  // mg/m3 (cMin > 0 on a log axis)
  std::vector<double> cTicks;
  std::vector<float> thresholdsShown;   // within the concentration range
  std::vector<float> thresholdsAbove;   // above it: named, not drawn
};

// Time: from 0 to the end of the curve, but for a curve that faded outdoors
// only to three times the outdoor end (at least 1 min), so that the
// passage of the cloud stays readable while the indoor curve is still seen
// falling. Concentration: linear from 0, or log over whole decades from the
// decade above the top down to a hundredth of the top and a tenth of the
// lowest threshold, four decades at most.
CurveAxes ComputeCurveAxes(const PointCurve& curve, const std::vector<float>& thresholds, bool log);

}  // namespace zelto
