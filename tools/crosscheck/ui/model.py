"""Independent model of the main window without a toolkit, for the batch run.

Form_Load, the first activation (settings read, PrepareInputs with its
messages dropped), then the compute button (PrepareInputs, RunComputation,
report). The physics stages (meteorology, source term, dispersion) are not
modelled here: their results are taken from the program's JSON (`phys`), so
that this model isolates the window logic, the settings reading and the
report layout.
"""
import math

import settings
import zconv as z
from zconv import f32, general, leading_number

ROUGH_ITEMS = [
    "0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
    "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
    "10  cm = 低矮农作物, 个别大的障碍物" + " " * 9,
    "25  cm = 高大农作物, 分布多处障碍物",
    "50  cm = 公园地面,  灌木丛, 很多障碍物",
    "100 cm = 整齐完整的大型障碍物 (城郊, 森林)",
]
LIST_ITEMS = {
    1: ["泥地", "砂地", "水泥地"],
    2: ["干", "湿", "覆雪"],
    3: ["1 = HIGH--Ci, Cc, Cs", "2 = MIDDLE--Ac, As, Sc, Cu", "3 = LOW--St, Ns, Fog"],
    4: ["瞬时泄漏", "短时或持续泄漏", "浮力气体从烟筒排出"],
    5: ["分钟", "秒"],
    6: ["临时物质", "未定义化学物质"],
    7: ["kg/min", "m3/min"],
    8: ["mg/m3", "ppm"],
}
DEFAULT_BOXES = ["120.10E", "30.20N", "2017/01/12", "12:30:30", "100", "0", "10", "0", "3.0", "15",
                 "20", "0", "10000", "10", "32", "0", "10", "10", "20", "2", "100", "10", "15",
                 "10", "2", "2"]
DEFAULT_TEXT2 = "100,0,2,10\r\n500,0,2,10\r\n1000,0,2,10\r\n"
LABEL_0_1 = "泄漏位置经度和纬度："

POINT_MSG = ("系列计算点：每一行输入一个计算点定义，格式为（X,Y,Z,T)，其中X和Y为顺风和横风向坐标，"
             "Z为离地高，T为预测时刻(min)。以逗号分隔")

VOSS_FIELDS = ["FreezingPointK", "VapViscA", "VapViscB", "VapViscC", "VapViscTmax", "VapViscTmin",
               "VapCpA", "VapCpB", "VapCpC", "VapCpD", "VapCpTmax", "VapCpTmin",
               "VapCondA", "VapCondB", "VapCondC", "VapCondD", "VapCondTmax", "VapCondTmin",
               "HeatVapA", "HeatVapB", "HeatVapC", "HeatVapD", "HeatVapTmax", "HeatVapTmin",
               "SatPressA", "SatPressB", "SatPressC", "SatPressD", "SatPressE", "SatPressF",
               "SatPressTmax", "SatPressTmin", "LiqCondA", "LiqCondB", "LiqCondC", "LiqCondTmax",
               "LiqCondTmin", "DiffusionVolume"]
VOSS_COUNTS = [1, 3, 2, 4, 2, 4, 2, 4, 2, 6, 2, 3, 2, 1]

# ppm refusal: the wording is the program's choice (a mend); the model only
# checks that the refusal happens at that step.
PPM_MSG_MARK = "PPM-REFUSAL"


class Refused(Exception):
    def __init__(self, msg):
        self.msg = msg


# ------------------------------------------------------------------ list parsing
def parse_number_list(text, count, positive_only):
    if positive_only:
        count = 100
    vals = [0.0] * count
    t = text.strip(' ')
    t = t.replace('，', ',').replace('/', ',').replace('。', ',')
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
    for i in range(min(count, len(items))):
        vals[i] = z.leading_single(items[i])
    if not positive_only:
        return t, vals, count
    out = [0.0]
    for i in range(100):
        if vals[i] > 0:
            out.append(vals[i])
    return t, out, len(out) - 1


def parse_point_list(text):
    t = text.strip(' ')
    if t == '':
        return t, None
    rows = []
    for line in t.split('\r\n'):
        l2 = line.strip(' ')
        if l2 == '':
            continue
        _, v, _ = parse_number_list(l2, 5, False)
        rows.append(list(v))
    return t, rows


# ------------------------------------------------------------------ parameter blocks
def parse_general_unchecked(text, entry):
    pieces = text.split('\r\n') if text != '' else []
    names = ['TwaPpm', 'TwaMg', 'StelPpm', 'StelMg']
    for k in range(13):
        if k >= len(pieces):
            return False
        p = pieces[k]
        if k < 4:
            entry[names[k]] = z.leading_single(p)
        elif k < 9:
            entry['Params'][k - 4] = z.leading_single(p)
        elif k == 9:
            _, v, _ = parse_number_list(p, 3, False)
            entry['Params'][5:8] = v
        elif k == 10:
            _, v, _ = parse_number_list(p, 2, False)
            entry['Params'][8:10] = v
        else:
            entry['Params'][k - 1] = z.leading_single(p)
    return True


def parse_vossler_unchecked(text, values):
    """values: list index 1..40 (index 0 unused)."""
    pieces = text.split('\r\n') if text != '' else []
    pos = 3
    for k in range(14):
        if k >= len(pieces):
            return False
        p = pieces[k]
        c = VOSS_COUNTS[k]
        if k in (0, 13):
            values[pos] = z.leading_single(p)
        else:
            _, v, _ = parse_number_list(p, c, False)
            values[pos:pos + c] = v
        pos += c
    return True


def compute_liquid_density(st):
    T = st['AirTempK']
    a, b = st['LiquidDensityA'], st['LiquidDensityB']
    if st['ChemicalName'][:23].upper() == "DIMETHYLHYDRAZINE(UDMH)":
        return f32(a - b * T - 4.8648e-7 * T * T)
    if a == 0 or st['CriticalTempK'] == 0:
        return 1.0
    if b == 0:
        return a
    if st['CriticalVolume'] == 0:
        return 1.0
    tau = 1 - T / st['CriticalTempK']
    if tau < 0:
        return None  # a fractional power of a negative number: the stage must refuse
    return f32((1 + a * tau ** (1.0 / 3.0) + b * tau) / st['CriticalVolume'] * st['MolecularWeight'])


# ------------------------------------------------------------------ the window
class Window:
    def __init__(self, today=("2017/01/12", "12:30:30")):
        self.box = list(DEFAULT_BOXES)
        self.box[2], self.box[3] = today
        self.box_enabled = [True] * 26
        self.list_index = {i: 0 for i in range(1, 9)}
        self.list_items = {k: list(v) for k, v in LIST_ITEMS.items()}
        self.rough_text = ROUGH_ITEMS[0]
        self.check1 = 0
        self.text2 = DEFAULT_TEXT2
        self.text3 = "计算结果\r\n"
        self.busy = False
        self.messages = []
        self.record_messages = True
        s = {}
        self.s = s
        s['ChemicalCount'] = 1
        s['Chemicals'] = [self._entry(''), self._entry('未定义化学物质')]
        s['VosslerSetCount'] = 1
        s['VosslerSets'] = [{'Name': '', 'Values': [0.0] * 41}, {'Name': '', 'Values': [0.0] * 41}]
        for k in ['PpmFactor', 'ReleaseMode', 'ReleaseDuration', 'ChemicalIndex', 'Longitude',
                  'Latitude', 'AirTempK', 'AirTempC', 'CloudCover', 'MolecularWeight',
                  'BoilingPointK', 'VaporPressA', 'VosslerIndex', 'PredictionTime']:
            s[k] = 0
        s['ReleaseDate'] = ''
        s['ReleaseTime'] = ''
        s['GeneralParamText'] = ''
        s['VosslerParamText'] = ''
        s['ThresholdText'] = ''
        s['ThresholdCount'] = 0
        s['PointCount'] = 0
        s['PointText'] = ''
        s['Points'] = []
        for f in VOSS_FIELDS:
            s[f] = 0.0
        self.settings_failed = []
        self.phys = None
        self.reached_physics = False
        self.label2_1 = None
        self.label2_2 = None

    @staticmethod
    def _entry(name):
        return {'Name': name, 'TwaPpm': 0.0, 'TwaMg': 0.0, 'StelPpm': 0.0, 'StelMg': 0.0,
                'Params': [0.0] * 12, 'VosslerIndex': 0}

    # -------------------------------------------------------------- messages
    def show(self, msg):
        if self.record_messages:
            self.messages.append(msg)

    # -------------------------------------------------------------- box 14 change
    def set_box(self, i, text):
        old = self.box[i]
        self.box[i] = text
        if i == 14 and old != text:
            self.text1_change_14()

    def text1_change_14(self):
        if leading_number(self.box[14]) > 0:
            pass  # list 8 enabled
        else:
            self.list_index[8] = 0

    # -------------------------------------------------------------- settings
    def read_settings(self, raw):
        self.busy = True
        recs = settings.read_records(raw)
        for i in range(26):
            if recs[i] is None:
                self.settings_failed.append(i + 1)
            else:
                self.set_box(i, recs[i])
        if recs[26] is None:
            self.settings_failed.append(27)
        else:
            self.rough_text = recs[26]
        for k in range(1, 9):
            r = recs[26 + k]
            v = settings.parse_int(r) if r is not None else None
            if v is None or not (0 <= v < len(self.list_items[k])):
                self.settings_failed.append(27 + k)
            else:
                self.list_index[k] = v
        r = recs[35]
        v = settings.parse_int(r) if r is not None else None
        if v is None or v not in (0, 1):
            self.settings_failed.append(36)
        else:
            self.check1 = v
        for idx, attr in ((36, 'text2'), (37, 'text3')):
            if recs[idx] is None:
                self.settings_failed.append(idx + 1)
            else:
                setattr(self, attr, recs[idx])
        if recs[38] is None:
            self.settings_failed.append(39)
        else:
            self.s['GeneralParamText'] = recs[38]
        if recs[39] is None:
            self.settings_failed.append(40)
        else:
            self.s['VosslerParamText'] = recs[39]
        # record 41: name, then integer
        if recs[40] is not None:
            self.s['Chemicals'][1]['Name'] = recs[40]
            self.list_items[6][1] = recs[40]
        else:
            self.settings_failed.append(41)
        r = recs[41]
        v = settings.parse_int(r) if r is not None else None
        if v is None:
            self.settings_failed.append(41.5)
        else:
            if not (0 <= v <= self.s['VosslerSetCount']):
                v = 0
            self.s['Chemicals'][1]['VosslerIndex'] = v
        parse_general_unchecked(self.s['GeneralParamText'], self.s['Chemicals'][1])
        parse_vossler_unchecked(self.s['VosslerParamText'], self.s['VosslerSets'][1]['Values'])
        self.busy = False

    # -------------------------------------------------------------- validation
    def validate(self, i):
        """Returns True when accepted; on refusal shows the message."""
        s = self.box[i].strip(' ')
        v = leading_number(s)
        st = self.s
        msgs = {6: "不能小于1m!", 7: "不能大于180 度!", 9: "有效范围[1,60]!", 10: "有效范围[-50,60]!",
                11: "有效范围[0,10]!", 16: "无效!", 17: "无效!最小为1", 19: "无效!", 21: "无效!",
                22: "不可小于 1 min!", 23: "无效!", 25: "无效!", 2: "日期格式：YYYY/MM/DD",
                3: "时间格式: HH:MM:SS"}

        def refuse(msg):
            if msg is None:
                msg = "输入无效：" + LABEL_0_1
            self.show(msg)
            return False

        if i in (19, 21) and not self.box_enabled[i]:
            return True
        if i not in (2, 3) and not (i == 13 and self.list_index[4] == 0) and not z.fits_single(v):
            return refuse(msgs.get(i, "无效!"))
        if i in (0, 1):
            lim = 180 if i == 0 else 90
            if not abs(v) < lim:
                return refuse(None)
            neg_letter, pos_letter = ('W', 'E') if i == 0 else ('S', 'N')
            if (s[-1:] in (neg_letter, neg_letter.lower())) or v < 0:
                s = z.general_double(abs(v)) + neg_letter
                val = -abs(v)
            else:
                s = z.general_double(abs(v)) + pos_letter
                val = abs(v)
            st['Longitude' if i == 0 else 'Latitude'] = f32(val)
            self.set_box(i, s)
            self.refresh_input(0)
            return True
        if i in (2, 3):
            p = z.parse_datetime(s)
            key = 'date' if i == 2 else 'time'
            if p is None or p[key] is None:
                return refuse(msgs[i])
            s = z.date_text(*p['date']) if i == 2 else z.time_text(*p['time'])
            st['ReleaseDate' if i == 2 else 'ReleaseTime'] = s
            self.set_box(i, s)
            self.refresh_input(0)
            return True
        if i == 4:
            st['GroundElevation'] = f32(v)
            s = general(v)
        elif i == 5:
            n = z.round_half_even(v)
            d = math.fmod(n, 360.0)
            if d < 0:
                d += 360.0
            st['WindDirection'] = f32(d)
            s = general(d)
        elif i == 6:
            if not v >= 1:
                return refuse(msgs[6])
            st['WindHeight'] = f32(v)
        elif i == 7:
            if not v <= 180:
                return refuse(msgs[7])
            st['SigmaTheta'] = f32(v)
            s = general(v)
            if v > 0:
                st['SigmaThetaFlag'] = 2
                self.box_enabled[9] = True
            else:
                st['SigmaThetaFlag'] = 1
                self.box_enabled[9] = False
        elif i == 8:
            if v < 0.5:
                s = "0.5"
            st['WindSpeed'] = f32(leading_number(s))
        elif i == 9:
            if not (1 <= v <= 60):
                return refuse(msgs[9])
            st['SigmaThetaTime'] = f32(v)
            s = general(v)
        elif i == 10:
            if not (-50 <= v <= 60):
                return refuse(msgs[10])
            st['AirTempC'] = f32(v)
            st['AirTempK'] = f32(v + 273.16)
            s = general(v)
        elif i == 11:
            c = z.round_half_even(v)
            if v < 0 or c > 10:
                return refuse(msgs[11])
            st['CloudCover'] = int(c)
            s = general(c)
        elif i == 12:
            if v < 0:
                s = "0"
            st['InversionBase'] = st['MixingHeight'] = f32(leading_number(s))
        elif i == 13:
            if self.list_index[4] == 0:
                s = "15"
                st['ReleaseDuration'] = f32(0.25)
            else:
                st['ReleaseDuration'] = f32(v / 60.0) if self.list_index[5] == 1 else f32(v)
        elif i in (14, 15, 18, 20, 24):
            pass
        elif i == 16:
            if not v > 0:
                return refuse(msgs[16])
        elif i == 17:
            if not v >= 1:
                return refuse(msgs[17])
        elif i == 19:
            ok = v > 0 if st['ReleaseMode'] == 3 else v >= 0
            if not ok:
                return refuse(msgs[19])
        elif i == 21:
            if not v > 0:
                return refuse(msgs[21])
        elif i == 22:
            if not v >= 1:
                return refuse(msgs[22])
        elif i in (23, 25):
            if not v > 0:
                return refuse(msgs[i])
        self.set_box(i, s)
        return True

    # -------------------------------------------------------------- refresh
    def refresh_input(self, half):
        if self.busy:
            return
        st = self.s
        if half == 0:
            if st['ReleaseDate'] == '' or st['ReleaseTime'] == '':
                return
            d = z.parse_datetime(st['ReleaseDate'])['date']
            t = z.parse_datetime(st['ReleaseTime'])['time']
            sh = int(z.round_half_even((st['Longitude'] - 116.2) / 15.0))
            h = t[0] + sh
            y, m, dd = d
            if h < 0:
                y, m, dd = z.prev_day(y, m, dd)
                h += 24
            if h > 23:
                y, m, dd = z.next_day(y, m, dd)
                h -= 24
            st['LocalDateText'] = z.date_text(y, m, dd)
            st['LocalTimeText'] = z.time_text(h, t[1], t[2])
            st['TimeDifference'] = f32(z.round_half_even(st['Longitude'] / 15.0, 2))
            # ComputeSolarElevation: physics, taken from the program
            self.solar_done = True
        elif half == 1:
            st['ReleaseMode'] = self.list_index[4] + 1
            v = leading_number(self.box[13])
            st['ReleaseDuration'] = f32(v / 60.0) if self.list_index[5] == 1 else f32(v)
            st['ChemicalIndex'] = self.list_index[6]
            e1 = st['Chemicals'][1]
            if e1['Params'][0] == 0 or e1['Params'][1] == 0:
                st['ChemicalIndex'] = 0
                self.list_index[6] = 0
            self.load_chemical(st['ChemicalIndex'])
            mode = st['ReleaseMode']
            if mode == 1:
                st['ReleaseDuration'] = f32(0.25)
                self.box[13] = "15"
                self.list_index[5] = 1
                self.list_items[7] = [x.replace('/min', '') for x in self.list_items[7]]
            else:
                if st['ReleaseDuration'] < 0.25:
                    st['ReleaseDuration'] = f32(0.25)
                rd = st['ReleaseDuration']
                self.box[13] = general(rd * 60.0 if self.list_index[5] == 1 else rd)
                if '/min' not in self.list_items[7][0]:
                    self.list_items[7] = [x + '/min' for x in self.list_items[7]]
            if mode == 3:
                self.list_index[7] = 0
                self.box_enabled[19] = True
                self.label2_2 = 'stack'
            elif mode in (1, 2):
                if st['ChemicalIndex'] == 0:
                    self.list_index[7] = 0
                    self.box_enabled[19] = True
                    self.label2_2 = 'temp'
                elif st['BoilingPointK'] <= st['AirTempK']:
                    self.list_index[7] = 0
                    self.box_enabled[19] = True
                    self.label2_2 = 'gas'
                else:
                    self.box[19] = "0"
                    self.box_enabled[19] = False
                    self.label2_2 = 'liquid'
            if self.box_enabled[19] and not leading_number(self.box[19]) > 0:
                self.box[19] = "2"

    def load_chemical(self, idx):
        st = self.s
        e = st['Chemicals'][idx]
        st['ChemicalName'] = e['Name'] if idx != 0 else "临时物质"
        for k in ('TwaPpm', 'TwaMg', 'StelPpm', 'StelMg'):
            st[k] = e[k]
        names = ['MolecularWeight', 'BoilingPointK', 'CriticalTempK', 'CriticalPressure',
                 'CriticalVolume', 'VaporPressA', 'VaporPressB', 'VaporPressC', 'LiquidDensityA',
                 'LiquidDensityB', 'MolecularDiameter', 'InteractionEnergy']
        for k, n in enumerate(names):
            st[n] = e['Params'][k]
        st['VosslerIndex'] = e['VosslerIndex']
        if e['VosslerIndex'] >= 1:
            vals = st['VosslerSets'][e['VosslerIndex']]['Values']
            for k, n in enumerate(VOSS_FIELDS):
                st[n] = vals[3 + k]

    # -------------------------------------------------------------- PrepareInputs
    def prepare_inputs(self):
        st = self.s
        phys = self.phys
        self.busy = True
        for i in range(26):
            if not self.validate(i):
                self.busy = False
                self.fail_step = ('box', i)
                return False
        self.busy = False
        self.refresh_input(0)
        # step 3: roughness, confined by value
        rs = self.rough_text.strip(' ')
        rv = leading_number(rs)
        if rv < 0.5:
            rs = "0.5 cm"
            self.rough_text = rs
        elif rv > 100:
            rs = "100 cm"
            self.rough_text = rs
        st['Roughness'] = f32(leading_number(rs))
        st['DispersionRoughness'] = st['Roughness']
        st['GroundType'] = self.list_index[1] + 1
        st['GroundMoisture'] = self.list_index[2] + 1
        st['CloudType'] = self.list_index[3] + 1
        ct = st['CloudType']
        if ct in (1, 2, 3):
            st['CloudTypeFactor'] = f32([0.61, 0.26, 0.17][ct - 1])
        st['Albedo'] = f32(0.23)
        if st['GroundMoisture'] == 3 and st['AirTempC'] < 20:
            st['Albedo'], st['MoistureFactor'], st['NetRadiationFactor'] = f32(0.75), 1.0, 0.0
        elif st['GroundMoisture'] == 1:
            st['Albedo'], st['MoistureFactor'], st['NetRadiationFactor'] = f32(0.23), f32(0.45), f32(0.25)
        else:
            st['Albedo'], st['MoistureFactor'], st['NetRadiationFactor'] = f32(0.23), 1.0, f32(0.12)
        st['AirPressure'] = f32(1013.25 - st['GroundElevation'] * 0.1148)
        self.refresh_input(1)
        st['ReleaseMode'] = self.list_index[4] + 1
        if st['ReleaseMode'] == 1:
            st['ReleaseDuration'] = f32(0.25)
        elif not st['ReleaseDuration'] > 0.25:
            self.show("非瞬时泄漏，泄漏时长必须大于15s!")
            self.fail_step = ('step', 7)
            return False
        # step 8: liquid density from the substance loaded by half 1
        ld = compute_liquid_density(st)
        if ld is None:
            ld = 1.0  # "1 when it cannot be computed"
        st['LiquidDensity'] = ld
        v = leading_number(self.box[16])
        vol = self.list_index[7] != 0
        mode = st['ReleaseMode']
        if mode == 1:
            st['ReleaseMass'] = f32(v * 1000000.0 * ld if vol else v * 1000.0)
            st['ReleaseRate'] = f32(st['ReleaseMass'] / st['ReleaseDuration'])
        elif mode == 2:
            st['ReleaseRate'] = f32(v * 1000000.0 * ld if vol else v * 1000.0)
            st['ReleaseMass'] = f32(st['ReleaseRate'] * st['ReleaseDuration'])
        else:
            st['ReleaseRate'] = f32(v * 1000.0)
            st['ReleaseMass'] = f32(st['ReleaseRate'] * st['ReleaseDuration'])
        st['MolecularWeight'] = f32(leading_number(self.box[14]))
        if st['MolecularWeight'] > 0:
            pf = f32(28.966) * 2870400.0 * st['AirTempK'] / (st['MolecularWeight'] * st['AirPressure'] * 1000000.0)
            pf = f32(pf)
            if st['ChemicalName'] == "NITROGEN TETROXIDE":
                pf = f32(2.0 * pf)
            st['PpmFactor'] = pf
        st['VaporPressA'] = f32(leading_number(self.box[15]))
        if st['ChemicalIndex'] >= 1 and st['Chemicals'][st['ChemicalIndex']]['Params'][5] > 0:
            st['VaporPressA'] = st['Chemicals'][st['ChemicalIndex']]['Params'][5]
        if mode == 3:
            st['VaporPressA'] = 0.0
            st['IsLiquid'] = False
        else:
            st['IsLiquid'] = bool((st['MolecularWeight'] > 0 and st['VaporPressA'] > 0 and st['ChemicalIndex'] == 0)
                                  or (st['ChemicalIndex'] > 0 and st['AirTempK'] < st['BoilingPointK']))
        st['PoolArea'] = f32(leading_number(self.box[17]))
        st['PoolTemperature'] = f32(leading_number(self.box[18]))
        st['EffectivePlumeHeight'] = f32(leading_number(self.box[19]))
        st['StackHeight'] = st['EffectivePlumeHeight']
        st['StackGasTemperature'] = f32(leading_number(self.box[20]) + 273.15)
        st['StackFlowRate'] = f32(leading_number(self.box[21]))
        if not st['StackHeight'] >= 1:
            st['StackHeight'] = 1.0
        if not st['StackFlowRate'] > 0:
            st['StackFlowRate'] = 1.0
        self.box[21] = general(st['StackFlowRate'])
        if not st['PoolArea'] > 0:
            basis = st['ReleaseRate'] * 10 if st['ReleaseDuration'] > 10 else st['ReleaseMass']
            st['PoolArea'] = f32(basis * 0.0001 / ld / 1.0)
        pa = f32(z.round_half_even(st['PoolArea'], 2))
        if pa < 1:
            pa = 1.0
        st['PoolArea'] = pa
        self.box[17] = general(pa)
        st['AveragingTime'] = f32(leading_number(self.box[22]))
        # step 16: physics
        self.reached_physics = True
        if phys.get('_physics_failed'):
            self.show(phys['_physics_message'])
            self.fail_step = ('step', 16)
            return False
        rd = f32(phys['ReleaseDuration'])
        if not st['AveragingTime'] >= 1:
            st['AveragingTime'] = 1.0
            self.box[22] = "1"
        if st['AveragingTime'] > 1 and st['AveragingTime'] > rd:
            d1 = rd if rd >= 1 else 1.0
            self.show("泄漏(或液体蒸发）总时长为" + general(rd) + "(min),浓度平均时间不可超过" + general(d1) + "(min)")
            self.fail_step = ('step', 18)
            return False
        st['PredictionTime'] = f32(leading_number(self.box[23]))
        st['ReceptorHeight'] = f32(leading_number(self.box[24]))
        tt, th, n = parse_number_list(self.box[25].strip(' '), 0, True)
        st['ThresholdText'] = tt
        if n <= 0:
            st['ThresholdCount'] = 0
            self.show("廓线的阈值无效!")
            self.fail_step = ('step', 20)
            return False
        th = [0.0] + sorted(th[1:])
        if self.list_index[8] != 0:
            if st['PpmFactor'] == 0:
                st['Thresholds'] = th
                st['ThresholdCount'] = n
                self.show(PPM_MSG_MARK)
                self.fail_step = ('step', 20)
                return False
            parts = []
            for k in range(1, n + 1):
                th[k] = f32(th[k] / st['PpmFactor'])
                parts.append(general(th[k]))
            st['ThresholdText'] = ','.join(parts)
        st['Thresholds'] = th
        st['ThresholdCount'] = n
        if self.check1 == 1:
            pt, rows = parse_point_list(self.text2.strip(' '))
            st['PointText'] = pt
            if rows is not None:
                st['Points'] = rows
                st['PointCount'] = len(rows)
            else:
                st['PointCount'] = 0
            if st['PointCount'] <= 0:
                self.show(POINT_MSG)
                self.fail_step = ('step', 21)
                return False
            rows = st['Points']
            for k, r in enumerate(rows):
                if r[0] < 10:
                    r[0] = 10.0
                if r[2] < 0:
                    r[2] = 0.0
                if r[3] <= 0:
                    r[3] = st['PredictionTime'] if k == 0 else rows[k - 1][3]
            self.text2 = '\r\n'.join(','.join(general(x) for x in r[:4]) for r in rows)
            return True
        st['PointText'] = ''
        st['PointCount'] = 0
        return True
