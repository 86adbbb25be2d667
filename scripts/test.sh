#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests, and runs every test: as built, with
# AddressSanitizer and UndefinedBehaviorSanitizer on static libraries (build-asan), the print, export and preview
# tests with ThreadSanitizer (build-tsan), and the seeds of the fuzz targets (build-fuzz). Each
# stage tells how long it took.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Runs a stage and tells its time.
stage() {
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "test.sh: $name took $((SECONDS - start)) s" >&2
}

# The tests ThreadSanitizer runs: printing, exporting and the preview, whose work runs on threads.
TSAN_TESTS='^(Print|DeviceMode|SheetCopies|SheetPainter|BackgroundPrint|Export|XpsWriter|Preview|ShowPreview)'

install_packages
stage "build" build_project -DQUINDLE_BUILD_TESTS=ON "$@"
# The sanitizer builds are optimized lightly and carry line tables only: they compile in about
# half the time of RelWithDebInfo, and a report still names the lines.
SANITIZER_FLAGS=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1")
# The fuzz targets, built with clang (ASan, UBSan, libFuzzer) in a folder of their own; their
# tests run every seed of the corpora once.
BUILD="$ROOT/build-fuzz" stage "fuzz build" build_project -DCMAKE_CXX_COMPILER=clang++-14 \
  -DQUINDLE_FUZZ=ON -DQUINDLE_BUILD_TESTS=OFF "${SANITIZER_FLAGS[@]}"
stage "fuzz seeds" ctest --test-dir "$ROOT/build-fuzz" --output-on-failure -j"$(nproc)"
# The sanitizer build is also the static one: the suite runs on both forms of the libraries.
BUILD="$ROOT/build-asan" stage "asan build" \
  build_project -DQUINDLE_BUILD_TESTS=ON -DQUINDLE_SANITIZE=ON -DBUILD_SHARED_LIBS=OFF "${SANITIZER_FLAGS[@]}"
BUILD="$ROOT/build-tsan" BUILD_TARGETS="label_tests dialogs_tests" stage "tsan build" \
  build_project -DQUINDLE_BUILD_TESTS=ON -DQUINDLE_TSAN=ON "${SANITIZER_FLAGS[@]}"

# The real-printer test prints to a loopback printer simulator through CUPS; without one it
# skips (and fails under CI=true).
trap 'bash "$ROOT/scripts/print-teardown.sh"' EXIT
source "$ROOT/scripts/print-setup.sh" || echo "test.sh: running without the test printer" >&2
stage "tests" ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
# A sanitizer's report fails the test that made it.
LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp" UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  stage "asan tests" ctest --test-dir "$ROOT/build-asan" --output-on-failure -j"$(nproc)"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/scripts/tsan.supp" \
  stage "tsan tests" ctest --test-dir "$ROOT/build-tsan" --output-on-failure -j"$(nproc)" -R "$TSAN_TESTS"
