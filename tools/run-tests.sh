#!/usr/bin/env bash
# Builds and runs the whole suite twice: a normal build, then one under AddressSanitizer and
# UndefinedBehaviorSanitizer. Headless: Qt draws offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
# A compiler cache, where the machine has one, makes the second variant and later runs cheap.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
for variant in release asan; do
  dir="build-tests-$variant"
  sanitize=OFF
  [ "$variant" = asan ] && sanitize=ON
  cmake -S . -B "$dir" -DTORVA_SANITIZE=$sanitize -DTORVA_BUILD_BENCH=$([ "$variant" = release ] && echo ON || echo OFF) \
    "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== tests ($variant)"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
done
