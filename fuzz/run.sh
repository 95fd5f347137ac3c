#!/usr/bin/env bash
# Runs one fuzz target for a while on one core.
#   fuzz/run.sh BUILD_DIR TARGET SECONDS [extra libFuzzer flags]
# The working corpus grows in BUILD_DIR/corpus/TARGET (seeded from the example
# settings files); crashes, hangs (over 10 s) and sanitizer findings land in
# BUILD_DIR/artifacts/TARGET/.
set -euo pipefail
build=$1 target=$2 seconds=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/make_seeds.py" "$here/../examples" "$build/seeds"
mkdir -p "$build/corpus/$target" "$build/artifacts/$target" "$build/logs/$target"
# With -jobs the fuzzer writes its log as fuzz-0.log in the current directory.
cd "$build/logs/$target"
exec "$build/bin/$target" "$build/corpus/$target" "$build/seeds/$target" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -jobs=1 -workers=1 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/$target/" -dict="$here/zelto.dict" "$@"
