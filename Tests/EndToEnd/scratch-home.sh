# Sourced by the end-to-end scripts: a scratch home, data, configuration and runtime folder for one
# run, removed when the script exits, so nothing of the user's own session is read or written.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export XDG_CACHE_HOME="$work/cache" GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
