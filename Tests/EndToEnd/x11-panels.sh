#!/usr/bin/env bash
# On a virtual X display with a private session bus and ibus-daemon: Kelvo's input client check must
# type 你好 into a real Qt text field through the X server, and Kelvo's candidate panel must appear
# under the caret of a real Qt text field after Down, its first cell highlighted, at scale 1 and 2; a
# click on its second cell chooses that candidate without taking the keyboard from the field.
# usage: x11-panels.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/scratch-home.sh"
kelvo="$build/Kelvo.app/Contents/MacOS/Kelvo"
"$kelvo" register >/dev/null
# This user once chose 妳 for ㄋㄧˇ, often: the check must still pass, since it types without learned data.
mkdir -p "$XDG_DATA_HOME/Kelvo"
printf '{"ㄋㄧˇ":{"妳":50}}' > "$XDG_DATA_HOME/Kelvo/userphrases.json"

dbus-run-session -- bash -s "$build" "$kelvo" "$XDG_DATA_HOME/Kelvo/ibus-component" <<'SESSION'
set -euo pipefail
build=$1 kelvo=$2
export IBUS_COMPONENT_PATH=$3
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
startVirtualDisplay
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false --cache=none >"$XDG_RUNTIME_DIR/daemon.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
export IBUS_ADDRESS=$(ibus address) QT_IM_MODULE=ibus

# The input client check: press its button, wait for its line.
QT_IM_MODULE=ibus "$kelvo" input-client-check >"$XDG_RUNTIME_DIR/check.out" 2>"$XDG_RUNTIME_DIR/check.err" &
pids+=($!)
window=$(timeout 10 xdotool search --sync --name "Kelvo 輸入連線測試" | head -1)
xdotool mousemove --window "$window" 110 35 click 1
for _ in $(seq 100); do grep -q "個按鍵" "$XDG_RUNTIME_DIR/check.out" && break; sleep 0.1; done
line=$(cat "$XDG_RUNTIME_DIR/check.out")
echo "$line"
case "$line" in
    "PASS：結果「你好」；接收 7/7 個按鍵；來源 org.kelvo.inputmethod.Kelvo") ;;
    *) echo "input client check did not pass"; cat "$XDG_RUNTIME_DIR/check.err"; exit 1 ;;
esac
kill "${pids[2]}"

# The candidate panel under a Qt text field's caret, under an English locale, with Qt (the field and
# the input method's panels) at scale 1 and at 200 %, as a user sets it for the session. Qt reports
# the caret in its own logical pixels, unlike GTK; the panel must land under it at either scale.
kill "${pids[1]}"
for scale in 1 2; do
    unset IBUS_ADDRESS
    LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_SCALE_FACTOR=$scale ibus-daemon --panel=disable --emoji-extension=disable \
        --config=disable --xim=false --cache=none >"$XDG_RUNTIME_DIR/daemon-$scale.log" 2>&1 &
    daemon=$!
    pids+=($daemon)
    for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
    export IBUS_ADDRESS=$(ibus address)
    ibus engine org.kelvo.inputmethod.Kelvo
    LANG=C.UTF-8 LC_ALL=C.UTF-8 KELVO_PANEL_SCALE=$scale QT_SCALE_FACTOR=$scale "$build/Tests/panel-screenshot-client" \
        "$build/Testing/candidate-panel-scale-$scale.png" || { echo "at scale $scale"; exit 1; }
    kill "$daemon"
    wait "$daemon" 2>/dev/null || true
done
SESSION
