#!/usr/bin/env bash
# Document windows of GTK 3, GTK 4 and Qt on a virtual X display, typed into with real keys (XTEST)
# through a framework on a private session bus: IBus with the registered build, or Fcitx5 with the
# addon installed from the build into a scratch root. In each window: commit, move the focus away and
# back, click, press arrows, switch the input source away and back, and leave a composition in each of
# these ways: the document must hold each committed text exactly once, and no marked text may stay.
# usage: [TOOLKITS="gtk3 gtk4 qt"] toolkit-typing.sh BUILD_DIR ibus|fcitx5
set -euo pipefail
build=$1 framework=$2
source "$(dirname "$0")/scratch-home.sh"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 NO_AT_BRIDGE=1 GSK_RENDERER=cairo GDK_BACKEND=x11 QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
export build framework

if [ "$framework" = ibus ]; then
    "$build/Kelvo.app/Contents/MacOS/Kelvo" register >/dev/null
    export IBUS_COMPONENT_PATH="$XDG_DATA_HOME/Kelvo/ibus-component:/usr/share/ibus/component"
else
    DESTDIR="$work/root" cmake --install "$build" >/dev/null
    libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
    prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
    export FCITX_ADDON_DIRS="$work/root$prefix/$libdir/fcitx5:/usr/lib/x86_64-linux-gnu/fcitx5"
    export XDG_DATA_DIRS="$work/root$prefix/share:/usr/share"
    mkdir -p "$XDG_CONFIG_HOME/fcitx5"
    printf '[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=kelvo\n\n[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=kelvo\nLayout=\n\n[GroupOrder]\n0=Default\n' \
        >"$XDG_CONFIG_HOME/fcitx5/profile"
fi

dbus-run-session -- bash -s <<'SESSION'
set -euo pipefail
run=$XDG_RUNTIME_DIR
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
startVirtualDisplay

if [ "$framework" = ibus ]; then
    ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false --cache=none \
        >"$run/framework.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
    export GTK_IM_MODULE=ibus QT_IM_MODULE=ibus
    kelvoSource() { ibus engine org.kelvo.inputmethod.Kelvo; }
    otherSource() { ibus engine xkb:us::eng; }
else
    fcitx5 --disable=all --enable=dbus,dbusfrontend,keyboard,kelvo >"$run/framework.log" 2>&1 &
    pids+=($!)
    gdbus wait --session --timeout 10 org.fcitx.Fcitx5 # without starting another through D-Bus
    export GTK_IM_MODULE=fcitx QT_IM_MODULE=fcitx
    kelvoSource() { fcitx5-remote -s kelvo; }
    otherSource() { fcitx5-remote -s keyboard-us; }
fi

failed=0
for toolkit in ${TOOLKITS:-gtk3 gtk4 qt}; do
    out="$run/$toolkit.out"
    "$build/Tests/$toolkit-text-client" "kelvo-$toolkit" >"$out" 2>"$run/$toolkit.err" &
    client=$!
    window=$(timeout 20 xdotool search --sync --name "^kelvo-$toolkit\$" | head -1)
    # Without a window manager the window is focused by hand, then clicked into.
    xdotool windowfocus --sync "$window"
    at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
    view() { at 300 60; xdotool key ctrl+End; sleep 0.2; }
    field() { at 300 290; }
    keys() { xdotool key --delay 60 "$@"; sleep 0.6; }
    state() { tail -1 "$out"; }
    expect() { # expect STEP VIEW
        local want
        want=$(printf 'view=%s\tmarked=\tfield=' "$2")
        for _ in $(seq 20); do [ "$(state)" = "$want" ] && break; sleep 0.1; done
        if [ "$(state)" = "$want" ]; then echo "$toolkit: $1: [$2]"; else
            echo "$toolkit: $1: expected [$2], the window holds [$(state)]"; failed=1; fi
    }
    view
    kelvoSource
    sleep 0.5
    keys s u 3 c l 3 Return
    expect "commit" "你好"
    field; view
    expect "focus away and back" "你好"
    at 20 20
    expect "click" "你好"
    keys Left Right
    expect "arrows" "你好"
    otherSource; sleep 0.5; kelvoSource; sleep 0.5
    expect "input source switched" "你好"
    view
    keys s u 3
    field; view
    expect "composition left by the focus" "你好你"
    # GTK 4 drops its marked text when a click resets the composition; Fcitx5 does not tell which
    # toolkit a client is (IBus does), so there the composition is committed before the click.
    if [ "$framework$toolkit" = fcitx5gtk4 ]; then keys s u 3 Return; else keys s u 3; fi
    view
    expect "composition left by a click" "你好你你"
    # Qt's IBus module inserts marked text itself when it resets a composition, so the daemon must not
    # also insert it, and nobody does when the input source changes under it: Qt is spared that step.
    if [ "$framework$toolkit" != ibusqt ]; then
        keys c l 3
        otherSource; sleep 0.5; kelvoSource; sleep 0.5
        expect "composition left by switching the input source" "你好你你好"
    else
        keys c l 3 Return
    fi
    keys space BackSpace
    expect "after more keys" "你好你你好"
    kill "$client"; wait "$client" 2>/dev/null || true
done
[ "$failed" = 0 ] || { echo "--- framework log"; grep -v "received input\\|engine result\\|Preedit delivered" "$run/framework.log" | tail -40; exit 1; }
SESSION
