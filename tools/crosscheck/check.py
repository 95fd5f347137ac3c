#!/usr/bin/env python3
"""Runs one model's fixed set of cross-check scenarios through the Python model
and the program; the ctest label crosscheck runs one suite per model.

usage: check.py SUITE --batch ZELTO_BATCH [--met-harness PATH] [--source-harness PATH]
       SUITE: met, source, ui, dispersion or all

The scenarios are fixed (seeded generators and the hand-made limit cases) and
few, so that a suite takes seconds. Exit status 1 when any model and the
program differ, or a step cannot run.
"""
import argparse
import glob
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# hand-made dispersion limit cases (dispersion/targeted.py); lid_mixed and
# timed_far2 are left out: their long puff sums take the model many seconds
DISPERSION_CASES = [
    'inst_far', 'inst_far2', 'timed_far', 'timed_never', 'timed_never2', 'lid_mixed2', 'lid_inst',
    'at_height', 'at_height_cont', 'cont_lid', 'cont_lid_day', 'stack_over', 'receptor_over',
    'receptor_at_lid', 'above_lid_both', 'above_lid_at', 'above_lid_inside', 'many_thr',
    'many_thr_ppm', 'sigma_theta', 'sigma_theta2', 'after_end', 'after_end_10000', 'seconds']


def step(suite, script, args):
    """Runs tools/crosscheck/SUITE/SCRIPT with args; True when it exits with 0."""
    cmd = [sys.executable, os.path.join(HERE, suite, script)] + [str(a) for a in args]
    start = time.monotonic()
    # no byte-code caches in the source tree
    env = dict(os.environ, PYTHONDONTWRITEBYTECODE='1')
    p = subprocess.run(cmd, cwd=os.path.join(HERE, suite), env=env, capture_output=True)
    out = (p.stdout + p.stderr).decode('utf-8', 'replace').rstrip()
    ok = p.returncode == 0
    print('%s %s/%s (%.1f s)' % ('ok  ' if ok else 'FAIL', suite, script, time.monotonic() - start))
    lines = out.splitlines()
    # the summary at the end on success, everything on a failure
    for line in (lines if not ok else lines[-3:]):
        print('     ' + line)
    return ok


def harness_step(suite, path, args):
    """The routine-level run through the harness, when one is given."""
    if not path:
        print('skip %s/fuzz.py (no harness given)' % suite)
        return True
    return step(suite, 'fuzz.py', ['--harness', os.path.abspath(path)] + args)


def check_met(a, work):
    d = os.path.join(work, 'met')
    return (step('met', 'gen.py', [d, 40, 1])
            and step('met', 'compare.py', [a.batch, d, '-v'])) \
        & harness_step('met', a.met_harness, ['--count', 450, '--seed', 1])


def check_source(a, work):
    d = os.path.join(work, 'source')
    return step('source', 'run.py', ['--batch', a.batch, '--count', 40, '--seed', 21, '--dir', d]) \
        & harness_step('source', a.source_harness, ['--count', 1000, '--seed', 31])


def check_ui(a, work):
    out = os.path.join(work, 'ui-out')
    edge = os.path.join(work, 'ui-edge')
    os.makedirs(edge)
    common = ['--batch', a.batch, '--outdir', out]
    ok = step('ui', 'compare.py', common + ['--n', 30, '--seed', 1, '--pbad', 0.005, '--text'])
    ok &= step('ui', 'compare.py', common + ['--n', 15, '--seed', 101, '--pbad', 0.005, '--malform'])
    if step('ui', 'edge_cases.py', [edge]):
        ok &= step('ui', 'compare.py', common + ['--text', '--files'] + sorted(glob.glob(os.path.join(edge, '*.ini'))))
    else:
        ok = False
    return ok


def check_dispersion(a, work):
    t = os.path.join(work, 'disp-targeted')
    g = os.path.join(work, 'disp-random')
    if not (step('dispersion', 'targeted.py', [t] + DISPERSION_CASES)
            and step('dispersion', 'gen_scenarios.py', [g, 12, 1, 0.3])):
        return False
    files = sorted(glob.glob(os.path.join(t, '*.ini'))) + sorted(glob.glob(os.path.join(g, '*.ini')))
    return step('dispersion', 'compare.py', ['--bin', a.batch] + files)


SUITES = {'met': check_met, 'source': check_source, 'ui': check_ui, 'dispersion': check_dispersion}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('suite', choices=sorted(SUITES) + ['all'])
    ap.add_argument('--batch', required=True)
    ap.add_argument('--met-harness')
    ap.add_argument('--source-harness')
    a = ap.parse_args()
    a.batch = os.path.abspath(a.batch)
    names = sorted(SUITES) if a.suite == 'all' else [a.suite]
    ok = True
    with tempfile.TemporaryDirectory(prefix='crosscheck-') as work:
        for name in names:
            ok &= SUITES[name](a, work)
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
