# Shared by run.sh and test.sh: installs the Debian packages that are missing, generates the locales the
# tests run in, then configures and builds. Sourced, not run.

rodelume_packages=(g++ cmake make pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n
    fonts-dejavu-core fonts-liberation)
# What the tests need besides: the users' locales, a real X server, a window manager and tools to act on its
# windows.
rodelume_test_packages=(clang-format locales xvfb xauth xdotool x11-utils openbox)
# The screen-reader check: Orca, speech-dispatcher with espeak-ng, the accessibility bus, a private session bus.
rodelume_test_packages+=(orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng at-spi2-core dbus-daemon)
# The Debian package: its tools and validators, and a headless Wayland compositor to run it on.
rodelume_test_packages+=(dpkg-dev lintian appstream desktop-file-utils imagemagick weston)
# The Windows program: a cross compiler, and Wine with its fonts to run it and its tests.
rodelume_windows_packages=(g++-mingw-w64-x86-64-win32 wine wine64 fonts-wine)
# The benchmark's counters: instructions by callgrind, system calls by strace (bench/bench.cpp).
rodelume_bench_packages=(valgrind strace)
# The locales the tests run in: the users' own, and others with a comma or a separator beyond Latin-1.
rodelume_locales=("pt_PT.UTF-8 UTF-8" "pt_BR.UTF-8 UTF-8" "de_DE.UTF-8 UTF-8" "fr_FR.UTF-8 UTF-8"
    "ar_EG.UTF-8 UTF-8" "fa_IR UTF-8")

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# generate_locales "NAME CHARSET"...: adds the missing ones to /etc/locale.gen and runs locale-gen once.
generate_locales() {
    local have missing=() entry name
    have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    for entry in "$@"; do
        name=$(echo "${entry%% *}" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
        [ "${name#*.}" = "$name" ] && name="$name.utf8" # a name without a charset is UTF-8 here
        grep -qx "$name" <<<"$have" || missing+=("$entry")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Generating locales: ${missing[*]}"
    for entry in "${missing[@]}"; do
        if grep -qE "^# *$entry\$" /etc/locale.gen; then
            as_root sed -i -E "s/^# *($entry)\$/\1/" /etc/locale.gen
        elif ! grep -qx "$entry" /etc/locale.gen; then
            echo "$entry" | as_root tee -a /etc/locale.gen >/dev/null
        fi
    done
    as_root locale-gen >/dev/null
}

# configure DIR [cmake options...]: once; later builds reconfigure themselves when the lists change.
configure() {
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
    fi
}

# build DIR [cmake options...]: configures once, then rebuilds everything incrementally.
build() {
    configure "$@"
    cmake --build "$1" --parallel "$(nproc)"
}
