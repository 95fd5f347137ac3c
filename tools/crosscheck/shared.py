"""Helpers every cross-check model shares: 32-bit values, the leading-number
rule, the general number text, the scientific pattern, explicit half-even
rounding and the calendar.

Written from the written rules, not from the C++. The models in met/,
source/, dispersion/ and ui/ import them from here so that a reading of a rule
is made once; alternative readings stay beside the model that tries them.
"""
import math
import re
import struct
from decimal import Decimal, ROUND_HALF_EVEN, ROUND_HALF_UP, localcontext

# largest finite 32-bit value
F32_MAX = struct.unpack('f', struct.pack('I', 0x7f7fffff))[0]


# ---------------------------------------------------------------- 32-bit values
def f32(x):
    """Round to the nearest 32-bit float (ties to even), as a double.
    NaN and infinity pass through; a finite value beyond the 32-bit range
    becomes infinity, as a store would make it."""
    if isinstance(x, float) and (math.isnan(x) or math.isinf(x)):
        return x
    try:
        return struct.unpack('f', struct.pack('f', x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def fits_single(v):
    """True when v is finite and stays finite when stored as 32 bits."""
    if math.isnan(v) or math.isinf(v):
        return False
    return not math.isinf(f32(v))


# ---------------------------------------------------------------- leading number
# Blanks, tabs and line feeds are dropped anywhere in the text (carriage
# returns are not); then the longest prefix of the form sign, digits, point,
# digits, exponent (E or D) is the value, 0 when there is none.
NUMBER_BLANKS = ' \t\n'
_LEADING = re.compile(r'[+-]?(?:\d+\.?\d*|\.\d+)(?:[EeDd][+-]?\d+)?')


def leading_number(text):
    t = ''.join(ch for ch in text if ch not in NUMBER_BLANKS)
    m = _LEADING.match(t)
    if not m:
        return 0.0
    # a decimal exponent too large gives infinity, too small gives zero
    return float(m.group(0).replace('D', 'E').replace('d', 'e'))


def leading_single(text):
    """Leading number stored as 32 bits; 0 when it does not fit."""
    v = leading_number(text)
    if not fits_single(v):
        return 0.0
    return f32(v)


# ---------------------------------------------------------------- number texts
def round_half_even(v, places=0):
    """v rounded to `places` decimals, exact halves to even."""
    d = Decimal(float(v))
    q = Decimal(1).scaleb(-places)
    with localcontext() as ctx:
        ctx.prec = 400
        return float(d.quantize(q, rounding=ROUND_HALF_EVEN))


def _digits_text(r, maxexp):
    """Decimal r as a general text: plain between 1E-4 and 10^maxexp,
    otherwise d.dddE+XX; trailing zeros dropped."""
    sign, digs, exp = r.as_tuple()
    ds = ''.join(map(str, digs))
    e10 = len(ds) + exp - 1
    d = ds.rstrip('0') or '0'
    if e10 < -4 or e10 >= maxexp:
        t = d[0] + ('.' + d[1:] if len(d) > 1 else '') + 'E' + ('-' if e10 < 0 else '+') + '%02d' % abs(e10)
    elif e10 >= 0:
        t = d + '0' * (e10 + 1 - len(d)) if len(d) <= e10 + 1 else d[:e10 + 1] + '.' + d[e10 + 1:]
    else:
        t = '0.' + '0' * (-e10 - 1) + d
    return ('-' if sign else '') + t


def round_significant(d, digits, rounding=ROUND_HALF_UP):
    with localcontext() as ctx:
        ctx.prec = digits
        ctx.rounding = rounding
        return +d


def general(v):
    """General text of a 32-bit value: the exact stored value rounded to 7
    significant digits (exact ties away from zero), trailing zeros dropped,
    exponent form below 1E-4 and from 1E+07 on ("3", "120.1", "1.5E-05")."""
    x = f32(v)
    if x == 0:
        return '0'
    return _digits_text(round_significant(Decimal(x), 7), 7)


def _round_away(d, places):
    q = Decimal(1).scaleb(-places)
    with localcontext() as ctx:
        ctx.prec = 400
        return d.quantize(q, rounding=ROUND_HALF_UP)


def fmt_sci(v, places):
    """Pattern 0.00E+00 with `places` decimals, halves away from zero."""
    d = Decimal(float(v))
    if d == 0:
        return '0.' + '0' * places + 'E+00'
    neg = d < 0
    d = d.copy_abs()
    e = d.adjusted()
    mr = _round_away(d.scaleb(-e), places)
    if mr >= 10:
        e += 1
        mr = _round_away(d.scaleb(-e), places)
    s = '{:f}'.format(mr) + 'E' + ('-' if e < 0 else '+') + '%02d' % abs(e)
    return ('-' if neg else '') + s


# ---------------------------------------------------------------- calendar
def is_leap(y):
    return (y % 4 == 0 and y % 100 != 0) or y % 400 == 0


def days_in_month(y, m):
    return [31, 29 if is_leap(y) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m - 1]


def date_text(y, m, d):
    return '%04d/%02d/%02d' % (y, m, d)


def time_text(h, mi, s):
    return '%02d:%02d:%02d' % (h, mi, s)


def prev_day(y, m, d):
    if d > 1:
        return y, m, d - 1
    if m > 1:
        return y, m - 1, days_in_month(y, m - 1)
    return y - 1, 12, 31


def next_day(y, m, d):
    if d < days_in_month(y, m):
        return y, m, d + 1
    if m < 12:
        return y, m + 1, 1
    return y + 1, 1, 1
