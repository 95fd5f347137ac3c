#!/usr/bin/env python3
"""Scenario generator: settings files (GBK, CR LF, 41 records) that vary the
inputs of input preparation and the meteorology pass.

    python3 gen.py OUTDIR COUNT [SEED]

Writes OUTDIR/scNNNN.ini and OUTDIR/scNNNN.json (the scenario as the model
reads it).
"""
import json
import os
import random
import sys

from metmodel import ROUGH_ITEMS, f32, leading_number

BENZENE_VOSSLER = "\r\n".join([
    "278.7", "-2.8E-7, 2.6E-8, 0", "600, 280", "-434.3, 6.067, -3.863E-3, 9.128E-7",
    "1000, 273", "-8.455E-3, 3.618E-5, 9.799E-8, -4.058E-11", "1000, 273",
    "562.2, 353.2, 393300, 0.38", "562, 279", "6.90565, 1211.033, -52.36, 0, 0, 0",
    "377, 280", "0.2564, -3.84E-4, 0", "413, 279", "90.68"])

# name, TWA ppm, TWA mg, STEL ppm, STEL mg, MW, BP, Tc, Pc, Vc, (A,B,C), (a,b), diameter, energy, vossler
SUBSTANCES = [
    ("氯气(Chlorine)", "0.5", "1.5", "1", "3", "70.9", "239.1", "417", "76", "124",
     ("6.93790", "861.34", "246.33"), ("1.57", "0"), "0", "0", 0),
    ("苯(Benzene)", "1.88", "6", "3.13", "10", "78.11", "353.2", "562.2", "48.3", "259",
     ("6.90565", "1211.033", "220.79"), ("1.899", "0.8947"), "5.349", "5.692E-21", 1),
    ("Reduced liquid", "0", "5", "0", "0", "58.08", "329.2", "508.1", "46.4", "209",
     ("6.2", "0.8", "0"), ("1.8", "0.9"), "0", "0", 0),
    ("Reduced liquid B", "0", "5", "0", "0", "92.14", "383.8", "591.8", "40.6", "316",
     ("7.1", "1.3", "0"), ("1.7", "0.7"), "5.9", "3.8E-21", 0),
    ("dimethylhydrazine(udmh) rocket fuel", "0.01", "0.025", "0", "0", "60.1", "336", "523", "53.5", "0",
     ("7.408", "1305.9", "225.5"), ("1.0", "0.0007"), "0", "0", 0),
    ("Single constant liquid", "0", "20", "0", "40", "86.2", "341.9", "507.6", "29.7", "370",
     ("120", "0", "0"), ("0.66", "0"), "0", "0", 0),
    ("No density constants", "0", "20", "0", "0", "100", "371.6", "540", "27", "428",
     ("6.9", "1268", "216.9"), ("0", "0"), "0", "0", 0),
    ("Density without Vc", "0", "20", "0", "0", "100", "371.6", "540", "27", "0",
     ("6.9", "1268", "216.9"), ("1.2", "0.5"), "0", "0", 0),
    ("NITROGEN TETROXIDE", "3", "0", "5", "0", "92.01", "294.3", "431", "99", "167",
     ("7.7", "1100", "230"), ("1.45", "0"), "0", "0", 0),
    ("Nitrogen Tetroxide", "3", "0", "5", "0", "92.01", "294.3", "431", "99", "167",
     ("7.7", "1100", "230"), ("1.45", "0"), "0", "0", 0),
    ("Ammonia gas with set", "25", "18", "35", "27", "17.03", "239.7", "405.5", "111.3", "72.5",
     ("7.36", "926", "240"), ("0.68", "0"), "2.9", "5.0E-21", 1),
    ("Carbon disulfide", "10", "31", "0", "0", "76.14", "319.4", "552", "78", "160",
     ("6.94", "1169", "241.6"), ("1.26", "0"), "4.483", "6.5E-21", 0),
    ("No vapour constants", "0", "10", "0", "0", "150", "450", "700", "30", "400",
     ("0", "0", "0"), ("1.1", "0"), "0", "0", 0),
    ("Water", "0", "10", "0", "0", "18.015", "373.15", "647.1", "217.7", "56",
     ("8.07131", "1730.63", "233.426"), ("1.8", "1.2"), "0", "0", 0),
]

THRESHOLDS = ["2", "3,30,90", "10", "1,4", "5，2/10", "2", "3,30,90", "5，2/10", "10 1 100", "0.5,0,8", "1,4", "0,5", "abc", "100",
              "2.5, 25, 250, 2500", "7。3", " 12 ", "1e-3,0.01", "50,-3,20", "0.3"]

POINTS = ["100,0,2,10\r\n500,0,2,10", "100,0,2,10\r\n500,0,2,10", "100,0,2,10\r\n500,0,2,10\r\n1000,0,2,10\r\n", "5,0,-1,0\r\n200,10,2",
          "100,0,1.5,10\r\n500,0,1.5,20\r\n1000,50,1.5,30", "", "  \r\n",
          "50 20 1 0\r\n\r\n 300,0,0,5 \r\n400,5", "1000,0,0,0\r\n2000,0,0,0",
          "150,-30,3,7,99\r\n8,1,1,1"]


def rchoice(rng, seq):
    return seq[rng.randrange(len(seq))]


def num(x, nd=2):
    s = ('%.*f' % (nd, x)).rstrip('0').rstrip('.')
    return s if s not in ('-0', '') else '0'


def make_scenario(rng):
    b = [''] * 26
    # site
    kind = rng.random()
    if kind < 0.15:
        lon = rchoice(rng, [83, 135, 123.7, -98.57, 116.2, 120.1, -0.5, 0.3, 179.9, -179.9, -75, 150.25, 30.2, 1.875, -5.625, 9.375, 13.125, 138.7, -71.2])
    else:
        lon = round(rng.uniform(-179.9, 179.9), rng.choice([0, 1, 2]))
    form = rng.random()
    if form < 0.6:
        b[0] = num(abs(lon), 2) + ('W' if lon < 0 else 'E')
    elif form < 0.8:
        b[0] = num(lon, 2)
    else:
        b[0] = num(abs(lon), 2) + ('w' if lon < 0 else 'e')
    lat = round(rng.uniform(-66, 70), rng.choice([0, 1, 2]))
    if rng.random() < 0.05:
        lat = -lon if abs(lon) < 90 else lat
    b[1] = num(abs(lat), 2) + ('S' if lat < 0 else 'N') if rng.random() < 0.7 else num(lat, 2)
    y = rng.randrange(2000, 2030)
    m = rng.randrange(1, 13)
    d = rng.randrange(1, 29) if rng.random() < 0.8 else rchoice(rng, [28, 29, 30, 31])
    if m == 2 and d > 28:
        d = 28
    if m in (4, 6, 9, 11) and d > 30:
        d = 30
    b[2] = '%04d/%02d/%02d' % (y, m, d)
    if rng.random() < 0.1:
        b[2] = '%d-%d-%d' % (y, m, d)
    if rng.random() < 0.08:
        b[2] = rchoice(rng, ["2020/02/29", "2023/12/31", "2024/01/01", "2100/03/01", "2000/02/29",
                             "2019/06/30", "2021/11/30", "2022/03/01"])
    b[3] = '%02d:%02d:%02d' % (rng.randrange(24), rng.randrange(60), rng.randrange(60))
    b[4] = rchoice(rng, ["0", "5", "100", "1500", "3000", "-20", "250.5", "4200"])
    b[5] = rchoice(rng, ["0", "90", "-10", "359.6", "725", "2.5", "180", "270"])
    b[6] = rchoice(rng, ["10", "10", "10", "1", "2", "5", "15", "30", "60", "10.5", "3"])
    st = rng.random()
    b[7] = "0" if st < 0.55 else rchoice(rng, ["-1", "2", "5", "8", "12", "15", "20", "25", "30",
                                                num(rng.uniform(1, 40), 1)])
    b[8] = rchoice(rng, ["0.3", "0.5", "0.8", "1", "1.5", "2", "3.0", "5", "8", "12", "20"])
    b[9] = rchoice(rng, ["15", "60", "1", "10", "30", "5"])
    b[10] = num(rng.uniform(-30, 45), rng.choice([0, 1]))
    b[11] = rchoice(rng, ["0", "1", "2.5", "3", "5", "7", "8", "10", "10.4", str(rng.randrange(11))])
    b[12] = rchoice(rng, ["10000", "10000", "10000", "30", "45", "49.9", "50", "80", "150",
                          "300", "600", "1500", "-5", "0"])
    mode = rng.choice([0, 1, 1, 2])
    unit5 = 1 if rng.random() < 0.2 else 0
    b[13] = rchoice(rng, ["10", "30", "60", "5", "0.5", "20", "120", "10000", "16", "15", "1000"])
    defined = rng.random() < 0.55
    sub = rchoice(rng, SUBSTANCES)
    b[14] = rchoice(rng, ["32", "70.9", "17.03", "0", "-5", "92", "64.06", sub[5], sub[5], "100"])
    b[15] = rchoice(rng, ["0", "0", "100", "350", "-3", "12.5", "760"])
    b[16] = rchoice(rng, ["10", "0.5", "2", "500", "1", "0.02", "25"])
    b[17] = rchoice(rng, ["10", "1", "2.125", "30", "1.005", "40", "100", "3.375", "1.125", "2.625", "12.345"]) if rng.random() > 0.03 else "0"
    b[18] = rchoice(rng, ["20", "15", "25", "0"])
    b[19] = rchoice(rng, ["2", "0", "60", "1.5", "0.5", "30", "100", "200", "45", "2"])
    b[20] = rchoice(rng, ["100", "150", "10", "-5", "300", "40", "37.3", "120.7", "85.55", "300.7", "450.2", "258.2"])
    b[21] = rchoice(rng, ["10", "0.5", "50", "200", "1", "5", "0", "-2"]) if mode != 2 else rchoice(rng, ["10", "0.5", "50", "200", "1", "5"])
    b[22] = rchoice(rng, ["1", "1", "10", "15", "5", "1.5", "30"])
    b[23] = rchoice(rng, ["10", "5", "30", "10000", "1", "60", "2.5"])
    b[24] = rchoice(rng, ["2", "0", "1.5", "10"])
    b[25] = rchoice(rng, THRESHOLDS)
    if rng.random() < 0.15:
        # night case with sigma-theta in the rows of the 10 m wind rule
        b[3] = '%02d:%02d:00' % (rng.choice([0, 1, 2, 3, 21, 22, 23]), rng.randrange(60))
        b[0] = rchoice(rng, ["116.2E", "120.1E", "105E"])
        b[7] = num(rng.uniform(11, 30), 1)
        b[8] = rchoice(rng, ["1.5", "1.9", "2", "2.2", "2.5", "2.7", "3", "4", "1.2"])
    rough = rchoice(rng, ROUGH_ITEMS + ["7", "0.2", "150", "-50", "25 cm", " 1.5 ", "100", "0"])
    lists = [0] * 9
    lists[1] = rng.randrange(3)
    lists[2] = rng.randrange(3)
    lists[3] = rng.randrange(3)
    lists[4] = mode
    lists[5] = unit5
    lists[6] = 1 if defined else 0
    lists[7] = 1 if rng.random() < 0.3 else 0
    lists[8] = 1 if rng.random() < 0.3 else 0
    check = 1 if rng.random() < 0.4 else 0
    pts = rchoice(rng, POINTS)
    (name, twp, twm, stp, stm, mw, bp, tc, pc, vc, vp, ld, dia, en, vi) = sub
    if rng.random() < 0.1:
        bp = "0"  # undefined substance: snaps back to the temporary one
    gen_lines = [twp, twm, stp, stm, mw, bp, tc, pc, vc, ", ".join(vp), ", ".join(ld), dia, en]
    chem = {
        'Name': name,
        'Twa': [f32(leading_number(x)) for x in (twp, twm, stp, stm)],
        'Params': [0.0] + [f32(leading_number(x)) for x in (mw, bp, tc, pc, vc)] +
                  [f32(leading_number(x)) for x in vp] + [f32(leading_number(x)) for x in ld] +
                  [f32(leading_number(dia)), f32(leading_number(en))],
        'VosslerIndex': vi,
    }
    return {
        'boxes': b, 'rough': rough, 'lists': lists, 'check': check, 'points': pts,
        'general': "\r\n".join(gen_lines), 'vossler': BENZENE_VOSSLER if vi else "",
        'chem': chem,
    }


def q(t):
    return '"' + t.replace('"', '""') + '"'


def write_ini(sc, path):
    recs = [q(t) for t in sc['boxes']]
    recs.append(q(sc['rough']))
    recs += [str(sc['lists'][k]) for k in range(1, 9)]
    recs.append(str(sc['check']))
    recs.append(q(sc['points']))
    recs.append(q("计算结果\r\n"))
    recs.append(q(sc['general']))
    recs.append(q(sc['vossler']))
    recs.append(q(sc['chem']['Name']) + "," + str(sc['chem']['VosslerIndex']))
    data = "".join(r + "\r\n" for r in recs)
    with open(path, 'wb') as f:
        f.write(data.encode('gbk'))


def main():
    out, count = sys.argv[1], int(sys.argv[2])
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    rng = random.Random(seed)
    os.makedirs(out, exist_ok=True)
    for i in range(count):
        sc = make_scenario(rng)
        write_ini(sc, os.path.join(out, 'sc%04d.ini' % i))
        with open(os.path.join(out, 'sc%04d.json' % i), 'w') as f:
            json.dump(sc, f, ensure_ascii=False)


if __name__ == '__main__':
    main()
