#!/usr/bin/env python3
"""Run scenarios through zelto-batch --json and compare every field written by
input preparation and the meteorology pass with the independent model.

    python3 compare.py BATCH_EXE SCENARIO_DIR [-v]

Exit status 1 when any scenario differs.
"""
import glob
import json
import os
import subprocess
import sys
import tempfile

from metmodel import Model, f32

SOURCE_MARKERS = ["蒸发", "液池", "稳定度参数超出", "气温（K）", "饱和压力"]

SCALARS = [
    'Longitude', 'Latitude', 'ReleaseDate', 'ReleaseTime', 'GroundElevation', 'WindDirection',
    'WindHeight', 'SigmaTheta', 'SigmaThetaFlag', 'SigmaThetaTime', 'WindSpeed', 'AirTempC',
    'AirTempK', 'CloudCover', 'InversionBase', 'MixingHeight', 'LocalDateText', 'LocalTimeText',
    'TimeDifference', 'DayNightFlag', 'SolarElevation', 'Roughness', 'DispersionRoughness',
    'GroundType', 'GroundMoisture', 'CloudType', 'CloudTypeFactor', 'Albedo', 'MoistureFactor',
    'NetRadiationFactor', 'AirPressure', 'SolarRadiation', 'SensibleHeatFlux', 'FrictionVelocity',
    'MoninObukhovLength', 'InverseMoninObukhovLength', 'RoughnessProfileTerm', 'WindSpeed10m',
    'HorizontalStability', 'VerticalStability', 'StabilityText', 'AirDensity', 'AirViscosity',
    'AirKinematicViscosity', 'ChemicalIndex', 'ChemicalName', 'MolecularWeight', 'VaporPressA',
    'VosslerIndex', 'VaporPressure', 'LiquidDensity', 'VaporDensity', 'PpmFactor', 'ReleaseMode',
    'ReleaseDuration', 'ReleaseRate', 'ReleaseMass', 'IsLiquid', 'PoolArea', 'PoolTemperature',
    'StackHeight', 'StackGasTemperature', 'StackFlowRate', 'EffectivePlumeHeight', 'BuoyancyFlux',
    'PlumeRise', 'FinalRiseDistance', 'SourceStrength', 'SourceSize', 'AveragingTime',
    'PredictionTime', 'ReceptorHeight', 'ThresholdText', 'ThresholdCount', 'PointCount',
    'PointText', 'BoilingPointK', 'CriticalTempK', 'TwaPpm', 'TwaMg', 'StelPpm', 'StelMg',
]


def same(a, b):
    if isinstance(a, bool) or isinstance(b, bool):
        return bool(a) == bool(b)
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        return f32(float(a)) == f32(float(b))
    return a == b


def run_one(exe, ini, scj, outdir, verbose=False):
    sc = json.load(open(scj))
    r = subprocess.run([exe, '--json', '--out-dir', outdir, ini], capture_output=True)
    js = json.loads(r.stdout.decode('utf-8', 'replace'))
    jmsgs = js['Messages']
    src_fail = [m for m in jmsgs if any(k in m for k in SOURCE_MARKERS) and not m.startswith('泄漏(或液体蒸发')]

    def hook(model):
        if src_fail:
            model.messages.append(src_fail[0])
            return False
        if model.s['IsLiquid']:
            model.s['ReleaseDuration'] = f32(js['ReleaseDuration'])
        return True
    sc['_source_hook'] = hook
    m = Model(sc)
    m.prepare_inputs()
    pass1 = dict(m.s)
    m.messages = []
    ok = m.prepare_inputs()
    s = m.s
    diffs = []
    if ok:
        if s['ReleaseDuration'] == 10000:
            s['PredictionTime'] = 10000.0
    else:
        if js['Ok']:
            diffs.append(('Ok', False, True))
        if m.messages[:1] != jmsgs[:1]:
            diffs.append(('Messages', m.messages[:1], jmsgs[:1]))
    liquid_vossler = s['IsLiquid'] and s['VosslerIndex'] >= 1
    checked = 0
    for k in SCALARS:
        if k not in s:
            continue
        if k in ('VaporDensity', 'PoolTemperature') and liquid_vossler:
            continue
        if k in ('SourceStrength', 'SourceSize') and (s['ReleaseMode'] != 3 or ok):
            continue
        checked += 1
        if not same(s[k], js[k]):
            diffs.append((k, s[k], js[k]))
    if 'Thresholds' in s:
        checked += 1
        if len(s['Thresholds']) != len(js['Thresholds']) or not all(
                same(a, b) for a, b in zip(s['Thresholds'], js['Thresholds'])):
            diffs.append(('Thresholds', s['Thresholds'], js['Thresholds']))
    if s.get('PointCount', 0) > 0 or js['PointCount'] > 0:
        checked += 1
        jp = [row[:4] for row in js['Points']]
        mp = [row[:4] for row in s['Points']]
        if len(jp) != len(mp) or not all(same(a, b) for r1, r2 in zip(mp, jp) for a, b in zip(r1, r2)):
            diffs.append(('Points', mp, jp))
    return diffs, checked, ok, js, m


def main():
    exe, d = sys.argv[1], sys.argv[2]
    verbose = '-v' in sys.argv
    outdir = tempfile.mkdtemp(prefix='met-out-')
    n = bad = 0
    tally = {}
    fields = 0
    oks = 0
    for ini in sorted(glob.glob(os.path.join(d, '*.ini'))):
        scj = ini[:-4] + '.json'
        diffs, checked, ok, js, m = run_one(exe, ini, scj, outdir, verbose)
        n += 1
        fields += checked
        oks += ok
        if diffs:
            bad += 1
            for k, a, b in diffs:
                tally[k] = tally.get(k, 0) + 1
            if verbose:
                print(os.path.basename(ini), diffs[:8])
    print('scenarios %d, with differences %d, fields compared %d, prepared ok %d' % (n, bad, fields, oks))
    for k, v in sorted(tally.items(), key=lambda x: -x[1]):
        print('  %-28s %d' % (k, v))
    for fn in os.listdir(outdir):
        os.remove(os.path.join(outdir, fn))
    os.rmdir(outdir)
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
