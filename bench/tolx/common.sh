# Shared by the tolx benchmarks: where tolx is, a scratch folder on the local disk, timing and
# medians. Sourced, not run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# TOLX names another build of the helper, for example an older one to compare against.
tolx=${TOLX:-$repo/build/bin/tolx}
runs=${TOLX_BENCH_RUNS:-3}

if [ ! -x "$tolx" ]; then
  cmake -S "$repo" -B "$repo/build" -G Ninja >/dev/null
  cmake --build "$repo/build" --target tolx >/dev/null
fi
for tool in shred dd split fallocate /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup-deps installs it)" >&2; exit 1; }
done

scratch=$(mktemp -d "${TOLX_BENCH_DIR:-/tmp}/tolx-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Every contender starts from cold caches and a quiet disk.
settle() {
  sync
  if [ -w /proc/sys/vm/drop_caches ]; then echo 3 >/proc/sys/vm/drop_caches; fi
}

# Wall-clock seconds of one command.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# ratio A B: A / B with two decimals.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# verdict VALUE GOAL ">=" | "<=": "met" or "missed".
verdict() {
  awk -v v="$1" -v g="$2" -v op="$3" \
    'BEGIN { ok = (op == ">=") ? v >= g : v <= g; print ok ? "met" : "missed" }'
}

# Peak resident set size of one command, in KiB.
peak_kib() {
  /usr/bin/time -f '%M' -o "$scratch/rss" "$@" >/dev/null
  cat "$scratch/rss"
}
