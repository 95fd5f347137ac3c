"""Scenario generator for the source-term cross-check: settings files in the
ZELTO.ini layout (41 records, GBK, CR LF) covering liquids of the temporary
substance (CLEWELL), defined substances with molecular diameter and
interaction energy (SHELL), defined substances with Vossler blocks, gases in
the three release modes, day and night, ground types and moisture, stability
and roughness."""
import random

from substances import SUBSTANCES, general_block, vossler_block

ROUGH_ITEMS = [
    "0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
    "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
    "10  cm = 低矮农作物, 个别大的障碍物         ",
    "25  cm = 高大农作物, 分布多处障碍物",
    "50  cm = 公园地面,  灌木丛, 很多障碍物",
    "100 cm = 整齐完整的大型障碍物 (城郊, 森林)",
]
# typed roughness values on the edges of the exponent table's columns
ROUGH_TYPED = ["100", "99.9", "35", "34.99", "5", "4.99", "0.5", "1", "20", "60", "5.0 cm", "35 cm"]

PLACES = [("120.1E", "30.2N"), ("116.4E", "39.9N"), ("113.26E", "23.13N"), ("87.6E", "43.8N"),
          ("126.6E", "45.8N"), ("151.2E", "33.9S"), ("98.57W", "40N"), ("2.35E", "48.85N"),
          ("18.4E", "33.9S"), ("121.47E", "31.23N")]


def q(text):
    return '"' + text.replace('"', '""') + '"'


def settings_bytes(rec):
    """rec: dict with 'text1' (26 texts), 'rough', 'combo' (8 ints for lists 1..8),
    'check', 'text2', 'text3', 'gen', 'vos', 'name', 'vindex'."""
    lines = [q(t) for t in rec['text1']]
    lines.append(q(rec['rough']))
    lines += [str(i) for i in rec['combo']]
    lines.append(str(rec['check']))
    lines.append(q(rec['text2']))
    lines.append(q(rec['text3']))
    lines.append(q(rec['gen']))
    lines.append(q(rec['vos']))
    lines.append(q(rec['name']) + ',' + str(rec['vindex']))
    return ('\r\n'.join(lines) + '\r\n').encode('gbk')


def num(x, nd=2):
    t = ('%.' + str(nd) + 'f') % x
    if '.' in t:
        t = t.rstrip('0').rstrip('.')
    return t


def weather(r, rec, air_range=(-15, 38)):
    lon, lat = r.choice(PLACES)
    t = rec['text1']
    t[0], t[1] = lon, lat
    month = r.randint(1, 12)
    day = r.randint(1, 28)
    t[2] = '2023/%02d/%02d' % (month, day)
    t[3] = '%02d:%02d:%02d' % (r.randint(0, 23), r.randint(0, 59), r.randint(0, 59))
    t[4] = str(r.choice([0, 10, 100, 500, 1500]))
    t[5] = str(r.randint(0, 359))
    t[6] = str(r.choice([10, 10, 10, 2, 5, 30]))
    if r.random() < 0.3:
        t[7] = str(r.choice([3, 8, 15, 25, 40]))
        t[9] = str(r.choice([5, 15, 30, 60]))
    else:
        t[7] = '0'
        t[9] = '15'
    t[8] = num(r.choice([0.5, 0.8, 1.0, 1.2, 1.5, 2, 3, 4.5, 6, 8, 12]) if r.random() < 0.6
               else r.uniform(0.5, 10), 1)
    t[10] = num(r.uniform(*air_range), 1)
    t[11] = str(r.randint(0, 10))
    t[12] = str(r.choice([10000, 10000, 10000, 300, 40, 800]))
    if r.random() < 0.5:
        rec['rough'] = r.choice(ROUGH_ITEMS)
    else:
        rec['rough'] = r.choice(ROUGH_TYPED)
    rec['combo'][0] = r.randint(0, 2)   # ground type
    rec['combo'][1] = r.randint(0, 2)   # moisture
    rec['combo'][2] = r.randint(0, 2)   # cloud type


def base_record():
    t = ["120.10E", "30.20N", "2023/07/15", "12:00:00", "100", "0", "10", "0", "3.0", "15", "20",
         "0", "10000", "10", "32", "0", "10", "10", "20", "2", "100", "10", "1", "10", "2", "2"]
    return dict(text1=t, rough=ROUGH_ITEMS[1], combo=[0, 0, 0, 1, 0, 0, 0, 0], check=0,
                text2="100,0,2,10\r\n500,0,2,10\r\n1000,0,2,10\r\n", text3="计算结果\r\n",
                gen="", vos="", name="未定义化学物质", vindex=0)


def release(r, rec, allow_stack=True):
    t = rec['text1']
    modes = [0, 1, 2] if allow_stack else [0, 1]
    mode = r.choice(modes)
    rec['combo'][3] = mode
    rec['combo'][4] = r.choice([0, 0, 1])          # minutes / seconds
    if rec['combo'][4] == 1:
        t[13] = str(r.choice([30, 90, 300, 600, 1800]))
    else:
        t[13] = num(r.choice([1, 5, 10, 30, 60, 120, 600]) if r.random() < 0.7 else r.uniform(1, 200), 1)
    rec['combo'][6] = 1 if r.random() < 0.2 else 0  # m3 unit sometimes
    t[16] = num(r.choice([0.5, 1, 5, 10, 50, 200, 1000]) if r.random() < 0.7 else r.uniform(0.1, 500), 2)
    if rec['combo'][6] == 1:
        t[16] = num(r.choice([0.01, 0.1, 0.5, 2]), 2)
    t[17] = num(r.choice([1, 4, 10, 25, 100, 400]) if r.random() < 0.6 else r.uniform(1, 600), 2)
    t[18] = num(r.choice([-10, -5, 0, 10, 20, 35]) if r.random() < 0.5 else r.uniform(-20, 50), 1)
    t[19] = num(r.choice([0, 1, 2, 5, 30]), 0)
    if mode == 2:
        t[19] = num(r.choice([10, 30, 60]), 0)
        if t[12] in ('40',):
            t[12] = '10000'
        t[20] = str(r.choice([20, 100, 150]))
        t[21] = str(r.choice([1, 10, 50]))
    t[22] = '1'
    t[23] = str(r.choice([1, 10, 30, 10000]))
    t[24] = num(r.choice([0, 1.5, 2]), 1)
    t[25] = '2'
    return mode


def temp_liquid(r):
    """Temporary substance released as a liquid (CLEWELL) or as a gas (vapour pressure 0)."""
    rec = base_record()
    weather(r, rec)
    release(r, rec, allow_stack=r.random() < 0.15)
    t = rec['text1']
    t[14] = num(r.uniform(16, 250), 2)
    t[15] = num(r.choice([1, 10, 50, 100, 250, 500, 750]) if r.random() < 0.5 else r.uniform(0.1, 900), 2)
    if r.random() < 0.1:
        t[15] = '0'
    rec['combo'][5] = 0
    return rec


def defined(r, kind):
    """Defined substance: kind 'shell' (no Vossler set, diameter and energy), 'clewell'
    (no Vossler set, energy 0), 'vossler' (set attached)."""
    rec = base_record()
    name = r.choice(list(SUBSTANCES))
    sub = SUBSTANCES[name]
    g = sub['gen']
    tb_c = g['tb'] - 273.16
    # mostly liquid at the ambient temperature, sometimes a gas
    if r.random() < 0.85:
        lo = max(-30, min(tb_c - 40, 25))
        hi = min(45, tb_c - 0.3)
        if hi < lo:
            lo = hi - 5
        air = (max(-48, lo), max(-48, hi))
    else:
        air = (min(59, tb_c + 0.5), min(60, tb_c + 20))
    weather(r, rec, air)
    # strong-sun cases for substances close to their boiling point
    if r.random() < 0.3:
        rec['text1'][3] = '%02d:%02d:00' % (r.randint(10, 14), r.randint(0, 59))
        rec['text1'][2] = '2023/%02d/%02d' % (r.choice([5, 6, 7, 8]), r.randint(1, 28))
        rec['text1'][0], rec['text1'][1] = r.choice([("116.4E", "39.9N"), ("120.1E", "30.2N"),
                                                     ("113.26E", "23.13N")])
        rec['text1'][11] = str(r.choice([0, 1, 2]))
    release(r, rec, allow_stack=r.random() < 0.1)
    vp_form = r.choice(['antoine', 'antoine', 'single', 'none' if kind == 'vossler' else 'antoine'])
    if r.random() < 0.15 and kind != 'vossler':
        # reduced form: A, B with C = 0
        vp_form = (r.choice([5.5, 6.0, 6.5]), r.choice([0.5, 1.0]), 0)
    md = g['md']
    ie = g['ie']
    if kind == 'clewell':
        if r.random() < 0.5:
            ie = 0
        else:
            md = 0
    elif kind == 'shell':
        if r.random() < 0.3:
            ie = r.choice([5.692e-21, 4.0e-21, 7.8e-21, 1.0e-20])
        elif r.random() < 0.2:
            ie = r.choice([50, 100, 1500, 3000])
    rec['gen'] = general_block(g, vp_form, md=md, ie=ie)
    rec['name'] = name
    if kind == 'vossler':
        v = dict(sub['vos'])
        if r.random() < 0.15:
            # narrow fit ranges to exercise the clamping
            v['visc_r'] = (g['tb'] - 20, g['tb'] - 40)
            v['cp_r'] = (g['tb'] - 10, g['tb'] - 30)
        rec['vos'] = vossler_block(v)
        rec['vindex'] = 1
    else:
        rec['vos'] = vossler_block(sub['vos']) if r.random() < 0.5 else ""
        rec['vindex'] = 0
    rec['combo'][5] = 1
    return rec, name


def scenario(r, i):
    k = i % 10
    if k in (0, 1, 2):
        return 'clewell-temp', temp_liquid(r)
    if k == 3:
        rec, name = defined(r, 'clewell')
        return 'clewell-def:' + name, rec
    if k in (4, 5):
        rec, name = defined(r, 'shell')
        return 'shell:' + name, rec
    rec, name = defined(r, 'vossler')
    return 'vossler:' + name, rec
