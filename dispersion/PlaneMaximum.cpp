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

PlaneMaximumResult SearchPlaneMaximum(ConcentrationEvaluator& ev, ReceptorPlane plane) {
  const ConcentrationField& f = ev.field();
  const float z = plane.height;
  const float t = plane.time;
  PlaneMaximumResult m;
  const float H = f.plumeHeight;
  const float h = f.mixingHeight;
  if ((z > h && H <= h) || (z < h && H > h)) {
    m.message = "模型假设烟羽(烟团)不会穿透逆温层,因此，在此高度上的预测点浓度可忽略，均为0。";
    return m;
  }
  const double u = f.windSpeed10m;
  // The cloud cannot lie farther than 1.2 times the distance the wind has
  // carried it since the release began.
  const float farthest = static_cast<float>(1.2 * u * t * 60.0);
  // After the release the search starts at the tail of the cloud.
  float x = t > f.releaseDuration ? static_cast<float>((static_cast<double>(t) - f.releaseDuration) * u * 60.0)
                                  : 30.0f;
  m.concentration = ev.At(x, 0.0f, z, t);
  m.hasX = true;
  m.x = x;

  bool nearSource = false;
  if (z == H && t <= f.releaseDuration) {
    // Receptor at the release height while it goes on: the maximum is at the source.
    nearSource = true;
  } else {
    // Coarse pass downwind in 100 m steps until the concentration falls.
    bool reached = false;
    for (long step = 0; step < kMaxCoarseSteps; ++step) {
      x = static_cast<float>(x + 100.0);
      const float c = ev.At(x, 0.0f, z, t);
      if (x > farthest) break;
      if (c < m.concentration) {
        reached = true;
        break;
      }
      m.concentration = c;
      m.x = x;
    }
    if (!reached) {
      m.concentration = 0.0f;
      m.message = "当前高度下没有浓度";
      return m;
    }
    // Fine pass in 10 m steps from 100 m beyond to 100 m before the coarse maximum.
    const float lower = static_cast<float>(m.x - 100.0);
    x = static_cast<float>(m.x + 100.0);
    for (int step = 0; step < kMaxFineSteps; ++step) {
      x = static_cast<float>(x - 10.0);
      if (x < 30.0f) {
        nearSource = true;
        break;
      }
      if (x < lower) break;
      const float c = ev.At(x, 0.0f, z, t);
      if (c >= m.concentration) {
        m.concentration = c;
        m.x = x;
      }
    }
  }

  m.found = true;
  if (nearSource) {
    m.message = TimeLine(t) + kCrLf + "离地高为 =" + FormatGeneral(z) + "m 的平面上" + kCrLf +
                "最大浓度产生于离源 30m 的距离内" + kCrLf + "在 30m 处的浓度为" +
                FormatGeneral(m.concentration) + " mg/m3";
  } else {
    m.message = TimeLine(t) + kCrLf + "离地高 =" + FormatGeneral(z) + "m 的平面上" + kCrLf +
                "最大浓度为 " + FormatPattern(m.concentration, "0.0000E+00") + "mg/m3" + kCrLf +
                "产生于下风轴线距离 X =" + FormatGeneral(m.x) + "m 处";
  }
  return m;
}

void StorePlaneMaximum(ModelState& s, const PlaneMaximumResult& m) {
  s.MaxConcentration = m.concentration;
  if (m.hasX) s.MaxConcentrationX = m.x;
}

bool FindPlaneMaximum(ModelState& s, ReceptorPlane plane, std::string& message) {
  ConcentrationEvaluator ev(ConcentrationInputs(s));
  const PlaneMaximumResult m = SearchPlaneMaximum(ev, plane);
  s.ReceptorHeight = plane.height;
  s.PredictionTime = plane.time;
  StorePlaneMaximum(s, m);
  ev.trail().WriteTo(s);
  message = m.message;
  return m.found;
}

}  // namespace zelto
