#!/usr/bin/env bash
# End to end on a private session bus: register the built Kelvo.app, start ibus-daemon with the
# component folder that registering wrote, and type with real keys into a GTK 3 document window on a
# virtual display, as a user does: 你好 and, after a Shift tap, an English letter; a mixed sentence
# with a candidate chosen by Down and a digit; a candidate deep in the expanded list; Zhuyin typed in
# English mode taken back by reverse detection. The document must hold exactly what was meant, with
# no marked text left. A second server started by hand must end at once and say why.
# usage: ibus-typing.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/scratch-home.sh"
export build LANG=C.UTF-8 LC_ALL=C.UTF-8

"$build/Kelvo.app/Contents/MacOS/Kelvo" register
components="$XDG_DATA_HOME/Kelvo/ibus-component"
grep -q "$build/Kelvo.app/Contents/MacOS/Kelvo" "$components/kelvo.xml"

dbus-run-session -- bash -s "$components" "$here" <<'SESSION'
set -euo pipefail
export IBUS_COMPONENT_PATH=$1 GTK_IM_MODULE=ibus
source "$2/text-window.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
# The server starts where no display is reachable (a Wayland session whose compositor Qt cannot
# reach: no X display, no Wayland plugin or socket) and types all the same.
env -u DISPLAY WAYLAND_DISPLAY=wayland-kelvo-none ibus-daemon --panel=disable --emoji-extension=disable \
    --config=disable --xim=false --cache=none >"$XDG_RUNTIME_DIR/daemon.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
ibus list-engine | grep org.kelvo.inputmethod.Kelvo >/dev/null || { echo "Kelvo is not among the daemon's engines"; exit 1; }
export IBUS_ADDRESS=$(ibus address) # the window's display is not the daemon's
startVirtualDisplay
kelvo() { ibus engine org.kelvo.inputmethod.Kelvo; }
expect() { # expect WHAT GOT
    if [ "$2" != "$1" ]; then echo "expected [$1], the document holds [$2]"; exit 1; fi
    echo "typed: $2"
}
batch() { printf '%s\n' "$1" | "$build/Sources/KelvoTerm/kelvo-term" batch --no-learning; }

# A Shift tap switches to English and the letters reach the document; another switches back.
expect "你好ok你" "$(typedInWindow kelvo su3cl3 Return Shift ok Shift su3 Return)"

# A mixed sentence with a candidate chosen by Down and a digit commits what kelvo-term commits.
expect "$(batch 'w96j0 2k7github 12kg <su3{down}2{enter}')" \
    "$(typedInWindow kelvo "w96j0 2k7github 12kg <su3" Down 2 Return)"

# The expanded list holds more candidates than an IBus lookup table may: the server shows a part of
# it, lives on, and the one chosen deep in the grid, after paging, is committed.
expect "$(batch 'su3{down}{down}{pgdn}{down}{down}{down}{enter}')" \
    "$(typedInWindow kelvo su3 Down Down Page_Down Down Down Down Return Return)"

# With reverse detection on (the settings file changes while the server runs), Zhuyin typed in
# English mode is taken back from the document and composed.
printf '{"reverseDetection": true}\n' >"$XDG_CONFIG_HOME/Kelvo/defaults.json"
expect "你好" "$(typedInWindow kelvo Shift su3cl3 Return)"

# A second server started by hand while IBus runs one ends at once and says why.
set +e
second=$(timeout 10 "$build/Kelvo.app/Contents/MacOS/Kelvo" 2>&1)
status=$?
set -e
[ "$status" -eq 1 ] || { echo "a second server exited with $status: $second"; exit 1; }
case "$second" in *"已在執行"*) echo "second server: $second" ;; *) echo "a second server said: $second"; exit 1 ;; esac
SESSION
