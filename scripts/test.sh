#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests, and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=ON "$@"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
