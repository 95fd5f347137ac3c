#!/usr/bin/env python3
"""Writes varied settings files (GBK, CR LF, 41 records) for the dispersion
cross-check.  usage: gen_scenarios.py OUTDIR COUNT [SEED [EXTREME_SHARE]]"""
import os
import random
import sys

ROUGH = ["0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
         "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
         "10  cm = 低矮农作物, 个别大的障碍物         ",
         "25  cm = 高大农作物, 分布多处障碍物",
         "50  cm = 公园地面,  灌木丛, 很多障碍物",
         "100 cm = 整齐完整的大型障碍物 (城郊, 森林)", "7", "1.5 cm"]

BENZENE_GEN = "1.88\r\n6\r\n3.13\r\n10\r\n78.11\r\n353.2\r\n562.2\r\n48.3\r\n259\r\n6.90565, 1211.033, 220.79\r\n1.899, 0.8947\r\n5.349\r\n5.692E-21"


def q(t):
    return '"' + t + '"'


def fmt(v):
    if isinstance(v, float):
        s = ('%.4f' % v).rstrip('0').rstrip('.')
        return s
    return str(v)


def thresholds(r):
    n = r.choice([1, 1, 2, 3, 3, 5, 8, 12])
    base = 10 ** r.uniform(-2, 3)
    vals = sorted({float('%.3g' % (base * 10 ** r.uniform(0, 2.5))) for _ in range(n)})
    return ",".join(fmt(v) for v in vals)


def points(r, mode):
    lines = []
    for _ in range(r.randint(1, 6)):
        x = r.choice([-5, 0, 5, 30, 100, 250, 500, 1000, 2500, 6000, r.randint(10, 3000)])
        y = r.choice([0, 0, 10, -20, 50, 150])
        z = r.choice([0, 1.5, 2, 10, 40, 120, 300])
        t = r.choice([0, 1, 5, 10, 20, 45, 90, 10000])
        lines.append("%s,%s,%s,%s" % (x, y, z, t))
    return "\r\n".join(lines)


def extreme(r, rec):
    """Pushes a scenario towards the limits: far-reaching clouds, low lids,
    releases observed long after their end, receptors at the release height."""
    kind = r.choice(['far', 'lid', 'after', 'stack', 'height'])
    mode = rec[31]
    if kind == 'far':
        rec[26] = fmt(r.choice([0.001, 0.01, 0.05])) + "," + fmt(r.choice([1, 5]))
        rec[17] = fmt(r.choice([5000, 50000])) if mode == 0 else fmt(r.choice([300, 3000]))
        rec[9] = fmt(r.choice([6.0, 9.0, 12.0, 15.0]))
        rec[4] = "%02d:00:00" % r.choice([0, 2, 22])
        rec[12] = "0"
    elif kind == 'lid':
        rec[13] = str(r.choice([30, 50, 60, 100, 200]))
        rec[4] = "%02d:00:00" % r.choice([11, 12, 13, 14])
        rec[12] = "0"
        rec[11] = "30"
        rec[9] = fmt(r.choice([0.5, 1.0, 2.0, 3.0]))
        rec[24] = str(r.choice([30, 60, 90, 200]))
    elif kind == 'after':
        if mode == 1:
            rec[14] = str(r.choice([1, 2, 5, 10]))
            rec[23] = "1"
        rec[24] = str(r.choice([20, 40, 60, 120]))
    elif kind == 'stack':
        rec[31] = 2
        rec[20] = str(r.choice([20, 50, 100]))
        rec[14] = str(r.choice([10, 30, 10000]))
        rec[25] = fmt(r.choice([0, 2, 50, 100, 300]))
    else:
        rec[25] = rec[20]
    return rec


def scenario(r):
    rec = {}
    south = r.random() < 0.25
    west = r.random() < 0.2
    lon = r.uniform(70, 135) if not west else r.uniform(1, 170)
    lat = r.uniform(15, 50)
    rec[1] = "%.2f%s" % (lon, 'W' if west else 'E')
    rec[2] = "%.2f%s" % (lat, 'S' if south else 'N')
    rec[3] = "2023/%02d/%02d" % (r.randint(1, 12), r.randint(1, 28))
    rec[4] = "%02d:%02d:00" % (r.randint(0, 23), r.choice([0, 15, 30, 45]))
    rec[5] = str(r.choice([0, 5, 100, 800]))
    rec[6] = str(r.randint(0, 359))
    rec[7] = str(r.choice([2, 10, 10, 30]))
    st = r.random() < 0.25
    rec[8] = str(r.choice([5, 10, 15, 25, 40])) if st else "0"
    rec[9] = fmt(r.choice([0.5, 1.0, 1.5, 2.0, 3.0, 4.5, 6.0, 9.0, 12.0]))
    rec[10] = str(r.choice([1, 5, 10, 15, 30, 60]))
    rec[11] = str(r.choice([-20, -5, 5, 15, 22, 30, 38]))
    rec[12] = str(r.choice([0, 0, 2, 5, 8, 10]))
    rec[13] = str(r.choice([10000, 10000, 10000, 1000, 600, 300, 150, 80, 40, 30]))
    mode = r.choice([0, 1, 1, 1, 2])      # list index of the release mode
    liquid = mode != 2 and r.random() < 0.2
    rec[14] = str(r.choice([1, 2, 5, 10, 20, 30, 45, 60, 120, 200, 10000])) if mode else "15"
    unit_sec = mode == 1 and r.random() < 0.1
    if unit_sec:
        rec[14] = str(r.choice([30, 90, 300, 600, 1200]))
    rec[15] = fmt(r.choice([17.03, 34.08, 44.01, 64.07, 70.9, 76.14, 28.01]))
    rec[16] = str(r.choice([297, 200, 95])) if liquid else "0"
    if mode == 0:
        rec[17] = fmt(r.choice([1, 10, 100, 500, 5000]))
    else:
        rec[17] = fmt(r.choice([0.1, 1, 2, 10, 50, 300]))
    rec[18] = fmt(r.choice([5, 10, 30, 100]))
    rec[19] = str(r.choice([10, 20, 30]))
    if mode == 2:
        rec[20] = str(r.choice([5, 20, 40, 60, 100, 150]))
    else:
        rec[20] = str(r.choice([0, 0.5, 1.5, 2, 5, 10, 25, 60]))
    rec[21] = str(r.choice([20, 80, 150, 300]))
    rec[22] = str(r.choice([1, 5, 10, 40, 100]))
    rec[23] = str(r.choice([1, 1, 3, 5, 10, 10, 15, 15]))
    rec[24] = str(r.choice([1, 2, 5, 10, 15, 20, 30, 45, 60, 90, 200, 10000]))
    z = r.choice([0, 0, 1.5, 2, 2, 5, 10, 30, 60, 150, 400])
    if r.random() < 0.15:
        z = float(rec[20])   # receptor at the release height
    rec[25] = fmt(z)
    rec[26] = thresholds(r)
    rec[27] = r.choice(ROUGH)
    rec[28] = r.randint(0, 2)
    rec[29] = r.randint(0, 2)
    rec[30] = r.randint(0, 2)
    rec[31] = mode
    rec[32] = 1 if unit_sec else 0
    rec[33] = 0
    rec[34] = 0 if r.random() < 0.9 else 1
    rec[35] = 1 if r.random() < 0.25 else 0
    rec[36] = 1 if r.random() < 0.5 else 0
    rec[37] = points(r, mode)
    rec[38] = "计算结果\r\n"
    rec[39] = ""
    rec[40] = ""
    rec[41] = ("未定义化学物质", 0)
    # averaging time not longer than the release
    dur = float(rec[14]) / (60 if unit_sec else 1)
    if mode == 0 and r.random() < 0.9:
        rec[23] = "1"
    if mode and float(rec[23]) > 1 and float(rec[23]) > dur:
        rec[23] = "1"
    if r.random() < EXTREME:
        rec = extreme(r, rec)
    return rec


EXTREME = 0.0


def write(rec, path):
    out = []
    for i in range(1, 27):
        out.append(q(rec[i]))
    out.append(q(rec[27]))
    for i in range(28, 37):
        out.append(str(rec[i]))
    out.append(q(rec[37]))
    out.append(q(rec[38]))
    out.append(q(rec[39]))
    out.append(q(rec[40]))
    out.append(q(rec[41][0]) + "," + str(rec[41][1]))
    with open(path, 'wb') as f:
        f.write(("\r\n".join(out) + "\r\n").encode('gbk'))


def main():
    outdir, count = sys.argv[1], int(sys.argv[2])
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    global EXTREME
    EXTREME = float(sys.argv[4]) if len(sys.argv) > 4 else 0.0
    os.makedirs(outdir, exist_ok=True)
    r = random.Random(seed)
    for n in range(count):
        write(scenario(r), os.path.join(outdir, 's%04d.ini' % n))


if __name__ == '__main__':
    main()
