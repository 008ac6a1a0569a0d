#!/usr/bin/env bash
# Uses gizmo-viewer as a user would, in a real X window (Xvfb, xdotool):
# drags the X arrow, twice cancelled midway (Escape, right click), then to
# the end; box-selects the tower; frames it (F) and pans (middle drag),
# checking where each leaves it on screen; types a new height into the
# inspector's box, Enter, and undoes it (Ctrl+Z); orbits with a right drag;
# quits with Escape; then checks the viewer's JSON log with check_viewer.py.
#   xvfb_session_test.sh VIEWER CHECKER WORKDIR
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
count() { grep -c "\"event\":\"$1\"" "$log" || true; }
reported() { [ "$(count "$1")" -ge "$2" ]; }
# The event reported N times, and the layout of the frame after it too.
settled() {
    reported "$1" "$2" && tac "$log" | sed "/\"event\":\"$1\"/q" | grep -q '"event":"layout"'
}
# Runs the command, then waits for the layout it makes the viewer report.
relaid_by() {
    local layouts
    layouts=$(count layout)
    "$@"
    wait_for reported layout $((layouts + 1))
}
last_layout() { grep '"event":"layout"' "$log" | tail -n 1; }

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

# A box around the tower, from off every handle (the gizmo is on the crate).
read -r -a box < <(last_layout | python3 -c '
import json, sys
layout = json.loads(sys.stdin.readline())
(x, y), = [o["center"] for o in layout["objects"] if o["name"] == "tower"]
print(round(x) - 50, round(y) - 80, round(x) + 50, round(y) + 80)')
xdotool mousemove --sync $((X + box[0])) $((Y + box[1])) mousedown 1
for step in 1 2 3 4; do
    xdotool mousemove --sync $((X + box[0] + (box[2] - box[0]) * step / 4)) \
        $((Y + box[1] + (box[3] - box[1]) * step / 4))
done
xdotool mouseup 1
wait_for settled selection 1 || fail "the box selected nothing"

# F frames the tower in the view's centre; the middle drag carries it along.
relaid_by xdotool key f || fail "F reported no layout"
last_layout | python3 "$checker" layout_center --log /dev/stdin --center 399.5 299.5 ||
    fail "F did not centre the selection"
pan() {
    xdotool mousemove --sync $((X + 400)) $((Y + 300)) mousedown 2
    for dx in 20 40 60; do
        xdotool mousemove --sync $((X + 400 + dx)) $((Y + 300 + dx * 2 / 3))
    done
    xdotool mouseup 2
}
relaid_by pan || fail "the middle drag reported no layout"
last_layout | python3 "$checker" layout_center --log /dev/stdin --center 459.5 339.5 ||
    fail "the middle drag did not pan by the drag"

# The inspector: the tower's height typed into its box, then undone.
read -r bx by < <(grep -m 1 '"event":"inspector"' "$log" | python3 -c '
import json, sys
print(*json.loads(sys.stdin.readline())["boxes"]["position.y"])')
xdotool mousemove --sync $((X + bx)) $((Y + by)) click 1
xdotool key ctrl+a type 2.5
xdotool key Return
wait_for reported edit 1 || fail "the inspector reported no edit"
xdotool key ctrl+z
wait_for settled undo 1 || fail "Ctrl+Z after the edit undid nothing"

# Orbit: a right drag across the sky in the top-left corner; the frame
# after the release reports it.
orbit() {
    xdotool mousemove --sync $((X + 40)) $((Y + 40)) mousedown 3
    for dx in 30 60 90 120; do
        xdotool mousemove --sync $((X + 40 + dx)) $((Y + 40 + dx / 4))
    done
    xdotool mouseup 3
}
relaid_by orbit || fail "the orbit reported no layout"

xdotool windowfocus --sync "$window" key Escape
wait_for eval '! kill -0 $viewer_pid 2>/dev/null' || fail "the viewer did not quit on Escape"
wait "$viewer_pid" || fail "the viewer exited with an error"
viewer_pid=
python3 "$checker" xvfb --log "$log" --press "${points[@]:0:2}" --release "${points[@]: -2}" \
    --box "${box[@]}" --edit tower 1 2.5
