// Derived display of the main window: local time and the day/night line
// (location and time), release mode and substance dependent controls
// (release and substance).
#include <cmath>
#include <cstdint>
#include <string>

#include "chem/ParamBlocks.h"
#include "chem/ParamSlots.h"
#include "core/ModelState.h"
#include "core/TextConv.h"
#include "met/Meteorology.h"
#include "ui/ControlIds.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

// The boxes of a liquid release: substance data and the pool.
constexpr box::Id kLiquidBoxes[] = {box::MolecularWeight, box::VaporPressure, box::PoolArea,
                                    box::PoolTemperature};

// Shows the chosen item again after the items changed.
void ShowChosenItem(ComboBox& c) {
  if (c.ListIndex >= 0 && c.ListIndex < static_cast<int>(c.Items.size())) {
    c.Text = c.Items[c.ListIndex];
  }
}

// Removes every "/min" from the items ("kg", "m3" for an instantaneous release).
void RemovePerMinute(ComboBox& c) {
  for (std::string& item : c.Items) {
    for (size_t pos = item.find("/min"); pos != std::string::npos; pos = item.find("/min")) {
      item.erase(pos, 4);
    }
  }
  ShowChosenItem(c);
}

// Appends "/min" to every item unless item 0 already has it.
void AddPerMinute(ComboBox& c) {
  if (c.Items.empty() || c.Items[0].find("/min") != std::string::npos) return;
  for (std::string& item : c.Items) item += "/min";
  ShowChosenItem(c);
}

// ---- Location and time ----

// Local date and time texts and the time difference (h) from the Beijing
// release date and time. Beijing time (zone meridian 116.2 deg E as used here)
// is shifted by whole hours of longitude difference, not clamped, so sites in
// the Americas keep their true hour; the date follows across midnight. Returns
// false (nothing stored) when the date or time cannot be read or the
// longitude lies outside any real site.
bool SetLocalTime(ModelState& s) {
  // Latitude and longitude summing to 0 are a real place; only missing date
  // or time texts stop the refresh.
  if (s.ReleaseDate.empty() || s.ReleaseTime.empty()) return false;
  DateTimeParts date, time;
  if (!ParseDateTime(s.ReleaseDate, date) || !date.hasDate) return false;
  if (!ParseDateTime(s.ReleaseTime, time) || !time.hasTime) return false;

  const double shift = RoundHalfEven((static_cast<double>(s.Longitude) - 116.2) / 15.0, 0);
  if (!(std::fabs(shift) <= 48)) return false;
  int hour = time.hour + static_cast<int>(shift);
  int year = date.year, month = date.month, day = date.day;
  for (int step = 0; step < 3 && hour < 0; ++step) {
    PreviousDay(year, month, day);
    hour += 24;
  }
  for (int step = 0; step < 3 && hour > 23; ++step) {
    NextDay(year, month, day);
    hour -= 24;
  }
  s.LocalDateText = FormatDateText(year, month, day);
  s.LocalTimeText = FormatTimeText(hour, time.minute, time.second);
  s.TimeDifference = static_cast<float>(RoundHalfEven(static_cast<double>(s.Longitude) / 15.0, 2));
  return true;
}

// The day/night line; the cloud type matters only by day under cloud.
void ShowDayOrNight(MainWindow& w) {
  const ModelState& s = w.s;
  const std::string difference = TextOfSingle(s.TimeDifference) + " hr";
  if (s.DayNightFlag != kDayFlag) {
    w.Combo1[combo::CloudType].Enabled = false;
    w.Label2[label2::DayNight].Caption = "当前本地为夜间，当地时间的标准时差为 " + difference;
    return;
  }
  if (s.CloudCover != 0) w.Combo1[combo::CloudType].Enabled = true;
  w.Label2[label2::DayNight].Caption = "当前本地为白天，太阳高度角" +
                                       TextOfSingle(s.SolarElevation) +
                                       "度。当地时间的标准时差为 " + difference;
}

void RefreshLocationAndTime(MainWindow& w) {
  if (!SetLocalTime(w.s)) return;
  // The local texts have just been written, so only a result that is not a
  // finite number can fail here; the line then shows the previous elevation
  // and the meteorology pass of a computation refuses with the message.
  std::string message;
  ComputeSolarElevation(w.s, message);
  ShowDayOrNight(w);
}

// ---- Release and substance ----

// Release duration (min) from its box and unit; a value beyond the 32-bit
// range counts as 0.
float DurationMinutes(const std::string& text, bool seconds) {
  double v = LeadingNumber(text);
  if (!FitsSingle(v)) v = 0;
  return static_cast<float>(seconds ? v / 60.0 : v);
}

// The chosen substance into the model record. A defined substance is
// selectable only with a molecular weight and a boiling point; otherwise the
// list goes back to the temporary substance without raising its click. The
// test is made on the chosen substance: a library substance stays selectable
// while the user-defined one is still undefined.
void SelectSubstance(MainWindow& w) {
  ModelState& s = w.s;
  s.ChemicalIndex = static_cast<int16_t>(w.Combo1[combo::Substance].ListIndex);
  if (s.ChemicalIndex < 0 || s.ChemicalIndex >= static_cast<int>(s.Chemicals.size())) {
    s.ChemicalIndex = 0;
  }
  const size_t tested = s.ChemicalIndex >= 1 ? static_cast<size_t>(s.ChemicalIndex) : 1;
  const bool defined = s.Chemicals.size() > tested &&
                       s.Chemicals[tested].Params[general::MolecularWeight] != 0 &&
                       s.Chemicals[tested].Params[general::BoilingPoint] != 0;
  if (!defined) {
    s.ChemicalIndex = 0;
    const bool wasBusy = w.Busy;
    w.Busy = true;
    w.SetListIndex(combo::Substance, 0);
    w.Busy = wasBusy;
  }
  // SelectSubstance keeps the index inside the list, so only a list that
  // does not exist yet (before the window's start) leaves nothing to load.
  std::string message;
  if (!s.Chemicals.empty()) LoadChemical(s, message);
}

// Duration box and unit: an instantaneous release lasts 15 s and shows so;
// otherwise at least 15 s in the chosen unit.
void ShowDuration(MainWindow& w, int mode, bool seconds) {
  ModelState& s = w.s;
  if (mode == release::Instantaneous) {
    s.ReleaseDuration = kInstantaneousDuration;
    w.SetText1(box::ReleaseDuration, "15");
    w.Text1[box::ReleaseDuration].Enabled = false;
    w.Combo1[combo::DurationUnit].Enabled = false;
    // "秒"; the click runs this half once more.
    w.SetListIndex(combo::DurationUnit, 1);
  } else if (mode == release::ShortOrContinuous || mode == release::Stack) {
    if (!(s.ReleaseDuration >= kInstantaneousDuration)) s.ReleaseDuration = kInstantaneousDuration;
    const double minutes = s.ReleaseDuration;
    w.SetText1(box::ReleaseDuration, TextOfSingle(seconds ? minutes * 60.0 : minutes));
    w.Text1[box::ReleaseDuration].Enabled = true;
    w.Combo1[combo::DurationUnit].Enabled = true;
  }
}

// An amount for an instantaneous release, a rate for the others.
void ShowAmountUnit(MainWindow& w, int mode) {
  if (mode == release::Instantaneous) {
    w.Label1[label1::ReleaseAmount].Caption = "物质泄漏量,及单位：";
    RemovePerMinute(w.Combo1[combo::AmountUnit]);
  } else if (mode == release::ShortOrContinuous || mode == release::Stack) {
    w.Label1[label1::ReleaseAmount].Caption = "物质泄漏速率,及单位：";
    AddPerMinute(w.Combo1[combo::AmountUnit]);
  }
}

// The amount unit fixed at mass (kg or kg/min).
void FixMassUnit(MainWindow& w) {
  w.SetListIndex(combo::AmountUnit, 0);
  w.Combo1[combo::AmountUnit].Enabled = false;
}

// A stack releases gas; the substance's state does not matter.
void ShowStackRelease(MainWindow& w) {
  FixMassUnit(w);
  w.Label1[label1::ReleaseHeight].Caption = "烟筒高度(m)：";
  w.Label1[label1::StackData].Visible = true;
  w.Text1[box::StackGasTemperature].Visible = true;
  w.Text1[box::StackFlow].Visible = true;
  w.Label2[label2::SubstanceState].Caption = "泄漏物质作为气体，从烟筒排出，泄漏速率即为源强.";
  w.Command1[command::EstimatePoolArea].Enabled = false;
  w.Text1[box::MolecularWeight].Enabled = true;
  w.Text1[box::VaporPressure].Enabled = false;
  w.Text1[box::PoolArea].Enabled = false;
  w.Text1[box::PoolTemperature].Enabled = false;
  w.Text1[box::ReleaseHeight].Enabled = true;
}

// A liquid evaporates from a pool; the sentence names the model the source
// term will choose from the same fields in the same order. A vapour pressure
// the substance supplies is not typed.
void ShowLiquidRelease(MainWindow& w) {
  const ModelState& s = w.s;
  std::string model;
  if (s.VosslerIndex >= 1) {
    model = "采用Vossler蒸发模型计算液体的蒸发速率。";
    w.Text1[box::VaporPressure].Enabled = false;
  } else if (s.InteractionEnergy == 0 || s.MolecularDiameter == 0) {
    model = "采用CLEWELL蒸发模型计算液体的蒸发速率。";
    if (s.VaporPressA > 0) w.Text1[box::VaporPressure].Enabled = false;
  } else {
    model = "采用SHELL蒸发模型计算液体的蒸发速率。";
    if (s.VaporPressA > 0) w.Text1[box::VaporPressure].Enabled = false;
  }
  w.Label2[label2::SubstanceState].Caption = "泄漏物质在当前环境气温下为液体，" + model;
  w.Command1[command::EstimatePoolArea].Enabled = true;
  w.Combo1[combo::AmountUnit].Enabled = true;
  w.SetText1(box::ReleaseHeight, "0");  // liquids are released on the ground
  w.Text1[box::ReleaseHeight].Enabled = false;
}

// A release at ground or release height: the temporary substance (liquid or
// gas as typed), a defined substance that is a gas at the air temperature,
// or one that is a liquid.
void ShowPoolOrGasRelease(MainWindow& w) {
  const ModelState& s = w.s;
  w.Label1[label1::ReleaseHeight].Caption = "释放高度(m)：";
  w.Label1[label1::StackData].Visible = false;
  w.Text1[box::StackGasTemperature].Visible = false;
  w.Text1[box::StackFlow].Visible = false;
  for (int i : kLiquidBoxes) w.Text1[i].Enabled = true;

  if (s.ChemicalIndex == 0) {
    w.Label2[label2::SubstanceState].Caption =
        "如果泄漏物质在当前环境气温下为液体，必须输入物质分子量和蒸气压(mmHg),液面积和温度可采用缺省值。"
        "如果为气体，可以不输入";
    w.Command1[command::EstimatePoolArea].Enabled = false;
    FixMassUnit(w);
    w.Text1[box::ReleaseHeight].Enabled = true;
  } else if (s.BoilingPointK <= s.AirTempK) {
    w.Label2[label2::SubstanceState].Caption = "泄漏物质在当前环境气温下为气体，泄漏速率即为源强.";
    w.Command1[command::EstimatePoolArea].Enabled = false;
    for (int i : kLiquidBoxes) w.Text1[i].Enabled = false;
    FixMassUnit(w);
    w.Text1[box::ReleaseHeight].Enabled = true;
  } else {
    ShowLiquidRelease(w);
  }
}

void RefreshReleaseAndSubstance(MainWindow& w) {
  ModelState& s = w.s;
  s.ReleaseMode = static_cast<uint8_t>(w.Combo1[combo::ReleaseMode].ListIndex + 1);
  const bool seconds = w.Combo1[combo::DurationUnit].ListIndex == 1;
  s.ReleaseDuration = DurationMinutes(w.Text1[box::ReleaseDuration].Text, seconds);
  SelectSubstance(w);

  const int mode = s.ReleaseMode;
  ShowDuration(w, mode, seconds);
  ShowAmountUnit(w, mode);
  if (mode == release::Stack) {
    ShowStackRelease(w);
  } else if (mode == release::Instantaneous || mode == release::ShortOrContinuous) {
    ShowPoolOrGasRelease(w);
  }

  // Default release or stack height 2 m.
  TextBox& height = w.Text1[box::ReleaseHeight];
  if (height.Enabled && !(LeadingNumber(height.Text) > 0)) w.SetText1(box::ReleaseHeight, "2");
}

}  // namespace

void MainWindow::RefreshInput(InputHalf half) {
  if (Busy) return;
  switch (half) {
    case InputHalf::LocationAndTime:
      RefreshLocationAndTime(*this);
      break;
    case InputHalf::ReleaseAndSubstance:
      RefreshReleaseAndSubstance(*this);
      break;
  }
}

}  // namespace zelto
