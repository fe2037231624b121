#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ and runs each for SECONDS
# (default 5), starting from the seed corpus in fuzz/corpus/<target>/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs go to build-fuzz/corpus/<target>/, never into the repository.
# Any finding (a crash, a sanitizer report or a failed property) stops the run
# with a non-zero status; the input is kept in build-fuzz/findings/<target>/.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

seconds=${1:-5}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fold_full_width parse_number text_to_double text_to_float text_to_int left_text formatters)
fi

ensure_packages "${VELQUIST_BUILD_PACKAGES[@]}" "${VELQUIST_FUZZ_PACKAGES[@]}"
dir="$VELQUIST_ROOT/build-fuzz"
build_preset fuzz "${targets[@]/%/_fuzzer}"

status=0
for target in "${targets[@]}"; do
  work="$dir/corpus/$target"
  findings="$dir/findings/$target/"
  log="$dir/$target.log"
  mkdir -p "$work" "$findings"
  # -max_len covers the longest seeds (a tie needs ~770 digits) with room to grow.
  if "$dir/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$findings" \
      "$work" "$VELQUIST_ROOT/fuzz/corpus/$target" >"$log" 2>&1; then
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" || echo 'finished')"
  else
    status=1
    echo "$target: FINDING (log: $log, input in $findings)" >&2
    tail -n 40 "$log" >&2
  fi
done
exit $status
