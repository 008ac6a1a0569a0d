#!/usr/bin/env bash
# Drags the X arrow of gizmo-viewer in a real X window (Xvfb, xdotool):
# twice cancelled midway (Escape, right click), then to the end; orbits
# with a right drag elsewhere, quits with Escape, then checks the viewer's
# JSON log with check_viewer.py.
#   xvfb_drag_test.sh VIEWER CHECKER WORKDIR
set -euo pipefail
viewer=$1 checker=$2 work=$3
log=$work/session.jsonl
patience=100 # tenths of a second to wait for the server, the window, a report or the exit
mkdir -p "$work"
rm -f "$work/display" "$log"
viewer_pid= xvfb_pid=
trap 'kill $viewer_pid $xvfb_pid 2>/dev/null || true' EXIT

fail() {
    echo "FAILED: $*" >&2
    cat "$work/viewer.err" >&2 2>/dev/null || true
    exit 1
}
# Waits until the command succeeds, for at most $patience tenths of a second.
wait_for() {
    for ((tries = patience; tries > 0; tries--)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
reported() { [ "$(grep -c "\"event\":\"$1\"" "$log")" -ge "$2" ]; }

# The server picks a free display and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
unset WAYLAND_DISPLAY

"$viewer" --size 800x600 >"$log" 2>"$work/viewer.err" &
viewer_pid=$!
wait_for reported layout 1 || fail "no layout from the viewer"
window=$(timeout 10 xdotool search --sync --onlyvisible --name "^gizmo-viewer$" | head -n 1 || true)
[ -n "$window" ] || fail "no viewer window"
eval "$(xdotool getwindowgeometry --shell "$window")" # sets X and Y

# The press on the X tip of the first layout, then 5 steps 80 pixels along
# the arrow, the last the release.
read -r -a points < <(python3 -c '
import json, math, sys
layout = json.loads(open(sys.argv[1]).readline())
(cx, cy), (tx, ty) = layout["center"], layout["tips"][0]
step = 16 / math.hypot(tx - cx, ty - cy)
print(" ".join("%d %d" % (round(tx + (tx - cx) * step * i), round(ty + (ty - cy) * step * i))
               for i in range(6)))' "$log")

drag_along() {
    for ((i = 0; i < ${#points[@]}; i += 2)); do
        xdotool mousemove --sync $((X + points[i])) $((Y + points[i + 1]))
        [ "$i" -gt 0 ] || xdotool mousedown 1
        sleep 0.05
    done
}
xdotool windowfocus --sync "$window"
drag_along
xdotool key Escape mouseup 1
wait_for reported cancel 1 || fail "Escape did not cancel the drag"
drag_along
xdotool click 3 mouseup 1
wait_for reported cancel 2 || fail "a right click did not cancel the drag"
drag_along
xdotool mouseup 1
wait_for reported manipulation 1 || fail "the drag reported no manipulation"

# Orbit: a right drag across the empty sky in the top-left corner.
xdotool mousemove --sync $((X + 40)) $((Y + 40)) mousedown 3
for dx in 30 60 90 120; do
    xdotool mousemove --sync $((X + 40 + dx)) $((Y + 40 + dx / 4))
done
xdotool mouseup 3
# A frame reports the orbit: the second layout after the drag's line.
orbited() { [ "$(sed -n '/"event":"manipulation"/,$p' "$log" | grep -c '"event":"layout"')" -ge 2 ]; }
wait_for orbited || fail "the orbit reported no layout"

xdotool windowfocus --sync "$window" key Escape
wait_for eval '! kill -0 $viewer_pid 2>/dev/null' || fail "the viewer did not quit on Escape"
wait "$viewer_pid" || fail "the viewer exited with an error"
viewer_pid=
python3 "$checker" xvfb --log "$log" --press "${points[@]:0:2}" --release "${points[@]: -2}"
