"""Text conventions of the window/report cross-check on top of shared.py:
the general text of a double, the fixed format patterns, the date and time
box forms, and the other readings of the general form.

Written from the written rules only. Not part of the product; used by
compare.py.
"""
import os
import re
import sys
from decimal import Decimal, ROUND_HALF_EVEN, ROUND_HALF_UP, localcontext

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# the shared readings, used by the window model through this module
from shared import (  # noqa: E402,F401
    f32, fits_single, leading_number, leading_single, general, fmt_sci, round_half_even,
    is_leap, days_in_month, date_text, time_text, prev_day, next_day, _digits_text)


# ---------------------------------------------------------------- general form
# The general form (shared.general) rounds the exact single value to 7
# significant digits; the rounding of exact ties is not fixed by the rules:
# like the format patterns they go away from zero. The two functions below
# are the other readings, kept for trying them against the program.
def general_shortest(v):
    """Other reading: shortest text (<= 7 significant digits) that reads back."""
    x = f32(v)
    if x == 0:
        return '0'
    d = Decimal(x)
    for k in range(1, 8):
        r = _round_sig(d, k)
        if f32(float(r)) == x:
            return _digits_text(r, 7)
    return _digits_text(_round_sig(d, 7), 7)


def general7(v):
    """Other reading: value rounded to 7 significant digits, ties to even."""
    x = f32(v)
    if x == 0:
        return '0'
    return _digits_text(_round_sig(Decimal(x), 7), 7)


def _round_sig(d, k):
    with localcontext() as ctx:
        ctx.prec = k
        ctx.rounding = ROUND_HALF_EVEN
        return +d


def general_double(v):
    """General text of a double: 15 significant digits, ties away from zero."""
    x = float(v)
    if x == 0:
        return '0'
    with localcontext() as ctx:
        ctx.prec = 15
        ctx.rounding = ROUND_HALF_UP
        r = +Decimal(x)
    # only longitude and latitude texts use it (|v| < 180): the upper switch
    # never matters; the program uses the same switch as the single form
    return _digits_text(r, 7)


# ---------------------------------------------------------------- patterns
# A negative value that rounds to zero: the rules do not say; the program
# keeps the sign ("-0"), as the classic Format function does. Kept here too.
NEG_ZERO_SIGN = True


def fmt_fixed(v, places):
    d = Decimal(float(v))
    q = Decimal(1).scaleb(-places)
    with localcontext() as ctx:
        ctx.prec = 400
        r = d.copy_abs().quantize(q, rounding=ROUND_HALF_UP)
    s = '{:f}'.format(r)
    if d < 0 and (NEG_ZERO_SIGN or r != 0):
        s = '-' + s
    if places == 0 and '.' in s:
        s = s.split('.')[0]
    return s


def pattern(v, pat):
    core = pat.strip(' ')
    lead = pat[:len(pat) - len(pat.lstrip(' '))]
    trail = pat[len(pat.rstrip(' ')):]
    if core == '0':
        body = fmt_fixed(v, 0)
    elif core == '#0.0':
        body = fmt_fixed(v, 1)
    elif core in ('#0.00', '0.00'):
        body = fmt_fixed(v, 2)
    elif core == '0.00E+00':
        body = fmt_sci(v, 2)
    elif core == '0.0000E+00':
        body = fmt_sci(v, 4)
    else:
        raise ValueError(pat)
    return lead + body + trail


# ---------------------------------------------------------------- dates
_DATE = re.compile(r'^(\d{1,4})([/.\-])(\d{1,2})\2(\d{1,2})$')
_TIME = re.compile(r'^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$')


def parse_datetime(text):
    """Returns dict(date=(y,m,d) or None, time=(h,mi,s) or None) or None if refused."""
    t = text.strip(' ')
    parts = t.split()
    date = time = None
    if len(parts) == 1:
        m = _DATE.match(parts[0])
        if m:
            date = (int(m.group(1)), int(m.group(3)), int(m.group(4)))
        else:
            m = _TIME.match(parts[0])
            if not m:
                return None
            time = (int(m.group(1)), int(m.group(2)), int(m.group(3) or 0))
    elif len(parts) == 2:
        m = _DATE.match(parts[0])
        m2 = _TIME.match(parts[1])
        if not m or not m2:
            return None
        date = (int(m.group(1)), int(m.group(3)), int(m.group(4)))
        time = (int(m2.group(1)), int(m2.group(2)), int(m2.group(3) or 0))
    else:
        return None
    if date:
        y, mo, d = date
        if not (1 <= mo <= 12) or y < 1 or not (1 <= d <= days_in_month(y, mo)):
            return None
    if time:
        h, mi, s = time
        if not (0 <= h <= 23 and 0 <= mi <= 59 and 0 <= s <= 59):
            return None
    return {'date': date, 'time': time}

