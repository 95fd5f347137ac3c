// The whole computation of the compute button (input checks, meteorology,
// source term, the three dispersion stages and the report) on the example
// scenarios and on a night case with 100 thresholds. Run by hand:
//   build/bin/whole_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = fs::path(__FILE__).parent_path().parent_path();

fs::path ScratchDir() {
  const fs::path dir = fs::temp_directory_path() / "zelto_whole_bench";
  fs::create_directories(dir);
  return dir;
}

// Example bytes with the threshold record (26) replaced by 100 values from
// 0.5 mg/m3 up, 6 % apart.
std::string HundredThresholdSettings(const std::string& example) {
  std::string bytes;
  ReadFileBytes((kSourceDir / "examples" / example).string(), bytes);
  std::string list;
  double v = 0.5;
  for (int i = 0; i < 100; ++i, v *= 1.06) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%.3f", i ? "," : "", v);
    list += buf;
  }
  size_t start = 0;
  for (int i = 1; i < 26; ++i) start = bytes.find("\r\n", start) + 2;
  const size_t end = bytes.find("\r\n", start);
  const std::string out = ScratchDir() / ("100-" + example);
  std::string error;
  WriteFileAtomic(out, bytes.substr(0, start) + "\"" + list + "\"" + bytes.substr(end), error);
  return out;
}

// Start and first activation once; then every iteration presses the compute
// button, as an operator pressing it again and again.
void ComputeButton(benchmark::State& state, const std::string& settingsPath) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = settingsPath;
  w.ContourPath = (ScratchDir() / "CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  for (auto _ : state) {
    w.Text3.Text.clear();
    w.Command1_Click(2);
    benchmark::DoNotOptimize(w.Text3.Text.data());
  }
  const double reportBytes = static_cast<double>(w.Text3.Text.size());
  if (reportBytes == 0) state.SkipWithError("the computation was refused");
  state.counters["report_bytes"] = reportBytes;
  state.counters["thresholds"] = s.Targets.ThresholdCount;
}

void RegisterAll() {
  const char* examples[] = {"01-chlorine-leak-day.ini", "02-chlorine-leak-night-inversion.ini",
                            "03-ammonia-instantaneous.ini", "04-sulfur-dioxide-stack.ini",
                            "05-carbon-disulfide-spill.ini", "06-benzene-defined-substance.ini"};
  for (const char* e : examples) {
    const std::string path = (kSourceDir / "examples" / e).string();
    benchmark::RegisterBenchmark((std::string("Whole/") + e).c_str(),
                                 [path](benchmark::State& st) { ComputeButton(st, path); })
        ->Unit(benchmark::kMillisecond);
  }
  for (const char* e : {"01-chlorine-leak-day.ini", "02-chlorine-leak-night-inversion.ini"}) {
    const std::string path = HundredThresholdSettings(e);
    benchmark::RegisterBenchmark((std::string("Whole100Thresholds/") + e).c_str(),
                                 [path](benchmark::State& st) { ComputeButton(st, path); })
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
