#!/usr/bin/env bash
# A wrong call is refused as every tool refuses one: "NAME: reason" and the usage on standard
# error, exit code 2; -h is --help; a folder the demo cannot make is named with the system's reason.
# None of them writes anything. Arguments: the tools' programs, then the benchmark scripts.
set -euo pipefail
# shellcheck source=tests/tools/options/scratch.sh
source "$(dirname "$0")/scratch.sh"
declare -A path
for program in "$@"; do path[$(basename "$program")]=$program; done

# tool | arguments (shell words) | exit code | text on standard error (standard output for 0)
table="
director|-h|0|usage: director
director|-x plug-in|2|director: unexpected argument -x
orvex_demo_machine|--bogus|2|orvex_demo_machine: unknown option '--bogus'
orvex_demo_machine|-h|0|usage: orvex_demo_machine
orvex_lns_dump|--bogus|2|orvex_lns_dump: unknown option '--bogus'
orvex_lns_dump|-Demo|2|orvex_lns_dump: unknown option '-Demo'
orvex_lns_dump|Demo Other|2|orvex_lns_dump: unexpected argument Other
orvex_lns_dump|-h|0|usage: orvex_lns_dump
xif32bin|--bogus a.xif a.xfb|2|XIF32BIN: unknown option '--bogus'
xif32bin|a.xif|2|XIF32BIN: an XIF file and an XFB file are needed
xif32bin|--close-wait-ms soon a.xif a.xfb|2|XIF32BIN: --close-wait-ms takes milliseconds from 0 to 86400000, not \"soon\"
orvexuc_demo|--bogus|2|orvexuc_demo: unknown option '--bogus'
orvexuc_demo|out other|2|orvexuc_demo: unexpected argument other
orvexuc_demo|/proc/out|1|orvexuc_demo: cannot make the output folder \"/proc/out\": No such file or directory
orvexuc_demo|/dev/null/out|1|orvexuc_demo: cannot make the output folder \"/dev/null/out\": Not a directory
orvexuc_demo|''|1|orvexuc_demo: cannot make the output folder \"\": Invalid argument
piped_memory|--bogus|2|piped_memory: unknown option '--bogus'
piped_memory|many|2|piped_memory: LINES is a whole number, not 'many'
piped_memory|--help|0|usage: bench/piped_memory
plugin_memory|--bogus|2|plugin_memory: unknown option '--bogus'
plugin_memory|-h|0|usage: bench/plugin_memory
"
failed=0
passed=0
words=()
while IFS='|' read -r tool arguments want text; do
  [ -n "$tool" ] || continue
  eval "words=($arguments)"
  code=0
  "${path[$tool]}" "${words[@]}" >"$root/out" 2>"$root/err" || code=$?
  stream="$root/err"
  [ "$want" -ne 0 ] || stream="$root/out"
  # A refused call and a help show the usage once; a failure does not.
  usages=$(grep -c '^usage: ' "$stream" || true)
  [ "$want" -ne 1 ] || usages=$((usages + 1))
  if [ "$code" -ne "$want" ] || ! grep -qF -- "$text" "$stream" || [ "$usages" -ne 1 ] || ! nothing_written; then
    echo "FAILED: $tool $arguments: exit $code, said: $(cat "$root/out" "$root/err")"
    failed=$((failed + 1))
    rm -rf "${root:?}/work/"* "$ORVEX_MACHINE" "$HOME" "$XDG_DATA_HOME"
  else
    passed=$((passed + 1))
  fi
done <<<"$table"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
