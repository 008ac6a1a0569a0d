#!/usr/bin/env python3
"""Checks what gizmo-viewer reports on stdout (one JSON object per line)
against the drags that produced it. The expected motion is recomputed here
from the reported camera and the pixels of the press and the release: the
pick ray through each pixel, the drag plane that holds the axis, and the
rule of each drag (displacement along the axis, 5-degree rotation steps,
factor from handle lengths).

  check_viewer.py scripted --viewer BIN --script FILE --out DIR
      runs the viewer headless on FILE and checks a translate along X, a
      rotation about Y, a scale along X, its undo and redo, and the
      snapshots.
  check_viewer.py cancel --viewer BIN --script FILE --out DIR
      runs the viewer headless on FILE and checks that a translate lands
      and that drags cancelled midway (Esc, right press) leave the objects
      as they were and nothing to undo.
  check_viewer.py xvfb --log FILE --press X Y --release X Y
      checks the log of a real-window session: two translates cancelled
      midway that moved nothing, one translate along X from the press to
      the release pixel, then an orbit that moved the handles without a
      manipulation.
"""
import argparse
import json
import math
import os
import struct
import subprocess
import sys

# Positions agree to this many world units (the scene spans about 20; the
# viewer computes in single precision and prints 7 digits).
POSITION_TOLERANCE = 1e-3
# Angles agree to this many radians.
ANGLE_TOLERANCE = 1e-4
# Matrix entries and scale factors agree to this, relative to 1.
MATRIX_TOLERANCE = 1e-3
# Window pixels agree to this (the report prints hundredths).
PIXEL_TOLERANCE = 0.01
# An orbit moves the handles by more than this many pixels.
MIN_ORBIT_PIXELS = 2.0
ROTATION_STEP = math.radians(5.0)
VIEWER_TIMEOUT_SECONDS = 60


class CheckFailed(Exception):
    pass


def require(condition, message):
    if not condition:
        raise CheckFailed(message)


def add(a, b):
    return [x + y for x, y in zip(a, b)]


def sub(a, b):
    return [x - y for x, y in zip(a, b)]


def mul(a, s):
    return [x * s for x in a]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def normalize(a):
    length = math.sqrt(dot(a, a))
    return mul(a, 1.0 / length) if length > 0 else [0.0, 0.0, 0.0]


def close(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def pick_ray(layout, pixel):
    """Eye and unit direction through the centre of a window pixel."""
    width, height = layout["window"]
    camera = layout["camera"]
    x = (pixel[0] + 0.5) / width
    y = (height - pixel[1] - 0.5) / height
    r_min, r_max, u_min, u_max, near = camera["frustum"]
    r = r_min + x * (r_max - r_min)
    u = u_min + y * (u_max - u_min)
    direction = add(add(mul(camera["direction"], near), mul(camera["right"], r)),
                    mul(camera["up"], u))
    return camera["eye"], normalize(direction)


def hit_plane(ray, normal, point):
    origin, direction = ray
    denominator = dot(normal, direction)
    if denominator == 0.0:
        return None
    t = dot(normal, sub(point, origin)) / denominator
    return t, add(origin, mul(direction, t))


def gizmo_axis(layout, axis):
    m = layout["axes"]
    return normalize([m[axis], m[3 + axis], m[6 + axis]])


def displacement_along_axis(layout, axis, press, release):
    """How far the drag moved along the gizmo axis: both pick rays meet the
    plane that holds the axis and faces the press ray most; the hits are
    projected onto the axis."""
    centre = layout["pivot"]
    direction = gizmo_axis(layout, axis)
    press_ray = pick_ray(layout, press)
    plane = None
    for offset in (1, 2):
        normal = gizmo_axis(layout, (axis + offset) % 3)
        hit = hit_plane(press_ray, normal, centre)
        facing = abs(dot(normal, press_ray[1]))
        if hit is not None and hit[0] >= 0 and (plane is None or facing > plane[0]):
            plane = (facing, normal, hit[1])
    require(plane is not None, "the press ray meets no drag plane")
    _, normal, press_hit = plane
    release_hit = hit_plane(pick_ray(layout, release), normal, centre)
    require(release_hit is not None, "the release ray misses the drag plane")
    return dot(sub(release_hit[1], press_hit), direction), direction


def stepped_rotation(layout, axis, press, release):
    """The angle of a rotate drag about the gizmo axis, in whole steps."""
    centre = layout["pivot"]
    normal = gizmo_axis(layout, axis)
    start = hit_plane(pick_ray(layout, press), normal, centre)
    end = hit_plane(pick_ray(layout, release), normal, centre)
    require(start is not None and end is not None, "a rotate ray misses the circle's plane")
    w = normalize(sub(start[1], centre))
    u = normalize(sub(end[1], centre))
    steps = math.atan2(dot(u, cross(normal, w)), dot(w, u)) / ROTATION_STEP
    return math.copysign(math.floor(abs(steps) + 0.5), steps) * ROTATION_STEP, normal


def split_delta(delta):
    require(len(delta) == 16 and delta[12:] == [0, 0, 0, 1], "delta is not a 4x4 affine matrix")
    rows = [delta[0:3], delta[4:7], delta[8:11]]
    return rows, [delta[3], delta[7], delta[11]]


def rotation_angle(rows, axis):
    """Signed angle of a rotation matrix about a unit axis."""
    skew = [rows[2][1] - rows[1][2], rows[0][2] - rows[2][0], rows[1][0] - rows[0][1]]
    trace = rows[0][0] + rows[1][1] + rows[2][2]
    return math.atan2(dot(skew, axis) / 2.0, (trace - 1.0) / 2.0)


def row_major_product(rows, matrix):
    return [dot(rows[i], [matrix[j], matrix[3 + j], matrix[6 + j]]) for i in range(3) for j in range(3)]


def check_translate(event, layout, press, release):
    along, direction = displacement_along_axis(layout, event["axis"], press, release)
    expected = mul(direction, along)
    _, translation = split_delta(event["delta"])
    require(close(translation, expected, POSITION_TOLERANCE),
            "translate delta %s, expected %s" % (translation, expected))
    for item in event["objects"]:
        moved = sub(item["world"]["translation"], item["before"]["translation"])
        require(close(moved, expected, POSITION_TOLERANCE),
                "%s moved by %s, expected %s" % (item["name"], moved, expected))
    return along


def check_rotate(event, layout, press, release):
    angle, normal = stepped_rotation(layout, event["axis"], press, release)
    rows, translation = split_delta(event["delta"])
    applied = rotation_angle(rows, normal)
    require(abs(applied - angle) <= ANGLE_TOLERANCE,
            "rotation of %.4f degrees, expected %.4f" % (math.degrees(applied), math.degrees(angle)))
    steps = applied / ROTATION_STEP
    require(abs(steps - round(steps)) * ROTATION_STEP <= ANGLE_TOLERANCE,
            "rotation of %.4f degrees is not in 5-degree steps" % math.degrees(applied))
    pivot = layout["pivot"]
    image = [dot(row, pivot) for row in rows]
    require(close(add(image, translation), pivot, POSITION_TOLERANCE), "the pivot moved")
    for item in event["objects"]:
        expected = row_major_product(rows, item["before"]["matrix"])
        require(close(item["world"]["matrix"], expected, MATRIX_TOLERANCE),
                "%s was not rotated by the delta" % item["name"])
    return angle


def check_scale(event, layout, press, release):
    axis = event["axis"]
    along, _ = displacement_along_axis(layout, axis, press, release)
    k = along / layout["axisLength"]
    factor = 1.0 + k if k >= 0 else 1.0 / (1.0 - k)
    for item in event["objects"]:
        before, after = item["before"]["matrix"], item["world"]["matrix"]
        for row in range(3):
            gain = factor if row == axis else 1.0
            expected = [gain * x for x in before[3 * row:3 * row + 3]]
            require(close(after[3 * row:3 * row + 3], expected, MATRIX_TOLERANCE),
                    "%s row %d is %s, expected %s (factor %.5f)"
                    % (item["name"], row, after[3 * row:3 * row + 3], expected, factor))
        require(close(item["world"]["translation"], item["before"]["translation"],
                      POSITION_TOLERANCE), "%s moved while scaled" % item["name"])
    return factor


CHECKS = {"translate": check_translate, "rotate": check_rotate, "scale": check_scale}


def read_events(text):
    events = []
    for number, line in enumerate(text.splitlines(), 1):
        if line.strip():
            try:
                events.append(json.loads(line))
            except ValueError:
                raise CheckFailed("line %d is not JSON: %r" % (number, line[:80]))
    return events


def check_png(path, size):
    require(os.path.isfile(path), "missing snapshot %s" % path)
    with open(path, "rb") as f:
        header = f.read(24)
    require(header[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % path)
    require(list(struct.unpack(">II", header[16:24])) == size,
            "%s is not %dx%d" % (path, size[0], size[1]))


def play_script(args):
    """Runs the viewer headless on args.script; its events."""
    os.makedirs(args.out, exist_ok=True)
    for name in os.listdir(args.out):
        if name.endswith(".png"):
            os.remove(os.path.join(args.out, name))
    run = subprocess.run([args.viewer, "--headless", "--script", args.script, "--out", args.out],
                         capture_output=True, text=True, timeout=VIEWER_TIMEOUT_SECONDS,
                         stdin=subprocess.DEVNULL)
    require(run.returncode == 0, "viewer exited with %d: %s" % (run.returncode, run.stderr))
    return read_events(run.stdout)


def check_scripted(args):
    events = play_script(args)

    first = events[0]
    require(first["event"] == "layout" and first["mode"] == "translate"
            and first["selection"] == ["crate"] and first["center"] is not None,
            "the viewer does not start with the crate under a translate gizmo")

    layout = press_layout = press = release = None
    done = []
    for event in events:
        kind = event["event"]
        if kind == "layout":
            layout = event
        elif kind == "input" and event["button"] == "left":
            pixel = (event["x"], event["y"])
            if event["type"] == "press":
                press, press_layout = pixel, layout
            elif event["type"] == "release":
                release = pixel
        elif kind == "manipulation":
            require(event["kind"] in CHECKS, "unknown manipulation %s" % event["kind"])
            result = CHECKS[event["kind"]](event, press_layout, press, release)
            done.append((event["kind"], event["axis"], result, event))
        elif kind in ("undo", "redo"):
            # Bit for bit: the history writes back what it recorded.
            last = done[-1][3]
            state = "before" if kind == "undo" else "world"
            for item, restored in zip(last["objects"], event["objects"]):
                require(restored["world"] == item[state], "%s did not restore %s" % (kind, item["name"]))
        elif kind == "snapshot":
            check_png(event["file"], first["window"])

    require([(k, a) for k, a, _, _ in done] == [("translate", 0), ("rotate", 1), ("scale", 0)],
            "manipulations were %s" % [(k, a) for k, a, _, _ in done])
    require(done[0][2] > 0.1, "the translate drag barely moved (%.4f)" % done[0][2])
    require(abs(done[1][2]) >= ROTATION_STEP, "the rotation applied no step")
    require(done[2][2] > 1.05, "the scale factor %.4f did not grow" % done[2][2])
    require([e["event"] for e in events if e["event"] in ("undo", "redo")] == ["undo", "redo"],
            "expected one undo, then one redo")
    snapshots = [e for e in events if e["event"] == "snapshot"]
    require(len(snapshots) == 5, "expected 5 snapshots, got %d" % len(snapshots))
    with open(snapshots[0]["file"], "rb") as a, open(snapshots[1]["file"], "rb") as b:
        require(a.read() != b.read(), "the frame did not change after the translate")
    print("translate %.4f, rotate %.1f degrees, scale x%.4f: as expected"
          % (done[0][2], math.degrees(done[1][2]), done[2][2]))


def is_left(event, type_):
    return event["event"] == "input" and event["button"] == "left" and event["type"] == type_


def left_drags(events):
    """The events from each left press to its release, both included."""
    drags, current = [], None
    for event in events:
        if is_left(event, "press"):
            current = []
        if current is not None:
            current.append(event)
        if is_left(event, "release") and current is not None:
            drags.append(current)
            current = None
    return drags


def object_centres(layout):
    return {item["name"]: item["center"] for item in layout["objects"]}


def check_cancel(args):
    events = play_script(args)
    landed = [e for e in events if e["event"] == "manipulation"]
    require([(e["kind"], e["axis"]) for e in landed] == [("translate", 0)],
            "manipulations were %s, expected the one translate that was not cancelled"
            % [(e["kind"], e["axis"]) for e in landed])
    landed = landed[0]
    cancels = [e for e in events if e["event"] == "cancel"]
    require([(e["kind"], e["axis"]) for e in cancels]
            == [("translate", 0), ("rotate", 1), ("scale", 0)],
            "cancels were %s" % [(e["kind"], e["axis"]) for e in cancels])

    # Bit for bit as printed: the cancel writes back what the press found,
    # which is where the translate left the objects.
    for cancel in cancels:
        for item, kept in zip(cancel["objects"], landed["objects"]):
            require(item["world"] == item["before"] == kept["world"],
                    "the %s cancel left %s at %s, not at %s"
                    % (cancel["kind"], item["name"], item["world"], kept["world"]))

    # Each cancel comes at its key or right press, midway: after a move of
    # its drag, before the release.
    drags = left_drags(events)
    require(len(drags) == 4, "expected 4 left drags, got %d" % len(drags))
    for drag in drags[1:]:
        marks = [i for i, e in enumerate(drag) if e["event"] == "cancel"]
        require(len(marks) == 1, "a drag held %d cancels" % len(marks))
        before = drag[:marks[0]]
        require(any(e["event"] == "input" and e["type"] == "move" for e in before),
                "a %s was cancelled before it moved" % drag[marks[0]]["kind"])
        right = [i for i, e in enumerate(drag)
                 if e.get("button") == "right" and e["type"] == "press"]
        require(not right or right[0] == marks[0] - 1,
                "the rotate cancel did not come at the right press")

    undone = [i for i, e in enumerate(events) if e["event"] == "undo"]
    require([events[i]["kind"] for i in undone] == ["translate"],
            "two undos gave %s; a cancel must leave no entry" % [events[i]["kind"] for i in undone])
    for item, recorded in zip(events[undone[0]]["objects"], landed["objects"]):
        require(item["world"] == recorded["before"], "undo did not restore %s" % item["name"])

    # Nothing moved after a cancel either: until the undo the objects are on
    # screen where the translate left them.
    layouts = [(i, e) for i, e in enumerate(events) if e["event"] == "layout"]
    after_landing = next(e for i, e in layouts if i > events.index(landed))
    before_undo = [e for i, e in layouts if i < undone[0]][-1]
    for name, centre in object_centres(after_landing).items():
        now = object_centres(before_undo)[name]
        require(close(centre, now, PIXEL_TOLERANCE),
                "%s drifted from %s to %s" % (name, centre, now))
    print("%d cancels left every object in place; the one undo undid the translate" % len(cancels))


def check_xvfb(args):
    with open(args.log) as f:
        events = read_events(f.read())
    manipulations = [i for i, e in enumerate(events) if e["event"] == "manipulation"]
    require(len(manipulations) == 1, "expected one manipulation, got %d" % len(manipulations))
    index = manipulations[0]
    event = events[index]
    require(event["kind"] == "translate" and event["axis"] == 0,
            "the drag was a %s on axis %d" % (event["kind"], event["axis"]))
    cancels = [e for e in events[:index] if e["event"] == "cancel"]
    require([e["kind"] for e in cancels] == ["translate", "translate"],
            "expected two translates cancelled first, got %s" % [e["kind"] for e in cancels])
    for cancel in cancels:
        for item, landed in zip(cancel["objects"], event["objects"]):
            require(item["world"] == item["before"] == landed["before"],
                    "a cancel left %s at %s" % (item["name"], item["world"]))
    before = [e for e in events[:index] if e["event"] == "layout"]
    require(before, "no layout before the drag")
    along = check_translate(event, before[-1], tuple(args.press), tuple(args.release))
    require(along > 0.1, "the object barely moved (%.4f)" % along)

    after = [e for e in events[index:] if e["event"] == "layout"]
    require(len(after) >= 2, "no layout after the orbit")
    moved, orbited = after[0], after[-1]
    require(moved["camera"]["eye"] != orbited["camera"]["eye"], "the right drag left the camera")
    shift = max(math.hypot(a[0] - b[0], a[1] - b[1])
                for a, b in zip(moved["tips"], orbited["tips"]))
    require(shift > MIN_ORBIT_PIXELS, "the handles did not move with the camera")
    print("translate %.4f along X, then an orbit that moved the handles %.1f px" % (along, shift))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("scripted", "cancel"):
        played = commands.add_parser(name)
        played.add_argument("--viewer", required=True)
        played.add_argument("--script", required=True)
        played.add_argument("--out", required=True)
    xvfb = commands.add_parser("xvfb")
    xvfb.add_argument("--log", required=True)
    xvfb.add_argument("--press", type=int, nargs=2, required=True)
    xvfb.add_argument("--release", type=int, nargs=2, required=True)
    args = parser.parse_args()
    try:
        {"scripted": check_scripted, "cancel": check_cancel, "xvfb": check_xvfb}[args.command](args)
    except CheckFailed as failure:
        print("FAILED: %s" % failure, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
