#!/usr/bin/env python3
"""Branch coverage of the scenario set in the model (which branches of the
meteorology and input preparation the scenarios reach)."""
import collections
import glob
import json
import sys

import metmodel
from metmodel import Model


def classify(m):
    s = m.s
    out = []
    if '_met_ran' not in s:
        return ['met not reached']
    H = s.get('SensibleHeatFlux', 0)
    out.append('day' if s['DayNightFlag'] == 'Y' else 'night')
    out.append('neutral' if abs(H) <= 1 else ('stable' if H < -1 else 'unstable'))
    if s.get('_ustar_steps', 0) >= metmodel.MAX_STEPS:
        out.append('u* step bound')
    out.append('sigma-theta' if s['SigmaThetaFlag'] == 2 else 'no sigma-theta')
    if s['SigmaThetaFlag'] == 2 and s['DayNightFlag'] != 'Y':
        out.append('night sigma V=%s' % ('H' if s.get('VerticalStability') == s.get('HorizontalStability') else 'wind rule'))
    if s['InversionBase'] < 50:
        out.append('mixing < 50')
    out.append('WindHeight==10' if s['WindHeight'] == 10 else 'WindHeight!=10')
    if s['ReleaseMode'] == 3 and 'BuoyancyFlux' in s and 'HorizontalStability' in s:
        F = s['BuoyancyFlux']
        k = int(s['HorizontalStability'] + 1)
        out.append('stack F<=0' if F <= 0 else 'stack k=%d%s%s' % (k, ' F>=55' if F >= 55 else '',
                                                                  ' calm' if k >= 5 and s['WindSpeed10m'] <= 1 else ''))
    if s['IsLiquid'] or s.get('VaporPressure', 0):
        out.append('liquid VP A=%s B=%s C=%s' % (s['VaporPressA'] > 0, s['VaporPressB'] != 0, s['VaporPressC'] != 0))
    if s['VosslerIndex'] >= 1:
        out.append('vossler set, liquid=%s' % s['IsLiquid'])
    out.append('chem %s' % s['ChemicalName'][:20])
    return out


def main():
    c = collections.Counter()
    for scj in sorted(glob.glob(sys.argv[1] + '/*.json')):
        sc = json.load(open(scj))
        m = Model(sc)
        m.prepare_inputs()
        m.messages = []
        m.prepare_inputs()
        for k in classify(m):
            c[k] += 1
    for k, v in sorted(c.items()):
        print('%6d  %s' % (v, k))


if __name__ == '__main__':
    main()
