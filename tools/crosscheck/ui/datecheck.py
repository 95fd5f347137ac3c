"""Date and time box texts through the program, against the model parser.

usage: datecheck.py [BATCH]; exit status 1 when any form differs."""
import copy
import json
import os
import subprocess
import sys
import tempfile

import gen
import edge_cases
import zconv as z

DATES = ["2017/1/5", "2017-01-05", "2017.1.5", "2017/1/5 8:05", "2017/1/5 8:05:07", "17/1/5", "2017/1/5/",
         "2017/01/05 25:00", "  2017/1/5  ", "2017/1-5", "2017/1/5 8", "0001/01/01", "9999/12/31",
         "10000/1/1", "2017年1月5日", "1/5/2017", "2017/1/5T08:05", "2017/1/5  8:05", "2000/2/29",
         "1900/2/29", "2017/02/29", "2017/4/31", "2017/0/1", "2017/1/0", "2017//1", "2017/001/05",
         "2017/1/005", "02017/1/5", "0/1/1", "2017/1/5 08:05:60", "2017/1/5 23:59:59", "+2017/1/5",
         "2017/ 1/5", "2017/1/5\t8:05", "12:30", "2017/1/5 8:05 PM", "１２"]
TIMES = ["8:05", "08:05:00", "8:5", "8:05:07.5", "08:05 PM", "24:00", "23:59:59", "0:0:0", "2017/1/5 8:05",
         "2017/1/5", "12:60", "12:30:30 ", " 12:30:30", "1:2:3", "001:02:03", "12:030", "12:30:", ":30",
         "12", "12.30.30", "-1:00", "+1:00", "2017-1-5 23:59", "12：30：30"]


def main(batch):
    bad = 0
    work = tempfile.mkdtemp(prefix='ui-date-')
    path = os.path.join(work, 'date.ini')
    for i, (dt, tt) in enumerate([(d, '12:00:00') for d in DATES] + [('2017/06/01', t) for t in TIMES]):
        sc = copy.deepcopy(edge_cases.BASE)
        sc['boxes'][2], sc['boxes'][3] = dt, tt
        with open(path, 'wb') as f:
            f.write(gen.to_bytes(sc))
        js = json.loads(subprocess.run([batch, '--json', '--out-dir', work, path], capture_output=True).stdout)
        pd = z.parse_datetime(dt.strip(' '))
        pt = z.parse_datetime(tt.strip(' '))
        md = z.date_text(*pd['date']) if pd and pd['date'] else None
        mt = z.time_text(*pt['time']) if pt and pt['time'] else None
        exp_msg = None if md else "日期格式：YYYY/MM/DD"
        if md and not mt:
            exp_msg = "时间格式: HH:MM:SS"
        got_msg = js['Messages'][0] if js['Messages'] else None
        if got_msg not in ("日期格式：YYYY/MM/DD", "时间格式: HH:MM:SS"):
            got_msg = None
        prog = (js['ReleaseDate'] if got_msg is None or 'HH' in got_msg else None,
                js['ReleaseTime'] if got_msg is None else None)
        mine = (md, mt if md else None)
        flag = '' if (exp_msg == got_msg and (exp_msg or prog == mine)) else '  <-- differs'
        bad += bool(flag)
        print('%-22r %-16r model %-28r program %-28r%s' % (dt, tt, (exp_msg or mine), (got_msg or prog), flag))
    print('differences', bad)
    for fn in os.listdir(work):
        os.remove(os.path.join(work, fn))
    os.rmdir(work)
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else '/work/build-ui/bin/zelto-batch'))
