#!/usr/bin/env bash
# TAMU ended by SIGTERM while its start-up import runs: the import command must end with it, so
# that no second import runs into the same database at the next start. The command here stands
# in for tamu-import-mdb and only notes its process id and waits.
#
# Usage: endswithtamu.sh <tamu>
set -euo pipefail
tamu=$1
work=$(mktemp -d)
trap 'kill -KILL "$(cat "$work/importer.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$tamu" "$work/tamu"
mkdir "$work/DAT"
cp "$(dirname "$tamu")/DAT/TAMU_Item.db" "$work/DAT/"
head -c 8192 /dev/urandom >"$work/DAT/TAMU_Item.mdb"
cat >"$work/tamu-import-mdb" <<'SCRIPT'
#!/bin/sh
echo $$ >"$(dirname "$0")/importer.pid"
exec sleep 60
SCRIPT
chmod +x "$work/tamu-import-mdb"

QT_QPA_PLATFORM=offscreen "$work/tamu" &
tamu_pid=$!
for ((i = 0; i < 200; i++)); do
  [ -s "$work/importer.pid" ] && break
  sleep 0.05
done
[ -s "$work/importer.pid" ] || { echo "the import never started"; exit 1; }
importer=$(cat "$work/importer.pid")
kill -TERM "$tamu_pid"
wait "$tamu_pid" || true
for ((i = 0; i < 100; i++)); do
  kill -0 "$importer" 2>/dev/null || { echo "the import ended with TAMU"; exit 0; }
  sleep 0.05
done
echo "the import (process $importer) still runs after TAMU ended"
exit 1
