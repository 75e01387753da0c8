#!/usr/bin/env bash
# Runs a fuzzer (stores or replays) for a fixed time on a corpus seeded with real files:
# the stores' own files, the generated scene, missions and vehicle
# configurations, and every input that ever failed.
#   run-fuzzer.sh FUZZER SECONDS ASSET_DIR WORK_DIR [--keep]
# With --keep, inputs that fail are copied into tests/fuzz/regressions so the
# unit tests replay them from then on (commit them with the fix).
# KB_FUZZ_SEED fixes the mutation sequence (CI); unset, every run explores anew.
set -euo pipefail
fuzzer=$1 seconds=$2 assets=$3 work=$4 keep=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -x "$fuzzer" ]; then
  echo "fuzz: no fuzzer at $fuzzer (build the project with clang installed: tools/install-deps.sh)" >&2
  exit 1
fi
corpus=$work/corpus artifacts=$work/artifacts
mkdir -p "$corpus" "$artifacts"
rm -f "$artifacts"/*

cp "$here"/seeds/* "$here"/regressions/* "$corpus"/
# KB_FUZZ_SEEDS names a folder of further seeds (the replay fuzzer's files).
if [ -n "${KB_FUZZ_SEEDS:-}" ]; then
  cp "$KB_FUZZ_SEEDS"/* "$corpus"/
fi
shopt -s nullglob
for file in "$assets"/level/airport_scene.scene "$assets"/level/mission/*.xml "$assets"/config/*/*.xml; do
  name=${file#"$assets"/}
  cp "$file" "$corpus/seed_${name//\//_}"
done

set +e
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$fuzzer" -seed="${KB_FUZZ_SEED:-0}" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=1024 \
  -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" 2>&1 | tee "$work/fuzz.log" \
  | grep -v "^#[0-9]*[[:space:]]*\(NEW\|REDUCE\|pulse\)"
status=${PIPESTATUS[0]}
set -e

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -1)
failed=("$artifacts"/*)
echo "fuzz: ${runs:-?} runs in ${seconds} s, ${#failed[@]} failing input(s), corpus $(ls "$corpus" | wc -l) files"
if [ ${#failed[@]} -gt 0 ]; then
  for f in "${failed[@]}"; do
    echo "fuzz: failing input $f"
    if [ "$keep" = "--keep" ]; then
      cp "$f" "$here/regressions/$(basename "$f")"
      echo "fuzz: kept as tests/fuzz/regressions/$(basename "$f")"
    fi
  done
  exit 1
fi
exit "$status"
