"""Direct cross-check of the source-term stage on random ModelState inputs,
including values the window never produces (exact stability values on the
exponent table's row edges, odd fit ranges, boiling and frozen pools, parameter
sets that make a formula fault).

Needs the harness (CMake target crosscheck_source_harness).
usage: fuzz.py --harness BUILD/bin/crosscheck_source_harness [--count N] [--seed S]
"""
import argparse
import collections
import json
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from model import compute_source, f32  # noqa: E402
from substances import SUBSTANCES  # noqa: E402
from run import WORK, OUTS, VOSSLER_OUTS  # noqa: E402

CONST = dict(Pi=3.1415927, AirMolWeight=28.966, GasConstant=8314.401, StdPressure=101325.0,
             StdAirViscosity=1.82e-05, AirConductivity=0.0233, AirSpecificHeat=1000.0)
INTS = ('GroundType', 'GroundMoisture', 'VosslerIndex', 'ReleaseMode')

STAB = [0.5, 1.0, 2.0, 2.9, 2.9999, 3.0, 3.0001, 3.5, 3.99, 4.0, 4.5, 5.0, 5.5, 5.99, 6.0, 6.0, 6.0]
WIND = [0.5, 0.8, 1.0, 1.0000001, 1.5, 2.0, 3.0, 5.0, 8.0, 12.0]
ROUGH = [0.5, 1.0, 3.0, 4.99, 5.0, 10.0, 25.0, 34.99, 35.0, 50.0, 99.9, 100.0]


def vossler_fields(r, sub):
    v = sub['vos']
    g = sub['gen']
    d = dict(FreezingPointK=v['tf'], BoilingPointK=g['tb'], MolecularWeight=g['mw'],
             DiffusionVolume=v['dv'])
    for pre, key, names in (('VapVisc', 'visc', 'ABC'), ('VapCp', 'cp', 'ABCD'),
                            ('VapCond', 'cond', 'ABCD'), ('HeatVap', 'hv', 'ABCD'),
                            ('SatPress', 'sp', 'ABCDEF'), ('LiqCond', 'lc', 'ABC')):
        for n, x in zip(names, v[key]):
            d[pre + n] = x
        hi, lo = v[key + '_r']
        c = r.random()
        if c < 0.08:
            hi, lo = lo, hi            # range written the wrong way round
        elif c < 0.14:
            hi, lo = g['tb'] - r.uniform(5, 40), g['tb'] - r.uniform(45, 80)
        elif c < 0.17 and pre != 'SatPress':
            hi, lo = 0, 0              # evaluates at t = 0
        d[pre + 'Tmax'] = hi
        d[pre + 'Tmin'] = lo
    c = r.random()
    if c < 0.04:
        d['HeatVapB'] = d['HeatVapA']  # heat of vaporisation 0
    elif c < 0.08:
        d['FreezingPointK'] = d['BoilingPointK'] + r.choice([0, 5])   # Tb not above Tf
    elif c < 0.12:
        d['SatPressTmax'] = d['BoilingPointK'] + 60   # fit goes beyond the boiling point
    elif c < 0.15:
        d['FreezingPointK'] = 0.0     # lines 1 and 14 are never checked by the editor
    elif c < 0.18:
        d['DiffusionVolume'] = 0.0
    return d


def case(r):
    s = dict(CONST)
    s['GroundType'] = r.randint(1, 3)
    s['GroundMoisture'] = r.randint(1, 3)
    s['VerticalStability'] = r.choice(STAB) if r.random() < 0.7 else r.uniform(0.5, 6)
    s['WindSpeed10m'] = r.choice(WIND) if r.random() < 0.7 else r.uniform(0.5, 15)
    s['DispersionRoughness'] = r.choice(ROUGH) if r.random() < 0.7 else r.uniform(0.5, 100)
    s['SolarRadiation'] = r.choice([0.0, 0.0, r.uniform(0, 1000), 950.0])
    s['AirPressure'] = r.uniform(800, 1030)
    mode = r.choice([1, 2, 2, 3])
    s['ReleaseMode'] = mode
    s['PoolArea'] = round(r.choice([1.0, 4.0, 25.0, 100.0, r.uniform(1, 2000)]), 2)
    s['LiquidDensity'] = r.uniform(0.5, 1.6)
    s['ReleaseDuration'] = 0.25 if mode == 1 else r.choice([1.0, 10.0, 30.0, 120.0])
    if mode == 1:
        s['ReleaseMass'] = r.choice([1000.0, 1e5, 1e6, r.uniform(1, 1e7)])
        s['ReleaseRate'] = s['ReleaseMass'] / 0.25
    else:
        s['ReleaseRate'] = r.choice([100.0, 1e4, 1e5, r.uniform(1, 1e6)])
        s['ReleaseMass'] = s['ReleaseRate'] * s['ReleaseDuration']
    kind = r.choice(['vossler'] * 5 + ['clewell', 'shell', 'gas'])
    name = r.choice(list(SUBSTANCES))
    sub = SUBSTANCES[name]
    g = sub['gen']
    tb = g['tb']
    s['AirTempK'] = r.uniform(max(200, tb - 60), tb - 0.2) if r.random() < 0.9 else r.uniform(220, 320)
    s['AirKinematicViscosity'] = 0.15 * (s['AirTempK'] / 293) ** 1.7
    s['MolecularWeight'] = g['mw']
    s['BoilingPointK'] = tb
    s['IsLiquid'] = kind != 'gas' and mode != 3
    s['VaporPressure'] = r.uniform(0.001, 1.5)
    s['VaporDensity'] = r.uniform(0.0005, 0.01)
    s['PoolTemperature'] = r.choice([-10.0, -0.5, 0.0, 10.0, 20.0, r.uniform(-30, 60)])
    s['SourceSize'] = 1.0
    if kind == 'vossler':
        s.update(vossler_fields(r, sub))
        s['VosslerIndex'] = r.choice([1, 1, 2])
        s['InteractionEnergy'] = r.choice([0.0, g['ie']])
        s['MolecularDiameter'] = r.choice([0.0, g['md']])
    else:
        s['VosslerIndex'] = r.choice([0, 0, -1])
        if kind == 'clewell':
            s['InteractionEnergy'], s['MolecularDiameter'] = r.choice(
                [(0.0, g['md']), (g['ie'], 0.0), (0.0, 0.0)])
        else:
            s['InteractionEnergy'] = r.choice([g['ie'], 5.692e-21, r.uniform(10, 3000), -5.0])
            s['MolecularDiameter'] = g['md']
            if r.random() < 0.2:
                # large pools in strong wind: turbulent Sherwood form
                s['PoolArea'] = r.choice([5000.0, 20000.0, 1e5])
                s['WindSpeed10m'] = r.choice([8.0, 12.0, 15.0])
    for k, v in list(s.items()):
        if isinstance(v, float) and k not in INTS:
            s[k] = f32(v)
    return kind + ':' + name, s


def same(a, b):
    return f32(float(a)) == f32(float(b))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--harness', required=True)
    ap.add_argument('--count', type=int, default=5000)
    ap.add_argument('--seed', type=int, default=3)
    args = ap.parse_args()
    r = random.Random(args.seed)
    cases = [case(r) for _ in range(args.count)]
    feed = '\n'.join(json.dumps(s) for _, s in cases) + '\n'
    p = subprocess.run([args.harness], input=feed.encode(), capture_output=True, check=True)
    results = [json.loads(x) for x in p.stdout.decode().splitlines()]
    stats = collections.Counter()
    bad = []
    for (kind, s), res in zip(cases, results):
        ok, out, info = compute_source(dict(s, PoolTemperatureInput=s['PoolTemperature']))
        stats[kind.split(':')[0]] += 1
        if info.get('model') == 3:
            stats['row%s-col%s' % (info.get('row'), info.get('col'))] += 1
            stats['branch-%s' % info.get('branch')] += 1
        if not ok or not res['Ok']:
            stats['refused both' if ok == res['Ok'] else 'refusal mismatch'] += 1
            if ok != res['Ok']:
                bad.append((kind, 'model ok' if ok else 'model fault: ' + info.get('fault'),
                            res['Message'], info.get('iterations')))
            else:
                stats['both: ' + res['Message'][:40]] += 1
            continue
        names = list(OUTS) + (VOSSLER_OUTS if info.get('model') == 3 else [])
        diffs = [(n, res[n], out[n]) for n in names if n in out and not same(res[n], out[n])]
        if info.get('model') in (1, 2):
            diffs += [(n, res[n], 0) for n in WORK if res[n] != 0]
        if diffs:
            bad.append((kind, diffs, info.get('branch'), info.get('iterations')))
    print('cases:', args.count)
    for k in sorted(stats):
        print('  %-50s %d' % (k, stats[k]))
    print('disagreements:', len(bad))
    for b in bad[:40]:
        print(' ', b)
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
