// The whole computation of the compute button (input checks, meteorology,
// source term, the three dispersion stages and the report) on the example
// scenarios and on two cases with 100 thresholds, on one thread and on two;
// and the batch program as a whole process (start-up included). Run by hand:
//   build/bin/whole_bench
// Times are wall-clock; CPU times are those of the whole process (all
// threads), or of the child processes for the batch program. The contour
// data file goes to /dev/shm when it exists, so that the disk's flush of the
// file does not hide the computation.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = ZELTO_SOURCE_DIR;

fs::path ScratchDir() {
  const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  const fs::path dir = base / "zelto_whole_bench";
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
// button, as an operator pressing it again and again. state.range(0): the
// threads of the dispersion stages.
void ComputeButton(benchmark::State& state, const std::string& settingsPath) {
  setenv("ZELTO_THREADS", std::to_string(state.range(0)).c_str(), 1);
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
  unsetenv("ZELTO_THREADS");
}

double ChildCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// The batch program started as a process with args, its output thrown away;
// child_cpu_ms: the CPU time of one run (user and system).
void BatchProcess(benchmark::State& state, const std::vector<std::string>& args) {
  const std::string exe = JoinPath(ExecutableDirectory(), "zelto-batch");
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const double cpuBefore = ChildCpuSeconds();
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("zelto-batch could not be started");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("zelto-batch failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  if (state.iterations() > 0) {
    state.counters["child_cpu_ms"] =
        1000.0 * (ChildCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  }
}

void RegisterAll() {
  const char* examples[] = {"01-chlorine-leak-day.ini", "02-chlorine-leak-night-inversion.ini",
                            "03-ammonia-instantaneous.ini", "04-sulfur-dioxide-stack.ini",
                            "05-carbon-disulfide-spill.ini", "06-benzene-defined-substance.ini"};
  for (const char* e : examples) {
    const std::string path = (kSourceDir / "examples" / e).string();
    benchmark::RegisterBenchmark((std::string("Whole/") + e).c_str(),
                                 [path](benchmark::State& st) { ComputeButton(st, path); })
        ->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (const char* e : {"01-chlorine-leak-day.ini", "02-chlorine-leak-night-inversion.ini"}) {
    const std::string path = HundredThresholdSettings(e);
    benchmark::RegisterBenchmark((std::string("Whole100Thresholds/") + e).c_str(),
                                 [path](benchmark::State& st) { ComputeButton(st, path); })
        ->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
  }
  const std::string out = (ScratchDir() / "batch").string();
  const std::string example1 = (kSourceDir / "examples" / examples[0]).string();
  benchmark::RegisterBenchmark("BatchProcess/help",
                               [](benchmark::State& st) { BatchProcess(st, {"--help"}); })
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BatchProcess/01-chlorine-leak-day.ini", [out, example1](benchmark::State& st) {
    BatchProcess(st, {"--out-dir", out, example1});
  })->UseRealTime()->Unit(benchmark::kMillisecond);
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
