#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target (or those named) for a while,
# then replays the inputs kept under fuzz/regressions/. Prints executions, coverage and
# findings per target; exits non-zero on any finding or when the fuzz toolchain is missing.
#   scripts/fuzz.sh [--time SECONDS] [--smoke] [TARGET...]
# --smoke: a few seconds per target from the seeds alone, as `make test` runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=60
smoke=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) seconds="$2"; shift 2 ;;
    --smoke) smoke=1; seconds="${FUZZ_SMOKE_TIME:-3}"; shift ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_orv fuzz_upa fuzz_cor fuzz_imprime_set fuzz_report
  fuzz_img fuzz_records fuzz_lstkwz fuzz_lst_cod)

# The toolchain must be there: a missing one fails, it never skips the fuzzing.
if ! command -v clang++-14 >/dev/null; then
  echo "fuzz.sh: FAILED: clang++-14 is missing (scripts/install-deps.sh installs clang-14)" >&2
  exit 1
fi
runtime="$(clang++-14 --print-runtime-dir 2>/dev/null)/libclang_rt.fuzzer-x86_64.a"
if [ ! -f "$runtime" ]; then
  echo "fuzz.sh: FAILED: libFuzzer is missing ($runtime; Debian: libclang-rt-14-dev)" >&2
  exit 1
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

scratch=$(mktemp -d /dev/shm/orvex-fuzz-run.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ORVEX_FUZZ_SCRATCH=$scratch

bin=$root/build/fuzz/fuzz
findings_dir=$root/build/fuzz/findings
failed=0
printf '%-18s %10s %8s %6s %6s %8s  %s\n' target executions exec/s cov ft corpus findings
for t in "${targets[@]}"; do
  exe=$bin/$t
  [ -x "$exe" ] || { echo "fuzz.sh: no target $t" >&2; exit 2; }
  if [ $smoke -eq 1 ]; then
    corpus=$scratch/corpus-$t
  else
    corpus=$root/build/fuzz/corpus/$t # grows from run to run
  fi
  mkdir -p "$corpus" "$findings_dir/$t"
  dict=()
  [ -f "$root/fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  log=$root/build/fuzz/$t.log
  before=$(ls "$findings_dir/$t" | wc -l)
  rc=0
  "$exe" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=128 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings_dir/$t/" "${dict[@]}" \
    "$corpus" "$root/fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  after=$(ls "$findings_dir/$t" | wc -l)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  units=$(ls "$corpus" | wc -l)
  found=$((after - before))
  status=$found
  if [ $rc -ne 0 ] || [ $found -gt 0 ]; then
    failed=1
    status="$found (exit $rc, see $log and $findings_dir/$t/)"
  fi
  printf '%-18s %10s %8s %6s %6s %8s  %s\n' "$t" "${execs:-?}" "${speed:-?}" "${cov:-?}" \
    "${ft:-?}" "$units" "$status"
done

# Every input that once found a fault is run again.
for t in "${targets[@]}"; do
  dir=$root/fuzz/regressions/$t
  [ -d "$dir" ] || continue
  inputs=("$dir"/*)
  [ -e "${inputs[0]}" ] || continue
  # A generous limit: the replay looks for faults, and a loaded machine is slow.
  if "$bin/$t" -timeout=30 -malloc_limit_mb=128 "${inputs[@]}" >"$root/build/fuzz/$t.replay.log" 2>&1; then
    echo "$t: ${#inputs[@]} regression inputs replayed"
  else
    echo "$t: a regression input fails again, see build/fuzz/$t.replay.log" >&2
    failed=1
  fi
done

if [ $failed -ne 0 ]; then
  echo "fuzz.sh: FAILED" >&2
  exit 1
fi
