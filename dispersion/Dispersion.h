// Concentrations, plane maximum, isopleths, hazard zone and contour data file:
// what the window and the batch program use. The steps of the stages are in
// dispersion/DispersionSteps.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// Name of the contour data file, kept beside the executable by the desktop
// program.
inline constexpr char kContourFileName[] = "CONCXY.DAT";

// Refusal of a threshold list that holds no positive finite number, by the
// input checks and by the dispersion entry alike.
inline constexpr char kThresholdsInvalidMessage[] = "廓线的阈值无效!";

// Measured wind (m/s) at or below which the wind direction is too unsteady
// for a confidence sector: the hazard zone is then a full circle, and the
// sigma-theta inputs are not used for it.
inline constexpr double kLightWindSpeed = 1.8;

// Default work limit of one dispersion stage (see DispersionContext).
inline constexpr long long kDispersionWorkLimit = 300000000;

struct DispersionContext {
  // Full path of the contour data file (empty: DefaultContourPath()).
  std::string contourFilePath;
  // Warnings shown while the computation goes on (unwritable contour file).
  MessageSink* sink = nullptr;
  // Lets the window process its pending events once per search step; empty
  // in tests and in the batch program.
  std::function<void()> processEvents;
  // Work one stage may do, in puffs summed (a full evaluation counts as 20):
  // a few seconds of computing. Wide clouds in light wind with long averaging
  // times, steady states and very small thresholds could otherwise keep the
  // searches busy for hours; a stage that reaches the limit is refused.
  long long workLimit = kDispersionWorkLimit;
  // Threads the isopleths of the thresholds and the listed points may use
  // (the results are the same whatever the number); 0: the environment
  // variable ZELTO_THREADS when set (1 = single-threaded), else every core
  // for stages with enough work to share. The limit above bounds the work of
  // all threads together.
  int threads = 0;
};

// The three dispersion stages of a computation, in the order they run; the
// value is what ModelState::ResultKind records.
enum class DispersionKind : uint8_t {
  Isopleths = 1,      // plane maximum, isopleths, hazard distance and zone, contour file
  ReceptorPoints = 2, // concentrations at the listed points
  PlaneMaximum = 3,   // maximum on the receptor plane and its summary text
};

// The receptor plane and the time a search looks at.
struct ReceptorPlane {
  float height = 0;  // m above ground
  float time = 0;    // min after the start of the release; 10000 = steady state
};

// Runs one stage. Returns false with a message when it refuses; after a
// successful PlaneMaximum stage the message holds the result summary text.
bool RunDispersion(ModelState& s, DispersionKind kind, std::string& message,
                   const DispersionContext& ctx);

// The contour data file beside the executable.
std::string DefaultContourPath();

}  // namespace zelto
