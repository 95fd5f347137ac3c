// The contour data file: the isopleth coordinates of every threshold, as
// GBK text with CR LF line ends, for plotting by other tools.
#include <string>

#include "core/Files.h"
#include "core/Gbk.h"
#include "core/TextConv.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"

namespace zelto {

namespace {

const char kCrLf[] = "\r\n";

template <typename T>
T Item(const std::vector<T>& v, size_t i) {
  return i < v.size() ? v[i] : T{};
}

float Item2(const std::vector<std::vector<float>>& v, size_t i, size_t k) {
  return i < v.size() && k < v[i].size() ? v[i][k] : 0.0f;
}

void AddLine(std::string& out, const std::string& line) {
  out += line;
  out += kCrLf;
}

}  // namespace

std::string BuildContourText(const ModelState& s) {
  std::string out;
  for (int j = 1; j <= s.Targets.ThresholdCount; ++j) {
    AddLine(out, " ");
    AddLine(out, " ");
    std::string label = "浓度 (mg/m3) =" + FormatGeneral(Item(s.Targets.Thresholds, j));
    if (s.ReleaseDuration == kSentinel) {
      label += ":  持续释放";
    } else {
      label += ":  预测时刻 (min) =" + FormatGeneral(s.PredictionTime);
    }
    AddLine(out, label);
    const int count = Item(s.ContourPointCount, j);
    if (count > 0) {
      AddLine(out, " ");
      AddLine(out, "距离 (m)   浓度区域半宽     高峰 浓度 (mg/m3)");
      AddLine(out, "             宽 度 (m)");
      for (int k = 1; k <= count; ++k) {
        AddLine(out, FormatPattern(Item2(s.ContourX, j, k), "0.0000E+00") + "   " +
                         FormatPattern(Item2(s.ContourHalfWidth, j, k), "0.0000E+00") + "      " +
                         FormatPattern(Item2(s.ContourAxisConc, j, k), "0.0000E+00"));
      }
    } else {
      AddLine(out, "当前时刻下，计算区域内所有浓度均小于给定的浓度，无分布图坐标");
    }
  }
  return out;
}

std::string DefaultContourPath() { return JoinPath(ExecutableDirectory(), kContourFileName); }

bool WriteContourBytes(const std::string& utf8Text, std::string& path, std::string& error) {
  if (path.empty()) path = DefaultContourPath();
  return WriteFileAtomic(path, Utf8ToGbk(utf8Text), error);
}

bool WriteContourFile(const ModelState& s, std::string& path, std::string& error) {
  return WriteContourBytes(BuildContourText(s), path, error);
}

}  // namespace zelto
