#!/usr/bin/env python3
"""Runs zelto-batch --json on settings files and compares every dispersion
output with disp_model.py.

usage: compare.py [--bin PATH] [--double] [--int-step] [-v] FILE.ini ...

Exit status 1 when any scenario differs.
"""
import json
import os
import subprocess
import sys
import tempfile

import disp_model as dm

SCALARS = ['MaxConcentration', 'MaxConcentrationX', 'HazardDistance', 'HazardTime', 'ZoneLength',
           'ZoneAngle', 'Concentration', 'SigmaX', 'SigmaY', 'SigmaZ', 'SigmaDistance', 'PuffAge',
           'PuffMass', 'PuffConcentration', 'ReceptorX', 'ReceptorY', 'ReceptorHeight',
           'PredictionTime', 'AveragingTime', 'MixingHeight', 'ResultKind', 'HazardLimitReached']
LISTS = ['ContourPointCount', 'MaxHalfWidth', 'MaxHalfWidthX']
TABLES = ['ContourX', 'ContourHalfWidth', 'ContourAxisConc']


def same(a, b):
    if isinstance(a, float) or isinstance(b, float):
        return dm.f32(a) == dm.f32(b)
    return a == b


def compare(path, binary, opts, verbose=False):
    out = tempfile.mkdtemp(prefix='disp-')
    r = subprocess.run([binary, '--json', '--out-dir', out, path], capture_output=True)
    try:
        j = json.loads(r.stdout.decode('utf-8'))
    except Exception:
        return ['no JSON (exit %d): %s' % (r.returncode, r.stderr.decode('utf-8', 'replace')[:200])], None
    if j.get('ResultKind', 0) == 0:
        return ['SKIP (refused before dispersion: %s)' % j['Messages']], None
    m, ok, msg = dm.run_all(j, opts)
    diffs = []
    if bool(j['Ok']) != ok and not (ok and not j['Ok'] and j['Messages']):
        diffs.append('Ok: prog %s model %s (%s / %s)' % (j['Ok'], ok, j['Messages'], msg))
    if not ok:
        if msg not in j['Messages']:
            diffs.append('message: prog %s model %s' % (j['Messages'], msg))
    else:
        if j['ResultSummary'] != msg:
            diffs.append('ResultSummary: prog %r model %r' % (j['ResultSummary'], msg))
    for k in SCALARS:
        a, b = j.get(k), getattr(m, k)
        if not same(a, b):
            diffs.append('%s: prog %r model %r' % (k, a, b))
    n = m.ThresholdCount
    for k in LISTS:
        a = j.get(k) or []
        b = getattr(m, k)[1:]
        if len(a) != len(b) or any(not same(x, y) for x, y in zip(a, b)):
            diffs.append('%s: prog %r model %r' % (k, a, b))
    for k in TABLES:
        a = j.get(k) or []
        b = getattr(m, k)[1:]
        a = [row for row in a]
        if len(a) != len(b):
            if not (all(len(r) == 0 for r in a) and all(len(r) == 0 for r in b)):
                diffs.append('%s: rows prog %d model %d' % (k, len(a), len(b)))
            continue
        for t, (ra, rb) in enumerate(zip(a, b), 1):
            if len(ra) != len(rb) or any(not same(x, y) for x, y in zip(ra, rb)):
                idx = next((i for i, (x, y) in enumerate(zip(ra, rb)) if not same(x, y)), min(len(ra), len(rb)))
                diffs.append('%s[%d]: len %d/%d first diff at %d: prog %r model %r' % (
                    k, t, len(ra), len(rb), idx + 1, ra[idx:idx + 3], rb[idx:idx + 3]))
    pa = j.get('Points') or []
    for i, row in enumerate(pa, 1):
        if not same(row[4], m.Points[i][4]):
            diffs.append('Points[%d].C: prog %r model %r' % (i, row[4], m.Points[i][4]))
    # contour text and file
    cf = os.path.join(out, 'CONCXY.DAT')
    if m.ContourText:
        if j.get('ContourText') != m.ContourText:
            diffs.append('ContourText differs')
        data = open(cf, 'rb').read() if os.path.exists(cf) else None
        if data != m.ContourText.encode('gbk'):
            diffs.append('CONCXY.DAT bytes differ (exists %s)' % (data is not None))
    else:
        if os.path.exists(cf):
            diffs.append('CONCXY.DAT written although no contour')
        if j.get('ContourText'):
            diffs.append('ContourText not empty although no contour')
    for fn in os.listdir(out):
        os.remove(os.path.join(out, fn))
    os.rmdir(out)
    return diffs, (j, m)


def main():
    args = sys.argv[1:]
    binary = '/work/build-disp/bin/zelto-batch'
    # only the first upwind step of the isopleth search is a whole number; a
    # halved step keeps its half (--int-step rounds it half to even instead)
    opts = {'int_step': False}
    verbose = False
    files = []
    while args:
        a = args.pop(0)
        if a == '--bin':
            binary = args.pop(0)
        elif a == '--double':
            dm.INTERMEDIATE_SINGLE = False
        elif a == '--int-step':
            opts['int_step'] = True
        elif a == '-v':
            verbose = True
        else:
            files.append(a)
    bad = 0
    import collections
    cover = collections.Counter()
    for f in files:
        diffs, info = compare(f, binary, opts, verbose)
        status = 'OK ' if not diffs else 'SKP' if diffs[0].startswith('SKIP') else 'BAD'
        extra = ''
        if info:
            j, m = info
            extra = 'Ok=%s evals=%d' % (j['Ok'], m.evals)
        if info:
            cover.update(k for k, v in info[1].hits.items() if v)
        print('%s %s %s' % (status, os.path.basename(f), extra), flush=True)
        for d in diffs[:12 if not verbose else 1000]:
            print('     ' + d)
        bad += bool(diffs) and status == 'BAD'
    print('branches (scenarios):', dict(cover))
    print('%d of %d scenarios differ' % (bad, len(files)))
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
