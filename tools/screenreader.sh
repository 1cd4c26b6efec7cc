#!/usr/bin/env bash
# Runs a program under the Orca screen reader on a private headless desktop, sends it keys and prints what
# Orca says after each one. tests/screenreader/check.sh uses it to check Rodelume; by hand, for example:
#
#   tools/screenreader.sh -k 'Right Tab space' build/runtime/qt/rodelume
#
#   screenreader.sh [-k KEYS]... [-f SCENARIO] [-t SECONDS] [-d DIR] [-i] [-l LOCALE] PROGRAM [ARG...]
#
#   -k KEYS      keys to send, separated by spaces, in xdotool's names (Right, Page_Down, Tab,
#                shift+Tab, space, Insert+KP_Enter); may be repeated
#   -f SCENARIO  a file with one step a line, after the -k keys: a key as above, "sleep SECONDS",
#                "hold KEY SECONDS" (key down, wait, key up: the X server repeats it after 0.66 s),
#                "burst KEY COUNT" (COUNT presses 30 ms apart) or "run COMMAND" (a shell command run on
#                the private desktop, its output printed with "| " before each line); "#" starts a comment
#   -t SECONDS   the longest wait for speech after one step, whole seconds (default 6)
#   -d DIR       keep the logs (Orca's debug log, speech-dispatcher's, the program's output) in DIR
#   -i           also print "(interrupt)" where Orca cut off speech because of a key press
#   -l LOCALE    the language of the whole desktop, Orca's messages included (default: pt_PT.UTF-8 when
#                that locale exists, C.UTF-8 otherwise, when Orca speaks English)
#
# The transcript goes to standard output, one block a step:
#
#   == start
#   <each utterance that Orca sent to the synthesizer, one a line>
#   == Right
#   ...
#
# A step's block holds what Orca said from the step until it had been silent for 0.8 s. The run as a whole
# is stopped after 240 s.
#
# Needs the Debian packages that tools/setup.sh lists for the tests (orca, speech-dispatcher, espeak-ng,
# at-spi2-core, dbus-daemon, xvfb, xdotool). Speech goes to ALSA's null device: nothing is heard, and no sound
# server is needed.
# Exit status: 0 when every step ran; 1 when something did not start in time or the program ended early;
# 2 for a usage error.
set -uo pipefail

usage() { sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0" >&2; exit 2; }

keys=()
scenario=
step_timeout=6
keep_dir=
show_interrupts=0
lang=
while getopts 'k:f:t:d:il:h' opt; do
    case $opt in
    k) read -r -a more <<<"$OPTARG"; keys+=("${more[@]}") ;;
    f) scenario=$OPTARG ;;
    t) step_timeout=$OPTARG ;;
    d) keep_dir=$OPTARG ;;
    i) show_interrupts=1 ;;
    l) lang=$OPTARG ;;
    *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || usage
[[ $step_timeout =~ ^[0-9]+$ ]] || usage
[ -z "$scenario" ] || [ -r "$scenario" ] || { echo "screenreader: cannot read $scenario" >&2; exit 2; }
program=$(command -v "$1") || { echo "screenreader: no program $1" >&2; exit 2; }
shift
for tool in orca speech-dispatcher Xvfb xdotool dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null || { echo "screenreader: $tool is missing" >&2; exit 2; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "screenreader: $launcher is missing (at-spi2-core)" >&2; exit 2; }
[ -z "$scenario" ] || scenario=$(realpath "$scenario")
[ -z "$keep_dir" ] || { mkdir -p "$keep_dir" && keep_dir=$(realpath "$keep_dir"); } || exit 2

# Orca refuses to start while another Orca of the same user runs, and the services below must not outlive
# the run: so the whole run goes into a PID namespace of its own, whose processes all end with it.
if [ -z "${SCREENREADER_INNER:-}" ]; then
    export SCREENREADER_INNER=1
    args=()
    for k in "${keys[@]}"; do args+=(-k "$k"); done
    [ -z "$scenario" ] || args+=(-f "$scenario")
    [ -z "$keep_dir" ] || args+=(-d "$keep_dir")
    [ "$show_interrupts" = 0 ] || args+=(-i)
    [ -z "$lang" ] || args+=(-l "$lang")
    args+=(-t "$step_timeout" "$program" "$@")
    ns=(unshare --pid --fork --mount-proc --kill-child)
    [ "$(id -u)" -eq 0 ] || ns=(unshare --user --map-root-user --pid --fork --mount-proc --kill-child)
    if "${ns[@]}" true 2>/dev/null; then
        exec timeout -k 5 240 "${ns[@]}" "$0" "${args[@]}"
    fi
    echo "screenreader: no PID namespace here; running without one" >&2
    exec timeout -k 5 240 "$0" "${args[@]}"
fi

start_dir=$PWD
work=$(mktemp -d "${TMPDIR:-/tmp}/screenreader.XXXXXX")
pids=()
cleanup() {
    local p i
    disown -a 2>/dev/null
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    sleep 0.3
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
    if [ -n "$keep_dir" ]; then
        cp -f "$work"/*.log "$keep_dir"/ 2>/dev/null
        cp -rf "$work"/speechd-log "$keep_dir"/ 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# fail MESSAGE [LOG]: says why the run stops, with the end of the log that may tell more.
fail() {
    echo "screenreader: $1" >&2
    [ -z "${2:-}" ] || [ ! -s "$work/$2" ] || { echo "--- end of $2:" >&2; tail -n 15 "$work/$2" | tr -d '\r' >&2; }
    exit 1
}
# wait_for SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export GSETTINGS_BACKEND=memory
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM NO_AT_BRIDGE
# Orca's own messages in the program's language when that locale exists, English otherwise.
have_locale() { locale -a 2>/dev/null | sed 's/utf-\?8$/utf8/I' | grep -qix "$(echo "$1" | sed 's/utf-\?8$/utf8/I')"; }
if [ -n "$lang" ]; then
    have_locale "$lang" || fail "no locale $lang here (see locale -a)"
    export LANG=$lang
elif have_locale pt_PT.UTF-8; then
    export LANG=pt_PT.UTF-8
else
    export LANG=C.UTF-8
fi
unset LC_ALL LANGUAGE

# Display: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 10 grep -q . "$work/display" || fail "Xvfb did not start" xvfb.log
export DISPLAY=:$(head -n1 "$work/display")

# Session bus, then the accessibility bus (the launcher starts its own bus; the registry is activated on it).
dbus-daemon --session --nofork --nopidfile --address="unix:path=$XDG_RUNTIME_DIR/bus" >"$work/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
wait_for 10 dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetId >/dev/null ||
    fail "the session bus did not start" dbus.log
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
wait_for 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null ||
    fail "the accessibility bus did not start" atspi.log

# Speech: espeak-ng to ALSA's null device. With the default output the module tries PulseAudio, fails, and
# Orca stops speaking after a few utterances.
speech_lang=${LANG%%[_.]*}
[ "$speech_lang" != C ] || speech_lang=en
sd=$XDG_CONFIG_HOME/speech-dispatcher
mkdir -p "$sd/modules" "$work/speechd-log"
cp /etc/speech-dispatcher/modules/espeak-ng.conf "$sd/modules/"
cat >"$sd/speechd.conf" <<EOF
LogLevel 3
LogDir "$work/speechd-log"
DefaultVolume 100
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "$speech_lang"
SymbolsPreproc "char"
SymbolsPreprocFile "symbols.dic"
EOF
speech-dispatcher --run-single --timeout 0 --config-dir "$sd" --communication-method unix_socket \
    --socket-path "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" --pid-file "$work/speechd.pid" \
    >"$work/speechd.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
    fail "speech-dispatcher did not start" speechd.log
export SPEECHD_ADDRESS=unix_socket:$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock

# Orca, with settings of its own: no tutorial, no key echo, no braille, no sounds, desktop layout.
prefs=$work/orca
mkdir -p "$prefs"
cat >"$prefs/user-settings.conf" <<'EOF'
{
    "general": {
        "firstStart": false,
        "enableSpeech": true,
        "speechServerFactory": "orca.speechdispatcherfactory",
        "enableTutorialMessages": false,
        "enableKeyEcho": false,
        "enableEchoByCharacter": false,
        "enableEchoByWord": false,
        "enableBraille": false,
        "enableBrailleMonitor": false,
        "enableSound": false,
        "enableMouseReview": false,
        "presentToolTips": false,
        "keyboardLayout": 1,
        "orcaModifierKeys": ["Insert", "KP_Insert"],
        "startingProfile": ["Default", "default"],
        "activeProfile": ["Default", "default"]
    },
    "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {}, "keybindings": {}}},
    "pronunciations": {},
    "keybindings": {}
}
EOF
# Orca writes its debug file through a buffer that it never flushes, except when the file is a terminal:
# so it writes to the terminal of a "script" session, which copies each line to the log as it comes.
log=$work/orca-debug.log
script --quiet --flush --command "exec orca -u $(printf %q "$prefs") --debug-file /dev/tty" "$log" \
    </dev/null >"$work/orca.log" 2>&1 &
orca_pid=$!
pids+=($orca_pid)
wait_for 30 grep -q 'ORCA: Starting registry' "$log" || fail "Orca did not start" orca-debug.log

# utterances FROM: the text of each SPEECH OUTPUT line of the debug log after line FROM. A line holds one
# utterance; the log adds the voice after the closing quote, which is cut off here.
utterances() {
    tail -n +"$(($1 + 1))" "$log" | awk -v interrupts="$show_interrupts" '
        /SPEECH OUTPUT: / {
            s = $0
            sub(/\r$/, "", s)
            sub(/^.*SPEECH OUTPUT: \x27/, "", s)
            sub(/\x27( ?voice=[^{\[]*)?( ?\[?\{.*\}\]?)?$/, "", s)
            print s
        }
        interrupts == 1 && /DEFAULT: Interrupting presentation/ { print "(interrupt)" }'
}
lines() { wc -l <"$log"; }
count_speech() { grep -c 'SPEECH OUTPUT: ' "$log"; }

# settle FROM: waits until Orca has said nothing new for 0.8 s (at least 0.5 s, at most the step timeout),
# then prints what it said after line FROM.
settle() {
    local from=$1 last now quiet=0 waited=0
    last=$(count_speech)
    sleep 0.5
    while [ "$waited" -lt $((step_timeout * 10)) ]; do
        now=$(count_speech)
        if [ "$now" = "$last" ]; then
            quiet=$((quiet + 1))
            [ $quiet -ge 8 ] && break
        else
            quiet=0
            last=$now
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    utterances "$from"
}

# Wait for the startup message to be logged before the program appears, so that it is not in its block.
wait_for 10 grep -q 'SPEECH OUTPUT: ' "$log"
sleep 0.5

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb
from=$(lines)
"$program" "$@" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
window=
find_window() {
    kill -0 "$program_pid" 2>/dev/null || return 0
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | tail -n1)
    [ -n "$window" ]
}
wait_for 20 find_window || fail "the program showed no window in 20 s" program.log
[ -n "$window" ] || fail "the program ended before it showed a window" program.log
# No window manager: give the window the input focus ourselves, as a desktop does when a program starts.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
echo "== start"
settle "$from"

run_step() {
    local step=$1 from
    from=$(lines)
    kill -0 "$program_pid" 2>/dev/null || fail "the program has ended" program.log
    kill -0 "$orca_pid" 2>/dev/null || fail "Orca has ended" orca-debug.log
    read -r -a w <<<"$step"
    case ${w[0]} in
    sleep) echo "== $step"; sleep "${w[1]}" ;;
    run)
        # A command run on the private desktop, for example a look at the accessibility tree.
        echo "== $step"
        (cd "$start_dir" && timeout 20 bash -c "${step#run }") 2>&1 | sed 's/^/| /' ;;
    hold)
        echo "== $step"
        xdotool keydown "${w[1]}"; sleep "${w[2]}"; xdotool keyup "${w[1]}" ;;
    burst)
        echo "== $step"
        local n
        for ((n = 0; n < w[2]; n++)); do xdotool key "${w[1]}"; sleep 0.03; done ;;
    *)
        echo "== $step"
        xdotool key --clearmodifiers "$step" ;;
    esac
    settle "$from"
}

for k in "${keys[@]}"; do run_step "$k"; done
if [ -n "$scenario" ]; then
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%%#*}
        line=${line#"${line%%[![:space:]]*}"}
        line=${line%"${line##*[![:space:]]}"}
        [ -z "$line" ] || run_step "$line"
    done <"$scenario"
fi
exit 0
