# Each drag recomputed from the layout it started on and the pixels of its
# press and release: where the pick rays through them meet the plane the
# drag works in, rounded as snapping rounds; then compared with the delta
# and the objects the viewer reported. Each check returns how far the drag
# moved (distance, angle or factor less one), so that a drag that barely
# moved proves nothing.
import math

from viewer_math import close, cross, dot, hit, pick_ray, require, sub, unit

# World positions agree to this (the scene spans about 20; the viewer
# computes in single precision and prints 7 digits).
POSITION_TOLERANCE = 1e-3
ANGLE_TOLERANCE = 1e-4  # radians
MATRIX_TOLERANCE = 1e-3  # matrix entries and scale factors, relative to 1
# Translate distance, rotation angle or scale factor less one: a drag that
# moved less than this proves nothing.
MIN_MOTION = 0.05
# The rotate step a controller keeps until a script sets another.
DEFAULT_ROTATE_STEP = math.radians(5.0)
# The viewer's expected pixel size: an axis's length on screen across the
# view, the rotate circles' radius.
GIZMO_PIXELS = 80.0
# A rotation axis read from the delta agrees to this, each component (the
# delta is printed to 7 digits; the pixels' centres to a hundredth).
AXIS_TOLERANCE = 1e-3


def gizmo_axis(layout, axis):
    return unit(layout["axes"][axis::3])  # a column of the row-major matrix


def snapped(value, step):
    # value rounded to the nearest multiple of step (halves away from zero);
    # a step of 0 or None leaves it free.
    if not step:
        return value
    return math.copysign(math.floor(abs(value) / step + 0.5) * step, value)


def plane_hits(layout, normal, press, release):
    # Where the pick rays of the press and the release meet the plane
    # through the pivot with that normal.
    pivot = layout["pivot"]
    return [hit(pick_ray(layout, p), normal, pivot) for p in (press, release)]


def along_axis(layout, axis, press, release):
    # Both pick rays meet the plane that holds the axis and faces the press
    # ray most; how far apart the hits lie along the axis.
    ray = pick_ray(layout, press)
    normal = max((gizmo_axis(layout, (axis + k) % 3) for k in (1, 2)),
                 key=lambda n: abs(dot(n, ray[1])))
    grabbed, released = plane_hits(layout, normal, press, release)
    return dot(sub(released, grabbed), gizmo_axis(layout, axis))


def check_moved_by(event, expected):
    require(close(event["delta"][3:12:4], expected, POSITION_TOLERANCE),
            "translate delta %s, expected %s", event["delta"], expected)
    for item in event["objects"]:
        moved = sub(item["world"]["translation"], item["before"]["translation"])
        require(close(moved, expected, POSITION_TOLERANCE), "%s moved by %s", item["name"], moved)
        require(item["world"]["matrix"] == item["before"]["matrix"], "the translate turned %s",
                item["name"])
    return math.sqrt(dot(expected, expected))


def require_snapping_shows(free, step):
    # Unless the free value lies well off every multiple of a step a script
    # set, a drag that ignored the step would pass for a snapped one. None
    # or 0: no step, nothing to show.
    require(not step or abs(snapped(free, step) - free) > step * 0.1,
            "the drag (%.4f) lies too near a multiple of %.4f to tell snapping", free, step)


def check_translate(event, layout, press, release, step=None):
    along = along_axis(layout, event["axis"], press, release)
    require_snapping_shows(along, step)
    return check_moved_by(event, [snapped(along, step) * x for x in gizmo_axis(layout, event["axis"])])


def check_plane(event, layout, press, release, step=None):
    # The grabbed point on the square's plane stays under the cursor: the
    # objects move by the hits' difference, each component along the
    # plane's two axes rounded to the step.
    normal = gizmo_axis(layout, event["axis"])
    grabbed, released = plane_hits(layout, normal, press, release)
    moved = sub(released, grabbed)
    expected = [0.0, 0.0, 0.0]
    for k in (1, 2):
        axis = gizmo_axis(layout, (event["axis"] + k) % 3)
        component = dot(moved, axis)
        require_snapping_shows(component, step)
        expected = [e + snapped(component, step) * a for e, a in zip(expected, axis)]
    return check_moved_by(event, expected)


def check_screen(event, layout, press, release):
    # The grabbed point on the plane through the pivot facing the camera
    # stays under the cursor.
    grabbed, released = plane_hits(layout, layout["camera"]["direction"], press, release)
    return check_moved_by(event, sub(released, grabbed))


def rotation_rows(event):
    delta = event["delta"]
    return [delta[0:3], delta[4:7], delta[8:11]]


def check_turned(event, layout):
    # The pivot stays put and every object turns by the delta's rotation;
    # returns that rotation's axis (unit, or zero) and angle.
    rows, pivot = rotation_rows(event), layout["pivot"]
    image = [dot(row, pivot) + t for row, t in zip(rows, event["delta"][3:12:4])]
    require(close(image, pivot, POSITION_TOLERANCE), "the pivot moved to %s", image)
    for item in event["objects"]:
        before = item["before"]["matrix"]
        expected = [dot(rows[i], before[j::3]) for i in range(3) for j in range(3)]
        require(close(item["world"]["matrix"], expected, MATRIX_TOLERANCE),
                "%s was not rotated by the delta", item["name"])
    skew = [rows[2][1] - rows[1][2], rows[0][2] - rows[2][0], rows[1][0] - rows[0][1]]
    sine = math.sqrt(dot(skew, skew)) / 2
    angle = math.atan2(sine, (rows[0][0] + rows[1][1] + rows[2][2] - 1) / 2)
    return (unit(skew) if sine > 0 else [0.0, 0.0, 0.0]), angle


def check_rotate(event, layout, press, release, step=None, normal=None):
    # The angle between the hits on the circle's plane (the axis's, or the
    # one facing the camera for the view ring), in whole steps (5 degrees
    # unless a step is set), about its normal.
    normal = normal or gizmo_axis(layout, event["axis"])
    pivot = layout["pivot"]
    w, u = (unit(sub(h, pivot)) for h in plane_hits(layout, normal, press, release))
    free = math.atan2(dot(u, cross(normal, w)), dot(w, u))
    require_snapping_shows(free, step)
    angle = snapped(free, DEFAULT_ROTATE_STEP if step is None else step)
    axis, turned = check_turned(event, layout)
    applied = turned * dot(axis, normal)
    require(abs(applied - angle) <= ANGLE_TOLERANCE and abs(turned - abs(angle)) <= ANGLE_TOLERANCE,
            "rotated %.4f rad about %s, expected %.4f about %s", turned, axis, angle, normal)
    return abs(angle)


def check_view_ring(event, layout, press, release, step=None):
    return check_rotate(event, layout, press, release, step, layout["camera"]["direction"])


def arcball_point(layout, pixel):
    # The world direction from the pivot to where the pixel lies on the
    # arcball: a sphere facing the camera, GIZMO_PIXELS in radius about the
    # gizmo's centre on screen (the rotate circles' size).
    camera, centre = layout["camera"], layout["center"]
    x = (pixel[0] - centre[0]) / GIZMO_PIXELS
    y = (centre[1] - pixel[1]) / GIZMO_PIXELS
    require(x * x + y * y < 1, "pixel %s lies off the arcball", pixel)
    z = math.sqrt(1 - x * x - y * y)
    return [x * r + y * u - z * d for r, u, d in
            zip(camera["right"], camera["up"], camera["direction"])]


def check_trackball(event, layout, press, release):
    # The turn that carries the press's point on the arcball to the
    # release's, about the axis at right angles to both, in whole steps
    # (5 degrees unless a step is set).
    grabbed, released = (arcball_point(layout, p) for p in (press, release))
    expected_axis = unit(cross(grabbed, released))
    angle = snapped(math.acos(max(-1.0, min(1.0, dot(grabbed, released)))), DEFAULT_ROTATE_STEP)
    axis, turned = check_turned(event, layout)
    require(abs(turned - angle) <= ANGLE_TOLERANCE and close(axis, expected_axis, AXIS_TOLERANCE),
            "the trackball turned %.4f rad about %s, expected %.4f about %s", turned, axis, angle,
            expected_axis)
    return turned


def scale_factor(k, step):
    # The factor of a drag k axis lengths along the axis: 1 + k outwards,
    # 1 / (1 - k) inwards, rounded to the step, never below one step.
    factor = 1 + k if k >= 0 else 1 / (1 - k)
    require_snapping_shows(factor, step)
    return max(step, snapped(factor, step)) if step else factor


def check_scaled(event, factors):
    # Each object's matrix columns times the factors, its position kept.
    for item in event["objects"]:
        before, after = item["before"], item["world"]
        expected = [x * factors[i // 3] for i, x in enumerate(before["matrix"])]
        require(close(after["matrix"], expected, MATRIX_TOLERANCE) and
                close(after["translation"], before["translation"], POSITION_TOLERANCE),
                "%s became %s, expected a scale by %s", item["name"], after, factors)


def check_scale(event, layout, press, release, step=None):
    axis = event["axis"]
    factor = scale_factor(along_axis(layout, axis, press, release) / layout["axisLength"], step)
    check_scaled(event, [factor if i == axis else 1 for i in range(3)])
    return factor - 1


def check_uniform_scale(event, layout, press, release):
    # The centre scales all three axes alike, by the delta's factor.
    factor = event["delta"][0]
    require(event["delta"][5] == factor and event["delta"][10] == factor,
            "the centre scaled unevenly: %s", event["delta"])
    check_scaled(event, [factor] * 3)
    return factor - 1
