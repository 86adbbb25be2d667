#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests, and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=ON "$@"
# The fuzz targets, built with clang (ASan, UBSan, libFuzzer) in a folder of their own; their
# tests run every seed of the corpora once.
BUILD="$ROOT/build-fuzz" build_project -DCMAKE_CXX_COMPILER=clang++-14 -DQUINDLE_FUZZ=ON -DQUINDLE_BUILD_TESTS=OFF
ctest --test-dir "$ROOT/build-fuzz" --output-on-failure -j"$(nproc)"
# The real-printer test prints to a loopback printer simulator through CUPS; without one it
# skips (and fails under CI=true).
trap 'bash "$ROOT/scripts/print-teardown.sh"' EXIT
source "$ROOT/scripts/print-setup.sh" || echo "test.sh: running without the test printer" >&2
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
