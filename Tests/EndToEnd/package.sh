#!/usr/bin/env bash
# What ships is what is tested: builds the Debian package (twice: the same bytes), checks it with
# lintian (no error, hardened programs), installs and purges it with dpkg in a root of its own,
# unpacks it into a scratch root (dpkg-deb -x) and, from there, types through the Fcitx5 addon and
# the IBus engine on private session buses, into a GTK document window. Under Fcitx5: 你好, the
# list Fcitx5 shows (read by a client that draws it) and a candidate clicked in it, a mixed
# sentence, a Shift tap, reverse detection; under IBus: what was learned under Fcitx5.
# usage: package.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/scratch-home.sh"

deb=$("$here/../../scripts/package" "$build" "$work/out")
again=$("$here/../../scripts/package" "$build" "$work/again")
cmp -s "$deb" "$again" || { echo "two packages of one build differ"; exit 1; }
if command -v lintian >/dev/null; then
    report=$(lintian --fail-on error "$deb" 2>&1) || { echo "$report"; echo "lintian reports errors"; exit 1; }
    case "$report" in *hardening-*) echo "$report"; echo "the programs lack hardening"; exit 1 ;; esac
    echo "lintian: ${report:-nothing to report}"
fi
root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/libexec/kelvo/kelvo usr/lib/x86_64-linux-gnu/fcitx5/kelvo.so usr/share/kelvo/data/data.txt \
            usr/share/ibus/component/kelvo.xml usr/share/fcitx5/addon/kelvo.conf \
            usr/share/fcitx5/inputmethod/kelvo.conf usr/share/man/man1/kelvo-term.1.gz \
            usr/share/applications/ibus-setup-org.kelvo.inputmethod.Kelvo.desktop; do
    [ -e "$root/$file" ] || { echo "the package lacks /$file"; exit 1; }
done
# Installed with dpkg into a root of its own and purged again, it leaves no file behind.
installed="$work/installed"
mkdir -p "$installed/var/lib/dpkg/info" "$installed/var/lib/dpkg/updates"
touch "$installed/var/lib/dpkg/status"
dpkgIn() { dpkg --root="$installed" --force-depends --force-not-root --log=/dev/null "$@" >/dev/null 2>&1; }
dpkgIn -i "$deb"
[ -x "$installed/usr/libexec/kelvo/kelvo" ] || { echo "dpkg did not install the package"; exit 1; }
dpkgIn --purge kelvo
leftovers=$(find "$installed" -path "$installed/var/lib/dpkg" -prune -o ! -type d -print)
[ -z "$leftovers" ] || { echo "left behind after removal: $leftovers"; exit 1; }

expect() { # expect WHAT GOT
    if [ "$2" != "$1" ]; then echo "expected [$1], got [$2]"; exit 1; fi
    echo "committed: $2"
}
export -f expect
export root build

# Fcitx5 with Kelvo in its input method group, the addon and its data found from the unpacked root.
mkdir -p "$XDG_CONFIG_HOME/fcitx5"
printf '[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=keyboard-us\n\n[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=kelvo\nLayout=\n\n[GroupOrder]\n0=Default\n' \
    >"$XDG_CONFIG_HOME/fcitx5/profile"
FCITX_ADDON_DIRS="$root/usr/lib/x86_64-linux-gnu/fcitx5:/usr/lib/x86_64-linux-gnu/fcitx5" \
XDG_DATA_DIRS="$root/usr/share:/usr/share" dbus-run-session -- bash -s "$here" <<'SESSION'
set -euo pipefail
export GTK_IM_MODULE=fcitx
source "$1/text-window.sh"
fcitx5 --disable=all --enable=dbus,dbusfrontend,keyboard,kelvo >"$XDG_RUNTIME_DIR/fcitx5.log" 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT
gdbus wait --session --timeout 10 org.fcitx.Fcitx5
startVirtualDisplay
# The window's input context gets the focus a moment after the window: switch until it has.
kelvo() { for _ in $(seq 50); do fcitx5-remote -s kelvo; [ "$(fcitx5-remote -n)" = kelvo ] && return; sleep 0.1; done; }
expect "你好" "$(typedInWindow kelvo su3cl3 Return)"

# The list Fcitx5 shows: digit labels, the highlight, a next page; a click picks the candidate.
list=$("$build/Tests/fcitx5-typing-client" kelvo su3 Down List Pick1 Return 2>&1 >/dev/null)
case "$list" in *"[1.你] 2.擬"*"<next>"*) echo "$list" ;; *) echo "unexpected list: $list"; exit 1 ;; esac
want=$(printf 'w96j0 2k7github 12kg <su3{down}2{enter}\n' | "$root/usr/bin/kelvo-term" batch --no-learning)
expect "$want" "$(typedInWindow kelvo "w96j0 2k7github 12kg <su3" Down 2 Return)"

# A Shift tap switches to English and the letters reach the document; another switches back.
expect "ok好" "$(typedInWindow kelvo Shift ok Shift cl3 Return)"

# With reverse detection on (the settings file changes while Fcitx5 runs), Zhuyin typed in English
# mode is taken back from the document and composed.
printf '{"reverseDetection": true}\n' >"$XDG_CONFIG_HOME/Kelvo/defaults.json"
expect "你好" "$(typedInWindow kelvo Shift su3cl3 Return)"
grep -q "Loaded addon kelvo" "$XDG_RUNTIME_DIR/fcitx5.log"
SESSION

# IBus with the package's component, its executable path moved into the unpacked root.
components="$work/ibus-component"
mkdir -p "$components"
sed "s#/usr/libexec/kelvo/kelvo#$root/usr/libexec/kelvo/kelvo#g" "$root/usr/share/ibus/component/kelvo.xml" \
    >"$components/kelvo.xml"
IBUS_COMPONENT_PATH="$components" dbus-run-session -- bash -s "$here" <<'SESSION'
set -euo pipefail
export GTK_IM_MODULE=ibus
source "$1/text-window.sh"
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false --cache=none >"$XDG_RUNTIME_DIR/daemon.log" 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep org.kelvo.inputmethod.Kelvo >/dev/null && break; sleep 0.1; done
export IBUS_ADDRESS=$(ibus address) # the window's display is not the daemon's
startVirtualDisplay
# 擬, chosen twice for ㄋㄧˇ under Fcitx5, comes first: both read and write the same learned data.
expect "擬" "$(typedInWindow "ibus engine org.kelvo.inputmethod.Kelvo" su3 Return)"
SESSION
