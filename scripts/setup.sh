#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12) and builds the project.
# Sourced by example.sh and test.sh; BUILD names the build folder (default: build).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}

PKGS=(
  cmake g++ pkgconf ccache
  qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools
  libzint-dev libzxing-dev nlohmann-json3-dev libgif-dev
  libzip-dev zipcmp zipmerge ziptool libcurl4-openssl-dev
  libcups2-dev cups cups-ipp-utils ghostscript dbus-daemon
  libgxps-utils poppler-utils fonts-liberation2 fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool doxygen
  clang-14 libclang-rt-14-dev
)

missing_packages() {
  local p
  for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 $missing >/dev/null
}

build_project() {
  export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/quindle-ccache}
  export CCACHE_BASEDIR=$ROOT
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
  # BUILD_TARGETS: only these targets (all by default).
  # shellcheck disable=SC2086
  cmake --build "$BUILD" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
