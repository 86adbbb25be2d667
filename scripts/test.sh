#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests, and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=ON "$@"
# The real-printer test prints to a loopback printer simulator through CUPS; without one it
# skips (and fails under CI=true).
trap 'bash "$ROOT/scripts/print-teardown.sh"' EXIT
source "$ROOT/scripts/print-setup.sh" || echo "test.sh: running without the test printer" >&2
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
