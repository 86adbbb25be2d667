#!/usr/bin/env bash
# Installs what is missing, builds the library and runs the example host program.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=OFF
"$BUILD/examples/quindle-info" "$@"
