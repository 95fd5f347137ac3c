// Parameter blocks of the user-defined substance: text <-> records.
#pragma once

#include <cstdint>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// Names of the two slots of the chemical list as a fresh start has them.
inline constexpr char kTemporarySubstanceName[] = "临时物质";
inline constexpr char kUndefinedSubstanceName[] = "未定义化学物质";

// The two parameter blocks of a substance.
namespace block {
enum Kind : uint8_t {
  General = 0,  // 13 lines, into a slot of Chemicals
  Vossler = 1,  // 14 lines, into a slot of VosslerSets
};
}  // namespace block

// Parses a block into slot index of Chemicals (kind block::General, 13 lines)
// or VosslerSets (kind block::Vossler, 14 lines). message is set to "" on entry and to
// the refusal or warning text. unchecked skips every check (settings file).
// vosslerTicked: whether the editor's Vossler box is ticked (suppresses the
// vapour-pressure warning). The warning itself is shown through sink at once.
bool ParseParamBlock(ModelState& s, const std::string& text, int16_t index, uint8_t kind,
                     std::string& message, bool unchecked, bool vosslerTicked,
                     MessageSink* sink);

// With checks on, a refused block stores nothing (the block is parsed into a
// copy that is committed only when accepted). Unchecked, lines are stored in
// place up to the first missing one, and a short block returns false.
// An index naming no existing slot, or a kind naming no block, returns false
// with a short message and stores nothing.

// The block of slot index as text (CR LF between lines, none after the last).
// An index naming no existing slot gives the block of an empty record (zeros);
// a kind naming no block gives the empty text.
std::string FormatParamBlock(const ModelState& s, int16_t index, uint8_t kind);

// Copies the substance at ChemicalIndex (and its Vossler set) into ModelState.
// Returns false with a short message, changing nothing, when ChemicalIndex
// names no existing slot. A VosslerIndex outside 1..VosslerSetCount counts as no set:
// the 38 Vossler fields keep their values, and an index above the stored sets
// is stored as 0 in ModelState.
bool LoadChemical(ModelState& s, std::string& message);

// Editor labels of general lines 1..13 and Vossler lines 1..14 ("" outside).
const char* GeneralLineLabel(int line);
const char* VosslerLineLabel(int line);

}  // namespace zelto
