#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test: the native core
# tests (with sanitizers) and fuzz runs, then the Windows tests under Wine on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source scripts/bootstrap.sh
qm_bootstrap "$root/scripts/$(basename "$0")" "$@"

started=$(date +%s)
jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset cross >/dev/null
cmake --build --preset cross -j "$jobs"

summary=()
status=0
run_ctest() {
  local preset=$1 log
  log=$(mktemp)
  ctest --preset "$preset" -j "$jobs" "${@:2}" 2>&1 | tee "$log" || status=1
  summary+=("$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n 1)")
  rm -f "$log"
}

run_ctest native

# One start of Wine for the whole run: create or update the prefix, then keep one wineserver
# alive (its output away from CTest's pipes) until every Windows test has run.
source scripts/wine-env.sh
scripts/wine-prefix.sh
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
run_ctest cross
wineserver -k 2>/dev/null || true

passed=0 failed=0
for line in "${summary[@]}"; do
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  [[ $total =~ ^[0-9]+$ && $bad =~ ^[0-9]+$ ]] || { status=1; continue; }
  passed=$((passed + total - bad)); failed=$((failed + bad))
done
[ "$failed" -eq 0 ] || status=1
echo "Built and tested in $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
exit $status
