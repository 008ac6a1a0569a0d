#!/usr/bin/env python3
# Checks gizmo-viewer end to end from the JSON lines it prints.
#   check_viewer.py session --viewer BIN --script FILE --out DIR
#     plays FILE headless: each manipulation against the drag recomputed
#     from the reported camera and the pixels of its press and release,
#     cancels against the state they restore, the history, the snapshots and
#     a closing orbit.
#   check_viewer.py extended --viewer BIN --script FILE --out DIR
#     plays extended.txt headless: extended handles, snapping and fading
#     (extended_checks.py).
#   check_viewer.py xvfb --log FILE --press X Y --release X Y --box X0 Y0 X1 Y1
#                   --edit NAME AXIS VALUE
#     the same of the log of a real-window session (xvfb_session_test.sh):
#     the drag, the box, the inspector's edit of one position value.
#   check_viewer.py layout_center --log FILE --center X Y
#     the gizmo's centre in the log's last layout.
#   check_viewer.py bad_input --viewer BIN --out DIR
#     scripts the viewer must refuse, and one at the edge of every bound.
import argparse
import json
import math
import os
import re
import shutil
import subprocess
import sys

from drag_checks import MIN_MOTION, check_rotate, check_scale, check_translate
from editor_checks import EditorChecks
from extended_checks import EXTENDED_KEYS, check_extended_log
from viewer_math import CheckFailed, close, require

MIN_ORBIT_PIXELS = 2.0
PIXEL_TOLERANCE = 0.05  # a point the view keeps in place, pixels
# A run that takes longer has hung: every bound keeps a script well inside
# it, even under the sanitizers.
HANG_SECONDS = 60

# What each session reports, in order: "event kind axis handle", as far as
# given.
SESSION = ["snapshot", "manipulation translate 0 tip0", "snapshot", "cancel translate 0 tip0",
           "manipulation rotate 1 ring1", "snapshot", "cancel rotate 1 ring1",
           "cancel scale 0 tip0", "manipulation scale 0 tip0", "snapshot", "undo scale",
           "snapshot", "redo scale",
           "undo scale", "undo rotate", "undo translate", "selection", "selection", "selection",
           "selection", "edit", "edit", "edit", "undo edit", "redo edit", "undo edit", "edit",
           "snapshot"]
SESSION_BOXES = ["replace", "add", "remove"]
XVFB = ["cancel translate 0 tip0", "cancel translate 0 tip0", "manipulation translate 0 tip0",
        "selection", "edit", "undo edit"]

# Scripts to refuse: the script (or a device to read), the line named and
# words of the message.
REFUSED = [
    (b"frame\ndrag 100 100 200 200 steps 2147483647\n", 2, "'steps N', N from 1 to 10000"),
    (b"drag 100 100 200 200 steps 0\n", 1, "'steps N'"),
    ("/dev/zero", 1, "NUL byte"),
    (b"frame\nmove 1\x002 3\n", 2, "NUL byte"),
    # 16384 lines of 64 bytes fill 1 MiB: the byte past it is on the next.
    ((b"#" * 63 + b"\n") * 16385, 16385, "longer than 1048576 bytes"),
    (b"move 1e30 -1e30\n", 1, "'1e30' is not a number of pixels"),
    (b"move 10 1e400\n", 1, "'1e400' is not a number of pixels"),
    (b"move 1000001 0\n", 1, "'1000001' is not a number of pixels"),
    (b"frame\n\nmove nan nan\n", 3, "'nan' is not a number of pixels"),
    (b"press tip0 along nan\n", 1, "'nan' is not a number of pixels"),
    (b"move tip0 5 inf\n", 1, "'inf' is not a number of pixels"),
    (b"move tip0 5\n", 1, "a number of pixels is missing"),
    (b"move tip0 1000000 0\n", 1, "lies beyond 1000000 pixels"),
    (b"move center along 5\n", 1, "'along' follows a tip"),
    (b"wheel 10 10 17895698\n", 1, "notches from -100 to 100"),
    (b"size 100000 100000\n", 1, "from 1 to 8192 pixels"),
    (b"jump 1 2\n", 1, "unknown command 'jump'"),
    (b"frame\nframe now\n", 2, "unexpected 'now'"),
    (b"move tip7\n", 1, "'tip7' is not a visible handle"),
    (b"key Nope\n", 1, "unknown key 'Nope'"),
    (b"drag 1 1 5 5 steps 10000\n" * 11, 10, "more than 100000 frames"),
    (b"size 8192 8192\n" + b"snapshot big\n" * 3, 4, "pass 200000000 pixels"),
    (b"middledrag 1 1 5 5 steps 0\n", 1, "'steps N'"),
    (b"frame\nedit pyramid position 1 2\n", 2, "edit takes NAME, position, rotation or scale"),
    (b"edit nobody position 1 2 3\n", 1, "no object 'nobody'"),
    (b"edit crate move 1 2 3\n", 1, "position, rotation or scale, not 'move'"),
    (b"edit crate position 1 nan 3\n", 1, "'nan' is not a position from -10000 to 10000"),
    (b"edit crate rotation 0 0 1e400\n", 1, "'1e400' is not an angle in degrees from -3600"),
    (b"edit crate scale 1 0 1\n", 1, "'0' is not a scale from 0.001 to 1000"),
    (b"edit crate scale -1 1 1\n", 1, "'-1' is not a scale"),
    (b"press tip0\nmove tip0 along 20\nedit crate position 1 1 1\n", 3, "while a drag is under way"),
    # A world-axis scale of a turned object shears it: no Euler angles left.
    (b"click @tower\nkey O\nkey R\ndrag tip0 tip0 along 40\nedit tower rotation 0 0 0\n", 5,
     "not a rotation once its columns are normalised"),
    # The opt-in features: words they do not take, steps out of bounds,
    # handles not shown, a switch while a drag is under way.
    (b"handles maybe\n", 1, "handles takes 'extended' or 'specified'"),
    (b"frame\nhandles\n", 2, "handles takes 'extended' or 'specified'"),
    (b"fade on off\n", 1, "fade takes 'on' or 'off'"),
    (b"snap sideways 1\n", 1, "snap takes 'off', or translate, rotate or scale and a step"),
    (b"snap translate\n", 1, "snap takes 'off', or translate, rotate or scale and a step"),
    (b"snap off now\n", 1, "snap takes 'off', or translate, rotate or scale and a step"),
    (b"snap translate -1\n", 1, "'-1' is not a translate step: 0 (free) or from 0.001 to 1000"),
    (b"snap translate 0.0001\n", 1, "'0.0001' is not a translate step"),
    (b"snap rotate nan\n", 1, "'nan' is not a rotate step: 0 (free) or from 0.01 to 360"),
    (b"snap rotate 361\n", 1, "'361' is not a rotate step"),
    (b"snap scale 1e400\n", 1, "'1e400' is not a scale step: 0 (free) or from 0.001 to 100"),
    (b"snap scale inf\n", 1, "'inf' is not a scale step"),
    (b"press plane0\n", 1, "'plane0' is not a visible handle"),
    (b"move viewring\n", 1, "'viewring' is not a visible handle"),
    (b"handles extended\nkey E\nmove plane1\n", 3, "'plane1' is not a visible handle"),
    (b"handles extended\nmove screen along 5\n", 2, "'along' follows a tip"),
    (b"press tip0\nmove tip0 along 20\nhandles extended\n", 3, "handles while a drag is under way"),
    (b"press tip0\nfade on\n", 2, "fade while a drag is under way"),
] + [(b"snapshot %s\n" % name, 1, "not '%s'" % name.decode())
     for name in (b"../x", b"..", b".x", b"a/b", b"/tmp/x")]
# Every bound at its limit, all of which the viewer takes: 10004 moves (two
# of them to extended handles).
EDGE = b"""move 1000000 -1000000
move -1000000 1000000
wheel 400 300 100
wheel 400 300 -100
size 8192 1
size 1 8192
drag 10 10 20 20 steps 10000
size 800 600
snapshot A-z_0.9
snap translate 1000
snap translate 0.001
snap rotate 360
snap rotate 0.01
snap scale 100
snap scale 0.001
snap rotate 0
snap off
click @crate
handles extended
move plane0
move viewring
fade on
"""


CHECKS = {"translate": check_translate, "rotate": check_rotate, "scale": check_scale}


def check_log(text, expected, pixels, editor):
    events = [json.loads(line) for line in text.splitlines() if line.strip()]
    trace = [" ".join(str(e[k]) for k in ("event", "kind", "axis", "handle") if k in e)
             for e in events if e["event"] not in ("layout", "input", "inspector")]
    require(trace == expected, "the viewer reported %s", trace)
    first = events[0]
    require(first["mode"] == "translate" and first["selection"] == ["crate"],
            "the viewer did not start with the crate under a translate gizmo")
    state, done, undone, snapshots = {}, [], [], []
    for i, event in enumerate(events):
        kind = event["event"]
        if kind == "layout":
            # With nothing enabled, the layout is the one it always was.
            require(not any(key in event for key in EXTENDED_KEYS), "a plain layout reports %s",
                    [key for key in EXTENDED_KEYS if key in event])
            layout = event
        elif kind == "input" and event["button"] == "left" and event["type"] != "move":
            pixels[event["type"]] = (event["x"], event["y"])
        elif kind in ("manipulation", "cancel", "edit"):
            # Each starts from the state the last left, bit for bit as printed.
            for item in event["objects"]:
                require(item["before"] == state.setdefault(item["name"], item["before"]),
                        "%s moved between drags", item["name"])
                state[item["name"]] = item["world"]
        editor.see(event, layout, pixels)
        if kind == "manipulation":
            motion = CHECKS[event["kind"]](event, layout, pixels["press"], pixels["release"])
            require(motion > MIN_MOTION, "the %s barely moved (%.4f)", event["kind"], motion)
        if kind in ("manipulation", "edit"):
            done.append(event)
            undone.clear()
        elif kind == "cancel":
            # It writes back what the press found, at its key or right press:
            # after a move of its drag, before the release.
            require(all(item["world"] == item["before"] for item in event["objects"]),
                    "the %s cancel moved the objects", event["kind"])
            last = events[i - 1]
            require(last["event"] != "input" or last["type"] == "move" or last["button"] == "right",
                    "the %s cancel did not come midway through its drag", event["kind"])
        elif kind in ("undo", "redo"):
            # The history writes back what it recorded; a cancel recorded nothing.
            entry = (done if kind == "undo" else undone).pop()
            (undone if kind == "undo" else done).append(entry)
            recorded = "before" if kind == "undo" else "world"
            for item, kept in zip(event["objects"], entry["objects"]):
                require(item["world"] == kept[recorded], "%s did not restore %s", kind, item["name"])
                state[item["name"]] = item["world"]
        elif kind == "snapshot":
            snapshots.append(check_png(event["file"], first["window"]))
    require(len(snapshots) < 2 or snapshots[0] != snapshots[1],
            "the frame did not change after the translate")
    # The last right drag orbits about the selection's centre: the camera
    # moves, and the handles with it, about a gizmo centre that stays put.
    # Scripts report the drag's press; a real window's log reports no input,
    # and the orbit starts from the layout after the last other event.
    presses = [i for i, e in enumerate(events) if e["event"] == "input"
               and e["button"] == "right" and e["type"] == "press"]
    last = max(i for i, e in enumerate(events)
               if e["event"] not in ("layout", "input", "inspector"))
    if presses:
        last = max(i for i, e in enumerate(events[:presses[-1]]) if e["event"] == "layout")
    orbit = [e for e in events[last:] if e["event"] == "layout"]
    shift = max(math.dist(a, b) for a, b in zip(orbit[0]["tips"], orbit[-1]["tips"]))
    require(orbit[0]["camera"]["eye"] != orbit[-1]["camera"]["eye"] and shift > MIN_ORBIT_PIXELS,
            "the right drag moved the handles by %.2f pixels", shift)
    require(close(orbit[0]["center"], orbit[-1]["center"], PIXEL_TOLERANCE),
            "the orbit moved the selection's centre from %s to %s", orbit[0]["center"],
            orbit[-1]["center"])
    return "%d drags, cancels, undos and snapshots as expected; orbit of %.1f pixels; %s" % (
        len(trace), shift, editor.finish())


def check_center(path, center):
    with open(path) as f:
        layout = [json.loads(line) for line in f if '"event":"layout"' in line][-1]
    require(close(layout["center"], center, PIXEL_TOLERANCE), "the gizmo's centre is at %s, not %s",
            layout["center"], center)
    return "the gizmo's centre is at %s" % layout["center"]


def script_edits(path):
    # The script's edit commands, as (name, part, [x, y, z]).
    with open(path) as f:
        words = [line.split("#")[0].split() for line in f]
    return [(w[1], w[2], [float(v) for v in w[3:6]]) for w in words if w and w[0] == "edit"]


def check_png(path, size):
    with open(path, "rb") as f:
        data = f.read()
    require(data[:8] == b"\x89PNG\r\n\x1a\n" and [int.from_bytes(data[i:i + 4], "big")
                                                 for i in (16, 20)] == size,
            "%s is not a %dx%d PNG", path, *size)
    return data


def play(viewer, script, out, *options):
    command = [viewer, "--headless", "--script", script, "--out", out, *options]
    try:
        return subprocess.run(command, capture_output=True, text=True, errors="replace",
                              timeout=HANG_SECONDS, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise CheckFailed("%s: still running after %d s" % (script, HANG_SECONDS))


def script_file(args, number, script):
    if isinstance(script, str):
        return script
    path = os.path.join(args.out, "script-%d.txt" % number)
    with open(path, "wb") as f:
        f.write(script)
    return path


def files_under(folder):
    return {os.path.join(root, name) for root, _, names in os.walk(folder) for name in names}


def check_refused(args, number, script, line, words):
    # Exit status 1 and one message naming the line; nothing written outside --out.
    path, out = script_file(args, number, script), os.path.join(args.out, "frames")
    before = files_under(args.out)
    run = play(args.viewer, path, out)
    said = re.findall(r"^gizmo-viewer: (.*): line (\d+): (.*)$", run.stderr, re.MULTILINE)
    require(run.returncode == 1 and len(said) == 1 and said[0][:2] == (path, str(line))
            and words in said[0][2], "%s: exit %d, said %r; expected line %d and %r",
            path, run.returncode, run.stderr[-400:], line, words)
    strays = [f for f in files_under(args.out) - before if not f.startswith(out + os.sep)]
    require(not strays, "%s: wrote %s outside the output folder", path, strays)
    return "refused: line %d: %s" % (line, said[0][2])


def check_edge(args):
    path, out = script_file(args, 0, EDGE), os.path.join(args.out, "frames")
    # The window's size is an option, refused with status 2 out of bounds.
    for size in ("100000x100000", "0x600", "800x"):
        run = play(args.viewer, path, out, "--size", size)
        require(run.returncode == 2 and "--size takes WIDTHxHEIGHT, each from 1 to 8192"
                in run.stderr, "--size %s: exit %d, %r", size, run.returncode, run.stderr[-400:])
    run = play(args.viewer, path, out)
    moves = run.stdout.count('"type":"move"')
    require(run.returncode == 0 and moves == 10004 and os.path.isfile(os.path.join(out, "A-z_0.9.png")),
            "the edge script exited with %d after %d moves: %s", run.returncode, moves, run.stderr)
    return "--size out of bounds refused; every bound at its limit played"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=("session", "extended", "xvfb", "layout_center",
                                         "bad_input"))
    for option in ("--viewer", "--script", "--out", "--log"):
        parser.add_argument(option)
    parser.add_argument("--press", type=int, nargs=2)
    parser.add_argument("--release", type=int, nargs=2)
    parser.add_argument("--box", type=int, nargs=4)
    parser.add_argument("--center", type=float, nargs=2)
    parser.add_argument("--edit", nargs=3, metavar=("NAME", "AXIS", "VALUE"))
    args = parser.parse_args()
    if args.mode not in ("xvfb", "layout_center"):
        shutil.rmtree(args.out, ignore_errors=True)
        os.makedirs(args.out)
    if args.mode == "session":
        def run_session():
            run = play(args.viewer, args.script, args.out)
            require(run.returncode == 0, "the viewer exited with %d: %s", run.returncode, run.stderr)
            editor = EditorChecks(SESSION_BOXES, script_edits(args.script))
            return check_log(run.stdout, SESSION, {}, editor)
        checks = [run_session]
    elif args.mode == "extended":
        def run_extended():
            run = play(args.viewer, args.script, args.out)
            require(run.returncode == 0, "the viewer exited with %d: %s", run.returncode, run.stderr)
            return check_extended_log(run.stdout)
        checks = [run_extended]
    elif args.mode == "xvfb":
        with open(args.log) as f:
            log = f.read()
        # The inspector's edit: one value of the active object's position.
        name, axis, value = args.edit[0], int(args.edit[1]), float(args.edit[2])
        edit = (name, "position", [value if i == axis else None for i in range(3)])
        editor = EditorChecks(["replace"], [edit], (args.box[:2], args.box[2:]))
        checks = [lambda: check_log(log, XVFB, {"press": args.press, "release": args.release},
                                    editor)]
    elif args.mode == "layout_center":
        checks = [lambda: check_center(args.log, args.center)]
    else:
        checks = [lambda n=n, case=case: check_refused(args, n, *case)
                  for n, case in enumerate(REFUSED, 1)]
        checks.append(lambda: check_edge(args))
    failed = 0
    for check in checks:
        try:
            print(check())
        except CheckFailed as failure:
            print("FAILED: %s" % failure, file=sys.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
