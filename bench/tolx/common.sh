# Shared by the tolx benchmarks: where tolx is, a scratch folder on the local disk, timing and
# medians. Sourced, not run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# TOLX names the helper under test, by default this build's.
tolx=${TOLX:-$repo/build/bin/tolx}
# TOLX_BASELINE names another build of the helper (an older one, say), timed in the same rounds.
baseline=${TOLX_BASELINE:-}
runs=${TOLX_BENCH_RUNS:-3}
# The peers that take minutes a round (shred on 100,000 files) may run fewer rounds.
slow_peer_runs=${TOLX_BENCH_SLOW_PEER_RUNS:-$runs}

if [ ! -x "$tolx" ]; then
  cmake -S "$repo" -B "$repo/build" -G Ninja >/dev/null
  cmake --build "$repo/build" --target tolx >/dev/null
fi
for tool in shred dd split fallocate /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup-deps installs it)" >&2; exit 1; }
done

# Every contender works on the same freshly made ext4 file system, loop-mounted from an image
# file, so that the figures do not depend on what else lives on the machine's disk. Without root
# (no loop devices) the scratch folder is a plain folder under TOLX_BENCH_DIR.
work=$(mktemp -d "${TOLX_BENCH_DIR:-/tmp}/tolx-bench.XXXXXX")
scratch=$work
if [ "$(id -u)" -eq 0 ] && command -v mkfs.ext4 >/dev/null; then
  truncate -s "${TOLX_BENCH_IMAGE_GIB:-3}G" "$work/image"
  mkfs.ext4 -q -F -N 1100000 "$work/image"
  mkdir "$work/mnt"
  mount -o loop "$work/image" "$work/mnt"
  scratch=$work/mnt
fi
cleanup() {
  if mountpoint -q "$work/mnt" 2>/dev/null; then umount "$work/mnt"; fi
  rm -rf "$work"
}
trap cleanup EXIT

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
  /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
  cat "$work/rss"
}
