#!/usr/bin/env bash
# Installs what is missing, builds and starts Rodelume 2.0. Without a display the program itself says so.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
install_missing "${rodelume_packages[@]}"
build build
exec build/runtime/qt/rodelume
