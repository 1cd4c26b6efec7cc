#!/usr/bin/env bash
# The Debian package, as a school would get it: made by CPack from a built tree, checked by the desktop's, AppStream's
# and Debian's validators, installed with apt-get, its program started from the installed desktop entry on X and on
# Wayland, then purged, which must leave the file system as it found it.
#   tests/package/check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/setup.sh
build=$1

rm -rf "$build/deb"
log=$(cd "$build" && cpack -G DEB 2>&1) || { echo "$log" >&2; exit 1; }
deb=$(echo "$PWD/$build"/deb/rodelume_*_amd64.deb)
[ -f "$deb" ] || { echo "no package in $build/deb" >&2; exit 1; }

desktop-file-validate packaging/rodelume.desktop
appstreamcli validate --pedantic --no-net --no-color packaging/org.example.rodelume.metainfo.xml >/dev/null
lintian --fail-on error "$deb"

# What is on the system, apart from the caches and logs that apt and dpkg keep by themselves.
files() {
    find /usr /etc /opt /var -xdev \( -path /var/cache -o -path /var/log -o -path /var/tmp -o -path /var/lib/apt \) \
        -prune -o -print | sort
}
apt() {
    local said
    said=$(as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 -y -qq "$@" 2>&1) ||
        { echo "$said" >&2; return 1; }
}

dpkg-query -W rodelume >/dev/null 2>&1 && apt purge rodelume # an earlier run that did not finish
before=$(mktemp) after=$(mktemp)
trap 'rm -f "$before" "$after"' EXIT
files >"$before"
apt install --no-install-recommends "$deb"
status=0
RODELUME_PREFIX=/usr "$build/tests/test_startup" turnedByKeys onWayland -silent || status=$?
apt purge rodelume
files >"$after"
if ! diff -u --label installed-before --label purged-after "$before" "$after"; then
    echo "the purge left the system changed" >&2
    exit 1
fi
exit "$status"
