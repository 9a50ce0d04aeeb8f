#!/usr/bin/env bash
# on_fresh_machine.sh LAY_TOOL PLUGIN [LAY_OPTION...] -- COMMAND...
# Lays the demo machine in $ORVEX_MACHINE afresh, registers the plug-in's class in it, then runs
# COMMAND: every run starts from the same unit, whatever an earlier run left on it.
set -euo pipefail
lay=$1 plugin=$2
shift 2
options=()
while [[ $# -gt 0 && $1 != -- ]]; do options+=("$1"); shift; done
[[ $# -gt 1 ]] || { echo "on_fresh_machine.sh: no command after --" >&2; exit 2; }
shift
rm -rf "$ORVEX_MACHINE"
"$lay" "${options[@]}"
"$plugin" /regserver
exec "$@"
