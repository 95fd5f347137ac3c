// Source strength and size: the entered release rate for a gas, the pool
// evaporation rate for a liquid, and the time the pool takes to evaporate.
#include <cmath>

#include "source/Evaporation.h"
#include "source/SourceChecks.h"
#include "source/SourceTerm.h"

namespace zelto {

using source_detail::Refuse;
using source_detail::StoreSingle;

namespace {

constexpr const char* kStage = "源强计算";

bool LiquidSourceStrength(ModelState& s, std::string& message) {
  s.EvapRate = s.ReleaseRate;  // provisional; the model overwrites it
  // Side of a square pool (m).
  if (!StoreSingle(s.SourceSize, std::sqrt(static_cast<double>(s.PoolArea)), kStage, "液池边长",
                   message))
    return false;
  bool ok = false;
  if (s.VosslerIndex >= 1) {
    ok = EvaporateVossler(s, message);
  } else if (s.InteractionEnergy == 0 || s.MolecularDiameter == 0) {
    ok = EvaporateClewell(s, message);
  } else {
    ok = EvaporateShell(s, message);
  }
  if (!ok) return false;
  // A fed pool cannot evaporate faster than it is fed.
  if (s.ReleaseMode == release::ShortOrContinuous && s.EvapRate > s.ReleaseRate) {
    s.EvapRate = s.ReleaseRate;
  }
  s.SourceStrength = s.EvapRate;
  if (!(s.EvapRate > 0))
    return Refuse(message, kStage, "液池蒸发速率不是正值，无法计算蒸发持续时间。");
  // Time to evaporate the whole mass (min); 10000 stands for a continuous release.
  const double duration = static_cast<double>(s.ReleaseMass) / s.EvapRate;
  if (!std::isfinite(duration) || static_cast<float>(duration) > kSentinel) {
    s.ReleaseDuration = kSentinel;
  } else {
    s.ReleaseDuration = static_cast<float>(duration);
  }
  return true;
}

bool GasSourceStrength(ModelState& s, std::string& message) {
  if (s.ReleaseMode == release::ShortOrContinuous) {
    s.SourceSize = 1;
  } else if (s.ReleaseMode == release::Instantaneous) {
    if (!(s.VaporDensity > 0))
      return Refuse(message, kStage, "瞬时气体释放：蒸气密度不是正值，无法计算初始烟团尺寸。");
    // Volume of the released vapour (m3).
    const double v = s.ReleaseMass / (std::pow(10.0, 6) * s.VaporDensity);
    if (v < 0) return Refuse(message, kStage, "瞬时气体释放：释放量为负值，无法计算初始烟团尺寸。");
    // Diameter of a cylinder whose height equals its radius and whose volume is V.
    if (!StoreSingle(s.SourceSize, 2 * std::pow(v / s.Pi, 1.0 / 3.0), kStage, "初始烟团尺寸",
                     message))
      return false;
  }
  // Mode 3: the size set by the plume-rise computation stands.
  s.EvapRate = s.ReleaseRate;
  s.SourceStrength = s.ReleaseRate;
  return true;
}

}  // namespace

bool ComputeSourceStrength(ModelState& s, std::string& message) {
  if (s.IsLiquid) return LiquidSourceStrength(s, message);
  return GasSourceStrength(s, message);
}

}  // namespace zelto
