// Parameter blocks of the user-defined substance: text <-> records.
#pragma once

#include <cstdint>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// Parses a block into slot index of Chemicals (kind 0, general, 13 lines) or
// VosslerSets (kind 1, Vossler, 14 lines). message is set to "" on entry and to
// the refusal or warning text. unchecked skips every check (settings file).
// vosslerTicked: whether the editor's Vossler box is ticked (suppresses the
// vapour-pressure warning). The warning itself is shown through sink at once.
bool ParseParamBlock(ModelState& s, const std::string& text, int16_t index, uint8_t kind,
                     std::string& message, bool unchecked, bool vosslerTicked,
                     MessageSink* sink);

// The block of slot index as text (CR LF between lines, none after the last).
std::string FormatParamBlock(const ModelState& s, int16_t index, uint8_t kind);

// Copies the substance at ChemicalIndex (and its Vossler set) into ModelState.
void LoadChemical(ModelState& s);

}  // namespace zelto
