// Small helpers shared by the meteorology routines.
#pragma once

#include "core/TextConv.h"

namespace zelto::met {

// True when v is finite and does not overflow a 32-bit float when stored.
inline bool FitsFloat(double v) { return FitsSingle(v); }

// Rounds v to a 32-bit float into field; refuses (field unchanged) when v is
// not finite or would overflow the float range.
inline bool StoreFloat(float& field, double v) {
  if (!FitsFloat(v)) return false;
  field = static_cast<float>(v);
  return true;
}

}  // namespace zelto::met
