#!/usr/bin/env bash
# The fuzz checks of the test command.
#   fuzz/check.sh REPLAY_BUILD [FUZZ_BUILD]
# 1. Replays every input of fuzz/regressions/, every seed of the corpora and the
#    hostile settings files (fuzz/make_hostile.py) once each through the replay
#    programs of REPLAY_BUILD (configured with -DZELTO_FUZZ_REPLAY=ON, best with
#    -DZELTO_SANITIZE=ON). An input fails when it crashes, when a sanitizer
#    reports, when a report, box or message shows NaN or infinity (the targets'
#    own checks), or when it runs longer than ZELTO_REPLAY_BOUND seconds (60).
# 2. With FUZZ_BUILD (configured with clang and -DZELTO_FUZZ=ON): runs each
#    libFuzzer target for a fixed number of inputs from the seeds
#    (ZELTO_FUZZ_RUNS, 3000; the text targets ten times as many) and fails on
#    any finding.
# The regression inputs are named after their target: window-*, settings-*,
# textconv-*, paramblock-*, library-*.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
replay=$(cd "$1" && pwd)
fuzzbuild=${2:-}
bound=${ZELTO_REPLAY_BOUND:-60}
runs=${ZELTO_FUZZ_RUNS:-3000}
targets=(textconv paramblock settings window library)
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

work=$replay/fuzz-check
rm -rf "$work"
mkdir -p "$work"
python3 "$here/make_seeds.py" "$here/../examples" "$work/seeds" >/dev/null
python3 "$here/make_hostile.py" "$work/hostile" >/dev/null

failed=0
for t in "${targets[@]}"; do
  exe=$replay/bin/replay_$t
  inputs=("$work/seeds/fuzz_$t"/* "$here/regressions/$t"-*)
  [ "$t" = settings ] && inputs+=("$work/hostile"/*)
  count=0 slowest=0 slowestName=
  for f in "${inputs[@]}"; do
    [ -f "$f" ] || continue
    count=$((count + 1))
    start=$(date +%s%N)
    status=0
    timeout -s KILL "$bound" "$exe" "$f" >"$work/out" 2>&1 || status=$?
    ms=$(( ($(date +%s%N) - start) / 1000000 ))
    if [ "$ms" -gt "$slowest" ]; then slowest=$ms slowestName=$(basename "$f"); fi
    if [ "$status" -ne 0 ]; then
      failed=1
      if [ "$status" -eq 137 ]; then
        echo "FAIL replay_$t $f: slower than $bound s"
      else
        echo "FAIL replay_$t $f: exit status $status"
        tail -n 30 "$work/out"
      fi
    fi
  done
  echo "replay_$t: $count inputs, slowest ${slowest} ms ($slowestName)"
done

if [ -n "$fuzzbuild" ]; then
  for t in "${targets[@]}"; do
    exe=$fuzzbuild/bin/fuzz_$t
    n=$runs
    case $t in textconv|paramblock) n=$((runs * 10)) ;; esac
    corpus=$work/corpus/$t
    mkdir -p "$corpus" "$work/artifacts/$t"
    status=0
    # A fresh corpus from the seeds and a fixed seed: the same inputs on every run.
    "$exe" "$corpus" "$work/seeds/fuzz_$t" -runs="$n" -seed=1 -timeout="$bound" \
      -rss_limit_mb=2048 -max_len=4096 -dict="$here/zelto.dict" \
      -artifact_prefix="$work/artifacts/$t/" >"$work/fuzz-$t.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
      failed=1
      echo "FAIL fuzz_$t: finding in $work/artifacts/$t/"
      tail -n 40 "$work/fuzz-$t.log"
    else
      echo "fuzz_$t: $(grep -E '^#[0-9]+' "$work/fuzz-$t.log" | tail -1 | cut -c1-60)"
    fi
  done
fi
exit $failed
