#include "ui/CurveTab.h"

#include <algorithm>
#include <cmath>

#include "core/TextConv.h"
#include "curve/Indoor.h"

namespace zelto {

namespace {

std::string Conc(float v) { return FormatPattern(v, "0.00E+00"); }
std::string Minutes(float v) { return FormatPattern(v, "#0.00"); }

const PointCurve* Chosen(const CurveTab& tab) {
  if (tab.selected < 0 || tab.selected >= static_cast<int>(tab.curves.size())) return nullptr;
  return &tab.curves[static_cast<size_t>(tab.selected)];
}

void ApplyRate(CurveTab& tab) {
  for (PointCurve& c : tab.curves) ApplyAirExchange(c, tab.thresholds, tab.exchangePerHour);
}

// A step of 1, 2 or 5 times a power of ten, at least span / 6.
double NiceStep(double span) {
  if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
  const double raw = span / 6.0;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0}) {
    if (f * mag >= raw) return f * mag;
  }
  return 10.0 * mag;
}

std::vector<double> Ticks(double to, double step) {
  std::vector<double> out;
  for (int i = 0; i <= 100 && i * step <= to * (1 + 1e-9); ++i) out.push_back(i * step);
  return out;
}

const char* EndText(CurveEnd end) {
  switch (end) {
    case CurveEnd::Faded:
      return "室外浓度已降至峰值的1%以下";
    case CurveEnd::Steady:
      return "连续泄漏：室外已达稳定浓度";
    case CurveEnd::TimeLimit:
      return "达到24小时计算上限";
    case CurveEnd::NotReached:
      return "烟团(烟羽)未到达该点";
  }
  return "";
}

}  // namespace

void UpdateCurveTab(CurveTab& tab, const ModelState& s) {
  tab.computed = true;
  tab.thresholds = CurveThresholds(s);
  tab.curves = ComputePointCurves(s, tab.exchangePerHour);
  if (tab.selected >= static_cast<int>(tab.curves.size())) tab.selected = 0;
}

std::string CurveTabExplanation(const CurveTab& tab) {
  if (!tab.computed) return "按“刷新结果”计算后，这里显示各计算点的浓度-时间曲线。";
  if (tab.curves.empty()) {
    return "没有给定计算点：勾选“计算一系列点在特定时间的浓度C(X,Y,Z,T)”并输入计算点后，这里显示各点的浓度-时间曲线。";
  }
  return "";
}

std::vector<std::string> CurvePointChoices(const CurveTab& tab) {
  std::vector<std::string> out;
  for (const PointCurve& c : tab.curves) {
    out.push_back("点" + std::to_string(c.point) + " (X=" + FormatGeneral(c.x) + ", Y=" + FormatGeneral(c.y) +
                  ", Z=" + FormatGeneral(c.z) + " m)");
  }
  return out;
}

void SelectCurvePoint(CurveTab& tab, int index) {
  if (index >= 0 && index < static_cast<int>(tab.curves.size())) tab.selected = index;
}

std::vector<std::string> BuildingChoices() {
  std::vector<std::string> out;
  for (const BuildingType& b : BuildingTypes()) {
    out.push_back(std::string(b.name) + "（" + FormatGeneral(static_cast<float>(b.exchangePerHour)) + " 次/小时）");
  }
  out.push_back("自定义换气次数");
  return out;
}

void SelectBuilding(CurveTab& tab, int index) {
  const auto& types = BuildingTypes();
  if (index >= 0 && index < static_cast<int>(types.size())) {
    tab.building = index;
    tab.exchangePerHour = types[static_cast<size_t>(index)].exchangePerHour;
    ApplyRate(tab);
  } else {
    tab.building = -1;  // the rate stays until one is typed in
  }
}

bool SetAirExchange(CurveTab& tab, double perHour, std::string& message) {
  if (!std::isfinite(perHour) || perHour < 0.0 || perHour > 100.0) {
    message = "换气次数无效（须在0到100次/小时之间）。";
    return false;
  }
  tab.exchangePerHour = perHour;
  tab.building = -1;
  for (size_t i = 0; i < BuildingTypes().size(); ++i) {
    if (BuildingTypes()[i].exchangePerHour == perHour) tab.building = static_cast<int>(i);
  }
  ApplyRate(tab);
  return true;
}

std::vector<FigureRow> CurveFigureRows(const CurveTab& tab) {
  std::vector<FigureRow> rows;
  const PointCurve* c = Chosen(tab);
  if (c == nullptr) return rows;
  const CurveFigures& o = c->outdoor;
  const CurveFigures& i = c->indoor;
  rows.push_back({"峰值浓度 (mg/m3)", Conc(o.peak), Conc(i.peak)});
  rows.push_back({"峰值时刻 (min)", Minutes(o.peakTime), Minutes(i.peakTime)});
  rows.push_back({"剂量 ∫C dt (mg·min/m3)", Conc(o.dose), Conc(i.dose)});
  rows.push_back({"最大60分钟平均浓度 (mg/m3)", Conc(o.max60), Conc(i.max60)});
  for (size_t k = 0; k < o.thresholds.size() && k < i.thresholds.size(); ++k) {
    const std::string name = "阈值 " + FormatGeneral(o.thresholds[k].threshold) + " mg/m3 ";
    auto arrival = [](const ThresholdTimes& t) { return t.reached ? Minutes(t.arrival) : std::string("未达到"); };
    auto end = [](const ThresholdTimes& t) {
      return !t.reached ? std::string("—") : t.ended ? Minutes(t.end) : std::string("曲线结束时仍超过");
    };
    rows.push_back({name + "到达时刻 (min)", arrival(o.thresholds[k]), arrival(i.thresholds[k])});
    rows.push_back({name + "结束时刻 (min)", end(o.thresholds[k]), end(i.thresholds[k])});
    rows.push_back({name + "超过时长 (min)", Minutes(o.thresholds[k].above), Minutes(i.thresholds[k].above)});
  }
  rows.push_back({"室内浓度高于室外的时刻 (min)", "—",
                  c->indoorAbove ? Minutes(c->indoorAboveTime) : std::string("无")});
  rows.push_back({"换气次数 (次/小时)", "—", FormatGeneral(static_cast<float>(c->exchangePerHour))});
  rows.push_back({"曲线结束", EndText(c->end), Minutes(c->t.empty() ? 0.0f : c->t.back()) + " min"});
  return rows;
}

CurveAxes ComputeCurveAxes(const PointCurve& curve, const std::vector<float>& thresholds, bool log) {
  CurveAxes a;
  a.log = log;
  double end = curve.t.empty() ? 1.0 : curve.t.back();
  if (curve.end == CurveEnd::Faded) {
    end = std::min(end, std::max(3.0 * curve.outdoorEndTime, 1.0));
  }
  const double tStep = NiceStep(std::max(end, 1.0 / 60.0));
  a.tMax = std::ceil(end / tStep - 1e-9) * tStep;
  if (!(a.tMax > 0.0)) a.tMax = tStep;
  a.tTicks = Ticks(a.tMax, tStep);

  double top = 0.0;
  for (size_t i = 0; i < curve.t.size() && curve.t[i] <= a.tMax; ++i) {
    top = std::max({top, static_cast<double>(curve.cOut[i]), static_cast<double>(curve.cIn[i])});
  }
  if (!(top > 0.0)) top = thresholds.empty() ? 1.0 : thresholds.front();
  if (log) {
    a.cMax = std::pow(10.0, std::ceil(std::log10(top)));
    // Down to a hundredth of the top and a tenth of the lowest threshold,
    // but no more than four decades.
    double low = top * 0.01;
    if (!thresholds.empty()) low = std::min(low, thresholds.front() / 10.0);
    low = std::max(low, a.cMax * 1e-4);
    a.cMin = std::pow(10.0, std::floor(std::log10(low)));
    if (!(a.cMin < a.cMax)) a.cMin = a.cMax / 10.0;
    for (double v = a.cMin; v <= a.cMax * 1.000001; v *= 10.0) a.cTicks.push_back(v);
  } else {
    const double step = NiceStep(top);
    a.cMin = 0.0;
    a.cMax = std::ceil(top / step - 1e-9) * step;
    a.cTicks = Ticks(a.cMax, step);
  }
  for (float v : thresholds) {
    if (v <= a.cMax && v >= a.cMin) {
      a.thresholdsShown.push_back(v);
    } else if (v > a.cMax) {
      a.thresholdsAbove.push_back(v);
    }
  }
  return a;
}

}  // namespace zelto
