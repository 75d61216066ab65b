#!/usr/bin/env python3
"""LinuxCNC's own G-code interpreter judges the G-code export.

Every sample is planned (kerfline-cli plan, decode) and exported (kerfline-cli gcode, LinuxCNC
profile, both feed modes). The interpreter must accept the program; its feed moves must equal the
planned registers point for point, its dwells the program's pauses, every feed move must run with
the wire heated (M3), at the time the controller would take, and the wire must be cold at the end.

The interpreter is the Python module `gcode` of Debian's linuxcnc-uspace. Without it the test is
skipped (exit 77). KERFLINE_LINUXCNC_ROOT may name a folder where the package was unpacked
(`apt-get download linuxcnc-uspace libboost-python1.74.0 && dpkg -x … ROOT`) instead of installed;
scripts/setup unpacks it into ~/.cache/kerfline/linuxcnc, which is used when the variable is unset.

usage: gcode_interpreter_test.py KERFLINE_CLI SAMPLES_DIR
"""
import json
import math
import os
import subprocess
import sys
import tempfile

SKIP = 77
MM_PER_INCH = 25.4
TOLERANCE_MM = 0.001


def import_interpreter():
    root = os.environ.get("KERFLINE_LINUXCNC_ROOT")
    if not root:
        cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
        unpacked = os.path.join(cache, "kerfline", "linuxcnc")
        root = unpacked if os.path.isdir(unpacked) else None
    if root:
        libraries = [os.path.join(root, "usr/lib"), os.path.join(root, "usr/lib/x86_64-linux-gnu")]
        # The loader reads LD_LIBRARY_PATH only when the process starts.
        if os.environ.get("KERFLINE_LINUXCNC_REEXEC") != "1":
            env = dict(os.environ, KERFLINE_LINUXCNC_REEXEC="1",
                       LD_LIBRARY_PATH=":".join(libraries + [os.environ.get("LD_LIBRARY_PATH", "")]))
            os.execve(sys.executable, [sys.executable] + sys.argv, env)
        sys.path.insert(0, os.path.join(root, "usr/lib/python3/dist-packages"))
    try:
        import gcode  # noqa: F401
        return gcode
    except ImportError as error:
        print("skipped: LinuxCNC's G-code interpreter is not installed (%s)" % error)
        sys.exit(SKIP)


class TraceCanon:
    """Records what the interpreter makes of the program, in millimetres."""

    def __init__(self, parameter_file):
        self.parameter_file = parameter_file
        self.state = None
        self.events = []  # ("feed", (x, y, u, v), feed, heated, inverse) / ("dwell", s) / ("rapid", …)
        self.feed = 0.0
        # The interpreter hands moves over in program coordinates and the work and G92 offsets
        # apart, as a machine adds them; the wire's position is their sum.
        self.g5x_offset = (0.0,) * 9
        self.g92_offset = (0.0,) * 9

    def set_g5x_offset(self, index, *offset):
        self.g5x_offset = offset

    def set_g92_offset(self, *offset):
        self.g92_offset = offset

    def machine_point(self, x, y, z, a, b, c, u, v, w):
        position = [p + g5x + g92 for p, g5x, g92 in zip((x, y, z, a, b, c, u, v, w), self.g5x_offset, self.g92_offset)]
        return tuple(position[axis] * MM_PER_INCH for axis in (0, 1, 6, 7))

    def next_line(self, state):
        self.state = state

    def heated(self):
        return self.state is not None and self.state.mcodes[2] == 3

    def inverse_time(self):
        return self.state is not None and 930 in self.state.gcodes

    def straight_feed(self, *axes):
        self.events.append(("feed", self.machine_point(*axes), self.feed, self.heated(), self.inverse_time()))

    def straight_traverse(self, *axes):
        self.events.append(("rapid", self.machine_point(*axes), 0.0, self.heated(), False))

    def set_feed_rate(self, rate):
        self.feed = rate

    def dwell(self, seconds):
        self.events.append(("dwell", seconds))

    def arc_feed(self, *args):
        self.events.append(("arc",))

    # What the interpreter asks of a machine with the axes X Y U V.
    def get_axis_mask(self):
        return 1 | 2 | 64 | 128

    def get_external_length_units(self):
        return 1.0 / MM_PER_INCH

    def get_external_angular_units(self):
        return 1.0

    def get_block_delete(self):
        return False

    def check_abort(self):
        return False

    def get_tool(self, tool):
        return (tool,) + (0.0,) * 12 + (0,)

    def __getattr__(self, name):
        if name.startswith("__"):
            raise AttributeError(name)
        return lambda *args: None


def cli(kerfline, *arguments):
    done = subprocess.run([kerfline, *arguments], capture_output=True, text=True)
    if done.returncode != 0:
        raise AssertionError("kerfline-cli %s failed: %s" % (" ".join(arguments), done.stderr))
    return json.loads(done.stdout) if done.stdout.strip() else None


def planned(kerfline, design, folder):
    """The program plan writes: arm positions after each move (relative to the start, mm) and
    the pause before each move and after the last, in seconds."""
    program = os.path.join(folder, "program.cn")
    cli(kerfline, "plan", design, "-o", program)
    decoded = cli(kerfline, "decode", program)
    moves = []
    pauses = [0.0]
    previous = (0, 0, 0, 0)
    trace = iter(decoded["trace"])
    for command in decoded["commands"]:
        letter = command["letter"].lower()
        if letter == "p":
            pauses[-1] += command["args"][0] / 1000.0
        elif letter == "a" and command["args"][0] == 0xFE:
            registers = next(trace)
            arms = (registers[0], registers[1], registers[4], registers[5])
            if arms == previous:
                continue  # the table or the spindle alone
            previous = arms
            moves.append(tuple(r / 100.0 for r in arms))
            pauses.append(0.0)
    return moves, pauses


def speeds(kerfline):
    parameters = cli(kerfline, "config")["parameters"]
    return {"work": float(parameters["szybkoscObrobki"])}


def check(gcode, kerfline, design, feed_mode, folder, speed):
    label = "%s (%s)" % (os.path.basename(design), feed_mode)
    moves, pauses = planned(kerfline, design, folder)
    exported = os.path.join(folder, "program.ngc")
    cli(kerfline, "gcode", design, "--profile", "linuxcnc", "--feed-mode", feed_mode, "-o", exported)

    canon = TraceCanon(os.path.join(folder, "linuxcnc.var"))
    open(canon.parameter_file, "w").close()
    result, line = gcode.parse(exported, canon, ["G21"])
    assert result <= gcode.MIN_ERROR, "%s: the interpreter refused line %d: %s" % (label, line, gcode.strerror(result))

    feeds = [e for e in canon.events if e[0] == "feed"]
    assert not [e for e in canon.events if e[0] in ("arc", "rapid")], label + ": arcs or rapids in a hot-wire path"
    assert len(feeds) == len(moves), "%s: %d feed moves, %d planned" % (label, len(feeds), len(moves))
    gaps = [0.0]
    for event in canon.events:
        if event[0] == "dwell":
            gaps[-1] += event[1]
        elif event[0] == "feed":
            gaps.append(0.0)
    for k, (gap, pause) in enumerate(zip(gaps, pauses)):
        assert abs(gap - pause) < 1e-9, "%s: dwell %.3f s before move %d, pause %.3f s planned" % (label, gap, k, pause)

    here = (0.0, 0.0, 0.0, 0.0)
    for k, (event, target) in enumerate(zip(feeds, moves)):
        _, point, feed, heated, inverse = event
        for axis, (got, want) in enumerate(zip(point, target)):
            assert abs(got - want) <= TOLERANCE_MM, "%s: move %d axis %d at %.4f, planned %.4f" % (label, k, axis, got, want)
        assert heated, "%s: move %d is a feed with the wire cold" % (label, k)
        front = math.hypot(target[0] - here[0], target[1] - here[1])
        back = math.hypot(target[2] - here[2], target[3] - here[3])
        minutes = max(front, back) / speed["work"]
        # The interpreter hands every move its rate in inches per minute, G93's inverse time turned
        # into a rate too, for the XY path, or the UV path when XY stands still.
        taken = (front if front > 0 else back) / (feed * MM_PER_INCH)
        assert inverse == (feed_mode == "g93"), "%s: move %d in the wrong feed mode" % (label, k)
        assert abs(taken - minutes) <= 1e-4 * minutes + 1e-7, "%s: move %d takes %.6f min, planned %.6f" % (
            label, k, taken, minutes)
        here = target
    assert canon.state.mcodes[2] == 5, label + ": the wire is still heated at the end"
    print("%s: %d moves, %d dwells agree" % (label, len(feeds), sum(1 for e in canon.events if e[0] == "dwell")))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    gcode = import_interpreter()
    kerfline, samples = sys.argv[1], sys.argv[2]
    designs = sorted(os.path.join(samples, f) for f in os.listdir(samples)
                     if f.lower().endswith((".plt", ".dxf", ".ai", ".eps")))
    speed = speeds(kerfline)
    checked = 0
    for design in designs:
        for feed_mode in ("g94", "g93"):
            with tempfile.TemporaryDirectory() as folder:
                check(gcode, kerfline, design, feed_mode, folder, speed)
                checked += 1
    print("%d passed, 0 failed" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
