#!/usr/bin/env bash
# Runs every benchmark in one go and writes the figures to one directory:
# the micro benchmarks, ImageMagick's PCX decoder as a peer figure, and the
# bunnymark scene side by side for ledge, the plain SFML program and LOVE,
# all on one Xvfb with Mesa's software renderer.
#
#   bench/run.sh [--quick] [--out DIR] [--before LEDGE_BINARY]
#
# --before adds a second ledge binary (an older build) to the scene table.
#
# Installs what is missing (build dependencies, love, imagemagick, python3),
# builds into build-bench/ with -DLEDGE_BENCH=ON and takes about 15 minutes
# (--quick: about 3). Benchmarks are not tests: ctest never runs them.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUICK=0
OUT=""
BEFORE=""
while (($#)); do
  case "$1" in
    --quick) QUICK=1 ;;
    --out) OUT="$2"; shift ;;
    --before) BEFORE="$(realpath "$2")"; shift ;;
    *) echo "usage: $0 [--quick] [--out DIR] [--before LEDGE_BINARY]" >&2; exit 2 ;;
  esac
  shift
done

# Everything below runs on one virtual screen of its own.
if [[ -z "${LEDGE_BENCH_XVFB:-}" ]]; then
  export BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
  export CMAKE_ARGS="${CMAKE_ARGS:--DLEDGE_BENCH=ON -DLEDGE_TESTS=OFF}"
  source "$ROOT/tools/setup.sh"
  BENCH_PACKAGES=(love imagemagick python3)
  missing=()
  for p in "${BENCH_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
  args=()
  ((QUICK)) && args+=(--quick)
  [[ -n "$OUT" ]] && args+=(--out "$OUT")
  [[ -n "$BEFORE" ]] && args+=(--before "$BEFORE")
  LEDGE_BENCH_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "${args[@]}"
fi

BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
OUT="${OUT:-$BUILD_DIR/bench-results/$(date -u +%Y%m%d-%H%M%S)}"
mkdir -p "$OUT"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1
export ALSOFT_CONF="$ROOT/tests/fixtures/alsoft-null.conf"

MICRO="$BUILD_DIR/bench/ledge_micro"
SFML="$BUILD_DIR/bench/sfml_bunnymark"
LEDGE="$BUILD_DIR/ledge"
# The versioned name: no wrapper earlier in PATH stands in front of it.
CONVERT="$(command -v convert-im6.q16 || command -v convert)"

if ((QUICK)); then
  REPS=1; MIN_TIME=0.2; RUNS=1; SECONDS_PER_RUN=2; STARTUPS=3; PROBES=1; SHORT=1.5
else
  REPS=5; MIN_TIME=0.5; RUNS=3; SECONDS_PER_RUN=5; STARTUPS=10; PROBES=3; SHORT=3
fi

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit: $(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | xargs), $(nproc) cores"
  echo "memory: $(free -g | awk '/Mem:/ {print $2}') GiB"
  echo "os: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
  echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "love: $(dpkg-query -W -f='${Version}' love), imagemagick: $(dpkg-query -W -f='${Version}' imagemagick)"
  echo "sfml: $(dpkg-query -W -f='${Version}' libsfml-dev), qt: $(dpkg-query -W -f='${Version}' qtscript5-dev)"
} | tee "$OUT/machine.txt"

echo "== micro benchmarks" >&2
"$MICRO" --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
  --benchmark_min_time="$MIN_TIME" --benchmark_out="$OUT/micro.json" \
  --benchmark_out_format=json | tee "$OUT/micro.txt"

echo "== peer PCX decoder" >&2
"$MICRO" --write-pcx "$WORK/big.pcx" 1024 1024
"$MICRO" --write-pcx "$WORK/tiny.pcx" 1 1
python3 - "$CONVERT" "$WORK/big.pcx" "$WORK/tiny.pcx" "$((STARTUPS + 5))" <<'PY' | tee "$OUT/peer-decode.txt"
import statistics, subprocess, sys, time
convert, big, tiny, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def median_time(path):
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        subprocess.run([convert, path, "rgba:-"], stdout=subprocess.DEVNULL, check=True)
        times.append(time.perf_counter() - t)
    return statistics.median(times)
t_big, t_tiny = median_time(big), median_time(tiny)
decode = t_big - t_tiny
print(f"imagemagick convert 1024x1024 pcx -> rgba: {t_big * 1000:.1f} ms per process, "
      f"{t_tiny * 1000:.1f} ms for a 1x1 image; difference {decode * 1000:.1f} ms = "
      f"{4 * 1024 * 1024 / decode / 2**20:.0f} MiB/s of RGBA output")
PY

echo "== bunnymark" >&2
"$SFML" --write-image "$WORK/bunny.png"
"$SFML" --write-image "$WORK/dot.png" 2 2
SCENE=(python3 "$ROOT/bench/scene.py" --ledge "$LEDGE" --sfml "$SFML" --image "$WORK/bunny.png"
       --work "$WORK/scene" --json "$OUT/scene.jsonl")
TABLE=(--image "$WORK/dot.png")
[[ -n "$BEFORE" ]] && TABLE+=(--ledge-before "$BEFORE")
"${SCENE[@]}" "${TABLE[@]}" table --runs "$RUNS" --seconds "$SECONDS_PER_RUN" 2> "$OUT/scene-table.log" | tee "$OUT/scene-table.md"
"${SCENE[@]}" maxn --probes "$PROBES" --short "$SHORT" 2> "$OUT/scene-maxn.log" | tee "$OUT/scene-maxn.txt"
"${SCENE[@]}" startup --runs "$STARTUPS" 2> "$OUT/scene-startup.log" | tee "$OUT/scene-startup.txt"
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$OUT/machine.txt"
echo "results in $OUT" >&2
