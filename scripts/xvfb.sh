# Sourced: start_xvfb starts one Xvfb at 640x480 on a free display and exports
# KELDA_TEST_DISPLAY; stop_xvfb ends it.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || break
    done
    Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X${n}" ] && break
        sleep 0.05
    done
    export KELDA_TEST_DISPLAY=":$n"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
