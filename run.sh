#!/usr/bin/env bash
# Installs what is missing, builds and starts Rodelume 2.0.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
install_missing "${rodelume_packages[@]}"
build build
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "rodelume: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session." >&2
    exit 1
fi
exec build/rodelume
