#!/usr/bin/env bash
# The demo machine is made from nothing by one command; a second run changes no file. The second
# unit joins the network that is there, once.
set -euo pipefail
tool=$1
export ORVEX_MACHINE=$(mktemp -d)
trap 'rm -rf "$ORVEX_MACHINE"' EXIT
"$tool" | grep -q 'Network "Demo": created'
snapshot() { find "$ORVEX_MACHINE" -type f ! -name '*.lock' -printf '%P %s %T@\n' | sort; }
before=$(snapshot)
"$tool" | grep -q 'Network "Demo": already there'
[ "$before" = "$(snapshot)" ] || { echo "second run changed the machine"; diff <(echo "$before") <(snapshot); exit 1; }
"$tool" --second-unit | grep -q 'Unit "FCU 2": added'
with_second=$(snapshot)
"$tool" --second-unit | grep -q 'Unit "FCU 2": already there'
[ "$with_second" = "$(snapshot)" ] || { echo "second unit laid twice"; exit 1; }
if "$tool" --third-unit >/dev/null 2>&1; then echo "an unknown option was taken"; exit 1; fi
for f in registry.json lns/server.db lns/networks/Demo.db LonWorks/bin/XIF32BIN LonWorks/XIF/OrvexUC_FCU.XIF LonWorks/Types/ResourceCatalog.lst; do
  [ -f "$ORVEX_MACHINE/$f" ] || { echo "missing $f"; exit 1; }
done
echo "1 passed, 0 failed"
