// The three dispersion stages (isopleths, listed points, plane maximum) on the
// main window's default inputs and on heavier variants of them. Each case is
// set up once by the meteorology and source stages; every iteration then runs
// the stages on a fresh copy of the model record. Run by hand:
//   build/bin/dispersion_bench
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/ModelState.h"
#include "dispersion/Dispersion.h"
#include "met/Meteorology.h"
#include "source/SourceTerm.h"

namespace zelto {
namespace {

// The window's inputs as it starts (release date fixed), with the release
// mode "短时或持续泄漏" for 10 min and a 10 min averaging time, filled into
// the model record the way the input preparation fills it.
ModelState DefaultInputs() {
  ModelState s;
  InitConstants(s);
  s.Longitude = 120.1f;
  s.Latitude = 30.2f;
  s.ReleaseDate = "2017/01/12";
  s.ReleaseTime = "12:30:30";
  s.LocalDateText = s.ReleaseDate;  // (120.1 - 116.2) / 15 rounds to no shift
  s.LocalTimeText = s.ReleaseTime;
  s.TimeDifference = 8.01f;
  s.GroundElevation = 100.0f;
  s.WindDirection = 0.0f;
  s.WindHeight = 10.0f;
  s.SigmaThetaFlag = sigma_theta::NotGiven;
  s.SigmaTheta = 0.0f;
  s.SigmaThetaTime = 15.0f;
  s.WindSpeed = 3.0f;
  s.AirTempC = 20.0f;
  s.AirTempK = static_cast<float>(20.0 + 273.16);
  s.CloudCover = 0;
  s.InversionBase = 10000.0f;
  s.MixingHeight = 10000.0f;
  s.Roughness = 0.5f;  // first roughness item
  s.DispersionRoughness = 0.5f;
  s.GroundType = 1;
  s.GroundMoisture = 1;
  s.CloudType = 1;
  ComputeSurfaceFactors(s);
  s.AirPressure = static_cast<float>(1013.25 - 100.0 * 0.1148);
  s.ChemicalIndex = 0;
  s.ChemicalName = "临时物质";
  s.ReleaseMode = 2;
  s.ReleaseDuration = 10.0f;
  s.ReleaseRate = 10000.0f;  // 10 kg/min
  s.ReleaseMass = static_cast<float>(10000.0 * 10.0);
  s.MolecularWeight = 32.0f;
  s.PpmFactor = static_cast<float>(static_cast<double>(s.AirMolWeight) * s.AirGasConstant * s.AirTempK /
                                   (32.0 * s.AirPressure * 1000000.0));
  s.VaporPressA = 0.0f;
  s.IsLiquid = false;
  s.PoolArea = 10.0f;
  s.PoolTemperature = 20.0f;
  s.EffectivePlumeHeight = 2.0f;
  s.StackHeight = 2.0f;
  s.StackGasTemperature = static_cast<float>(100.0 + 273.15);
  s.StackFlowRate = 10.0f;
  s.AveragingTime = 10.0f;
  s.PredictionTime = 10.0f;
  s.ReceptorHeight = 2.0f;
  s.Targets.ThresholdText = "2";
  s.Targets.ThresholdCount = 1;
  s.Targets.Thresholds = {0.0f, 2.0f};
  // The point list box's default lines.
  s.Targets.PointCount = 3;
  s.Targets.Points.assign(4, PointRow{});
  s.Targets.Points[1] = {0, 100, 0, 2, 10, 0};
  s.Targets.Points[2] = {0, 500, 0, 2, 10, 0};
  s.Targets.Points[3] = {0, 1000, 0, 2, 10, 0};
  return s;
}

// Runs the meteorology and source stages on the inputs.
bool PrepareStages(ModelState& s, std::string& message) {
  std::string densityMessage;
  ComputeLiquidDensity(s, densityMessage);
  return RunMeteorology(s, message) && ComputeSourceStrength(s, message);
}

ModelState DefaultPlume() { return DefaultInputs(); }

// A 10 min release observed 30 min after it began under a 300 m lid by day.
ModelState PuffsUnderLid() {
  ModelState s = DefaultInputs();
  s.InversionBase = 300.0f;
  s.MixingHeight = 300.0f;
  s.PredictionTime = 30.0f;
  return s;
}

// The same with a threshold of 0.01 mg/m3, which the diluted cloud still
// reaches, so that its isopleth is traced through the puff sums.
ModelState PuffsUnderLidTraced() {
  ModelState s = PuffsUnderLid();
  s.Targets.Thresholds = {0.0f, 0.01f};
  return s;
}

// The default instantaneous release: 10 kg at once, 1 min averaging time.
ModelState Instantaneous() {
  ModelState s = DefaultInputs();
  s.ReleaseMode = 1;
  s.ReleaseDuration = kInstantaneousDuration;
  s.ReleaseMass = 10000.0f;
  s.ReleaseRate = static_cast<float>(10000.0 / 0.25);
  s.AveragingTime = 1.0f;
  return s;
}

// The same with a threshold of 0.001 mg/m3.
ModelState InstantaneousTraced() {
  ModelState s = Instantaneous();
  s.Targets.Thresholds = {0.0f, 0.001f};
  return s;
}

// The default inputs with the release mode "浮力气体从烟筒排出" (stack 2 m,
// 100 deg C, 10 m3/s).
ModelState DefaultStack() {
  ModelState s = DefaultInputs();
  s.ReleaseMode = 3;
  return s;
}

// 20 thresholds from 0.01 to 1000 mg/m3, a 60 min release under a 300 m lid
// observed at 90 min.
ModelState TwentyThresholds() {
  ModelState s = DefaultInputs();
  s.InversionBase = 300.0f;
  s.MixingHeight = 300.0f;
  s.ReleaseDuration = 60.0f;
  s.ReleaseMass = static_cast<float>(10000.0 * 60.0);
  s.PredictionTime = 90.0f;
  s.Targets.ThresholdCount = 20;
  s.Targets.Thresholds.assign(1, 0.0f);
  s.Targets.ThresholdText.clear();
  for (int i = 0; i < 20; ++i) {
    const float v = static_cast<float>(std::pow(10.0, -2.0 + 5.0 * i / 19.0));
    s.Targets.Thresholds.push_back(v);
  }
  return s;
}

std::string ContourPath() {
  const auto dir = std::filesystem::temp_directory_path() / "zelto_dispersion_bench";
  std::filesystem::create_directories(dir);
  return (dir / "CONCXY.DAT").string();
}

// kinds 0: all three stages in order; 1, 2, 3: that stage alone.
void Stages(benchmark::State& state, ModelState (*make)()) {
  ModelState prepared = make();
  std::string message;
  if (!PrepareStages(prepared, message)) {
    state.SkipWithError(("input stages refused: " + message).c_str());
    return;
  }
  const int only = static_cast<int>(state.range(0));
  DispersionContext ctx;
  ctx.contourFilePath = ContourPath();
  long events = 0;
  ctx.processEvents = [&events] { ++events; };
  ModelState s;
  for (auto _ : state) {
    s = prepared;
    for (int kind = 1; kind <= 3; ++kind) {
      if (only != 0 && kind != only) continue;
      if (!RunDispersion(s, static_cast<DispersionKind>(kind), message, ctx)) {
        state.SkipWithError(("dispersion stage refused: " + message).c_str());
        return;
      }
    }
    benchmark::DoNotOptimize(s.Concentration);
  }
  if (only == 0 || only == 1) {
    state.counters["points_1"] = s.ContourPointCount.size() > 1 ? s.ContourPointCount[1] : 0;
    state.counters["hazard_m"] = s.HazardDistance;
  }
  state.counters["max_mg_m3"] = s.MaxConcentration;
  state.counters["steps_per_run"] =
      static_cast<double>(events) / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(Stages, DefaultPlume, DefaultPlume)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, PuffsUnderLid, PuffsUnderLid)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, Instantaneous, Instantaneous)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, PuffsUnderLidTraced, PuffsUnderLidTraced)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, InstantaneousTraced, InstantaneousTraced)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, DefaultStack, DefaultStack)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stages, TwentyThresholds, TwentyThresholds)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelto

BENCHMARK_MAIN();
