#!/usr/bin/env bash
# Makes docs/screenshot.png: starts the demo on a virtual screen, presses
# Enter, plays a few moves and photographs the window.
# Needs a built ledge (BUILD_DIR, default build/), Xvfb, xdotool and ImageMagick.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
OUT="${1:-$ROOT/docs/screenshot.png}"
LEDGE="$BUILD_DIR/ledge"
[[ -x "$LEDGE" ]] || { echo "No $LEDGE: build first (tools/run or cmake --build)." >&2; exit 1; }
LEDGE="$(cd "$(dirname "$LEDGE")" && pwd)/ledge"
case "$OUT" in /*) ;; *) OUT="$PWD/$OUT" ;; esac

if [[ -z "${LEDGE_SHOT_INNER:-}" ]]; then
  export LEDGE_SHOT_INNER=1
  # The window opens lower than centre: a tall screen keeps it whole.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

scratch="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
# A scratch home for the saved best score, so no real one is touched.
export XDG_DATA_HOME="$scratch"
export ALSOFT_CONF="$ROOT/tests/fixtures/alsoft-null.conf"
# The program takes ../data as its data directory: start it from a sibling.
cd "$ROOT/tools"
"$LEDGE" 2>"$scratch/log" &
pid=$!

# The window has no pid property; its class name is the program's.
win=""
for _ in $(seq 100); do
  win="$(xdotool search --classname '^ledge$' 2>/dev/null | tail -n 1 || true)"
  [[ -n "$win" ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if [[ -z "$win" ]]; then
  echo "The game window did not appear:" >&2
  cat "$scratch/log" >&2
  exit 1
fi
xdotool windowfocus --sync "$win"
sleep 1.5
[[ -n "${LEDGE_SHOT_TITLE:-}" ]] && { import -window "$win" "$LEDGE_SHOT_TITLE"; }
xdotool key Return
sleep 3
xdotool key Right
sleep 1.2
xdotool key Up
sleep 0.25
mkdir -p "$(dirname "$OUT")"
import -window "$win" "$OUT"
xdotool key Escape
echo "Wrote $OUT"
