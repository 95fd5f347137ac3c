#!/usr/bin/env python3
"""Independent model of the dispersion stage (concentration at a point, plane
maximum, isopleths, hazard distance and zone, contour text), written from the
written description of the stage, for cross-checking zelto-batch --json.

Fields that live in the model record are 32-bit floats (f32 on every store).
Intermediate local values are rounded with loc(), which is f32 when
INTERMEDIATE_SINGLE is True and the identity otherwise.
"""
import collections
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from shared import f32, fmt_sci, general  # noqa: E402,F401

INTERMEDIATE_SINGLE = True


def loc(x):
    return f32(x) if INTERMEDIATE_SINGLE else x


def rhe(x):
    """Round to a whole number, halves to even."""
    return round(x)


def fmt_e4(v):
    """Pattern 0.0000E+00, halves away from zero."""
    return fmt_sci(v, 4)


FAR = {1: 745.0, 2: 745.0, 3: 745.0, 4: 2000.0, 5: 1100.0, 6: 1400.0, 7: 1400.0}

MSG_PLUME_ABOVE = "注意--烟羽高超过混合层顶，而计算高度在混合层内，因此模型假定混合层内无污染物"
MSG_RECEPTOR_ABOVE = "注意--计算高度超过混合层顶，该高度上没有污染物"
MSG_INVERSION = "模型假设烟羽(烟团)不会穿透逆温层,因此，在此高度上的预测点浓度可忽略，均为0。"
MSG_NONE = "当前高度下没有浓度"
LIMIT_X = 100000.0


class Model:
    FLOAT_FIELDS = [
        'Pi', 'AveragingTime', 'PredictionTime', 'ReceptorHeight', 'ReleaseDuration',
        'SourceStrength', 'SourceSize', 'EffectivePlumeHeight', 'MixingHeight',
        'WindSpeed10m', 'WindSpeed', 'HorizontalStability', 'VerticalStability',
        'DispersionRoughness', 'Roughness', 'SigmaTheta', 'SigmaThetaTime',
        'Concentration', 'PuffAge', 'PuffMass', 'PuffConcentration', 'SigmaDistance',
        'SigmaX', 'SigmaY', 'SigmaZ', 'MaxConcentration', 'MaxConcentrationX',
        'HazardDistance', 'HazardTime', 'ZoneLength', 'ZoneAngle', 'ReceptorX', 'ReceptorY']

    def __init__(self, j):
        for k in self.FLOAT_FIELDS:
            setattr(self, k, f32(j[k]))
        self.SigmaThetaFlag = j['SigmaThetaFlag']
        self.SpreadCoef = [0.0] + [f32(v) for v in j['SpreadCoef']]
        self.SpreadExp = [0.0] + [f32(v) for v in j['SpreadExp']]
        self.Thresholds = [0.0] + [f32(v) for v in j['Thresholds']]
        self.ThresholdCount = j['ThresholdCount']
        self.Points = [None] + [[f32(v) for v in row] for row in j['Points']]
        self.PointCount = j['PointCount']
        # result lists stay unallocated until the isopleth search sizes them
        self.ContourPointCount = [0]
        self.ContourX = [[]]
        self.ContourHalfWidth = [[]]
        self.ContourAxisConc = [[]]
        self.MaxHalfWidth = [0.0]
        self.MaxHalfWidthX = [0.0]
        self.ResultKind = 0
        self.ContourText = None
        self.HazardLimitReached = False
        self.evals = 0
        self.hits = collections.Counter()
        self.vcache = {}

    # ---------------- Concentration at a point ----------------
    def sigma_y_at(self, x):
        ta = self.AveragingTime
        V = self.VerticalStability
        n = rhe(self.HorizontalStability)
        if not ta > 1:
            n = rhe(V)
        if self.SigmaThetaFlag != 2 and ta > 1 and V == 6:
            n = 4
        return (0.479 - 0.1232 * n + 0.00904 * n * n) * x ** 0.9 * \
            (self.DispersionRoughness / 3) ** 0.2 * (ta / 10) ** 0.2

    def compute_spreads(self):
        self.SigmaY = f32(self.sigma_y_at(self.SigmaDistance))
        V = self.VerticalStability
        xr = self.ReceptorX
        c1 = math.floor(V + 0.4999) + 1
        c2 = 7 if c1 == 7 else c1 + 1
        k1 = c1 + 7 if xr > FAR[c1] else c1
        k2 = c2 + 7 if xr > FAR[c2] else c2
        s1 = loc(self.SpreadCoef[k1] * xr ** self.SpreadExp[k1])
        s2 = loc(self.SpreadCoef[k2] * xr ** self.SpreadExp[k2])
        w = 1.0 if V <= 4.5 else 1.5
        f = loc(V - c2 + 2.5)
        self.SigmaZ = f32(s1 - f * (s1 - s2) / w)
        r = self.Roughness if self.SigmaThetaFlag == 2 else 3.0
        self.SigmaZ = f32(self.SigmaZ * (self.DispersionRoughness / r) ** 0.2)

    def vexp(self, v, sz):
        e = -0.5 * (v / sz) ** 2
        if e <= -80:
            return 0.0
        return math.exp(e)

    def vertical(self, Z, H, h, sz):
        """Ground term G and the reflection series between ground and lid
        (a pure function of its arguments, kept per receptor column)."""
        key = (Z, H, h, sz)
        got = self.vcache.get(key)
        if got is not None:
            return got
        d = loc(Z - H)
        s = loc(Z + H)
        G = loc(self.vexp(d, sz) + self.vexp(s, sz))
        total = 0.0
        mixed = False
        if h != 10000:
            mixed = True
            for m in range(1, 201):
                L = loc(m * (2 * h))
                R = loc(self.vexp(d - L, sz) + self.vexp(s - L, sz) +
                        self.vexp(d + L, sz) + self.vexp(L + s, sz))
                total = loc(total + R)
                if R < 0.01:
                    mixed = False
                    break
        got = (G, total, mixed)
        if len(self.vcache) > 200000:
            self.vcache.clear()
        self.vcache[key] = got
        return got

    def puff_contribution(self):
        sx, sy, sz = self.SigmaX, self.SigmaY, self.SigmaZ
        A = loc(self.PuffMass * 0.0634936 / (sx * sy * sz))
        if A < 1e-30:
            self.PuffConcentration = 0.0
            return
        X, Y, Z = self.ReceptorX, self.ReceptorY, self.ReceptorHeight
        H, h, u, t = self.EffectivePlumeHeight, self.MixingHeight, self.WindSpeed10m, self.PuffAge
        Gy = loc(math.exp(-0.5 * (Y / sy) ** 2))
        Gx = loc(math.exp(-0.5 * ((X - t * u) / sx) ** 2))
        G, total, mixed = self.vertical(Z, H, h, sz)
        if h == 10000:
            c = Gy * A * Gx * G
        else:
            self.hits['reflect'] += 1
            if mixed:
                self.hits['well-mixed'] += 1
                c = A * 2.5066283 * sz / h * Gx * Gy
            else:
                c = Gy * A * Gx * (G + total)
        c = loc(c)
        if c < 1e-35:
            c = 0.0
        self.PuffConcentration = f32(c)

    def compute_concentration(self):
        self.evals += 1
        C = 0.0
        S = self.SourceSize
        x1 = loc(S / 10)
        x2 = S
        g1 = loc(self.sigma_y_at(x1))
        g2 = loc(self.sigma_y_at(x2))
        p = loc(math.log(g1 / g2) / math.log(x1 / x2))
        q = loc(math.log(g1) - p * math.log(x1))
        g0 = loc(S / 4.3)
        xv = loc(math.exp((math.log(g0) - q) / p))
        X = self.ReceptorX
        self.SigmaDistance = f32(X + xv)
        self.compute_spreads()
        self.SigmaX = self.SigmaY
        T, D, h = self.PredictionTime, self.ReleaseDuration, self.MixingHeight
        u, Q = self.WindSpeed10m, self.SourceStrength
        Y, Z, H = self.ReceptorY, self.ReceptorHeight, self.EffectivePlumeHeight
        sy, sz = self.SigmaY, self.SigmaZ
        if T <= D and (0.47 * h > sz or h == 10000):
            C = Q / 60 / (2 * self.Pi * sy * sz * u) * math.exp(-0.5 * (Y / sy) ** 2) * \
                (math.exp(-0.5 * ((Z - H) / sz) ** 2) + math.exp(-0.5 * ((Z + H) / sz) ** 2))
            C = loc(C)
            self.hits['plume'] += 1
            if u * T * 60 < X - sy:
                self.hits['plume-front'] += 1
                C = 0.0
        else:
            # the puff age is the loop variable of the summation: it keeps the
            # age after the last decrement
            self.PuffAge = t = f32(T * 60)
            De = T if D == 10000 else D
            N = math.floor(De * 20 + 0.5)
            self.PuffMass = f32(Q / 20)
            sx = self.SigmaX
            tmax = loc((X + 4 * sx) / u)
            tmin = loc(max(0.0, (X - 4 * sx) / u))
            if t == 600000:
                self.PuffAge = t = f32(tmax)
            if t > tmax:
                i = math.floor((t - tmax) / 3)
                self.PuffAge = t = f32(tmax)
            else:
                i = 1
            self.hits['puffs'] += 1
            if i > N:
                self.hits['no-puff-summed'] += 1
            while i <= N:
                self.puff_contribution()
                C = loc(C + self.PuffConcentration)
                self.PuffAge = t = f32(t - 3)
                if t < tmin:
                    break
                i += 1
        self.Concentration = f32(C * 1000)

    def conc_xy(self, X, Y=0.0):
        self.ReceptorX = f32(X)
        self.ReceptorY = f32(Y)
        self.compute_concentration()
        return self.Concentration

    def concentration_at_point(self, X, Y, Z, T):
        self.ReceptorX = f32(max(X, 1.0))
        self.ReceptorY = f32(Y)
        self.ReceptorHeight = f32(Z)
        self.PredictionTime = f32(T)
        h, H = self.MixingHeight, self.EffectivePlumeHeight
        if (Z < h and H > h) or (Z > h and H <= h):
            self.Concentration = 0.0
        else:
            self.compute_concentration()
        return self.Concentration

    # ---------------- Plane maximum ----------------
    def find_plane_maximum(self, Z, T):
        self.ReceptorHeight = f32(Z)
        self.PredictionTime = f32(T)
        Z, T = self.ReceptorHeight, self.PredictionTime
        h, H, u, D = self.MixingHeight, self.EffectivePlumeHeight, self.WindSpeed10m, self.ReleaseDuration
        if (Z > h and H <= h) or (Z < h and H > h):
            self.MaxConcentration = 0.0
            return False, MSG_INVERSION
        self.ReceptorY = 0.0
        xf = loc(1.2 * u * T * 60)
        X = loc((T - D) * u * 60) if T > D else 30.0
        self.MaxConcentration = self.conc_xy(X)
        first = "稳定烟羽状态" if T == 10000 else "在预测时刻为 =" + general(T) + " min"
        near = False
        if Z == H and T <= D:
            self.hits['max-at-release-height'] += 1
            self.MaxConcentrationX = f32(X)
            near = True
        else:
            self.MaxConcentrationX = f32(X)
            n = 0
            while True:
                n += 1
                if n > 10000000:
                    raise RuntimeError('coarse search unbounded')
                X = loc(X + 100)
                C = self.conc_xy(X)
                if X > xf:
                    self.hits['max-none'] += 1
                    self.MaxConcentration = 0.0
                    return False, MSG_NONE
                if C < self.MaxConcentration:
                    break
                self.MaxConcentration = C
                self.MaxConcentrationX = f32(X)
            lower = loc(self.MaxConcentrationX - 100)
            X = loc(self.MaxConcentrationX + 100)
            while True:
                X = loc(X - 10)
                if X < 30:
                    self.hits['max-near'] += 1
                    near = True
                    break
                if X < lower:
                    break
                C = self.conc_xy(X)
                if C >= self.MaxConcentration:
                    self.MaxConcentration = C
                    self.MaxConcentrationX = f32(X)
        if near:
            lines = [first, "离地高为 =" + general(Z) + "m 的平面上", "最大浓度产生于离源 30m 的距离内",
                     "在 30m 处的浓度为" + general(self.MaxConcentration) + " mg/m3"]
        else:
            lines = [first, "离地高 =" + general(Z) + "m 的平面上",
                     "最大浓度为 " + fmt_e4(self.MaxConcentration) + "mg/m3",
                     "产生于下风轴线距离 X =" + general(self.MaxConcentrationX) + "m 处"]
        return True, "\r\n".join(lines)

    # ---------------- Isopleths ----------------
    def find_isopleths(self, T, Z, opts):
        n = self.ThresholdCount
        self.ContourPointCount = [0] * (n + 1)
        self.ContourX = [[] for _ in range(n + 1)]
        self.ContourHalfWidth = [[] for _ in range(n + 1)]
        self.ContourAxisConc = [[] for _ in range(n + 1)]
        self.MaxHalfWidth = [0.0] * (n + 1)
        self.MaxHalfWidthX = [0.0] * (n + 1)
        self.HazardLimitReached = False
        self.ContourText = ""
        self.find_plane_maximum(Z, T)
        if self.MaxConcentration < self.Thresholds[1]:
            return
        xm = self.MaxConcentrationX
        dy = 2.0
        for j in range(1, n + 1):
            c = self.Thresholds[j]
            # upwind edge
            x0 = rhe(xm)
            s = max(rhe(x0 / 10), 10)
            X = float(x0)
            for i in range(1, 10001):
                X = loc(x0 - (i - 1) * s)
                if X < 10:
                    self.hits['upwind-10'] += 1
                    X = 10.0
                    break
                C = self.conc_xy(X)
                if C < c:
                    if s <= 10:
                        break
                    s = s / 2
                    if s != int(s):
                        self.hits['upwind-fraction-step'] += 1
                    if opts.get('int_step'):
                        s = rhe(s)
                    if s < 10:
                        s = 10
            xs = X
            if self.MaxConcentration < c:
                break
            # downwind march
            s = 10.0
            k = 0
            W = [0.0]
            XS = []
            CS = []
            X = xs
            for step in range(1, 10001):
                if step > 1:
                    X = loc(X + s)
                C = self.conc_xy(X, 0.0)
                ended = False
                if C >= c:
                    k += 1
                    XS.append(f32(X))
                    CS.append(C)
                    Y = W[k - 1]
                    C2 = self.conc_xy(X, Y)
                    if C2 > c:
                        for _ in range(100000):
                            Y = loc(Y + dy)
                            C2 = self.conc_xy(X, Y)
                            if C2 < c:
                                break
                        W.append(f32(Y - dy))
                    elif C2 == c:
                        W.append(f32(Y))
                    else:
                        reached0 = False
                        for _ in range(100000):
                            Y = loc(Y - dy)
                            if Y <= 0:
                                reached0 = True
                                break
                            C2 = self.conc_xy(X, Y)
                            if not C2 <= c:
                                break
                        if reached0:
                            self.hits['halfwidth-zero-end'] += 1
                            W.append(0.0)
                            ended = True
                        else:
                            W.append(f32(Y + dy))
                    if ended:
                        break
                    if W[k - 1] > 0 and k >= 3 and abs(W[k] - W[k - 1]) / W[k - 1] < 0.1:
                        self.hits['step-growth'] += 1
                        s = 2 * s
                        if s / X > 0.2:
                            s = s / 2
                else:
                    if k == 0:
                        pass
                    elif s <= 10:
                        break
                    else:
                        X = loc(X - s)
                        s = s / 2
                if X > LIMIT_X:
                    self.hits['march-limit'] += 1
                    break
            self.ContourPointCount[j] = k
            self.ContourX[j] = XS
            self.ContourHalfWidth[j] = W[1:]
            self.ContourAxisConc[j] = CS
            if k > 0:
                mw, mx = W[1], XS[0]
                for q in range(2, k + 1):
                    if W[q] > mw:
                        mw, mx = W[q], XS[q - 1]
                self.MaxHalfWidth[j] = mw
                self.MaxHalfWidthX[j] = mx
        self.zone_angle()
        self.hazard(T, opts)
        self.HazardDistance = f32(10 * rhe(self.HazardDistance / 10))
        self.ZoneLength = f32(10 * rhe(2.1 * self.HazardDistance / 10))
        self.ContourText = self.contour_text()

    def zone_angle(self):
        D = self.ReleaseDuration
        if self.WindSpeed <= 1.8:
            a = 360.0
        elif self.SigmaThetaFlag == 2:
            te = min(D, 60.0)
            a = 6 * self.SigmaTheta * (te / self.SigmaThetaTime) ** 0.2
            if a < 30:
                a = 30.0
            elif a > 180:
                a = 180.5
        else:
            hs = self.HorizontalStability
            if hs < 3.5:
                a = 165 - 30 * hs
            else:
                a = 45.0 if self.WindSpeed > 5.15 else 90.0
        self.ZoneAngle = f32(a)

    def hazard(self, Trun, opts):
        c1 = self.Thresholds[1]
        f = self.ContourX[1][-1] if self.ContourPointCount[1] > 0 else 0.0
        D = self.ReleaseDuration
        u = self.WindSpeed10m
        self.hits['f-zero'] += self.ContourPointCount[1] == 0
        if D == 10000:
            self.HazardDistance = f
            self.HazardTime = 10000.0
        elif D <= 0.25:
            T = Trun
            C = self.Concentration
            limit = False
            while True:
                X = loc(T * 60 * u)
                Cp = C
                self.PredictionTime = f32(T)
                C = self.conc_xy(X, 0.0)
                if C > c1:
                    if X > LIMIT_X:
                        self.hits['inst-limit'] += 1
                        limit = True
                        break
                    T = f32(T + 1)
                else:
                    break
            if not limit and Cp > c1:
                T = f32(T - 1)
            self.HazardLimitReached = limit
            self.HazardDistance = f32(max(X, f))
            self.HazardTime = f32(T)
        else:
            X = 10.0
            T = f32(max(D, 1.0))
            Cp = 0.0
            a = 0
            p = 5 if D < 90 else 4 if D < 150 else 3 if D < 210 else 2
            result = None
            for _ in range(10000000):
                self.PredictionTime = T
                C = self.conc_xy(X, 0.0)
                if C <= c1 and Cp > c1:
                    T = f32(T + 1)
                    Cp = 0.0
                    continue
                if C > c1 or (C < c1 and T == D):
                    st = min(max(0.02 * X, 10.0), 100.0)
                    X = loc(X + st)
                    Cp = C
                    a = 0
                    if X > LIMIT_X:
                        if C > c1:
                            # still above the smallest threshold at the limit
                            self.hits['timed-limit'] += 1
                            self.HazardLimitReached = True
                            result = (max(X, f), T)
                        else:
                            # never above the threshold at the end of the release
                            self.hits['timed-never-above'] += 1
                            result = (f, Trun)
                        break
                    continue
                a += 1
                if a >= p:
                    break
                T = f32(T + 1)
                Cp = 0.0
            else:
                raise RuntimeError('hazard march unbounded')
            if result is None:
                self.HazardTime = f32(T - a)
                self.HazardDistance = f32(max(X, f))
            else:
                self.HazardDistance = f32(result[0])
                self.HazardTime = f32(result[1])
        self.PredictionTime = f32(Trun)

    def contour_text(self):
        out = []
        for j in range(1, self.ThresholdCount + 1):
            out.append(" ")
            out.append(" ")
            line = "浓度 (mg/m3) =" + general(self.Thresholds[j])
            if self.ReleaseDuration == 10000:
                line += ":  持续释放"
            else:
                line += ":  预测时刻 (min) =" + general(self.PredictionTime)
            out.append(line)
            k = self.ContourPointCount[j]
            if k > 0:
                out.append(" ")
                out.append("距离 (m)   浓度区域半宽     高峰 浓度 (mg/m3)")
                out.append("             宽 度 (m)")
                for q in range(k):
                    out.append(fmt_e4(self.ContourX[j][q]) + "   " + fmt_e4(self.ContourHalfWidth[j][q]) +
                               "      " + fmt_e4(self.ContourAxisConc[j][q]))
            else:
                out.append("当前时刻下，计算区域内所有浓度均小于给定的浓度，无分布图坐标")
        return "".join(l + "\r\n" for l in out)

    # ---------------- Entry ----------------
    def run_dispersion(self, kind, opts):
        self.ResultKind = kind
        D = self.ReleaseDuration
        if D == 10000:
            self.PredictionTime = 10000.0
        elif self.PredictionTime == 0:
            self.PredictionTime = 10.0 if D <= 0.25 else D
        T = self.PredictionTime
        keep = (self.AveragingTime, self.PredictionTime, self.ReceptorHeight, self.MixingHeight)
        Z = self.ReceptorHeight
        H, h = self.EffectivePlumeHeight, self.MixingHeight
        if H > h and Z >= h:
            self.MixingHeight = 10000.0
        elif H > h:
            return False, MSG_PLUME_ABOVE
        elif Z > h:
            return False, MSG_RECEPTOR_ABOVE
        ok, msg = True, ""
        if kind == 1:
            self.find_isopleths(T, Z, opts)
        elif kind == 2:
            for i in range(1, self.PointCount + 1):
                r = self.Points[i]
                r[4] = self.concentration_at_point(r[0], r[1], r[2], r[3])
        else:
            ok, msg = self.find_plane_maximum(Z, T)
        self.AveragingTime, self.PredictionTime, self.ReceptorHeight, self.MixingHeight = keep
        return ok, msg


def run_all(j, opts=None):
    """Runs kinds 1, 2, 3 as the computation does; returns the model and the
    message of the refused stage (or the summary)."""
    opts = opts or {}
    m = Model(j)
    for kind in (1, 2, 3):
        ok, msg = m.run_dispersion(kind, opts)
        if not ok:
            return m, False, msg
    return m, True, msg
