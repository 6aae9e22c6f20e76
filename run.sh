#!/usr/bin/env bash
# Installs what is missing, builds a Release and starts Pictern on its default library.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps

build_dir=${PICTERN_RELEASE_DIR:-build-release}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTERN_ASSERTIONS=OFF \
      -DPICTERN_TESTS=OFF -DPICTERN_BENCH=OFF
cmake --build "$build_dir" --parallel "$(nproc)" --target pictern
exec "$build_dir/src/app/pictern" "$@"
