#!/usr/bin/env bash
# GNOME on Wayland, the default desktop of Debian and Ubuntu: a headless GNOME Shell (one virtual
# monitor) in private PID, mount and network namespaces with system and session buses of their own,
# Kelvo installed per user from the build and selected, GTK 4 and GTK 3 document windows as Wayland
# clients, keys typed through a virtual keyboard of the shell. Candidates show in the shell's own
# popup. Checks: each commit lands once, also when the focus moves away in the middle of a
# composition; lists of 1, 9, 16, 17 and 100 candidates expanded and paged commit what kelvo-term
# commits, and the server lives on; a Shift tap switches to English and back; the menu's 設定 opens
# the settings window. Screenshots go to BUILD_DIR/Testing/gnome-wayland-*.png.
# Skips (exit 77) where gnome-shell is not installed or namespaces cannot be made (needs root).
# usage: gnome-wayland.sh BUILD_DIR
set -euo pipefail
self=$(readlink -f "$0")
checkout=$(readlink -f "$(dirname "$self")/../..")

namespace() { # the first process of the namespaces: a private /tmp and system bus, then the session
    mount --make-rprivate /
    # The checkout and the build stay reachable where they lie under /tmp (a clean clone's may).
    local host=/run/kelvo-gnome-wayland-host-tmp
    mkdir -p "$host" && mount --rbind /tmp "$host"
    mount -t tmpfs tmpfs /tmp && chmod 1777 /tmp && mkdir -m 1777 /tmp/.X11-unix
    local path
    for path in "$checkout" "$1"; do
        case $path in /tmp/*) mkdir -p "$path" && mount --bind "$host/${path#/tmp/}" "$path" ;; esac
    done
    mount -t tmpfs tmpfs /run/systemd 2>/dev/null || true
    mkdir -p /run/dbus && mount -t tmpfs tmpfs /run/dbus && dbus-daemon --system --fork >/dev/null 2>&1
    environment "$2" # before the session bus, which starts services (dconf) with it
    exec dbus-run-session -- bash "$self" session "$@"
}

environment() { # environment WORK
    export HOME=$1/home XDG_RUNTIME_DIR=$1/run LANG=C.UTF-8 LC_ALL=C.UTF-8
    export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
    export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME WAYLAND_DISPLAY=wayland-kelvo NO_AT_BRIDGE=1
    export IBUS_COMPONENT_PATH=$XDG_DATA_HOME/Kelvo/ibus-component:/usr/share/ibus/component
    unset DISPLAY QT_IM_MODULE GTK_IM_MODULE XMODIFIERS GSETTINGS_BACKEND
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Kelvo" && chmod 700 "$XDG_RUNTIME_DIR"
}

js() { gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$1"; }

# Keys through a virtual keyboard of the shell: characters, and {Name} for Return, Down, Page_Down,
# Shift (a lone tap).
declare -A named=([Return]=0xff0d [Down]=0xff54 [Page_Down]=0xff56 [Shift]=0xffe1 [BackSpace]=0xff08)
press() {
    local body="" i=0 k
    for k in "$@"; do body+="d.notify_keyval(t + $((i++ * 1000)), $k, Clutter.KeyState.PRESSED); "; done
    for ((k = $#; k >= 1; k--)); do body+="d.notify_keyval(t + $((i++ * 1000)), ${!k}, Clutter.KeyState.RELEASED); "; done
    js "const Clutter = imports.gi.Clutter; if (!global._kelvoKeys) global._kelvoKeys =
        Clutter.get_default_backend().get_default_seat().create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
        let d = global._kelvoKeys; let t = imports.gi.GLib.get_monotonic_time(); $body true" | grep -q true
}
keys() {
    local text=$1
    while [ -n "$text" ]; do
        if [[ $text =~ ^\{([A-Za-z_]+)\}(.*) ]]; then
            [ "${BASH_REMATCH[1]}" = Shift ] && sleep 0.3 # taps are apart from other keys
            press "${named[${BASH_REMATCH[1]}]}"
            text=${BASH_REMATCH[2]}
        else
            press "$(printf '%d' "'${text:0:1}")"
            text=${text:1}
        fi
        sleep 0.08
    done
    sleep 0.5
}

focus() { # the window with this title takes the focus
    js "const w = global.get_window_actors().map(a => a.meta_window).find(w => w.get_title() === '$1');
        w && w.activate(global.get_current_time()); !!w" | grep -q true
    sleep 0.5
}

session() {
    local build=$1 work=$2
    local pids=()
    trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
    "$build/KelvoInstaller.app/Contents/MacOS/KelvoInstaller" --install >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; exit 1; }
    # Learning off: every list is the dictionary's, as kelvo-term --no-learning shows it.
    printf '{"learning": false}\n' >"$XDG_CONFIG_HOME/Kelvo/defaults.json"
    gsettings set org.gnome.desktop.input-sources sources "[('xkb', 'us'), ('ibus', 'org.kelvo.inputmethod.Kelvo')]"
    local extension=$XDG_DATA_HOME/gnome-shell/extensions/eval@kelvo.test
    mkdir -p "$extension" # lets the test use the shell's Eval
    echo '{"uuid":"eval@kelvo.test","name":"eval","description":"test","shell-version":["43","44","45","46","47"]}' \
        >"$extension/metadata.json"
    printf 'function init() {}\nfunction enable() { global.context.unsafe_mode = true; }\nfunction disable() {}\n' \
        >"$extension/extension.js"
    gsettings set org.gnome.shell disable-user-extensions false
    gsettings set org.gnome.shell enabled-extensions "['eval@kelvo.test']"
    gsettings set org.gnome.shell welcome-dialog-last-shown-version '999'
    gnome-shell --headless --wayland --virtual-monitor 1280x800 --wayland-display "$WAYLAND_DISPLAY" \
        >"$work/gnome-shell.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 150); do js 1 2>/dev/null | grep -q true && break; sleep 0.2; done
    js 1 | grep -q true || { tail -20 "$work/gnome-shell.log"; exit 1; }
    sleep 2
    js "imports.ui.main.overview.hide(); const m = imports.ui.status.keyboard.getInputSourceManager();
        Object.values(m.inputSources).find(s => s.id.includes('kelvo')).activate(true); true" | grep -q true
    for toolkit in gtk4 gtk3; do
        GDK_BACKEND=wayland GSK_RENDERER=cairo "$build/Tests/$toolkit-text-client" "kelvo-$toolkit" \
            >"$work/$toolkit.out" 2>"$work/$toolkit.err" &
        pids+=($!)
    done
    for _ in $(seq 50); do [ -s "$work/gtk4.out" ] && [ -s "$work/gtk3.out" ] && break; sleep 0.2; done
    sleep 1
    local failed=0
    expect() { # expect STEP TOOLKIT VIEW
        local want
        want=$(printf 'view=%s\tmarked=\tfield=' "$3")
        for _ in $(seq 30); do [ "$(tail -1 "$work/$2.out")" = "$want" ] && break; sleep 0.1; done
        if [ "$(tail -1 "$work/$2.out")" = "$want" ]; then echo "$2: $1: [$3]"; else
            echo "$2: $1: expected [$3], the window holds [$(tail -1 "$work/$2.out")]"; failed=1; fi
    }
    shot() { gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
        --method org.gnome.Shell.Screenshot.Screenshot false false "$build/Testing/gnome-wayland-$1.png" >/dev/null; }

    focus kelvo-gtk4
    keys 'su3cl3{Return}'
    expect "commit" gtk4 "你好"
    shot commit
    focus kelvo-gtk3; focus kelvo-gtk4
    expect "focus away and back" gtk4 "你好"
    keys 'su3'
    focus kelvo-gtk3
    expect "composition left by the focus" gtk4 "你好你"
    expect "the other window" gtk3 ""
    server=$(pgrep -f 'Kelvo.app/Contents/MacOS/Kelvo' | head -1)

    # Lists of 1, 9, 16, 17 and 100 candidates (ㄅㄞˊ ㄅㄞˋ ㄅㄢ ㄅㄚˋ ㄕˋ), expanded and paged.
    local want=""
    for typed in 196 194 '10 ' 184 g4; do
        keys "$typed{Down}{Down}"
        [ "$typed" = g4 ] && shot expanded
        keys '{Page_Down}{Down}{Return}{Return}'
        want+=$(printf '%s{down}{down}{pgdn}{down}{enter}{enter}\n' "$typed" |
            "$build/Sources/KelvoTerm/kelvo-term" batch --no-learning)
        expect "list of $typed" gtk3 "$want"
    done
    [ "$(pgrep -f 'Kelvo.app/Contents/MacOS/Kelvo' | head -1)" = "$server" ] ||
        { echo "the server did not live through the lists"; failed=1; }

    keys '{Shift}ok{Shift}su3{Return}'
    expect "Shift taps" gtk3 "${want}ok你"

    js "imports.misc.ibusManager.getIBusManager().activateProperty('settings', 0); true" >/dev/null
    local opened=0
    for _ in $(seq 50); do
        js "global.get_window_actors().some(a => a.meta_window.get_title() === 'Kelvo 設定')" | grep -q true &&
            opened=1 && break
        sleep 0.2
    done
    if [ "$opened" = 1 ]; then echo "menu: 設定 opened"; sleep 1; shot settings; else echo "menu: 設定 did not open"; failed=1; fi
    [ "$failed" = 0 ] || { echo "--- shell log"; grep -iv "^$" "$work/gnome-shell.log" | tail -15; exit 1; }
}

case ${1:-} in
namespace) shift; namespace "$@" ;;
session) shift; session "$@" ;;
*)
    build=$(readlink -f "$1")
    command -v gnome-shell >/dev/null || { echo "skipped: gnome-shell is not installed"; exit 77; }
    unshare --pid --mount --net --fork --mount-proc true 2>/dev/null ||
        { echo "skipped: cannot create PID, mount and network namespaces here (needs root)"; exit 77; }
    work="$build/Testing/gnome-wayland"
    rm -rf "$work" && mkdir -p "$work"
    unshare --pid --mount --net --fork --mount-proc bash "$self" namespace "$build" "$work"
    ;;
esac
