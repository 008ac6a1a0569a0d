#!/usr/bin/python3
"""The demo page in headless Chromium: checks that the crate is painted as a
lit solid with the X arrow over it, then drags the X arrow's tip 60 px
along its screen direction with real pointer events and checks the
manipulation the page logs, that the grabbed point stays under the cursor
and that Ctrl+Z puts the objects back bit for bit; on a screen of one and
of two device pixels per CSS pixel. Saves a screenshot of the page as it
starts. Runs Debian's Selenium and chromedriver; fetches nothing."""

import argparse
import contextlib
import functools
import http.server
import json
import math
import shutil
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
WINDOW = (1000, 700)
# Device pixels per CSS pixel of the screens tried; the first one's
# screenshot is kept.
SCALES = (1, 2)
# The drag: its length along the arrow on screen, and the moves it takes.
DRAG_PIXELS = 60.0
DRAG_STEPS = 6
# How far the object may miss the cursor, relative to the drag.
TOLERANCE = 0.03
# Rounding of the numbers in a logged line, relative.
PRINTED = 1e-6
# How far from the arrow's middle, in CSS pixels, its line is looked for.
ARROW_REACH = 3
# Longest wait for the page or for a line in its log, seconds.
TIMEOUT = 15.0


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve(folder):
    """The folder over HTTP on a free loopback port; yields the base URL."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


@contextlib.contextmanager
def browser(device_scale):
    profile = tempfile.mkdtemp(prefix="gizmo-web-test-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking", "--disable-dev-shm-usage",
                 "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--window-size=%d,%d" % WINDOW,
                 "--force-device-scale-factor=%g" % device_scale):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


class Console:
    """The page's console, read as it grows: the report lines it logged
    (parsed) and its errors."""

    def __init__(self, driver):
        self.driver = driver
        self.lines = []
        self.errors = []

    def read(self):
        for entry in self.driver.get_log("browser"):
            if entry["level"] == "SEVERE":
                self.errors.append(entry["message"])
                continue
            # "<url> <line>:<column> <the logged string, JSON-quoted>"
            quoted = entry["message"].find(' "')
            if quoted < 0:
                continue
            with contextlib.suppress(ValueError):
                self.lines.append(json.loads(json.loads(entry["message"][quoted + 1:])))

    def events(self, event):
        return [line for line in self.lines if line.get("event") == event]

    def wait_for(self, event, count):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            self.read()
            if len(self.events(event)) >= count:
                return self.events(event)
            time.sleep(0.05)
        raise AssertionError("no '%s' line logged within %g s" % (event, TIMEOUT))


def wait_until(driver, script, what):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if driver.execute_script(script):
            return
        time.sleep(0.05)
    raise AssertionError("%s: not within %g s" % (what, TIMEOUT))


def add(a, b):
    return [x + y for x, y in zip(a, b)]


def scale(a, s):
    return [x * s for x in a]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def ray_through(layout, pixel):
    """Eye and direction of the ray through a pixel (index, origin top-left),
    from the camera the layout reports: the pixel's centre on the near
    plane."""
    width, height = layout["window"]
    camera = layout["camera"]
    r_min, r_max, u_min, u_max, near = camera["frustum"]
    across = (pixel[0] + 0.5) / width
    upward = (height - pixel[1] - 0.5) / height
    direction = add(add(scale(camera["direction"], near),
                        scale(camera["right"], r_min + across * (r_max - r_min))),
                    scale(camera["up"], u_min + upward * (u_max - u_min)))
    return camera["eye"], direction


def project(layout, point):
    """The pixel (index, fractional) a world point projects to through the
    camera the layout reports."""
    width, height = layout["window"]
    camera = layout["camera"]
    r_min, r_max, u_min, u_max, near = camera["frustum"]
    offset = [p - e for p, e in zip(point, camera["eye"])]
    depth = dot(offset, camera["direction"])
    r = dot(offset, camera["right"]) * near / depth
    u = dot(offset, camera["up"]) * near / depth
    return [(r - r_min) / (r_max - r_min) * width - 0.5,
            (1 - (u - u_min) / (u_max - u_min)) * height - 0.5]


def along_axis(layout, pixel, axis):
    """Where on the gizmo axis line (world units from the pivot) the ray
    through the pixel passes closest."""
    origin, direction = ray_through(layout, pixel)
    pivot = layout["pivot"]
    w0 = [p - o for p, o in zip(pivot, origin)]
    a, b, c = dot(axis, axis), dot(axis, direction), dot(direction, direction)
    d, e = dot(axis, w0), dot(direction, w0)
    return (b * e - c * d) / (a * c - b * b)


def pixels_around(driver, layout, point, reach):
    """The canvas's colours (r, g, b, 0..255) at the CSS pixels within reach
    of point in x and in y, read from its backing store."""
    return [tuple(p) for p in driver.execute_script(
        "const [x, y, reach, width] = arguments;"
        "const c = document.getElementById('view');"
        "const k = c.width / width;"
        "const out = [];"
        "for (let dx = -reach; dx <= reach; ++dx) for (let dy = -reach; dy <= reach; ++dy) {"
        "  const d = c.getContext('2d').getImageData("
        "      Math.round((x + dx) * k), Math.round((y + dy) * k), 1, 1).data;"
        "  out.push([d[0], d[1], d[2]]);"
        "}"
        "return out", point[0], point[1], reach, layout["window"][0])]


def switch_mode(driver, key, mode):
    """Types the key and waits for the frame that shows the mode."""
    frames = driver.execute_script("return gizmoDemo.frames()")
    ActionChains(driver).send_keys(key).perform()
    wait_until(driver, "return gizmoDemo.frames() > %d && gizmoDemo.layout().mode === '%s'"
               % (frames, mode), "the %s mode" % mode)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def run(url, device_scale, screenshot):
    with browser(device_scale) as driver:
        console = Console(driver)
        driver.get(url + "index.html")
        wait_until(driver, "return window.gizmoDemo !== undefined && gizmoDemo.frames() > 0",
                   "the first frame")
        layout = driver.execute_script("return gizmoDemo.layout()")
        box = driver.execute_script(
            "const r = document.getElementById('view').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height]")
        check(layout["window"] == box[2:], "layout window %s, canvas %s" % (layout["window"], box))
        check(all(float(v).is_integer() for v in box), "canvas off the pixel grid: %s" % box)
        backing = driver.execute_script(
            "const c = document.getElementById('view'); return [c.width, c.height]")
        check(backing == [v * device_scale for v in layout["window"]],
              "backing store %s for %s CSS pixels" % (backing, layout["window"]))
        check(layout["mode"] == "translate" and layout["selection"] == ["crate"],
              "the page starts in %s on %s" % (layout["mode"], layout["selection"]))
        crate = next(o for o in layout["objects"] if o["name"] == "crate")
        # Below the crate's centre, clear of the arrows: its lit front face.
        below = [crate["center"][0], crate["center"][1] + 25]
        [(r, g, b)] = pixels_around(driver, layout, below, 0)
        check(r > 120 and r > g > b, "the crate's face is not filled in its colour: %s" % [r, g, b])
        if screenshot:
            driver.save_screenshot(screenshot)
        # Halfway along the X arrow, which crosses the crate: hiding the
        # gizmo (Q) changes what is painted there, and leaves the crate.
        tip, centre = layout["tips"][0], layout["center"]
        middle = [(tip[0] + centre[0]) / 2, (tip[1] + centre[1]) / 2]
        shown = pixels_around(driver, layout, middle, ARROW_REACH)
        switch_mode(driver, "q", "none")
        hidden = pixels_around(driver, layout, middle, ARROW_REACH)
        switch_mode(driver, "w", "translate")
        check(shown != hidden, "the X arrow is not painted over the crate at %s" % middle)
        check(all(r > 80 and r > g > b for r, g, b in hidden),
              "not only the crate under the X arrow at %s: %s" % (middle, sorted(set(hidden))))

        before = driver.execute_script("return gizmoDemo.objects()")
        length = math.hypot(tip[0] - centre[0], tip[1] - centre[1])
        step = [(tip[0] - centre[0]) / length, (tip[1] - centre[1]) / length]
        press = [round(tip[0]), round(tip[1])]
        path = [[round(tip[0] + step[0] * DRAG_PIXELS * i / DRAG_STEPS),
                 round(tip[1] + step[1] * DRAG_PIXELS * i / DRAG_STEPS)]
                for i in range(1, DRAG_STEPS + 1)]
        release = path[-1]

        actions = ActionChains(driver)
        pointer = actions.w3c_actions.pointer_action
        pointer.move_to_location(int(box[0]) + press[0], int(box[1]) + press[1])
        pointer.pointer_down()
        for point in path:
            pointer.move_to_location(int(box[0]) + point[0], int(box[1]) + point[1])
        pointer.pointer_up()
        actions.perform()

        console.wait_for("manipulation", 1)
        wait_until(driver, "return gizmoDemo.layout().tips !== null", "a layout after the drag")
        time.sleep(0.3)  # any second line would be logged by now
        console.read()
        manipulations = console.events("manipulation")
        check(len(manipulations) == 1, "%d manipulations logged" % len(manipulations))
        check(manipulations[0]["kind"] == "translate" and manipulations[0]["axis"] == 0,
              "logged %s on axis %s" % (manipulations[0]["kind"], manipulations[0]["axis"]))
        after = driver.execute_script("return gizmoDemo.objects()")
        logged = manipulations[0]["objects"][0]
        check(logged["name"] == "crate", "the drag moved %s" % logged["name"])

        # Route 1: the axis point under the press and under the release,
        # from the camera of the layout, against the crate's move.
        axes = layout["axes"]
        axis = [axes[0], axes[3], axes[6]]
        expected = scale(axis, along_axis(layout, release, axis) - along_axis(layout, press, axis))
        moved = [a - b for a, b in zip(after[0]["world"]["translation"],
                                        before[0]["world"]["translation"])]
        miss = math.dist(moved, expected) / math.hypot(*expected)
        # Route 2: the grabbed point, moved with the crate, projected back.
        grabbed = add(layout["pivot"], scale(axis, along_axis(layout, press, axis)))
        seen = project(layout, add(grabbed, moved))
        pixel_miss = math.dist(seen, release) / DRAG_PIXELS
        print("%g device pixels per CSS pixel, drag %s -> %s: moved %s, expected %s (off by %.3f %%); grabbed point now at "
              "pixel %s (off by %.3f %% of the drag)"
              % (device_scale, press, release, moved, expected, 100 * miss, seen, 100 * pixel_miss))
        check(miss <= TOLERANCE, "the object missed the cursor by %.2f %%" % (100 * miss))
        check(pixel_miss <= TOLERANCE,
              "the grabbed point missed the cursor by %.2f %%" % (100 * pixel_miss))
        # The line prints 7 significant digits.
        check(all(abs(a - b) <= PRINTED * max(1.0, abs(b)) for a, b in
                  zip(logged["world"]["translation"], after[0]["world"]["translation"])),
              "logged %s, the crate is at %s" % (logged["world"], after[0]["world"]))

        ActionChains(driver).key_down(Keys.CONTROL).send_keys("z").key_up(Keys.CONTROL).perform()
        console.wait_for("undo", 1)
        restored = driver.execute_script("return gizmoDemo.objects()")
        check(restored == before, "undo left %s, was %s" % (restored, before))
        console.read()
        check(not console.errors, "the page logged errors: %s" % console.errors)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--page", required=True, help="folder of index.html, index.js, index.wasm")
    parser.add_argument("--screenshot", required=True, help="PNG to write")
    args = parser.parse_args()
    try:
        with serve(args.page) as url:
            for device_scale in SCALES:
                run(url, device_scale, args.screenshot if device_scale == SCALES[0] else None)
    except AssertionError as failure:
        print("FAILED:", failure)
        return 1
    print("browser drag test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
