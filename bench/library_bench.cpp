// Start-up cost of the substance library: reading and checking CHEMLIB.DAT
// (copied beside the executables by the build) into the chemical list, and the main window's Form_Load with and without
// the library (the goal: under 50 ms more with it). Run by hand:
//   build/bin/library_bench
#include <benchmark/benchmark.h>

#include <string>

#include "chem/SubstanceLibrary.h"
#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"
#include "ui/SubstanceChoice.h"

namespace zelto {
namespace {

const std::string kLibrary = JoinPath(ExecutableDirectory(), kLibraryFileName);

// The file read, decoded from GBK, parsed and every block checked.
void LoadLibraryFile(benchmark::State& state) {
  size_t substances = 0;
  for (auto _ : state) {
    ModelState s;
    s.Chemicals.resize(2);
    s.ChemicalCount = 1;
    s.VosslerSets.resize(2);
    s.VosslerSetCount = 1;
    SubstanceLibrary lib;
    LibraryLoad load;
    if (!LoadSubstanceLibraryFile(s, kLibrary, lib, load)) state.SkipWithError("no library");
    substances = lib.Substances.size();
    benchmark::DoNotOptimize(s.Chemicals.data());
  }
  state.counters["substances"] = static_cast<double>(substances);
}
BENCHMARK(LoadLibraryFile)->Unit(benchmark::kMillisecond);

// Form_Load of the main window (constants, chemical list, substance list).
void FormLoad(benchmark::State& state, bool withLibrary) {
  for (auto _ : state) {
    ModelState s;
    NullMessageSink sink;
    MainWindow w(s, sink);
    w.SettingsPath = "/nonexistent/ZELTO.ini";
    w.LibraryPath = withLibrary ? kLibrary : std::string();
    w.Form_Load();
    benchmark::DoNotOptimize(w.Combo1[6].Items.data());
  }
}
BENCHMARK_CAPTURE(FormLoad, without_library, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormLoad, with_library, true)->Unit(benchmark::kMillisecond);

// One search as the operator types (every item of the list tested).
void SearchAsTyped(benchmark::State& state) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.LibraryPath = kLibrary;
  w.Form_Load();
  for (auto _ : state) benchmark::DoNotOptimize(MatchingSubstances(w, "氯"));
}
BENCHMARK(SearchAsTyped)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelto

BENCHMARK_MAIN();
