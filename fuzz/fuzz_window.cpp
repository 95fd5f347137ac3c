// Fuzz target: the main window's boxes filled from structured fuzz data, then
// the compute button. Reaches the meteorology, source and dispersion models
// much sooner than raw settings bytes.
//
// Input layout: fields separated by the byte 0x1F (unit separator):
//   0..25  texts of boxes Text1(0..25) (box 25: the thresholds)
//   26     text of the roughness list Combo1(0)
//   27     list indexes of Combo1(1..8): one byte each, taken modulo the list size
//   28     check box Check1: ticked when the first byte is odd
//   29     receptor points (Text2), "X,Y,Z,T" lines separated by CR LF
//   30, 31 the general and Vossler parameter blocks of the defined substance
//   32     its VosslerIndex (leading number)
// Missing fields keep the window's defaults.
#include <cstdint>
#include <string>
#include <vector>

#include "chem/ParamBlocks.h"
#include "core/TextConv.h"
#include "fuzz/FuzzSupport.h"

using namespace zelto;

namespace {

constexpr char kSeparator = '\x1f';

std::vector<std::string> SplitFields(const uint8_t* data, size_t size) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == kSeparator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::vector<std::string> f = SplitFields(data, size);
  auto has = [&f](size_t i) { return i < f.size(); };

  // No settings file: the window starts from its defaults.
  fuzz::WindowRun run(fuzz::ScratchDir() + "/no-such-dir/ZELTO.ini");
  run.inputHasNonFiniteWord =
      fuzz::HasNonFiniteWord(std::string_view(reinterpret_cast<const char*>(data), size));
  MainWindow& w = run.w;
  ModelState& s = run.s;
  w.Form_Load();

  // The same order as the settings reader: boxes, lists, check box, points,
  // then the substance's blocks parsed without checks.
  w.Busy = true;
  for (int i = 0; i < 26; ++i) {
    if (has(static_cast<size_t>(i))) w.SetText1(i, f[static_cast<size_t>(i)]);
  }
  if (has(26)) w.Combo1[0].Text = f[26];
  if (has(27)) {
    for (int k = 1; k <= 8 && static_cast<size_t>(k - 1) < f[27].size(); ++k) {
      const int n = static_cast<int>(w.Combo1[k].Items.size());
      if (n > 0) w.SetListIndex(k, static_cast<unsigned char>(f[27][k - 1]) % n);
    }
  }
  if (has(28) && !f[28].empty()) w.SetCheck(static_cast<unsigned char>(f[28][0]) & 1);
  if (has(29)) w.Text2.Text = f[29];
  if (has(30)) s.GeneralParamText = f[30];
  if (has(31)) s.VosslerParamText = f[31];
  if (has(32)) {
    const double v = LeadingNumber(f[32]);
    s.Chemicals[1].VosslerIndex = (v >= 1 && v <= s.VosslerSetCount) ? static_cast<int16_t>(v) : 0;
  }
  std::string message;
  ParseParamBlock(s, s.GeneralParamText, 1, 0, message, true, false, nullptr);
  ParseParamBlock(s, s.VosslerParamText, 1, 1, message, true, false, nullptr);
  w.Busy = false;

  // First activation (no file to read) and the compute button.
  w.Form_Activate();
  const bool ok = run.Compute();
  run.CheckOutcome(ok);
  return 0;
}
