#!/usr/bin/env bash
# Kills the real TAMU with SIGKILL at random moments of its close, again and again, and checks
# after each run that TAMU.ini and TAMUTime.log are whole: as they were before the run or fully
# rewritten, never empty, never a mix of old and new keys. The close is started with SIGTERM,
# which closes TAMU as its end button does. Each run starts where the previous one was killed, so
# the lock it left behind must not block the start either.
#
# Usage: tools/killclose.sh [build folder] [runs]      (about a second a run; not part of CI)
set -euo pipefail
build=${1:-build}
runs=${2:-100}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/tamu" "$work/tamu"
mkdir "$work/DAT"
cp "$build/bin/DAT/TAMU_Item.db" "$work/DAT/"
ini="$work/DAT/TAMU.ini"
log="$work/DAT/TAMUTime.log"

# Forms that any write changes (hexadecimal, hours without a leading zero): a file written only
# in part shows it.
old_ini=$'[Controler]\nTop=0x64\nLeft=0xC8\n'
old_log=$'[TAMUTime]\nSetTime=1:02:03\nNowDate=2026/1/5\nNowTime=7:00:00\n'

# old | new | mixed | empty
verdict() {  # file, old content, old values...
  local file=$1 old=$2 content
  shift 2
  content=$(cat "$file"; printf x)
  content=${content%x}
  [ -s "$file" ] || { echo empty; return; }
  [ "$content" = "$old" ] && { echo old; return; }
  for value in "$@"; do
    case $content in *"$value"*) echo mixed; return ;; esac
  done
  echo new
}

# True once the process catches SIGTERM, that is once the controller stands.
catches_term() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (( (0x$mask >> 14) & 1 ))
}

declare -A count=()
failures=0
for ((i = 1; i <= runs; i++)); do
  printf '%s' "$old_ini" >"$ini"
  printf '%s' "$old_log" >"$log"
  QT_QPA_PLATFORM=offscreen "$work/tamu" 2>/dev/null &
  pid=$!
  for ((t = 0; t < 300; t++)); do
    catches_term $pid && break
    sleep 0.02
  done
  if ! catches_term $pid; then
    echo "run $i: TAMU did not start"
    failures=$((failures + 1))
    kill -KILL $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    continue
  fi
  kill -TERM $pid
  sleep "$(printf '0.%03d' $((RANDOM % 40)))"  # the close takes some tens of ms
  kill -KILL $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  a=$(verdict "$ini" "$old_ini" 0x)
  b=$(verdict "$log" "$old_log" =1:02:03 /1/5 =7:00:00)
  count[ini_$a]=$((${count[ini_$a]:-0} + 1))
  count[log_$b]=$((${count[log_$b]:-0} + 1))
  if [[ $a == mixed || $a == empty || $b == mixed || $b == empty ]]; then
    echo "run $i: TAMU.ini $a, TAMUTime.log $b"
    failures=$((failures + 1))
  fi
done

for key in $(printf '%s\n' "${!count[@]}" | sort); do
  printf '%s=%s ' "$key" "${count[$key]}"
done
echo
echo "$runs runs, $failures with a mixed or empty file or no start"
[ "$failures" -eq 0 ]
