#!/usr/bin/env bash
# libFuzzer runs of the file readers and the JSON text, under ASan + UBSan.
#
#   tools/fuzz.sh build                  builds build-fuzz/ with clang
#   tools/fuzz.sh run TARGET [SECONDS]   fuzzes one target (default 600 s)
#   tools/fuzz.sh merge TARGET           minimises the work corpus into tests/fuzz/corpus/
#                                        (files not named by their hash are kept as they are)
#
# TARGET is one of: pcx map include json jsonread image sound font. Runs one fuzzer on
# one core at low priority; findings (crash-*, leak-*, timeout-*, oom-*) land in build-fuzz/findings/.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
CORPUS="$ROOT/tests/fuzz/corpus"
export ASAN_OPTIONS="detect_leaks=1:suppressions=$ROOT/tools/asan.supp"
export LSAN_OPTIONS="suppressions=$ROOT/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

build() {
  CXX=clang++ cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" -j 2
}

target_of() {
  case "$1" in
    pcx | map | include | json | jsonread | image | sound | font) echo "$1" ;;
    *) echo "unknown target: $1 (pcx, map, include, json, jsonread, image, sound, font)" >&2
       exit 2 ;;
  esac
}

cmd="${1:-}"
case "$cmd" in
  build) build ;;
  run)
    t="$(target_of "${2:?target}")"
    secs="${3:-600}"
    mkdir -p "$BUILD/work/$t" "$BUILD/findings/$t"
    cd "$BUILD/findings/$t"
    # Work corpus first: new inputs are written there, never into the tree.
    # The asset decoders promise bounded memory: any allocation past 256 MiB
    # under their small fuzzing limits is a finding.
    case "$t" in image | sound | font) malloc=256 ;; *) malloc=2048 ;; esac
    nice -n 10 "$BUILD/fuzz_$t" "$BUILD/work/$t" "$CORPUS/$t" \
      -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb="$malloc" -max_len=8192 \
      -print_final_stats=1 -jobs=1 -workers=1
    ;;
  merge)
    t="$(target_of "${2:?target}")"
    fresh="$(mktemp -d)"
    # The asset decoders' corpora are the smallest set that reaches every edge
    # (hit counts aside), so they stay a few dozen files.
    case "$t" in
      image | sound | font) how=(-set_cover_merge=1 -use_counters=0) ;;
      *) how=(-merge=1) ;;
    esac
    nice -n 10 "$BUILD/fuzz_$t" "${how[@]}" -timeout=10 -rss_limit_mb=2048 \
      "$fresh" "$CORPUS/$t" "$BUILD/work/$t"
    # Inputs named by hand are regression cases and stay whatever their coverage.
    find "$CORPUS/$t" -type f -regextype egrep -regex '.*/[0-9a-f]{40}' -delete
    cp "$fresh"/* "$CORPUS/$t"/
    rm -rf "$fresh"
    echo "$(ls "$CORPUS/$t" | wc -l) files in $CORPUS/$t"
    ;;
  *) sed -n '2,10p' "${BASH_SOURCE[0]}"; exit 2 ;;
esac
