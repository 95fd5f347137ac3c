#!/usr/bin/env python3
"""Builds the substance library data/CHEMLIB.DAT and its provenance table.

Reads only the source tables kept under data/substances/ (see SOURCES.md there),
fits the correlations the program evaluates and writes, deterministically:

  data/CHEMLIB.DAT                 the library (GBK, CR LF)
  data/substances/provenance.csv   source table and row of every value; fitted
                                   range and largest relative error of every fit
  data/substances/left-out.txt     substances of the selection left out, and why

Every substance is checked before it is written; a failed check stops the
generation with a message naming the substance and the check.

Usage: generate.py [--out DIR]   (DIR defaults to the repository root; the
three files are written below it at the same relative paths)
Python 3 standard library only.
"""

import argparse
import csv
import io
import math
import os
import re
import struct
import sys
from decimal import ROUND_HALF_UP, Decimal

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SRC = os.path.join(ROOT, "data", "substances")

BOLTZMANN = 1.380649e-23  # J/K (exact, SI 2019)
GAS_CONSTANT = 8.314462618  # J/(mol K) (exact, SI 2019)
ATM = 101325.0  # Pa
MMHG = ATM / 760.0  # Pa

# Standard atomic weights (IUPAC Commission on Isotopic Abundances and Atomic
# Weights, "Standard atomic weights of the elements 2021", Pure Appl. Chem. 94
# (2022) 573; the conventional values of its abridged table for the elements
# given as intervals).
ATOMIC_WEIGHTS = {
    "H": 1.008, "He": 4.002602, "B": 10.81, "C": 12.011, "N": 14.007, "O": 15.999,
    "F": 18.998403162, "Ne": 20.1797, "Si": 28.085, "P": 30.973761998, "S": 32.06,
    "Cl": 35.45, "Ar": 39.95, "As": 74.921595, "Se": 78.971, "Br": 79.904,
    "Kr": 83.798, "Sb": 121.760, "I": 126.90447, "Xe": 131.293, "Ge": 72.630,
    "Sn": 118.710, "Al": 26.9815384, "Pb": 207.2, "Ti": 47.867, "Hg": 200.592, "Ni": 58.6934,
    "Fe": 55.845, "Mo": 95.95, "W": 183.84, "Cr": 51.9961, "Te": 127.60,
}

# Ambient temperatures the air-temperature box allows (K).
AMBIENT_LOW = 223.15
AMBIENT_HIGH = 333.15


class GenerationError(Exception):
    pass


# ---------------------------------------------------------------- numbers

def f32(x):
    """x rounded to the nearest single-precision value."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def _general_form(v, sig):
    # Shortest text with at most sig significant digits, halves away from zero;
    # exponent form below 1e-4 and from 1e7 on ("1.5E-05", "2E+07").
    if v == 0:
        return "0"
    sign = "-" if v < 0 else ""
    d = Decimal(abs(v))
    r = d.quantize(Decimal(1).scaleb(d.adjusted() + 1 - sig), rounding=ROUND_HALF_UP)
    t = r.normalize().as_tuple()
    digits = "".join(str(x) for x in t.digits)
    exp = t.exponent
    x = exp + len(digits) - 1
    if x < -4 or x >= 7:
        s = sign + digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        return s + "E" + ("-" if x < 0 else "+") + "%02d" % abs(x)
    if exp >= 0:
        return sign + digits + "0" * exp
    frac = -exp
    if len(digits) > frac:
        return sign + digits[:-frac] + "." + digits[-frac:]
    return sign + "0." + "0" * (frac - len(digits)) + digits


def fmt(v):
    """The shortest decimal text that reads back as the same single, as the
    program writes parameter items."""
    v = f32(v)
    if v == 0:
        return "0"
    for sig in range(1, 10):
        text = _general_form(v, sig)
        if f32(float(text)) == v:
            return text
    return _general_form(v, 9)


def sig_round(v, n):
    """v rounded to n significant digits (for published values re-stated)."""
    if v == 0:
        return 0.0
    return float(_general_form(v, n))


# ---------------------------------------------------------------- linear algebra

def solve(a, b):
    """Solves a x = b (small dense system) by Gaussian elimination with partial
    pivoting."""
    n = len(b)
    m = [list(a[i]) + [b[i]] for i in range(n)]
    for col in range(n):
        piv = max(range(col, n), key=lambda r: abs(m[r][col]))
        if m[piv][col] == 0:
            raise GenerationError("singular least-squares system")
        m[col], m[piv] = m[piv], m[col]
        for r in range(col + 1, n):
            f = m[r][col] / m[col][col]
            for c in range(col, n + 1):
                m[r][c] -= f * m[col][c]
    x = [0.0] * n
    for r in range(n - 1, -1, -1):
        s = m[r][n] - sum(m[r][c] * x[c] for c in range(r + 1, n))
        x[r] = s / m[r][r]
    return x


def least_squares(rows, ys, weights=None):
    """Coefficients minimising sum w (row . c - y)^2, via normal equations with
    column scaling."""
    k = len(rows[0])
    scale = [max(abs(r[j]) for r in rows) or 1.0 for j in range(k)]
    ata = [[0.0] * k for _ in range(k)]
    atb = [0.0] * k
    for idx, (r, y) in enumerate(zip(rows, ys)):
        w = 1.0 if weights is None else weights[idx]
        rs = [r[j] / scale[j] for j in range(k)]
        for i in range(k):
            atb[i] += w * rs[i] * y
            for j in range(k):
                ata[i][j] += w * rs[i] * rs[j]
    c = solve(ata, atb)
    return [c[j] / scale[j] for j in range(k)]


def grid(lo, hi, step=1.0, most=81):
    """Temperatures from lo to hi inclusive, about step apart (at most `most`
    of them)."""
    n = min(most, max(2, int(math.ceil((hi - lo) / step)) + 1))
    return [lo + (hi - lo) * i / (n - 1) for i in range(n)]


def golden_min(f, a, b, iterations=80):
    g = (math.sqrt(5.0) - 1.0) / 2.0
    c = b - g * (b - a)
    d = a + g * (b - a)
    fc, fd = f(c), f(d)
    for _ in range(iterations):
        if fc < fd:
            b, d, fd = d, c, fc
            c = b - g * (b - a)
            fc = f(c)
        else:
            a, c, fc = c, d, fd
            d = a + g * (b - a)
            fd = f(d)
    return (a + b) / 2.0


# ---------------------------------------------------------------- formulas

def parse_formula(text):
    """Element counts of a formula such as CH3COCl or (CH3)2NNH2."""
    # structural formulas mark ring closures and bonds with - = #
    plain = re.sub(r"[-=#\s]", "", text)
    tokens = re.findall(r"[A-Z][a-z]?|\(|\)|\d+", plain)
    if "".join(tokens) != plain:
        raise GenerationError("formula not understood: %s" % text)
    stack = [{}]
    i = 0
    while i < len(tokens):
        t = tokens[i]
        i += 1
        if t == "(":
            stack.append({})
            continue
        if t.isdigit():
            raise GenerationError("formula not understood: %s" % text)
        n = 1
        if i < len(tokens) and tokens[i].isdigit():
            n = int(tokens[i])
            i += 1
        if t == ")":
            if len(stack) < 2:
                raise GenerationError("unbalanced formula: %s" % text)
            group = stack.pop()
            for k, v in group.items():
                stack[-1][k] = stack[-1].get(k, 0) + v * n
        else:
            if t not in ATOMIC_WEIGHTS:
                raise GenerationError("no atomic weight for %s in %s" % (t, text))
            stack[-1][t] = stack[-1].get(t, 0) + n
    if len(stack) != 1:
        raise GenerationError("unbalanced formula: %s" % text)
    return stack[0]


def hill_formula(counts):
    def part(el):
        n = counts[el]
        return el + (str(n) if n != 1 else "")
    els = sorted(counts)
    if "C" in counts:
        order = ["C"] + (["H"] if "H" in counts else []) + [e for e in els if e not in ("C", "H")]
    else:
        order = els
    return "".join(part(e) for e in order)


def formula_weight(counts):
    return sum(ATOMIC_WEIGHTS[e] * n for e, n in counts.items())


# ---------------------------------------------------------------- source tables

class Table:
    """A tab-separated source table: rows by CAS, with their line numbers."""

    def __init__(self, relpath, cas_column=0):
        self.relpath = relpath
        self.rows = {}
        with open(os.path.join(SRC, relpath), encoding="utf-8", newline="") as fh:
            lines = fh.read().split("\n")
        self.header = lines[0].rstrip("\r").split("\t")
        for lineno, line in enumerate(lines[1:], start=2):
            line = line.rstrip("\r")
            if not line.strip():
                continue
            cells = line.split("\t")
            cas = cells[cas_column].strip()
            if cas and cas not in self.rows:
                self.rows[cas] = (lineno, cells)

    def get(self, cas):
        return self.rows.get(cas)

    def num(self, cas, column):
        row = self.rows.get(cas)
        if row is None:
            return None
        idx = self.header.index(column)
        if idx >= len(row[1]):
            return None
        text = row[1][idx].strip()
        if not text:
            return None
        try:
            return float(text)
        except ValueError:
            return None

    def where(self, cas):
        return "%s line %d" % (self.relpath, self.rows[cas][0])


class ChemSep:
    """The ChemSep pure-component extract: one record per compound."""

    relpath = "chemsep/ChemSep8.32-extract.xml"

    def __init__(self):
        with open(os.path.join(SRC, self.relpath), encoding="utf-8") as fh:
            text = fh.read()
        self.compounds = {}
        for block in re.findall(r"<compound>(.*?)</compound>", text, re.S):
            cas = self._attr(block, "CAS")
            if cas:
                self.compounds[cas] = block

    @staticmethod
    def _attr(block, tag):
        m = re.search(r"<%s\b[^>]*\bvalue=\"([^\"]*)\"\s*/>" % tag, block)
        return m.group(1) if m else None

    def has(self, cas):
        return cas in self.compounds

    def where(self, cas, tag):
        block = self.compounds[cas]
        return "%s LibraryIndex %s (%s) %s" % (
            self.relpath, self._attr(block, "LibraryIndex"), self._attr(block, "CompoundID"), tag)

    def text(self, cas, tag):
        block = self.compounds.get(cas)
        return None if block is None else self._attr(block, tag)

    def value(self, cas, tag):
        t = self.text(cas, tag)
        if t is None or t == "":
            return None
        return float(t)

    def correlation(self, cas, tag):
        """(eqno, [A..E], Tmin, Tmax) of a temperature correlation, or None."""
        block = self.compounds.get(cas)
        if block is None:
            return None
        m = re.search(r"<%s\b[^>]*>(.*?)</%s>" % (tag, tag), block, re.S)
        if not m:
            return None
        body = m.group(1)
        eq = int(re.search(r"<eqno value=\"(\d+)\"", body).group(1))
        coeffs = []
        for c in "ABCDE":
            cm = re.search(r"<%s value=\"([^\"]*)\"" % c, body)
            coeffs.append(float(cm.group(1)) if cm else 0.0)
        tmin = float(re.search(r"<Tmin[^>]*value=\"([^\"]*)\"", body).group(1))
        tmax = float(re.search(r"<Tmax[^>]*value=\"([^\"]*)\"", body).group(1))
        return eq, coeffs, tmin, tmax


def chemsep_eval(eq, c, t, tc=None):
    a, b, cc, d, e = c
    if eq == 1:
        return a
    if eq == 2:
        return a + b * t
    if eq == 3:
        return a + b * t + cc * t * t
    if eq == 4:
        return a + b * t + cc * t * t + d * t ** 3
    if eq == 10:
        return math.exp(a - b / (cc + t))
    if eq == 16:
        return a + math.exp(b / t + cc + d * t + e * t * t)
    if eq == 100:
        return a + b * t + cc * t * t + d * t ** 3 + e * t ** 4
    if eq == 101:
        return math.exp(a + b / t + cc * math.log(t) + d * t ** e)
    if eq == 102:
        return a * t ** b / (1.0 + cc / t + d / (t * t))
    if eq == 105:
        return a / b ** (1.0 + (1.0 - t / cc) ** d)
    if eq == 106:
        tr = t / tc
        return a * (1.0 - tr) ** (b + cc * tr + d * tr * tr + e * tr ** 3)
    raise GenerationError("correlation form %d not handled" % eq)


# A property source: a function of T (SI units named in `unit`), its valid
# range (None when the table gives none) and where it comes from.
class Corr:
    def __init__(self, func, tmin, tmax, where, unit):
        self.func = func
        self.tmin = tmin
        self.tmax = tmax
        self.where = where
        self.unit = unit

    def __call__(self, t):
        return self.func(t)


class Sources:
    def __init__(self):
        self.cs = ChemSep()
        d = "chemicals/"
        self.yaws = Table(d + "Yaws Collection.tsv")
        self.iupac = Table(d + "IUPACOrganicCriticalProps.tsv")
        self.crc_crit = Table(d + "CRCCriticalOrganics.tsv")
        self.mathews = Table(d + "Mathews1972InorganicCriticalProps.tsv")
        self.perry_vp = Table(d + "Table 2-8 Vapor Pressure of Inorganic and Organic Liquids.tsv")
        self.poling_antoine = Table(d + "Antoine Collection Poling.tsv")
        self.landolt = Table(d + "Landolt_antoine_V20.tsv")
        self.vdi_vp = Table(d + "VDI PPDS Boiling temperatures at different pressures.tsv")
        self.mcgarry = Table(d + "Wagner Original McGarry.tsv")
        self.perry_rho = Table(d + "Perry Parameters 105.tsv")
        self.vdi_rho = Table(d + "VDI PPDS Density of Saturated Liquids.tsv")
        self.perry_hvap = Table(d + "Table 2-150 Heats of Vaporization of Inorganic and Organic Liquids.tsv")
        self.vdi_hvap = Table(d + "VDI PPDS Enthalpies of vaporization.tsv")
        self.perry_mug = Table(d + "Table 2-312 Vapor Viscosity of Inorganic and Organic Substances.tsv")
        self.vdi_mug = Table(d + "VDI PPDS Dynamic viscosity of gases polynomials.tsv")
        self.perry_kg = Table(d + "Table 2-314 Vapor Thermal Conductivity of Inorganic and Organic Substances.tsv")
        self.vdi_kg = Table(d + "VDI PPDS Thermal conductivity of gases.tsv")
        self.perry_kl = Table(d + "Table 2-315 Thermal Conductivity of Inorganic and Organic Liquids.tsv")
        self.vdi_kl = Table(d + "VDI PPDS Thermal conductivity of saturated liquids.tsv")
        self.poling_cp = Table(d + "PolingDatabank.tsv")
        self.poling_lj = Table(d + "PolingLJ.tsv")
        self.magalhaes_lj = Table(d + "MagalhaesLJ.tsv")
        self.crc_org = Table(d + "Physical Constants of Organic Compounds.csv")
        self.crc_inorg = Table(d + "Physical Constants of Inorganic Compounds.csv")
        self.yaws_tb = Table(d + "Yaws Boiling Points.tsv")
        self.pubchem = Table(d + "chemical identifiers pubchem small.tsv", cas_column=1)
        self.ontario = Table(d + "Ontario Exposure Limits.tsv")
        self.pac = read_csv_by("pac-rev29.csv", "cas")


def read_csv_by(relpath, key):
    out = {}
    with open(os.path.join(SRC, relpath), encoding="utf-8", newline="") as fh:
        reader = csv.DictReader(fh)
        for lineno, row in enumerate(reader, start=2):
            out.setdefault(row[key].strip(), (lineno, row))
    return out


def read_selection():
    rows = []
    path = os.path.join(SRC, "substances.csv")
    with open(path, encoding="utf-8", newline="") as fh:
        for lineno, row in enumerate(csv.DictReader(fh), start=2):
            if not row["cas"].strip() or row["cas"].startswith("#"):
                continue
            row = {k: (v or "").strip() for k, v in row.items()}
            row["line"] = lineno
            rows.append(row)
    return rows


# ---------------------------------------------------------------- one substance

class Substance:
    def __init__(self, sel):
        self.cas = sel["cas"]
        self.name_en = sel["name_en"]
        self.name_zh = sel["name_zh"]
        self.sel = sel
        self.prov = []  # (field, value text, source, detail)
        self.general = None
        self.vossler = None
        self.un = sel.get("un", "")
        self.formula = ""
        self.pac = ""

    def note(self, field, value, source, detail=""):
        self.prov.append((field, value, source, detail))


def first(*candidates):
    for c in candidates:
        if c is not None and c[0] is not None:
            return c
    return (None, None)


def critical_constants(src, cas):
    """(Tc K, Pc Pa, Vc m3/mol) with their sources: each from the first table
    that has it. A critical volume that makes the critical compressibility
    Pc Vc / (R Tc) fall outside 0.15-0.40 (no real fluid does) is passed over
    for the next table's."""
    cs = src.cs
    cands = {"Tc": [], "Pc": [], "Vc": []}
    if cs.has(cas):
        for key, tag, conv in (("Tc", "CriticalTemperature", 1.0), ("Pc", "CriticalPressure", 1.0),
                               ("Vc", "CriticalVolume", 1e-3)):
            v = cs.value(cas, tag)
            if v:
                cands[key].append((v * conv, cs.where(cas, tag)))
    for table in (src.iupac, src.crc_crit, src.mathews, src.yaws):
        if table.get(cas) is None:
            continue
        for key in ("Tc", "Pc", "Vc"):
            v = table.num(cas, key)
            if v:
                cands[key].append((v, table.where(cas)))
    out = {}
    for key in ("Tc", "Pc"):
        if cands[key]:
            out[key] = cands[key][0]
    if "Tc" in out and "Pc" in out:
        for v, where in cands["Vc"]:
            zc = out["Pc"][0] * v / (GAS_CONSTANT * out["Tc"][0])
            if 0.15 <= zc <= 0.40:
                out["Vc"] = (v, where)
                break
    elif cands["Vc"]:
        out["Vc"] = cands["Vc"][0]
    return out


def vapour_pressure_sources(src, cas):
    """Saturation pressure correlations (Pa) of every source that has one, in
    order of preference."""
    out = []
    cs = src.cs
    c = cs.correlation(cas, "VaporPressure")
    if c and c[0] in (10, 101):
        eq, k, tmin, tmax = c
        out.append(Corr(lambda t, eq=eq, k=k: chemsep_eval(eq, k, t), tmin, tmax,
                        cs.where(cas, "VaporPressure (eq. %d)" % eq), "Pa"))
    t = src.perry_vp
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in ("C1", "C2", "C3", "C4", "C5")]
        out.append(Corr(lambda x, k=k: math.exp(k[0] + k[1] / x + k[2] * math.log(x) + k[3] * x ** k[4]),
                        t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 101)", "Pa"))
    t = src.vdi_vp
    if t.get(cas):
        tc, pc, a, b, c_, d = (t.num(cas, n) for n in ("Tc", "Pc", "A", "B", "C", "D"))

        def f(x, tc=tc, pc=pc, a=a, b=b, c_=c_, d=d):
            tau = 1.0 - x / tc
            return pc * math.exp(tc / x * (a * tau + b * tau ** 1.5 + c_ * tau ** 2.5 + d * tau ** 5))
        out.append(Corr(f, t.num(cas, "Tm"), tc, t.where(cas) + " (PPDS Wagner 2.5-5 form)", "Pa"))
    t = src.poling_antoine
    if t.get(cas):
        a, b, c_ = (t.num(cas, n) for n in ("A", "B", "C"))
        out.append(Corr(lambda x, a=a, b=b, c_=c_: 10.0 ** (a - b / (x + c_)), t.num(cas, "Tmin"),
                        t.num(cas, "Tmax"), t.where(cas) + " (log10 Pa, K)", "Pa"))
    t = src.mcgarry
    if t.get(cas):
        tc, pc, a, b, c_, d = (t.num(cas, n) for n in ("Tc", "Pc", "A", "B", "C", "D"))

        def f(x, tc=tc, pc=pc, a=a, b=b, c_=c_, d=d):
            tau = 1.0 - x / tc
            return pc * math.exp(tc / x * (a * tau + b * tau ** 1.5 + c_ * tau ** 3 + d * tau ** 6))
        out.append(Corr(f, t.num(cas, "Tmin"), tc, t.where(cas) + " (Wagner 3-6 form)", "Pa"))
    t = src.landolt
    if t.get(cas):
        a, b, c_ = (t.num(cas, n) for n in ("A", "B", "C"))
        out.append(Corr(lambda x, a=a, b=b, c_=c_: math.exp(a - b / (x + c_)), t.num(cas, "Tmin"),
                        t.num(cas, "Tmax"), t.where(cas) + " (ln Pa, K)", "Pa"))
    return out


def correlation_boiling_point(corr):
    """Temperature (K) at which a saturation-pressure correlation gives
    101325 Pa: from the low end of its range (100 K when none is given) it
    steps 1 K up, or down when the pressure there is already above 1 atm,
    evaluating beyond the stated range where needed, then bisects. None when
    no crossing is found between 20 and 1200 K."""
    def p(t):
        try:
            v = corr(t)
        except (ValueError, ZeroDivisionError, OverflowError):
            return None
        return v if isinstance(v, float) and math.isfinite(v) and v > 0 else None
    t0 = corr.tmin if corr.tmin else 100.0
    p0 = p(t0)
    if p0 is None:
        return None
    step = 1.0 if p0 < ATM else -1.0
    t = t0
    for _ in range(1200):
        t1 = t + step
        if not 5.0 <= t1 <= 1200.0:
            return None
        p1 = p(t1)
        if p1 is None:
            return None
        if (p1 >= ATM) != (p0 >= ATM):
            lo, hi = min(t, t1), max(t, t1)
            for _ in range(60):
                m = 0.5 * (lo + hi)
                pm = p(m)
                if pm is None:
                    return None
                if pm > ATM:
                    hi = m
                else:
                    lo = m
            return 0.5 * (lo + hi)
        t, p0 = t1, p1
    return None


def liquid_density_source(src, cas, mw, tc):
    """Saturated liquid density correlation in g/cm3."""
    cs = src.cs
    c = cs.correlation(cas, "LiquidDensity")
    if c and c[0] == 105:
        eq, k, tmin, tmax = c
        return Corr(lambda t: chemsep_eval(eq, k, t) * mw / 1000.0, tmin, tmax,
                    cs.where(cas, "LiquidDensity (eq. 105, kmol/m3)"), "g/cm3")
    t = src.perry_rho
    if t.get(cas):
        k = [t.num(cas, n) for n in ("C1", "C2", "C3", "C4")]
        return Corr(lambda x: k[0] / k[1] ** (1.0 + (1.0 - x / k[2]) ** k[3]) * mw / 1e6,
                    t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 105, mol/m3)",
                    "g/cm3")
    t = src.vdi_rho
    if t.get(cas):
        tcv, rc, a, b, c_, d = (t.num(cas, n) for n in ("Tc", "rhoc", "A", "B", "C", "D"))

        def f(x):
            tau = 1.0 - x / tcv
            return (rc + a * tau ** 0.35 + b * tau ** (2.0 / 3.0) + c_ * tau + d * tau ** (4.0 / 3.0)) / 1000.0
        return Corr(f, None, tcv, t.where(cas) + " (PPDS, kg/m3)", "g/cm3")
    return None


def heat_of_vaporisation_source(src, cas, mw, tc):
    """Heat of vaporisation in J/kg."""
    cs = src.cs
    c = cs.correlation(cas, "HeatOfVaporization")
    if c and c[0] == 106:
        eq, k, tmin, tmax = c
        tcc = cs.value(cas, "CriticalTemperature")
        return Corr(lambda t: chemsep_eval(eq, k, t, tcc) / mw, tmin, tmax,
                    cs.where(cas, "HeatOfVaporization (eq. 106, J/kmol)"), "J/kg")
    t = src.perry_hvap
    if t.get(cas):
        tcp = t.num(cas, "Tc")
        k = [t.num(cas, n) or 0.0 for n in ("C1", "C2", "C3", "C4")]

        def f(x):
            tr = x / tcp
            return k[0] * (1.0 - tr) ** (k[1] + k[2] * tr + k[3] * tr * tr) * 1000.0 / mw
        return Corr(f, t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 106, J/mol)",
                    "J/kg")
    t = src.vdi_hvap
    if t.get(cas):
        tcv, a, b, c_, d, e = (t.num(cas, n) for n in ("Tc", "A", "B", "C", "D", "E"))

        def f(x):
            tau = 1.0 - x / tcv
            return GAS_CONSTANT * tcv * (a * tau ** (1 / 3.0) + b * tau ** (2 / 3.0) + c_ * tau
                                         + d * tau ** 2 + e * tau ** 6) * 1000.0 / mw
        return Corr(f, None, tcv, t.where(cas) + " (PPDS, J/mol)", "J/kg")
    return None


def gas_viscosity_source(src, cas):
    cs = src.cs
    c = cs.correlation(cas, "VaporViscosity")
    if c and c[0] in (2, 102):
        eq, k, tmin, tmax = c
        return Corr(lambda t: chemsep_eval(eq, k, t), tmin, tmax,
                    cs.where(cas, "VaporViscosity (eq. %d, Pa s)" % eq), "Pa s")
    t = src.perry_mug
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in ("C1", "C2", "C3", "C4")]
        return Corr(lambda x: k[0] * x ** k[1] / (1.0 + k[2] / x + k[3] / (x * x)),
                    t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 102, Pa s)", "Pa s")
    t = src.vdi_mug
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in "ABCDE"]
        return Corr(lambda x: k[0] + k[1] * x + k[2] * x ** 2 + k[3] * x ** 3 + k[4] * x ** 4,
                    None, None, t.where(cas) + " (PPDS polynomial, Pa s)", "Pa s")
    return None


def gas_conductivity_source(src, cas):
    cs = src.cs
    c = cs.correlation(cas, "VaporThermalConductivity")
    if c and c[0] in (3, 102):
        eq, k, tmin, tmax = c
        return Corr(lambda t: chemsep_eval(eq, k, t), tmin, tmax,
                    cs.where(cas, "VaporThermalConductivity (eq. %d, W/(m K))" % eq), "W/(m K)")
    t = src.perry_kg
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in ("C1", "C2", "C3", "C4")]
        return Corr(lambda x: k[0] * x ** k[1] / (1.0 + k[2] / x + k[3] / (x * x)),
                    t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 102, W/(m K))",
                    "W/(m K)")
    t = src.vdi_kg
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in "ABCDE"]
        return Corr(lambda x: k[0] + k[1] * x + k[2] * x ** 2 + k[3] * x ** 3 + k[4] * x ** 4,
                    None, None, t.where(cas) + " (PPDS polynomial, W/(m K))", "W/(m K)")
    return None


def liquid_conductivity_source(src, cas):
    cs = src.cs
    c = cs.correlation(cas, "LiquidThermalConductivity")
    if c and c[0] in (3, 16, 100):
        eq, k, tmin, tmax = c
        return Corr(lambda t: chemsep_eval(eq, k, t), tmin, tmax,
                    cs.where(cas, "LiquidThermalConductivity (eq. %d, W/(m K))" % eq), "W/(m K)")
    t = src.perry_kl
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in ("C1", "C2", "C3", "C4", "C5")]
        return Corr(lambda x: k[0] + k[1] * x + k[2] * x ** 2 + k[3] * x ** 3 + k[4] * x ** 4,
                    t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (DIPPR eq. 100, W/(m K))",
                    "W/(m K)")
    t = src.vdi_kl
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in "ABCDE"]
        return Corr(lambda x: k[0] + k[1] * x + k[2] * x ** 2 + k[3] * x ** 3 + k[4] * x ** 4,
                    None, None, t.where(cas) + " (PPDS polynomial, W/(m K))", "W/(m K)")
    return None


def gas_heat_capacity_source(src, cas, mw):
    """Ideal-gas heat capacity in J/(kg K)."""
    cs = src.cs
    c = cs.correlation(cas, "IdealGasHeatCapacityCp")
    if c and c[0] in (4, 16, 100):
        eq, k, tmin, tmax = c
        return Corr(lambda t: chemsep_eval(eq, k, t) / mw, tmin, tmax,
                    cs.where(cas, "IdealGasHeatCapacityCp (eq. %d, J/(kmol K))" % eq), "J/(kg K)")
    t = src.poling_cp
    if t.get(cas):
        k = [t.num(cas, n) or 0.0 for n in ("a0", "a1", "a2", "a3", "a4")]
        return Corr(lambda x: GAS_CONSTANT * (k[0] + k[1] * x + k[2] * x ** 2 + k[3] * x ** 3
                                              + k[4] * x ** 4) * 1000.0 / mw,
                    t.num(cas, "Tmin"), t.num(cas, "Tmax"), t.where(cas) + " (Cp/R polynomial)", "J/(kg K)")
    return None


# ---------------------------------------------------------------- fits

def max_rel_error(func, ref, temps):
    worst = 0.0
    for t in temps:
        r = ref(t)
        worst = max(worst, abs(func(t) - r) / abs(r))
    return worst


def fit_antoine(points, c_low):
    """log10 p = A - B/(x + C) by weighted least squares in log10 p; C searched
    (coarse scan above c_low, then golden section). points: (x, log10 p,
    weight). Returns A, B, C."""
    def ab_sse(c):
        sw = su = suu = sy = suy = syy = 0.0
        for x, y, w in points:
            u = -1.0 / (x + c)
            sw += w
            su += w * u
            suu += w * u * u
            sy += w * y
            suy += w * u * y
            syy += w * y * y
        det = sw * suu - su * su
        b = (sw * suy - su * sy) / det
        a = (sy - b * su) / sw
        # sum w (a + b u - y)^2 expanded
        sse = (syy - 2 * a * sy - 2 * b * suy + a * a * sw + 2 * a * b * su + b * b * suu)
        return a, b, sse

    nodes = [c_low + i * 10.0 for i in range(0, 61)]
    vals = [ab_sse(c)[2] for c in nodes]
    i = min(range(len(nodes)), key=lambda j: vals[j])
    c = golden_min(lambda cc: ab_sse(cc)[2], nodes[max(i - 1, 0)], nodes[min(i + 1, len(nodes) - 1)], 60)
    a, b, _ = ab_sse(c)
    return a, b, c


def fit_antoine_ef(points, c_low):
    """log10 p = A - B/(x + C) + E x + F x^2 by weighted least squares in
    log10 p; C searched as in fit_antoine. Returns A, B, C, E, F."""
    def solve_for(c):
        rows = [[1.0, -1.0 / (x + c), x, x * x] for x, _, _ in points]
        ys = [y for _, y, _ in points]
        ws = [w for _, _, w in points]
        k = least_squares(rows, ys, ws)
        sse = sum(w * (k[0] + k[1] * r[1] + k[2] * r[2] + k[3] * r[3] - y) ** 2
                  for r, y, w in zip(rows, ys, ws))
        return k, sse

    nodes = [c_low + i * 20.0 for i in range(0, 31)]
    vals = [solve_for(c)[1] for c in nodes]
    i = min(range(len(nodes)), key=lambda j: vals[j])
    c = golden_min(lambda cc: solve_for(cc)[1], nodes[max(i - 1, 0)], nodes[min(i + 1, len(nodes) - 1)], 40)
    k, _ = solve_for(c)
    return k[0], k[1], c, k[2], k[3]


def poly_fit(temps, values, degree, relative=True):
    rows = [[t ** j for j in range(degree + 1)] for t in temps]
    weights = [1.0 / (v * v) for v in values] if relative else None
    return least_squares(rows, values, weights)


def poly_eval(coeffs, t):
    return sum(c * t ** j for j, c in enumerate(coeffs))


def clip_range(lo, hi, corr):
    if corr.tmin is not None:
        lo = max(lo, corr.tmin)
    if corr.tmax is not None:
        hi = min(hi, corr.tmax)
    return lo, hi


def pct(x):
    return "%.3g%%" % (100.0 * x)


# ---------------------------------------------------------------- building

def build(src, sel, left_out):
    s = Substance(sel)
    cas = s.cas
    cs = src.cs

    # -- identity: formula and molecular weight
    formula_text = None
    if cs.has(cas):
        formula_text = cs.text(cas, "StructureFormula")
        formula_where = cs.where(cas, "StructureFormula")
    elif sel.get("formula"):
        formula_text = sel["formula"]
        formula_where = "substances.csv line %d" % sel["line"]
    elif src.pubchem.get(cas):
        row = src.pubchem.get(cas)[1]
        formula_text = row[2]
        formula_where = src.pubchem.where(cas)
    if not formula_text:
        left_out.append((cas, s.name_en, "no formula in any source table"))
        return None
    counts = parse_formula(formula_text)
    s.formula = hill_formula(counts)
    s.note("Formula", s.formula, formula_where, "written from %s" % formula_text)
    mw_formula = formula_weight(counts)
    if cs.has(cas):
        mw = cs.value(cas, "MolecularWeight")
        s.note("MolecularWeight", fmt(mw), cs.where(cas, "MolecularWeight"),
               "formula weight %.4f (IUPAC 2021 atomic weights)" % mw_formula)
    else:
        mw = mw_formula
        s.note("MolecularWeight", fmt(mw), "computed from the formula",
               "IUPAC 2021 standard atomic weights")
    if abs(f32(mw) / mw_formula - 1.0) > 0.002:
        raise GenerationError("%s: molecular weight %g differs from the formula weight %g by more "
                              "than 0.2 %%" % (cas, mw, mw_formula))

    # -- boiling point and vapour-pressure correlation: the first correlation
    # (in order of preference) whose own boiling point agrees within 1 K with
    # a boiling point of the tables, taken in their order of preference
    tb_cands = [c for c in (
        (cs.value(cas, "NormalBoilingPointTemperature"), cs.has(cas) and cs.where(cas, "NormalBoilingPointTemperature")),
        (src.crc_org.num(cas, "Tb"), src.crc_org.get(cas) and src.crc_org.where(cas)),
        (src.crc_inorg.num(cas, "Tb"), src.crc_inorg.get(cas) and src.crc_inorg.where(cas)),
        (src.yaws_tb.num(cas, "Tb"), src.yaws_tb.get(cas) and src.yaws_tb.where(cas))) if c[0]]
    if not tb_cands:
        left_out.append((cas, s.name_en, "no normal boiling point in any source table"))
        return None
    vps = vapour_pressure_sources(src, cas)
    if not vps:
        left_out.append((cas, s.name_en, "no vapour-pressure correlation in any source table"))
        return None
    vp = tb = tb_where = None
    seen = []
    crossings = [(cand, correlation_boiling_point(cand)) for cand in vps]
    for cand, tbv in crossings:
        seen.append("%s %s" % ("%.2f K" % tbv if tbv else "no 1 atm crossing", cand.where))
    # First pass: agreement within 1 K. Second pass, only when no pair agrees
    # that well: within 3 K, the fit is then pulled through the stated boiling
    # point and its deviation from the correlation shows in the fit error.
    for tol in (1.0, 3.0):
        for cand, tbv in crossings:
            if tbv is None:
                continue
            for value, where in tb_cands:
                if abs(tbv - value) <= tol:
                    vp, tb, tb_where = cand, value, where
                    break
            if vp is not None:
                break
        if vp is not None:
            break
    if vp is None:
        left_out.append((cas, s.name_en, "vapour-pressure sources give a boiling point of %s; the tables state %s: "
                         "none agree within 3 K" % ("; ".join(seen),
                                                   ", ".join("%.2f K (%s)" % c for c in tb_cands))))
        return None
    tm, tm_where = first(
        (cs.value(cas, "NormalMeltingPointTemperature"), cs.has(cas) and cs.where(cas, "NormalMeltingPointTemperature")),
        (cs.value(cas, "TriplePointTemperature"), cs.has(cas) and cs.where(cas, "TriplePointTemperature")),
        (src.crc_org.num(cas, "Tm"), src.crc_org.get(cas) and src.crc_org.where(cas)),
        (src.crc_inorg.num(cas, "Tm"), src.crc_inorg.get(cas) and src.crc_inorg.where(cas)))

    crit = critical_constants(src, cas)
    tc = crit.get("Tc", (None,))[0]
    pc = crit.get("Pc", (None,))[0]
    vc = crit.get("Vc", (None,))[0]

    # -- vapour pressure: Antoine form, mmHg and deg C
    lo = min(AMBIENT_LOW, tb)
    hi = max(AMBIENT_HIGH, tb)
    lo, hi = clip_range(lo, hi, vp)
    if tc:
        hi = min(hi, tc - 1.0)
    if tm:
        lo = max(lo, tm)
    if hi - lo < 10.0 and vp.tmin is not None and vp.tmax is not None:
        # the correlation covers only temperatures outside the ambient range:
        # fit over the whole of its own range instead
        lo, hi = vp.tmin, vp.tmax
        if tc:
            hi = min(hi, tc - 1.0)
        if tm:
            lo = max(lo, tm)
    if hi - lo < 10.0:
        left_out.append((cas, s.name_en, "the vapour-pressure correlation (%s) covers less than 10 K "
                         "above the melting point" % vp.where))
        return None
    extra_tb = not (lo <= tb <= hi)
    temps = grid(lo, hi)
    points = [(t - 273.15, math.log10(vp(t) / MMHG), 1.0) for t in temps]
    # The stated boiling point (760 mmHg at Tb) enters the fit as one more
    # point weighted as a quarter of the correlation's points, so that the
    # constants honour it where the correlation bends away from the Antoine
    # form (near the critical point) or does not reach it.
    points.append((tb - 273.15, math.log10(760.0), max(10.0, len(temps) / 4.0)))
    a, b, c = fit_antoine(points, -(lo - 273.15) + 1.0)
    a, b, c = f32(a), f32(b), f32(c)
    antoine = lambda t: 10.0 ** (a - b / (t - 273.15 + c)) * MMHG
    err = max_rel_error(antoine, vp, temps)
    detail = "fitted %.2f-%.2f K (%d points) to %s; largest relative error %s" % (
        lo, hi, len(temps), vp.where, pct(err))
    if extra_tb:
        detail += "; stated boiling point added as a point (outside the correlation's range)"
    s.note("VaporPressureABC", "%s, %s, %s" % (fmt(a), fmt(b), fmt(c)), vp.where, detail)
    s.fit_errors = {"antoine": err}
    # Antoine boiling point at 760 mmHg
    tb_antoine = b / (a - math.log10(760.0)) - c + 273.15
    if abs(tb_antoine - tb) > 1.5:
        raise GenerationError("%s: Antoine constants give a boiling point of %.2f K, stated %.2f K"
                              % (cas, tb_antoine, tb))
    s.note("BoilingPoint", fmt(tb), tb_where, "Antoine constants give %.2f K at 760 mmHg" % tb_antoine)

    for key, field, conv, unit in (("Tc", "CriticalTemperature", 1.0, "K"),
                                   ("Pc", "CriticalPressure", 1.0 / ATM, "atm"),
                                   ("Vc", "CriticalVolume", 1e6, "cm3/mol")):
        if key in crit:
            s.note(field, fmt(crit[key][0] * conv), crit[key][1], "converted to %s" % unit if conv != 1.0 else "")
        else:
            s.note(field, "0", "no source", "not given")

    # -- liquid density
    is_udmh = s.name_en.upper().startswith("DIMETHYLHYDRAZINE(UDMH)")
    rho_a = rho_b = 0.0
    if is_udmh:
        # rho = a - b T - 4.8648e-7 T^2 (g/cm3): the quadratic term is fixed by
        # the program; a comes from the one tabulated density, b is left 0.
        rho = src.crc_org.num(cas, "rho")
        if rho:
            t0 = 293.15
            rho_a = f32(rho / 1000.0 + 4.8648e-7 * t0 * t0)
            s.note("LiquidDensityAB", "%s, 0" % fmt(rho_a), src.crc_org.where(cas),
                   "single tabulated density %.2f kg/m3 placed at 293.15 K in rho = a - b T - 4.8648e-7 T^2"
                   " with b = 0" % rho)
        else:
            s.note("LiquidDensityAB", "0, 0", "no source", "not given")
    else:
        dens = liquid_density_source(src, cas, mw, tc) if tc else None
        if dens and tc and vc:
            dhi = min(AMBIENT_HIGH, tb)
            dlo = AMBIENT_LOW
            if dhi - dlo < 20.0:
                dlo = dhi - 40.0
            dlo, dhi = clip_range(dlo, dhi, dens)
            if tm:
                dlo = max(dlo, tm)
            dhi = min(dhi, 0.98 * tc)
            if dhi - dlo < 5.0:
                dens = None
        if dens and tc and vc:
            dtemps = grid(dlo, dhi)
            vcc = f32(vc * 1e6)
            mwf = f32(mw)
            tcf = f32(tc)
            rows = []
            ys = []
            ws = []
            for t in dtemps:
                tau = 1.0 - t / tcf
                rho = dens(t)
                rows.append([tau ** (1.0 / 3.0), tau])
                ys.append(rho * vcc / mwf - 1.0)
                ws.append(1.0 / (rho * vcc / mwf) ** 2)
            ra, rb = least_squares(rows, ys, ws)
            rho_a, rho_b = f32(ra), f32(rb)
            model = lambda t: (1.0 + rho_a * (1.0 - t / tcf) ** (1.0 / 3.0) + rho_b * (1.0 - t / tcf)) / vcc * mwf
            derr = max_rel_error(model, dens, dtemps)
            s.fit_errors["density"] = derr
            s.note("LiquidDensityAB", "%s, %s" % (fmt(rho_a), fmt(rho_b)), dens.where,
                   "fitted %.2f-%.2f K (%d points); largest relative error %s" % (dlo, dhi, len(dtemps), pct(derr)))
        else:
            s.note("LiquidDensityAB", "0, 0", "no source", "no liquid-density correlation with critical constants")

    # -- Lennard-Jones parameters: diameter (Angstrom) and well depth
    sigma = eps_k = None
    # tabulated values outside 2.5-10 Angstrom or 20-2000 K are passed over
    lj = []
    if src.poling_lj.get(cas):
        lj.append((src.poling_lj.num(cas, "molecular_diameter"), src.poling_lj.num(cas, "Stockmayer"),
                   src.poling_lj.where(cas), "epsilon/k in K"))
    if cs.value(cas, "DiameterLJ"):
        lj.append((cs.value(cas, "DiameterLJ") * 1e10, cs.value(cas, "EnergyLJ"),
                   cs.where(cas, "DiameterLJ, EnergyLJ"), "diameter m -> Angstrom; energy as epsilon/k in K"))
    if src.magalhaes_lj.get(cas):
        lj.append((src.magalhaes_lj.num(cas, "molecular_diameter"), src.magalhaes_lj.num(cas, "Stockmayer"),
                   src.magalhaes_lj.where(cas), "epsilon/k in K"))
    for sg, ek, where, detail in lj:
        if sg and ek and 2.5 <= sg <= 10.0 and 20.0 <= ek <= 2000.0:
            sigma, eps_k, lj_where, lj_detail = sg, ek, where, detail
            break
    if sigma is None and tc and pc:
        # estimated from the critical constants (Bird, Stewart and Lightfoot):
        # sigma = 2.44 (Tc/Pc)^(1/3) Angstrom with Pc in atm, epsilon/k = 0.77 Tc
        sigma = 2.44 * (tc / (pc / ATM)) ** (1.0 / 3.0)
        eps_k = 0.77 * tc
        lj_where = "ESTIMATED from the critical constants"
        lj_detail = "sigma = 2.44 (Tc/Pc[atm])^(1/3), epsilon/k = 0.77 Tc"
    if sigma and eps_k:
        s.note("MolecularDiameter", fmt(sigma), lj_where, lj_detail)
        s.note("InteractionEnergy", fmt(eps_k), lj_where,
               "epsilon/k in K, the unit the evaporation model's reduced temperature Ta/sqrt(E x 78.6) needs")
    else:
        sigma = eps_k = 0.0
        s.note("MolecularDiameter", "0", "no source", "not given")
        s.note("InteractionEnergy", "0", "no source", "not given")

    # -- exposure limits
    twa_ppm, twa_mg, stel_ppm, stel_mg = exposure_limits(src, s, mw)

    s.general = [
        fmt(twa_ppm), fmt(twa_mg), fmt(stel_ppm), fmt(stel_mg),
        fmt(mw), fmt(tb), fmt(tc or 0.0), fmt((pc or 0.0) / ATM), fmt((vc or 0.0) * 1e6),
        "%s, %s, %s" % (fmt(a), fmt(b), fmt(c)),
        "%s, %s" % (fmt(rho_a), fmt(rho_b)),
        fmt(sigma), fmt(eps_k),
    ]

    # -- emergency thresholds
    pac_thresholds(src, s)

    # -- Vossler set
    build_vossler(src, s, mw, tb, tm, tm_where, tc, vp)
    return s


def exposure_limits(src, s, mw):
    cas = s.cas
    row = src.ontario.get(cas)
    out = [0.0, 0.0, 0.0, 0.0]
    if row is None:
        s.note("ExposureLimits", "0, 0, 0, 0", "no source", "no occupational limit in the cited table")
        return out
    where = src.ontario.where(cas)
    cells = row[1]
    # 25 degC, 101.325 kPa: molar volume 24.45 L/mol
    for col, (ippm, img) in ((2, (0, 1)), (3, (2, 3))):
        text = cells[col].strip() if col < len(cells) else ""
        m = re.match(r"^([0-9.]+)\s*(ppm|mg/m3|f/cc)", text)
        if not m or m.group(2) == "f/cc":
            continue
        v = float(m.group(1))
        if m.group(2) == "ppm":
            out[ippm] = v
            out[img] = sig_round(v * mw / 24.45, 3)
        else:
            out[img] = v
            out[ippm] = sig_round(v * 24.45 / mw, 3)
    s.note("ExposureLimits", ", ".join(fmt(x) for x in out), where,
           "TWA and STEL as published; the other unit converted at 25 degC, 101.325 kPa "
           "(24.45 L/mol), 3 significant digits")
    return out


def pac_thresholds(src, s):
    """PAC-1/2/3 in the unit the DOE table publishes them in. The cited
    tabulation gives every value in ppm (converted at 25 degC and 101.325 kPa,
    24.45 L/mol); values published in mg/m3 are restored as ppm x MW / 24.45,
    rounded to 3 significant digits."""
    row = src.pac.get(s.cas)
    if row is None:
        s.note("PAC", "", "no source", "no PAC in the cited table")
        return
    lineno, r = row
    where = "pac-rev29.csv line %d" % lineno
    vals = [r["pac1_ppm"], r["pac2_ppm"], r["pac3_ppm"]]
    if any(not v for v in vals):
        s.note("PAC", "", where, "incomplete")
        return
    ppm = [float(v) for v in vals]
    unit = r["unit"]
    if unit == "ppm":
        nums = ppm
        detail = "DOE PAC Revision 29, published in ppm"
    elif unit == "mg/m3":
        mw_t = float(r["mw"])
        nums = [sig_round(v * mw_t / 24.45, 3) for v in ppm]
        detail = ("DOE PAC Revision 29, published in mg/m3: restored from the tabulated ppm x %g / 24.45, "
                  "3 significant digits" % mw_t)
    else:
        raise GenerationError("%s: PAC unit %s" % (s.cas, unit))
    if r.get("note"):
        detail += "; " + r["note"]
    if not (nums[0] <= nums[1] <= nums[2]):
        raise GenerationError("%s: PAC-1 <= PAC-2 <= PAC-3 does not hold" % s.cas)
    s.pac = "%s,%s,%s,%s" % (fmt(nums[0]), fmt(nums[1]), fmt(nums[2]), unit)
    s.note("PAC", s.pac, where, detail)


def build_vossler(src, s, mw, tb, tm, tm_where, tc, vp):
    cas = s.cas
    need = {
        "heat of vaporisation": heat_of_vaporisation_source(src, cas, mw, tc) if tc else None,
        "vapour viscosity": gas_viscosity_source(src, cas),
        "vapour heat capacity": gas_heat_capacity_source(src, cas, mw),
        "vapour conductivity": gas_conductivity_source(src, cas),
        "liquid conductivity": liquid_conductivity_source(src, cas),
    }
    fuller = src.cs.value(cas, "FullerVolume")
    missing = [k for k, v in need.items() if v is None]
    if not tc:
        missing.insert(0, "critical temperature")
    if not tm:
        missing.insert(0, "freezing point")
    if not fuller:
        missing.append("diffusion volume")
    if missing:
        s.vossler_missing = ", ".join(missing)
        s.note("VosslerSet", "", "none", "no Vossler set: no source for " + s.vossler_missing)
        return

    # pool temperatures lie between the freezing and the boiling point
    lo = max(tm, vp.tmin or 0.0)
    hi = tb
    if hi - lo < 10.0:
        s.vossler_missing = "a liquid range"
        s.note("VosslerSet", "", "none", "no Vossler set: freezing and boiling points too close")
        return

    lines = [fmt(tm)]
    s.note("FreezingPoint", fmt(tm), tm_where)
    errs = s.fit_errors

    def fit_range(corr):
        a, b = clip_range(lo, hi, corr)
        if b - a < 10.0:
            # the correlation starts above the boiling point: fit its first
            # 50 K; the program holds the value at the lowest bound below it
            a = corr.tmin
            b = min(corr.tmin + 50.0, corr.tmax if corr.tmax else corr.tmin + 50.0)
        return a, b

    def poly_line(name, corr, degree, field):
        a_, b_ = fit_range(corr)
        temps = grid(a_, b_)
        vals = [corr(t) for t in temps]
        if min(vals) <= 0:
            raise GenerationError("%s: %s source not positive over %.1f-%.1f K" % (cas, name, a_, b_))
        coeffs = [f32(x) for x in poly_fit(temps, vals, degree)]
        model = lambda t: poly_eval(coeffs, t)
        err = max_rel_error(model, corr, temps)
        for t in grid(a_, b_, 0.5):
            if model(t) <= 0:
                raise GenerationError("%s: fitted %s not positive at %.1f K" % (cas, name, t))
        errs[field] = err
        s.note(field, ", ".join(fmt(x) for x in coeffs), corr.where,
               "%s in %s; fitted %.2f-%.2f K (%d points); largest relative error %s"
               % (name, corr.unit, a_, b_, len(temps), pct(err)))
        return ", ".join(fmt(x) for x in coeffs), "%s, %s" % (fmt(b_), fmt(a_))

    coeffs, rng = poly_line("vapour viscosity", need["vapour viscosity"], 2, "VapourViscosity")
    lines += [coeffs, rng]
    coeffs, rng = poly_line("vapour heat capacity", need["vapour heat capacity"], 3, "VapourHeatCapacity")
    lines += [coeffs, rng]
    coeffs, rng = poly_line("vapour conductivity", need["vapour conductivity"], 3, "VapourConductivity")
    lines += [coeffs, rng]

    # heat of vaporisation: C ((A - t)/(A - B))^D, A = Tc, B = Tb, C = H(Tb)
    hv = need["heat of vaporisation"]
    h_lo, h_hi = clip_range(lo, hi, hv)
    if not (h_lo <= tb <= h_hi + 1e-9):
        h_hi = max(h_hi, tb)
    temps = grid(h_lo, h_hi)
    ha = f32(tc)
    hb = f32(tb)
    hc = f32(hv(tb))
    num = den = 0.0
    for t in temps:
        x = math.log((ha - t) / (ha - hb))
        if abs(x) < 1e-9:
            continue
        y = math.log(hv(t) / hc)
        num += x * y
        den += x * x
    hd = f32(num / den) if den else f32(0.38)
    model = lambda t: hc * ((ha - t) / (ha - hb)) ** hd
    herr = max_rel_error(model, hv, temps)
    errs["VaporizationHeat"] = herr
    for t in grid(h_lo, h_hi, 0.5):
        if not model(t) > 0:
            raise GenerationError("%s: heat of vaporisation not positive at %.1f K" % (cas, t))
    hline = "%s, %s, %s, %s" % (fmt(ha), fmt(hb), fmt(hc), fmt(hd))
    s.note("VaporizationHeat", hline, hv.where,
           "J/kg; A = critical temperature, B = boiling point, C = heat at B, D fitted %.2f-%.2f K "
           "(%d points); largest relative error %s" % (h_lo, h_hi, len(temps), pct(herr)))
    lines += [hline, "%s, %s" % (fmt(h_hi), fmt(h_lo))]

    # saturation pressure: log10 mmHg = A - B/(t + C) - D/t^2 + E t + F t^2,
    # t in K. The Antoine terms alone (D = E = F = 0) where they follow the
    # source within 3 % and meet 1 atm at the boiling point within 1 %;
    # otherwise E and F as well (D stays 0).
    p_lo, p_hi = clip_range(lo, hi, vp)
    p_hi = max(p_hi, tb)
    temps = grid(p_lo, min(p_hi, vp.tmax) if vp.tmax else p_hi)
    points = [(t, math.log10(vp(t) / MMHG), 1.0) for t in temps]
    points.append((tb, math.log10(760.0), max(10.0, len(temps) / 4.0)))
    sa, sb, sc = (f32(x) for x in fit_antoine(points, -p_lo + 1.0))
    se = sf = 0.0
    model = lambda t: 10.0 ** (sa - sb / (t + sc) + se * t + sf * t * t) * MMHG
    perr = max_rel_error(model, vp, temps)
    p_tb = model(tb) / ATM
    if perr > 0.03 or abs(p_tb - 1.0) > 0.01:
        sa, sb, sc, se, sf = (f32(x) for x in fit_antoine_ef(points, -p_lo + 1.0))
        perr = max_rel_error(model, vp, temps)
        p_tb = model(tb) / ATM
    errs["SaturationPressure"] = perr
    if abs(p_tb - 1.0) > 0.05:
        raise GenerationError("%s: saturation pressure at the boiling point is %.4f atm" % (cas, p_tb))
    pline = "%s, %s, %s, 0, %s, %s" % (fmt(sa), fmt(sb), fmt(sc), fmt(se), fmt(sf))
    s.note("SaturationPressure", pline, vp.where,
           "log10 mmHg, t in K; fitted %.2f-%.2f K (%d points); largest relative error %s; %.4f atm at "
           "the boiling point" % (p_lo, p_hi, len(temps), pct(perr), p_tb))
    lines += [pline, "%s, %s" % (fmt(p_hi), fmt(p_lo))]

    coeffs, rng = poly_line("liquid conductivity", need["liquid conductivity"], 2, "LiquidConductivity")
    lines += [coeffs, rng]
    lines.append(fmt(fuller))
    s.note("DiffusionVolume", fmt(fuller), src.cs.where(cas, "FullerVolume"))
    s.vossler = lines


# ---------------------------------------------------------------- output

HEADER = """; ZELTO substance library: general and Vossler parameter blocks of hazardous substances.
; Generated by tools/substances/generate.py from the source tables in data/substances/;
; do not edit by hand. data/substances/provenance.csv names the source table and row of every
; value and the fitted range and largest relative error of every fitted correlation.
; Sources and licences (see data/substances/SOURCES.md):
;  - ChemSep pure-component databank 8.32, (c) Harry Kooijman and Ross Taylor, Artistic License 2.0
;  - data tables of the chemicals library by Caleb Bell (MIT licence): critical constants, Antoine
;    and DIPPR correlations, Lennard-Jones parameters, VDI PPDS polynomials, Ontario exposure limits
;  - US DOE Protective Action Criteria, Revision 29 (public domain)
;  - Chinese names: GB 18218-2018 table 1 and the catalogue of hazardous chemicals (2015 edition)
; Units: general block as the property editor shows it (K, atm, cm3/mol, Antoine mmHg and degC,
; molecular diameter in Angstrom, interaction energy as epsilon/k in K); Vossler block in SI
; (Pa s, J/(kg K), W/(m K), J/kg, log10 mmHg with t in K).
"""


def sort_key(s):
    return (s.name_zh.encode("gbk"), s.cas)


def write_outputs(subs, left_out, outdir):
    lines = HEADER.rstrip("\n").split("\n")
    lines.append("; %d substances, %d with a Vossler set" % (len(subs), sum(1 for s in subs if s.vossler)))
    for s in subs:
        lines += ["[SUBSTANCE]",
                  "NameEn=" + s.name_en,
                  "NameZh=" + s.name_zh,
                  "CAS=" + s.cas,
                  "UN=" + s.un,
                  "Formula=" + s.formula,
                  "PAC=" + s.pac,
                  "Source=" + s.cas,
                  "[CH.DAT]"] + s.general
        if s.vossler:
            lines += ["[EVAP.DAT]"] + s.vossler
        lines.append("[END]")
    text = "\r\n".join(lines) + "\r\n"
    lib = os.path.join(outdir, "data", "CHEMLIB.DAT")
    os.makedirs(os.path.dirname(lib), exist_ok=True)
    with open(lib, "wb") as fh:
        fh.write(text.encode("gbk"))

    buf = io.StringIO()
    w = csv.writer(buf, lineterminator="\n")
    w.writerow(["key", "field", "value", "source", "detail"])
    for s in subs:
        for field, value, source, detail in s.prov:
            w.writerow([s.cas, field, value, source, detail])
    prov = os.path.join(outdir, "data", "substances", "provenance.csv")
    os.makedirs(os.path.dirname(prov), exist_ok=True)
    with open(prov, "w", encoding="utf-8", newline="") as fh:
        fh.write(buf.getvalue())

    out = ["# Substances of data/substances/substances.csv left out of the library, and why.",
           "# Generated by tools/substances/generate.py.", ""]
    for cas, name, reason in sorted(left_out):
        out.append("%s\t%s\t%s" % (cas, name, reason))
    out += ["", "# Entries of GB 18218-2018 table 1 that are not in the library, and why.", ""]
    out += gb18218_not_in_library(subs, left_out)
    with open(os.path.join(outdir, "data", "substances", "left-out.txt"), "w", encoding="utf-8",
              newline="") as fh:
        fh.write("\n".join(out) + "\n")


def gb18218_not_in_library(subs, left_out):
    """Every entry of the major-hazard table is either in the library or has a reason: the generator's own
    (left-out list) or the one written beside the entry when it was not selected (mixtures, solids)."""
    in_lib = {s.cas for s in subs}
    reasons = {cas: reason for cas, _, reason in left_out}
    lines = []
    with open(os.path.join(SRC, "gb18218-2018-table1.csv"), encoding="utf-8", newline="") as fh:
        for row in csv.DictReader(fh):
            cas = row["cas"].strip()
            if cas in in_lib:
                continue
            reason = reasons.get(cas) or row["not_selected"].strip()
            if not reason:
                raise GenerationError("GB 18218-2018 table 1 entry %s (%s, CAS %s) is neither in the library nor "
                                      "given a reason" % (row["no"], row["name"], cas or "none"))
            lines.append("%s\t%s\t%s\t%s" % (row["no"], cas or "-", row["name"], reason))
    return lines


def check_names(subs):
    seen = {}
    for s in subs:
        if not re.fullmatch(r"[A-Z0-9 ,()'\-+.]+", s.name_en):
            raise GenerationError("%s: English name must be upper-case ASCII: %s" % (s.cas, s.name_en))
        for key in ("cas:" + s.cas, "en:" + s.name_en, "zh:" + s.name_zh):
            if key in seen:
                raise GenerationError("duplicate %s" % key)
            seen[key] = True
        s.name_zh.encode("gbk")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=ROOT, help="directory below which the outputs are written")
    parser.add_argument("--survey", action="store_true",
                        help="list substances that fail a check instead of stopping (outputs not written)")
    args = parser.parse_args(argv)
    src = Sources()
    subs = []
    left_out = []
    for sel in read_selection():
        try:
            s = build(src, sel, left_out)
        except GenerationError as e:
            if args.survey:
                print("FAIL %s %s: %s" % (sel["cas"], sel["name_en"], e))
                continue
            raise SystemExit("generate.py: %s (%s): %s" % (sel["cas"], sel["name_en"], e))
        if s is not None:
            subs.append(s)
    if args.survey:
        for cas, name, reason in left_out:
            print("LEFT %s %s: %s" % (cas, name, reason))
        print("%d built, %d with a Vossler set" % (len(subs), sum(1 for x in subs if x.vossler)))
        return 0
    check_names(subs)
    subs.sort(key=sort_key)
    write_outputs(subs, left_out, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
