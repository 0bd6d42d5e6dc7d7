#!/bin/sh
# Rewrites the recognizers' golden answers (tests/recognizer/golden/cam2.txt and
# tests/recognizer/cam1/golden/cam1.txt) from the build at hand, for a change that is meant to
# alter answers. Usage: tools/regenerate-golden-answers.sh [BUILD_DIR]   (default build-tests-release)
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$source_dir/build-tests-release}
cmake --build "$build_dir" -j4 --target recognizer_tests recognizer_cam1_tests
export QT_QPA_PLATFORM=offscreen
TORVA_GOLDEN_ANSWERS_OUT="$source_dir/tests/recognizer/golden/cam2.txt" \
    "$build_dir/bin/recognizer_tests" --gtest_filter='GoldenAnswers.*'
TORVA_GOLDEN_ANSWERS_OUT="$source_dir/tests/recognizer/cam1/golden/cam1.txt" \
    "$build_dir/bin/recognizer_cam1_tests" --gtest_filter='GoldenAnswers.*'
