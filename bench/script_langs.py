"""Runs the script benchmarks (see script_langs.sh) and prints the table."""
import math
import os
import subprocess
import sys
import tempfile
import time

RUNNER, FOLDER = sys.argv[1], sys.argv[2]
# name, size, doubled size (twice the work), whether doubling is linear
SIZES = [
    ("loop", 5000000, 10000000),
    ("fib", 30, None),
    ("sieve", 2000000, 4000000),
    ("mandel", 200, 283),
    ("matmul", 150, 189),
]
PYTHON, LUA = "/usr/bin/python3", "lua5.4"


def source(name, ext, n):
    with open(os.path.join(FOLDER, f"{name}.{ext}")) as f:
        text = f.read().replace("@N@", str(n))
    fd, path = tempfile.mkstemp(suffix="." + ext)
    with os.fdopen(fd, "w") as f:
        f.write(text)
    return path


def wall(cmd, repeat=3):
    """Best wall time in ms of a process and its output."""
    best, out = None, ""
    for _ in range(repeat):
        t0 = time.perf_counter()
        out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout.strip()
        ms = (time.perf_counter() - t0) * 1000
        best = ms if best is None else min(best, ms)
    return best, out


def ours(path, hook=False, repeat=3):
    best = None
    for _ in range(repeat):
        out = subprocess.run([RUNNER, "--once", path] + (["--hook"] if hook else []), check=True,
                             capture_output=True, text=True).stdout.split()
        c, r, checksum = float(out[0]), float(out[1]), out[2]
        if best is None or r < best[1]:
            best = (c, r, checksum)
    return best


def main():
    py_start, _ = wall([PYTHON, "-c", "pass"], 5)
    lua_start, _ = wall([LUA, "-e", ""], 5)
    print(f"start-up subtracted: python {py_start:.1f} ms, lua {lua_start:.1f} ms\n")
    head = f"{'benchmark':<16}{'compile':>9}{'ours':>9}{'+hook':>9}{'python':>9}{'lua':>9}{'ours/py':>9}{'ours/lua':>9}  checksums"
    print(head)
    print("-" * len(head))
    ratios, doubling, ok = [], [], True
    for name, n, n2 in SIZES:
        pas, py, lua = source(name, "pas", n), source(name, "py", n), source(name, "lua", n)
        c, r, ck = ours(pas)
        _, rh, _ = ours(pas, hook=True, repeat=1)
        tp, cp = wall([PYTHON, py])
        tl, cl = wall([LUA, lua])
        tp, tl = max(tp - py_start, 0.1), max(tl - lua_start, 0.1)
        same = ck == cp == cl
        ok = ok and same
        ratios.append(r / tp)
        print(f"{name + ' ' + str(n):<16}{c:>9.2f}{r:>9.1f}{rh:>9.1f}{tp:>9.1f}{tl:>9.1f}{r / tp:>9.2f}{r / tl:>9.2f}  "
              f"{'same' if same else 'DIFFER'} ({ck} {cp} {cl})")
        if n2:
            _, r2, _ = ours(source(name, "pas", n2))
            doubling.append((name, n, n2, r, r2))
        for p in (pas, py, lua):
            os.unlink(p)
    gm = math.exp(sum(math.log(x) for x in ratios) / len(ratios))
    print(f"\ngeometric mean ours/python: {gm:.2f} (target <= 1.5); worst: {max(ratios):.2f} (target <= 3)")
    print("\ntwice the work (ms):")
    for name, n, n2, r, r2 in doubling:
        print(f"  {name:<8} {n:>8} -> {n2:<8} {r:9.1f} -> {r2:9.1f}  x{r2 / r:.2f}")
    if not ok:
        print("checksums differ", file=sys.stderr)
        sys.exit(1)


main()
