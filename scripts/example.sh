#!/usr/bin/env bash
# Installs what is missing, builds the library and runs the command-line tool `quindle`: without
# arguments it exports the bundled sample label, bound to its CSV of 40 products, to
# build/products.pdf; with arguments it passes them on (try --help).
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=OFF
if [ $# -eq 0 ]; then
  set -- export "$ROOT/examples/sample/products.json" --output "$BUILD/products.pdf"
fi
"$BUILD/examples/quindle" "$@"
