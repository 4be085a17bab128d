#!/usr/bin/env python3
"""Expected rectangles of the layout nodes, computed on the host from the placement rules.

Writes one case a line to the file named by the first argument:
  anchor lo hi size near_mode near_margin far_mode far_margin keep -> near far
  share target n size weight ... -> final_target final_size ...
The layout tests read the file and compare the program's answers.
"""
import itertools
import random
import os
import sys


def half(value):
    """Halving that rounds toward zero, as C integer division does."""
    return -((-value) // 2) if value < 0 else value // 2


def edge_rule(near_mode, far_mode, keep):
    """The anchor rule for one axis, as a function of (lo, hi, size, m1, m2)."""

    def rule(lo, hi, size, m1, m2):
        mid = half(lo + hi)
        centred = lo + m1 + half(hi - m2 - m1 - lo - size)
        modes = (near_mode if 0 <= near_mode <= 3 else 0, far_mode if 0 <= far_mode <= 3 else 0)
        if modes == (0, 0):
            n, f = centred, centred + size
        elif modes[0] == 0:
            f = {1: lo + m2, 2: hi - m2, 3: mid + m2}[modes[1]]
            n = f - size
        elif modes == (1, 0):
            n = lo + m1
            f = n + size if keep else hi - m2
        elif modes == (1, 1):
            n, f = lo + m1, lo + m2
            if keep:
                if f < n + size:
                    f = n + size
                else:
                    n = f - size
        elif modes == (1, 2):
            n, f = (centred, centred + size) if keep else (lo + m1, hi - m2)
        elif modes == (1, 3):
            n, f = lo + m1, mid
            if keep:
                n = mid - size
                if n < lo + m1:
                    n, f = lo + m1, lo + m1 + size
        elif modes == (2, 0):
            n = hi - m1
            f = n + size
        elif modes == (2, 1):
            if keep:
                n = hi - m1 - half(hi + size - m2 - m1 - lo)
                f = n + size
            else:
                n, f = hi - m1, lo + m2
        elif modes == (2, 2):
            n, f = hi - m1, hi - m2
            if keep:
                f = n + size
                if hi - m2 < n + size:
                    f, n = hi - m2, hi - m2 - size
        elif modes == (2, 3):
            n, f = hi - m1, mid
            if keep:
                n = mid - size
                if hi - m1 < n:
                    n, f = hi - m1, hi - m1 + size
        elif modes == (3, 0):
            n = mid + m1
            f = n + size
        elif modes in ((3, 1), (3, 2)):
            bound = lo + m2 if modes[1] == 1 else hi - m2
            n, f = mid, bound
            if keep:
                f = mid + size
                outside = f < bound if modes[1] == 1 else bound < f
                if outside:
                    f, n = bound, bound - size
        else:
            n, f = mid - half(size), mid + size - half(size)
        return (f, n) if f < n else (n, f)

    return rule


def share(target, tracks):
    """Final target and track sizes of one grid axis; tracks are (size, weight) pairs."""
    sizes = [s for s, _ in tracks]
    if not tracks:
        return target, sizes
    total, weights = sum(sizes), sum(w for _, w in tracks)
    if target < total:
        return total, sizes
    if target > total and weights > 0.00001:
        extra, running, given = float(target - total), 0.0, 0
        for i, (_, w) in enumerate(tracks):
            running += extra * w / weights
            d = int(running - given + 0.5)
            given += d
            sizes[i] += d
    return target, sizes


def main():
    out = []
    rnd = random.Random(20261210)
    boxes = [(0, 100), (10, 110), (-40, 25), (5, 6), (0, 0), (-7, -3)]
    for near, far, keep in itertools.product(range(4), range(4), (0, 1)):
        rule = edge_rule(near, far, keep)
        samples = [(lo, hi, size, m1, m2) for lo, hi in boxes for size, m1, m2 in
                   ((20, 3, 4), (0, 0, 0), (150, 10, 5), (7, -5, 9), (33, 60, 2), (1, 0, 120))]
        for _ in range(24):
            lo = rnd.randint(-300, 300)
            samples.append((lo, lo + rnd.randint(0, 400), rnd.randint(0, 250), rnd.randint(-30, 90),
                            rnd.randint(-30, 90)))
        for lo, hi, size, m1, m2 in samples:
            n, f = rule(lo, hi, size, m1, m2)
            out.append(f"anchor {lo} {hi} {size} {near} {m1} {far} {m2} {keep} -> {n} {f}")
    shares = [
        (100, [(0, 1.0), (0, 2.0)]),
        (300, [(100, 0.0), (100, 0.0)]),
        (50, [(40, 1.0), (30, 1.0)]),
        (0, []),
        (101, [(0, 1.0), (0, 1.0), (0, 1.0)]),
        (1000, [(10, 0.5), (0, 0.0), (20, 3.0), (5, 1.5)]),
        (7, [(0, 1.0)] * 5),
    ]
    for _ in range(40):
        tracks = [(rnd.randint(0, 60), rnd.choice((0.0, 0.25, 0.5, 1.0, 2.0, 3.0))) for _ in range(rnd.randint(1, 6))]
        shares.append((rnd.randint(0, 500), tracks))
    for target, tracks in shares:
        final, sizes = share(target, tracks)
        spec = " ".join(f"{s} {w}" for s, w in tracks)
        out.append(f"share {target} {len(tracks)} {spec} -> {final} {' '.join(map(str, sizes))}".replace("  ", " "))
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[1])), exist_ok=True)
    with open(sys.argv[1], "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
