#!/usr/bin/env bash
# Locks across two systems: the Windows build of the table engine (under Wine)
# and the Linux build take the engine's locks on the same files in turn, and
# each must see the other's. This is what a school needs from our program and
# the administration system on a shared drive. Both probes also write to a
# table the other holds open for writing, and both save options at once.
#
#   locks_across_systems.sh WINDOWS_PROBE.exe WINE LINUX_PROBE
# Exits 77 (skipped) when the Linux probe has not been built.
set -uo pipefail

win_exe=$1 wine=$2 linux=$3
if [ ! -x "$linux" ]; then
  echo "no Linux lock_probe at '$linux': skipped"
  exit 77
fi

dir=$(mktemp -d /tmp/velmont-locks.XXXXXX)
holder_pid=
cleanup() {
  [ -n "$holder_pid" ] && kill "$holder_pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

checks=0 failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# A file of the scratch directory as the side sees it: the Windows side gets a
# drive letter and backslashes.
path_for() {
  local side=$1 name=$2
  if [ "$side" = win ]; then
    local p="Z:$dir/$name"
    echo "${p//\//\\}"
  else
    echo "$dir/$name"
  fi
}

# probe SIDE COMMAND ARGS...: file arguments are written @name.
probe() {
  local side=$1; shift
  local args=() a
  for a in "$@"; do
    if [[ $a == @* ]]; then args+=("$(path_for "$side" "${a#@}")"); else args+=("$a"); fi
  done
  if [ "$side" = win ]; then "$wine" "$win_exe" "${args[@]}"; else "$linux" "${args[@]}"; fi
}

# expect SIDE free|busy WHAT...
expect() {
  local side=$1 want=$2; shift 2
  checks=$((checks + 1))
  probe "$side" try "$@"
  local rc=$? got
  case $rc in 0) got=free ;; 3) got=busy ;; *) got="error $rc" ;; esac
  [ "$got" = "$want" ] || fail "$side try $*: $got, expected $want (held by $holder_side)"
}

holder_side=
hold() {
  holder_side=$1
  coproc HOLDER { probe "$@"; }
  holder_pid=$HOLDER_PID
  local line=
  read -r -t 60 line <&"${HOLDER[0]}"
  line=${line%$'\r'}  # the Windows side ends its lines with CR LF
  [ "$line" = held ] || fail "$1 ${*:2}: no lock ($line)"
}
release() {
  echo >&"${HOLDER[1]}"
  wait "$holder_pid" || fail "$holder_side holder ended with status $?"
  holder_pid=
}

probe win make @ || { echo "the Windows probe could not make the tables"; exit 1; }

for pair in "win lin" "lin win" "win win"; do
  read -r h p <<<"$pair"
  echo "== $h holds, $p tries"

  # Record lock at 1,000,000,000 + recno; the table stays writable for others.
  hold "$h" hold record @t.dbf - 3
  expect "$p" busy raw @t.dbf 1000000003
  expect "$p" free raw @t.dbf 1000000004
  expect "$p" busy record @t.dbf - 3
  expect "$p" free record @t.dbf - 4
  checks=$((checks + 1))
  probe "$p" append @t.dbf @t.ntx >/dev/null || fail "$p could not append to a table $h holds open for writing"
  release
  expect "$p" free record @t.dbf - 3

  # An index with the extended-lock flag moves the table's locks to 4,000,000,000.
  hold "$h" hold record @x.dbf @x.ntx 3
  expect "$p" busy raw @x.dbf 4000000003
  expect "$p" free raw @x.dbf 1000000003
  expect "$p" busy record @x.dbf @x.ntx 3
  release

  # The append (header) lock at the base itself.
  hold "$h" hold append @t.dbf -
  expect "$p" busy raw @t.dbf 1000000000
  expect "$p" busy append @t.dbf -
  release
  hold "$h" hold append @x.dbf @x.ntx
  expect "$p" busy raw @x.dbf 4000000000
  expect "$p" free raw @x.dbf 1000000000
  release

  # The index read lock at 1,000,000,000 of the .ntx: shared with readers, not writers.
  hold "$h" hold index-read @t.ntx
  expect "$p" busy raw @t.ntx 1000000000
  expect "$p" free index-read @t.ntx
  release
  expect "$p" free raw @t.ntx 1000000000
  # The extended-lock flag moves the table's locks, not the index's.
  hold "$h" hold index-read @x.ntx
  expect "$p" busy raw @x.ntx 1000000000
  release
done

# Each side appended once per pair (three appends) to the five records.
checks=$((checks + 1))
n=$(probe lin append @t.dbf @t.ntx)
[ "$n" = 9 ] || fail "t.dbf has $n records after four appends, expected 9"

# Two programs save the options of the same users at once, going opposite ways
# round them: the append lock keeps every user at exactly one record.
race() {  # race SIDE1 SIDE2 DIRNAME
  checks=$((checks + 1))
  mkdir -p "$dir/$3"
  coproc SAVER { probe "$1" save-options "@$3" 1 80 up; }
  local saver=$SAVER_PID line=
  read -r -t 60 line <&"${SAVER[0]}"
  probe "$2" save-options "@$3" 2 80 down >/dev/null || fail "$2 could not save its options"
  wait "$saver" || fail "$1 could not save its options"
  local counts
  counts=$(probe lin count-options "@$3")
  [ "$counts" = "80 80" ] || fail "$1 and $2 saving at once: users and records are '$counts', expected '80 80'"
}
race win lin options-win-lin
race win win options-win-win

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
