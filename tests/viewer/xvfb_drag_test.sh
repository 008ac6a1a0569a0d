#!/usr/bin/env bash
# Drags the X arrow of gizmo-viewer in a real X window (Xvfb, xdotool):
# twice cancelled midway (Escape, right click), then to the end; orbits
# with a right drag elsewhere, quits with Escape, then checks the viewer's
# JSON log with check_viewer.py.
#   xvfb_drag_test.sh VIEWER CHECKER WORKDIR
set -euo pipefail

viewer=$1
checker=$2
work=$3
# Pixels the drag carries the cursor along the X arrow, and the moves it
# takes to get there.
drag_pixels=80
drag_steps=5
# Seconds to wait for the server, the first layout and the exit.
patience=10

mkdir -p "$work"
log=$work/xvfb-session.jsonl
: >"$log"
xvfb_pid=
viewer_pid=

cleanup() {
    if [ -n "$viewer_pid" ] && kill -0 "$viewer_pid" 2>/dev/null; then
        kill "$viewer_pid" 2>/dev/null || true
        wait "$viewer_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    echo "--- viewer stderr" >&2
    cat "$work/viewer.err" >&2 2>/dev/null || true
    exit 1
}

# Waits until the command succeeds, for at most $patience seconds.
wait_for() {
    local tries=$((patience * 10))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

display=
for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=:$n
        break
    fi
done
[ -n "$display" ] || fail "no free X display"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
unset WAYLAND_DISPLAY
wait_for xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start on $display"

"$viewer" --size 800x600 >"$log" 2>"$work/viewer.err" &
viewer_pid=$!
wait_for grep -q '"event":"layout"' "$log" || fail "no layout from the viewer"
window=$(timeout "$patience" xdotool search --sync --onlyvisible --name '^gizmo-viewer$' | head -n 1)
[ -n "$window" ] || fail "no viewer window"
eval "$(xdotool getwindowgeometry --shell "$window")" # sets X and Y

# Press on the X tip of the first layout, release drag_pixels further along
# the arrow; print the press, the release and the intermediate points.
read -r -a points < <(python3 - "$log" "$drag_pixels" "$drag_steps" <<'PY'
import json, math, sys
layout = next(json.loads(l) for l in open(sys.argv[1]) if '"layout"' in l)
(cx, cy), (tx, ty) = layout["center"], layout["tips"][0]
length = math.hypot(tx - cx, ty - cy)
distance, steps = float(sys.argv[2]), int(sys.argv[3])
points = [(tx + (tx - cx) / length * distance * i / steps,
           ty + (ty - cy) / length * distance * i / steps) for i in range(steps + 1)]
print(" ".join("%d %d" % (math.floor(x + 0.5), math.floor(y + 0.5)) for x, y in points))
PY
)
[ "${#points[@]}" -eq $((2 * drag_steps + 2)) ] || fail "could not read the handles"
press_x=${points[0]}
press_y=${points[1]}
release_x=${points[-2]}
release_y=${points[-1]}

# Presses at the first point and moves through the rest, button held.
drag_along() {
    xdotool mousemove --sync $((X + press_x)) $((Y + press_y))
    sleep 0.2
    xdotool mousedown 1
    sleep 0.1
    for ((i = 2; i < ${#points[@]}; i += 2)); do
        xdotool mousemove --sync $((X + points[i])) $((Y + points[i + 1]))
        sleep 0.05
    done
    sleep 0.1
}
cancels() {
    [ "$(grep -c '"event":"cancel"' "$log")" -ge "$1" ]
}

# The same drag twice, cancelled before the release by Escape, then by a
# right click: the viewer keeps running and reports each cancel.
xdotool windowfocus --sync "$window"
drag_along
xdotool key Escape
xdotool mouseup 1
wait_for cancels 1 || fail "Escape did not cancel the drag"
kill -0 "$viewer_pid" 2>/dev/null || fail "Escape during a drag quit the viewer"
drag_along
xdotool click 3
xdotool mouseup 1
wait_for cancels 2 || fail "a right click did not cancel the drag"

drag_along
xdotool mouseup 1
wait_for grep -q '"event":"manipulation"' "$log" || fail "the drag reported no manipulation"

# Orbit: a right drag across the empty sky in the top-left corner.
xdotool mousemove --sync $((X + 40)) $((Y + 40))
xdotool mousedown 3
for dx in 30 60 90 120; do
    xdotool mousemove --sync $((X + 40 + dx)) $((Y + 40 + dx / 4))
    sleep 0.05
done
xdotool mouseup 3
layouts_after_drag() {
    [ "$(sed -n '/"event":"manipulation"/,$p' "$log" | grep -c '"event":"layout"')" -ge 2 ]
}
wait_for layouts_after_drag || fail "the orbit reported no layout"

xdotool windowfocus --sync "$window"
xdotool key Escape
wait_for bash -c "! kill -0 $viewer_pid 2>/dev/null" || fail "the viewer did not quit on Escape"
wait "$viewer_pid" || fail "the viewer exited with an error"
viewer_pid=

python3 "$checker" xvfb --log "$log" --press "$press_x" "$press_y" \
    --release "$release_x" "$release_y"
