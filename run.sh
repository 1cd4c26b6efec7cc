#!/usr/bin/env bash
# Installs what is missing, builds and starts Rodelume 2.0. Without a display the program itself says so.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
install_missing "${rodelume_packages[@]}"
# The program alone: the tests and the benchmark are test.sh's.
configure build
cmake --build build --target rodelume --parallel "$(nproc)"
# A root shell outside a desktop session has no runtime folder: the one the toolkit would fall back to, without its
# warning.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -un)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
exec build/runtime/qt/rodelume
