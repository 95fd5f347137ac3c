// Largest concentration along the downwind axis on the receptor plane.
#include <string>

#include "core/TextConv.h"
#include "dispersion/ConcentrationEvaluator.h"
#include "dispersion/Dispersion.h"
#include "dispersion/DispersionSteps.h"

namespace zelto {

namespace {

// Upper bounds of the two passes; the coarse pass ends long before at the
// farthest distance the cloud can have travelled, the fine pass after at most
// 21 positions.
constexpr long kMaxCoarseSteps = 2000000;
constexpr int kMaxFineSteps = 1000;

const char kCrLf[] = "\r\n";

std::string TimeLine(float t) {
  if (t == kSentinel) return "稳定烟羽状态";
  return "在预测时刻为 =" + FormatGeneral(t) + " min";
}

}  // namespace

bool FindPlaneMaximum(ModelState& s, ConcentrationEvaluator& ev, ReceptorPlane plane,
                      std::string& message) {
  const float z = plane.height;
  const float t = plane.time;
  s.ReceptorHeight = z;
  s.PredictionTime = t;
  const float H = s.EffectivePlumeHeight;
  const float h = s.MixingHeight;
  if ((z > h && H <= h) || (z < h && H > h)) {
    message = "模型假设烟羽(烟团)不会穿透逆温层,因此，在此高度上的预测点浓度可忽略，均为0。";
    s.MaxConcentration = 0.0f;
    return false;
  }
  s.Targets.ReceptorY = 0.0f;
  const double u = s.WindSpeed10m;
  // The cloud cannot lie farther than 1.2 times the distance the wind has
  // carried it since the release began.
  const float farthest = static_cast<float>(1.2 * u * t * 60.0);
  // After the release the search starts at the tail of the cloud.
  float x = t > s.ReleaseDuration ? static_cast<float>((static_cast<double>(t) - s.ReleaseDuration) * u * 60.0)
                                  : 30.0f;
  s.MaxConcentration = ev.At(s, x, 0.0f);

  bool nearSource = false;
  if (z == H && t <= s.ReleaseDuration) {
    // Receptor at the release height while it goes on: the maximum is at the source.
    s.MaxConcentrationX = x;
    nearSource = true;
  } else {
    // Coarse pass downwind in 100 m steps until the concentration falls.
    s.MaxConcentrationX = x;
    bool reached = false;
    for (long step = 0; step < kMaxCoarseSteps; ++step) {
      x = static_cast<float>(x + 100.0);
      const float c = ev.At(s, x, 0.0f);
      if (x > farthest) break;
      if (c < s.MaxConcentration) {
        reached = true;
        break;
      }
      s.MaxConcentration = c;
      s.MaxConcentrationX = x;
    }
    if (!reached) {
      s.MaxConcentration = 0.0f;
      message = "当前高度下没有浓度";
      return false;
    }
    // Fine pass in 10 m steps from 100 m beyond to 100 m before the coarse maximum.
    const float lower = static_cast<float>(s.MaxConcentrationX - 100.0);
    x = static_cast<float>(s.MaxConcentrationX + 100.0);
    for (int step = 0; step < kMaxFineSteps; ++step) {
      x = static_cast<float>(x - 10.0);
      if (x < 30.0f) {
        nearSource = true;
        break;
      }
      if (x < lower) break;
      const float c = ev.At(s, x, 0.0f);
      if (c >= s.MaxConcentration) {
        s.MaxConcentration = c;
        s.MaxConcentrationX = x;
      }
    }
  }

  if (nearSource) {
    message = TimeLine(t) + kCrLf + "离地高为 =" + FormatGeneral(z) + "m 的平面上" + kCrLf +
              "最大浓度产生于离源 30m 的距离内" + kCrLf + "在 30m 处的浓度为" +
              FormatGeneral(s.MaxConcentration) + " mg/m3";
  } else {
    message = TimeLine(t) + kCrLf + "离地高 =" + FormatGeneral(z) + "m 的平面上" + kCrLf +
              "最大浓度为 " + FormatPattern(s.MaxConcentration, "0.0000E+00") + "mg/m3" + kCrLf +
              "产生于下风轴线距离 X =" + FormatGeneral(s.MaxConcentrationX) + "m 处";
  }
  return true;
}

bool FindPlaneMaximum(ModelState& s, ReceptorPlane plane, std::string& message) {
  ConcentrationEvaluator ev(true);
  return FindPlaneMaximum(s, ev, plane, message);
}

}  // namespace zelto
