#!/usr/bin/env bash
# Every tool answers --help with its usage and --version with its version, exits 0, and writes
# nothing: no file where it runs, no machine folder. A dump of a machine without a store reports
# it and makes none.
set -euo pipefail
# shellcheck source=tests/tools/options/scratch.sh
source "$(dirname "$0")/scratch.sh"
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

for tool in "$@"; do
  name=$(basename "$tool")
  for option in --help --version; do
    code=0
    out=$("$tool" "$option" 2>"$root/err") || code=$?
    [ "$code" -eq 0 ] || { fail "$name $option: exit $code"; continue; }
    case $option in
      --help) pattern="^usage: " ;;
      --version) pattern="^[A-Za-z0-9_]+ [0-9]+\.[0-9]+$" ;;
    esac
    grep -Eq "$pattern" <<<"$out" || fail "$name $option printed: $out"
    [ -s "$root/err" ] && fail "$name $option wrote to standard error: $(cat "$root/err")"
    nothing_written || fail "$name $option wrote a file"
  done
done

dump=$(printf '%s\n' "$@" | grep '/orvex_lns_dump$')
mkdir "$ORVEX_MACHINE"
for network in "" Demo; do
  if "$dump" $network >/dev/null 2>"$root/err"; then fail "a dump of an empty machine succeeded"; fi
  grep -q "no Object Server store" "$root/err" || fail "dump $network said: $(cat "$root/err")"
  [ -z "$(ls -A "$ORVEX_MACHINE")" ] || fail "dump $network wrote into the machine folder"
done

echo "$(( 2 * $# + 2 - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
