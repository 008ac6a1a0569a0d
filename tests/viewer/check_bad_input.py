#!/usr/bin/env python3
"""Feeds gizmo-viewer scripts it must refuse. Each run must end by itself
with exit status 1 and one message on stderr naming the offending line
("SCRIPT: line N: ..."), and write nothing outside --out. A script at the
edge of every bound must then play to the end.

  check_bad_input.py --viewer BIN --work DIR
"""
import argparse
import os
import re
import subprocess
import sys

# A run that takes longer has hung: every bound keeps a refused script
# well inside it, even under the sanitizers.
HANG_SECONDS = 60

# Moves the longest drag makes.
LONGEST_DRAG = 10000

# (name, script or the path of a device to read, line named, words in the message)
CASES = [
    ("endless drag", b"frame\ndrag 100 100 200 200 steps 2147483647\n", 2,
     "'steps N', N from 1 to 10000"),
    ("drag of no steps", b"drag 100 100 200 200 steps 0\n", 1, "'steps N'"),
    ("endless device", "/dev/zero", 1, "NUL byte"),
    ("NUL byte", b"frame\nmove 1\x002 3\n", 2, "NUL byte"),
    # 16384 lines of 64 bytes fill 1 MiB: the byte past it is on the next.
    ("over 1 MiB", (b"#" * 63 + b"\n") * 16385, 16385, "longer than 1048576 bytes"),
    ("huge position", b"move 1e30 -1e30\n", 1, "'1e30' is not a number of pixels"),
    ("position past double", b"move 10 1e400\n", 1, "'1e400' is not a number of pixels"),
    ("position just out", b"move 1000001 0\n", 1, "'1000001' is not a number of pixels"),
    ("NaN position", b"frame\n\nmove nan nan\n", 3, "'nan' is not a number of pixels"),
    ("NaN along a tip", b"press tip0 along nan\n", 1, "'nan' is not a number of pixels"),
    ("infinite offset", b"move tip0 5 inf\n", 1, "'inf' is not a number of pixels"),
    ("half an offset", b"move tip0 5\n", 1, "a number of pixels is missing"),
    ("offset past the range", b"move tip0 1000000 0\n", 1, "lies beyond 1000000 pixels"),
    ("along without a tip", b"move center along 5\n", 1, "'along' follows a tip"),
    ("NaN drag", b"drag 10 10 nan 20\n", 1, "'nan' is not a number of pixels"),
    ("wheel overflow", b"wheel 10 10 17895698\n", 1, "notches from -100 to 100"),
    ("huge window", b"size 100000 100000\n", 1, "from 1 to 8192 pixels"),
    ("snapshot outside", b"snapshot ../x\n", 1, "not '../x'"),
    ("snapshot in a folder", b"snapshot a/b\n", 1, "not 'a/b'"),
    ("hidden snapshot", b"snapshot .x\n", 1, "not '.x'"),
    ("absolute snapshot", b"snapshot /tmp/x\n", 1, "not '/tmp/x'"),
    ("unknown command", b"jump 1 2\n", 1, "unknown command 'jump'"),
    ("extra word", b"frame\nframe now\n", 2, "unexpected 'now'"),
    ("unknown handle", b"move tip7\n", 1, "'tip7' is not a visible handle"),
    ("unknown key", b"key Nope\n", 1, "unknown key 'Nope'"),
    ("too many frames", b"drag 1 1 5 5 steps 10000\n" * 11, 10, "more than 100000 frames"),
    ("too many snapshot pixels", b"size 8192 8192\n" + b"snapshot big\n" * 3, 4,
     "pass 200000000 pixels"),
]

# Every bound at its limit, all of which the viewer takes.
EDGE = b"""move 1000000 -1000000
move -1000000 1000000
wheel 400 300 100
wheel 400 300 -100
size 8192 1
size 1 8192
drag 10 10 20 20 steps 10000
size 800 600
snapshot A-z_0.9
"""


class CheckFailed(Exception):
    pass


def require(condition, message):
    if not condition:
        raise CheckFailed(message)


def files_under(folder):
    return {os.path.join(root, name) for root, _, names in os.walk(folder) for name in names}


def play(viewer, script, out, *options):
    command = [viewer, "--headless", "--script", script, "--out", out] + list(options)
    try:
        return subprocess.run(command, capture_output=True, text=True, errors="replace",
                              timeout=HANG_SECONDS, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise CheckFailed("%s: still running after %d s" % (script, HANG_SECONDS))


def script_path(work, name, script):
    if isinstance(script, str):
        return script
    path = os.path.join(work, name.replace(" ", "-") + ".txt")
    with open(path, "wb") as f:
        f.write(script)
    return path


def check_refused(viewer, work, name, script, line, words):
    path = script_path(work, name, script)
    out = os.path.join(work, "out")
    before = files_under(work)
    run = play(viewer, path, out)
    messages = re.findall(r"^gizmo-viewer: (.*): line (\d+): (.*)$", run.stderr, re.MULTILINE)
    require(run.returncode == 1 and len(messages) == 1,
            "%s: exit %d, stderr %r" % (name, run.returncode, run.stderr[-400:]))
    named, told, message = messages[0]
    require(named == path and int(told) == line and words in message,
            "%s: said %r of line %s of %s; expected line %d and %r"
            % (name, message, told, named, line, words))
    strays = [f for f in files_under(work) - before if not f.startswith(out + os.sep)]
    require(not strays, "%s: wrote %s outside the output folder" % (name, strays))
    return message


def check_window_option(viewer, work):
    script = script_path(work, "edge", EDGE)
    for size in ("100000x100000", "0x600", "800x"):
        run = play(viewer, script, os.path.join(work, "out"), "--size", size)
        require(run.returncode == 2
                and "--size takes WIDTHxHEIGHT, each from 1 to 8192" in run.stderr,
                "--size %s: exit %d, stderr %r" % (size, run.returncode, run.stderr[-400:]))


def check_edge(viewer, work):
    out = os.path.join(work, "out")
    snapshot = os.path.join(out, "A-z_0.9.png")
    if os.path.exists(snapshot):
        os.remove(snapshot)
    run = play(viewer, script_path(work, "edge", EDGE), out)
    require(run.returncode == 0,
            "the edge script exited with %d: %s" % (run.returncode, run.stderr))
    moves = len(re.findall(r'"type":"move"', run.stdout))
    expected = LONGEST_DRAG + 2  # and the two single moves
    require(moves == expected, "the edge script made %d moves, not %d" % (moves, expected))
    require(os.path.isfile(snapshot), "the edge snapshot is missing")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    failures = 0
    for name, script, line, words in CASES:
        try:
            message = check_refused(args.viewer, args.work, name, script, line, words)
            print("%s: line %d: %s" % (name, line, message))
        except CheckFailed as failure:
            print("FAILED: %s" % failure, file=sys.stderr)
            failures += 1
    for check, done in ((check_window_option, "--size out of bounds: refused"),
                        (check_edge, "every bound at its limit: played")):
        try:
            check(args.viewer, args.work)
            print(done)
        except CheckFailed as failure:
            print("FAILED: %s" % failure, file=sys.stderr)
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
