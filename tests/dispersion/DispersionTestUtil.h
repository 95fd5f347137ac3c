// Shared set-up of the dispersion tests: a model record filled directly, as
// the meteorology and source stages would leave it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/ModelState.h"

namespace zelto::testing_util {

// Neutral (D) stability, 3 m/s, 10 min averaging time, 3 cm roughness, no
// sigma-theta, no lid, continuous 1000 g/min ground release of size 1 m,
// receptor at 2 m in steady state.
inline ModelState BaseState() {
  ModelState s;
  InitConstants(s);
  s.HorizontalStability = 3.5f;
  s.VerticalStability = 3.5f;
  s.AveragingTime = 10.0f;
  s.SigmaThetaFlag = 1;
  s.DispersionRoughness = 3.0f;
  s.Roughness = 3.0f;
  s.SourceSize = 1.0f;
  s.SourceStrength = 1000.0f;
  s.EffectivePlumeHeight = 2.0f;
  s.MixingHeight = 10000.0f;
  s.WindSpeed10m = 3.0f;
  s.WindSpeed = 3.0f;
  s.ReleaseDuration = 10000.0f;
  s.PredictionTime = 10000.0f;
  s.ReceptorHeight = 2.0f;
  return s;
}

// An instantaneous release of 10 kg (0.25 min at 40000 g/min) as a 1.366 m puff.
inline ModelState InstantaneousState() {
  ModelState s = BaseState();
  s.ReleaseDuration = 0.25f;
  s.SourceStrength = 40000.0f;
  s.SourceSize = 1.366f;
  s.PredictionTime = 5.0f;
  return s;
}

inline void SetThresholds(ModelState& s, std::initializer_list<float> values) {
  s.Targets.ThresholdCount = static_cast<int16_t>(values.size());
  s.Targets.Thresholds.assign(1, 0.0f);
  for (float v : values) s.Targets.Thresholds.push_back(v);
}

// A fresh, empty directory under the system temporary directory.
inline std::string TempDir(const std::string& name) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("zelto-dispersion-" + std::to_string(getpid()) + "-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

}  // namespace zelto::testing_util
