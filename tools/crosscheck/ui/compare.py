"""Run settings files through zelto-batch --json and compare the window
fields, messages, exit status and report with the independent model.

usage: compare.py [--batch PATH] [--n N] [--seed S] [--files f.ini ...] [--outdir DIR]

Exit status 1 when any scenario differs.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen  # noqa: E402
import model  # noqa: E402
import report  # noqa: E402
from zconv import f32  # noqa: E402

KNOWN_WINDOW_MSGS = {"日期格式：YYYY/MM/DD", "时间格式: HH:MM:SS", "不能小于1m!", "不能大于180 度!",
                     "有效范围[1,60]!", "有效范围[-50,60]!", "有效范围[0,10]!", "无效!", "无效!最小为1",
                     "不可小于 1 min!", "非瞬时泄漏，泄漏时长必须大于15s!", "廓线的阈值无效!", model.POINT_MSG,
                     "输入无效：" + model.LABEL_0_1,
                     "阈值单位为ppm时，须输入大于0的物质分子量，才能换算为mg/m3!"}

ALWAYS = ['Longitude', 'Latitude', 'ReleaseDate', 'ReleaseTime', 'GroundElevation', 'WindDirection',
          'WindHeight', 'SigmaTheta', 'SigmaThetaFlag', 'SigmaThetaTime', 'WindSpeed', 'AirTempC',
          'AirTempK', 'CloudCover', 'InversionBase', 'LocalDateText', 'LocalTimeText', 'TimeDifference',
          'Roughness', 'GroundType', 'GroundMoisture', 'CloudType', 'CloudTypeFactor', 'Albedo',
          'MoistureFactor', 'NetRadiationFactor', 'AirPressure', 'ReleaseMode', 'ChemicalIndex',
          'ChemicalName', 'TwaPpm', 'TwaMg', 'StelPpm', 'StelMg', 'MolecularWeight', 'BoilingPointK',
          'CriticalTempK', 'CriticalPressure', 'CriticalVolume', 'VaporPressB', 'VaporPressC',
          'LiquidDensityA', 'LiquidDensityB', 'MolecularDiameter', 'InteractionEnergy', 'VosslerIndex',
          'ReleaseRate', 'ReleaseMass', 'PpmFactor', 'StackHeight', 'StackFlowRate', 'AveragingTime',
          'PredictionTime', 'ReceptorHeight', 'ThresholdText', 'ThresholdCount', 'PointCount', 'PointText',
          'GeneralParamText', 'VosslerParamText', 'ChemicalCount', 'VosslerSetCount', 'VaporPressA',
          'PoolArea'] + model.VOSS_FIELDS


def norm(v):
    if isinstance(v, bool):
        return v
    if isinstance(v, float):
        return f32(v)
    if isinstance(v, list):
        return [norm(x) for x in v]
    if isinstance(v, dict):
        return {k: norm(x) for k, x in v.items()}
    return v


def run_batch(batch, path, outdir, json_mode=True):
    # The model knows the chemical list of a start without the substance
    # library: a library file that does not exist leaves exactly that list.
    no_library = os.path.join(outdir, 'no-substance-library.DAT')
    args = [batch] + (['--json'] if json_mode else []) + ['--library', no_library,
                                                           '--out-dir', outdir, path]
    p = subprocess.run(args, capture_output=True, timeout=600)
    return p.returncode, p.stdout, p.stderr


def text_mode_messages(js):
    """Standard error of the text mode: each message on one line (line breaks
    become blanks); after a refusal each is followed by the label of the
    refused input in full-width brackets, unless the message is the one made
    for a refusal without message, which names the input already."""
    msgs = js['Messages']
    focus = js.get('Focus')
    silent = len(msgs) == 1 and msgs[0].startswith('输入无效')
    suffix = ''
    if not js['Ok'] and focus and focus.get('Label') and not silent:
        suffix = '（' + focus['Label'] + '）'
    one_line = [m.replace('\r\n', ' ').replace('\r', ' ').replace('\n', ' ') for m in msgs]
    return ''.join(m + suffix + '\n' for m in one_line)


def check_one(batch, raw, outdir, tag, problems, also_text=False):
    with tempfile.NamedTemporaryFile(suffix='.ini', delete=False) as f:
        f.write(raw)
        path = f.name
    rc, out, err = run_batch(batch, path, outdir)
    try:
        js = json.loads(out.decode('utf-8'))
    except Exception as e:  # noqa: BLE001
        problems.append((tag, 'json', 'cannot parse: %s rc=%d err=%s' % (e, rc, err[:300])))
        os.unlink(path)
        return None
    J = {k: norm(v) for k, v in js.items()}
    w = model.Window()
    w.phys = dict(J)
    cmsgs = js['Messages']
    w.record_messages = False
    # today's date and time stand in the boxes when the file does not reach them
    w.box[2], w.box[3] = js['ReleaseDate'] or w.box[2], js['ReleaseTime'] or w.box[3]
    w.read_settings(raw)
    # physics refusal in the program: a message the window never shows
    if not js['Ok'] and cmsgs and cmsgs[-1] not in KNOWN_WINDOW_MSGS and not js.get('ResultKind'):
        w.phys['_physics_failed'] = True
        w.phys['_physics_message'] = cmsgs[-1]
    w.prepare_inputs()
    w.record_messages = True
    w.messages = []
    w.reached_physics = False
    ok = w.prepare_inputs()
    mine = list(w.messages)
    disp_failed = False
    if ok and not js['Ok']:
        # a dispersion stage refused (physics): accept its message
        disp_failed = True
        mine.append(cmsgs[-1] if cmsgs else '?')
    # ppm refusal text is the program's choice
    mine2 = [cmsgs[i] if (m == model.PPM_MSG_MARK and i < len(cmsgs)) else m for i, m in enumerate(mine)]
    if ok and js['Ok']:
        pass
    exp_ok = ok and not disp_failed
    # messages
    cm_no_notice = [m for m in cmsgs if not m.startswith('计算结果中，廓线数据较多')]
    if mine2 != cm_no_notice:
        problems.append((tag, 'Messages', 'model %r program %r' % (mine2, cmsgs)))
    if exp_ok != js['Ok']:
        problems.append((tag, 'Ok', 'model %r program %r' % (exp_ok, js['Ok'])))
    exp_rc = 0 if js['Ok'] else 2
    if rc != exp_rc:
        problems.append((tag, 'exit', 'rc %d expected %d' % (rc, exp_rc)))
    st = w.s
    if js.get('ResultKind') and ok:
        # the dispersion entry fixes the prediction time and keeps it
        if f32(J['ReleaseDuration']) == 10000:
            st['PredictionTime'] = 10000.0
        elif st['PredictionTime'] == 0:
            st['PredictionTime'] = 10.0 if J['ReleaseDuration'] <= 0.25 else J['ReleaseDuration']
    # fields
    fields = list(ALWAYS)
    for k in fields:
        if k not in st:
            continue
        if k in ('PoolArea',) and J.get('VosslerIndex', 0) >= 1 and False:
            continue
        mv = norm(st[k]) if not isinstance(st[k], bool) else st[k]
        if isinstance(mv, int) and not isinstance(mv, bool) and isinstance(J.get(k), float):
            mv = float(mv)
        jv = J.get(k)
        if isinstance(jv, float) and isinstance(mv, int) and not isinstance(mv, bool):
            mv = float(mv)
        if mv != jv:
            problems.append((tag, k, 'model %r program %r' % (mv, jv)))
    if 'Thresholds' in st and st.get('ThresholdCount', 0) > 0:
        mt = [f32(x) for x in st['Thresholds'][1:st['ThresholdCount'] + 1]]
        if mt != J['Thresholds']:
            problems.append((tag, 'Thresholds', 'model %r program %r' % (mt, J['Thresholds'])))
    if st.get('PointCount', 0) > 0:
        mp = [[f32(x) for x in r[:4]] for r in st['Points']]
        jp = [r[:4] for r in J['Points']]
        if mp != jp:
            problems.append((tag, 'Points', 'model %r program %r' % (mp, jp)))
    # substance records
    for k in ('Chemicals', 'VosslerSets'):
        mm = norm(st[k][1])
        jj = J[k][1]
        if k == 'VosslerSets':
            mm = {'Values': mm['Values'][1:]}
            jj = {'Values': jj['Values']}
        else:
            mm = dict(mm)
        for kk in mm:
            if mm[kk] != jj.get(kk):
                problems.append((tag, k + '[1].' + kk, 'model %r program %r' % (mm[kk], jj.get(kk))))
    if 'IsLiquid' in st and J['IsLiquid'] != st['IsLiquid'] and not (st['IsLiquid'] and not J['IsLiquid']):
        problems.append((tag, 'IsLiquid', 'model %r program %r' % (st['IsLiquid'], J['IsLiquid'])))
    if ok and st['ReleaseMode'] != 3:
        if J['DispersionRoughness'] != st['DispersionRoughness']:
            problems.append((tag, 'DispersionRoughness', 'model %r program %r' % (st['DispersionRoughness'], J['DispersionRoughness'])))
    # report
    if js['Ok']:
        c = dict(ground=model.LIST_ITEMS[1][w.list_index[1]], moisture=model.LIST_ITEMS[2][w.list_index[2]],
                 box13=w.box[13], unit5=model.LIST_ITEMS[5][w.list_index[5]], summary=js['ResultSummary'],
                 contour=js['ContourText'],
                 contour_path=os.path.join(os.path.abspath(outdir), 'CONCXY.DAT'))
        # contour text from the record
        if J['ContourPointCount'] and J['ContourPointCount'][0] > 0 or True:
            try:
                ct = report.contour_text(J)
                if ct != js['ContourText'] and J['MaxConcentration'] >= J['Thresholds'][0]:
                    problems.append((tag, 'ContourText', first_diff(ct, js['ContourText'])))
            except Exception as e:  # noqa: BLE001
                problems.append((tag, 'ContourText', 'model error %r' % e))
        try:
            rep, notice = report.build_report(J, c)
        except Exception as e:  # noqa: BLE001
            problems.append((tag, 'Report', 'model error %r' % e))
            rep, notice = None, None
        for k, v in FEATURES.items():
            if v in js['Report']:
                COVER[k] += 1
        if len(js['Report']) >= 64000:
            COVER['cut'] = COVER.get('cut', 0) + 1
        if rep is not None and rep != js['Report']:
            problems.append((tag, 'Report', first_diff(rep, js['Report'])))
        notices = [m for m in cmsgs if m.startswith('计算结果中，廓线数据较多')]
        if (notice is None and notices) or (notice is not None and notices != [notice]):
            problems.append((tag, 'Notice', 'model %r program %r' % (notice, notices)))
        if also_text:
            rc2, out2, err2 = run_batch(batch, path, outdir, json_mode=False)
            # the report with LF line ends; the program ends standard output with one LF
            if out2.decode('utf-8') != js['Report'].replace('\r\n', '\n') + '\n' or rc2 != 0:
                problems.append((tag, 'text-mode', 'stdout differs from Report or rc %d' % rc2))
            # After a report the applicability notes follow the messages, one
            # "提示：" line each; they must be those of the JSON, and the rest is
            # the messages as the model gives them.
            err_lines = err2.decode('utf-8').splitlines(keepends=True)
            note_lines = [l for l in err_lines if l.startswith('提示：')]
            rest = ''.join(l for l in err_lines if not l.startswith('提示：'))
            if len(note_lines) != len(js.get('Notes', [])) or any(
                    n['Text'] not in l for n, l in zip(js.get('Notes', []), note_lines)):
                problems.append((tag, 'text-mode', 'notes %r' % note_lines[:3]))
            if rest != text_mode_messages(js):
                problems.append((tag, 'text-mode', 'stderr %r' % err2.decode('utf-8', 'replace')[:300]))
    else:
        if js['Report'] != '':
            problems.append((tag, 'Report', 'not empty when refused'))
        if also_text:
            rc2, out2, err2 = run_batch(batch, path, outdir, json_mode=False)
            if out2 != b'' or rc2 != 2 or err2.decode('utf-8') != text_mode_messages(js):
                problems.append((tag, 'text-mode', 'refused: rc %d out %r err %r' % (
                    rc2, out2[:100], err2.decode('utf-8', 'replace')[:200])))
    os.unlink(path)
    return js, w


FEATURES = {'day': '当前时间在当地为白天', 'night': '当前时间在当地为夜间', 'cloudtype': '主导云类型为',
            'noinv': '无逆温层', 'inv': '逆温层底高为', 'meander4': '\r\n    (烟羽弥散', 'meander5': '\r\n     (烟羽弥散',
            'mode1': '瞬时泄漏方式', 'mode2': '短时或持续泄漏', 'mode3': '浮力气体从烟筒排出', 'clewell': 'CLEWELL',
            'shell': 'SHELL蒸发', 'vossler': 'Vossler蒸发', 'points': '序号    X(m)', 'never': '此阈值及以上',
            'hazard': '最小阈值为', 'limit': '已达到计算范围上限', 'steady': '持续释放', 'seconds': '秒\r\n',
            'ppmcount': '需计算一系列点'}
COVER = {k: 0 for k in FEATURES}


def first_diff(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return 'at %d: model %r | program %r' % (i, a[max(0, i - 80):i + 80], b[max(0, i - 80):i + 80])
    return 'length model %d program %d; tail model %r program %r' % (len(a), len(b), a[-80:], b[-80:])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--batch', default='/work/build-ui/bin/zelto-batch')
    ap.add_argument('--n', type=int, default=50)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--files', nargs='*')
    ap.add_argument('--outdir', default='/tmp/ui-out')
    ap.add_argument('--text', action='store_true')
    ap.add_argument('-v', action='store_true')
    ap.add_argument('--malform', action='store_true')
    ap.add_argument('--pbad', type=float, default=0.02)
    a = ap.parse_args()
    problems = []
    count = 0
    oks = 0
    if a.files:
        for fn in a.files:
            raw = open(fn, 'rb').read()
            js, _ = check_one(a.batch, raw, a.outdir, fn, problems, a.text)
            count += 1
            oks += bool(js and js['Ok'])
    else:
        for s in range(a.seed, a.seed + a.n):
            sc = gen.scenario(s, a.pbad)
            tag = 'seed%d' % s
            if a.malform:
                raw, kinds = gen.malformed_bytes(sc, s)
                tag += '/' + '+'.join(kinds)
            else:
                raw = gen.to_bytes(sc)
            js, _ = check_one(a.batch, raw, a.outdir, tag, problems, a.text)
            count += 1
            oks += bool(js and js['Ok'])
            if a.v:
                print(s, js and js['Ok'], js and js['Messages'], flush=True)
    for p in problems:
        print('%s  %s  %s' % p)
    print('scenarios %d (report produced %d), problems %d' % (count, oks, len(problems)))
    print('report branches seen:', COVER)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
