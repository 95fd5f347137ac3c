#!/usr/bin/env bash
# A long fuzz campaign: builds the libFuzzer targets (clang, sanitizers) and
# runs each one after the other at the lowest priority, one core at a time.
#   fuzz/campaign.sh [BUILD_DIR] [MINUTES] [TARGET...]
# BUILD_DIR defaults to ../build-fuzz beside the checkout, MINUTES (per target)
# to 10; fuzz_window and fuzz_settings, which reach the whole model, get twice
# as long. Findings land in BUILD_DIR/artifacts/TARGET/; fix each one and keep
# its input in fuzz/regressions/ so that ./scripts/test replays it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/../build-fuzz}
minutes=${2:-10}
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_textconv fuzz_paramblock fuzz_settings fuzz_window fuzz_library)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DZELTO_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
nice -n 19 cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

for t in "${targets[@]}"; do
  seconds=$(( minutes * 60 ))
  case $t in fuzz_window|fuzz_settings) seconds=$(( seconds * 2 )) ;; esac
  echo "== $t: $seconds s"
  nice -n 19 "$here/run.sh" "$build" "$t" "$seconds" || echo "== $t stopped with status $?"
  ls "$build/artifacts/$t" 2>/dev/null | sed 's/^/   finding: /'
done
