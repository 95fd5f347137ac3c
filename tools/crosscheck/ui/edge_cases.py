"""Hand-made scenarios for branches random files rarely reach: the 64000
cut with many thresholds, more than 100 thresholds, many points with long
numbers, ppm thresholds, odd point lists."""
import copy
import os
import sys

import gen

BASE = dict(boxes=["121.47E", "31.23N", "2023/07/15", "23:00:00", "5", "90", "10", "0", "2.0", "15", "20",
                   "0", "10000", "10000", "70.9", "0", "50", "10", "20", "1.5", "100", "10", "10", "10000",
                   "1.5", "2"],
            rough="3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物", lists=[2, 0, 1, 1, 0, 0, 0, 0], check=0,
            text2="100,0,1.5,10", text3="计算结果\r\n", gen='', voss='', name='未定义化学物质', vidx=0)


def make():
    out = {}
    sc = copy.deepcopy(BASE)
    sc['boxes'][25] = ','.join('%g' % (10 ** (-2 + 5 * k / 99.0)) for k in range(100))
    out['cut100'] = sc
    sc = copy.deepcopy(BASE)
    sc['boxes'][25] = ','.join('%g' % (0.5 + k) for k in range(130))
    out['over100'] = sc
    sc = copy.deepcopy(BASE)
    sc['boxes'][25] = '1/2/3/4/5/6/7/8/9/10/20/30/40/50/60/70/80/90/100/200/300/400/500'
    sc['lists'][7] = 1
    out['ppm'] = sc
    sc = copy.deepcopy(BASE)
    sc['check'] = 1
    sc['text2'] = '\r\n'.join(['12345678,-0.3,1.5,10', '99999.5,-12345678,0.5,0.004', '10,0,0,10000',
                               '1e6,1e6,1e3,1e4', '250,-30,1.5,10,7', '  ', '\t', '1,2,3,4,5,6,7'] +
                              ['%d,%d,2,%d' % (100 * k, 3 * k - 50, k) for k in range(1, 40)])
    out['points'] = sc
    sc = copy.deepcopy(BASE)
    sc['boxes'][3] = '12:00:00'
    sc['boxes'][11] = '5'
    sc['boxes'][25] = '0.001,0.002'
    sc['boxes'][8] = '1'
    out['far'] = sc
    sc = copy.deepcopy(BASE)
    sc['boxes'][25] = '5  7\t8'
    out['blanksep'] = sc
    sc = copy.deepcopy(BASE)
    sc['boxes'][25] = '3,1e39,1e-50,4,abc,-2,0.5D1,1e-40'
    out['oddthr'] = sc
    return out


if __name__ == '__main__':
    d = sys.argv[1]
    for k, sc in make().items():
        open(os.path.join(d, k + '.ini'), 'wb').write(gen.to_bytes(sc))
