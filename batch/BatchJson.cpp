#include "batch/BatchJson.h"

namespace zelto {

namespace {

// Items from..to of a 1-based list; items the list does not hold are left out.
template <typename List>
BatchJson Range(const List& list, int from, int to) {
  BatchJson a = BatchJson::array();
  for (int i = from; i <= to && i >= 0 && static_cast<size_t>(i) < list.size(); ++i) {
    a.push_back(list[static_cast<size_t>(i)]);
  }
  return a;
}

int16_t CountOrZero(const std::vector<int16_t>& counts, int i) {
  return i >= 0 && static_cast<size_t>(i) < counts.size() ? counts[static_cast<size_t>(i)] : 0;
}

// One array per threshold holding exactly that isopleth's points.
BatchJson ContourTable(const ModelState& s, const std::vector<std::vector<float>>& table) {
  BatchJson a = BatchJson::array();
  for (int i = 1; i <= s.Targets.ThresholdCount; ++i) {
    const int count = CountOrZero(s.ContourPointCount, i);
    if (static_cast<size_t>(i) < table.size() && count > 0) {
      a.push_back(Range(table[static_cast<size_t>(i)], 1, count));
    } else {
      a.push_back(BatchJson::array());
    }
  }
  return a;
}

}  // namespace

#define ZELTO_FIELD(name) obj[#name] = s.name

void AddModelState(BatchJson& obj, const ModelState& s) {
  // 1. Constants
  ZELTO_FIELD(Pi);
  ZELTO_FIELD(DegToRad);
  ZELTO_FIELD(AirMolWeight);
  ZELTO_FIELD(AirGasConstant);
  ZELTO_FIELD(GasConstant);
  ZELTO_FIELD(StdPressure);
  ZELTO_FIELD(StdAirViscosity);
  ZELTO_FIELD(AirConductivity);
  ZELTO_FIELD(AirSpecificHeat);
  obj["SpreadCoef"] = Range(s.SpreadCoef, 1, 14);
  obj["SpreadExp"] = Range(s.SpreadExp, 1, 14);

  // 2. Site, time and weather inputs
  ZELTO_FIELD(Longitude);
  ZELTO_FIELD(Latitude);
  ZELTO_FIELD(ReleaseDate);
  ZELTO_FIELD(ReleaseTime);
  ZELTO_FIELD(GroundElevation);
  ZELTO_FIELD(Roughness);
  ZELTO_FIELD(GroundType);
  ZELTO_FIELD(GroundMoisture);
  ZELTO_FIELD(WindDirection);
  ZELTO_FIELD(WindHeight);
  ZELTO_FIELD(SigmaThetaFlag);
  ZELTO_FIELD(SigmaTheta);
  ZELTO_FIELD(SigmaThetaTime);
  ZELTO_FIELD(WindSpeed);
  ZELTO_FIELD(AirTempC);
  ZELTO_FIELD(AirTempK);
  ZELTO_FIELD(CloudCover);
  ZELTO_FIELD(CloudType);
  ZELTO_FIELD(InversionBase);
  ZELTO_FIELD(MixingHeight);

  // 3. Derived meteorology
  ZELTO_FIELD(LocalDateText);
  ZELTO_FIELD(LocalTimeText);
  ZELTO_FIELD(TimeDifference);
  ZELTO_FIELD(DayNightFlag);
  ZELTO_FIELD(SolarElevation);
  ZELTO_FIELD(AirPressure);
  ZELTO_FIELD(Albedo);
  ZELTO_FIELD(CloudTypeFactor);
  ZELTO_FIELD(NetRadiationFactor);
  ZELTO_FIELD(MoistureFactor);
  ZELTO_FIELD(SolarRadiation);
  ZELTO_FIELD(SensibleHeatFlux);
  ZELTO_FIELD(FrictionVelocity);
  ZELTO_FIELD(MoninObukhovLength);
  ZELTO_FIELD(InverseMoninObukhovLength);
  ZELTO_FIELD(RoughnessProfileTerm);
  ZELTO_FIELD(WindSpeed10m);
  ZELTO_FIELD(HorizontalStability);
  ZELTO_FIELD(VerticalStability);
  ZELTO_FIELD(StabilityText);
  ZELTO_FIELD(DispersionRoughness);
  ZELTO_FIELD(AirDensity);
  ZELTO_FIELD(AirViscosity);
  ZELTO_FIELD(AirKinematicViscosity);

  // 4. Substance
  ZELTO_FIELD(ChemicalIndex);
  ZELTO_FIELD(ChemicalName);
  ZELTO_FIELD(TwaPpm);
  ZELTO_FIELD(TwaMg);
  ZELTO_FIELD(StelPpm);
  ZELTO_FIELD(StelMg);
  ZELTO_FIELD(MolecularWeight);
  ZELTO_FIELD(BoilingPointK);
  ZELTO_FIELD(CriticalTempK);
  ZELTO_FIELD(CriticalPressure);
  ZELTO_FIELD(CriticalVolume);
  ZELTO_FIELD(VaporPressA);
  ZELTO_FIELD(VaporPressB);
  ZELTO_FIELD(VaporPressC);
  ZELTO_FIELD(LiquidDensityA);
  ZELTO_FIELD(LiquidDensityB);
  ZELTO_FIELD(MolecularDiameter);
  ZELTO_FIELD(InteractionEnergy);
  ZELTO_FIELD(VosslerIndex);
  ZELTO_FIELD(FreezingPointK);
  ZELTO_FIELD(VapViscA);
  ZELTO_FIELD(VapViscB);
  ZELTO_FIELD(VapViscC);
  ZELTO_FIELD(VapViscTmax);
  ZELTO_FIELD(VapViscTmin);
  ZELTO_FIELD(VapCpA);
  ZELTO_FIELD(VapCpB);
  ZELTO_FIELD(VapCpC);
  ZELTO_FIELD(VapCpD);
  ZELTO_FIELD(VapCpTmax);
  ZELTO_FIELD(VapCpTmin);
  ZELTO_FIELD(VapCondA);
  ZELTO_FIELD(VapCondB);
  ZELTO_FIELD(VapCondC);
  ZELTO_FIELD(VapCondD);
  ZELTO_FIELD(VapCondTmax);
  ZELTO_FIELD(VapCondTmin);
  ZELTO_FIELD(HeatVapA);
  ZELTO_FIELD(HeatVapB);
  ZELTO_FIELD(HeatVapC);
  ZELTO_FIELD(HeatVapD);
  ZELTO_FIELD(HeatVapTmax);
  ZELTO_FIELD(HeatVapTmin);
  ZELTO_FIELD(SatPressA);
  ZELTO_FIELD(SatPressB);
  ZELTO_FIELD(SatPressC);
  ZELTO_FIELD(SatPressD);
  ZELTO_FIELD(SatPressE);
  ZELTO_FIELD(SatPressF);
  ZELTO_FIELD(SatPressTmax);
  ZELTO_FIELD(SatPressTmin);
  ZELTO_FIELD(LiqCondA);
  ZELTO_FIELD(LiqCondB);
  ZELTO_FIELD(LiqCondC);
  ZELTO_FIELD(LiqCondTmax);
  ZELTO_FIELD(LiqCondTmin);
  ZELTO_FIELD(DiffusionVolume);
  ZELTO_FIELD(VaporPressure);
  ZELTO_FIELD(LiquidDensity);
  ZELTO_FIELD(VaporDensity);
  ZELTO_FIELD(PpmFactor);
  {
    // Slot 0 (the temporary substance) is part of the list.
    BatchJson chemicals = BatchJson::array();
    for (int k = 0; k <= s.ChemicalCount && static_cast<size_t>(k) < s.Chemicals.size(); ++k) {
      const ChemicalEntry& c = s.Chemicals[static_cast<size_t>(k)];
      BatchJson e = BatchJson::object();
      e["Name"] = c.Name;
      e["TwaPpm"] = c.TwaPpm;
      e["TwaMg"] = c.TwaMg;
      e["StelPpm"] = c.StelPpm;
      e["StelMg"] = c.StelMg;
      e["Params"] = Range(c.Params, 1, 12);
      e["VosslerIndex"] = c.VosslerIndex;
      chemicals.push_back(std::move(e));
    }
    obj["Chemicals"] = std::move(chemicals);
  }
  ZELTO_FIELD(ChemicalCount);
  {
    BatchJson sets = BatchJson::array();
    for (int k = 0; k <= s.VosslerSetCount && static_cast<size_t>(k) < s.VosslerSets.size(); ++k) {
      const VosslerSet& v = s.VosslerSets[static_cast<size_t>(k)];
      BatchJson e = BatchJson::object();
      e["Name"] = v.Name;
      e["Values"] = Range(v.Values, 1, 40);
      sets.push_back(std::move(e));
    }
    obj["VosslerSets"] = std::move(sets);
  }
  ZELTO_FIELD(VosslerSetCount);
  ZELTO_FIELD(GeneralParamText);
  ZELTO_FIELD(VosslerParamText);

  // 5. Release and source term
  ZELTO_FIELD(ReleaseMode);
  ZELTO_FIELD(ReleaseDuration);
  ZELTO_FIELD(ReleaseRate);
  ZELTO_FIELD(ReleaseMass);
  ZELTO_FIELD(IsLiquid);
  ZELTO_FIELD(PoolArea);
  ZELTO_FIELD(PoolTemperature);
  ZELTO_FIELD(StackHeight);
  ZELTO_FIELD(StackGasTemperature);
  ZELTO_FIELD(StackFlowRate);
  ZELTO_FIELD(EffectivePlumeHeight);
  ZELTO_FIELD(BuoyancyFlux);
  ZELTO_FIELD(PlumeRise);
  ZELTO_FIELD(FinalRiseDistance);
  ZELTO_FIELD(EvapRate);
  ZELTO_FIELD(SourceStrength);
  ZELTO_FIELD(SourceSize);
  ZELTO_FIELD(WindExponent);
  ZELTO_FIELD(LengthExponent);
  ZELTO_FIELD(SatPressure);
  ZELTO_FIELD(SurfaceMoleFraction);
  ZELTO_FIELD(MassTransferCoef);
  ZELTO_FIELD(VaporizationHeat);
  ZELTO_FIELD(MixConductivity);
  ZELTO_FIELD(LiquidConductivity);
  ZELTO_FIELD(MixHeatCapacity);
  ZELTO_FIELD(NetRadiation);
  ZELTO_FIELD(PoolEmission);
  ZELTO_FIELD(ConvectiveFlux);
  ZELTO_FIELD(SublimationHeat);
  ZELTO_FIELD(ConvectiveCoef);
  ZELTO_FIELD(EvaporativeFlux);
  ZELTO_FIELD(SchmidtNumber);
  ZELTO_FIELD(MixViscosity);

  // 6. Computation targets
  ZELTO_FIELD(AveragingTime);
  ZELTO_FIELD(PredictionTime);
  ZELTO_FIELD(ReceptorHeight);
  // The target fields stand at the top level under their own names and,
  // grouped as in the record, under "Targets".
  const TargetSet& t = s.Targets;
  BatchJson targets = BatchJson::object();
  targets["ThresholdText"] = t.ThresholdText;
  targets["PointCount"] = t.PointCount;
  targets["PointText"] = t.PointText;
  {
    BatchJson rows = BatchJson::array();
    for (int n = 1; n <= t.PointCount && static_cast<size_t>(n) < t.Points.size(); ++n) {
      rows.push_back(Range(t.Points[static_cast<size_t>(n)], 1, 5));
    }
    targets["Points"] = std::move(rows);
  }
  targets["ReceptorX"] = t.ReceptorX;
  targets["ReceptorY"] = t.ReceptorY;
  targets["ThresholdCount"] = t.ThresholdCount;
  targets["Thresholds"] = Range(t.Thresholds, 1, t.ThresholdCount);
  for (const auto& item : targets.items()) obj[item.key()] = item.value();
  obj["Targets"] = std::move(targets);
  ZELTO_FIELD(ResultKind);

  // 7. Results
  ZELTO_FIELD(Concentration);
  ZELTO_FIELD(PuffAge);
  ZELTO_FIELD(PuffMass);
  ZELTO_FIELD(PuffConcentration);
  ZELTO_FIELD(SigmaDistance);
  ZELTO_FIELD(SigmaX);
  ZELTO_FIELD(SigmaY);
  ZELTO_FIELD(SigmaZ);
  ZELTO_FIELD(MaxConcentration);
  ZELTO_FIELD(MaxConcentrationX);
  obj["ContourPointCount"] = Range(s.ContourPointCount, 1, t.ThresholdCount);
  obj["ContourX"] = ContourTable(s, s.ContourX);
  obj["ContourHalfWidth"] = ContourTable(s, s.ContourHalfWidth);
  obj["ContourAxisConc"] = ContourTable(s, s.ContourAxisConc);
  obj["MaxHalfWidth"] = Range(s.MaxHalfWidth, 1, t.ThresholdCount);
  obj["MaxHalfWidthX"] = Range(s.MaxHalfWidthX, 1, t.ThresholdCount);
  ZELTO_FIELD(HazardDistance);
  ZELTO_FIELD(HazardTime);
  ZELTO_FIELD(ZoneLength);
  ZELTO_FIELD(ZoneAngle);
  ZELTO_FIELD(HazardLimitReached);
  ZELTO_FIELD(ContourText);
}

#undef ZELTO_FIELD

namespace {

BatchJson OptionalTime(bool present, float value) { return present ? BatchJson(value) : BatchJson(nullptr); }

BatchJson FiguresJson(const CurveFigures& f) {
  BatchJson o = BatchJson::object();
  o["Peak"] = f.peak;
  o["PeakTime"] = f.peakTime;
  o["Dose"] = f.dose;
  o["Max60Mean"] = f.max60;
  BatchJson list = BatchJson::array();
  for (const ThresholdTimes& t : f.thresholds) {
    BatchJson one = BatchJson::object();
    one["Threshold"] = t.threshold;
    one["Reached"] = t.reached;
    one["Arrival"] = OptionalTime(t.reached, t.arrival);
    one["End"] = OptionalTime(t.ended, t.end);
    one["Above"] = t.above;
    list.push_back(std::move(one));
  }
  o["Thresholds"] = std::move(list);
  return o;
}

const char* EndName(CurveEnd end) {
  switch (end) {
    case CurveEnd::Faded:
      return "faded";
    case CurveEnd::Steady:
      return "steady";
    case CurveEnd::TimeLimit:
      return "time-limit";
    case CurveEnd::NotReached:
      return "not-reached";
  }
  return "faded";
}

}  // namespace

BatchJson CurvesJson(const std::vector<PointCurve>& curves) {
  BatchJson list = BatchJson::array();
  for (const PointCurve& c : curves) {
    BatchJson o = BatchJson::object();
    o["Point"] = c.point;
    o["X"] = c.x;
    o["Y"] = c.y;
    o["Z"] = c.z;
    o["AirExchange"] = static_cast<float>(c.exchangePerHour);
    o["End"] = EndName(c.end);
    o["Points"] = static_cast<int>(c.t.size());
    o["Outdoor"] = FiguresJson(c.outdoor);
    o["Indoor"] = FiguresJson(c.indoor);
    o["IndoorAboveOutdoor"] = OptionalTime(c.indoorAbove, c.indoorAboveTime);
    list.push_back(std::move(o));
  }
  return list;
}

}  // namespace zelto
