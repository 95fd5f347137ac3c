// Fuzz target: the parameter blocks of the defined substance, parsed with and
// without checks from arbitrary text, formatted and parsed again.
#include <cmath>
#include <cstdint>
#include <string>

#include "chem/ParamBlocks.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "fuzz/FuzzSupport.h"
#include "tests/common/ScenarioBuilder.h"

using namespace zelto;
using zelto::fuzz::Fail;

namespace {

void CheckFinite(const ModelState& s) {
  for (const ChemicalEntry& e : s.Chemicals) {
    if (!std::isfinite(e.TwaPpm) || !std::isfinite(e.TwaMg) || !std::isfinite(e.StelPpm) ||
        !std::isfinite(e.StelMg)) {
      Fail("parameter block stored a non-finite limit");
    }
    for (float v : e.Params) {
      if (!std::isfinite(v)) Fail("parameter block stored a non-finite value");
    }
  }
  for (const VosslerSet& v : s.VosslerSets) {
    for (float x : v.Values) {
      if (!std::isfinite(x)) Fail("Vossler block stored a non-finite value");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  // First byte: slot (bits 0-1: -1, 0, 1, 2), kind (bits 2-3: 0, 1, 2, 0),
  // ticked Vossler box (bit 4). The rest is the block text.
  const uint8_t flags = data[0];
  const int16_t index = static_cast<int16_t>((flags & 3) - 1);
  const uint8_t kind = static_cast<uint8_t>(((flags >> 2) & 3) % 3);
  const bool ticked = (flags & 16) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  for (int pass = 0; pass < 2; ++pass) {
    const bool unchecked = pass == 0;
    // A record with the chemical list and Vossler sets as the window creates them.
    ModelState s = testing_util::StartState();
    MessageRecorder rec;
    std::string message = "stale";
    const bool ok = ParseParamBlock(s, text, index, kind, message, unchecked, ticked, &rec);
    if (!ok && !unchecked && message.empty()) Fail("checked block refused without a message");
    if (ok && kind > 1) Fail("a block of an unknown kind was accepted");
    if (!ok && message == "stale") Fail("message not reset on entry");
    CheckFinite(s);

    // The block formatted from what was stored reads back to the same values.
    const std::string formatted = FormatParamBlock(s, index, kind);
    if (kind <= 1 && formatted.empty()) Fail("FormatParamBlock gave no text");
    if (kind <= 1 && (index == 0 || index == 1)) {
      ModelState t = testing_util::StartState();
      std::string m2;
      if (!ParseParamBlock(t, formatted, index, kind, m2, true, ticked, nullptr)) {
        Fail("formatted block does not parse back", formatted);
      }
      if (FormatParamBlock(t, index, kind) != formatted) {
        Fail("format / parse / format not stable", formatted);
      }
    }

    // Loading the substance never fails for the slots that exist.
    s.ChemicalIndex = index < 0 ? 0 : index;
    if (s.ChemicalIndex <= 1) {
      s.Chemicals[1].VosslerIndex = static_cast<int16_t>(flags >> 5);
      std::string lm;
      if (!LoadChemical(s, lm)) Fail("LoadChemical refused an existing slot", lm);
      if (s.VosslerIndex < 0 || s.VosslerIndex > s.VosslerSetCount) {
        Fail("LoadChemical kept a Vossler index naming no set");
      }
    }
  }
  return 0;
}
