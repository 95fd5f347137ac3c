// Checks of the main window's boxes and the list, molecular-weight, roughness
// and point-series handlers.
#include <cmath>
#include <cstdint>
#include <string>

#include "core/ModelState.h"
#include "core/TextConv.h"
#include "met/Meteorology.h"
#include "ui/ControlIds.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

// ---- What each box accepts ----

// Accepted values of a box's leading number (the release mode decides the
// release height's lower bound).
using Acceptance = bool (*)(double v, const ModelState& s);

bool InsideLongitude(double v, const ModelState&) { return std::fabs(v) < 180; }
bool InsideLatitude(double v, const ModelState&) { return std::fabs(v) < 90; }
bool AtLeastOne(double v, const ModelState&) { return v >= 1; }
bool AtMost180(double v, const ModelState&) { return v <= 180; }
bool OneToSixty(double v, const ModelState&) { return v >= 1 && v <= 60; }
bool AirTemperatureRange(double v, const ModelState&) { return v >= -50 && v <= 60; }
bool Positive(double v, const ModelState&) { return v > 0; }
// Cloud cover in tenths: not below 0, and not rounding above 10.
bool CloudCoverRange(double v, const ModelState&) {
  return !(v < 0) && !(RoundHalfEven(v, 0) > 10);
}
// A stack needs a height; other releases may be at ground level.
bool ReleaseHeightRange(double v, const ModelState& s) {
  return s.ReleaseMode == release::Stack ? v > 0 : v >= 0;
}

// ---- What each box stores ----

// Stores an accepted box into the model record and sets the text written back
// into the box. Returns false when the text cannot be read (date and time).
using Take = bool (*)(MainWindow& w, double v, std::string& text);

// Appends the hemisphere letter to |v| written in double precision.
std::string CoordinateText(double magnitude, const char* letter) {
  if (magnitude == 0) magnitude = 0;  // no "-0"
  return FormatGeneralDouble(magnitude) + letter;
}

bool EndsWithLetter(const std::string& text, char upper) {
  if (text.empty()) return false;
  const char last = text.back();
  return last == upper || last == static_cast<char>(upper - 'A' + 'a');
}

// A coordinate with its hemisphere: a negative value or the letter of the
// negative hemisphere gives a negative coordinate.
void TakeCoordinate(double v, std::string& text, char positive, char negative, float& field) {
  const double m = std::fabs(v);
  const bool isNegative = EndsWithLetter(text, negative) || v < 0;
  const char letter[2] = {isNegative ? negative : positive, '\0'};
  text = CoordinateText(m, letter);
  field = static_cast<float>(isNegative ? -m : m);
}

bool TakeLongitude(MainWindow& w, double v, std::string& text) {
  TakeCoordinate(v, text, 'E', 'W', w.s.Longitude);
  w.RefreshInput(InputHalf::LocationAndTime);
  return true;
}

bool TakeLatitude(MainWindow& w, double v, std::string& text) {
  TakeCoordinate(v, text, 'N', 'S', w.s.Latitude);
  w.RefreshInput(InputHalf::LocationAndTime);
  return true;
}

bool TakeDate(MainWindow& w, double, std::string& text) {
  std::string date;
  if (!NormaliseDateText(text, date)) return false;
  text = date;
  w.s.ReleaseDate = text;
  w.RefreshInput(InputHalf::LocationAndTime);
  return true;
}

bool TakeTime(MainWindow& w, double, std::string& text) {
  std::string time;
  if (!NormaliseTimeText(text, time)) return false;
  text = time;
  w.s.ReleaseTime = text;
  w.RefreshInput(InputHalf::LocationAndTime);
  return true;
}

bool TakeGroundElevation(MainWindow& w, double v, std::string& text) {
  w.s.GroundElevation = static_cast<float>(v);
  text = TextOfSingle(v);
  return true;
}

bool TakeWindDirection(MainWindow& w, double v, std::string& text) {
  w.s.WindDirection = ReduceWindDirection(v);
  text = TextOfSingle(w.s.WindDirection);
  return true;
}

bool TakeWindHeight(MainWindow& w, double v, std::string&) {
  w.s.WindHeight = static_cast<float>(v);
  return true;
}

// A positive sigma-theta is used, and then needs its averaging time.
bool TakeSigmaTheta(MainWindow& w, double v, std::string& text) {
  w.s.SigmaTheta = static_cast<float>(v);
  text = TextOfSingle(v);
  const bool given = v > 0;
  w.s.SigmaThetaFlag = given ? sigma_theta::Given : sigma_theta::NotGiven;
  w.Text1[box::SigmaThetaTime].Enabled = given;
  return true;
}

// Wind speed at least 0.5 m/s.
bool TakeWindSpeed(MainWindow& w, double v, std::string& text) {
  if (v < 0.5) text = "0.5";
  w.s.WindSpeed = BoxSingle(text);
  return true;
}

bool TakeSigmaThetaTime(MainWindow& w, double v, std::string& text) {
  w.s.SigmaThetaTime = static_cast<float>(v);
  text = TextOfSingle(v);
  return true;
}

bool TakeAirTemperature(MainWindow& w, double v, std::string& text) {
  w.s.AirTempC = static_cast<float>(v);
  w.s.AirTempK = AirTemperatureK(v);
  text = TextOfSingle(v);
  return true;
}

// Cloud cover rounded to whole tenths; the cloud type matters only by day
// under cloud.
bool TakeCloudCover(MainWindow& w, double v, std::string& text) {
  double c = RoundHalfEven(v, 0);
  if (c == 0) c = 0;  // no "-0"
  w.s.CloudCover = static_cast<uint8_t>(c);
  text = TextOfSingle(c);
  w.Combo1[combo::CloudType].Enabled = w.s.DayNightFlag != kNightFlag && w.s.CloudCover != 0;
  return true;
}

// Inversion base at least 0 m; it is also the mixing height.
bool TakeInversionBase(MainWindow& w, double v, std::string& text) {
  if (v < 0) text = "0";
  w.s.InversionBase = BoxSingle(text);
  w.s.MixingHeight = w.s.InversionBase;
  return true;
}

bool IsInstantaneous(const MainWindow& w) {
  return w.Combo1[combo::ReleaseMode].ListIndex == 0;
}

// Release duration in minutes; an instantaneous release lasts 15 s.
bool TakeReleaseDuration(MainWindow& w, double v, std::string& text) {
  if (IsInstantaneous(w)) {
    text = "15";
    w.s.ReleaseDuration = kInstantaneousDuration;
    return true;
  }
  const bool seconds = w.Combo1[combo::DurationUnit].ListIndex == 1;
  w.s.ReleaseDuration = static_cast<float>(seconds ? v / 60.0 : v);
  return true;
}

// ---- The rules of the boxes ----

const char* const kInvalid = "无效!";

struct BoxRule {
  bool holdsNumber;        // refused when its value lies beyond the 32-bit range
  Acceptance accepts;      // nullptr: every value
  Take take;               // nullptr: the trimmed text is all that is kept
  const char* message;     // the refusal text
  bool quietWhenOutside;   // a value outside the accepted range is refused without a message
};

// In box order: Text1(i) follows kBoxRules[i].
const BoxRule kBoxRules[box::Count] = {
    {true, InsideLongitude, TakeLongitude, kInvalid, true},
    {true, InsideLatitude, TakeLatitude, kInvalid, true},
    {false, nullptr, TakeDate, "日期格式：YYYY/MM/DD", false},
    {false, nullptr, TakeTime, "时间格式: HH:MM:SS", false},
    {true, nullptr, TakeGroundElevation, kInvalid, false},
    {true, nullptr, TakeWindDirection, kInvalid, false},
    {true, AtLeastOne, TakeWindHeight, "不能小于1m!", false},
    {true, AtMost180, TakeSigmaTheta, "不能大于180 度!", false},
    {true, nullptr, TakeWindSpeed, kInvalid, false},
    {true, OneToSixty, TakeSigmaThetaTime, "有效范围[1,60]!", false},
    {true, AirTemperatureRange, TakeAirTemperature, "有效范围[-50,60]!", false},
    {true, CloudCoverRange, TakeCloudCover, "有效范围[0,10]!", false},
    {true, nullptr, TakeInversionBase, kInvalid, false},
    {true, nullptr, TakeReleaseDuration, kInvalid, false},
    {true, nullptr, nullptr, kInvalid, false},  // MolecularWeight
    {true, nullptr, nullptr, kInvalid, false},  // VaporPressure
    {true, Positive, nullptr, kInvalid, false},  // ReleaseAmount
    {true, AtLeastOne, nullptr, "无效!最小为1", false},  // PoolArea
    {true, nullptr, nullptr, kInvalid, false},  // PoolTemperature
    {true, ReleaseHeightRange, nullptr, kInvalid, false},
    {true, nullptr, nullptr, kInvalid, false},  // StackGasTemperature
    {true, Positive, nullptr, kInvalid, false},  // StackFlow
    {true, AtLeastOne, nullptr, "不可小于 1 min!", false},  // AveragingTime
    {true, Positive, nullptr, kInvalid, false},  // PredictionTime
    {true, nullptr, nullptr, kInvalid, false},  // ReceptorHeight
    {true, Positive, nullptr, kInvalid, false},  // Thresholds
};

// Release height and stack flow are not checked while their boxes are disabled.
bool SkippedWhileDisabled(int index) {
  return index == box::ReleaseHeight || index == box::StackFlow;
}

// The range check of a number; the duration of an instantaneous release is
// exempt because its value is replaced by "15" anyway.
bool NeedsRangeCheck(const MainWindow& w, int index) {
  if (!kBoxRules[index].holdsNumber) return false;
  return !(index == box::ReleaseDuration && IsInstantaneous(w));
}

// The threshold a defined substance suggests: its long-term exposure limit,
// else its short-term one, in the threshold unit; 0 when it has neither.
float SuggestedThreshold(const ModelState& s, bool ppm) {
  const float twa = ppm ? s.TwaPpm : s.TwaMg;
  const float stel = ppm ? s.StelPpm : s.StelMg;
  if (twa > 0) return twa;
  if (stel > 0) return stel;
  return 0;
}

}  // namespace

void MainWindow::RejectBox(int index, bool& cancel, const char* message) {
  if (message != nullptr) sink.ShowMessage(message);
  SetFocus(ControlKind::Text1, index);
  cancel = true;
}

void MainWindow::Text1_Validate(int index, bool& cancel) {
  cancel = false;
  if (index < 0 || index >= box::Count) return;
  if (SkippedWhileDisabled(index) && !Text1[index].Enabled) return;

  const BoxRule& rule = kBoxRules[index];
  std::string text = TrimSpaces(Text1[index].Text);
  const double v = LeadingNumber(text);
  if (NeedsRangeCheck(*this, index) && !FitsSingle(v)) return RejectBox(index, cancel, rule.message);
  if (rule.accepts != nullptr && !rule.accepts(v, s)) {
    return RejectBox(index, cancel, rule.quietWhenOutside ? nullptr : rule.message);
  }
  if (rule.take != nullptr && !rule.take(*this, v, text)) {
    return RejectBox(index, cancel, rule.message);
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
  const bool ppm = Combo1[combo::ThresholdUnit].ListIndex == 1;
  const float suggested = SuggestedThreshold(s, ppm);
  // A threshold the operator entered is never replaced.
  if (suggested > 0 && LeadingNumber(Text1[box::Thresholds].Text) == 0) {
    SetText1(box::Thresholds, TextOfSingle(suggested));
  }
}

void MainWindow::Combo1_LostFocus(int index) {
  if (index != combo::Roughness) return;
  std::string text = Combo1[combo::Roughness].Text;
  ConfineRoughnessText(text);
  Combo1[combo::Roughness].Text = text;
}

void MainWindow::Check1_Click() { Text2.Enabled = Check1.Value == 1; }

}  // namespace zelto
