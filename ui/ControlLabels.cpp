#include "ui/ControlLabels.h"

#include "ui/ControlIds.h"

namespace zelto {

namespace {

// Labels in front of the boxes Text1(0..25); two boxes on one row share the
// label of the left one.
const char* const kBoxLabels[box::Count] = {
    "泄漏位置经度和纬度：",       // Longitude
    "泄漏位置经度和纬度：",       // Latitude
    "泄漏发生日期和时间：",       // ReleaseDate
    "泄漏发生日期和时间：",       // ReleaseTime
    "泄漏处地面高程（m)：",       // GroundElevation
    "风向(度,以N=0,E=90)：",      // WindDirection
    "测风高度(m)：",              // WindHeight
    "风向标准差(度)：",           // SigmaTheta
    "环境风速(m/s)：",            // WindSpeed
    "风向标准差时间（min)：",     // SigmaThetaTime
    "环境气温(℃)：",              // AirTemperature
    "云量(按10分云量制)：",       // CloudCover
    "逆温层基底高度（m)：",       // InversionBase
    "泄漏时长：",                 // ReleaseDuration
    "物质分子量和蒸气压(mmHg)：", // MolecularWeight
    "物质分子量和蒸气压(mmHg)：", // VaporPressure
    "物质泄漏速率/泄漏量,及单位：",  // ReleaseAmount (Label1(18) while the window runs)
    "液池的面积(m2)和温度(℃)：",  // PoolArea
    "液池的面积(m2)和温度(℃)：",  // PoolTemperature
    "释放高度/烟筒高度(m)：",     // ReleaseHeight (Label1(21))
    "烟气温度(℃)和流量(m3/s)：",  // StackGasTemperature (Label1(22))
    "烟气温度(℃)和流量(m3/s)：",  // StackFlow (Label1(22))
    "浓度平均时间(min)：",        // AveragingTime
    "预测时刻(min)：",            // PredictionTime
    "预测点离地高度(m)：",        // ReceptorHeight
    "计算廓线的阈值：",           // Thresholds
};

// Labels in front of the lists Combo1(0..8). The lists of units sit behind
// their box and are named by that box's label.
const char* const kListLabels[combo::Count] = {
    "周围环境地表粗糙度：",  // Roughness
    "周围地表类型和干湿：",  // GroundType
    "周围地表类型和干湿：",  // GroundMoisture
    "主导云类型：",          // CloudType
    "泄漏方式：",            // ReleaseMode
    nullptr,                 // DurationUnit: label of box ReleaseDuration
    "污染物名称：",          // Substance
    nullptr,                 // AmountUnit: label of box ReleaseAmount
    nullptr,                 // ThresholdUnit: label of box Thresholds
};

bool IsBox(FocusId id) {
  return id.Kind == ControlKind::Text1 && id.Index >= 0 && id.Index < box::Count;
}

bool IsList(FocusId id) {
  return id.Kind == ControlKind::Combo1 && id.Index >= 0 && id.Index < combo::Count;
}

// The label of box i as the window shows it: the window rewrites three labels
// when the release mode changes.
std::string BoxLabel(const MainWindow& w, int i) {
  switch (i) {
    case box::ReleaseAmount:
      return w.Label1[18].Caption;
    case box::ReleaseHeight:
      return w.Label1[21].Caption;
    case box::StackGasTemperature:
    case box::StackFlow:
      return w.Label1[22].Caption;
    default:
      return kBoxLabels[i];
  }
}

}  // namespace

std::string ControlName(FocusId id) {
  if (IsBox(id)) return "Text1(" + std::to_string(id.Index) + ")";
  if (IsList(id)) return "Combo1(" + std::to_string(id.Index) + ")";
  if (id.Kind == ControlKind::Check1) return "Check1";
  if (id.Kind == ControlKind::Text2) return "Text2";
  return "";
}

std::string ControlLabel(const MainWindow& w, FocusId id) {
  if (IsBox(id)) return BoxLabel(w, id.Index);
  if (IsList(id)) {
    switch (id.Index) {
      case combo::DurationUnit:
        return BoxLabel(w, box::ReleaseDuration);
      case combo::AmountUnit:
        return BoxLabel(w, box::ReleaseAmount);
      case combo::ThresholdUnit:
        return BoxLabel(w, box::Thresholds);
      default:
        return kListLabels[id.Index];
    }
  }
  if (id.Kind == ControlKind::Check1 || id.Kind == ControlKind::Text2) return w.Check1.Caption;
  return "";
}

}  // namespace zelto
