#!/usr/bin/env bash
# Runs the benchmarks and the whole-process timings, and prints one table.
# Usage: bench/run.sh [build-dir] [--brief]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
brief=${2:-}
bench="$build/bench/quelmar_bench"
render="$build/src/quelmar-render"

min_time=0.5
[ "$brief" = "--brief" ] && min_time=0.01

printf '%-52s %14s %14s\n' "benchmark" "real" "cpu"
"$bench" --benchmark_min_time="$min_time" --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 && $1 !~ /^"?name/ {
      gsub(/"/, "", $1);
      printf "%-52s %11.3f %s %11.3f %s\n", $1, $3, $5, $4, $5 }'

frames=600
[ "$brief" = "--brief" ] && frames=30
start=$(date +%s.%N)
"$render" --start-seconds 1000000 --frames "$frames" --width 1920 --height 1080 \
  --settings /nonexistent/quelmar-bench.ini >/dev/null
end=$(date +%s.%N)
awk -v f="$frames" -v s="$start" -v e="$end" \
  'BEGIN { printf "%-52s %11.1f fps (%d frames in %.2f s)\n", "quelmar-render 1920x1080 whole process", f / (e - s), f, e - s }'
