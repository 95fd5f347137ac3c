// Independent pieces of work of one dispersion stage (the isopleths of the
// thresholds, the listed points) spread over the machine's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "dispersion/ConcentrationEvaluator.h"

namespace zelto {

inline constexpr int kMaxDispersionThreads = 8;

// Threads a stage may use: ctx.threads when set, else the environment
// variable ZELTO_THREADS (1 = single-threaded), else the machine's cores (at
// most kMaxDispersionThreads); always 1 in a build configured with
// ZELTO_SINGLE_THREADED.
int DispersionThreads(const DispersionContext& ctx);

// Runs work(i, ev) for i = 0 .. count - 1 on up to `threads` threads, each
// thread with its own fork of ev (shared kept results and work count, a
// trail of its own, emptied before every piece). The calling thread takes
// part; only it calls
// processEvents, once per piece it starts and, while it waits for the
// others, every few milliseconds. The order in which pieces finish is
// unspecified: callers keep each piece's results apart and assemble them in
// index order.
template <class Work>
void RunConcurrently(int count, int threads, const ConcentrationEvaluator& ev, Work&& work,
                     const std::function<void()>& processEvents) {
  std::atomic<int> next{0};
  const std::function<void()> none;
  auto worker = [&](ConcentrationEvaluator mine, bool caller) {
    for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
      mine.trail() = EvaluationTrail{};
      work(i, mine, caller ? processEvents : none);
    }
    mine.Publish();
  };
  const int helpers = std::max(0, std::min(threads, count) - 1);
  std::atomic<int> finished{0};
  std::vector<std::jthread> pool;
  pool.reserve(helpers);
  for (int h = 0; h < helpers; ++h) {
    pool.emplace_back([&, mine = ev.Fork()]() mutable {
      worker(std::move(mine), false);
      finished.fetch_add(1);
    });
  }
  worker(ev.Fork(), true);
  if (processEvents) {
    // Keep the window repainting while the last pieces finish elsewhere
    // (each of them ends within its own search bounds).
    while (finished.load() < helpers) {
      processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  pool.clear();  // joins
}

}  // namespace zelto
