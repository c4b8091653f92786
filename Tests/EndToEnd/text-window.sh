# Sourced by the end-to-end scripts that type as a user does: into a GTK 3 document window on the
# virtual display (startVirtualDisplay first), with real keys through the X server, reading back what
# the document holds. Needs build (the build folder) and GTK_IM_MODULE (the framework's module).
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

# typedInWindow SELECT TOKEN...: opens a fresh document window, runs the command SELECT to switch its
# input method to Kelvo, then types each token: Shift is a lone tap of the left Shift key, Return,
# Down, Page_Down, BackSpace, Escape and Tab are those keys, and anything else is typed character by
# character. Prints what the document holds; marked text left in it is printed after "|marked:".
typedInWindow() {
    local select=$1 out="$XDG_RUNTIME_DIR/window.out" client window token
    shift
    "$build/Tests/gtk3-text-client" kelvo-window >"$out" 2>"$XDG_RUNTIME_DIR/window.err" &
    client=$!
    window=$(timeout 20 xdotool search --sync --name '^kelvo-window$' | head -1)
    xdotool windowfocus --sync "$window"
    $select
    sleep 0.5
    for token in "$@"; do
        case "$token" in
            Shift) sleep 0.2; xdotool key Shift_L; sleep 0.2 ;; # a tap apart from the keys around it
            Return | Down | Page_Down | BackSpace | Escape | Tab) xdotool key "$token" ;;
            *) xdotool type --delay 60 "$token" ;;
        esac
        sleep 0.1
    done
    sleep 0.6
    kill "$client"
    wait "$client" 2>/dev/null || true
    tail -1 "$out" | sed 's/^view=//; s/\tfield=.*$//; s/\tmarked=$//; s/\tmarked=/|marked:/'
}
export -f typedInWindow
