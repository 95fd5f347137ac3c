"""Independent text conventions for the window/report cross-check.

Written from the written rules only: leading-number rule, general number
texts (single and double), format patterns, explicit half-even rounding,
date and time texts. Not part of the product; used by compare.py.
"""
import math
import re
import struct
from decimal import Decimal, ROUND_HALF_EVEN, ROUND_HALF_UP, localcontext

FLT_MAX = struct.unpack('f', struct.pack('I', 0x7f7fffff))[0]


def f32(x):
    """Round a double to the nearest 32-bit float (ties to even)."""
    if isinstance(x, float) and (math.isnan(x) or math.isinf(x)):
        return x
    try:
        return struct.unpack('f', struct.pack('f', x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def fits_single(v):
    if math.isnan(v) or math.isinf(v):
        return False
    return not math.isinf(f32(v))


# ---------------------------------------------------------------- leading number
BLANKS = ' \t\n'


def leading_number(text):
    """Value of the longest numeric prefix after dropping blanks, tabs, LFs."""
    s = ''.join(ch for ch in text if ch not in BLANKS)
    i = 0
    n = len(s)
    out = ''
    if i < n and s[i] in '+-':
        out += s[i]
        i += 1
    digits = ''
    while i < n and s[i] in '0123456789':
        digits += s[i]
        i += 1
    frac = ''
    if i < n and s[i] == '.':
        j = i + 1
        while j < n and s[j] in '0123456789':
            frac += s[j]
            j += 1
        if digits or frac:
            i = j
        else:
            return 0.0
    if not digits and not frac:
        return 0.0
    mant = (digits or '0') + '.' + (frac or '0')
    exp = ''
    if i < n and s[i] in 'EeDd':
        j = i + 1
        sign = ''
        if j < n and s[j] in '+-':
            sign = s[j]
            j += 1
        ed = ''
        while j < n and s[j] in '0123456789':
            ed += s[j]
            j += 1
        if ed:
            exp = 'e' + sign + ed
    txt = (out if out else '') + mant + exp
    try:
        return float(txt)
    except OverflowError:
        return math.copysign(math.inf, -1.0 if out == '-' else 1.0)


def leading_single(text):
    v = leading_number(text)
    if not fits_single(v):
        return 0.0
    return f32(v)


# ---------------------------------------------------------------- general form
def _fmt_sig(d, sig):
    """Decimal d rounded to sig significant digits (half even) -> (digits, exp10)."""
    if d == 0:
        return '0', 0
    with localcontext() as ctx:
        ctx.prec = sig
        ctx.rounding = ROUND_HALF_EVEN
        r = +d
    sign, digs, exp = r.as_tuple()
    digs = ''.join(map(str, digs)).rstrip('0') or '0'
    # decimal exponent of the leading digit
    e10 = len(r.as_tuple().digits) + exp - 1
    return ('-' if sign else '') + digs, e10


def _render(digs, e10):
    neg = digs.startswith('-')
    if neg:
        digs = digs[1:]
    if e10 < -4 or e10 >= 7:
        raise AssertionError
    if e10 >= 0:
        if len(digs) <= e10 + 1:
            t = digs + '0' * (e10 + 1 - len(digs))
        else:
            t = digs[:e10 + 1] + '.' + digs[e10 + 1:]
    else:
        t = '0.' + '0' * (-e10 - 1) + digs
    return ('-' if neg else '') + t


def _render_gen(digs, e10, maxexp):
    neg = digs.startswith('-')
    d = digs[1:] if neg else digs
    if e10 < -4 or e10 >= maxexp:
        m = d[0] + ('.' + d[1:] if len(d) > 1 else '')
        t = m + 'E' + ('-' if e10 < 0 else '+') + '%02d' % abs(e10)
        return ('-' if neg else '') + t
    if e10 >= 0:
        if len(d) <= e10 + 1:
            t = d + '0' * (e10 + 1 - len(d))
        else:
            t = d[:e10 + 1] + '.' + d[e10 + 1:]
    else:
        t = '0.' + '0' * (-e10 - 1) + d
    return ('-' if neg else '') + t


def _round_sig(d, k):
    with localcontext() as ctx:
        ctx.prec = k
        ctx.rounding = ROUND_HALF_EVEN
        return +d


def _shortest(x, maxdig, back):
    d = Decimal(x)
    for k in range(1, maxdig + 1):
        r = _round_sig(d, k)
        if back(float(r)) == x:
            return r
    return _round_sig(d, maxdig)


def _render_dec(r, maxexp):
    sign, digs, exp = r.as_tuple()
    ds = ''.join(map(str, digs))
    e10 = len(ds) + exp - 1
    ds = ds.rstrip('0') or '0'
    return _render_gen(('-' if sign else '') + ds, e10, maxexp)


def general_shortest(v):
    """Other reading: shortest text (<= 7 significant digits) that reads back."""
    x = f32(v)
    if x == 0:
        return '0'
    return _render_dec(_shortest(x, 7, f32), 7)


# The general form is the value rounded to 7 significant digits with
# trailing zeros dropped ("3", "120.1"). The rounding of exact ties is not
# fixed by the rules; like the format patterns they go away from zero here.
TIES = ROUND_HALF_UP


def general(v):
    x = f32(v)
    if x == 0:
        return '0'
    with localcontext() as ctx:
        ctx.prec = 7
        ctx.rounding = TIES
        r = +Decimal(x)
    return _render_dec(r, 7)


def general7(v):
    """Alternative reading: value rounded to 7 significant digits, zeros stripped."""
    x = f32(v)
    if x == 0:
        return '0'
    return _render_dec(_round_sig(Decimal(x), 7), 7)


def _round15(x):
    with localcontext() as ctx:
        ctx.prec = 15
        ctx.rounding = TIES
        return +Decimal(x)


def general_double(v):
    x = float(v)
    if x == 0:
        return '0'
    # only longitude and latitude texts use it (|v| < 180): the upper switch
    # never matters; the program uses the same switch as the single form
    return _render_dec(_round15(x), 7)


# ---------------------------------------------------------------- patterns
def _round_away(d, places):
    q = Decimal(1).scaleb(-places)
    with localcontext() as ctx:
        ctx.prec = 400
        return d.quantize(q, rounding=ROUND_HALF_UP)


# A negative value that rounds to zero: the rules do not say; the program
# keeps the sign ("-0"), as the classic Format function does. Kept here too.
NEG_ZERO_SIGN = True


def fmt_fixed(v, places):
    d = Decimal(float(v))
    r = _round_away(d.copy_abs(), places)
    s = '{:f}'.format(r)
    if d < 0 and (NEG_ZERO_SIGN or r != 0):
        s = '-' + s
    if places == 0 and '.' in s:
        s = s.split('.')[0]
    return s


def fmt_sci(v, places):
    d = Decimal(float(v))
    if d == 0:
        return '0.' + '0' * places + 'E+00'
    neg = d < 0
    d = d.copy_abs()
    e = d.adjusted()
    m = d.scaleb(-e)
    mr = _round_away(m, places)
    if mr >= 10:
        e += 1
        mr = _round_away(d.scaleb(-e), places)
    s = '{:f}'.format(mr) + 'E' + ('-' if e < 0 else '+') + '%02d' % abs(e)
    return ('-' if neg else '') + s


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


def round_half_even(v, places=0):
    d = Decimal(float(v))
    q = Decimal(1).scaleb(-places)
    with localcontext() as ctx:
        ctx.prec = 400
        return float(d.quantize(q, rounding=ROUND_HALF_EVEN))


# ---------------------------------------------------------------- dates
def is_leap(y):
    return (y % 4 == 0 and y % 100 != 0) or y % 400 == 0


def days_in_month(y, m):
    return [31, 29 if is_leap(y) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m - 1]


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
