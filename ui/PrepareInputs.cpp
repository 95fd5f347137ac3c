// Computation driver of the main window: every input read into the model
// record before the dispersion stages, and the three buttons of the groups.
#include <cmath>
#include <string>

#include "core/ListParse.h"
#include "core/TextConv.h"
#include "met/Meteorology.h"
#include "source/SourceTerm.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

const char* const kPointListMessage =
    "系列计算点：每一行输入一个计算点定义，格式为（X,Y,Z,T)，其中X和Y为顺风和横风向坐标，Z为离地高，"
    "T为预测时刻(min)。以逗号分隔";
const char* const kAmountTooLarge = "物质泄漏速率/泄漏量过大，无法换算为克!";
const char* const kPoolAreaFailed = "无法估算液池面积：液体密度无效!";
const char* const kPpmFactorFailed = "无法计算ppm换算系数：请检查物质分子量和地面高程!";
const char* const kPpmWithoutWeight =
    "阈值单位为ppm时，须输入大于0的物质分子量，才能换算为mg/m3!";

}  // namespace

bool MainWindow::PrepareInputs() {
  // 1. Every box checked in index order; the list handlers stay quiet meanwhile.
  Busy = true;
  for (int i = 0; i < static_cast<int>(Text1.size()); ++i) {
    bool cancel = false;
    Text1_Validate(i, cancel);
    if (cancel) {
      Busy = false;
      return false;
    }
  }
  // 2. Location and time.
  Busy = false;
  RefreshInput(InputHalf::LocationAndTime);

  // 3. Roughness length (cm), confined to 0.5..100 by value.
  {
    std::string text = Combo1[combo::Roughness].Text;
    // Only a confined value is written back; a chosen item keeps its blanks.
    if (ConfineRoughnessText(text)) Combo1[combo::Roughness].Text = text;
    s.Roughness = BoxSingle(text);
    s.DispersionRoughness = s.Roughness;
  }

  // 4. Ground and cloud codes.
  s.GroundType = static_cast<uint8_t>(Combo1[combo::GroundType].ListIndex + 1);
  s.GroundMoisture = static_cast<uint8_t>(Combo1[combo::GroundMoisture].ListIndex + 1);
  s.CloudType = static_cast<uint8_t>(Combo1[combo::CloudType].ListIndex + 1);

  // 5. Surface and radiation parameters.
  ComputeSurfaceFactors(s);

  // 6. Station pressure (mb) from the ground elevation (m).
  s.AirPressure = static_cast<float>(1013.25 - static_cast<double>(s.GroundElevation) * 0.1148);
  RefreshInput(InputHalf::ReleaseAndSubstance);

  // 7. Release mode and duration (min).
  s.ReleaseMode = static_cast<uint8_t>(Combo1[combo::ReleaseMode].ListIndex + 1);
  if (s.ReleaseMode == release::Instantaneous) {
    s.ReleaseDuration = 0.25f;
  } else if (!(s.ReleaseDuration > 0.25f)) {
    sink.ShowMessage("非瞬时泄漏，泄漏时长必须大于15s!");
    SetFocus(ControlKind::Text1, box::ReleaseDuration);
    return false;
  }

  // 8. Liquid density at the ambient temperature.
  ComputeLiquidDensity(s);

  // 9. Release amount in grams and grams per minute.
  if (!ConvertReleaseAmount(s, LeadingNumber(Text1[box::ReleaseAmount].Text), Combo1[combo::AmountUnit].ListIndex != 0)) {
    sink.ShowMessage(kAmountTooLarge);
    SetFocus(ControlKind::Text1, box::ReleaseAmount);
    return false;
  }

  // 10. Molecular weight and the ppm factor; without a positive weight the
  // factor keeps its previous value.
  s.MolecularWeight = BoxSingle(Text1[box::MolecularWeight].Text);
  if (s.MolecularWeight > 0) {
    float factor = 0;
    if (!ComputePpmFactor(s, s.MolecularWeight, factor)) {
      sink.ShowMessage(kPpmFactorFailed);
      SetFocus(ControlKind::Text1, box::MolecularWeight);
      return false;
    }
    s.PpmFactor = factor;
  }

  // 11. Vapour pressure (mmHg): the defined substance's constant when it has one.
  s.VaporPressA = BoxSingle(Text1[box::VaporPressure].Text);
  if (s.ChemicalIndex >= 1 && s.ChemicalIndex < static_cast<int>(s.Chemicals.size()) &&
      s.Chemicals[s.ChemicalIndex].Params[6] > 0) {
    s.VaporPressA = s.Chemicals[s.ChemicalIndex].Params[6];
  }

  // 12. Liquid pool or gas.
  if (s.ReleaseMode == release::Stack) {
    s.VaporPressA = 0;
    s.IsLiquid = false;
  } else {
    s.IsLiquid = (s.MolecularWeight > 0 && s.VaporPressA > 0 && s.ChemicalIndex == 0) ||
                 (s.ChemicalIndex > 0 && s.AirTempK < s.BoilingPointK);
  }

  // 13. Pool, release height and stack data.
  float typedPoolArea = BoxSingle(Text1[box::PoolArea].Text);
  s.PoolArea = typedPoolArea;
  s.PoolTemperature = BoxSingle(Text1[box::PoolTemperature].Text);
  s.EffectivePlumeHeight = BoxSingle(Text1[box::ReleaseHeight].Text);
  s.StackHeight = s.EffectivePlumeHeight;
  // Kelvin from the typed deg C in double precision, rounded once when stored.
  const double stackGasC = LeadingNumber(Text1[box::StackGasTemperature].Text);
  s.StackGasTemperature = static_cast<float>((FitsSingle(stackGasC) ? stackGasC : 0.0) + 273.15);
  s.StackFlowRate = BoxSingle(Text1[box::StackFlow].Text);
  if (!(s.StackHeight >= 1)) s.StackHeight = 1;
  if (!(s.StackFlowRate > 0)) s.StackFlowRate = 1;
  SetText1(box::StackFlow, TextOfSingle(s.StackFlowRate));

  // 14. Pool area (m2): estimated when not positive, rounded, at least 1.
  {
    float area = 0;
    if (!ResolvePoolArea(s, typedPoolArea, area)) {
      sink.ShowMessage(kPoolAreaFailed);
      SetFocus(ControlKind::Text1, box::PoolArea);
      return false;
    }
    s.PoolArea = area;
    SetText1(box::PoolArea, TextOfSingle(s.PoolArea));
  }

  // 15. Averaging time (min).
  s.AveragingTime = BoxSingle(Text1[box::AveragingTime].Text);

  // 16. Meteorology and source term.
  std::string message;
  if (!RunMeteorology(s, message)) {
    sink.ShowMessage(message);
    return false;
  }
  if (!ComputeSourceStrength(s, message)) {
    sink.ShowMessage(message);
    return false;
  }

  // 17, 18. Averaging time at least 1 min and not longer than the release.
  if (RaiseAveragingTime(s.AveragingTime)) SetText1(box::AveragingTime, "1");
  std::string refusal = AveragingTimeRefusal(s.AveragingTime, s.ReleaseDuration);
  if (!refusal.empty()) {
    sink.ShowMessage(refusal);
    SetFocus(ControlKind::Text1, box::AveragingTime);
    return false;
  }

  // 19. Prediction time (min) and receptor height (m).
  s.PredictionTime = BoxSingle(Text1[box::PredictionTime].Text);
  s.ReceptorHeight = BoxSingle(Text1[box::ReceptorHeight].Text);

  // 20. Thresholds, ascending, in mg/m3.
  TargetSet& t = s.Targets;
  t.ThresholdText = TrimSpaces(Text1[box::Thresholds].Text);
  int16_t count = 0;
  std::vector<float> thresholds = ParseNumberList(t.ThresholdText, count, true);
  t.Thresholds = thresholds;
  t.ThresholdCount = count;
  if (t.ThresholdCount <= 0) {
    sink.ShowMessage("廓线的阈值无效!");
    SetFocus(ControlKind::Text1, box::Thresholds);
    return false;
  }
  SortSingles(t.Thresholds, 0);
  if (Combo1[combo::ThresholdUnit].ListIndex != 0) {
    // Entries in ppm: mg/m3 = ppm / (ppm per mg/m3). The factor exists only
    // once a positive molecular weight has been read.
    if (!(s.PpmFactor > 0) || !std::isfinite(s.PpmFactor)) {
      sink.ShowMessage(kPpmWithoutWeight);
      SetFocus(ControlKind::Text1, box::Thresholds);
      return false;
    }
    std::string text;
    for (int i = 1; i <= t.ThresholdCount && i < static_cast<int>(t.Thresholds.size()); ++i) {
      double mg = static_cast<double>(t.Thresholds[i]) / static_cast<double>(s.PpmFactor);
      if (!FitsSingle(mg)) {
        sink.ShowMessage("廓线的阈值无效!");
        SetFocus(ControlKind::Text1, box::Thresholds);
        return false;
      }
      t.Thresholds[i] = static_cast<float>(mg);
      if (!text.empty()) text += ",";
      text += TextOfSingle(t.Thresholds[i]);
    }
    t.ThresholdText = text;
  }

  // 21, 22. Receptor points when the series is ticked.
  if (Check1.Value != 1) {
    t.PointText.clear();
    t.PointCount = 0;
    return true;
  }
  t.PointText = TrimSpaces(Text2.Text);
  t.PointCount = ParsePointList(t.PointText, t.Points);
  if (t.PointCount <= 0) {
    sink.ShowMessage(kPointListMessage);
    SetFocus(ControlKind::Text2, 0);
    return false;
  }
  std::string lines;
  for (int i = 1; i <= t.PointCount && i < static_cast<int>(t.Points.size()); ++i) {
    PointRow& p = t.Points[i];
    if (p[1] < 10) p[1] = 10;  // at least 10 m downwind
    if (p[3] < 0) p[3] = 0;    // not below ground
    if (!(p[4] > 0)) p[4] = i == 1 ? s.PredictionTime : t.Points[i - 1][4];
    if (i > 1) lines += "\r\n";
    lines += TextOfSingle(p[1]) + "," + TextOfSingle(p[2]) + "," + TextOfSingle(p[3]) + "," +
             TextOfSingle(p[4]);
  }
  Text2.Text = lines;
  return true;
}

void MainWindow::Command1_Click(int index) {
  switch (index) {
    case command::Properties: {
      // Property editor, then the substance is chosen again so that its
      // edited properties reach the model record and the boxes.
      int remembered = Combo1[combo::Substance].ListIndex;
      if (OpenEditor) OpenEditor();
      ComboBox& names = Combo1[combo::Substance];
      if (remembered >= 0 && remembered < static_cast<int>(names.Items.size())) {
        names.ListIndex = remembered;
        names.Text = names.Items[remembered];
        Combo1_Click(combo::Substance);
      }
      if (names.Items.size() > 1 && s.Chemicals.size() > 1) {
        names.Items[1] = s.Chemicals[1].Name;
        if (names.ListIndex == 1) names.Text = names.Items[1];
      }
      break;
    }
    case command::EstimatePoolArea: {
      // Pool area estimate from the released amount; the typed area is ignored.
      RefreshInput(InputHalf::ReleaseAndSubstance);
      double v = LeadingNumber(Text1[box::ReleaseAmount].Text);
      if (!(v > 0) || !FitsSingle(v)) {
        sink.ShowMessage("无效！");
        SetFocus(ControlKind::Text1, box::ReleaseAmount);
        return;
      }
      ComputeLiquidDensity(s);
      if (s.ReleaseMode == release::Instantaneous ||
          s.ReleaseMode == release::ShortOrContinuous) {
        if (!ConvertReleaseAmount(s, v, Combo1[combo::AmountUnit].ListIndex != 0)) {
          sink.ShowMessage(kAmountTooLarge);
          SetFocus(ControlKind::Text1, box::ReleaseAmount);
          return;
        }
      }
      float area = 0;
      if (!EstimatePoolArea(s, area)) {
        sink.ShowMessage(kPoolAreaFailed);
        SetFocus(ControlKind::Text1, box::PoolArea);
        return;
      }
      s.PoolArea = SettlePoolArea(area);
      SetText1(box::PoolArea, TextOfSingle(s.PoolArea));
      break;
    }
    case command::Compute:
      RefreshResults();
      break;
    default:
      break;
  }
}

}  // namespace zelto
