#!/usr/bin/env bash
# Runs one fuzzer for a fixed time on a corpus seeded with real files and
# every input that ever failed. The store and replay fuzzers start from the
# stores' own files and all generated data files; each reader's fuzzer from
# the generated files it reads (scene_fuzzer the scene, mission_fuzzer the
# missions, vehicle_fuzzer the vehicle configurations).
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

# KB_FUZZ_SEEDS names a folder of further seeds (the replay fuzzer's files).
if [ -n "${KB_FUZZ_SEEDS:-}" ]; then
  cp "$KB_FUZZ_SEEDS"/* "$corpus"/
fi
shopt -s nullglob
case $(basename "$fuzzer") in
  scene_fuzzer) seeds=("$assets"/level/airport_scene.scene) ;;
  mission_fuzzer) seeds=("$assets"/level/mission/*.xml) ;;
  vehicle_fuzzer) seeds=("$assets"/config/*/*.xml) ;;
  *) seeds=("$assets"/level/airport_scene.scene "$assets"/level/mission/*.xml "$assets"/config/*/*.xml)
     cp "$here"/seeds/* "$corpus"/ ;;
esac
if [ ${#seeds[@]} -eq 0 ]; then
  echo "fuzz: no generated files under $assets to seed from (build the project first)" >&2
  exit 1
fi
cp "$here"/regressions/* "$corpus"/
for file in "${seeds[@]}"; do
  [ -f "$file" ] || continue
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
rate=$(awk -v r="${runs:-0}" -v s="$seconds" 'BEGIN { if (s > 0) printf "%.0f", r / s; else print "?" }')
echo "fuzz: $(basename "$fuzzer"): ${runs:-?} runs in ${seconds} s (${rate}/s), ${#failed[@]} failing input(s), corpus $(ls "$corpus" | wc -l) files"
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
