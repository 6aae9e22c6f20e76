#!/usr/bin/env bash
# Installs what is missing, builds everything (assertions on) and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps

build_dir=${PICTERN_BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICTERN_ASSERTIONS=ON
cmake --build "$build_dir" --parallel "$jobs"
cd "$build_dir"
ctest --output-on-failure --parallel "$jobs" --timeout 600
