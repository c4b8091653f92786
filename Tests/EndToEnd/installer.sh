#!/usr/bin/env bash
# The installer end to end, in a scratch home on a private session bus: --install puts Kelvo.app into
# the user's input methods folder and registers it, ibus-daemon then starts the installed engine and a
# client types 你好 with it; --uninstall removes the bundle and keeps the user's learned data and
# shortcuts.
# usage: installer.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/scratch-home.sh"
mkdir -p "$XDG_DATA_HOME/Kelvo"
printf '{"version":1}\n' > "$XDG_DATA_HOME/Kelvo/userphrases.json"
printf '[]\n' > "$XDG_DATA_HOME/Kelvo/customtexts.json"
installed="$XDG_DATA_HOME/Input Methods/Kelvo.app"

dbus-run-session -- bash -s "$build" "$installed" <<'SESSION'
set -euo pipefail
build=$1 installed=$2
installer="$build/KelvoInstaller.app/Contents/MacOS/KelvoInstaller"
fail() { echo "$1"; exit 1; }

"$installer" --install > "$XDG_RUNTIME_DIR/install.out"
grep -q "^檔案更新並驗證完成：" "$XDG_RUNTIME_DIR/install.out" || { cat "$XDG_RUNTIME_DIR/install.out"; fail "install did not report success"; }
[ -x "$installed/Contents/MacOS/Kelvo" ] || fail "nothing installed at $installed"
"$build/Sources/Platform/kelvo-seal" verify "$installed" >/dev/null
grep -q "$installed/Contents/MacOS/Kelvo" "$XDG_DATA_HOME/Kelvo/ibus-component/kelvo.xml" || fail "the engine is not the installed one"
# The window's background path, run without the window: the same version is kept as it is.
worker=$("$installer" --install-worker-check)
case "$worker" in
    "PASS: GUI background update path"$'\n'"目前已安裝相同版本："*"已驗證檔案完整，保留目前輸入連線。") ;;
    *) fail "worker check said: $worker" ;;
esac

export IBUS_COMPONENT_PATH="$XDG_DATA_HOME/Kelvo/ibus-component:/usr/share/ibus/component"
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --xim=false --cache=none >/dev/null 2>&1 &
daemon=$!
trap 'kill $daemon 2>/dev/null || true' EXIT
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep -q org.kelvo.inputmethod.Kelvo && break; sleep 0.1; done
typed=$("$build/Tests/ibus-typing-client" org.kelvo.inputmethod.Kelvo s u 3 c l 3 Return)
[ "$typed" = "你好" ] || fail "the installed engine typed [$typed]"
echo "typed with the installed engine: $typed"

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
[ "$(cat "$XDG_DATA_HOME/Kelvo/userphrases.json")" = '{"version":1}' ] || fail "learned data changed"
[ "$(cat "$XDG_DATA_HOME/Kelvo/customtexts.json")" = '[]' ] || fail "shortcuts changed"
echo "uninstalled; learned data and shortcuts kept"
SESSION
