#!/usr/bin/env python3
"""Converts drawings with two builds of travex-convert under several settings and compares the
plot data files byte for byte; prints one line per conversion and the wall time and peak
memory of both.

usage: compare_plot_data.py OLD_TRAVEX_CONVERT NEW_TRAVEX_CONVERT [DRAWING.svg ...]
Without drawings: every drawing in examples/ and tests/drawings/ plus the generated ones
(circles, blobs, nested rings, a random mix); --generated-only leaves out the first two.
"""
import hashlib
import math
import os
import random
import re
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = float(os.environ.get("COMPARE_TIMEOUT", "600"))
TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

SETTINGS = [
    ("sort0", ["--sort", "0"], "pen"),
    ("sort1", ["--sort", "1"], "pen"),
    ("sort2", ["--sort", "2"], "pen"),
    ("sort2-landscape", ["--sort", "2", "--landscape"], "pen"),
    ("sort1-pen-order-off", ["--sort", "1", "--pen-order-off"], "pen"),
    ("cutter-union", ["--sort", "1"], "cutter"),
    ("cutter-no-union", ["--sort", "1", "--no-overlap"], "cutter"),
    ("cutter-landscape", ["--sort", "2", "--landscape"], "cutter"),
    ("cutter-frame", ["--sort", "1", "--frame-cut"], "cutter"),
    ("cutter-frame-no-union", ["--sort", "0", "--frame-cut", "--no-overlap"], "cutter"),
    ("mixed", ["--sort", "2"], "mixed"),
]


def svg_head(width, height, label):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<svg xmlns="http://www.w3.org/2000/svg" '
            'xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" '
            f'width="{width}mm" height="{height}mm" viewBox="0 0 {width} {height}">\n'
            f'<g inkscape:label="{label}" style="fill:none;stroke:#000">\n')


def circles(count):
    side = math.ceil(math.sqrt(count))
    step = min(190.0 / side, 3.0)
    out = [svg_head(210, 297, "Shapes")]
    for i in range(count):
        out.append(f'<circle cx="{10 + (i % side) * step:.3f}" cy="{10 + (i // side) * step:.3f}" '
                   f'r="{step * 0.3:.3f}"/>\n')
    return "".join(out) + "</g>\n</svg>\n"


def blobs(count):
    side = math.ceil(math.sqrt(count))
    r, k = 2.5, 0.5523 * 2.5
    out = [svg_head(210, 297, "Shapes")]
    for i in range(count):
        cx, cy = 10 + (i % side) * 3.0, 10 + (i // side) * 4.3
        out.append(f'<path d="M{cx + r:.3f} {cy:.3f} C{cx + r:.3f} {cy + k:.3f} {cx + k:.3f} {cy + r:.3f} '
                   f'{cx:.3f} {cy + r:.3f} C{cx - k:.3f} {cy + r:.3f} {cx - r:.3f} {cy + k:.3f} {cx - r:.3f} '
                   f'{cy:.3f} C{cx - r:.3f} {cy - k:.3f} {cx - k:.3f} {cy - r:.3f} {cx:.3f} {cy - r:.3f} '
                   f'C{cx + k:.3f} {cy - r:.3f} {cx + r:.3f} {cy - k:.3f} {cx + r:.3f} {cy:.3f}Z"/>\n')
    return "".join(out) + "</g>\n</svg>\n"


def nested(clusters, depth):
    side = math.ceil(math.sqrt(clusters))
    out = [svg_head(210, 297, "Shapes")]
    for c in range(clusters):
        cx, cy = 8 + (c % side) * 9.5, 8 + (c // side) * 9.5
        for d in range(depth):
            out.append(f'<circle cx="{cx:.3f}" cy="{cy:.3f}" r="{4.5 - d * 0.8:.3f}"/>\n')
    return "".join(out) + "</g>\n</svg>\n"


def mix(seed, count):
    """Rectangles and circles that overlap, touch, nest and lie at equal distances."""
    rnd = random.Random(seed)
    out = [svg_head(210, 297, "Shapes")]
    for _ in range(count):
        x, y = rnd.randrange(0, 40) * 5, rnd.randrange(0, 56) * 5
        kind = rnd.randrange(4)
        if kind == 0:
            out.append(f'<rect x="{x}" y="{y}" width="{rnd.choice([5, 10, 2.5])}" height="{rnd.choice([5, 10])}"/>\n')
        elif kind == 1:
            out.append(f'<circle cx="{x}" cy="{y}" r="{rnd.choice([1, 2.5, 5])}"/>\n')
        elif kind == 2:
            out.append(f'<path d="M{x} {y}L{x + 5} {y}"/>\n')
        else:
            out.append(f'<path d="M{x} {y}L{x + 5} {y + 5}L{x} {y + 5}Z"/>\n')
    return "".join(out) + "</g>\n</svg>\n"


def generated(folder):
    drawings = {
        "circles-1024": circles(1024), "circles-4096": circles(4096), "circles-20000": circles(20000),
        "blobs-4096": blobs(4096), "nested-5": nested(400, 5), "mix-1": mix(1, 1500), "mix-2": mix(2, 3000),
    }
    paths = []
    for name, text in drawings.items():
        path = os.path.join(folder, name + ".svg")
        with open(path, "w") as f:
            f.write(text)
        paths.append(path)
    return paths


def layer_titles(path):
    text = open(path, encoding="utf-8", errors="replace").read()
    titles = []
    for match in re.finditer(r'<g\b([^>]*)>', text):
        attrs = match.group(1)
        label = re.search(r'inkscape:label="([^"]*)"', attrs) or re.search(r'\bid="([^"]*)"', attrs)
        if label and label.group(1) not in titles:
            titles.append(label.group(1))
    return titles


def run(program, drawing, options, home):
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ, HOME=home, XDG_DOCUMENTS_DIR=os.path.join(home, "Documents"),
               XDG_CONFIG_HOME=os.path.join(home, ".config"), TMPDIR=home)
    start = time.monotonic()
    # In a session of its own, so that a run over time is ended whole and leaves no conversion
    # holding the job files' lock.
    child = subprocess.Popen(["/usr/bin/time", "-f", "%M", program, drawing] + options, env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
    try:
        stdout, stderr = child.communicate(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(child.pid, signal.SIGKILL)
        child.communicate()
        return "timeout", b"", time.monotonic() - start, 0
    proc = subprocess.CompletedProcess(child.args, child.returncode, stdout, stderr)
    seconds = time.monotonic() - start
    lines = proc.stderr.strip().splitlines()
    peak = int(lines[-1]) if lines and lines[-1].isdigit() else 0
    data = b""
    out = proc.stdout.strip().splitlines()
    if proc.returncode == 0 and out and os.path.exists(out[-1]):
        with open(out[-1], "rb") as f:
            data = f.read()
    return proc.returncode, data, seconds, peak


def cached_run(program, drawing, options, home, keep):
    """With COMPARE_CACHE set, the old build's results are kept there and reused."""
    cache = os.environ.get("COMPARE_CACHE")
    if not keep or not cache:
        return run(program, drawing, options, home)
    with open(drawing, "rb") as f:
        key = hashlib.sha256(f.read() + repr(options).encode()).hexdigest()
    path = os.path.join(cache, key)
    if os.path.exists(path + ".meta"):
        with open(path + ".meta") as f:
            rc, seconds, peak = f.read().split()
        with open(path + ".data", "rb") as f:
            return (int(rc) if rc != "timeout" else rc), f.read(), float(seconds), int(peak)
    result = run(program, drawing, options, home)
    if result[0] != 0:
        return result
    os.makedirs(cache, exist_ok=True)
    with open(path + ".data", "wb") as f:
        f.write(result[1])
    with open(path + ".meta", "w") as f:
        f.write(f"{result[0]} {result[2]} {result[3]}")
    return result


def main():
    args = sys.argv[1:]
    only_generated = "--generated-only" in args
    args = [a for a in args if a != "--generated-only"]
    if len(args) < 2:
        print(__doc__)
        return 2
    old, new, drawings = args[0], args[1], args[2:]
    folder = tempfile.mkdtemp(prefix="travex-compare-")
    if not drawings:
        if not only_generated:
            for sub in ("examples", "tests/drawings"):
                d = os.path.join(TOP, sub)
                drawings += sorted(os.path.join(d, f) for f in os.listdir(d) if f.endswith(".svg"))
        drawings += generated(folder)
    differ = 0
    timeouts = 0
    for drawing in drawings:
        titles = layer_titles(drawing)
        for name, options, kind in SETTINGS:
            layers = []
            for n, title in enumerate(titles):
                slot = {"pen": 1 + n % 4, "cutter": 8, "mixed": 8 if n % 2 else 1}[kind]
                layers += ["--layer", f"{title}={slot}"]
            results = [cached_run(program, drawing, layers + options, os.path.join(folder, "home-" + which),
                                  which == "old")
                       for which, program in (("old", old), ("new", new))]
            same = results[0][0] == results[1][0] and results[0][1] == results[1][1]
            if "timeout" in (results[0][0], results[1][0]):
                timeouts += 1
                print(f"TIMEOUT {os.path.basename(drawing):28} {name:22} old {results[0][2]:7.2f}s "
                      f"new {results[1][2]:7.2f}s", flush=True)
                continue
            differ += 0 if same else 1
            digest = hashlib.sha256(results[1][1]).hexdigest()[:12]
            print(f"{'same  ' if same else 'DIFFER'} {os.path.basename(drawing):28} {name:22} "
                  f"rc {results[0][0]}/{results[1][0]} bytes {len(results[1][1]):8} {digest} "
                  f"old {results[0][2]:7.2f}s {results[0][3] // 1024:5}MB new {results[1][2]:7.2f}s "
                  f"{results[1][3] // 1024:5}MB", flush=True)
    print(f"{differ} conversions differ, {timeouts} not compared (a build took over {TIMEOUT:.0f} s)")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
