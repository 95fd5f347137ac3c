// The concentration-time curves of the listed points after a computation:
// example 1 (three points of a 30-min release), example 3 (the instantaneous
// ammonia release) with the window's default points ticked, example 1 as a
// 24-hour release and as a continuous one (curves running to their steady
// value and the indoor fill-up). Run by hand:
//   build/bin/curve_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "curve/Indoor.h"
#include "curve/PointCurve.h"
#include "ui/MainWindow.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = fs::path(__FILE__).parent_path().parent_path();

fs::path ScratchDir() {
  const fs::path dir = fs::temp_directory_path() / "zelto_curve_bench";
  fs::create_directories(dir);
  return dir;
}

// Example bytes with record `record` (1-based, one line each up to the
// point list) replaced by `value`.
std::string Variant(const std::string& example, int record, const std::string& value, const std::string& name) {
  std::string bytes;
  ReadFileBytes((kSourceDir / "examples" / example).string(), bytes);
  size_t start = 0;
  for (int i = 1; i < record; ++i) start = bytes.find("\r\n", start) + 2;
  const size_t end = bytes.find("\r\n", start);
  const std::string out = ScratchDir() / name;
  std::string error;
  WriteFileAtomic(out, bytes.substr(0, start) + value + bytes.substr(end), error);
  return out;
}

// The computation once, then the curves of every listed point per iteration.
void Curves(benchmark::State& state, const std::string& settingsPath) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = settingsPath;
  w.ContourPath = (ScratchDir() / "CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  if (!w.RefreshResults()) {
    state.SkipWithError("the computation was refused");
    return;
  }
  size_t points = 0;
  for (auto _ : state) {
    const std::vector<PointCurve> curves = ComputePointCurves(s, kDefaultAirExchangePerHour);
    points = 0;
    for (const PointCurve& c : curves) points += c.tracedT.size();
    benchmark::DoNotOptimize(curves.data());
  }
  state.counters["listed_points"] = s.Targets.PointCount;
  state.counters["curve_points"] = static_cast<double>(points);
}

void RegisterAll() {
  const std::pair<std::string, std::string> cases[] = {
      {"Example1", (kSourceDir / "examples" / "01-chlorine-leak-day.ini").string()},
      {"Example3DefaultPoints", Variant("03-ammonia-instantaneous.ini", 36, "1", "03-points.ini")},
      {"Example1Release24h", Variant("01-chlorine-leak-day.ini", 14, "\"1440\"", "01-24h.ini")},
      {"Example1Continuous", Variant("01-chlorine-leak-day.ini", 14, "\"10000\"", "01-continuous.ini")},
      {"Example2Continuous", Variant("02-chlorine-leak-night-inversion.ini", 14, "\"10000\"", "02-continuous.ini")},
  };
  for (const auto& [name, path] : cases) {
    benchmark::RegisterBenchmark(("Curves/" + name).c_str(), [path](benchmark::State& st) { Curves(st, path); })
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace zelto

int main(int argc, char** argv) {
  zelto::RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
