#!/usr/bin/env python3
"""Checks the committed substance library.

1. Reruns the generator into a scratch directory and compares data/CHEMLIB.DAT,
   data/substances/provenance.csv and data/substances/left-out.txt byte for
   byte with the committed files.
2. Reads data/CHEMLIB.DAT on its own (not through the generator's records) and
   checks every substance: the file layout, the boiling point its Antoine
   constants give at 760 mmHg against its stated boiling point (1.5 K), the
   Vossler saturation pressure at the boiling point (within 5 % of 1 atm), a
   positive heat of vaporisation below the critical temperature, positive
   viscosity, heat capacity and conductivities over their ranges, the
   molecular weight against the formula (0.2 %) and PAC-1 <= PAC-2 <= PAC-3.

Usage: check.py SCRATCH_DIR    exit status 0 when everything holds
"""

import math
import os
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import generate  # noqa: E402  (atomic weights and the formula parser)

OUTPUTS = ["data/CHEMLIB.DAT", "data/substances/provenance.csv", "data/substances/left-out.txt"]
KEYS = ["NameEn", "NameZh", "CAS", "UN", "Formula", "PAC", "Source"]
VOSSLER_ITEMS = [1, 3, 2, 4, 2, 4, 2, 4, 2, 6, 2, 3, 2, 1]


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def items(line, count):
    vals = [f32(float(x)) for x in line.replace(",", " ").split()]
    if len(vals) != count:
        raise ValueError("%d items where %d belong: %r" % (len(vals), count, line))
    return vals


def parse_library(raw):
    if raw.startswith(b"\xef\xbb\xbf"):
        raise ValueError("byte-order mark")
    text = raw.decode("gbk")
    if not text.endswith("\r\n") or "\n" in text.replace("\r\n", "") or "\r" in text.replace("\r\n", ""):
        raise ValueError("every line must end with CR LF")
    lines = text[:-2].split("\r\n")
    subs = []
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith(";"):
            i += 1
            continue
        if line != "[SUBSTANCE]":
            raise ValueError("line %d: %r outside a block" % (i + 1, line))
        head = {}
        for k, key in enumerate(KEYS):
            name, _, value = lines[i + 1 + k].partition("=")
            if name != key:
                raise ValueError("line %d: key %s where %s belongs" % (i + 2 + k, name, key))
            head[key] = value
        i += 1 + len(KEYS)
        if lines[i] != "[CH.DAT]":
            raise ValueError("line %d: [CH.DAT] missing" % (i + 1))
        general = lines[i + 1:i + 14]
        i += 14
        vossler = None
        if lines[i] == "[EVAP.DAT]":
            vossler = lines[i + 1:i + 15]
            i += 15
        if lines[i] != "[END]":
            raise ValueError("line %d: [END] missing after %s" % (i + 1, head["CAS"]))
        i += 1
        subs.append((head, general, vossler))
    return subs


def check_substance(head, general, vossler):
    cas = head["CAS"]
    g = [items(general[k], 1)[0] for k in range(9)]
    a, b, c = items(general[9], 3)
    items(general[10], 2)
    items(general[11], 1)
    items(general[12], 1)
    mw, tb, tc = g[4], g[5], g[6]
    if mw == 0 or tb == 0:
        return "molecular weight or boiling point is 0"
    # Antoine (mmHg, degC): boiling point at 760 mmHg
    if b == 0 or c == 0:
        return "vapour-pressure constants are not in the Antoine form"
    tb_antoine = b / (a - math.log10(760.0)) - c + 273.15
    if abs(tb_antoine - tb) > 1.5:
        return "Antoine boiling point %.2f K, stated %.2f K" % (tb_antoine, tb)
    # molecular weight against the formula
    wf = generate.formula_weight(generate.parse_formula(head["Formula"]))
    if abs(mw / wf - 1.0) > 0.002:
        return "molecular weight %g, formula weight %g" % (mw, wf)
    # PAC order
    if head["PAC"]:
        p1, p2, p3, unit = head["PAC"].split(",")
        if unit not in ("ppm", "mg/m3") or not (float(p1) <= float(p2) <= float(p3)):
            return "PAC values out of order or unit unknown: %s" % head["PAC"]
    if vossler is None:
        return None
    if len(vossler) != 14:
        return "Vossler block has %d lines" % len(vossler)
    v = [items(line, n) for line, n in zip(vossler, VOSSLER_ITEMS)]
    for k in range(1, 13):
        if f32(sum(v[k])) == 0:
            return "Vossler line %d sums to 0" % (k + 1)

    def grid(hi_lo):
        hi, lo = hi_lo
        if hi < lo:
            raise ValueError("range written lowest first")
        n = max(2, int(hi - lo) + 1)
        return [lo + (hi - lo) * j / (n - 1) for j in range(n)]

    def clamp(t, hi_lo):
        hi, lo = hi_lo
        return lo if t < lo else (hi if t > hi else t)

    # saturation pressure at the boiling point
    sa, sb, sc, sd, se, sf = v[9]
    t = clamp(tb, v[10])
    log_p = sa - sb / (t + sc) - sd / (t * t) + se * t + sf * t * t
    p = 10.0 ** log_p / 760.0
    if abs(p - 1.0) > 0.05:
        return "Vossler saturation pressure at the boiling point %.4f atm" % p
    # heat of vaporisation positive below the critical temperature
    ha, hb, hc, hd = v[7]
    top = min(tc, v[8][0]) if tc else v[8][0]
    for t in grid(v[8]):
        t = min(t, top)
        base = (ha - t) / (ha - hb)
        if not (base > 0 and hc * base ** hd > 0):
            return "heat of vaporisation not positive at %.1f K" % t
    for name, coeffs, rng in (("vapour viscosity", v[1], v[2]), ("vapour heat capacity", v[3], v[4]),
                              ("vapour conductivity", v[5], v[6]),
                              ("liquid conductivity", v[11], v[12])):
        for t in grid(rng):
            if not sum(k * t ** j for j, k in enumerate(coeffs)) > 0:
                return "%s not positive at %.1f K" % (name, t)
    return None


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    scratch = os.path.abspath(argv[1])
    if os.path.isdir(scratch):
        shutil.rmtree(scratch)
    os.makedirs(scratch)
    failures = []
    subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", scratch], check=True)
    for rel in OUTPUTS:
        with open(os.path.join(ROOT, rel), "rb") as fh:
            committed = fh.read()
        with open(os.path.join(scratch, rel), "rb") as fh:
            fresh = fh.read()
        if committed != fresh:
            failures.append("%s differs from a fresh generation (rerun tools/substances/generate.py)" % rel)
    with open(os.path.join(ROOT, "data", "CHEMLIB.DAT"), "rb") as fh:
        subs = parse_library(fh.read())
    previous = None
    for head, general, vossler in subs:
        key = (head["NameZh"].encode("gbk"), head["CAS"])
        if previous is not None and key <= previous:
            failures.append("%s: not in order of the Chinese name" % head["CAS"])
        previous = key
        try:
            problem = check_substance(head, general, vossler)
        except ValueError as e:
            problem = str(e)
        if problem:
            failures.append("%s %s: %s" % (head["CAS"], head["NameEn"], problem))
    for f in failures:
        print(f)
    print("%d substances, %d with a Vossler set, %d problems"
          % (len(subs), sum(1 for s in subs if s[2]), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
