// Computation driver of the main window: every input read into the model
// record before the dispersion stages, and the three buttons of the groups.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "chem/ParamSlots.h"
#include "core/ListParse.h"
#include "core/ModelState.h"
#include "core/TextConv.h"
#include "dispersion/Dispersion.h"
#include "met/Meteorology.h"
#include "source/SourceTerm.h"
#include "ui/ControlIds.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

const char* const kAmountTooLarge = "物质泄漏速率/泄漏量过大，无法换算为克!";
const char* const kPoolAreaFailed = "无法估算液池面积：液体密度无效!";
const char* const kPpmFactorFailed = "无法计算ppm换算系数：请检查物质分子量和地面高程!";
const char* const kPpmWithoutWeight =
    "阈值单位为ppm时，须输入大于0的物质分子量，才能换算为mg/m3!";
const char* const kDurationTooShort = "非瞬时泄漏，泄漏时长必须大于15s!";

// Shows the message, returns the focus to the box at fault and refuses.
bool Refuse(MainWindow& w, const std::string& message, box::Id box) {
  w.sink.ShowMessage(message);
  w.SetFocus(ControlKind::Text1, box);
  return false;
}

// Every box checked in index order; the list handlers stay quiet meanwhile.
bool CheckEveryBox(MainWindow& w) {
  w.Busy = true;
  for (int i = 0; i < box::Count; ++i) {
    bool cancel = false;
    w.Text1_Validate(i, cancel);
    if (cancel) {
      w.Busy = false;
      return false;
    }
  }
  w.Busy = false;
  return true;
}

// Roughness length (cm), confined to 0.5..100 by value.
void ReadRoughness(MainWindow& w) {
  ComboBox& list = w.Combo1[combo::Roughness];
  std::string text = list.Text;
  // Only a confined value is written back; a chosen item keeps its blanks.
  if (ConfineRoughnessText(text)) list.Text = text;
  w.s.Roughness = BoxSingle(text);
  w.s.DispersionRoughness = w.s.Roughness;
}

// Ground and cloud codes (1-based) from the lists.
void ReadGroundAndCloud(MainWindow& w) {
  w.s.GroundType = static_cast<uint8_t>(w.Combo1[combo::GroundType].ListIndex + 1);
  w.s.GroundMoisture = static_cast<uint8_t>(w.Combo1[combo::GroundMoisture].ListIndex + 1);
  w.s.CloudType = static_cast<uint8_t>(w.Combo1[combo::CloudType].ListIndex + 1);
}

// Release mode and duration (min): an instantaneous release lasts 15 s, any
// other must last longer.
bool ReadReleaseMode(MainWindow& w) {
  ModelState& s = w.s;
  s.ReleaseMode = static_cast<uint8_t>(w.Combo1[combo::ReleaseMode].ListIndex + 1);
  if (s.ReleaseMode == release::Instantaneous) {
    s.ReleaseDuration = kInstantaneousDuration;
    return true;
  }
  if (!(s.ReleaseDuration > kInstantaneousDuration)) return Refuse(w, kDurationTooShort, box::ReleaseDuration);
  return true;
}

// Release amount in grams and grams per minute.
bool ReadReleaseAmount(MainWindow& w) {
  const double amount = LeadingNumber(w.Text1[box::ReleaseAmount].Text);
  const bool volumeUnit = w.Combo1[combo::AmountUnit].ListIndex != 0;
  if (!ConvertReleaseAmount(w.s, amount, volumeUnit)) {
    return Refuse(w, kAmountTooLarge, box::ReleaseAmount);
  }
  return true;
}

// Molecular weight and the ppm factor; without a positive weight the factor
// keeps its previous value.
bool ReadMolecularWeight(MainWindow& w) {
  ModelState& s = w.s;
  s.MolecularWeight = BoxSingle(w.Text1[box::MolecularWeight].Text);
  if (!(s.MolecularWeight > 0)) return true;
  float factor = 0;
  if (!ComputePpmFactor(s, s.MolecularWeight, factor)) {
    return Refuse(w, kPpmFactorFailed, box::MolecularWeight);
  }
  s.PpmFactor = factor;
  return true;
}

// Vapour pressure (mmHg): the defined substance's constant when it has one.
void ReadVaporPressure(MainWindow& w) {
  ModelState& s = w.s;
  s.VaporPressA = BoxSingle(w.Text1[box::VaporPressure].Text);
  const int k = s.ChemicalIndex;
  if (k >= 1 && k < static_cast<int>(s.Chemicals.size()) &&
      s.Chemicals[k].Params[general::VaporPressureA] > 0) {
    s.VaporPressA = s.Chemicals[k].Params[general::VaporPressureA];
  }
}

// A liquid pool or a gas: a stack always releases gas; the temporary substance
// is a liquid when it has a molecular weight and a vapour pressure, a defined
// one when it boils above the air temperature.
void DecideLiquidOrGas(ModelState& s) {
  if (s.ReleaseMode == release::Stack) {
    s.VaporPressA = 0;
    s.IsLiquid = false;
    return;
  }
  s.IsLiquid = (s.MolecularWeight > 0 && s.VaporPressA > 0 && s.ChemicalIndex == 0) ||
               (s.ChemicalIndex > 0 && s.AirTempK < s.BoilingPointK);
}

// Pool temperature, release height and stack data; returns the pool area as
// typed (m2). Stack height and flow are raised to at least 1.
float ReadPoolAndStack(MainWindow& w) {
  ModelState& s = w.s;
  const float typedPoolArea = BoxSingle(w.Text1[box::PoolArea].Text);
  s.PoolArea = typedPoolArea;
  s.PoolTemperature = BoxSingle(w.Text1[box::PoolTemperature].Text);
  s.EffectivePlumeHeight = BoxSingle(w.Text1[box::ReleaseHeight].Text);
  s.StackHeight = s.EffectivePlumeHeight;
  const double stackGasC = LeadingNumber(w.Text1[box::StackGasTemperature].Text);
  s.StackGasTemperature = StackGasTemperatureK(stackGasC);
  s.StackFlowRate = BoxSingle(w.Text1[box::StackFlow].Text);
  if (!(s.StackHeight >= 1)) s.StackHeight = 1;
  if (!(s.StackFlowRate > 0)) s.StackFlowRate = 1;
  w.SetText1(box::StackFlow, TextOfSingle(s.StackFlowRate));
  return typedPoolArea;
}

// Pool area (m2): estimated when not positive, rounded, at least 1; shown in its box.
bool SettlePoolAreaBox(MainWindow& w, float typedPoolArea) {
  float area = 0;
  if (!ResolvePoolArea(w.s, typedPoolArea, area)) return Refuse(w, kPoolAreaFailed, box::PoolArea);
  w.s.PoolArea = area;
  w.SetText1(box::PoolArea, TextOfSingle(area));
  return true;
}

// Meteorology and source term; their refusals name no box.
bool RunMeteorologyAndSource(MainWindow& w) {
  std::string message;
  if (!RunMeteorology(w.s, message) || !ComputeSourceStrength(w.s, message)) {
    w.sink.ShowMessage(message);
    return false;
  }
  return true;
}

// Averaging time at least 1 min and not longer than the release.
bool CheckAveragingTime(MainWindow& w) {
  if (RaiseAveragingTime(w.s.AveragingTime)) w.SetText1(box::AveragingTime, "1");
  const std::string refusal = AveragingTimeRefusal(w.s.AveragingTime, w.s.ReleaseDuration);
  if (!refusal.empty()) return Refuse(w, refusal, box::AveragingTime);
  return true;
}

// Thresholds typed in ppm to mg/m3 (mg/m3 = ppm / ppm per mg/m3); the factor
// exists only once a positive molecular weight has been read. The threshold
// text then lists the converted values.
bool ConvertThresholdsFromPpm(MainWindow& w) {
  ModelState& s = w.s;
  TargetSet& t = s.Targets;
  if (!(s.PpmFactor > 0) || !std::isfinite(s.PpmFactor)) {
    return Refuse(w, kPpmWithoutWeight, box::Thresholds);
  }
  std::string text;
  for (int i = 1; i <= t.ThresholdCount && i < static_cast<int>(t.Thresholds.size()); ++i) {
    const double mg = static_cast<double>(t.Thresholds[i]) / static_cast<double>(s.PpmFactor);
    if (!FitsSingle(mg)) return Refuse(w, kThresholdsInvalidMessage, box::Thresholds);
    t.Thresholds[i] = static_cast<float>(mg);
    if (!text.empty()) text += ",";
    text += TextOfSingle(t.Thresholds[i]);
  }
  t.ThresholdText = text;
  return true;
}

// Thresholds, ascending, in mg/m3.
bool ReadThresholds(MainWindow& w) {
  TargetSet& t = w.s.Targets;
  t.ThresholdText = TrimSpaces(w.Text1[box::Thresholds].Text);
  int16_t count = 0;
  t.Thresholds = ParseNumberList(t.ThresholdText, count, true);
  t.ThresholdCount = count;
  if (t.ThresholdCount <= 0) return Refuse(w, kThresholdsInvalidMessage, box::Thresholds);
  SortSingles(t.Thresholds, 0);
  if (w.Combo1[combo::ThresholdUnit].ListIndex != 0) return ConvertThresholdsFromPpm(w);
  return true;
}

// Receptor points when the series is ticked: X at least 10 m downwind, Z not
// below ground, a missing time taken from the row before (the first from the
// prediction time); the list is written back in its cleaned form.
bool ReadPoints(MainWindow& w) {
  TargetSet& t = w.s.Targets;
  if (w.Check1.Value != 1) {
    t.PointText.clear();
    t.PointCount = 0;
    return true;
  }
  t.PointText = TrimSpaces(w.Text2.Text);
  t.PointCount = ParsePointList(t.PointText, t.Points);
  if (t.PointCount <= 0) {
    w.sink.ShowMessage(std::string("系列计算点：") + kPointListHint);
    w.SetFocus(ControlKind::Text2, 0);
    return false;
  }
  std::string lines;
  for (int i = 1; i <= t.PointCount && i < static_cast<int>(t.Points.size()); ++i) {
    PointRow& p = t.Points[i];
    if (p[1] < 10) p[1] = 10;
    if (p[3] < 0) p[3] = 0;
    if (!(p[4] > 0)) p[4] = i == 1 ? w.s.PredictionTime : t.Points[i - 1][4];
    if (i > 1) lines += "\r\n";
    lines += TextOfSingle(p[1]) + "," + TextOfSingle(p[2]) + "," + TextOfSingle(p[3]) + "," +
             TextOfSingle(p[4]);
  }
  w.Text2.Text = lines;
  return true;
}

// The property editor, then the substance is chosen again so that its edited
// properties reach the model record and the boxes.
void EditProperties(MainWindow& w) {
  ComboBox& names = w.Combo1[combo::Substance];
  const int remembered = names.ListIndex;
  if (w.OpenEditor) w.OpenEditor();
  if (remembered >= 0 && remembered < static_cast<int>(names.Items.size())) {
    names.ListIndex = remembered;
    names.Text = names.Items[remembered];
    w.Combo1_Click(combo::Substance);
  }
  if (names.Items.size() > 1 && w.s.Chemicals.size() > 1) {
    names.Items[1] = w.s.Chemicals[1].Name;
    if (names.ListIndex == 1) names.Text = names.Items[1];
  }
}

// Pool area estimate from the released amount; the typed area is ignored.
void EstimatePoolAreaBox(MainWindow& w) {
  ModelState& s = w.s;
  w.RefreshInput(InputHalf::ReleaseAndSubstance);
  const double amount = LeadingNumber(w.Text1[box::ReleaseAmount].Text);
  if (!(amount > 0) || !FitsSingle(amount)) {
    Refuse(w, "无效！", box::ReleaseAmount);
    return;
  }
  // Where the density cannot be computed it is 1: the estimate then assumes water.
  std::string densityMessage;
  ComputeLiquidDensity(s, densityMessage);
  if (s.ReleaseMode == release::Instantaneous || s.ReleaseMode == release::ShortOrContinuous) {
    if (!ConvertReleaseAmount(s, amount, w.Combo1[combo::AmountUnit].ListIndex != 0)) {
      Refuse(w, kAmountTooLarge, box::ReleaseAmount);
      return;
    }
  }
  float area = 0;
  if (!EstimatePoolArea(s, area)) {
    Refuse(w, kPoolAreaFailed, box::PoolArea);
    return;
  }
  s.PoolArea = SettlePoolArea(area);
  w.SetText1(box::PoolArea, TextOfSingle(s.PoolArea));
}

}  // namespace

bool MainWindow::PrepareInputs() {
  if (!CheckEveryBox(*this)) return false;
  RefreshInput(InputHalf::LocationAndTime);

  ReadRoughness(*this);
  ReadGroundAndCloud(*this);
  ComputeSurfaceFactors(s);
  s.AirPressure = StationPressure(s.GroundElevation);
  RefreshInput(InputHalf::ReleaseAndSubstance);

  if (!ReadReleaseMode(*this)) return false;
  // The density converts volumes; where it cannot be computed it is 1 here,
  // and the meteorology pass computes it again and refuses with the message.
  std::string densityMessage;
  ComputeLiquidDensity(s, densityMessage);
  if (!ReadReleaseAmount(*this)) return false;
  if (!ReadMolecularWeight(*this)) return false;
  ReadVaporPressure(*this);
  DecideLiquidOrGas(s);
  const float typedPoolArea = ReadPoolAndStack(*this);
  if (!SettlePoolAreaBox(*this, typedPoolArea)) return false;
  s.AveragingTime = BoxSingle(Text1[box::AveragingTime].Text);

  if (!RunMeteorologyAndSource(*this)) return false;
  if (!CheckAveragingTime(*this)) return false;

  s.PredictionTime = BoxSingle(Text1[box::PredictionTime].Text);
  s.ReceptorHeight = BoxSingle(Text1[box::ReceptorHeight].Text);
  if (!ReadThresholds(*this)) return false;
  return ReadPoints(*this);
}

void MainWindow::Command1_Click(int index) {
  if (Computing) return;  // the window is disabled
  switch (index) {
    case command::Properties:
      EditProperties(*this);
      // The editor is modal: closing it makes this window the active one
      // again, which checks every box against the edited properties. Without
      // an editor window (batch program) nothing was shown or left.
      if (OpenEditor) Form_Activate();
      break;
    case command::EstimatePoolArea:
      EstimatePoolAreaBox(*this);
      break;
    case command::Compute:
      RefreshResults();
      break;
    default:
      break;
  }
}

}  // namespace zelto
