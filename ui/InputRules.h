// Small input rules of the main window, kept apart from the controls so that
// each can be checked on its own (several of them cannot be reached through
// the box checks, which refuse their inputs first). The conversions into the
// model's units live beside the physics: met/Meteorology.h (pressure,
// temperatures, ppm factor) and source/SourceTerm.h (amount, pool area).
#pragma once

#include <string>

namespace zelto {

// Leading number of a text as a 32-bit value; a value beyond the 32-bit range
// counts as 0.
float BoxSingle(const std::string& text);

// General text of a 32-bit value, with -0 written as "0".
std::string TextOfSingle(double v);

// Wind direction in whole degrees 0..359: rounded half to even, reduced by 360
// with the sign kept, negatives moved up by 360.
float ReduceWindDirection(double v);

// Roughness text confined by its value (cm): below 0.5 becomes "0.5 cm", above
// 100 becomes "100 cm"; otherwise the trimmed text. Returns true when changed
// beyond trimming.
bool ConfineRoughnessText(std::string& text);

// Averaging time at least 1 min; returns true when it was raised.
bool RaiseAveragingTime(float& averagingTime);

// Refusal text of an averaging time longer than the release (empty when
// accepted): only averaging times above 1 min are compared with the duration.
std::string AveragingTimeRefusal(float averagingTime, float releaseDuration);

}  // namespace zelto
