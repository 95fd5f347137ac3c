// Independent pieces of work of one dispersion stage (the isopleths of the
// thresholds, the listed points) spread over the machine's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "dispersion/ConcentrationEvaluator.h"

namespace zelto {

inline constexpr int kMaxDispersionThreads = 8;

// Least work (in puffs summed, see ConcentrationEvaluator::work) a stage
// hands to other threads: starting a thread and sharing the kept results
// cost about as much as a few hundred microseconds of searching.
inline constexpr long long kMinConcurrentWork = 20000;

// Threads a stage may use: ctx.threads when set, else the environment
// variable ZELTO_THREADS (1 = single-threaded), else the machine's cores (at
// most kMaxDispersionThreads); always 1 in a build configured with
// ZELTO_SINGLE_THREADED. Left to itself (neither set), a stage keeps work
// below kMinConcurrentWork on one thread; a number asked for is used
// whatever the work.
struct ThreadChoice {
  int threads = 1;
  long long minWork = kMinConcurrentWork;  // least work handed to other threads
};
ThreadChoice DispersionThreads(const DispersionContext& ctx);

// Runs work(i, ev, events) for i = 0 .. count - 1 on up to `threads`
// threads, each thread with its own fork of ev (shared kept results and work
// count, a trail of its own, emptied before every piece). A piece calls
// events() once per step of its search; processEvents (the window's) runs on
// the calling thread only, once for every such step wherever it happened:
// directly for the caller's own pieces, and for the other threads' steps as
// soon as the caller is free to (while it waits for them). The order in which
// pieces finish is unspecified: callers keep each piece's results apart and
// assemble them in index order.
template <class Work>
void RunConcurrently(int count, int threads, const ConcentrationEvaluator& ev, Work&& work,
                     const std::function<void()>& processEvents) {
  std::atomic<int> next{0};
  std::atomic<int> finished{0};  // helper threads done
  std::atomic<int> steps{0};     // steps of the helpers' pieces
  // Steps and ends: what the waiting caller waits for. A mutex and a
  // condition variable rather than atomic wait/notify: the C++ library's
  // atomic wait on systems without futexes (MinGW-w64 on Windows) can miss a
  // notification and leave the caller asleep for good.
  int signals = 0;
  std::mutex signalMutex;
  std::condition_variable signalled;
  auto signal = [&] {
    {
      std::lock_guard<std::mutex> lock(signalMutex);
      ++signals;
    }
    signalled.notify_one();
  };
  const std::function<void()> none;
  const std::function<void()> helperStep = [&] {
    steps.fetch_add(1);
    signal();
  };
  auto worker = [&](ConcentrationEvaluator mine, const std::function<void()>& events) {
    for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
      mine.trail() = EvaluationTrail{};
      work(i, mine, events);
    }
    mine.Publish();
  };
  const int helpers = std::max(0, std::min(threads, count) - 1);
  std::vector<std::jthread> pool;
  pool.reserve(helpers);
  for (int h = 0; h < helpers; ++h) {
    pool.emplace_back([&, mine = ev.Fork()]() mutable {
      worker(std::move(mine), processEvents ? helperStep : none);
      finished.fetch_add(1);
      signal();
    });
  }
  worker(ev.Fork(), processEvents);
  if (processEvents) {
    // The helpers' steps, one window update each; every helper ends within
    // its own search bounds, and each end is a signal, so the wait ends.
    int seen = 0;
    for (;;) {
      int before = 0;
      {
        std::lock_guard<std::mutex> lock(signalMutex);
        before = signals;
      }
      for (const int now = steps.load(); seen < now; ++seen) processEvents();
      if (finished.load() == helpers) break;
      std::unique_lock<std::mutex> lock(signalMutex);
      signalled.wait(lock, [&] { return signals != before; });
    }
    for (const int now = steps.load(); seen < now; ++seen) processEvents();
  }
  pool.clear();  // joins
}

}  // namespace zelto
