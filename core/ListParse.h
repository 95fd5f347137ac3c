// Parsing of the operator's number lists and receptor point lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ModelState.h"

namespace zelto {

// Reads one line of numbers separated by commas (ASCII or full-width),
// slashes, ideographic full stops or blanks. text is normalised in place.
// Without positiveOnly: returns positions 0..count-1, count unchanged.
// With positiveOnly: count := number of positive values among the first 100
// items; returns positions 0..count with position 0 = 0.
std::vector<float> ParseNumberList(std::string& text, int16_t& count, bool positiveOnly);

// The first count numbers of a list line as ParseNumberList reads them
// without positiveOnly (missing items are 0, extra items ignored), into
// values[0..count-1], leaving the text as it is.
void ReadNumberList(std::string_view text, float* values, int count);

// Reduces every run of blanks to one blank.
void CollapseSpaces(std::string& text);

// Reads one point per CR LF line (X, Y, Z, T, optional C). text is trimmed in
// place. Returns the number of points; an empty text returns 0 and leaves
// points untouched; otherwise points is rebuilt with rows 0..n.
int16_t ParsePointList(std::string& text, std::vector<PointRow>& points);

// Sorts the whole list ascending; orderFlag exactly 1 gives descending.
void SortSingles(std::vector<float>& list, int16_t orderFlag);

}  // namespace zelto
