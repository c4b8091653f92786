# Sourced by the end-to-end scripts: a scratch home, data, configuration and runtime folder for one
# run, removed when the script exits, so nothing of the user's own session is read or written.
work=$(mktemp -d)
# A program the session started may still be writing its files as it ends: removal is tried again.
trap 'for _ in 1 2 3 4 5 6; do rm -rf "$work" 2>/dev/null && break; sleep 0.5; done' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export XDG_CACHE_HOME="$work/cache" GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Starts a virtual X display for the session's windows and exports DISPLAY; its process is added to
# the caller's array pids. Exported, so that the scripts' sessions (bash -s) have it. Without
# -noreset the server resets whenever its last client leaves, and a window opened during that reset
# (the next toolkit's, say) finds no display.
startVirtualDisplay() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$XDG_RUNTIME_DIR/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$XDG_RUNTIME_DIR/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$XDG_RUNTIME_DIR/display")"
}
export -f startVirtualDisplay
