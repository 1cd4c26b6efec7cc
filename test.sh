#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs the whole test suite headless:
# once as shipped, once with AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows program's under Wine.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
install_missing "${rodelume_packages[@]}" "${rodelume_test_packages[@]}" "${rodelume_windows_packages[@]}"
generate_locales "${rodelume_locales[@]}"
export QT_QPA_PLATFORM=offscreen

mapfile -t sources < <(find app scene runtime tests tools bench -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${sources[@]}"

build build
(cd build && ctest --output-on-failure --parallel "$(nproc)")
# build/deb/rodelume_VERSION_amd64.deb, validated, installed with apt-get, run and purged.
tests/package/check.sh build

# -O1 and line tables only: the sanitizers' reports keep their lines, and the build takes a third less time.
build build-sanitize -DRODELUME_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-sanitize
ctest --output-on-failure --parallel "$(nproc)"
cd ..

# build-windows/rodelume.exe, with the native build's icon generator; its tests in a Wine prefix made for them.
build build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DRODELUME_HOST_BUILD="$PWD/build"
tools/wine.sh session ctest --test-dir build-windows --output-on-failure --parallel "$(nproc)"
