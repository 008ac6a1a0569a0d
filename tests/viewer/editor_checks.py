# The editor's checks of check_viewer.py, fed the viewer's JSON events in
# order: boxes and clicks select what lies under them, edits set what they
# say, F frames the selection, a middle drag pans and the wheel zooms
# towards the cursor. Each is checked by pick rays cast through the pixels
# the layouts report, not by the viewer's own formulas.
import math
import os

from viewer_math import close, dot, hit, pick_ray, require, sub, unit

POSITION_TOLERANCE = 1e-3  # world units; the scene spans about 20
MATRIX_TOLERANCE = 1e-3  # matrix entries, relative to 1
PIXEL_TOLERANCE = 0.05  # a point the view keeps in place, pixels
# F: the framed sphere's diameter spans this share of the view's smaller
# side, to within the tolerance; the crate, a 2 x 2 x 2 box, has a bound of
# radius sqrt(3).
FRAMED_SHARE = 0.5
SHARE_TOLERANCE = 0.01
CRATE_RADIUS = math.sqrt(3.0)
# A left drag longer than this (pixels, along x plus y) is a box, not a click.
BOX_THRESHOLD = 4


def rotation(degrees):
    # Rx * Ry * Rz, row-major.
    cx, cy, cz = (math.cos(math.radians(a)) for a in degrees)
    sx, sy, sz = (math.sin(math.radians(a)) for a in degrees)
    rx = [[1, 0, 0], [0, cx, -sx], [0, sx, cx]]
    ry = [[cy, 0, sy], [0, 1, 0], [-sy, 0, cy]]
    rz = [[cz, -sz, 0], [sz, cz, 0], [0, 0, 1]]

    def times(a, b):
        return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]
    return times(rx, times(ry, rz))


def columns(matrix):
    return [matrix[j::3] for j in range(3)]


def view_depth_point(layout, pixel, point):
    # Where the pick ray through pixel meets the plane through point that
    # faces the camera.
    return hit(pick_ray(layout, pixel), layout["camera"]["direction"], point)


def distance_to_ray(ray, point):
    origin, direction = ray
    offset = sub(point, origin)
    along = dot(offset, direction)
    return math.sqrt(max(dot(offset, offset) - along * along, 0.0))


def check_framed(layout):
    # The selection's centre (the gizmo's) at the view's centre; a sphere of
    # the crate's radius there spans FRAMED_SHARE of the smaller side.
    (width, height), camera = layout["window"], layout["camera"]
    require(layout["selection"] == ["crate"], "framing expects the crate alone selected")
    centre = [(width - 1) / 2, (height - 1) / 2]
    require(close(layout["center"], centre, PIXEL_TOLERANCE), "F put the crate at %s, not %s",
            layout["center"], centre)
    r_min, r_max, u_min, u_max, near = camera["frustum"]
    tan_half = min(u_max - u_min, r_max - r_min) / 2 / near
    eye_distance = math.dist(camera["eye"], layout["pivot"])
    share = math.tan(math.asin(CRATE_RADIUS / eye_distance)) / tan_half
    require(abs(share - FRAMED_SHARE) <= SHARE_TOLERANCE, "F framed the crate over %.3f of the view",
            share)
    return "F framed the crate over %.3f of the view" % share


def check_pan(before, after, press, release):
    # The point at the target's depth (the framed pivot) under the press
    # lies under the release afterwards.
    anchor = view_depth_point(before, press, before["pivot"])
    moved = view_depth_point(after, release, anchor)
    require(close(moved, anchor, POSITION_TOLERANCE), "the pan left %s under the cursor, not %s",
            moved, anchor)
    require(before["camera"]["direction"] == after["camera"]["direction"], "the pan turned the camera")
    return "the middle drag panned %.2f world units" % math.dist(before["camera"]["eye"],
                                                                after["camera"]["eye"])


def check_zoom(before, after, pixel):
    # The point under the cursor at the target's depth stays under it, and
    # the camera comes closer to it.
    anchor = view_depth_point(before, pixel, before["pivot"])
    miss = distance_to_ray(pick_ray(after, pixel), anchor)
    require(miss <= POSITION_TOLERANCE, "the zoom moved the point under the cursor by %.5f", miss)
    closer = math.dist(after["camera"]["eye"], anchor) / math.dist(before["camera"]["eye"], anchor)
    require(closer < 1 - 0.05, "the wheel did not zoom in (%.3f)", closer)
    return "the wheel zoomed by %.3f towards the cursor" % closer


def check_selection(event, layout, press, release, change):
    # Boxes: every object whose centre lies inside, combined with what was
    # selected as change says; a click replaces with the nearest object.
    selected = set(layout["selection"])
    centres = {o["name"]: o["center"] for o in layout["objects"] if o["center"]}
    if change == "click":
        nearest = min(centres, key=lambda name: math.dist(centres[name], press))
        expected = {nearest}
    else:
        low, high = [min(a, b) for a, b in zip(press, release)], [max(a, b) for a, b in zip(press, release)]
        inside = {n for n, c in centres.items() if all(lo <= v <= hi for lo, v, hi in zip(low, c, high))}
        expected = {"replace": inside, "add": selected | inside, "remove": selected - inside}[change]
    require(set(event["selection"]) == expected, "the %s selected %s, expected %s", change,
            event["selection"], sorted(expected))
    return change


def check_edit(event, request):
    # The part asked for is set (values given as None keep theirs); the
    # rest of the transform stays. The scene's root is the identity, so
    # world and local values agree.
    name, part, values = request
    (item,) = event["objects"]
    require(item["name"] == name, "the edit of %s changed %s", name, item["name"])
    before, after = item["before"], item["world"]
    moved = part == "position"
    require(moved or close(after["translation"], before["translation"], POSITION_TOLERANCE),
            "the %s edit moved %s", part, name)
    require(part != "position" or after["matrix"] == before["matrix"], "the position edit turned %s", name)
    if part == "position":
        wanted = [b if v is None else v for v, b in zip(values, before["translation"])]
        require(close(after["translation"], wanted, POSITION_TOLERANCE), "%s moved to %s, not %s",
                name, after["translation"], wanted)
        return
    lengths = [math.sqrt(dot(c, c)) for c in columns(before["matrix"])]
    if part == "rotation":
        turn = rotation(values)
        expected = [turn[i][j] * lengths[j] for i in range(3) for j in range(3)]
    else:
        axes = [unit(c) for c in columns(before["matrix"])]
        expected = [axes[j][i] * (lengths[j] if values[j] is None else values[j])
                    for i in range(3) for j in range(3)]
    require(close(after["matrix"], expected, MATRIX_TOLERANCE), "the %s edit gave %s %s, not %s",
            part, name, after["matrix"], expected)


class EditorChecks:
    def __init__(self, boxes, edits, box_pixels=None):
        self.boxes, self.edits, self.box_pixels = list(boxes), list(edits), box_pixels
        self.pending, self.starts, self.done = None, {}, []

    def see(self, event, layout, pixels):
        kind = event["event"]
        if kind == "input":
            self.see_input(event, layout)
        elif kind == "layout" and self.pending:
            check, *arguments = self.pending
            self.pending = None
            self.done.append(check(*arguments[:1], event, *arguments[1:]))
        elif kind == "snapshot" and os.path.basename(event["file"]).startswith("framed"):
            self.done.append(check_framed(layout))
        elif kind == "selection":
            press, release = self.box_pixels or (pixels["press"], pixels["release"])
            is_box = abs(press[0] - release[0]) + abs(press[1] - release[1]) > BOX_THRESHOLD
            require(not is_box or self.boxes, "a box selected more than expected")
            self.done.append(check_selection(event, layout, press, release,
                                             self.boxes.pop(0) if is_box else "click"))
        elif kind == "edit":
            require(self.edits, "more edits than expected")
            check_edit(event, self.edits.pop(0))
            self.done.append("edit")

    def see_input(self, event, layout):
        pixel = (event["x"], event["y"])
        if event["type"] == "wheel":
            self.pending = (check_zoom, layout, pixel)
        elif event["button"] == "middle" and event["type"] == "press":
            self.starts["middle"] = (layout, pixel)
        elif event["button"] == "middle" and event["type"] == "release":
            before, press = self.starts.pop("middle")
            self.pending = (check_pan, before, press, pixel)

    def finish(self):
        require(not self.boxes and not self.edits, "boxes %s and edits %s were not seen", self.boxes,
                self.edits)
        return "; ".join(self.done)
