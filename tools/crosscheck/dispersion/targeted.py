#!/usr/bin/env python3
"""Hand-made settings files for the limits of the dispersion stage.
usage: targeted.py OUTDIR [NAME ...]   (all cases when no name is given)"""
import os
import sys

import gen_scenarios as g

BASE = {1: "121.47E", 2: "31.23N", 3: "2023/07/15", 4: "14:00:00", 5: "5", 6: "90", 7: "10",
        8: "0", 9: "3.0", 10: "15", 11: "30", 12: "3", 13: "10000", 14: "30", 15: "70.9",
        16: "0", 17: "10", 18: "10", 19: "20", 20: "1.5", 21: "100", 22: "10", 23: "10",
        24: "30", 25: "1.5", 26: "3,30,90", 27: g.ROUGH[1], 28: 2, 29: 0, 30: 1, 31: 1,
        32: 0, 33: 0, 34: 0, 35: 0, 36: 0, 37: "100,0,1.5,10", 38: "计算结果\r\n", 39: "",
        40: "", 41: ("未定义化学物质", 0)}

NIGHT = {4: "02:00:00", 12: "0"}
INST = {31: 0, 14: "15", 23: "1"}

def mix(*parts):
    out = {}
    for p in parts:
        out.update(p)
    return out


CASES = {
    # instantaneous cloud still above the smallest threshold at 100 km
    'inst_far': mix(NIGHT, INST, {17: "50000", 9: "12", 26: "0.001,1"}),
    'inst_far2': mix(NIGHT, INST, {17: "5000", 9: "6", 26: "0.01,0.5,20"}),
    # timed release whose axis stays above the smallest threshold beyond 100 km
    'timed_far': mix(NIGHT, {17: "3000", 14: "10", 24: "10", 9: "12", 26: "0.001,1"}),
    'timed_far2': mix(NIGHT, {17: "300", 14: "45", 24: "60", 9: "6", 26: "0.01,2"}),
    # elevated short release: nothing at the ground at the end of the release
    'timed_never': mix(NIGHT, {20: "100", 25: "0", 14: "2", 23: "1", 24: "60", 9: "2",
                                  17: "100", 26: "1e-6,1e-4"}),
    'timed_never2': mix(NIGHT, {20: "60", 25: "0", 14: "1", 23: "1", 24: "40", 9: "3",
                                   17: "50", 26: "1e-5"}),
    # low lid by day: reflections and the well-mixed limit
    'lid_mixed': mix({13: "50", 24: "200", 14: "10", 9: "1", 12: "0", 17: "100",
                         26: "0.01,0.1,1", 36: 1, 37: "3000,0,1.5,200\r\n8000,0,30,200\r\n500,20,49,30"}),
    'lid_mixed2': mix({13: "30", 24: "120", 14: "5", 9: "0.5", 12: "0", 17: "10", 23: "5",
                          26: "0.05,0.5"}),
    'lid_inst': mix(INST, {13: "100", 24: "60", 9: "1", 12: "0", 17: "500", 26: "0.1,1,10"}),
    # receptor at the release height during the release
    'at_height': mix({20: "10", 25: "10", 14: "60", 24: "30", 26: "1,10,100"}),
    'at_height_cont': mix({20: "5", 25: "5", 14: "10000", 26: "0.5,5"}),
    # continuous steady state under a lid
    'cont_lid': mix(NIGHT, {13: "150", 14: "10000", 9: "1.5", 26: "1,10,100", 36: 1,
                               37: "100,0,2,0\r\n1000,30,2,10000\r\n200,0,200,5"}),
    'cont_lid_day': mix({13: "300", 14: "10000", 9: "2", 12: "0", 26: "0.5,5,50"}),
    # stack above the lid, receptor above the lid (lid removed for the run)
    'stack_over': mix({31: 2, 20: "60", 13: "80", 25: "100", 14: "30", 4: "06:00:00",
                          26: "0.01,0.1"}),
    # receptor above the lid with the release below it
    'receptor_over': mix({13: "100", 25: "150", 26: "1"}),
    'receptor_at_lid': mix({13: "100", 25: "100", 26: "1,10", 36: 1,
                               37: "500,0,100,30\r\n500,0,120,30\r\n500,0,0,30"}),
    # release above the lid: receptor above it too (lid removed for the run),
    # exactly at it, or inside the layer (refused)
    'above_lid_both': mix({20: "100", 13: "80", 25: "90", 14: "20", 24: "20", 26: "0.1,1",
                           36: 1, 37: "500,0,2,20\r\n1000,0,85,20\r\n2000,10,80,20"}),
    'above_lid_at': mix({20: "100", 13: "80", 25: "80", 14: "20", 24: "20", 26: "0.1,1"}),
    'above_lid_inside': mix({20: "100", 13: "80", 25: "2", 14: "20", 24: "20", 26: "0.1,1"}),
    # many thresholds
    'many_thr': mix({26: ",".join(str(round(0.01 * 1.3 ** k, 5)) for k in range(40))}),
    'many_thr_ppm': mix(NIGHT, {35: 1, 26: ",".join(str(2 ** k) for k in range(20)),
                                   14: "60", 24: "90", 13: "300"}),
    # light wind, sigma-theta given
    'sigma_theta': mix({8: "25", 10: "10", 9: "1.5", 26: "1,10", 14: "120", 24: "120"}),
    'sigma_theta2': mix({8: "40", 10: "15", 9: "6", 26: "1,10", 14: "120", 24: "60",
                            27: g.ROUGH[5]}),
    # observed long after a short release
    'after_end': mix({14: "5", 23: "5", 24: "60", 26: "0.1,1,10"}),
    'after_end_10000': mix({14: "5", 23: "5", 24: "10000", 26: "1e-9"}),
    'seconds': mix({14: "90", 32: 1, 23: "1", 24: "5", 26: "1,100"}),
}


def main():
    out = sys.argv[1]
    names = sys.argv[2:] or list(CASES)
    os.makedirs(out, exist_ok=True)
    for name in names:
        rec = dict(BASE)
        rec.update(CASES[name])
        g.write(rec, os.path.join(out, name + '.ini'))


if __name__ == '__main__':
    main()
