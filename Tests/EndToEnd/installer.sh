#!/usr/bin/env bash
# The installer end to end, in a scratch home on a private session bus: --install puts Kelvo.app into
# the user's input methods folder and registers it (with a settings command ibus-setup can run, and a
# launcher for GNOME Settings) while ibus-daemon runs, which then starts the installed engine at once
# and 你好 is typed with it into a GTK document window; enabling on an empty source list keeps a
# keyboard layout to switch to; --uninstall removes the bundle and the folders installing made, and
# keeps the user's learned data and shortcuts.
# usage: installer.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/scratch-home.sh"
mkdir -p "$XDG_DATA_HOME/Kelvo"
printf '{"version":1}\n' > "$XDG_DATA_HOME/Kelvo/userphrases.json"
printf '[]\n' > "$XDG_DATA_HOME/Kelvo/customtexts.json"
installed="$XDG_DATA_HOME/Input Methods/Kelvo.app"

dbus-run-session -- bash -s "$build" "$installed" "$here" <<'SESSION'
set -euo pipefail
build=$1 installed=$2
export GTK_IM_MODULE=ibus
source "$3/text-window.sh"
installer="$build/KelvoInstaller.app/Contents/MacOS/KelvoInstaller"
fail() { echo "$1"; exit 1; }
export GSETTINGS_BACKEND=keyfile # settings that last from one process to the next, in the scratch home

# Asked for help, given an unknown option, or with no display for its window, it prints its usage.
for arguments in --help --bogus ""; do
    set +e
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$installer" $arguments 2>&1)
    status=$?
    set -e
    [ "$status" = 2 ] && [[ "$said" == *"用法：KelvoInstaller"* ]] || fail "KelvoInstaller $arguments: $status $said"
done
"$build/Sources/KelvoTerm/kelvo-term" --help | grep "^usage: kelvo-term" >/dev/null || fail "kelvo-term --help"

# The session's daemon runs before the first install, as a user's does, without Kelvo's folder among
# its components and with its usual cache: the install makes Kelvo usable in it at once.
# The keyfile stands in for dconf, which takes one key at a time: a daemon writing its own view of
# the whole file back could undo what the installer wrote, which no real session would see.
export IBUS_COMPONENT_PATH=/usr/share/ibus/component
GSETTINGS_BACKEND=memory ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false >/dev/null 2>&1 &
daemon=$!
trap 'kill $daemon 2>/dev/null || true' EXIT
for _ in $(seq 100); do ibus list-engine >/dev/null 2>&1 && break; sleep 0.1; done
"$installer" --install > "$XDG_RUNTIME_DIR/install.out"
grep -q "^已安裝並驗證完成：" "$XDG_RUNTIME_DIR/install.out" && grep -q "^IBus 已重新載入" "$XDG_RUNTIME_DIR/install.out" ||
    { cat "$XDG_RUNTIME_DIR/install.out"; fail "install did not report success in the running session"; }
[ -x "$installed/Contents/MacOS/Kelvo" ] || fail "nothing installed at $installed"
"$build/Sources/Platform/kelvo-seal" verify "$installed" >/dev/null
grep -q "$installed/Contents/MacOS/Kelvo" "$XDG_DATA_HOME/Kelvo/ibus-component/kelvo.xml" || fail "the engine is not the installed one"
# ibus-setup splits the setup line at spaces, as the folder "Input Methods" has one.
read -r -a setup <<<"$(sed -n 's:.*<setup>\(.*\)</setup>.*:\1:p' "$XDG_DATA_HOME/Kelvo/ibus-component/kelvo.xml")"
[ "${#setup[@]}" = 2 ] && [ "${setup[1]}" = settings ] || fail "setup line: ${setup[*]}"
"${setup[0]}" diagnose | grep "^PASS" >/dev/null || fail "the setup command does not run the installed Kelvo"
grep -q "^Exec=\"$installed/Contents/MacOS/Kelvo\" settings$" \
    "$XDG_DATA_HOME/applications/ibus-setup-org.kelvo.inputmethod.Kelvo.desktop" || fail "no launcher for GNOME Settings"
# The window's background path, run without the window: the same version is kept as it is.
worker=$("$installer" --install-worker-check)
case "$worker" in
    "PASS: GUI background update path"$'\n'"目前已安裝相同版本："*"已驗證檔案完整，保留目前輸入連線。") ;;
    *) fail "worker check said: $worker" ;;
esac

pids=()
startVirtualDisplay
typed=$(IBUS_ADDRESS=$(ibus address) typedInWindow "ibus engine org.kelvo.inputmethod.Kelvo" su3cl3 Return)
kill "${pids[@]}"
[ "$typed" = "你好" ] || fail "the installed engine typed [$typed]"
echo "typed with the installed engine: $typed"

# Enabled on an empty source list, Kelvo comes after a keyboard layout, which stays after removal.
if gsettings list-schemas | grep -x org.gnome.desktop.input-sources >/dev/null; then
    gsettings set org.gnome.desktop.input-sources sources "[]"
    "$installed/Contents/MacOS/Kelvo" enable >/dev/null || fail "enable failed"
    case "$(gsettings get org.gnome.desktop.input-sources sources)" in
        "[('xkb', '"*"'), ('ibus', 'org.kelvo.inputmethod.Kelvo')]") ;;
        *) fail "enabled on an empty list: $(gsettings get org.gnome.desktop.input-sources sources)" ;;
    esac
fi
ibus engine xkb:us::eng 2>/dev/null || true # Kelvo may not be removed while it is the input source (no display for setxkbmap here)
[ "$(ibus engine)" = xkb:us::eng ] || fail "could not switch away from Kelvo"
server=$(pgrep -f "^$installed/Contents/MacOS/Kelvo" | head -1) || fail "the installed server is not running"
# Another program by the same name (an open window, say) is none of the installer's business.
cp "$(command -v sleep)" "$XDG_RUNTIME_DIR/Kelvo"
"$XDG_RUNTIME_DIR/Kelvo" 60 &
bystander=$!
removal=$("$installer" --uninstall 2>&1) || fail "uninstall failed: $removal"
[ "$removal" = "已解除安裝Kelvo。個人設定、學習資料與快捷文字均保留。" ] || fail "uninstall said: $removal"
[ ! -e "$installed" ] || fail "the bundle is still installed"
kill -0 "$bystander" 2>/dev/null || fail "the installer ended a process it does not own"
kill "$bystander"
for _ in $(seq 50); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$server" 2>/dev/null || fail "the installed server still runs"
[ ! -e "$XDG_DATA_HOME/Kelvo/ibus-component/kelvo.xml" ] || fail "the component is still registered"
[ ! -e "$XDG_CONFIG_HOME/environment.d/60-kelvo-ibus.conf" ] || fail "the environment still names the component"
if gsettings list-schemas | grep -x org.gnome.desktop.input-sources >/dev/null; then
    case "$(gsettings get org.gnome.desktop.input-sources sources)" in
        "[('xkb', '"*"')]") ;;
        *) fail "after removal the sources are $(gsettings get org.gnome.desktop.input-sources sources)" ;;
    esac
fi
for folder in "$XDG_DATA_HOME/Input Methods" "$XDG_DATA_HOME/Kelvo/ibus-component" "$XDG_DATA_HOME/applications" \
              "$XDG_CONFIG_HOME/environment.d"; do
    [ ! -e "$folder" ] || fail "left behind: $folder"
done
[ ! -e "$XDG_CONFIG_HOME/Kelvo" ] || [ -n "$(ls -A "$XDG_CONFIG_HOME/Kelvo")" ] || fail "left behind: an empty $XDG_CONFIG_HOME/Kelvo"
[ "$(cat "$XDG_DATA_HOME/Kelvo/userphrases.json")" = '{"version":1}' ] || fail "learned data changed"
[ "$(cat "$XDG_DATA_HOME/Kelvo/customtexts.json")" = '[]' ] || fail "shortcuts changed"
echo "uninstalled; learned data and shortcuts kept"
SESSION
