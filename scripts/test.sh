#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test:
# the core under GoogleTest (also with AddressSanitizer and UBSan), the page
# scripts in Chromium through Playwright, the real window under QtTest, a
# short run of each fuzz target, the clang-format check, and the Debian
# package (built, checked, installed and started).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export QT_QPA_PLATFORM=offscreen

echo "== format"
scripts/check-format.sh

echo "== build"
scripts/build.sh

echo "== parallel build with CMake's default generator (Unix Makefiles)"
# Only the embedded resources, whose inputs other targets generate (the page
# by tools/pagegen, the pictures by paint_icons): generators other than Ninja
# need those dependencies declared, or a parallel build fails.
cmake -S . -B build-make >/dev/null
cmake --build build-make --target app_resource_objects -j "$jobs"

echo "== core and window tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== core tests with AddressSanitizer and UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DF7301_SANITIZE=ON \
  -DF7301_BUILD_APP=OFF -DF7301_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz targets (short runs; long runs are done by hand)"
scripts/fuzz.sh 20

echo "== page tests in Chromium"
# Debian 12's Node.js 18 has no --test-concurrency; later ones run two files at once.
concurrency=()
node -e 'process.exit(+process.versions.node.split(".")[0] >= 20 ? 0 : 1)' && concurrency=(--test-concurrency=2)
F7301_PAGE_DIR="$PWD/build/page" node --test "${concurrency[@]}" tests/page/

echo "== Debian package: build, check, install, start the installed program"
scripts/package.sh --install
node tests/package/installed_program.mjs /usr/bin/formulario7301
