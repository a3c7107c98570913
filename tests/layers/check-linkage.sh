#!/usr/bin/env bash
# check-linkage.sh --no-gui <program>... --no-widgets <program>...
# Fails when a program loads a Qt library its layer must not: Qt Widgets for either list, Qt Gui
# (and what needs it) for the first.
set -uo pipefail
forbidden=""
status=0
for arg in "$@"; do
  case "$arg" in
    --no-gui) forbidden='libQt6(Gui|Widgets|OpenGL|DBus)\.so' ;;
    --no-widgets) forbidden='libQt6Widgets\.so' ;;
    *)
      if [ -z "$forbidden" ]; then
        echo "usage: $0 --no-gui <program>... --no-widgets <program>..." >&2
        exit 2
      fi
      if ! libraries=$(ldd "$arg" 2>&1); then
        echo "$arg: ldd failed: $libraries"
        status=1
        continue
      fi
      if loaded=$(grep -oE "$forbidden" <<<"$libraries" | sort -u | tr '\n' ' ') && [ -n "$loaded" ]; then
        echo "$(basename "$arg") loads $loaded"
        status=1
      fi
      ;;
  esac
done
[ $status -eq 0 ] && echo "every program keeps to its layer"
exit $status
