# Sourced: starts and stops a private Xvfb on a free display, local sockets only.
xvfb_start() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -nolisten tcp -screen 0 "${WT_SCREEN:-1920x1080x24}" >/dev/null 2>&1 &
        xvfb_pid=$!
        local i
        # A loaded machine may take a few seconds to bring the display up.
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=
    done
    echo "xvfb: no display could be started" >&2
    return 1
}

xvfb_stop() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
}
