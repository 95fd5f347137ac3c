// Checks of the main window's boxes and the list, molecular-weight, roughness
// and point-series handlers.
#include <cmath>
#include <cstdlib>

#include "core/TextConv.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

// Message shown when a box's value lies beyond the 32-bit range, per box;
// nullptr where the box keeps no number (date and time boxes).
const char* RangeMessage(int index) {
  switch (index) {
    case box::ReleaseDate:
    case box::ReleaseTime:
      return nullptr;
    case box::WindHeight:
      return "不能小于1m!";
    case box::SigmaTheta:
      return "不能大于180 度!";
    case box::SigmaThetaTime:
      return "有效范围[1,60]!";
    case box::AirTemperature:
      return "有效范围[-50,60]!";
    case box::CloudCover:
      return "有效范围[0,10]!";
    case box::PoolArea:
      return "无效!最小为1";
    case box::AveragingTime:
      return "不可小于 1 min!";
    default:
      return "无效!";
  }
}

// Appends the hemisphere letter to |v| written in double precision.
std::string CoordinateText(double magnitude, const char* letter) {
  if (magnitude == 0) magnitude = 0;  // no "-0"
  return FormatGeneralDouble(magnitude) + letter;
}

bool EndsWithLetter(const std::string& text, char upper) {
  if (text.empty()) return false;
  char last = text.back();
  return last == upper || last == static_cast<char>(upper - 'A' + 'a');
}

}  // namespace

void MainWindow::RejectBox(int index, bool& cancel, const char* message) {
  if (message != nullptr) sink.ShowMessage(message);
  SetFocus(ControlKind::Text1, index);
  cancel = true;
}

void MainWindow::Text1_Validate(int index, bool& cancel) {
  cancel = false;
  if (index < 0 || index >= static_cast<int>(Text1.size())) return;
  // Release height and stack flow are not checked while their boxes are disabled.
  if ((index == box::ReleaseHeight || index == box::StackFlow) && !Text1[index].Enabled) return;

  std::string text = TrimSpaces(Text1[index].Text);
  double v = LeadingNumber(text);

  // A value no 32-bit number can hold is refused; the duration of an instantaneous
  // release is exempt because its value is replaced by "15" anyway.
  bool instantaneous = Combo1[combo::ReleaseMode].ListIndex == 0;
  const char* rangeMessage = RangeMessage(index);
  if (rangeMessage != nullptr && !(index == box::ReleaseDuration && instantaneous) && !FitsSingle(v)) {
    RejectBox(index, cancel, rangeMessage);
    return;
  }

  switch (index) {
    case box::Longitude: {  // longitude, east positive
      if (!(std::fabs(v) < 180)) return RejectBox(index, cancel, nullptr);
      double m = std::fabs(v);
      if (EndsWithLetter(text, 'W') || v < 0) {
        text = CoordinateText(m, "W");
        s.Longitude = static_cast<float>(-m);
      } else {
        text = CoordinateText(m, "E");
        s.Longitude = static_cast<float>(m);
      }
      RefreshInput(InputHalf::LocationAndTime);
      break;
    }
    case box::Latitude: {  // latitude, north positive
      if (!(std::fabs(v) < 90)) return RejectBox(index, cancel, nullptr);
      double m = std::fabs(v);
      if (EndsWithLetter(text, 'S') || v < 0) {
        text = CoordinateText(m, "S");
        s.Latitude = static_cast<float>(-m);
      } else {
        text = CoordinateText(m, "N");
        s.Latitude = static_cast<float>(m);
      }
      RefreshInput(InputHalf::LocationAndTime);
      break;
    }
    case box::ReleaseDate: {
      std::string date;
      if (!NormaliseDateText(text, date)) return RejectBox(index, cancel, "日期格式：YYYY/MM/DD");
      text = date;
      s.ReleaseDate = text;
      RefreshInput(InputHalf::LocationAndTime);
      break;
    }
    case box::ReleaseTime: {
      std::string time;
      if (!NormaliseTimeText(text, time)) return RejectBox(index, cancel, "时间格式: HH:MM:SS");
      text = time;
      s.ReleaseTime = text;
      RefreshInput(InputHalf::LocationAndTime);
      break;
    }
    case box::GroundElevation:
      s.GroundElevation = static_cast<float>(v);
      text = TextOfSingle(v);
      break;
    case box::WindDirection:
      s.WindDirection = ReduceWindDirection(v);
      text = TextOfSingle(s.WindDirection);
      break;
    case box::WindHeight:
      if (!(v >= 1)) return RejectBox(index, cancel, "不能小于1m!");
      s.WindHeight = static_cast<float>(v);
      break;
    case box::SigmaTheta:
      if (!(v <= 180)) return RejectBox(index, cancel, "不能大于180 度!");
      s.SigmaTheta = static_cast<float>(v);
      text = TextOfSingle(v);
      if (v > 0) {
        s.SigmaThetaFlag = 2;
        Text1[box::SigmaThetaTime].Enabled = true;
      } else {
        s.SigmaThetaFlag = 1;
        Text1[box::SigmaThetaTime].Enabled = false;
      }
      break;
    case box::WindSpeed:
      if (v < 0.5) text = "0.5";
      s.WindSpeed = BoxSingle(text);
      break;
    case box::SigmaThetaTime:
      if (!(v >= 1 && v <= 60)) return RejectBox(index, cancel, "有效范围[1,60]!");
      s.SigmaThetaTime = static_cast<float>(v);
      text = TextOfSingle(v);
      break;
    case box::AirTemperature:
      if (!(v >= -50 && v <= 60)) return RejectBox(index, cancel, "有效范围[-50,60]!");
      s.AirTempC = static_cast<float>(v);
      // Kelvin from the entered value in double precision, rounded once when
      // stored (not from the already rounded Celsius value).
      s.AirTempK = static_cast<float>(v + 273.16);
      text = TextOfSingle(v);
      break;
    case box::CloudCover: {
      // Cloud cover in tenths: refused below 0 or when it rounds above 10.
      double c = RoundHalfEven(v, 0);
      if (v < 0 || c > 10) return RejectBox(index, cancel, "有效范围[0,10]!");
      if (c == 0) c = 0;  // no "-0"
      s.CloudCover = static_cast<uint8_t>(c);
      text = TextOfSingle(c);
      Combo1[combo::CloudType].Enabled = s.DayNightFlag != "N" && s.CloudCover != 0;
      break;
    }
    case box::InversionBase:
      if (v < 0) text = "0";
      s.InversionBase = BoxSingle(text);
      s.MixingHeight = s.InversionBase;
      break;
    case box::ReleaseDuration:
      if (instantaneous) {
        text = "15";
        s.ReleaseDuration = 0.25f;
      } else {
        s.ReleaseDuration =
            static_cast<float>(Combo1[combo::DurationUnit].ListIndex == 1 ? v / 60.0 : v);
      }
      break;
    case box::ReleaseAmount:
    case box::StackFlow:
    case box::PredictionTime:
    case box::Thresholds:
      if (!(v > 0)) return RejectBox(index, cancel, "无效!");
      break;
    case box::PoolArea:
      if (!(v >= 1)) return RejectBox(index, cancel, "无效!最小为1");
      break;
    case box::ReleaseHeight:
      if (s.ReleaseMode == release::Stack ? !(v > 0) : !(v >= 0)) return RejectBox(index, cancel, "无效!");
      break;
    case box::AveragingTime:
      if (!(v >= 1)) return RejectBox(index, cancel, "不可小于 1 min!");
      break;
    default:  // molecular weight, vapour pressure, pool and stack gas temperature,
              // receptor height: trimmed only
      break;
  }
  SetText1(index, text);
}

void MainWindow::Text1_Change(int index) {
  if (index != box::MolecularWeight) return;
  // The ppm unit needs a molecular weight.
  if (LeadingNumber(Text1[box::MolecularWeight].Text) > 0) {
    Combo1[combo::ThresholdUnit].Enabled = true;
  } else {
    Combo1[combo::ThresholdUnit].Enabled = false;
    SetListIndex(combo::ThresholdUnit, 0);
  }
}

void MainWindow::Combo1_Click(int index) {
  if (Busy) return;
  if (index != combo::ReleaseMode && index != combo::DurationUnit && index != combo::Substance) {
    return;
  }
  RefreshInput(InputHalf::ReleaseAndSubstance);
  if (index != combo::Substance || s.ChemicalIndex <= 0) return;

  // A defined substance fills the boxes its property set can supply.
  if (s.MolecularWeight > 0) SetText1(box::MolecularWeight, TextOfSingle(s.MolecularWeight));
  if (s.VaporPressA > 0 && s.VaporPressB == 0 && s.VaporPressC == 0) {
    SetText1(box::VaporPressure, TextOfSingle(s.VaporPressA));
  }
  bool haveCandidate = false;
  float candidate = 0;
  if (Combo1[combo::ThresholdUnit].ListIndex == 1) {
    if (s.TwaPpm > 0) {
      candidate = s.TwaPpm;
      haveCandidate = true;
    } else if (s.StelPpm > 0) {
      candidate = s.StelPpm;
      haveCandidate = true;
    }
  } else {
    if (s.TwaMg > 0) {
      candidate = s.TwaMg;
      haveCandidate = true;
    } else if (s.StelMg > 0) {
      candidate = s.StelMg;
      haveCandidate = true;
    }
  }
  // A threshold the operator entered is never replaced.
  if (haveCandidate && LeadingNumber(Text1[box::Thresholds].Text) == 0) SetText1(box::Thresholds, TextOfSingle(candidate));
}

void MainWindow::Combo1_LostFocus(int index) {
  if (index != combo::Roughness) return;
  std::string text = Combo1[combo::Roughness].Text;
  ConfineRoughnessText(text);
  Combo1[combo::Roughness].Text = text;
}

void MainWindow::Check1_Click() { Text2.Enabled = Check1.Value == 1; }

}  // namespace zelto
