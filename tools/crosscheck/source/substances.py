"""Parameter sets of defined substances for the source-term cross-check.

Units as the evaporation correlations expect them: viscosity Pa s, heat
capacity J/(kg K), conductivities W/(m K), heat of vaporisation J/kg (Watson
form: A = critical temperature, B = normal boiling point, C = heat at B,
D = 0.38), saturation pressure log10(mmHg) with t in K (Antoine C in K),
temperatures in K, Fuller diffusion volume.

General block: TWA ppm, TWA mg/m3, STEL ppm, STEL mg/m3, MW, Tb, Tc, Pc (atm),
Vc, vapour-pressure constants (Antoine mmHg, deg C), liquid density A[, B],
molecular diameter (A), interaction energy.
"""

# name: (general dict, vossler dict)
SUBSTANCES = {
    'benzene': dict(
        gen=dict(mw=78.11, tb=353.2, tc=562.2, pc=48.3, vc=259, vp=(6.90565, 1211.033, 220.79),
                 dens=(1.899, 0.8947), md=5.349, ie=5.692e-21, twa=(1.88, 6), stel=(3.13, 10)),
        vos=dict(tf=278.7, visc=(-2.8e-7, 2.6e-8, 0), visc_r=(600, 280),
                 cp=(-434.3, 6.067, -3.863e-3, 9.128e-7), cp_r=(1000, 273),
                 cond=(-8.455e-3, 3.618e-5, 9.799e-8, -4.058e-11), cond_r=(1000, 273),
                 hv=(562.2, 353.2, 393300, 0.38), hv_r=(562, 279),
                 sp=(6.90565, 1211.033, -52.36, 0, 0, 0), sp_r=(377, 280),
                 lc=(0.2564, -3.84e-4, 0), lc_r=(413, 279), dv=90.68)),
    'ammonia': dict(
        gen=dict(mw=17.03, tb=239.8, tc=405.5, pc=111.3, vc=72.5, vp=(7.3605, 926.132, 240.17),
                 dens=(0.682,), md=2.9, ie=558.3, twa=(25, 18), stel=(35, 27)),
        vos=dict(tf=195.4, visc=(-7.874e-7, 3.67e-8, 0), visc_r=(1000, 200),
                 cp=(1600, 1.6, 0, 0), cp_r=(1000, 200),
                 cond=(-7.7e-3, 1.07e-4, 0, 0), cond_r=(1000, 200),
                 hv=(405.5, 239.8, 1371000, 0.38), hv_r=(405, 196),
                 sp=(7.3605, 926.132, -32.98, 0, 0, 0), sp_r=(400, 190),
                 lc=(1.169, -2.314e-3, 0), lc_r=(400, 196), dv=14.9)),
    'ammonia-ext': dict(   # same with the extra terms of the saturation-pressure form
        gen=dict(mw=17.03, tb=239.8, tc=405.5, pc=111.3, vc=72.5, vp=(7.3605, 926.132, 240.17),
                 dens=(0.682,), md=2.9, ie=558.3, twa=(25, 18), stel=(35, 27)),
        vos=dict(tf=195.4, visc=(-7.874e-7, 3.67e-8, 1e-12), visc_r=(1000, 200),
                 cp=(1600, 1.6, -1e-4, 1e-8), cp_r=(1000, 200),
                 cond=(-7.7e-3, 1.07e-4, 1e-9, -1e-12), cond_r=(1000, 200),
                 hv=(405.5, 239.8, 1371000, 0.38), hv_r=(405, 196),
                 sp=(7.3605, 926.132, -32.98, 1000, 1e-4, -1e-7), sp_r=(400, 190),
                 lc=(1.169, -2.314e-3, 1e-7), lc_r=(400, 196), dv=14.9)),
    'chlorine': dict(
        gen=dict(mw=70.9, tb=239.1, tc=417.2, pc=76.1, vc=124, vp=(6.9379, 861.34, 246.33),
                 dens=(1.56,), md=4.217, ie=316, twa=(0.5, 1.5), stel=(1, 3)),
        vos=dict(tf=172.2, visc=(-3.6e-7, 4.6e-8, 0), visc_r=(1000, 200),
                 cp=(420, 0.2, 0, 0), cp_r=(1000, 200),
                 cond=(-5e-4, 3.13e-5, 0, 0), cond_r=(1000, 200),
                 hv=(417.2, 239.1, 288000, 0.38), hv_r=(417, 173),
                 sp=(6.9379, 861.34, -26.82, 0, 0, 0), sp_r=(417, 173),
                 lc=(0.3, -4.6e-4, 0), lc_r=(400, 173), dv=37.7)),
    'acetone': dict(
        gen=dict(mw=58.08, tb=329.2, tc=508.1, pc=46.4, vc=209, vp=(7.11714, 1210.595, 229.664),
                 dens=(0.79,), md=4.6, ie=560.2, twa=(500, 1200), stel=(750, 1800)),
        vos=dict(tf=178.5, visc=(-1.5e-7, 2.55e-8, 0), visc_r=(800, 250),
                 cp=(300, 3.3, -8e-4, 0), cp_r=(1000, 250),
                 cond=(-6.3e-3, 6e-5, 0, 0), cond_r=(1000, 250),
                 hv=(508.1, 329.2, 518000, 0.38), hv_r=(508, 180),
                 sp=(7.11714, 1210.595, -43.486, 0, 0, 0), sp_r=(350, 250),
                 lc=(0.28, -4e-4, 0), lc_r=(400, 180), dv=66.86)),
    'methanol': dict(
        gen=dict(mw=32.04, tb=337.8, tc=512.6, pc=79.9, vc=118, vp=(8.08097, 1582.271, 239.726),
                 dens=(2.288, 0.2685), md=3.626, ie=481.8, twa=(200, 260), stel=(250, 325)),
        vos=dict(tf=175.5, visc=(-1.0e-6, 3.6e-8, 0), visc_r=(800, 250),
                 cp=(600, 2.6, 0, 0), cp_r=(1000, 250),
                 cond=(-7.0e-3, 7.3e-5, 0, 0), cond_r=(1000, 250),
                 hv=(512.6, 337.8, 1100000, 0.38), hv_r=(512, 176),
                 sp=(8.08097, 1582.271, -33.424, 0, 0, 0), sp_r=(360, 260),
                 lc=(0.3, -3.3e-4, 0), lc_r=(400, 176), dv=31.25)),
    'toluene': dict(
        gen=dict(mw=92.14, tb=383.8, tc=591.8, pc=40.6, vc=316, vp=(6.95464, 1344.8, 219.482),
                 dens=(0.867,), md=5.932, ie=377, twa=(50, 188), stel=(100, 376)),
        vos=dict(tf=178.0, visc=(-3.0e-7, 2.5e-8, 0), visc_r=(700, 250),
                 cp=(-400, 6.1, -3.9e-3, 9.5e-7), cp_r=(1000, 250),
                 cond=(-7.0e-3, 3.6e-5, 9.0e-8, -4e-11), cond_r=(1000, 250),
                 hv=(591.8, 383.8, 363000, 0.38), hv_r=(591, 180),
                 sp=(6.95464, 1344.8, -53.668, 0, 0, 0), sp_r=(410, 280),
                 lc=(0.2, -2.5e-4, 0), lc_r=(450, 180), dv=111.48)),
    'decane': dict(   # little volatile
        gen=dict(mw=142.28, tb=447.3, tc=617.7, pc=20.8, vc=603, vp=(6.95367, 1501.268, 194.48),
                 dens=(0.73,), md=7.2, ie=490, twa=(0, 0), stel=(0, 50)),
        vos=dict(tf=243.5, visc=(-3.0e-7, 2.0e-8, 0), visc_r=(700, 250),
                 cp=(-300, 6.0, -3.5e-3, 8e-7), cp_r=(1000, 250),
                 cond=(-8.0e-3, 3.0e-5, 8.0e-8, -3e-11), cond_r=(1000, 250),
                 hv=(617.7, 447.3, 276000, 0.38), hv_r=(617, 244),
                 sp=(6.95367, 1501.268, -78.67, 0, 0, 0), sp_r=(480, 300),
                 lc=(0.2, -2.0e-4, 0), lc_r=(500, 244), dv=209.82)),
    'hcn': dict(   # boils a little above room temperature
        gen=dict(mw=27.03, tb=298.9, tc=456.7, pc=53.2, vc=139, vp=(7.5282, 1329.5, 260.4),
                 dens=(0.687,), md=3.63, ie=569.1, twa=(0, 0), stel=(4.7, 5)),
        vos=dict(tf=259.9, visc=(-2.0e-6, 3.3e-8, 0), visc_r=(700, 250),
                 cp=(1000, 1.1, 0, 0), cp_r=(1000, 250),
                 cond=(-4.0e-3, 5.0e-5, 0, 0), cond_r=(1000, 250),
                 hv=(456.7, 298.9, 933000, 0.38), hv_r=(456, 260),
                 sp=(7.5282, 1329.5, -12.75, 0, 0, 0), sp_r=(330, 250),
                 lc=(0.42, -6e-4, 0), lc_r=(400, 260), dv=22.75)),
    'ether': dict(   # diethyl ether, boils at 34.6 deg C
        gen=dict(mw=74.12, tb=307.6, tc=466.7, pc=35.9, vc=280, vp=(6.92032, 1064.07, 228.8),
                 dens=(0.713,), md=5.678, ie=313.8, twa=(400, 1200), stel=(500, 1500)),
        vos=dict(tf=156.9, visc=(-3.0e-7, 2.6e-8, 0), visc_r=(700, 200),
                 cp=(400, 4.0, -1.0e-3, 0), cp_r=(1000, 200),
                 cond=(-6.0e-3, 5.5e-5, 0, 0), cond_r=(1000, 200),
                 hv=(466.7, 307.6, 360000, 0.38), hv_r=(466, 157),
                 sp=(6.92032, 1064.07, -44.35, 0, 0, 0), sp_r=(340, 200),
                 lc=(0.25, -4.0e-4, 0), lc_r=(400, 157), dv=92.81)),
    'water': dict(
        gen=dict(mw=18.015, tb=373.15, tc=647.1, pc=217.7, vc=56, vp=(8.07131, 1730.63, 233.426),
                 dens=(1.0,), md=2.641, ie=809.1, twa=(0, 0), stel=(0, 0)),
        vos=dict(tf=273.15, visc=(-1.0e-6, 3.6e-8, 0), visc_r=(800, 250),
                 cp=(1800, 0.3, 0, 0), cp_r=(1000, 250),
                 cond=(-8.0e-3, 8.0e-5, 0, 0), cond_r=(1000, 250),
                 hv=(647.1, 373.15, 2257000, 0.38), hv_r=(647, 250),
                 sp=(8.07131, 1730.63, -39.724, 0, 0, 0), sp_r=(400, 250),
                 lc=(0.6, 0, 0), lc_r=(400, 250), dv=13.1)),
    'cfc113': dict(   # low heat of vaporisation, pressure fit valid only to 310 K
        gen=dict(mw=187.4, tb=320.7, tc=487.3, pc=33.7, vc=325, vp=(6.88, 1099.9, 227.5),
                 dens=(1.56,), md=5.5, ie=330, twa=(1000, 7600), stel=(1250, 9500)),
        vos=dict(tf=238.2, visc=(-1.0e-6, 3.6e-8, 0), visc_r=(700, 200),
                 cp=(300, 1.5, 0, 0), cp_r=(1000, 200),
                 cond=(-2.0e-3, 3.5e-5, 0, 0), cond_r=(1000, 200),
                 hv=(487.3, 320.7, 147000, 0.38), hv_r=(487, 239),
                 sp=(6.88, 1099.9, -45.65, 0, 0, 0), sp_r=(310, 240),
                 lc=(0.12, -1.0e-4, 0), lc_r=(400, 239), dv=120.0)),
    'carbondisulfide': dict(
        gen=dict(mw=76.14, tb=319.4, tc=552.0, pc=78.0, vc=170, vp=(6.94279, 1169.11, 241.59),
                 dens=(1.26,), md=4.483, ie=467, twa=(1, 3), stel=(0, 0)),
        vos=dict(tf=161.6, visc=(-2.0e-7, 3.4e-8, 0), visc_r=(700, 200),
                 cp=(500, 1.0, 0, 0), cp_r=(1000, 200),
                 cond=(-3.0e-3, 3.3e-5, 0, 0), cond_r=(1000, 200),
                 hv=(552.0, 319.4, 352000, 0.38), hv_r=(552, 162),
                 sp=(6.94279, 1169.11, -31.56, 0, 0, 0), sp_r=(340, 220),
                 lc=(0.22, -2.5e-4, 0), lc_r=(400, 162), dv=68.0)),
}


def fmt(x):
    if isinstance(x, int):
        return str(x)
    r = repr(float(x))
    if r.endswith('.0'):
        r = r[:-2]
    return r.upper()


def general_block(g, vp_form='antoine', dens_form=None, md=None, ie=None):
    twa = g['twa']
    stel = g['stel']
    if vp_form == 'antoine':
        vp = list(g['vp'])
    elif vp_form == 'single':
        # vapour pressure at 20 deg C in mmHg as the single constant
        A, B, C = g['vp']
        vp = [round(10 ** (A - B / (20 + C)), 2), 0, 0]
    elif vp_form == 'none':
        vp = [0, 0, 0]
    else:
        vp = list(vp_form)
    dens = list(g['dens']) if dens_form is None else list(dens_form)
    lines = [fmt(twa[0]), fmt(twa[1]), fmt(stel[0]), fmt(stel[1]), fmt(g['mw']), fmt(g['tb']),
             fmt(g['tc']), fmt(g['pc']), fmt(g['vc']), ', '.join(fmt(x) for x in vp),
             ', '.join(fmt(x) for x in dens), fmt(g['md'] if md is None else md),
             fmt(g['ie'] if ie is None else ie)]
    return '\r\n'.join(lines)


def vossler_block(v):
    lines = [fmt(v['tf'])]
    for key in ('visc', 'visc_r', 'cp', 'cp_r', 'cond', 'cond_r', 'hv', 'hv_r', 'sp', 'sp_r', 'lc', 'lc_r'):
        lines.append(', '.join(fmt(x) for x in v[key]))
    lines.append(fmt(v['dv']))
    return '\r\n'.join(lines)
