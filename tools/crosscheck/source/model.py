"""Independent model of the source-term stage (source strength, CLEWELL, SHELL,
Vossler pool evaporation with its property correlations).

Input: a dict of ModelState fields as the batch program prints them after
meteorology (the fields this stage reads).  Output: a dict of the fields the
stage writes, each rounded to a 32-bit float as it is stored, or an error text
when the arithmetic would fault (NaN, infinity, division by zero, a negative
base under a fractional power) or the Newton iteration does not converge
within the bound.

Arithmetic: double precision for every intermediate value, rounding to float32
exactly where a value is stored in the record.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from shared import f32  # noqa: E402

NEWTON_BOUND = 200


class Fault(Exception):
    pass


def chk(x, what):
    if isinstance(x, complex) or math.isnan(x) or math.isinf(x):
        raise Fault(what)
    return x


def fpow(a, b, what):
    """General power a^b in double precision; faults like the platform would."""
    if a < 0 and b != int(b):
        raise Fault('negative base ' + what)
    if a == 0 and b < 0:
        raise Fault('zero to negative power ' + what)
    try:
        r = a ** b
    except (OverflowError, ZeroDivisionError):
        raise Fault('overflow ' + what)
    return chk(r, what)


def div(a, b, what):
    if b == 0:
        raise Fault('division by zero ' + what)
    return chk(a / b, what)


def store(x, what):
    """Round to float32 as stored; an overflow to infinity is a fault."""
    chk(x, what)
    v = f32(x)
    if math.isinf(v):
        raise Fault('overflow on store ' + what)
    return v


P_TEXT = "0.23, 0.19, 0.05, 0.04, 0.29, 0.24, 0.13, 0.1, 0.51, 0.46, 0.25, 0.2, 1.05, 0.96, 0.6, 0.54"

GROUND = {  # (type, moisture class) -> (k_g, alpha_g)
    (1, 'dry'): (0.138, 1.1e-7),
    (1, 'wet'): (0.657, 1.9e-7),
    (2, 'dry'): (0.326, 2.74e-6),
    (2, 'wet'): (1.128, 4.92e-6),
}


def ground_props(gtype, moist):
    if gtype in (1, 2):
        return GROUND[(gtype, 'dry' if moist == 1 else 'wet')]
    return (1.279, 4.92e-6)


def p_column(z0):
    if z0 >= 100:
        return 1
    if z0 >= 35:
        return 2
    if z0 >= 5:
        return 3
    return 4


def p_row(s, u):
    row = None
    if s <= 3:
        row = 1
    if int(s) == 3:     # integer part (s is positive)
        row = 2
    if 4 <= s <= 6:
        row = 3
    if s == 6 and u <= 1:
        row = 4
    return row


class Vossler:
    def __init__(self, s, p_as_single=False):
        self.s = s          # the input record (floats)
        self.w = {}         # working fields (float32 values)
        self.p_as_single = p_as_single

    # helpers -------------------------------------------------------------
    def g(self, name):
        if name in self.w:
            return self.w[name]
        return self.s[name]

    def put(self, name, x):
        self.w[name] = store(x, name)
        return self.w[name]

    @staticmethod
    def clamp(T, hi, lo):
        if T < lo:
            return lo
        if T > hi:
            return hi
        return T

    # correlations --------------------------------------------------------
    def CalcSaturationPressure(self):
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('SatPressTmax'), self.g('SatPressTmin'))
        A, B, C, D, E, F = (self.g('SatPress' + c) for c in 'ABCDEF')
        L = A - div(B, t + C, 'satpress B/(t+C)') - div(D, t * t, 'satpress D/t2') + E * t + F * t * t
        sp = self.g('StdPressure') / 760 * fpow(10.0, L, 'satpress 10^L')
        self.put('SatPressure', sp)
        self.put('SurfaceMoleFraction', self.w['SatPressure'] / self.g('StdPressure'))

    def CalcVaporizationHeat(self):
        A, B, C, D = (self.g('HeatVap' + c) for c in 'ABCD')
        if f32(A - B) == 0:
            self.put('VaporizationHeat', 0.0)
            return
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('HeatVapTmax'), self.g('HeatVapTmin'))
        self.put('VaporizationHeat', C * fpow((A - t) / (A - B), D, 'heat of vaporisation'))

    def CalcLiquidConductivity(self):
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('LiqCondTmax'), self.g('LiqCondTmin'))
        A, B, C = (self.g('LiqCond' + c) for c in 'ABC')
        self.put('LiquidConductivity', A + B * t + C * t * t)

    def CalcGasViscosity(self):
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('VapViscTmax'), self.g('VapViscTmin'))
        A, B, C = (self.g('VapVisc' + c) for c in 'ABC')
        mu = A + B * t + C * t * t
        y = self.g('SurfaceMoleFraction')
        Ma = self.g('AirMolWeight')
        M = self.g('MolecularWeight')
        num = (1 - y) * math.sqrt(Ma) * self.g('StdAirViscosity') + y * fpow(M, 0.5, 'sqrt M') * mu
        den = (1 - y) * math.sqrt(Ma) + y * fpow(M, 0.5, 'sqrt M')
        self.put('MixViscosity', div(num, den, 'mix viscosity'))

    def CalcGasHeatCapacity(self):
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('VapCpTmax'), self.g('VapCpTmin'))
        A, B, C, D = (self.g('VapCp' + c) for c in 'ABCD')
        cv = A + B * t + C * t * t + D * t * t * t
        y = self.g('SurfaceMoleFraction')
        Ma = self.g('AirMolWeight')
        M = self.g('MolecularWeight')
        num = (1 - y) * Ma * self.g('AirSpecificHeat') + y * M * cv
        den = (1 - y) * Ma + y * M
        self.put('MixHeatCapacity', div(num, den, 'mix heat capacity'))

    def CalcGasConductivity(self):
        T = self.g('PoolTemperature')
        t = self.clamp(T, self.g('VapCondTmax'), self.g('VapCondTmin'))
        A, B, C, D = (self.g('VapCond' + c) for c in 'ABCD')
        kv = A + B * t + C * t * t + D * t * t * t
        y = self.g('SurfaceMoleFraction')
        Ma = self.g('AirMolWeight')
        M = self.g('MolecularWeight')
        a3 = fpow(Ma, 0.333, 'Ma^0.333')
        m3 = fpow(M, 0.333, 'M^0.333')
        num = (1 - y) * a3 * self.g('AirConductivity') + y * m3 * kv
        den = (1 - y) * a3 + y * m3
        self.put('MixConductivity', div(num, den, 'mix conductivity'))

    # model steps ---------------------------------------------------------
    def CalcMassTransfer(self):
        T = self.g('PoolTemperature')
        M = self.g('MolecularWeight')
        Ma = self.g('AirMolWeight')
        V = self.g('DiffusionVolume')
        v197 = f32(19.7)
        D = 0.00101 * fpow(T, 1.75, 'T^1.75') * fpow(div(1, M, '1/M') + 1 / Ma, 0.5, 'sqrt(1/M+1/Ma)')
        den = (fpow(V, 0.3333, 'V^0.3333') + v197 ** 0.3333) ** 2 * self.g('StdPressure') / 100000
        D = div(D, den, 'diffusion') * 0.0001
        self.CalcSaturationPressure()
        self.CalcGasViscosity()
        y = self.w['SurfaceMoleFraction']
        self.put('VaporDensity', div(((1 - y) * Ma + y * M) * self.g('StdPressure'),
                                     T * self.g('GasConstant'), 'vapour density'))
        self.put('SchmidtNumber', div(self.w['MixViscosity'], self.w['VaporDensity'] * D, 'Schmidt'))
        u = self.g('WindSpeed10m')
        L = self.g('SourceSize')
        mtc = (div(0.0292, fpow(self.w['SchmidtNumber'], 0.667, 'Sc^0.667'), 'mtc')
               * fpow(u * 3600, self.w['WindExponent'], 'u^WE')
               * fpow(L, self.w['LengthExponent'], 'L^LE') / 3600)
        self.put('MassTransferCoef', mtc)

    def CalcConvection(self):
        self.CalcGasHeatCapacity()
        self.CalcGasConductivity()
        cp = self.w['MixHeatCapacity']
        Pr = div(cp * self.w['MixViscosity'], self.w['MixConductivity'], 'Prandtl')
        h = (fpow(div(self.w['SchmidtNumber'], Pr, 'Sc/Pr'), 0.67, '(Sc/Pr)^0.67')
             * self.w['MassTransferCoef'] * self.w['VaporDensity'] * cp)
        self.put('ConvectiveCoef', h)
        T = self.g('PoolTemperature')
        self.put('ConvectiveFlux', (self.g('AirTempK') - T) * self.w['ConvectiveCoef'])

    def CalcRadiation(self):
        T = self.g('PoolTemperature')
        Ta = self.g('AirTempK')
        self.put('PoolEmission', f32(5.3864998e-8) * T ** 4)
        self.put('NetRadiation', 0.86 * self.g('SolarRadiation') + f32(4.2525e-8) * Ta ** 4
                 - self.w['PoolEmission'])

    def _mass_flux(self):
        self.CalcMassTransfer()
        T = self.g('PoolTemperature')
        m = div(self.g('MolecularWeight') * self.w['MassTransferCoef'] * self.w['SatPressure'],
                T * self.g('GasConstant'), 'mass flux')
        self.put('EvapRate', self.g('PoolArea') * m * 60 * 1000)
        return m

    def LiquidSurfaceFlux(self):
        m = self._mass_flux()
        self.CalcVaporizationHeat()
        self.put('EvaporativeFlux', m * self.w['VaporizationHeat'])

    def FrozenSurfaceFlux(self):
        m = self._mass_flux()
        self.CalcVaporizationHeat()
        self.put('SublimationHeat', self.w['VaporizationHeat'] + 159000)
        self.put('EvaporativeFlux', m * self.w['SublimationHeat'])

    def run(self):
        s = self.s
        Ta = s['AirTempK']
        Tb = s['BoilingPointK']
        Tf = s['FreezingPointK']
        if s['ReleaseMode'] == 2:
            d = 0.1
        else:
            d = div(s['ReleaseMass'], s['LiquidDensity'] * 10 ** 6 * s['PoolArea'], 'depth')
        T = Tb
        if Tb > Ta:
            T = Ta
        self.w['PoolTemperature'] = T
        pv = [float(x) for x in P_TEXT.split(', ')]
        if self.p_as_single:
            pv = [f32(x) for x in pv]
        col = p_column(s['DispersionRoughness'])
        row = p_row(s['VerticalStability'], s['WindSpeed10m'])
        self.row, self.col = row, col
        p = pv[(row - 1) * 4 + col - 1]
        n = 2 * p / (p + 1)
        self.put('WindExponent', (2 - n) / (2 + n))
        self.put('LengthExponent', -n / (n + 2))
        kg, ag = ground_props(s['GroundType'], s['GroundMoisture'])
        hg = kg / math.sqrt(s['Pi'] * ag * 600)
        self.iterations = 0
        U = None
        while True:
            self.iterations += 1
            if self.iterations > NEWTON_BOUND:
                raise Fault('newton bound')
            self.CalcLiquidConductivity()
            phi = 1 / (math.exp(-0.06 * (Tb - 70 - 273.16)) + 1)
            hL = div(self.w['LiquidConductivity'], (d / 2) * phi, 'h_L')
            U = div(1, div(1, hg, '1/hg') + div(1, hL, '1/hL'), 'U')
            self.CalcRadiation()
            T = self.w['PoolTemperature']
            if T > Tf:
                self.LiquidSurfaceFlux()
            else:
                self.FrozenSurfaceFlux()
            self.CalcConvection()
            w = self.w
            F = (U + w['ConvectiveCoef']) * (T - Ta) + w['EvaporativeFlux'] - w['NetRadiation']
            sc = s['SatPressC'] + T
            Fp = (div(w['EvaporativeFlux'] * 2.303 * s['SatPressB'], sc * sc, 'derivative')
                  + 4 * w['PoolEmission'] / T + (U + w['ConvectiveCoef']) - w['EvaporativeFlux'] / T)
            chk(F, 'residual')
            Tn = T - div(F, Fp, 'newton step')
            if f32(abs(T - Tn)) < 0.1:
                break
            T = store(Tn, 'PoolTemperature')
            self.w['PoolTemperature'] = T
            if T > Tf:
                continue
            self.w['PoolTemperature'] = Tf
            break
        self.U = U
        T = self.w['PoolTemperature']
        self.branch = None
        if T <= Tf:
            self.FrozenSurfaceFlux()
            self.branch = 'frozen'
        else:
            self.LiquidSurfaceFlux()
            self.branch = 'liquid'
            if not (T < Tb):
                self.branch = 'boiling'
                self.w['PoolTemperature'] = Tb
                T = Tb
                self.CalcMassTransfer()
                self.CalcConvection()
                self.CalcRadiation()
                Qg = (Ta - T) * U
                self.CalcVaporizationHeat()
                heat = self.w['VaporizationHeat']
                if not (Tb > Tf):
                    # Decision (left open): a substance whose boiling point is not above its
                    # freezing point is solid at Tb, so the sublimation heat divides the supply.
                    heat = self.put('SublimationHeat', self.w['VaporizationHeat'] + 159000)
                self.put('EvapRate', div((Qg + self.w['NetRadiation'] + self.w['ConvectiveFlux'])
                                         * s['PoolArea'], heat, 'boiling rate') * 60 * 1000)
        return self.w


def evaporate_clewell(s):
    T = s['PoolTemperatureInput']
    R = s['MolecularWeight'] * s['VaporPressure'] / f32(0.67711085)
    f = 1 + 0.0043 * T * T if T >= 0 else 1
    u = s['WindSpeed10m']
    return store(0.08 * fpow(u, 0.75, 'u^0.75') * s['PoolArea'] * f * R * 1000 / 60, 'EvapRate')


def evaporate_shell(s):
    Ta = s['AirTempK']
    u = s['WindSpeed10m']
    L = s['SourceSize']
    nu = s['AirKinematicViscosity']
    ie = s['InteractionEnergy'] * 78.6
    if ie < 0:
        raise Fault('negative interaction energy')
    Ts = div(Ta, math.sqrt(ie), 'T*')
    Om = (div(1.06036, fpow(Ts, 0.1561, 'T*^0.1561'), 'omega') + 0.193 * math.exp(-0.47635 * Ts)
          + 1.03587 * math.exp(-1.52996 * Ts) + 1.76474 * math.exp(-3.89411 * Ts))
    M = s['MolecularWeight']
    Ma = s['AirMolWeight']
    w = fpow(div(M + Ma, M * Ma, 'w'), 0.5, 'w')
    sig = (s['MolecularDiameter'] + 3.711) * 0.5
    beta = (2.17 - 0.5 * w) / 1000
    D = div(Ta * beta * math.sqrt(Ta) * w, sig * Om * sig * s['AirPressure'] / 1013, 'D')
    Sc = div(nu, D, 'Sc')
    Re = div(L * u * 10000, nu, 'Re')
    third = 1 / 3
    if Re > 320000:
        Sh = 0.037 * fpow(Sc, third, 'Sc^1/3') * (fpow(Re, 0.8, 'Re^0.8') - 15200)
    else:
        Sh = 0.664 * fpow(Sc, third, 'Sc^1/3') * fpow(Re, 0.5, 'Re^0.5')
    k = div(div(D * Sh, L, 'k'), 10000, 'k')
    return store(s['PoolArea'] * k * s['VaporDensity'] * 60 * 1000000, 'EvapRate')


def model_choice(s):
    if s['VosslerIndex'] >= 1:
        return 3
    if s['InteractionEnergy'] == 0 or s['MolecularDiameter'] == 0:
        return 1
    return 2


def compute_source(s, p_as_single=False):
    """s: stage input fields.  Returns (ok, outputs, info)."""
    out = {}
    info = {}
    try:
        if s['IsLiquid']:
            out['EvapRate'] = s['ReleaseRate']
            out['SourceSize'] = store(math.sqrt(s['PoolArea']), 'SourceSize')
            model = model_choice(s)
            info['model'] = model
            if model == 3:
                s2 = dict(s)
                s2['SourceSize'] = out['SourceSize']
                v = Vossler(s2, p_as_single)
                try:
                    w = v.run()
                finally:
                    info['iterations'] = getattr(v, 'iterations', None)
                    info['row'] = getattr(v, 'row', None)
                    info['col'] = getattr(v, 'col', None)
                    info['branch'] = getattr(v, 'branch', None)
                    info['partial'] = dict(v.w)
                out.update(w)
            elif model == 1:
                out['EvapRate'] = evaporate_clewell(s)
            else:
                s2 = dict(s)
                s2['SourceSize'] = out['SourceSize']
                out['EvapRate'] = evaporate_shell(s2)
            if s['ReleaseMode'] == 2 and out['EvapRate'] > s['ReleaseRate']:
                out['EvapRate'] = s['ReleaseRate']
                info['capped'] = True
            out['SourceStrength'] = out['EvapRate']
            dur = div(s['ReleaseMass'], out['EvapRate'], 'duration')
            if not dur > 0:
                raise Fault('non-positive duration')
            dur = store(dur, 'ReleaseDuration') if dur < 1e30 else 1e30
            if dur > 10000:
                dur = 10000.0
            out['ReleaseDuration'] = dur
        else:
            info['model'] = 0
            mode = s['ReleaseMode']
            if mode == 2:
                out['SourceSize'] = 1.0
            elif mode == 1:
                V = div(s['ReleaseMass'], 10.0 ** 6 * s['VaporDensity'], 'puff volume')
                out['SourceSize'] = store(2 * fpow(V / s['Pi'], 1 / 3, 'puff size'), 'SourceSize')
            else:
                out['SourceSize'] = s['SourceSize']
            out['EvapRate'] = s['ReleaseRate']
            out['SourceStrength'] = s['ReleaseRate']
            out['ReleaseDuration'] = s['ReleaseDuration']
    except Fault as e:
        return False, out, dict(info, fault=str(e))
    return True, out, info
