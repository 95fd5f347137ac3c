#!/usr/bin/env python3
"""Independent model of input preparation and the meteorology pass.

Written from the written description of the computation (not from the C++):
the settings texts are put into a plain model of the main window, the input
preparation runs twice (first activation, then the compute button) and the
meteorology pass inside it.  Every field these stages write is returned so the
comparison script can check it against the batch program's JSON.

32-bit fields are rounded with f32() when stored and read back as stored;
arithmetic between stores is double precision.
"""
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from shared import (  # noqa: E402,F401
    F32_MAX, f32, leading_number, leading_single, round_half_even,
    days_in_month, date_text, time_text, prev_day, next_day)


def i16(x):
    x = int(x)
    x &= 0xFFFF
    return x - 0x10000 if x >= 0x8000 else x


PI = f32(3.1415927)
DEG = f32(PI / 180.0)
AIR_MW = f32(28.966)
AIR_R = f32(2870400.0)

# ---------------------------------------------------------------- text rules

def fmt_general(x, maxdig=7):
    """Shortest text with at most maxdig significant digits of the value
    (single precision values unless maxdig = 15)."""
    if x == 0:
        return '0'
    if maxdig == 7:
        target = f32(x)
        ok = lambda s: f32(float(s)) == target
    else:
        ok = lambda s: float(s) == x
    for p in range(1, maxdig + 1):
        s = '%.*e' % (p - 1, x)
        if ok(s):
            break
    mant, ex = s.split('e')
    ex = int(ex)
    digits = mant.replace('-', '').replace('.', '').rstrip('0') or '0'
    neg = x < 0
    if ex < -4 or ex >= 7:
        d = digits[0] + ('.' + digits[1:] if len(digits) > 1 else '')
        out = '%sE%s%02d' % (d, '+' if ex >= 0 else '-', abs(ex))
    elif ex >= 0:
        if len(digits) <= ex + 1:
            out = digits + '0' * (ex + 1 - len(digits))
        else:
            out = digits[:ex + 1] + '.' + digits[ex + 1:]
    else:
        out = '0.' + '0' * (-ex - 1) + digits
    return ('-' if neg else '') + out


# ---------------------------------------------------------------- dates

def parse_date(s):
    m = re.fullmatch(r'\s*(\d{1,4})[/-](\d{1,2})[/-](\d{1,2})\s*', s)
    if not m:
        return None
    y, mo, d = map(int, m.groups())
    if not (1 <= mo <= 12 and 1 <= d <= days_in_month(y, mo)):
        return None
    return y, mo, d


def parse_time(s):
    m = re.fullmatch(r'\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*', s)
    if not m:
        return None
    h, mi, se = int(m.group(1)), int(m.group(2)), int(m.group(3) or 0)
    if h > 23 or mi > 59 or se > 59:
        return None
    return h, mi, se


# ---------------------------------------------------------------- window

ROUGH_ITEMS = [
    "0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
    "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
    "10  cm = 低矮农作物, 个别大的障碍物" + " " * 9,
    "25  cm = 高大农作物, 分布多处障碍物",
    "50  cm = 公园地面,  灌木丛, 很多障碍物",
    "100 cm = 整齐完整的大型障碍物 (城郊, 森林)",
]

MSG_STACK = "排气筒高于逆温层，不能计算,地面浓度为0。"


class Refused(Exception):
    pass


class Model:
    """State of the window and of the model record, as far as these stages go."""

    def __init__(self, sc):
        self.sc = sc                     # scenario: dict of texts and indices
        self.box = list(sc['boxes'])     # 26 texts
        self.rough_text = sc['rough']
        self.lists = list(sc['lists'])   # indices of lists 1..8 at positions 1..8
        self.check = sc['check']
        self.text2 = sc['points']
        self.box19_enabled = True
        self.box21_enabled = True
        self.messages = []
        self.busy = False
        self.s = {}
        s = self.s
        # record starts all zero
        for k in ['PpmFactor', 'VaporPressure', 'RoughnessProfileTerm', 'ReleaseMode',
                  'MolecularWeight', 'SolarElevation', 'LiquidDensity', 'VaporDensity']:
            s[k] = 0.0
        s['DayNightFlag'] = ''
        s['LocalDateText'] = ''
        s['LocalTimeText'] = ''
        s['TimeDifference'] = 0.0
        s['IsLiquid'] = False
        s['ReleaseDate'] = ''
        s['ReleaseTime'] = ''
        s['Longitude'] = 0.0
        s['Latitude'] = 0.0
        s['ThresholdCount'] = 0
        s['Thresholds'] = []
        s['ThresholdText'] = ''
        s['PointCount'] = 0
        s['PointText'] = ''
        s['Points'] = []
        # chemical entry 1
        self.chem = sc['chem']  # dict: Name, Twa.., Params[1..12], VosslerIndex

    # ---- validation of the boxes (input checks) ----
    def validate(self, i):
        s = self.s
        t = self.box[i].strip(' ')
        v = leading_number(t)
        fits = abs(v) <= F32_MAX and not math.isinf(f32(v))

        def refuse(msg=None):
            if msg:
                self.messages.append(msg)
            raise Refused(msg or '')
        if i == 0 or i == 1:
            lim = 180 if i == 0 else 90
            if not (abs(v) < lim):
                refuse()
            neg_letter, pos_letter = ('W', 'E') if i == 0 else ('S', 'N')
            if (t[-1:] in (neg_letter, neg_letter.lower())) or v < 0:
                t = fmt_general(abs(v), 15) + neg_letter
                val = -abs(v)
            else:
                t = fmt_general(abs(v), 15) + pos_letter
                val = abs(v)
            s['Longitude' if i == 0 else 'Latitude'] = f32(val)
            self.box[i] = t
            self.refresh0()
            return
        if i == 2:
            d = parse_date(t)
            if d is None:
                refuse("日期格式：YYYY/MM/DD")
            t = date_text(*d)
            s['ReleaseDate'] = t
            self.box[i] = t
            self.refresh0()
            return
        if i == 3:
            d = parse_time(t)
            if d is None:
                refuse("时间格式: HH:MM:SS")
            t = time_text(*d)
            s['ReleaseTime'] = t
            self.box[i] = t
            self.refresh0()
            return
        if not fits and i not in (14, 15, 18, 20, 24):
            refuse({6: "不能小于1m!", 7: "不能大于180 度!", 9: "有效范围[1,60]!",
                    10: "有效范围[-50,60]!", 11: "有效范围[0,10]!", 17: "无效!最小为1",
                    22: "不可小于 1 min!"}.get(i, "无效!"))
        if i == 4:
            s['GroundElevation'] = f32(v)
            t = fmt_general(s['GroundElevation'])
        elif i == 5:
            n = round_half_even(v)
            d = math.fmod(n, 360.0)
            if d < 0:
                d += 360
            s['WindDirection'] = f32(d)
            t = fmt_general(s['WindDirection'])
        elif i == 6:
            if not v >= 1:
                refuse("不能小于1m!")
            s['WindHeight'] = f32(v)
        elif i == 7:
            if not v <= 180:
                refuse("不能大于180 度!")
            s['SigmaTheta'] = f32(v)
            t = fmt_general(s['SigmaTheta'])
            s['SigmaThetaFlag'] = 2 if v > 0 else 1
        elif i == 8:
            if v < 0.5:
                t = "0.5"
            s['WindSpeed'] = f32(leading_number(t))
        elif i == 9:
            if not (1 <= v <= 60):
                refuse("有效范围[1,60]!")
            s['SigmaThetaTime'] = f32(v)
            t = fmt_general(s['SigmaThetaTime'])
        elif i == 10:
            if not (-50 <= v <= 60):
                refuse("有效范围[-50,60]!")
            s['AirTempC'] = f32(v)
            s['AirTempK'] = f32(v + 273.16)
            t = fmt_general(s['AirTempC'])
        elif i == 11:
            c = round_half_even(v)
            if v < 0 or c > 10:
                refuse("有效范围[0,10]!")
            s['CloudCover'] = int(c)
            t = fmt_general(c)
        elif i == 12:
            if v < 0:
                t = "0"
            s['InversionBase'] = s['MixingHeight'] = f32(leading_number(t))
        elif i == 13:
            if self.lists[4] == 0:
                t = "15"
                s['ReleaseDuration'] = 0.25
            else:
                s['ReleaseDuration'] = f32(v / 60 if self.lists[5] == 1 else v)
        elif i in (14, 15, 18, 20, 24):
            pass
        elif i == 16:
            if not v > 0:
                refuse("无效!")
        elif i == 17:
            if not v >= 1:
                refuse("无效!最小为1")
        elif i == 19:
            ok = v > 0 if s['ReleaseMode'] == 3 else v >= 0
            if not ok:
                refuse("无效!")
        elif i == 21:
            if not v > 0:
                refuse("无效!")
        elif i == 22:
            if not v >= 1:
                refuse("不可小于 1 min!")
        elif i in (23, 25):
            if not v > 0:
                refuse("无效!")
        self.box[i] = t

    # ---- derived display, half 0 ----
    def refresh0(self):
        if self.busy:
            return
        s = self.s
        if not s['ReleaseDate'] or not s['ReleaseTime']:
            return
        s['LocalDateText'] = s['ReleaseDate']
        s['LocalTimeText'] = s['ReleaseTime']
        sh = round_half_even((s['Longitude'] - 116.2) / 15.0)
        y, mo, d = parse_date(s['ReleaseDate'])
        hh, mi, se = parse_time(s['ReleaseTime'])
        h = hh + int(sh)
        if h < 0:
            y, mo, d = prev_day(y, mo, d)
            h += 24
        if h > 23:
            y, mo, d = next_day(y, mo, d)
            h -= 24
        s['LocalDateText'] = date_text(y, mo, d)
        s['LocalTimeText'] = time_text(h, mi, se)
        s['TimeDifference'] = f32(round_half_even(s['Longitude'] / 15.0, 2))
        solar_elevation(s)

    # ---- derived display, half 1 ----
    def refresh1(self):
        s = self.s
        s['ReleaseMode'] = self.lists[4] + 1
        v = leading_number(self.box[13])
        s['ReleaseDuration'] = f32(v / 60 if self.lists[5] == 1 else v)
        ci = self.lists[6]
        p = self.chem['Params']
        if p[1] == 0 or p[2] == 0:
            ci = 0
            self.lists[6] = 0
        s['ChemicalIndex'] = ci
        self.load_chemical(ci)
        mode = s['ReleaseMode']
        if mode == 1:
            s['ReleaseDuration'] = 0.25
            self.box[13] = "15"
            self.lists[5] = 1
        else:
            if s['ReleaseDuration'] < 0.25:
                s['ReleaseDuration'] = 0.25
            rd = s['ReleaseDuration']
            self.box[13] = fmt_general(f32(rd * 60) if self.lists[5] == 1 else rd)
        if mode == 3:
            self.lists[7] = 0
            self.box19_enabled = True
        elif mode in (1, 2):
            if ci == 0:
                self.lists[7] = 0
                self.box19_enabled = True
            elif s['BoilingPointK'] <= s['AirTempK']:
                self.lists[7] = 0
                self.box19_enabled = True
            else:
                self.box[19] = "0"
                self.box19_enabled = False
        if self.box19_enabled and not leading_number(self.box[19]) > 0:
            self.box[19] = "2"

    def load_chemical(self, ci):
        s = self.s
        if ci == 0:
            name, p, vi = "临时物质", [0.0] * 13, 0
            tw = [0.0] * 4
        else:
            c = self.chem
            name, p, vi = c['Name'], c['Params'], c['VosslerIndex']
            tw = c['Twa']
        s['ChemicalName'] = name
        s['TwaPpm'], s['TwaMg'], s['StelPpm'], s['StelMg'] = tw
        keys = ['MolecularWeight', 'BoilingPointK', 'CriticalTempK', 'CriticalPressure',
                'CriticalVolume', 'VaporPressA', 'VaporPressB', 'VaporPressC',
                'LiquidDensityA', 'LiquidDensityB', 'MolecularDiameter', 'InteractionEnergy']
        for k, key in enumerate(keys, 1):
            s[key] = p[k]
        s['VosslerIndex'] = vi

    # ---- input preparation ----
    def prepare_inputs(self):
        s = self.s
        self.busy = True
        try:
            for i in range(26):
                if i == 19 and not self.box19_enabled:
                    continue
                if i == 21 and not self.box21_enabled:
                    continue
                self.validate(i)
        except Refused:
            self.busy = False
            return False
        self.busy = False
        self.refresh0()
        # roughness, confined by value
        rt = self.rough_text.strip(' ')
        rv = leading_number(rt)
        if rv < 0.5:
            rt = "0.5 cm"
        elif rv > 100:
            rt = "100 cm"
        self.rough_text = rt
        s['Roughness'] = f32(leading_number(rt))
        s['DispersionRoughness'] = s['Roughness']
        s['GroundType'] = self.lists[1] + 1
        s['GroundMoisture'] = self.lists[2] + 1
        s['CloudType'] = self.lists[3] + 1
        ct = s['CloudType']
        if ct in (1, 2, 3):
            s['CloudTypeFactor'] = f32({1: 0.61, 2: 0.26, 3: 0.17}[ct])
        s['Albedo'] = f32(0.23)
        if s['GroundMoisture'] == 3 and s['AirTempC'] < 20:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.75), 1.0, 0.0
        elif s['GroundMoisture'] == 1:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.23), f32(0.45), f32(0.25)
        else:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.23), 1.0, f32(0.12)
        s['AirPressure'] = f32(1013.25 - s['GroundElevation'] * 0.1148)
        self.refresh1()
        s['ReleaseMode'] = self.lists[4] + 1
        if s['ReleaseMode'] == 1:
            s['ReleaseDuration'] = 0.25
        elif not s['ReleaseDuration'] > 0.25:
            self.messages.append("非瞬时泄漏，泄漏时长必须大于15s!")
            return False
        liquid_density(s)
        v = leading_number(self.box[16])
        vol = self.lists[7] != 0
        if s['ReleaseMode'] in (1, 2):
            q = f32(v * 1000000.0 * s['LiquidDensity']) if vol else f32(v * 1000.0)
        else:
            q = f32(v * 1000.0)
        if s['ReleaseMode'] == 1:
            s['ReleaseMass'] = q
            s['ReleaseRate'] = f32(q / s['ReleaseDuration'])
        else:
            s['ReleaseRate'] = q
            s['ReleaseMass'] = f32(q * s['ReleaseDuration'])
        s['MolecularWeight'] = leading_single(self.box[14])
        if s['MolecularWeight'] > 0:
            s['PpmFactor'] = f32(AIR_MW * AIR_R * s['AirTempK'] /
                                 (s['MolecularWeight'] * s['AirPressure'] * 1000000.0))
            if s['ChemicalName'] == "NITROGEN TETROXIDE":
                s['PpmFactor'] = f32(2 * s['PpmFactor'])
        s['VaporPressA'] = leading_single(self.box[15])
        if s['ChemicalIndex'] >= 1 and self.chem['Params'][6] > 0:
            s['VaporPressA'] = self.chem['Params'][6]
        if s['ReleaseMode'] == 3:
            s['VaporPressA'] = 0.0
            s['IsLiquid'] = False
        else:
            s['IsLiquid'] = ((s['MolecularWeight'] > 0 and s['VaporPressA'] > 0 and s['ChemicalIndex'] == 0)
                             or (s['ChemicalIndex'] > 0 and s['AirTempK'] < s['BoilingPointK']))
        s['PoolArea'] = leading_single(self.box[17])
        s['PoolTemperature'] = leading_single(self.box[18])
        s['EffectivePlumeHeight'] = leading_single(self.box[19])
        s['StackHeight'] = s['EffectivePlumeHeight']
        s['StackGasTemperature'] = f32(leading_number(self.box[20]) + 273.15)
        s['StackFlowRate'] = leading_single(self.box[21])
        if not s['StackHeight'] >= 1:
            s['StackHeight'] = 1.0
        if not s['StackFlowRate'] > 0:
            s['StackFlowRate'] = 1.0
        self.box[21] = fmt_general(s['StackFlowRate'])
        if not s['PoolArea'] > 0:
            basis = s['ReleaseRate'] * 10 if s['ReleaseDuration'] > 10 else s['ReleaseMass']
            s['PoolArea'] = f32(basis * 0.0001 / s['LiquidDensity'] / 1.0)
        s['PoolArea'] = f32(round_half_even(s['PoolArea'], 2))
        if s['PoolArea'] < 1:
            s['PoolArea'] = 1.0
        self.box[17] = fmt_general(s['PoolArea'])
        s['AveragingTime'] = leading_single(self.box[22])
        ok, msg = run_meteorology(s)
        s['_met_ran'] = True
        if not ok:
            self.messages.append(msg)
            return False
        # source term: not modelled; the caller supplies it from the JSON
        if not self.source_term():
            return False
        if not s['AveragingTime'] >= 1:
            s['AveragingTime'] = 1.0
            self.box[22] = "1"
        if s['AveragingTime'] > 1 and s['AveragingTime'] > s['ReleaseDuration']:
            D = s['ReleaseDuration']
            D1 = D if D >= 1 else 1.0
            self.messages.append("泄漏(或液体蒸发）总时长为" + fmt_general(D) +
                                 "(min),浓度平均时间不可超过" + fmt_general(D1) + "(min)")
            return False
        s['PredictionTime'] = leading_single(self.box[23])
        s['ReceptorHeight'] = leading_single(self.box[24])
        tt = self.box[25].strip(' ')
        tt, vals = parse_number_list(tt, 100, True)
        s['ThresholdText'] = tt
        n = len(vals)
        s['ThresholdCount'] = n
        s['Thresholds'] = vals
        if n <= 0:
            self.messages.append("廓线的阈值无效!")
            return False
        vals = sorted(vals)
        s['Thresholds'] = vals
        if self.lists[8] != 0:
            if not s['PpmFactor'] > 0:
                self.messages.append('阈值单位为ppm时，须输入大于0的物质分子量，才能换算为mg/m3!')
                return False
            out = []
            txt = ''
            for x in vals:
                y = f32(x / s['PpmFactor'])
                out.append(y)
                if txt:
                    txt += ','
                txt += fmt_general(y)
            s['Thresholds'] = out
            s['ThresholdText'] = txt
        if self.check:
            pt = self.text2.strip(' ')
            if pt:
                s['PointText'] = pt
                pts = parse_point_list(pt)
                s['Points'] = pts
                s['PointCount'] = len(pts)
            else:
                s['PointText'] = pt
                s['PointCount'] = 0
            if s['PointCount'] <= 0:
                self.messages.append("系列计算点：每一行输入一个计算点定义，格式为（X,Y,Z,T)，其中X和Y为顺风和横风向坐标，Z为离地高，T为预测时刻(min)。以逗号分隔")
                return False
            pts = s['Points']
            for k, p in enumerate(pts):
                if p[0] < 10:
                    p[0] = 10.0
                if p[2] < 0:
                    p[2] = 0.0
                if p[3] <= 0:
                    p[3] = s['PredictionTime'] if k == 0 else pts[k - 1][3]
            self.text2 = '\r\n'.join(','.join(fmt_general(c) for c in p[:4]) for p in pts)
            return True
        s['PointText'] = ''
        s['PointCount'] = 0
        return True

    def source_term(self):
        hook = self.sc.get('_source_hook')
        if hook:
            return hook(self)
        return True


def parse_number_list(text, count, positive):
    if positive:
        count = 100
    t = text.strip(' ').replace('，', ',').replace('/', ',').replace('。', ',')
    if ',' in t:
        sep = ','
    elif ' ' in t:
        while '  ' in t:
            t = t.replace('  ', ' ')
        sep = ' '
    else:
        sep = None
    if t == '':
        items = []
    elif sep is None:
        items = [t]
    else:
        items = t.split(sep)
    vals = [0.0] * count
    for i in range(min(count, len(items))):
        vals[i] = leading_single(items[i])
    if not positive:
        return t, vals
    return t, [v for v in vals[:100] if v > 0]


def parse_point_list(text):
    lines = text.split('\r\n')
    pts = []
    for ln in lines:
        ln = ln.strip(' ')
        if not ln:
            continue
        _, v = parse_number_list(ln, 5, False)
        pts.append(list(v))
    return pts


# ---------------------------------------------------------------- solar

def solar_elevation(s):
    y, m, d = parse_date(s['LocalDateText'])
    hh, mi, _ = parse_time(s['LocalTimeText'])
    n = i16(math.floor((m - 1) * 30.4) + d)
    t = f32(hh + mi / 60.0)
    t = f32(t + s['TimeDifference'])
    if t > 23:
        t = f32(t - 24)
    D = f32((n - 1) * 360 / 365.242)
    r = D * DEG
    lam = f32(279.9348 + D + 1.914827 * math.sin(r) - 0.079525 * math.cos(r)
              + 0.019938 * math.sin(2 * r) - 0.00162 * math.cos(2 * r))
    sd = f32(math.sin(lam * DEG) * math.sin(23.4438 * DEG))
    cd = f32(math.sqrt(1 - sd * sd + 1e-9))
    tn = f32(12 + 0.12357 * math.sin(r) - 0.004289 * math.cos(r)
             + 0.153809 * math.sin(2 * r) + 0.060783 * math.cos(2 * r))
    h = f32(15 * (t - tn) - s['Longitude'])
    sv = f32(math.sin(s['Latitude'] * DEG) * sd + math.cos(s['Latitude'] * DEG) * cd * math.cos(h * DEG))
    if abs(sv) >= 1:
        e = math.copysign(90.0, sv)
    else:
        e = math.atan(sv / math.sqrt(1 - sv * sv)) / DEG
    e = f32(e)
    if e < 0:
        e = 0.0
    s['SolarElevation'] = e
    s['DayNightFlag'] = 'N' if e == 0 else 'Y'


# ---------------------------------------------------------------- surface layer

def heat_flux(s):
    N = s['CloudCover']
    T = s['AirTempK']
    if s['DayNightFlag'] == 'N':
        s['SolarRadiation'] = 0.0
        s['SensibleHeatFlux'] = f32(-40 * (1 - N / 10.0))
        return
    K0 = 990 * math.sin(s['SolarElevation'] * DEG) - 30
    if VARIANT.get('k0_single'):
        K0 = f32(K0)
    s['SolarRadiation'] = f32(K0 * (1 - (N / 10.0) ** 3.4 * (1 - s['CloudTypeFactor'])))
    K = s['SolarRadiation']
    Q = ((1 - s['Albedo']) * K + 5.31e-13 * T ** 6 - 5.67e-8 * T ** 4 + (60 * N) / 10.0) / (1 + s['NetRadiationFactor'])
    r = 119.56 - 0.7843 * T + 0.0012887 * T ** 2
    G = 0.1 * Q if s['Albedo'] == f32(0.23) else 0.0
    a = s['MoistureFactor']
    H = (1 - a + r) / (r + 1) * (Q - G) - 20 * a
    if H < 0 and not (s['AirTempC'] > 0 and s['Albedo'] == f32(0.75)):
        H = 0.0
    s['SensibleHeatFlux'] = f32(H)


def air_properties(s):
    T, P = s['AirTempK'], s['AirPressure']
    s['AirDensity'] = f32(0.34838 * P / T * 0.001)
    s['AirViscosity'] = f32(0.00001458 * T * math.sqrt(T) / (T + 110.4))
    s['AirKinematicViscosity'] = f32(s['AirViscosity'] / s['AirDensity'])


MAX_STEPS = 100000  # trial values of the u* search, the first included
VARIANT = {}


def friction_velocity(s):
    H = s['SensibleHeatFlux']
    u, zm, z0 = s['WindSpeed'], s['WindHeight'], s['Roughness']
    P = s['AirPressure']
    if not abs(H) > 1:
        s['FrictionVelocity'] = f32(0.4 * u / math.log(100 * zm / z0))
        q = 0.0
        ut = s['FrictionVelocity']
    else:
        u10 = u * (10 / zm) ** 0.2
        ut = (0.8 * H / (H + 100) + u10) / 12
        if ut < 0:
            ut = u / 12
        q = ut / u
    steps = 0
    while True:
        inv = f32(-0.0112 * H / (ut ** 3 * P))
        if inv == 0:
            inv = f32(1e-15)
        s['InverseMoninObukhovLength'] = inv
        s['MoninObukhovLength'] = f32(1 / inv)
        L = s['MoninObukhovLength']
        if H < -1:
            zeta = min(zm / abs(L), 1.0)
            psi = math.log(100 * zm / z0) + 5.2 * zeta
        elif H < 1:
            return
        else:
            x = (1 - 15 * zm / L) ** 0.25
            s['RoughnessProfileTerm'] = f32((1 - 15 * z0 / (100 * L)) ** 0.25)
            x0 = s['RoughnessProfileTerm']
            psi = 2 * (math.atan(x) - math.atan(x0)) + math.log((x - 1) / (x0 - 1)) - math.log((x + 1) / (x0 + 1))
        s['FrictionVelocity'] = f32(0.4 * u / psi)
        us = s['FrictionVelocity']
        qn = us / u
        dq = qn - q
        steps += 1
        if abs(dq) < 0.001 or steps >= MAX_STEPS:
            s['FrictionVelocity'] = f32((ut + us) / 2)
            s['_ustar_steps'] = steps
            return
        ut = ut + 0.001 if dq >= 0 else ut - 0.001
        q = ut / u


def wind10m(s):
    if s['WindHeight'] == 10:
        s['WindSpeed10m'] = s['WindSpeed']
        return
    H = s['SensibleHeatFlux']
    z0 = s['Roughness']
    L = s['MoninObukhovLength']
    if not abs(H) > 1:
        psi = math.log(1000 / z0)
    elif H < -1:
        zeta = 10 / L if L > 10 else 1.0
        psi = math.log(1000 / z0) + 5.2 * zeta
    else:
        x10 = (1 - 150 / L) ** 0.25
        x0 = s['RoughnessProfileTerm']
        psi = 2 * (math.atan(x10) - math.atan(x0)) + math.log((x10 - 1) / (x0 - 1)) - math.log((x10 + 1) / (x0 + 1))
    s['WindSpeed10m'] = f32(psi * s['FrictionVelocity'] / 0.4)


def stability(s):
    if s['SigmaThetaFlag'] == 1:
        il = s['InverseMoninObukhovLength']
        c = 3.5 + 21.67 * il
        b = 0.48
        if abs(il) < 0.015:
            b = 43.63 * abs(il) ** 1.08
        if il < 0:
            b = -b
        z = s['Roughness']
        z = 40.0 if z > 40 else (0.1 if z < 0.1 else z)
        P = b * (math.log(z) / math.log(10)) + c
        P = 0.5 if P < 0.5 else (6.0 if P > 6 else P)
        s['HorizontalStability'] = f32(P)
        if s['MixingHeight'] >= 50:
            s['VerticalStability'] = s['HorizontalStability']
    else:
        sv = s['SigmaTheta'] * (10 / s['WindHeight']) ** (-0.2) * (60 / s['SigmaThetaTime']) ** 0.2
        if sv < 27.35:
            P = 6.46 - 0.341 * sv + 0.0045 * sv * sv
            if P > 6:
                P = 6.0
        else:
            P = 0.5
        s['HorizontalStability'] = f32(P)
        if s['DayNightFlag'] == 'Y':
            if s['HorizontalStability'] > 3.5:
                s['HorizontalStability'] = 3.5
            s['VerticalStability'] = s['HorizontalStability']
        else:
            u10 = s['WindSpeed10m']
            if sv <= 12.5:
                s['VerticalStability'] = s['HorizontalStability']
            else:
                if sv <= 17.5:
                    V = (f32(9.600001) if VARIANT.get('c96_single') else 9.600001) / u10
                    if V > 5:
                        V = 5.0
                elif sv <= 22.5:
                    V = 12 / u10
                else:
                    V = 14.44 / u10
                if V > 6:
                    V = 6.0
                if V < 3.5:
                    V = 3.5
                s['VerticalStability'] = f32(V)
    if s['MixingHeight'] < 50:
        s['VerticalStability'] = 6.0
        s['MixingHeight'] = 10000.0
    V = s['VerticalStability']
    s['StabilityText'] = "不稳定" if V < 3 else ("中性" if V < 4 else "稳定")


def plume_rise(s):
    s['SourceStrength'] = s['ReleaseRate']
    if s['StackHeight'] > s['MixingHeight']:
        return False, MSG_STACK
    if s['StackGasTemperature'] < s['AirTempK']:
        s['StackGasTemperature'] = s['AirTempK']
    Ts, Ta, u = s['StackGasTemperature'], s['AirTempK'], s['WindSpeed10m']
    s['BuoyancyFlux'] = f32(9.8 / PI * s['StackFlowRate'] * (Ts - Ta) / Ts)
    F = s['BuoyancyFlux']
    if F <= 0:
        s['PlumeRise'] = 0.0
        s['FinalRiseDistance'] = 0.0
    else:
        k = math.floor(s['HorizontalStability'] + 1)
        if k in (5, 6, 7):
            g = 0.02 if k == 5 else 0.035
            st = g * 9.8 / Ta
            if u > 1:
                s['PlumeRise'] = f32(2.6 * (F / (u * st)) ** (1 / 3))
            else:
                s['PlumeRise'] = f32(5 * F ** 0.25 / st ** 0.375)
            s['FinalRiseDistance'] = f32(2.07 * u / st ** 0.5)
        elif k in (1, 2, 3, 4):
            xs = 34 * F ** 0.4 if F >= 55 else 14 * F ** 0.625
            s['FinalRiseDistance'] = f32(3.5 * xs)
            xf = s['FinalRiseDistance']
            s['PlumeRise'] = f32(1.6 * F ** (1 / 3) * xf ** (2 / 3) / u)
    s['EffectivePlumeHeight'] = f32(s['StackHeight'] + s['PlumeRise'])
    if s['EffectivePlumeHeight'] > s['MixingHeight']:
        s['EffectivePlumeHeight'] = s['MixingHeight']
    s['SourceSize'] = 1.0
    return True, ''


# ---------------------------------------------------------------- ambient properties

def vapour_pressure(s):
    A, B, C = s['VaporPressA'], s['VaporPressB'], s['VaporPressC']
    if B == 0:
        s['VaporPressure'] = f32(A / 760)
    elif C != 0:
        s['VaporPressure'] = f32(10 ** (A - B / (s['AirTempC'] + C)) / 760)
    else:
        Tr = s['AirTempK'] / s['CriticalTempK']
        l = A * (1 - 1 / Tr) - B * math.log(Tr) - 0.421875
        m = 0.421875 / Tr ** 2
        p0 = math.exp(l)
        p = p0
        for _ in range(50):
            p = math.exp(l + m * p0)
            if abs(1 - p / p0) < 0.0001:
                break
            p0 = p
        s['VaporPressure'] = f32(s['CriticalPressure'] * p)


def liquid_density(s):
    T = s['AirTempK']
    a, b = s['LiquidDensityA'], s['LiquidDensityB']
    name = s['ChemicalName']
    if name[:23].upper() == "DIMETHYLHYDRAZINE(UDMH)":
        s['LiquidDensity'] = f32(a - b * T - 4.8648e-7 * T * T)
    elif a == 0 or s['CriticalTempK'] == 0:
        s['LiquidDensity'] = 1.0
    elif b == 0:
        s['LiquidDensity'] = a
    elif s['CriticalVolume'] == 0:
        s['LiquidDensity'] = 1.0
    else:
        tau = 1 - T / s['CriticalTempK']
        s['LiquidDensity'] = f32((1 + a * tau ** (1 / 3) + b * tau) / s['CriticalVolume'] * s['MolecularWeight'])


def vapour_density(s):
    Pv, Tc, Pc, T = s['VaporPressure'], s['CriticalTempK'], s['CriticalPressure'], s['AirTempK']
    if Tc == 0 or Pc == 0 or Pv == 0:
        s['VaporDensity'] = s['AirDensity']
        return
    rho = s['MolecularWeight'] * Pv / (82.06 * T)
    k = 1 + 9 * Pv * Tc * (1 - 6 * Tc * Tc / (T * T)) / (128 * Pc * T)
    s['VaporDensity'] = f32(rho * k)


def run_meteorology(s):
    solar_elevation(s)
    heat_flux(s)
    air_properties(s)
    if 100 * s['WindHeight'] <= s['Roughness']:
        return False, '测风高度必须高于地表粗糙度，不能计算风廓线，请检查测风高度和地表粗糙度。'
    friction_velocity(s)
    wind10m(s)
    stability(s)
    if s['ReleaseMode'] == 3:
        s['DispersionRoughness'] = 3.0
        ok, msg = plume_rise(s)
        if not ok:
            return False, msg
    if s['IsLiquid'] and s['VosslerIndex'] >= 1:
        return True, ''
    s['VaporPressure'] = 0.0
    if s['IsLiquid']:
        if s['VaporPressA'] > 0:
            vapour_pressure(s)
        liquid_density(s)
    vapour_density(s)
    if s['VaporPressure'] == 0:
        s['IsLiquid'] = False
    return True, ''
