#!/usr/bin/env bash
# velmont-batch built for Windows (under Wine) and for Linux: the same demo
# arguments give the same bytes, and each build checks and dumps the school
# the other made with the same results.
#
#   demo_across_systems.sh WINE WINDOWS_BATCH.exe LINUX_BATCH
# Exits 77 (skipped) when the Linux velmont-batch has not been built.
set -uo pipefail

wine=$1 win_exe=$2 linux=$3
if [ ! -x "$linux" ]; then
  echo "no Linux velmont-batch at '$linux': skipped"
  exit 77
fi
dir=$(mktemp -d /tmp/velmont-demo-across.XXXXXX)
trap 'rm -rf "$dir"' EXIT
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
win() { "$wine" "$win_exe" "$@"; }

checks=0 failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  checks=$((checks + 1))
  "$@" || { echo "FAILED: $what"; failures=$((failures + 1)); }
}

args=(--students 60 --year 2024 --seed 5 --flags all)
check "the Linux build makes a demo school" "$linux" demo "$dir/lin" "${args[@]}" >/dev/null
check "the Windows build makes a demo school" win demo "$(winpath "$dir/win")" "${args[@]}" >/dev/null
check "both demo schools have the same files, byte for byte" diff -r "$dir/lin" "$dir/win"

check "the Windows build finds the Linux-made school sound" win check "$(winpath "$dir/lin")" --year 2024 >/dev/null
check "the Linux build finds the Windows-made school sound" "$linux" check "$dir/win" --year 2024 >/dev/null

for table in ststuden:STSTNAME STSUB24: paparent:paindx; do
  dbf=${table%%:*} ntx=${table##*:}
  lin_order=() win_order=()
  if [ -n "$ntx" ]; then
    lin_order=(--index "$dir/win/$ntx.ntx")
    win_order=(--index "$(winpath "$dir/lin/$ntx.ntx")")
  fi
  # Line ends aside: Windows writes standard output in text mode (LF becomes
  # CR LF), and memo texts hold CR LF of their own.
  "$linux" dump "$dir/win/$dbf.dbf" "${lin_order[@]}" | tr -d '\r' >"$dir/lin-$dbf.csv"
  win dump "$(winpath "$dir/lin/$dbf.dbf")" "${win_order[@]}" | tr -d '\r' >"$dir/win-$dbf.csv"
  check "$dbf dumps the same on both systems" cmp "$dir/lin-$dbf.csv" "$dir/win-$dbf.csv"
  check "$dbf dump is not empty" test "$(wc -l <"$dir/lin-$dbf.csv")" -gt 10
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
