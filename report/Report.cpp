#include "report/Report.h"
#include "report/WholeFile.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/Files.h"
#include "core/Gbk.h"
#include "core/TextConv.h"

namespace zelto {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Appends one report line: every line is preceded by CR LF, so the report
// begins with an empty line and has no line break after its last line.
void AddLine(std::string& out, std::string_view line) {
  out += kLineEnd;
  out += line;
}

// General text of a single-precision value.
std::string Gen(float v) { return FormatGeneral(v == 0.0f ? 0.0f : v); }

// General text of a value computed in double precision and shown as single.
std::string GenD(double v) { return Gen(static_cast<float>(v)); }

// Rounded to n decimals with halves to even, then in general form; a negative
// zero left by the rounding prints as "0".
std::string Dec(double v, int decimals) {
  return Gen(static_cast<float>(RoundHalfEven(v, decimals)));
}

std::string Pat(double v, std::string_view pattern) { return FormatPattern(v, pattern); }

// The first / last n characters of a text made of ASCII (pattern output).
std::string Left(const std::string& text, size_t n) { return text.substr(0, std::min(n, text.size())); }
std::string Right(const std::string& text, size_t n) {
  return text.size() <= n ? text : text.substr(text.size() - n);
}
std::string Spaces(size_t n) { return std::string(n, ' '); }

// Safe 1-based list access: an item the list does not hold reads as 0.
template <typename T>
T Item(const std::vector<T>& list, int i) {
  return i >= 0 && static_cast<size_t>(i) < list.size() ? list[static_cast<size_t>(i)] : T{};
}
float Item2(const std::vector<std::vector<float>>& table, int i, int k) {
  if (i < 0 || static_cast<size_t>(i) >= table.size()) return 0.0f;
  return Item(table[static_cast<size_t>(i)], k);
}

const char* CloudTypeText(int type) {
  switch (type) {
    case 1: return "HIGH (Ci Cc, Cs)";
    case 2: return "MIDDLE (Ac, As, Sc, Cu)";
    case 3: return "LOW (St, Ns, Fog)";
    default: return "";
  }
}

// Section (1): site, time and weather.
void AddEnvironment(std::string& out, const ModelState& s, const ReportControls& c) {
  AddLine(out, "（1）环境及气象参数");
  const std::string lon = Gen(std::fabs(s.Longitude)) + (s.Longitude >= 0 ? "E" : "W");
  const std::string lat = Gen(std::fabs(s.Latitude)) + (s.Latitude >= 0 ? "N" : "S");
  AddLine(out, "经度/纬度：" + lon + "/" + lat);
  AddLine(out, "北京时间：" + s.ReleaseDate + " " + s.ReleaseTime);
  AddLine(out, "当地时间：" + s.LocalDateText + " " + s.LocalTimeText);
  AddLine(out, "当地时间与格林威治时差：" + Dec(s.TimeDifference, 2));
  const std::string cover = std::to_string(static_cast<int>(s.CloudCover));
  if (s.DayNightFlag == kDayFlag) {
    AddLine(out, "当前时间在当地为白天");
    AddLine(out, "太阳高度角为:" + Dec(s.SolarElevation, 0) + " (度)");
    AddLine(out, "云盖度[10分制]为:" + cover);
    if (s.CloudCover != 0) {
      AddLine(out, std::string("    主导云类型为 ") + CloudTypeText(s.CloudType));
    }
  } else {
    AddLine(out, "当前时间在当地为夜间");
    AddLine(out, "云盖度[10分制]为:" + cover);
  }
  AddLine(out, "地表类型：" + c.GroundTypeText + " + " + c.GroundMoistureText);
  if (s.MixingHeight == kSentinel) AddLine(out, "无逆温层");
  if (s.MixingHeight <= 500.0f) AddLine(out, "逆温层底高为 " + Gen(s.MixingHeight) + "(m)");
  AddLine(out, "10m高风速(m/s)： " + Gen(s.WindSpeed10m));
  AddLine(out, "环境气温 ( ℃)： " + Gen(s.AirTempC));
  AddLine(out, "环境气压  (Pa)： " + GenD(static_cast<double>(s.AirPressure) * 100.0));
  AddLine(out, "地表粗糙度(cm)： " + Gen(s.DispersionRoughness));
  AddLine(out, "地面高程   (m)： " + Gen(s.GroundElevation));
  AddLine(out, "大气稳定度为： " + s.StabilityText);
  if (s.HorizontalStability >= s.VerticalStability) {
    // A light wind in the most stable class lets the plume wander (meander).
    if (s.WindSpeed10m < 2.0f && s.HorizontalStability == 6.0f) {
      AddLine(out, "    (烟羽弥散(meandering)可能发生)");
    }
    AddLine(out, "大气稳定度等级：" + Pat(s.HorizontalStability, "#0.0"));
  } else {
    AddLine(out, "     (烟羽弥散(meandering)可能发生)");
    AddLine(out, "水平稳定度参数：" + Pat(s.HorizontalStability, "#0.0"));
    AddLine(out, "垂直稳定度参数：" + Pat(s.VerticalStability, "#0.0"));
  }
}

// Duration, rate and total of a timed release (modes 2 and 3).
void AddTimedRelease(std::string& out, const ModelState& s, const ReportControls& c) {
  AddLine(out, "    泄漏时长:" + c.DurationText + c.DurationUnitText);
  AddLine(out, "    泄漏速率:" + GenD(static_cast<double>(s.ReleaseRate) / 1000.0) + " kg/min");
  AddLine(out, "    泄漏总量:" + GenD(static_cast<double>(s.ReleaseMass) / 1000.0) + " kg");
}

// Section (2): the release and the source term.
void AddRelease(std::string& out, const ModelState& s, const ReportControls& c) {
  AddLine(out, "（2）泄漏参数");
  switch (s.ReleaseMode) {
    case release::Instantaneous:
      AddLine(out, "瞬时泄漏方式");
      AddLine(out, "    泄漏量:" + GenD(static_cast<double>(s.ReleaseMass) / 1000.0) + " kg");
      break;
    case release::ShortOrContinuous:
      AddLine(out, "短时或持续泄漏");
      AddTimedRelease(out, s, c);
      break;
    case release::Stack:
      AddLine(out, "浮力气体从烟筒排出");
      AddTimedRelease(out, s, c);
      AddLine(out, "    烟筒高度:" + Gen(s.StackHeight) + "(m)");
      AddLine(out, "    抬升高度:" +
                       GenD(static_cast<double>(s.EffectivePlumeHeight) - s.StackHeight) + "(m)");
      AddLine(out, "    有效烟羽高度:" + GenD(std::floor(s.EffectivePlumeHeight)) +
                       "(m), 达到距离在下风" + GenD(std::floor(s.FinalRiseDistance)) + "(m)");
      break;
    default:
      break;
  }
  AddLine(out, "污染物名称：" + s.ChemicalName);
  if (s.IsLiquid) {
    AddLine(out, "当前环境下，泄漏物质为液体");
    // After the Vossler model VaporDensity holds the vapour-air mixture density
    // above the pool in kg/m3; dividing by 1000 gives the g/cm3 the line states.
    double vaporDensity = s.VaporDensity;
    if (s.VosslerIndex < 1) {
      if (s.InteractionEnergy == 0.0f || s.MolecularDiameter == 0.0f) {
        AddLine(out, "    采用CLEWELL蒸发模型计算液体的蒸发速率。");
      } else {
        AddLine(out, "    采用SHELL蒸发模型计算液体的蒸发速率。");
      }
      AddLine(out, "    当前环境下液体的蒸气压：" + Pat(s.VaporPressure, "0.0000E+00") + "(atm)");
    } else {
      AddLine(out, "    采用Vossler蒸发模型计算液体的蒸发速率。");
      // The Vossler model stores the pool temperature in K.
      AddLine(out, "    计算出的液池温度为：" +
                       Dec(static_cast<double>(s.PoolTemperature) - kKelvinOffset, 1) + "度");
      vaporDensity = static_cast<double>(s.VaporDensity) / 1000.0;
    }
    AddLine(out, "    计算出的物质蒸气密度为：" + Pat(vaporDensity, "0.0000E+00") + "(g/cm3)");
    AddLine(out, "    蒸发速率: " + Gen(s.EvapRate) + " g/min");
    AddLine(out, "    蒸发总时长: " + Gen(s.ReleaseDuration) + " min");
  } else {
    AddLine(out, "当前环境下，泄漏物质为气体");
  }
  AddLine(out, "");
  AddLine(out, "扩散计算的实际源强：" + Gen(s.SourceStrength) + " g/min");
  AddLine(out, "实际源强的排放时长：" + Gen(s.ReleaseDuration) + " min");
}

// Section (3): what was computed.
void AddTargets(std::string& out, const ModelState& s) {
  AddLine(out, "（3）计算参数");
  AddLine(out, "计算平均时间：" + Gen(s.AveragingTime) + " min");
  AddLine(out, "预测时刻：" + Gen(s.PredictionTime) + " min");
  AddLine(out, "预测点离地高度：" + Gen(s.ReceptorHeight) + " m");
  AddLine(out, "计算廓线的阈值(mg/m3)：" + s.Targets.ThresholdText);
  AddLine(out, "计算廓线的阈值个数：" + std::to_string(s.Targets.ThresholdCount));
  if (s.Targets.PointCount > 0) {
    AddLine(out, "需计算一系列点在特定时间的浓度，点数量为：" +
                     std::to_string(s.Targets.PointCount));
  }
}

// One row of the receptor-point table.
std::string PointLine(int n, const PointRow& p) {
  return Spaces(4) + Right(Pat(n, "   0"), 4) + Spaces(4) + Left(Pat(p[1], "0       "), 8) +
         Left(Pat(p[2], "0       "), 8) + Left(Pat(p[3], "0       "), 8) +
         Left(Pat(p[4], "0.00     "), 9) + Left(Pat(p[5], "0.00E+00  "), 9);
}

void AddPoints(std::string& out, const ModelState& s) {
  AddLine(out, "（2）给定系列点浓度");
  const TargetSet& t = s.Targets;
  if (t.PointCount > 0) {
    AddLine(out, "    序号    X(m)    Y(m)    Z(m)    T(min)    C(mg/m3)");
    for (int n = 1; n <= t.PointCount; ++n) {
      const PointRow row = static_cast<size_t>(n) < t.Points.size() ? t.Points[static_cast<size_t>(n)]
                                                                    : PointRow{};
      AddLine(out, PointLine(n, row));
    }
  } else {
    AddLine(out, "    没有给定点");
  }
}

// The isopleth table: one line per threshold, ending at the first threshold
// that is nowhere reached (every higher one is not reached either).
void AddIsoplethTable(std::string& out, const ModelState& s) {
  AddLine(out, "（3）廓线数据");
  AddLine(out, "    各阈值的廓线对应的位置");
  AddLine(out, "    阈值(mg/m3)  X起点(m)  X终点(m) 最大半宽(m)  最大半宽对应X(m)");
  for (int i = 1; i <= s.Targets.ThresholdCount; ++i) {
    std::string line = Spaces(4) + Pat(Item(s.Targets.Thresholds, i), "0.00E+00");
    const int count = Item(s.ContourPointCount, i);
    if (count < 1) {
      AddLine(out, line + Spaces(5) + "此阈值及以上，无对应位置，因计算浓度均小于此阈值");
      break;
    }
    line += Spaces(5) + Left(Pat(Item2(s.ContourX, i, 1), "0       "), 8) + Spaces(2) +
            Left(Pat(Item2(s.ContourX, i, count), "0       "), 8) + Spaces(2) +
            Left(Pat(Item(s.MaxHalfWidth, i), "0       "), 8) + Spaces(6) +
            Left(Pat(Item(s.MaxHalfWidthX, i), "0     "), 8);
    AddLine(out, line);
  }
}

// Hazard distance and zone of the lowest threshold, then the contour data.
void AddHazard(std::string& out, const ModelState& s) {
  AddLine(out, "");
  AddLine(out, "    最小阈值为 " + Pat(Item(s.Targets.Thresholds, 1), "0.00E+00") + "(mg/m3)");
  AddLine(out, "    最小阈值产生的最远距离 " + Pat(s.HazardDistance, "0") + "（m),发生时间为第" +
                   Pat(s.HazardTime, "#0.00") + "(min)");
  if (s.HazardLimitReached) {
    AddLine(out, "    注意：已达到计算范围上限100km，最小阈值的实际危害距离可能更远。");
  }
  AddLine(out, "    最小阈值的90%保证率危害区长度 " + Pat(s.ZoneLength, "0") + "(m), 宽度为" +
                   Pat(s.ZoneAngle, "0") + "(度)");
  AddLine(out, s.ContourText);
}

}  // namespace

std::string BuildReport(const ModelState& s, const std::string& resultSummary,
                        const ReportControls& controls, const std::string& contourFilePath,
                        MessageSink& sink) {
  std::string out;
  out.reserve(8192 + s.ContourText.size());
  AddLine(out, "(一）输入参数");
  AddLine(out, "");
  AddEnvironment(out, s, controls);
  AddLine(out, "");
  AddRelease(out, s, controls);
  AddLine(out, "");
  AddTargets(out, s);
  AddLine(out, "");
  AddLine(out, std::string(72, '-'));
  AddLine(out, "");
  AddLine(out, "(二）输出结果");
  AddLine(out, "");
  AddLine(out, "（1）给定高度" + Gen(s.ReceptorHeight) + " m和时间" + Gen(s.PredictionTime) +
                   " min下的最大浓度");
  AddLine(out, resultSummary);
  AddLine(out, "");
  AddPoints(out, s);
  AddLine(out, "");
  AddIsoplethTable(out, s);

  // The hazard lines and the contour data appear only when the lowest
  // threshold has an isopleth of more than one point.
  if (Item(s.ContourPointCount, 1) > 1) {
    AddHazard(out, s);
    if (Utf16Length(out) > kReportLimit) {
      sink.ShowMessage("计算结果中，廓线数据较多，这里只能显示部分数据。完整数据保存在'" +
                       contourFilePath + "'文件中。");
      out = Utf16Left(out, kReportLimit);
    }
  }
  return out;
}

std::string FirstNonFiniteReportValue(const ModelState& s) {
  const struct {
    const char* name;
    float value;
  } scalars[] = {
      {"Longitude", s.Longitude},
      {"Latitude", s.Latitude},
      {"TimeDifference", s.TimeDifference},
      {"SolarElevation", s.SolarElevation},
      {"MixingHeight", s.MixingHeight},
      {"WindSpeed10m", s.WindSpeed10m},
      {"AirTempC", s.AirTempC},
      {"AirPressure", s.AirPressure},
      {"DispersionRoughness", s.DispersionRoughness},
      {"GroundElevation", s.GroundElevation},
      {"HorizontalStability", s.HorizontalStability},
      {"VerticalStability", s.VerticalStability},
      {"ReleaseRate", s.ReleaseRate},
      {"ReleaseMass", s.ReleaseMass},
      {"StackHeight", s.StackHeight},
      {"EffectivePlumeHeight", s.EffectivePlumeHeight},
      {"FinalRiseDistance", s.FinalRiseDistance},
      {"VaporPressure", s.VaporPressure},
      {"PoolTemperature", s.PoolTemperature},
      {"VaporDensity", s.VaporDensity},
      {"EvapRate", s.EvapRate},
      {"SourceStrength", s.SourceStrength},
      {"ReleaseDuration", s.ReleaseDuration},
      {"AveragingTime", s.AveragingTime},
      {"PredictionTime", s.PredictionTime},
      {"ReceptorHeight", s.ReceptorHeight},
      {"HazardDistance", s.HazardDistance},
      {"HazardTime", s.HazardTime},
      {"ZoneLength", s.ZoneLength},
      {"ZoneAngle", s.ZoneAngle},
  };
  for (const auto& f : scalars) {
    if (!std::isfinite(f.value)) return f.name;
  }
  const TargetSet& t = s.Targets;
  for (int i = 1; i <= t.ThresholdCount; ++i) {
    if (!std::isfinite(Item(t.Thresholds, i))) return "Thresholds";
  }
  for (int n = 1; n <= t.PointCount && static_cast<size_t>(n) < t.Points.size(); ++n) {
    for (int c = 1; c <= 5; ++c) {
      if (!std::isfinite(t.Points[static_cast<size_t>(n)][static_cast<size_t>(c)])) return "Points";
    }
  }
  for (int i = 1; i <= t.ThresholdCount; ++i) {
    const int count = Item(s.ContourPointCount, i);
    if (count < 1) break;
    if (!std::isfinite(Item2(s.ContourX, i, 1)) || !std::isfinite(Item2(s.ContourX, i, count))) {
      return "ContourX";
    }
    if (!std::isfinite(Item(s.MaxHalfWidth, i))) return "MaxHalfWidth";
    if (!std::isfinite(Item(s.MaxHalfWidthX, i))) return "MaxHalfWidthX";
  }
  return "";
}

std::string ReportValueCaption(const std::string& field) {
  // The operator's words for the fields the check above names.
  static const struct {
    const char* field;
    const char* caption;
  } captions[] = {
      {"Longitude", "经度"},
      {"Latitude", "纬度"},
      {"TimeDifference", "当地时间与格林威治时间的时差"},
      {"SolarElevation", "太阳高度角"},
      {"MixingHeight", "混合层高度"},
      {"WindSpeed10m", "10m高风速"},
      {"AirTempC", "环境气温"},
      {"AirPressure", "大气压"},
      {"DispersionRoughness", "地表粗糙度"},
      {"GroundElevation", "地面高程"},
      {"HorizontalStability", "水平稳定度参数"},
      {"VerticalStability", "垂直稳定度参数"},
      {"ReleaseRate", "泄漏速率"},
      {"ReleaseMass", "泄漏量"},
      {"StackHeight", "烟囱高度"},
      {"EffectivePlumeHeight", "有效源高"},
      {"FinalRiseDistance", "烟羽最终抬升距离"},
      {"VaporPressure", "蒸气压"},
      {"PoolTemperature", "液池温度"},
      {"VaporDensity", "蒸气密度"},
      {"EvapRate", "蒸发速率"},
      {"SourceStrength", "源强"},
      {"ReleaseDuration", "泄漏时长"},
      {"AveragingTime", "浓度平均时间"},
      {"PredictionTime", "预测时刻"},
      {"ReceptorHeight", "预测点离地高度"},
      {"HazardDistance", "危害距离"},
      {"HazardTime", "危害时间"},
      {"ZoneLength", "危害区长度"},
      {"ZoneAngle", "危害区张角"},
      {"Thresholds", "阈值"},
      {"Points", "计算点"},
      {"ContourX", "廓线坐标"},
      {"MaxHalfWidth", "廓线最大半宽"},
      {"MaxHalfWidthX", "最大半宽处的下风距离"},
  };
  for (const auto& c : captions) {
    if (field == c.field) return c.caption;
  }
  return field;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return "";
  return GbkToUtf8(bytes);
}

}  // namespace zelto
