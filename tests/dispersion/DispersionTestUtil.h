// Shared set-up of the dispersion tests: thresholds and a scratch directory.
// The model records (BaseState, InstantaneousState) come from the common
// scenario builder.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "core/ModelState.h"
#include "core/Platform.h"
#include "tests/common/ScenarioBuilder.h"

namespace zelto::testing_util {

inline void SetThresholds(ModelState& s, std::initializer_list<float> values) {
  s.Targets.ThresholdCount = static_cast<int16_t>(values.size());
  s.Targets.Thresholds.assign(1, 0.0f);
  for (float v : values) s.Targets.Thresholds.push_back(v);
}

// A fresh, empty directory under the system temporary directory.
inline std::string TempDir(const std::string& name) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("zelto-dispersion-" + std::to_string(CurrentProcessId()) + "-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return Utf8FromPath(dir);
}

}  // namespace zelto::testing_util
