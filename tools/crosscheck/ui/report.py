"""Independent results report and contour text, line by line from the record."""
import zconv as z
from zconv import f32, general, pattern

LIMIT_LINE = "    注意：已达到计算范围上限100km，最小阈值的实际危害距离可能更远。"


def L(n, t):
    return t[:n]


def R(n, t):
    return t[-n:] if len(t) > n else t


def S(n):
    return ' ' * n


def dec(v, n):
    return general(f32(z.round_half_even(v, n)))


def contour_text(st):
    out = []
    for j in range(st['ThresholdCount']):
        out.append(' ')
        out.append(' ')
        line = "浓度 (mg/m3) =" + general(st['Thresholds'][j])
        if f32(st['ReleaseDuration']) == 10000:
            line += ":  持续释放"
        else:
            line += ":  预测时刻 (min) =" + general(st['PredictionTime'])
        out.append(line)
        if st['ContourPointCount'][j] > 0:
            out.append(' ')
            out.append("距离 (m)   浓度区域半宽     高峰 浓度 (mg/m3)")
            out.append("             宽 度 (m)")
            for k in range(st['ContourPointCount'][j]):
                out.append(pattern(st['ContourX'][j][k], '0.0000E+00') + '   ' +
                           pattern(st['ContourHalfWidth'][j][k], '0.0000E+00') + '      ' +
                           pattern(st['ContourAxisConc'][j][k], '0.0000E+00'))
        else:
            out.append("当前时刻下，计算区域内所有浓度均小于给定的浓度，无分布图坐标")
    return ''.join(x + '\r\n' for x in out)


def build_report(st, c):
    """st: record values (from the program's JSON, floats as float32);
    c: control texts and window values: ground, moisture, box13, unit5,
    summary, contour (text), contour_path."""
    lines = []
    a = lines.append
    a("(一）输入参数")
    a("")
    a("（1）环境及气象参数")
    lon, lat = st['Longitude'], st['Latitude']
    a("经度/纬度：" + general(abs(lon)) + ("E" if lon >= 0 else "W") + "/" +
      general(abs(lat)) + ("N" if lat >= 0 else "S"))
    a("北京时间：" + st['ReleaseDate'] + " " + st['ReleaseTime'])
    a("当地时间：" + st['LocalDateText'] + " " + st['LocalTimeText'])
    a("当地时间与格林威治时差：" + dec(st['TimeDifference'], 2))
    if st['DayNightFlag'] == "Y":
        a("当前时间在当地为白天")
        a("太阳高度角为:" + dec(st['SolarElevation'], 0) + " (度)")
        a("云盖度[10分制]为:" + str(int(st['CloudCover'])))
        if st['CloudCover'] != 0:
            a("    主导云类型为 " + {1: "HIGH (Ci Cc, Cs)", 2: "MIDDLE (Ac, As, Sc, Cu)",
                                3: "LOW (St, Ns, Fog)"}.get(st['CloudType'], ""))
    else:
        a("当前时间在当地为夜间")
        a("云盖度[10分制]为:" + str(int(st['CloudCover'])))
    a("地表类型：" + c['ground'] + " + " + c['moisture'])
    if st['MixingHeight'] == 10000:
        a("无逆温层")
    if st['MixingHeight'] <= 500:
        a("逆温层底高为 " + general(st['MixingHeight']) + "(m)")
    a("10m高风速(m/s)： " + general(st['WindSpeed10m']))
    a("环境气温 ( ℃)： " + general(st['AirTempC']))
    a("环境气压  (Pa)： " + general(st['AirPressure'] * 100))
    a("地表粗糙度(cm)： " + general(st['DispersionRoughness']))
    a("地面高程   (m)： " + general(st['GroundElevation']))
    a("大气稳定度为： " + st['StabilityText'])
    hs, vs = st['HorizontalStability'], st['VerticalStability']
    if hs >= vs:
        if st['WindSpeed10m'] < 2 and hs == 6:
            a("    (烟羽弥散(meandering)可能发生)")
        a("大气稳定度等级：" + pattern(hs, "#0.0"))
    else:
        a("     (烟羽弥散(meandering)可能发生)")
        a("水平稳定度参数：" + pattern(hs, "#0.0"))
        a("垂直稳定度参数：" + pattern(vs, "#0.0"))
    a("")
    a("（2）泄漏参数")
    mode = st['ReleaseMode']
    if mode == 1:
        a("瞬时泄漏方式")
        a("    泄漏量:" + general(st['ReleaseMass'] / 1000) + " kg")
    elif mode in (2, 3):
        a("短时或持续泄漏" if mode == 2 else "浮力气体从烟筒排出")
        a("    泄漏时长:" + c['box13'] + c['unit5'])
        a("    泄漏速率:" + general(st['ReleaseRate'] / 1000) + " kg/min")
        a("    泄漏总量:" + general(st['ReleaseMass'] / 1000) + " kg")
        if mode == 3:
            a("    烟筒高度:" + general(st['StackHeight']) + "(m)")
            a("    抬升高度:" + general(st['EffectivePlumeHeight'] - st['StackHeight']) + "(m)")
            import math
            a("    有效烟羽高度:" + general(math.floor(st['EffectivePlumeHeight'])) + "(m), 达到距离在下风" +
              general(math.floor(st['FinalRiseDistance'])) + "(m)")
    a("污染物名称：" + st['ChemicalName'])
    if st['IsLiquid']:
        a("当前环境下，泄漏物质为液体")
        if st['VosslerIndex'] < 1:
            if st['InteractionEnergy'] == 0 or st['MolecularDiameter'] == 0:
                a("    采用CLEWELL蒸发模型计算液体的蒸发速率。")
            else:
                a("    采用SHELL蒸发模型计算液体的蒸发速率。")
            a("    当前环境下液体的蒸气压：" + pattern(st['VaporPressure'], "0.0000E+00") + "(atm)")
            vd = st['VaporDensity']
        else:
            a("    采用Vossler蒸发模型计算液体的蒸发速率。")
            a("    计算出的液池温度为：" + dec(st['PoolTemperature'] - 273.16, 1) + "度")
            vd = st['VaporDensity'] / 1000.0
        a("    计算出的物质蒸气密度为：" + pattern(vd, "0.0000E+00") + "(g/cm3)")
        a("    蒸发速率: " + general(st['EvapRate']) + " g/min")
        a("    蒸发总时长: " + general(st['ReleaseDuration']) + " min")
    else:
        a("当前环境下，泄漏物质为气体")
    a("")
    a("扩散计算的实际源强：" + general(st['SourceStrength']) + " g/min")
    a("实际源强的排放时长：" + general(st['ReleaseDuration']) + " min")
    a("")
    a("（3）计算参数")
    a("计算平均时间：" + general(st['AveragingTime']) + " min")
    a("预测时刻：" + general(st['PredictionTime']) + " min")
    a("预测点离地高度：" + general(st['ReceptorHeight']) + " m")
    a("计算廓线的阈值(mg/m3)：" + st['ThresholdText'])
    a("计算廓线的阈值个数：" + str(st['ThresholdCount']))
    if st['PointCount'] > 0:
        a("需计算一系列点在特定时间的浓度，点数量为：" + str(st['PointCount']))
    a("")
    a("-" * 72)
    a("")
    a("(二）输出结果")
    a("")
    a("（1）给定高度" + general(st['ReceptorHeight']) + " m和时间" + general(st['PredictionTime']) + " min下的最大浓度")
    a(c['summary'])
    a("")
    a("（2）给定系列点浓度")
    if st['PointCount'] > 0:
        a("    序号    X(m)    Y(m)    Z(m)    T(min)    C(mg/m3)")
        for n, p in enumerate(st['Points'], start=1):
            a(S(4) + R(4, pattern(n, "   0")) + S(4) + L(8, pattern(p[0], "0       ")) +
              L(8, pattern(p[1], "0       ")) + L(8, pattern(p[2], "0       ")) +
              L(9, pattern(p[3], "0.00     ")) + L(9, pattern(p[4], "0.00E+00  ")))
    else:
        a("    没有给定点")
    a("")
    a("（3）廓线数据")
    a("    各阈值的廓线对应的位置")
    a("    阈值(mg/m3)  X起点(m)  X终点(m) 最大半宽(m)  最大半宽对应X(m)")
    cpc = st['ContourPointCount']
    for i in range(st['ThresholdCount']):
        head = S(4) + pattern(st['Thresholds'][i], "0.00E+00")
        if cpc[i] < 1:
            a(head + S(5) + "此阈值及以上，无对应位置，因计算浓度均小于此阈值")
            break
        a(head + S(5) + L(8, pattern(st['ContourX'][i][0], "0       ")) + S(2) +
          L(8, pattern(st['ContourX'][i][cpc[i] - 1], "0       ")) + S(2) +
          L(8, pattern(st['MaxHalfWidth'][i], "0       ")) + S(6) +
          L(8, pattern(st['MaxHalfWidthX'][i], "0     ")))
    notice = None
    if cpc[0] > 1:
        a("")
        a("    最小阈值为 " + pattern(st['Thresholds'][0], "0.00E+00") + "(mg/m3)")
        a("    最小阈值产生的最远距离 " + pattern(st['HazardDistance'], "0") + "（m),发生时间为第" +
          pattern(st['HazardTime'], "#0.00") + "(min)")
        if st.get('HazardLimitReached'):
            a(LIMIT_LINE)
        a("    最小阈值的90%保证率危害区长度 " + pattern(st['ZoneLength'], "0") + "(m), 宽度为" +
          pattern(st['ZoneAngle'], "0") + "(度)")
        a(c['contour'])
    text = ''.join('\r\n' + x for x in lines)
    if cpc[0] > 1 and len(text) > 64000:
        notice = ("计算结果中，廓线数据较多，这里只能显示部分数据。完整数据保存在'" + c['contour_path'] +
                  "'文件中。")
        text = text[:64000]
    return text, notice
