#!/usr/bin/env bash
# Installs what is missing, builds the library and runs the command-line tool `quindle`: without
# arguments it exports the bundled sample label, bound to its CSV of 40 products, to
# build/products.pdf; with arguments it passes them on (try --help).
# With --designer first it runs the example label designer instead, on the label given after it
# or on the bundled sample label, in the desktop's window system.
platform=${QT_QPA_PLATFORM-}
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_project -DQUINDLE_BUILD_TESTS=OFF
if [ "${1-}" = "--designer" ]; then
  shift
  # The window goes to the desktop, not to the headless platform the tests use.
  if [ -n "$platform" ]; then export QT_QPA_PLATFORM=$platform; else unset QT_QPA_PLATFORM; fi
  if [ -z "${QT_QPA_PLATFORM-}" ] && [ -z "${DISPLAY-}" ] && [ -z "${WAYLAND_DISPLAY-}" ]; then
    echo "The designer needs a desktop (DISPLAY or WAYLAND_DISPLAY); without one, try: xvfb-run -a $0 --designer" >&2
    exit 1
  fi
  exec "$BUILD/examples/quindle-designer" "$@"
fi
if [ $# -eq 0 ]; then
  set -- export "$ROOT/examples/sample/products.json" --output "$BUILD/products.pdf"
fi
"$BUILD/examples/quindle" "$@"
