// Concentrations, plane maximum, isopleths, hazard zone and contour data file.
#pragma once

#include <functional>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

struct DispersionContext {
  // Full path of the contour data file ("CONCXY.DAT" beside the executable
  // in the desktop program).
  std::string contourFilePath;
  // Warnings shown while the computation goes on (unwritable contour file).
  MessageSink* sink = nullptr;
  // Lets the window process its pending events once per search step; empty
  // in tests and in the batch program.
  std::function<void()> processEvents;
};

// kind 1 isopleths, 2 receptor points, 3 maximum on the receptor plane.
// Returns false with a message when it refuses; after a successful kind 3 the
// message holds the result summary text.
bool RunDispersion(ModelState& s, int kind, std::string& message, const DispersionContext& ctx);

}  // namespace zelto
