#!/usr/bin/env bash
# Times quorix-search as a whole process: the fast kernel against the literal formula on the
# desktop's largest workload (hyperfine, when installed), then wall time and peak memory (/usr/bin/time -v) for
# 500 and 5,000 times over 500,001, 5,000,001 and 50,000,001 grid points.
# Usage: cli/bench/scaling.sh [path to quorix-search]
set -euo pipefail
program=${1:-build/release/cli/quorix-search}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Minima of an eclipsing binary of period 0.6523417 days over about 16 years, primaries and
# secondaries, with 3 minutes of timing noise.
for count in 500 5000; do
    awk -v n="$count" 'BEGIN { srand(7); for (i = 0; i < n; i++) {
        e = int(rand() * 9000) + (rand() < 0.5 ? 0 : 0.5)
        printf "%.5f\r\n", 52000.1234 + e * 0.6523417 + (rand() - 0.5) * 0.004 } }' > "$work/times$count.txt"
done

echo "== 500 times x 500,001 points: fast kernel against the literal formula"
if command -v hyperfine >/dev/null; then
    hyperfine --warmup 1 --runs 3 -N \
        "$program $work/times500.txt --steps 500000 --top 5" \
        "$program $work/times500.txt --steps 500000 --top 5 --kernel literal" 2>&1
else
    echo "(hyperfine is not installed: skipped)"
fi

echo
echo "== wall time and peak memory"
printf "%-8s %-12s %-10s %-10s %s\n" times points wall_s user_s peak_MB
for count in 500 5000; do
    for steps in 500000 5000000 50000000; do
        "/usr/bin/time" -v "$program" "$work/times$count.txt" --steps "$steps" --top 5 \
            > /dev/null 2> "$work/time.txt"
        wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
               for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$work/time.txt")
        user=$(awk -F': ' '/User time/ { print $2 }' "$work/time.txt")
        peak=$(awk -F': ' '/Maximum resident/ { printf "%.1f", $2 / 1024 }' "$work/time.txt")
        printf "%-8s %-12s %-10s %-10s %s\n" "$count" "$((steps + 1))" "$wall" "$user" "$peak"
    done
done
