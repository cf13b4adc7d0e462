# Sourced by the start benchmarks: starts Xvfb on a display it picks itself for the rest of the
# script, exports DISPLAY for Qt's xcb platform once the server accepts connections, and gives
# stop_xvfb for the caller's EXIT trap ("$xvfb" holds its process).
#
# Xvfb picks a free display and names it when it is ready (-displayfd): choosing a number by the
# files in /tmp raced with a server of an earlier run that was still shutting down.
xvfb_display_file=$(mktemp)
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$xvfb_display_file" 2>/dev/null &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$xvfb_display_file" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
done
[ -s "$xvfb_display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$xvfb_display_file") QT_QPA_PLATFORM=xcb
rm -f "$xvfb_display_file"

# The maps of top-level windows, as one client listening on the root window reports them: a
# start is timed by its MapNotify without any client polling the server (a new connection every
# few milliseconds filled the server's queue so that a starting program was refused).
xvfb_events=$(mktemp)
stdbuf -oL xev -root -event substructure >"$xvfb_events" 2>/dev/null &
xev_watch=$!
for _ in $(seq 100); do [ -s "$xvfb_events" ] && break; sleep 0.02; done

stop_xvfb() {
    kill "$xev_watch" 2>/dev/null
    kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -f "$xvfb_events"
    return 0
}

# map_count: how many windows have been mapped so far.
map_count() { grep -c '^MapNotify' "$xvfb_events" || true; }

# wait_mapped COUNT PID: returns once more than COUNT windows have been mapped; fails when PID
# ends first.
wait_mapped() {
    while [ "$(map_count)" -le "$1" ]; do
        if ! kill -0 "$2" 2>/dev/null; then
            local status=0
            wait "$2" || status=$?
            echo "process $2 ended with status $status before its window was mapped" >&2
            return 1
        fi
        sleep 0.002
    done
}
