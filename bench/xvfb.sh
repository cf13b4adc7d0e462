# Sourced by the start benchmarks: starts Xvfb on a free display for the rest of the script,
# exports DISPLAY for Qt's xcb platform, and waits until the server answers. The caller's EXIT
# trap stops it with stop_xvfb ("$xvfb" holds its process).
#
# A display is free when neither its socket nor its lock file is there: a server of an earlier
# run that is still shutting down keeps its lock, and the new one would find it answering.
display=97
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start on :$display" >&2; exit 1; }

stop_xvfb() {
    kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    return 0
}

# wait_window TITLE PID: returns once a visible window titled TITLE exists, polling every 2 ms
# (xdotool's own --sync looks only every half second); fails when PID ends first.
wait_window() {
    until xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
        if ! kill -0 "$2" 2>/dev/null; then
            local status=0
            wait "$2" || status=$?
            echo "process $2 ended with status $status without a window \"$1\"" >&2
            return 1
        fi
        sleep 0.002
    done
}
