#!/usr/bin/env bash
# Runs one fuzz target for a while on one core.
#   fuzz/run.sh BUILD_DIR TARGET SECONDS [extra libFuzzer flags]
# The working corpus grows in BUILD_DIR/corpus/TARGET (seeded from the example
# settings files); crashes, hangs (over 10 s), memory blow-ups and sanitizer
# findings land in BUILD_DIR/artifacts/TARGET/. The fuzzer runs in fork mode
# and goes on after a finding, so a long run is not ended by the first one.
# Its log is BUILD_DIR/logs/TARGET/run.log; the last "#N" line gives the
# number of inputs executed.
set -euo pipefail
build=$1 target=$2 seconds=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/make_seeds.py" "$here/../examples" "$build/seeds"
mkdir -p "$build/corpus/$target" "$build/artifacts/$target" "$build/logs/$target"
cd "$build/logs/$target"
status=0
"$build/bin/$target" "$build/corpus/$target" "$build/seeds/$target" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/$target/" -dict="$here/zelto.dict" "$@" >run.log 2>&1 || status=$?
grep -E '^#[0-9]+' run.log | tail -1 || true
exit $status
