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

void MainWindow::RefreshInput(int part) {
  if (Busy) return;
  if (part == 0) {
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
      Combo1[3].Enabled = false;
      Label2[1].Caption =
          "当前本地为夜间，当地时间的标准时差为 " + TextOfSingle(s.TimeDifference) + " hr";
    } else {
      if (s.CloudCover != 0) Combo1[3].Enabled = true;
      Label2[1].Caption = "当前本地为白天，太阳高度角" + TextOfSingle(s.SolarElevation) +
                          "度。当地时间的标准时差为 " + TextOfSingle(s.TimeDifference) + " hr";
    }
    return;
  }
  if (part != 1) return;

  // ---- Release and substance ----
  s.ReleaseMode = static_cast<uint8_t>(Combo1[4].ListIndex + 1);
  bool seconds = Combo1[5].ListIndex == 1;
  {
    double v = LeadingNumber(Text1[13].Text);
    if (!FitsSingle(v)) v = 0;
    s.ReleaseDuration = static_cast<float>(seconds ? v / 60.0 : v);
  }
  s.ChemicalIndex = static_cast<int16_t>(Combo1[6].ListIndex);
  if (s.ChemicalIndex < 0 || s.ChemicalIndex >= static_cast<int>(s.Chemicals.size())) {
    s.ChemicalIndex = 0;
  }
  // The defined substance is selectable only with a molecular weight and a boiling point.
  bool defined = s.Chemicals.size() > 1 && s.Chemicals[1].Params[1] != 0 && s.Chemicals[1].Params[2] != 0;
  if (!defined) {
    s.ChemicalIndex = 0;
    bool wasBusy = Busy;
    Busy = true;
    SetListIndex(6, 0);
    Busy = wasBusy;
  }
  if (!s.Chemicals.empty()) LoadChemical(s);

  const int mode = s.ReleaseMode;
  if (mode == 1) {
    s.ReleaseDuration = 0.25f;
    SetText1(13, "15");
    Text1[13].Enabled = false;
    Combo1[5].Enabled = false;
    SetListIndex(5, 1);  // "秒"; runs this half once more through Combo1_Click(5)
  } else if (mode == 2 || mode == 3) {
    if (!(s.ReleaseDuration >= 0.25f)) s.ReleaseDuration = 0.25f;
    SetText1(13, TextOfSingle(seconds ? static_cast<double>(s.ReleaseDuration) * 60.0
                                      : static_cast<double>(s.ReleaseDuration)));
    Text1[13].Enabled = true;
    Combo1[5].Enabled = true;
  }

  if (mode == 1) {
    Label1[18].Caption = "物质泄漏量,及单位：";
    RemovePerMinute(Combo1[7]);
  } else if (mode == 2 || mode == 3) {
    Label1[18].Caption = "物质泄漏速率,及单位：";
    AddPerMinute(Combo1[7]);
  }

  if (mode == 3) {
    // A stack releases gas; the substance's state does not matter.
    SetListIndex(7, 0);
    Combo1[7].Enabled = false;
    Label1[21].Caption = "烟筒高度(m)：";
    Label1[22].Visible = true;
    Text1[20].Visible = true;
    Text1[21].Visible = true;
    Label2[2].Caption = "泄漏物质作为气体，从烟筒排出，泄漏速率即为源强.";
    Command1[1].Enabled = false;
    Text1[14].Enabled = true;
    Text1[15].Enabled = false;
    Text1[17].Enabled = false;
    Text1[18].Enabled = false;
    Text1[19].Enabled = true;
  } else if (mode == 1 || mode == 2) {
    Label1[21].Caption = "释放高度(m)：";
    Label1[22].Visible = false;
    Text1[20].Visible = false;
    Text1[21].Visible = false;
    for (int i : {14, 15, 17, 18}) Text1[i].Enabled = true;

    if (s.ChemicalIndex == 0) {
      Label2[2].Caption =
          "如果泄漏物质在当前环境气温下为液体，必须输入物质分子量和蒸气压(mmHg),液面积和温度可采用缺省值。"
          "如果为气体，可以不输入";
      Command1[1].Enabled = false;
      SetListIndex(7, 0);
      Combo1[7].Enabled = false;
      Text1[19].Enabled = true;
    } else if (s.BoilingPointK <= s.AirTempK) {
      Label2[2].Caption = "泄漏物质在当前环境气温下为气体，泄漏速率即为源强.";
      Command1[1].Enabled = false;
      for (int i : {14, 15, 17, 18}) Text1[i].Enabled = false;
      SetListIndex(7, 0);
      Combo1[7].Enabled = false;
      Text1[19].Enabled = true;
    } else {
      // A liquid evaporates from a pool; the sentence names the model the
      // source term will choose from the same fields in the same order.
      std::string model;
      if (s.VosslerIndex >= 1) {
        model = "采用Vossler蒸发模型计算液体的蒸发速率。";
        Text1[15].Enabled = false;
      } else if (s.InteractionEnergy == 0 || s.MolecularDiameter == 0) {
        model = "采用CLEWELL蒸发模型计算液体的蒸发速率。";
        if (s.VaporPressA > 0) Text1[15].Enabled = false;
      } else {
        model = "采用SHELL蒸发模型计算液体的蒸发速率。";
        if (s.VaporPressA > 0) Text1[15].Enabled = false;
      }
      Label2[2].Caption = "泄漏物质在当前环境气温下为液体，" + model;
      Command1[1].Enabled = true;
      Combo1[7].Enabled = true;
      SetText1(19, "0");  // liquids are released on the ground
      Text1[19].Enabled = false;
    }
  }

  // Default release or stack height 2 m.
  if (Text1[19].Enabled && !(LeadingNumber(Text1[19].Text) > 0)) SetText1(19, "2");
}

}  // namespace zelto
