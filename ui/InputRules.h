// Small input rules of the main window, kept apart from the controls so that
// each can be checked on its own (several of them cannot be reached through
// the box checks, which refuse their inputs first).
#pragma once

#include <string>

#include "core/ModelState.h"

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

// Release amount (grams and grams per minute) from the amount box value v:
// mode 1 converts to ReleaseMass, modes 2 and 3 to ReleaseRate; the volume
// unit (m3, m3/min, density LiquidDensity g/cm3) applies only to modes 1 and 2.
// Returns false (fields unchanged) when a result would not be a finite 32-bit value.
bool ConvertReleaseAmount(ModelState& s, double v, bool volumeUnit);

// Pool area estimated from the released amount: a 1 cm deep layer of the
// liquid, m2 = cm3 * 0.0001; the basis is ten minutes of release when the
// release lasts longer than 10 min, else the whole mass. Stored as single.
// Returns false when the estimate is not a finite 32-bit value.
bool EstimatePoolArea(const ModelState& s, float& area);

// Pool area rounded to 2 decimals (halves to even), at least 1 m2.
float SettlePoolArea(float area);

// The whole pool-area rule of a computation: a typed area that is not
// positive is replaced by the estimate; then rounded and floored at 1.
// Returns false when the estimate fails.
bool ResolvePoolArea(const ModelState& s, float typedArea, float& area);

// Averaging time at least 1 min; returns true when it was raised.
bool RaiseAveragingTime(float& averagingTime);

// Refusal text of an averaging time longer than the release (empty when
// accepted): only averaging times above 1 min are compared with the duration.
std::string AveragingTimeRefusal(float averagingTime, float releaseDuration);

// ppm per mg/m3 at the ambient temperature (K) and pressure (mb):
// Mair * Rair * T / (M * p * 1e6), doubled for "NITROGEN TETROXIDE" (a dimer).
// Returns false when the factor would not be a finite 32-bit value.
bool ComputePpmFactor(const ModelState& s, float molecularWeight, float& factor);

}  // namespace zelto
