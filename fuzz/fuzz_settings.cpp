// Fuzz target: arbitrary bytes as the settings file, then the whole
// compute-button pass as the batch program runs it (start with a fixed clock,
// first activation reading the file, then "刷新结果").
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "ui/SettingsFile.h"

using namespace zelto;

namespace {

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Real settings files are well under 2 KB; the fuzzer keeps its inputs small
  // (-max_len), while the replay takes the large hostile files whole.
  const std::string path = fuzz::ScratchDir() + "/ZELTO.ini";
  WriteBytes(path, data, size);

  fuzz::WindowRun run(path);
  run.inputHasNonFiniteWord =
      fuzz::HasNonFiniteWord(std::string_view(reinterpret_cast<const char*>(data), size));
  run.w.Form_Load();
  run.w.Form_Activate();
  if (run.w.FirstActivation) fuzz::Fail("first activation left FirstActivation set");
  const bool ok = run.Compute();
  run.CheckOutcome(ok);

  // The file the window would write back reads in again without a failed step
  // (the window as it stands after the computation).
  const std::string again = FormatSettingsFile(run.w);
  const std::string path2 = fuzz::ScratchDir() + "/ZELTO-again.ini";
  WriteBytes(path2, reinterpret_cast<const uint8_t*>(again.data()), again.size());
  fuzz::WindowRun second(path2);
  second.w.Form_Load();
  if (!ReadSettingsFile(second.w, path2)) {
    fuzz::Fail("a settings file the window wrote does not read back", again);
  }
  return 0;
}
