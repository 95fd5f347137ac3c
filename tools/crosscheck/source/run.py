"""Cross-check of the source-term stage.

For every generated scenario: run zelto-batch --json, take the stage's input
fields from the JSON (they are not changed by the later stages), recompute the
stage with model.py and compare every field the stage writes, to the float32
bit.

usage: run.py [--batch PATH] [--count N] [--seed S] [--dir DIR] [--keep] [--verbose]
"""
import argparse
import collections
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen  # noqa: E402
from model import compute_source  # noqa: E402
from shared import f32, leading_number  # noqa: E402  (model.py puts it on the path)

WORK = ['WindExponent', 'LengthExponent', 'SatPressure', 'SurfaceMoleFraction', 'MassTransferCoef',
        'VaporizationHeat', 'MixConductivity', 'LiquidConductivity', 'MixHeatCapacity', 'NetRadiation',
        'PoolEmission', 'ConvectiveFlux', 'SublimationHeat', 'ConvectiveCoef', 'EvaporativeFlux',
        'SchmidtNumber', 'MixViscosity']
OUTS = ['EvapRate', 'SourceStrength', 'SourceSize', 'ReleaseDuration']
VOSSLER_OUTS = WORK + ['PoolTemperature', 'VaporDensity']


def stage_input(js, rec):
    # every 32-bit field of the record as the exact float32 value it holds
    s = {k: (f32(v) if isinstance(v, float) else v) for k, v in js.items()}
    s['PoolTemperatureInput'] = f32(leading_number(rec['text1'][18]))
    mode = js['ReleaseMode']
    if mode == 1:
        s['ReleaseDuration'] = 0.25
    else:
        v = leading_number(rec['text1'][13])
        s['ReleaseDuration'] = f32(v / 60) if rec['combo'][4] == 1 else f32(v)
    return s


def same(a, b):
    if isinstance(a, bool) or isinstance(b, bool):
        return a == b
    return f32(float(a)) == f32(float(b))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--batch', default='/work/build-source/bin/zelto-batch')
    ap.add_argument('--count', type=int, default=200)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--dir', default='/tmp/source-cases')
    ap.add_argument('--verbose', action='store_true')
    ap.add_argument('--p-single', action='store_true', help='read the exponent table as singles')
    args = ap.parse_args()
    os.makedirs(args.dir, exist_ok=True)
    outdir = os.path.join(args.dir, 'out')
    os.makedirs(outdir, exist_ok=True)
    r = gen.random.Random(args.seed)
    stats = collections.Counter()
    fields_compared = collections.Counter()
    disagreements = []
    for i in range(args.count):
        kind, rec = gen.scenario(r, i)
        path = os.path.join(args.dir, 'case%04d.ini' % i)
        with open(path, 'wb') as fh:
            fh.write(gen.settings_bytes(rec))
        p = subprocess.run([args.batch, '--json', '--out-dir', outdir, path], capture_output=True)
        if p.returncode == 1:
            disagreements.append((i, kind, 'usage error', p.stderr.decode()))
            continue
        js = json.loads(p.stdout)
        msgs = js['Messages']
        source_msgs = [m for m in msgs if m.startswith('源强') or '蒸发' in m and '计算' in m and '无效' in m
                       or m.startswith('Vossler') or m.startswith('CLEWELL') or m.startswith('SHELL')]
        s = stage_input(js, rec)
        ok, out, info = compute_source(s, p_as_single=args.p_single)
        tag = kind.split(':')[0] + '/' + ('liq' if js['IsLiquid'] else 'gas') + '/m%d' % js['ReleaseMode']
        stats[tag] += 1
        if info.get('model') == 3:
            stats['vossler-row%s-col%s' % (info.get('row'), info.get('col'))] += 1
            stats['vossler-branch-%s' % info.get('branch')] += 1
            stats['ground-%d-%d' % (js['GroundType'], js['GroundMoisture'])] += 1
            stats['day' if js['DayNightFlag'] == 'Y' else 'night'] += 1
            sv = s['VerticalStability']
            if sv == int(sv):
                stats['vossler-s=%g u10%s1' % (sv, '<=' if s['WindSpeed10m'] <= 1 else '>')] += 1
            z0 = s['DispersionRoughness']
            if z0 in (100.0, 35.0, 5.0, f32(99.9), f32(34.99), f32(4.99)):
                stats['vossler-z0=%g' % z0] += 1
        if info.get('capped'):
            stats['capped'] += 1
        if not ok:
            stats['model-fault'] += 1
            if not msgs or js['Ok']:
                disagreements.append((i, kind, 'model faults (%s) but program ok' % info.get('fault'), msgs))
            elif args.verbose:
                print(i, kind, 'both refuse:', info.get('fault'), '|', msgs)
            continue
        if not js['Ok'] and msgs and not any(m.startswith('廓线') for m in msgs):
            # the program refused; is it in our stage?
            if any(k in m for m in msgs for k in ('蒸发', '源强', '液池', 'Vossler', 'SHELL', 'CLEWELL')):
                disagreements.append((i, kind, 'program refuses, model ok', msgs))
                continue
            stats['refused-elsewhere'] += 1
        if js['IsLiquid'] and js['Report']:
            # the report names the model that ran (same three-way choice)
            sentence = {1: 'CLEWELL', 2: 'SHELL', 3: 'Vossler'}[info['model']]
            sentence = '    采用' + sentence + '蒸发模型计算液体的蒸发速率。'
            fields_compared['report model sentence'] += 1
            if sentence not in js['Report']:
                disagreements.append((i, kind, 'report model sentence missing', sentence))
        names = list(OUTS)
        if info.get('model') == 3:
            names += VOSSLER_OUTS
        bad = []
        for n in names:
            if n not in out:
                continue
            fields_compared[n] += 1
            if not same(js[n], out[n]):
                bad.append((n, js[n], out[n]))
        if info.get('model') in (1, 2):
            for n in WORK:
                fields_compared[n] += 1
                if js[n] != 0:
                    bad.append((n, js[n], 0.0))
        if bad:
            disagreements.append((i, kind, 'fields', bad, info.get('iterations'), info.get('branch')))
        elif args.verbose:
            print(i, kind, 'ok', info)
    print('scenarios:', args.count)
    for k in sorted(stats):
        print('  %-28s %d' % (k, stats[k]))
    print('fields compared:', sum(fields_compared.values()))
    print('disagreements:', len(disagreements))
    for d in disagreements[:60]:
        print(' ', d)
    return 1 if disagreements else 0


if __name__ == '__main__':
    sys.exit(main())
