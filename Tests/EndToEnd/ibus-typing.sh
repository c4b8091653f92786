#!/usr/bin/env bash
# End to end on a private session bus: register the built Kelvo.app, start ibus-daemon with the
# component folder that registering wrote, select Kelvo in an input context and type s u 3 c l 3
# Return, then tap Shift and type a: the client must receive the commit 你好 and then the a it typed
# itself in English mode.
# usage: ibus-typing.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/scratch-home.sh"

"$build/Kelvo.app/Contents/MacOS/Kelvo" register
components="$XDG_DATA_HOME/Kelvo/ibus-component"
grep -q "$build/Kelvo.app/Contents/MacOS/Kelvo" "$components/kelvo.xml"

dbus-run-session -- bash -s "$build" "$components" <<'SESSION'
set -euo pipefail
build=$1 components=$2
export IBUS_COMPONENT_PATH="$components"
# A Wayland session whose compositor Qt cannot reach (no X display, no Wayland plugin or socket):
# the server starts without windows and types all the same.
unset DISPLAY
export WAYLAND_DISPLAY=wayland-kelvo-none
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false --cache=none >"$XDG_RUNTIME_DIR/daemon.log" 2>&1 &
daemon=$!
trap 'kill $daemon 2>/dev/null || true' EXIT
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
ibus list-engine | grep org.kelvo.inputmethod.Kelvo >/dev/null || { echo "Kelvo is not among the daemon's engines"; exit 1; }
client="$build/Tests/ibus-typing-client"
expect() { # expect WHAT GOT
    if [ "$2" != "$1" ]; then echo "expected [$1], got [$2]"; exit 1; fi
    echo "committed: $2"
}
started=$(date +%s%N)
expect "你好a" "$("$client" org.kelvo.inputmethod.Kelvo s u 3 c l 3 Return Shift a)"
echo "($(( ($(date +%s%N) - started) / 1000000 )) ms from selecting the engine)"
"$client" org.kelvo.inputmethod.Kelvo Shift >/dev/null # back to Chinese for the next field

# A mixed sentence with a candidate chosen by Down and a digit commits what kelvo-term commits.
want=$(printf 'w96j0 2k7github 12kg <su3{down}2{enter}\n' | "$build/Sources/KelvoTerm/kelvo-term" batch --no-learning)
expect "$want" "$("$client" org.kelvo.inputmethod.Kelvo w96j0 " " 2k7github " " 12kg " " "<" su3 Down 2 Return)"

# The expanded list holds more candidates than an IBus lookup table may: the server shows a part of
# it, lives on, and the one chosen deep in the grid, after paging, is committed.
want=$(printf 'su3{down}{down}{pgdn}{down}{down}{down}{enter}\n' | "$build/Sources/KelvoTerm/kelvo-term" batch --no-learning)
expect "$want" "$("$client" org.kelvo.inputmethod.Kelvo su3 Down Down Page_Down Down Down Down Return Return)"

# A Shift tap switches to English and the letters reach the field; another switches back.
expect "ok你" "$("$client" org.kelvo.inputmethod.Kelvo Shift o k Shift s u 3 Return)"

# With reverse detection on (the settings file changes while the server runs), Zhuyin typed in
# English mode is taken back from the field and composed.
printf '{"reverseDetection": true}\n' > "$XDG_CONFIG_HOME/Kelvo/defaults.json"
expect "你好" "$("$client" org.kelvo.inputmethod.Kelvo Shift s u 3 c l 3 Return)"

# A second server started by hand while IBus runs one ends at once and says why.
set +e
second=$(timeout 10 "$build/Kelvo.app/Contents/MacOS/Kelvo" 2>&1)
status=$?
set -e
[ "$status" -eq 1 ] || { echo "a second server exited with $status: $second"; exit 1; }
case "$second" in *"已在執行"*) echo "second server: $second" ;; *) echo "a second server said: $second"; exit 1 ;; esac
SESSION
