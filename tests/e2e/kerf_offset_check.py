"""An independent check of the kerf offset with shapely, on what kerfline-cli writes.

1. The exported drawing of a compensated design: every outer contour lies half a kerf outside
   its drawn figure and every hole half a kerf inside: each point of the path within 0.03 mm of
   half a kerf from the drawing, and the drawing as far from the path except at inner corners,
   which an offset goes round at half a kerf from the corner point.
   The HPGL export is read, since it keeps the plotter units exactly; the DXF export rounds
   millimetres to one decimal.
2. The wire path the virtual cutter ran, swept by a wire that melts a kerf wide channel,
   leaves every part at its drawn size.

usage: kerf_offset_check.py KERFLINE_CLI
"""
import json
import math
import os
import subprocess
import sys
import tempfile

from shapely.geometry import LinearRing, LineString, Point, Polygon, box

UNITS_PER_MM = 40.0
OFFSET_TOLERANCE_MM = 0.03
# The swept channel is a buffer of the wire path, drawn with its own arcs; the path itself
# comes back from the controller in motor steps.
PART_TOLERANCE_MM = 0.05


def square(x, y, size):
    return [(x, y), (x + size, y), (x + size, y + size), (x, y + size), (x, y)]


def circle(cx, cy, r, n):
    points = [(round(cx + r * math.cos(2 * math.pi * k / n)), round(cy + r * math.sin(2 * math.pi * k / n)))
              for k in range(n)]
    return points + [points[0]]


# Plotter units. Parts: a square with a hole holding an island, a circle, an L with a reflex
# corner, a square with a slot notched into its top edge.
DESIGN = [
    square(0, 0, 2000),
    square(600, 600, 800),
    square(900, 900, 200),
    circle(3400, 1000, 600, 72),
    [(4600, 0), (6200, 0), (6200, 600), (5200, 600), (5200, 2000), (4600, 2000), (4600, 0)],
    [(6800, 0), (8800, 0), (8800, 2000), (7900, 2000), (7900, 1600), (7700, 1600), (7700, 2000), (6800, 2000),
     (6800, 0)],
]
HOLES = {1}
SOLID_PARTS = [3, 4, 5]  # parts no connector needs to enter


def write_hpgl(path, contours):
    with open(path, "w", newline="") as f:
        for contour in contours:
            x, y = contour[0]
            f.write(f"PA {x},{y};\r\n")
            for x, y in contour[1:]:
                f.write(f"PD {x},{y};\r\n")
            f.write("PU;\r\n")


def read_hpgl(path):
    figures, current = [], []
    with open(path) as f:
        for line in f:
            line = line.strip().rstrip(";")
            if line.startswith("PA ") or line.startswith("PD "):
                x, y = line[3:].split(",")
                current.append((int(x), int(y)))
            elif line == "PU":
                figures.append(current)
                current = []
    return figures


def samples(line, step=0.05):
    """The vertices of a boundary and points every `step` mm along it."""
    points = [Point(c) for c in line.coords]
    points += [line.interpolate(k * step) for k in range(int(line.length / step) + 1)]
    return points


def distances(a, b):
    """The least and the greatest distance of the points of boundary a from boundary b."""
    d = [b.distance(p) for p in samples(a)]
    return min(d), max(d)


def reflex_corners(points):
    """The vertices of a closed outline where it turns against its sense (inner corners)."""
    ring = points[:-1]
    area = sum(ax * by - bx * ay for (ax, ay), (bx, by) in zip(ring, ring[1:] + ring[:1]))
    corners = []
    for k, (bx, by) in enumerate(ring):
        ax, ay = ring[k - 1]
        cx, cy = ring[(k + 1) % len(ring)]
        turn = (bx - ax) * (cy - by) - (by - ay) * (cx - bx)
        if turn * area < 0:
            corners.append(Point(bx, by))
    return corners


def mm(points):
    return [(x / UNITS_PER_MM, y / UNITS_PER_MM) for x, y in points]


def cli(tool, data, *arguments):
    result = subprocess.run([tool, *arguments, "USA", f"dataDir'{data}/'"], capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError(f"kerfline-cli {arguments[0]} failed: {result.stderr}")
    return result.stdout


def check_offsets(tool, work, design, kerf, failures):
    exported = os.path.join(work, f"offset_{kerf}.plt")
    cli(tool, work, "export", design, "--hpgl", exported, "--set", f"kerf={kerf}")
    figures = read_hpgl(exported)
    half = kerf / 2
    for index, drawn in enumerate(DESIGN):
        path = mm(figures[index])
        drawn_mm = mm(drawn)
        # Every point of the path lies half a kerf from the drawing.
        low, high = distances(LinearRing(path), LinearRing(drawn_mm))
        if low < half - OFFSET_TOLERANCE_MM or high > half + OFFSET_TOLERANCE_MM:
            failures.append(f"kerf {kerf}: figure {index} lies {low:.4f} to {high:.4f} mm from its drawing, "
                            f"not {half} mm")
        # And the drawing lies half a kerf from the path, but at corners the path goes round:
        # there the corner of the drawing is up to half a kerf times the square root of two away.
        low, high = distances(LinearRing(drawn_mm), LinearRing(path))
        if low < half - OFFSET_TOLERANCE_MM or high > half * math.sqrt(2) + OFFSET_TOLERANCE_MM:
            failures.append(f"kerf {kerf}: the drawing of figure {index} lies {low:.4f} to {high:.4f} mm from "
                            f"its path")
        inner, outer = (Polygon(path), Polygon(drawn_mm)) if index in HOLES else (Polygon(drawn_mm), Polygon(path))
        if not outer.buffer(1e-6).contains(inner):
            side = "inside" if index in HOLES else "outside"
            failures.append(f"kerf {kerf}: figure {index} is not {side} its drawing")


def check_cut(tool, work, design, kerf, failures):
    plan = json.loads(cli(tool, work, "plan", design, "--set", f"kerf={kerf}", "-o", os.path.join(work, "p.cn")))
    start = plan["figures"][plan["startFigure"]]
    s0 = start["points"][start["startVertex"]]
    cut = json.loads(cli(tool, work, "cut", design, "--virtual-machine", "--set", f"kerf={kerf}"))
    if cut["status"] != "completed":
        failures.append(f"kerf {kerf}: the cut ended {cut['status']}")
        return
    machine, origin = cut["machine"], cut["origin"]

    def at(steps):
        return ((s0[0] + (steps[0] - origin[0]) / machine["resX"] * 0.4) / UNITS_PER_MM,
                (s0[1] + (steps[1] - origin[1]) / machine["resY"] * 0.4) / UNITS_PER_MM)

    wire = LineString([at(origin)] + [at(p["steps"]) for p in cut["path"]])
    channel = wire.buffer(kerf / 2, resolution=64)
    minx, miny, maxx, maxy = wire.bounds
    left = box(minx - 20, miny - 20, maxx + 20, maxy + 20).difference(channel)
    pieces = list(left.geoms) if hasattr(left, "geoms") else [left]
    for index in SOLID_PARTS:
        part = Polygon(mm(DESIGN[index]))
        inside = part.representative_point()
        piece = next((p for p in pieces if p.contains(inside)), None)
        if piece is None:
            failures.append(f"kerf {kerf}: no piece of foam is left where part {index} lies")
            continue
        # The wire cannot cut an inner corner sharper than its own channel: it leaves a fillet
        # of half a kerf there. Everywhere else the piece is the part as drawn.
        corners = reflex_corners(mm(DESIGN[index]))
        for a, b in ((piece.exterior, part.exterior), (part.exterior, piece.exterior)):
            for p in samples(a):
                if any(p.distance(c) < kerf for c in corners):
                    continue
                if b.distance(p) > PART_TOLERANCE_MM:
                    failures.append(f"kerf {kerf}: part {index} comes out {b.distance(p):.4f} mm off its drawing "
                                    f"at ({p.x:.2f}, {p.y:.2f})")
                    break


def main():
    tool = sys.argv[1]
    passed = failed = 0
    with tempfile.TemporaryDirectory() as work:
        design = os.path.join(work, "parts.plt")
        write_hpgl(design, DESIGN)
        for kerf in (0.4, 1.0, 1.5):
            for check in (check_offsets, check_cut):
                failures = []
                check(tool, work, design, kerf, failures)
                print(f"{check.__name__} kerf {kerf}: {'FAILED' if failures else 'ok'}")
                for failure in failures:
                    print("  " + failure)
                failed += 1 if failures else 0
                passed += 0 if failures else 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
