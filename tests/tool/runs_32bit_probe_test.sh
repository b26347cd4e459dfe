#!/usr/bin/env bash
# The 32-bit probe (given as $1) on a loader that runs, one the kernel refuses, and none.
set -u
probe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '\177ELF\001\001\001\000refused' >"$work/refused" && chmod +x "$work/refused"
failures=0
while read -r loader want_status want_text; do
  text=$(QM_I386_LOADER=$loader "$probe")
  status=$?
  if [ "$status" != "$want_status" ] || [[ $text != *"$want_text"* ]]; then
    echo "loader $loader: got status $status and '$text', want $want_status and '$want_text'"
    failures=$((failures + 1))
  fi
done <<ROWS
/bin/true 0 yes
$work/refused 1 runs no 32-bit code
$work/missing 1 is missing
ROWS
exit $((failures > 0))
