# The checks of check_viewer.py for extended.txt: extended handles,
# snapping steps and edge-on fading. Each drag is recomputed from pick rays
# through the pixels its press and release reported (drag_checks.py); each
# layout's extra handles are found again by casting a ray through their
# pixels.
import json
import math

from drag_checks import (DEFAULT_ROTATE_STEP, GIZMO_PIXELS, MIN_MOTION, check_plane,
                         check_rotate, check_scale, check_screen, check_trackball,
                         check_translate, check_uniform_scale, check_view_ring, gizmo_axis,
                         require_snapping_shows)
from viewer_math import dot, hit, pick_ray, require, sub

# What a layout reports only with extended handles or fading on.
EXTENDED_KEYS = ("planes", "screen", "viewRing", "faded")
# The centre of a plane square, in axis lengths along each of its axes;
# the view ring's radius in the same unit.
PLANE_SQUARE_CENTRE = 0.425
VIEW_RING_RADIUS = 1.25
# Pixels printed to a hundredth agree to this.
PIXEL_TOLERANCE = 0.011
# A world point found again through its reported pixel agrees to this,
# relative to the axis length (pixels are printed to a hundredth).
LAYOUT_TOLERANCE = 2e-3
# A rotation after snap off must not pass for one in these steps.
FORMER_ROTATE_STEP = math.radians(30.0)


def snapped_rotate(degrees):
    return lambda *drag: check_rotate(*drag, step=math.radians(degrees))


def step_of(check, step):
    return lambda *drag: check(*drag, step=step)


def free_despite(step):
    # Ctrl held at the press: the drag ignores the step, which it would
    # have shown.
    def check(*drag):
        moved = check_translate(*drag, step=0)
        require_snapping_shows(moved, step)
        return moved
    return check


def rotate_after_snap_off(event, layout, press, release):
    # The default 5-degree steps again, which the former 30 could not give.
    angle = check_rotate(event, layout, press, release, step=DEFAULT_ROTATE_STEP)
    turns = angle / FORMER_ROTATE_STEP
    require(abs(turns - round(turns)) > 0.1, "a turn of %.4f rad passes for 30-degree steps", angle)
    return angle


# What extended.txt reports, in order ("event kind axis handle"), and how
# each manipulation is recomputed.
EXTENDED = [
    ("snapshot", None),
    ("manipulation translate 0 plane0", check_plane),
    ("manipulation translate 1 plane1", check_plane),
    ("manipulation translate 2 plane2", check_plane),
    ("manipulation translate -1 screen", check_screen),
    ("snapshot", None),
    ("manipulation rotate -1 viewring", check_view_ring),
    ("manipulation rotate -1 trackball", check_trackball),
    ("snapshot", None),
    ("manipulation scale -1 center", check_uniform_scale),
    ("manipulation scale 0 tip0", step_of(check_scale, 0.5)),
    ("manipulation translate 0 tip0", step_of(check_translate, 0.5)),
    ("manipulation translate 2 plane2", step_of(check_plane, 0.5)),
    # Ctrl held at the press: free despite the step.
    ("manipulation translate 1 tip1", free_despite(0.5)),
    ("manipulation rotate 1 ring1", snapped_rotate(30)),
    ("manipulation rotate -1 viewring", step_of(check_view_ring, 0)),
    ("manipulation rotate 1 ring1", rotate_after_snap_off),
    ("manipulation translate 0 tip0", check_translate),
    ("selection", None),
    ("snapshot", None),
    ("snapshot", None),
    # The press on the faded arrow grabbed nothing; without fading it grabs.
    ("manipulation translate 1 tip1", None),
]


def check_planes(layout):
    # Each square's reported centre, cast back onto its plane, lies at
    # PLANE_SQUARE_CENTRE axis lengths along both of the plane's axes. A
    # square outside translate mode, or in a plane holding a faded axis
    # (seen edge-on), reports none; one may fade without a faded axis only
    # where fading shows at work.
    pivot, length = layout["pivot"], layout["axisLength"]
    for axis, pixel in enumerate(layout["planes"]):
        others = ((axis + 1) % 3, (axis + 2) % 3)
        hidden = layout["mode"] != "translate" or any(layout["faded"][k] for k in others)
        may_fade = any(layout["faded"])
        require(pixel is None if hidden else pixel is not None or may_fade,
                "plane%d is at %s in %s mode, faded %s", axis, pixel, layout["mode"],
                layout["faded"])
        if pixel is None:
            continue
        point = sub(hit(pick_ray(layout, pixel), gizmo_axis(layout, axis), pivot), pivot)
        for other in others:
            along = dot(point, gizmo_axis(layout, other)) / length
            require(abs(along - PLANE_SQUARE_CENTRE) <= LAYOUT_TOLERANCE,
                    "plane%d's centre lies %.4f axis lengths along axis %d", axis, along, other)


def check_layout(layout):
    require(all(key in layout for key in EXTENDED_KEYS), "an extended layout without %s",
            [key for key in EXTENDED_KEYS if key not in layout])
    if layout["tips"] is None:
        return
    require(layout["screen"] == layout["center"], "the screen handle at %s, the centre at %s",
            layout["screen"], layout["center"])
    ring, centre = layout["viewRing"], layout["center"]
    require(ring[1] == centre[1] and abs(ring[0] - centre[0] - VIEW_RING_RADIUS * GIZMO_PIXELS)
            <= PIXEL_TOLERANCE, "the view ring's point %s is not right of the centre %s by %g",
            ring, centre, VIEW_RING_RADIUS * GIZMO_PIXELS)
    check_planes(layout)


class ExtendedChecks:
    def __init__(self):
        self.faded_press = None
        self.done = []

    def see_layout(self, layout):
        if "planes" in layout:
            check_layout(layout)

    def see_snapshot(self, event, layout):
        if event["file"].endswith("faded-planes.png"):
            require(layout["planes"][0] is None and layout["planes"][2] is None
                    and layout["planes"][1] is not None, "fading left the squares %s",
                    layout["planes"])
            self.done.append("the squares holding Y faded")
        if event["file"].endswith("faded.png"):
            # The slab's Y arrow points at the camera; X and Z lie across.
            require(layout.get("faded") == [False, True, False], "fading left %s",
                    layout.get("faded"))
            require(layout["tips"][1] is not None, "the faded arrow lost its tip")
            self.faded_press = [round(v) for v in layout["tips"][1]]
            self.done.append("Y faded, X and Z not")

    def see_press(self, pixel):
        if self.faded_press is not None:
            require(list(pixel) == self.faded_press, "the press at %s is not on the faded tip %s",
                    pixel, self.faded_press)
            self.faded_press = None
            self.done.append("its tip refused a press")


def check_extended_log(text):
    events = [json.loads(line) for line in text.splitlines() if line.strip()]
    trace = [" ".join(str(e[k]) for k in ("event", "kind", "axis", "handle") if k in e)
             for e in events if e["event"] not in ("layout", "input")]
    require(trace == [name for name, _ in EXTENDED], "the viewer reported %s", trace)
    require(not any(key in events[0] for key in EXTENDED_KEYS),
            "the first layout, with nothing enabled, reports %s", events[0])
    checks = iter(check for _, check in EXTENDED)
    extended, layout, pixels, moved = ExtendedChecks(), None, {}, []
    for event in events:
        kind = event["event"]
        if kind == "layout":
            extended.see_layout(event)
            layout = event
        elif kind == "input" and event["button"] == "left" and event["type"] != "move":
            pixels[event["type"]] = (event["x"], event["y"])
            if event["type"] == "press":
                extended.see_press(pixels["press"])
        elif kind == "snapshot":
            extended.see_snapshot(event, layout)
        if kind in ("layout", "input"):
            continue
        check = next(checks)
        if check is not None:
            motion = check(event, layout, pixels["press"], pixels["release"])
            require(motion > MIN_MOTION, "the %s barely moved (%.4f)", event["handle"], motion)
            moved.append(event["handle"])
    require(len(extended.done) == 3, "the fading checks did not run: %s", extended.done)
    require(sum("planes" in e for e in events if e["event"] == "layout") > 10,
            "few layouts reported extended handles")
    require(not any(key in layout for key in EXTENDED_KEYS),
            "with everything off again, the layout reports %s", layout)
    return "extended handles, snapping and fading: %s; %s" % (", ".join(moved),
                                                              "; ".join(extended.done))
