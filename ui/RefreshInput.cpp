// Derived display of the main window: local time and the day/night line
// (half 0), release mode and substance dependent controls (half 1).
#include <cmath>
#include <string>

#include "chem/ParamBlocks.h"
#include "core/TextConv.h"
#include "met/Meteorology.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

// The boxes of a liquid release: substance data and the pool.
constexpr box::Id kLiquidBoxes[] = {box::MolecularWeight, box::VaporPressure, box::PoolArea,
                                    box::PoolTemperature};

// Removes every "/min" from the items ("kg", "m3" for an instantaneous release).
void RemovePerMinute(ComboBox& c) {
  for (std::string& item : c.Items) {
    for (size_t pos = item.find("/min"); pos != std::string::npos; pos = item.find("/min")) {
      item.erase(pos, 4);
    }
  }
  if (c.ListIndex >= 0 && c.ListIndex < static_cast<int>(c.Items.size())) c.Text = c.Items[c.ListIndex];
}

// Appends "/min" to every item unless item 0 already has it.
void AddPerMinute(ComboBox& c) {
  if (c.Items.empty() || c.Items[0].find("/min") != std::string::npos) return;
  for (std::string& item : c.Items) item += "/min";
  if (c.ListIndex >= 0 && c.ListIndex < static_cast<int>(c.Items.size())) c.Text = c.Items[c.ListIndex];
}

}  // namespace

void MainWindow::RefreshInput(InputHalf half) {
  if (Busy) return;
  if (half == InputHalf::LocationAndTime) {
    // ---- Location and time ----
    // Latitude and longitude summing to 0 are a real place; only missing
    // date or time texts stop the refresh.
    if (s.ReleaseDate.empty() || s.ReleaseTime.empty()) return;
    DateTimeParts date, time;
    if (!ParseDateTime(s.ReleaseDate, date) || !date.hasDate) return;
    if (!ParseDateTime(s.ReleaseTime, time) || !time.hasTime) return;

    // Local clock time: Beijing time (zone meridian 116.2 deg E as used here)
    // shifted by whole hours of longitude difference, not clamped, so sites
    // in the Americas keep their true hour; the date follows across midnight.
    double shift = RoundHalfEven((static_cast<double>(s.Longitude) - 116.2) / 15.0, 0);
    if (!(std::fabs(shift) <= 48)) return;  // longitude outside any real site
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

    ComputeSolarElevation(s);
    if (s.DayNightFlag != "Y") {
      Combo1[combo::CloudType].Enabled = false;
      Label2[label2::DayNight].Caption =
          "当前本地为夜间，当地时间的标准时差为 " + TextOfSingle(s.TimeDifference) + " hr";
    } else {
      if (s.CloudCover != 0) Combo1[combo::CloudType].Enabled = true;
      Label2[label2::DayNight].Caption = "当前本地为白天，太阳高度角" + TextOfSingle(s.SolarElevation) +
                          "度。当地时间的标准时差为 " + TextOfSingle(s.TimeDifference) + " hr";
    }
    return;
  }
  if (half != InputHalf::ReleaseAndSubstance) return;

  // ---- Release and substance ----
  s.ReleaseMode = static_cast<uint8_t>(Combo1[combo::ReleaseMode].ListIndex + 1);
  bool seconds = Combo1[combo::DurationUnit].ListIndex == 1;
  {
    double v = LeadingNumber(Text1[box::ReleaseDuration].Text);
    if (!FitsSingle(v)) v = 0;
    s.ReleaseDuration = static_cast<float>(seconds ? v / 60.0 : v);
  }
  s.ChemicalIndex = static_cast<int16_t>(Combo1[combo::Substance].ListIndex);
  if (s.ChemicalIndex < 0 || s.ChemicalIndex >= static_cast<int>(s.Chemicals.size())) {
    s.ChemicalIndex = 0;
  }
  // The defined substance is selectable only with a molecular weight and a boiling point.
  bool defined = s.Chemicals.size() > 1 && s.Chemicals[1].Params[1] != 0 && s.Chemicals[1].Params[2] != 0;
  if (!defined) {
    s.ChemicalIndex = 0;
    bool wasBusy = Busy;
    Busy = true;
    SetListIndex(combo::Substance, 0);
    Busy = wasBusy;
  }
  if (!s.Chemicals.empty()) LoadChemical(s);

  const int mode = s.ReleaseMode;
  if (mode == release::Instantaneous) {
    s.ReleaseDuration = 0.25f;
    SetText1(box::ReleaseDuration, "15");
    Text1[box::ReleaseDuration].Enabled = false;
    Combo1[combo::DurationUnit].Enabled = false;
    SetListIndex(combo::DurationUnit, 1);  // "秒"; runs this half once more through its click
  } else if (mode == release::ShortOrContinuous || mode == release::Stack) {
    if (!(s.ReleaseDuration >= 0.25f)) s.ReleaseDuration = 0.25f;
    SetText1(box::ReleaseDuration, TextOfSingle(seconds ? static_cast<double>(s.ReleaseDuration) * 60.0
                                      : static_cast<double>(s.ReleaseDuration)));
    Text1[box::ReleaseDuration].Enabled = true;
    Combo1[combo::DurationUnit].Enabled = true;
  }

  if (mode == release::Instantaneous) {
    Label1[label1::ReleaseAmount].Caption = "物质泄漏量,及单位：";
    RemovePerMinute(Combo1[combo::AmountUnit]);
  } else if (mode == release::ShortOrContinuous || mode == release::Stack) {
    Label1[label1::ReleaseAmount].Caption = "物质泄漏速率,及单位：";
    AddPerMinute(Combo1[combo::AmountUnit]);
  }

  if (mode == release::Stack) {
    // A stack releases gas; the substance's state does not matter.
    SetListIndex(combo::AmountUnit, 0);
    Combo1[combo::AmountUnit].Enabled = false;
    Label1[label1::ReleaseHeight].Caption = "烟筒高度(m)：";
    Label1[label1::StackData].Visible = true;
    Text1[box::StackGasTemperature].Visible = true;
    Text1[box::StackFlow].Visible = true;
    Label2[label2::SubstanceState].Caption = "泄漏物质作为气体，从烟筒排出，泄漏速率即为源强.";
    Command1[command::EstimatePoolArea].Enabled = false;
    Text1[box::MolecularWeight].Enabled = true;
    Text1[box::VaporPressure].Enabled = false;
    Text1[box::PoolArea].Enabled = false;
    Text1[box::PoolTemperature].Enabled = false;
    Text1[box::ReleaseHeight].Enabled = true;
  } else if (mode == release::Instantaneous || mode == release::ShortOrContinuous) {
    Label1[label1::ReleaseHeight].Caption = "释放高度(m)：";
    Label1[label1::StackData].Visible = false;
    Text1[box::StackGasTemperature].Visible = false;
    Text1[box::StackFlow].Visible = false;
    for (int i : kLiquidBoxes) Text1[i].Enabled = true;

    if (s.ChemicalIndex == 0) {
      Label2[label2::SubstanceState].Caption =
          "如果泄漏物质在当前环境气温下为液体，必须输入物质分子量和蒸气压(mmHg),液面积和温度可采用缺省值。"
          "如果为气体，可以不输入";
      Command1[command::EstimatePoolArea].Enabled = false;
      SetListIndex(combo::AmountUnit, 0);
      Combo1[combo::AmountUnit].Enabled = false;
      Text1[box::ReleaseHeight].Enabled = true;
    } else if (s.BoilingPointK <= s.AirTempK) {
      Label2[label2::SubstanceState].Caption = "泄漏物质在当前环境气温下为气体，泄漏速率即为源强.";
      Command1[command::EstimatePoolArea].Enabled = false;
      for (int i : kLiquidBoxes) Text1[i].Enabled = false;
      SetListIndex(combo::AmountUnit, 0);
      Combo1[combo::AmountUnit].Enabled = false;
      Text1[box::ReleaseHeight].Enabled = true;
    } else {
      // A liquid evaporates from a pool; the sentence names the model the
      // source term will choose from the same fields in the same order.
      std::string model;
      if (s.VosslerIndex >= 1) {
        model = "采用Vossler蒸发模型计算液体的蒸发速率。";
        Text1[box::VaporPressure].Enabled = false;
      } else if (s.InteractionEnergy == 0 || s.MolecularDiameter == 0) {
        model = "采用CLEWELL蒸发模型计算液体的蒸发速率。";
        if (s.VaporPressA > 0) Text1[box::VaporPressure].Enabled = false;
      } else {
        model = "采用SHELL蒸发模型计算液体的蒸发速率。";
        if (s.VaporPressA > 0) Text1[box::VaporPressure].Enabled = false;
      }
      Label2[label2::SubstanceState].Caption = "泄漏物质在当前环境气温下为液体，" + model;
      Command1[command::EstimatePoolArea].Enabled = true;
      Combo1[combo::AmountUnit].Enabled = true;
      SetText1(box::ReleaseHeight, "0");  // liquids are released on the ground
      Text1[box::ReleaseHeight].Enabled = false;
    }
  }

  // Default release or stack height 2 m.
  if (Text1[box::ReleaseHeight].Enabled && !(LeadingNumber(Text1[box::ReleaseHeight].Text) > 0)) SetText1(box::ReleaseHeight, "2");
}

}  // namespace zelto
