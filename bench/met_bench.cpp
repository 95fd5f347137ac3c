// Friction-velocity search at its step bound: a light wind under strong
// heating whose trial value steps back and forth for all 100 000 trials.
#include <benchmark/benchmark.h>

#include <string>

#include "core/ModelState.h"
#include "met/Meteorology.h"

namespace {

void FrictionVelocityAtBound(benchmark::State& state) {
  zelto::ModelState base;
  zelto::InitConstants(base);
  base.WindSpeed = 0.5f;      // m/s
  base.WindHeight = 10.0f;    // m
  base.Roughness = 25.0f;     // cm
  base.SensibleHeatFlux = 160.0f;  // W/m2
  base.AirPressure = 1013.25f;     // mb
  std::string message;
  for (auto _ : state) {
    zelto::ModelState s = base;
    int steps = 0;
    benchmark::DoNotOptimize(zelto::ComputeFrictionVelocity(s, message, &steps));
    benchmark::DoNotOptimize(s.FrictionVelocity);
    if (steps != zelto::kFrictionVelocityMaxSteps) state.SkipWithError("search ended before the bound");
  }
}

}  // namespace

BENCHMARK(FrictionVelocityAtBound)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
