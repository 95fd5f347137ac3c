#!/usr/bin/env python3
"""Routine-level cross-check of the meteorology: random inputs straight into
each routine (including branch edges that settings files cannot reach, such
as H exactly +-1), the C++ through harness.cpp, the Python model alongside.

    fuzz.py --harness BUILD/bin/crosscheck_met_harness [--count N] [--seed S]

Exit status 1 when any case differs.
"""
import argparse
import json
import math
import random
import subprocess
import sys

import metmodel as mm
from metmodel import f32

FLOAT_FIELDS = ['Longitude', 'Latitude', 'TimeDifference', 'SolarElevation', 'CloudTypeFactor',
                'Albedo', 'NetRadiationFactor', 'MoistureFactor', 'AirTempK', 'AirTempC',
                'AirPressure', 'WindSpeed', 'WindHeight', 'Roughness', 'SolarRadiation',
                'SensibleHeatFlux', 'FrictionVelocity', 'MoninObukhovLength',
                'InverseMoninObukhovLength', 'RoughnessProfileTerm', 'WindSpeed10m', 'SigmaTheta',
                'SigmaThetaTime', 'MixingHeight', 'HorizontalStability', 'VerticalStability',
                'ReleaseRate', 'StackHeight', 'StackGasTemperature', 'StackFlowRate',
                'EffectivePlumeHeight', 'BuoyancyFlux', 'PlumeRise', 'FinalRiseDistance',
                'SourceStrength', 'SourceSize', 'AirDensity', 'AirViscosity',
                'AirKinematicViscosity', 'MolecularWeight', 'CriticalTempK', 'CriticalPressure',
                'CriticalVolume', 'VaporPressA', 'VaporPressB', 'VaporPressC', 'LiquidDensityA',
                'LiquidDensityB', 'VaporPressure', 'LiquidDensity', 'VaporDensity']
OTHER = ['CloudCover', 'SigmaThetaFlag', 'DayNightFlag', 'StabilityText', 'IsLiquid']


def base():
    s = {k: 0.0 for k in FLOAT_FIELDS}
    s.update({'CloudCover': 0, 'SigmaThetaFlag': 0, 'DayNightFlag': '', 'StabilityText': '',
              'IsLiquid': False, 'ChemicalName': '', 'LocalDateText': '', 'LocalTimeText': '',
              'Pi': mm.PI, 'DegToRad': mm.DEG, 'ReleaseMode': 0, 'VosslerIndex': 0})
    return s


def F(rng, lo, hi, nd=None):
    v = rng.uniform(lo, hi)
    return f32(round(v, nd) if nd is not None else v)


def gen(rng, stage):
    s = base()
    if stage == 'solar':
        y, m = rng.randrange(2000, 2030), rng.randrange(1, 13)
        d = rng.randrange(1, mm.days_in_month(y, m) + 1)
        s['LocalDateText'] = mm.date_text(y, m, d)
        s['LocalTimeText'] = mm.time_text(rng.randrange(24), rng.randrange(60), rng.randrange(60))
        s['Longitude'] = F(rng, -180, 180, 2)
        s['Latitude'] = F(rng, -89.9, 89.9, 2)
        s['TimeDifference'] = f32(mm.round_half_even(s['Longitude'] / 15, 2)) if rng.random() < 0.7 \
            else F(rng, -12, 12, 2)
    elif stage == 'heat':
        s['DayNightFlag'] = rng.choice(['Y', 'Y', 'Y', 'N'])
        s['SolarElevation'] = rng.choice([F(rng, 0, 90), F(rng, 0, 3), 30.0, 90.0, 1.7365])
        s['CloudCover'] = rng.randrange(11)
        s['CloudTypeFactor'] = f32(rng.choice([0.61, 0.26, 0.17]))
        moist = rng.randrange(3)
        s['AirTempC'] = F(rng, -50, 60, 1)
        s['AirTempK'] = f32(s['AirTempC'] + 273.16)
        if moist == 2 and s['AirTempC'] < 20:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.75), 1.0, 0.0
        elif moist == 0:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.23), f32(0.45), f32(0.25)
        else:
            s['Albedo'], s['MoistureFactor'], s['NetRadiationFactor'] = f32(0.23), 1.0, f32(0.12)
    elif stage in ('ustar', 'ustar+wind10'):
        s['WindSpeed'] = rng.choice([F(rng, 0.5, 20, 1), 0.5, F(rng, 0.5, 1.5, 2)])
        s['WindHeight'] = rng.choice([10.0, F(rng, 1, 100, 1), 1.0, 2.0])
        s['Roughness'] = rng.choice([0.5, 3.0, 10.0, 25.0, 50.0, 100.0, F(rng, 0.5, 100, 1)])
        s['SensibleHeatFlux'] = rng.choice([1.0, -1.0, 0.0, f32(1.0000001), f32(-1.0000001),
                                            F(rng, -40, 0), F(rng, 0, 400), F(rng, -2, 2),
                                            F(rng, 1, 30)])
        s['AirPressure'] = rng.choice([1013.25, F(rng, 700, 1013.25)])
    elif stage == 'wind10':
        s['WindHeight'] = rng.choice([10.0, F(rng, 1, 100, 1)])
        s['WindSpeed'] = F(rng, 0.5, 20, 1)
        s['Roughness'] = F(rng, 0.5, 100, 1)
        s['SensibleHeatFlux'] = rng.choice([1.0, -1.0, F(rng, -40, 0), F(rng, 0, 400)])
        s['FrictionVelocity'] = F(rng, 0.02, 1.5)
        s['MoninObukhovLength'] = rng.choice([F(rng, -2000, -0.5), F(rng, 0.5, 2000), 10.0, f32(10.000001)])
        L = f32(s['MoninObukhovLength'])
        s['RoughnessProfileTerm'] = f32((1 - 15 * f32(s['Roughness']) / (100 * L)) ** 0.25) if L < 0 \
            else F(rng, 1.00001, 1.3)
    elif stage == 'stability':
        s['SigmaThetaFlag'] = rng.choice([1, 2])
        s['SigmaTheta'] = rng.choice([F(rng, 0.1, 60, 1), 12.5, 17.5, 22.5, 27.35, 5.0, 30.0])
        s['SigmaThetaTime'] = rng.choice([60.0, F(rng, 1, 60, 0)])
        s['WindHeight'] = rng.choice([10.0, F(rng, 1, 100, 1)])
        s['InverseMoninObukhovLength'] = rng.choice([f32(1e-15), F(rng, -0.3, 0.3), F(rng, -0.02, 0.02),
                                                     f32(0.015), f32(-0.015), f32(0.0149999)])
        s['Roughness'] = rng.choice([0.5, 3.0, 40.0, 50.0, 100.0, F(rng, 0.5, 100, 1), 0.05])
        s['DayNightFlag'] = rng.choice(['Y', 'N'])
        s['WindSpeed10m'] = rng.choice([F(rng, 0.5, 15, 2), 2.0, 3.0, 2.5])
        s['MixingHeight'] = rng.choice([10000.0, 49.99, 50.0, F(rng, 0, 1000, 0)])
    elif stage == 'plume':
        s['StackHeight'] = F(rng, 1, 200, 0)
        s['MixingHeight'] = rng.choice([10000.0, s['StackHeight'], F(rng, 50, 500, 0)])
        s['ReleaseRate'] = F(rng, 1, 1e6, 0)
        s['AirTempK'] = f32(F(rng, -50, 60, 1) + 273.16)
        s['StackGasTemperature'] = f32(F(rng, -10, 600, 1) + 273.15)
        s['StackFlowRate'] = rng.choice([F(rng, 0.5, 500, 1), 1.0])
        s['HorizontalStability'] = rng.choice([F(rng, 0.5, 6), 4.0, 5.0, 6.0, 3.9999998, 0.5])
        s['WindSpeed10m'] = rng.choice([F(rng, 0.3, 15, 2), 1.0, f32(1.0000001)])
    elif stage == 'vp':
        s['AirTempC'] = F(rng, -50, 60, 1)
        s['AirTempK'] = f32(s['AirTempC'] + 273.16)
        form = rng.randrange(3)
        s['VaporPressA'] = F(rng, 1, 800, 2) if form == 0 else F(rng, 3, 9, 3)
        s['VaporPressB'] = 0.0 if form == 0 else (F(rng, 500, 2000, 1) if form == 1 else F(rng, -3, 3, 2))
        s['VaporPressC'] = F(rng, 150, 260, 1) if form == 1 else 0.0
        s['CriticalTempK'] = F(rng, 350, 700, 1)
        s['CriticalPressure'] = F(rng, 20, 120, 1)
    elif stage == 'ld':
        s['AirTempK'] = f32(F(rng, -50, 60, 1) + 273.16)
        s['ChemicalName'] = rng.choice(['X', 'DIMETHYLHYDRAZINE(UDMH)', 'dimethylhydrazine(udmh) x',
                                        'DIMETHYLHYDRAZINE(UDM', '(UDMH)'])
        s['LiquidDensityA'] = rng.choice([0.0, F(rng, 0.5, 2, 3)])
        s['LiquidDensityB'] = rng.choice([0.0, F(rng, 0.0001, 2, 4)])
        s['CriticalTempK'] = rng.choice([0.0, F(rng, 340, 700, 1)])
        s['CriticalVolume'] = rng.choice([0.0, F(rng, 50, 500, 0)])
        s['MolecularWeight'] = F(rng, 10, 200, 2)
    elif stage == 'vd':
        s['AirTempK'] = f32(F(rng, -50, 60, 1) + 273.16)
        s['VaporPressure'] = rng.choice([0.0, F(rng, 0.001, 3)])
        s['CriticalTempK'] = rng.choice([0.0, F(rng, 340, 700, 1)])
        s['CriticalPressure'] = rng.choice([0.0, F(rng, 20, 120, 1)])
        s['MolecularWeight'] = F(rng, 10, 200, 2)
        s['AirDensity'] = F(rng, 0.0009, 0.0014)
    return s


def model(stage, s):
    s = dict(s)
    ok, msg = True, ''
    if stage == 'solar':
        mm.solar_elevation(s)
    elif stage == 'heat':
        mm.heat_flux(s)
    elif stage in ('ustar', 'ustar+wind10'):
        if 100 * s['WindHeight'] <= s['Roughness']:
            return False, s
        mm.friction_velocity(s)
    elif stage == 'wind10':
        mm.wind10m(s)
    elif stage == 'stability':
        mm.stability(s)
    elif stage == 'plume':
        ok, msg = mm.plume_rise(s)
    elif stage == 'vp':
        mm.vapour_pressure(s)
    elif stage == 'ld':
        mm.liquid_density(s)
    elif stage == 'vd':
        mm.vapour_density(s)
    return ok, s


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--harness', required=True)
    ap.add_argument('--count', type=int, default=2000)
    ap.add_argument('--seed', type=int, default=1)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    stages = ['solar', 'heat', 'ustar', 'wind10', 'stability', 'plume', 'vp', 'ld', 'vd']
    cases = []
    for i in range(args.count):
        st = stages[i % len(stages)]
        s = gen(rng, st)
        for k in FLOAT_FIELDS:
            s[k] = f32(s[k])
        cases.append((st, s))
    feed = '\n'.join(json.dumps(dict(s, stage=st)) for st, s in cases) + '\n'
    p = subprocess.run([args.harness], input=feed.encode(), capture_output=True, check=True)
    outs = [json.loads(l) for l in p.stdout.decode().splitlines()]
    bad = {}
    refused = {}
    for (st, s), out in zip(cases, outs):
        try:
            ok, ms = model(st, s)
        except (ValueError, ZeroDivisionError, TypeError, OverflowError):
            ok, ms = False, s
        if not out['Ok'] or not ok:
            refused[st] = refused.get(st, 0) + 1
            if out['Ok'] != ok:
                bad.setdefault(st, []).append(('Ok', ok, out['Ok'], out['Message']))
            continue
        for k in FLOAT_FIELDS + OTHER:
            a, b = ms.get(k), out.get(k)
            if isinstance(a, float) or isinstance(b, float):
                same = (a == b) or (a != a and b != b) or f32(float(a)) == f32(float(b))
            else:
                same = a == b
            if not same:
                bad.setdefault(st, []).append((k, a, b, {x: s[x] for x in s if s[x] not in (0, 0.0, '')}))
    print('cases %d, refused (either side) %s' % (len(cases), refused))
    for st, l in bad.items():
        print(st, len(l))
        for x in l[:5]:
            print('   ', x)
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
