// Fuzz target: the substance library file read from arbitrary bytes (GBK).
// Whatever the text, the chemical list and the Vossler sets stay consistent
// with their counts, every accepted substance sits in its own slot with its
// English name, its Vossler set exists, and no value is NaN or infinite.
#include <cmath>
#include <cstdint>
#include <string>

#include "chem/SubstanceLibrary.h"
#include "core/Gbk.h"
#include "core/ModelState.h"
#include "fuzz/FuzzSupport.h"
#include "tests/common/ScenarioBuilder.h"

using namespace zelto;
using zelto::fuzz::Fail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ModelState s = testing_util::StartState();
  SubstanceLibrary lib;
  LibraryLoad load;
  const bool usable = ParseSubstanceLibrary(s, GbkToUtf8(bytes), lib, load);

  if (usable != (load.Accepted > 0)) Fail("library usable without a substance, or the reverse");
  if (static_cast<size_t>(load.Accepted) != lib.Substances.size()) Fail("accepted count differs");
  if (s.Chemicals.size() != static_cast<size_t>(s.ChemicalCount) + 1 ||
      s.VosslerSets.size() != static_cast<size_t>(s.VosslerSetCount) + 1) {
    Fail("a list's count differs from its slots");
  }
  if (s.Chemicals.size() != 2 + lib.Substances.size()) Fail("a refused substance kept a slot");
  for (const LibrarySubstance& sub : lib.Substances) {
    const int k = sub.ChemicalIndex;
    if (k < 2 || k > s.ChemicalCount) Fail("substance outside the library's slots");
    const ChemicalEntry& e = s.Chemicals[static_cast<size_t>(k)];
    if (e.Name != sub.NameEn || e.Name.empty()) Fail("slot name differs from the English name");
    if (e.Params[1] == 0 || e.Params[2] == 0) Fail("substance without molecular weight or boiling point");
    if (sub.HasVossler != (e.VosslerIndex >= 2 && e.VosslerIndex <= s.VosslerSetCount)) {
      Fail("Vossler set missing or not the substance's");
    }
    for (float v : e.Params) {
      if (!std::isfinite(v)) Fail("non-finite general value");
    }
    for (float p : sub.Pac) {
      if (!std::isfinite(p) || p < 0) Fail("bad PAC value");
    }
  }
  for (const VosslerSet& v : s.VosslerSets) {
    for (float x : v.Values) {
      if (!std::isfinite(x)) Fail("non-finite Vossler value");
    }
  }
  return 0;
}
