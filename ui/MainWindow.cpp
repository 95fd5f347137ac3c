// Main window: design defaults, assignments that raise events, start and close.
// The input checks are in MainWindowInputs.cpp, the derived display in
// RefreshInput.cpp, the computation driver in PrepareInputs.cpp.
#include "ui/MainWindow.h"

#include <ctime>

#include "chem/ParamBlocks.h"
#include "core/Files.h"
#include "core/Platform.h"
#include "core/TextConv.h"
#include "dispersion/Dispersion.h"
#include "ui/MainLayout.h"
#include "ui/SettingsFile.h"
#include "ui/SubstanceChoice.h"

namespace zelto {

namespace {

struct BoxDesign {
  const char* text;
  const char* toolTip;
  int maxLength;
};

// Default text, tooltip and typing limit of boxes 0..25.
const BoxDesign kBoxDesign[box::Count] = {
    {"120.10E", "", 0},
    {"30.20N", "", 0},
    {"2017/01/12", "YYYY/MM/DD", 10},
    {"12:30:30", "HH:MM:SS。这里只须输入北京时间，内部会转成当地时间", 8},
    {"100", "", 5},
    {"0", "", 3},
    {"10", ">0", 3},
    {"0", "可选参数，如果没有，则输入0或负值", 3},
    {"3.0", "", 4},
    {"15", "风向标准差平均测量时间,如果有风向标准差，须输入", 3},
    {"20", "", 5},
    {"0", "如果有两个云层，则应使用大云量的云层。如果两层的云量相同，则应选择低云层。", 2},
    {"10000",
     "如果气温为20C及以上， 逆温基点低于500 m 的，必须要输入。高于500m可输入但对烟羽没有影响。"
     "输入10000相当于没有逆温层",
     6},
    {"10", "", 5},
    {"32", "", 0},
    {"0", "用于计算液体的蒸气压。对临时物质，如果泄漏出物质为气体时输入0或负值", 0},
    {"10", "", 0},
    {"10", "仅用于液体排放，用于计算液体蒸发到空气中的蒸发速率", 0},
    {"20", "仅用于液体排放，用于计算液体蒸发到空气中的蒸发速率", 0},
    {"2", "仅用于气体排放。液体都是直接排到地上。", 0},
    {"100", "仅用于烟筒排放，指出口处筒内气体温度", 0},
    {"10", "仅用于烟筒排放，指气体实际状态下（非标态）的流量", 0},
    {"15", "范围[1,15]", 4},
    {"10", "距泄漏开始的时间长度,>0", 4},
    {"2", ">=0", 4},
    {"2", "可输入多个值，以逗号分隔", 0},
};

}  // namespace

ClockReading SystemClock() {
  std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  ClockReading r;
  r.Year = local.tm_year + 1900;
  r.Month = local.tm_mon + 1;
  r.Day = local.tm_mday;
  r.Hour = local.tm_hour;
  r.Minute = local.tm_min;
  r.Second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
  return r;
}

MainWindow::MainWindow(ModelState& state, MessageSink& messages) : s(state), sink(messages) {
  for (int i = 0; i < box::Count; ++i) {
    Text1[i].Text = kBoxDesign[i].text;
    Text1[i].ToolTip = kBoxDesign[i].toolTip;
    Text1[i].MaxLength = kBoxDesign[i].maxLength;
  }

  Combo1[combo::Roughness].Items = {"0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
                                    "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
                                    "10  cm = 低矮农作物, 个别大的障碍物         ",
                                    "25  cm = 高大农作物, 分布多处障碍物",
                                    "50  cm = 公园地面,  灌木丛, 很多障碍物",
                                    "100 cm = 整齐完整的大型障碍物 (城郊, 森林)"};
  Combo1[combo::Roughness].Editable = true;
  Combo1[combo::Roughness].ToolTip = "范围【0.5-100】cm";
  Combo1[combo::GroundType].Items = {"泥地", "砂地", "水泥地"};
  Combo1[combo::GroundMoisture].Items = {"干", "湿", "覆雪"};
  Combo1[combo::CloudType].Items = {"1 = HIGH--Ci, Cc, Cs", "2 = MIDDLE--Ac, As, Sc, Cu",
                                    "3 = LOW--St, Ns, Fog"};
  Combo1[combo::CloudType].ToolTip = "此项仅对白天需要输入";
  Combo1[combo::ReleaseMode].Items = {"瞬时泄漏", "短时或持续泄漏", "浮力气体从烟筒排出"};
  Combo1[combo::DurationUnit].Items = {"分钟", "秒"};
  // The substance list is filled by Form_Load.
  Combo1[combo::AmountUnit].Items = {"kg/min", "m3/min"};
  Combo1[combo::ThresholdUnit].Items = {"mg/m3", "ppm"};

  Check1.Caption = "计算一系列点在特定时间的浓度C(X,Y,Z,T)";
  Text2.Text = "100,0,2,10\r\n500,0,2,10\r\n1000,0,2,10\r\n";
  Text2.ToolTip = kPointListHint;
  Text2.Enabled = false;  // follows Check1, which starts unticked
  Text3.Text = "计算结果\r\n";
  Text3.Locked = true;
  Text2.BothScrollBars = true;
  Text3.BothScrollBars = true;
  Layout = DesignResizableRects();

  Label1[label1::ReleaseAmount].Caption = "物质泄漏速率/泄漏量,及单位：";
  Label1[label1::ReleaseHeight].Caption = "释放高度/烟筒高度(m)：";
  Label1[label1::StackData].Caption = "烟气温度(℃)和流量(m3/s)：";
  Label2[label2::DayNight].Caption = "当前本地为白天，太阳高度角30度，时差";
  Label2[label2::SubstanceState].Caption =
      "当前环境气温下：泄漏出的污染物为液态，需计算蒸发速率";

  Command1[command::Properties] = {"属性...", true, "编辑物质属性"};
  Command1[command::EstimatePoolArea] = {"估算液面", true,
                                         "如果泄漏出液体且已知液体密度，根据泄漏量，估算液面积"};
  Command1[command::Compute] = {"刷新结果", true, ""};
  Cmd[cmd::Save] = {"保存(&S)", true, ""};
  Cmd[cmd::Discard] = {"放弃(&X)", true, ""};
  Cmd[cmd::Help] = {"帮助(&H)", true, ""};

  // The desktop program keeps its files beside the executable; the batch
  // program and the tests point these elsewhere.
  const std::string dir = ExecutableDirectory();
  SettingsPath = JoinPath(dir, "ZELTO.ini");
  ContourPath = JoinPath(dir, kContourFileName);
  HelpPath = JoinPath(dir, "readme.txt");
  LibraryPath = JoinPath(dir, kLibraryFileName);

  Clock = SystemClock;
}

void MainWindow::SetText1(int i, const std::string& text) {
  if (i < 0 || i >= static_cast<int>(Text1.size())) return;
  if (Text1[i].Text == text) return;
  Text1[i].Text = text;
  Text1_Change(i);
}

bool MainWindow::SetListIndex(int i, int index) {
  if (i < 0 || i >= static_cast<int>(Combo1.size())) return false;
  ComboBox& c = Combo1[i];
  if (index < 0 || index >= static_cast<int>(c.Items.size())) return false;
  bool changed = c.ListIndex != index;
  c.ListIndex = index;
  c.Text = c.Items[index];
  if (changed) Combo1_Click(i);
  return true;
}

void MainWindow::SetCheck(int value) {
  value = value != 0 ? 1 : 0;
  if (Check1.Value == value) return;
  Check1.Value = value;
  Check1_Click();
}

void MainWindow::SetFocus(ControlKind kind, int index) { Focus = FocusId{kind, index}; }

bool MainWindow::LeaveText1(int i) {
  bool cancel = false;
  Text1_Validate(i, cancel);
  return !cancel;
}

bool MainWindow::MoveFocus(FocusId target) {
  if (Computing) return false;  // the window is disabled
  const FocusId from = Focus;
  if (target == from) return true;
  if (from.Kind == ControlKind::Text1 && target.Kind != ControlKind::Cmd && !LeaveText1(from.Index)) {
    return false;  // the refusal left the focus in the box
  }
  if (from == FocusId{ControlKind::Combo1, combo::Roughness}) Combo1_LostFocus(combo::Roughness);
  Focus = target;
  return true;
}

void MainWindow::SetListText(int i, const std::string& text) {
  if (i < 0 || i >= static_cast<int>(Combo1.size()) || !Combo1[i].Editable) return;
  Combo1[i].Text = text;
}

MainWindow::CloseAnswer MainWindow::RequestClose() {
  // The searches let the window process events; a close request arriving
  // then must wait (the stages still use the window and its files), and is
  // not forgotten: RefreshResults runs it when the computation has ended.
  if (Computing) {
    ClosePending = true;
    Command1[command::Compute].Caption = kComputingCaptionClosePending;
    return CloseAnswer::Pending;
  }
  bool cancel = false;
  Form_Unload(cancel);
  return cancel ? CloseAnswer::StaysOpen : CloseAnswer::Closed;
}

void MainWindow::Form_Load() {
  // Today's date and the current time, in the forms the box checks write back.
  ClockReading now = Clock ? Clock() : SystemClock();
  SetText1(box::ReleaseDate, FormatDateText(now.Year, now.Month, now.Day));
  SetText1(box::ReleaseTime, FormatTimeText(now.Hour, now.Minute, now.Second));

  InitConstants(s);

  // The temporary substance (slot 0, all zero) and one defined substance.
  s.Chemicals.assign(2, ChemicalEntry{});
  s.Chemicals[1].Name = kUndefinedSubstanceName;
  s.ChemicalCount = 1;
  s.VosslerSets.assign(2, VosslerSet{});
  s.VosslerSetCount = 1;
  LoadLibrary();

  Busy = true;
  ComboBox& names = Combo1[combo::Substance];
  names.Items.clear();
  names.ListIndex = -1;
  names.Text.clear();
  names.Items.push_back(kTemporarySubstanceName);
  names.Items.push_back(s.Chemicals[1].Name);
  for (const LibrarySubstance& sub : Library.Substances) names.Items.push_back(LibraryItemText(sub));

  for (int i = 0; i < static_cast<int>(Combo1.size()); ++i) SetListIndex(i, 0);
  FirstActivation = true;
  Busy = false;
  // The window opens with the focus on the first control of the Tab order.
  Focus = MainTabOrder().front();
}

void MainWindow::LoadLibrary() {
  Library = SubstanceLibrary{};
  LibraryNotice.clear();
  if (LibraryPath.empty()) return;
  LibraryLoad load;
  const bool usable = LoadSubstanceLibraryFile(s, LibraryPath, Library, load);
  if (Diagnostics != nullptr) {
    for (const std::string& line : load.Refusals) Diagnostics->ShowMessage(line);
  }
  if (!usable) {
    // Nothing was added: the list keeps the temporary and the defined substance.
    Library = SubstanceLibrary{};
    s.Chemicals.resize(2);
    s.ChemicalCount = 1;
    s.VosslerSets.resize(2);
    s.VosslerSetCount = 1;
    LibraryNotice = kLibraryUnusableNotice;
    sink.ShowMessage(LibraryNotice);
  }
}

void MainWindow::Form_Activate() {
  if (FirstActivation) {
    // A missing or damaged file leaves the defaults; nothing is reported.
    ReadSettingsFile(*this, SettingsPath);
    FirstActivation = false;
  }
  PrepareInputs();
}

void MainWindow::Form_Unload(bool& cancel) {
  cancel = false;
  if (Discard) {
    Closed = true;
    return;
  }
  if (!PrepareInputs()) {
    cancel = true;
    return;
  }
  std::string message;
  if (!WriteSettingsFile(*this, SettingsPath, message)) {
    // The window stays open so that the operator's entries are not lost.
    if (message.empty()) message = "无法保存设置文件 " + SettingsPath + "，窗口将保持打开。";
    sink.ShowMessage(message);
    cancel = true;
    return;
  }
  Closed = true;
}

void MainWindow::Form_Resize(int clientWidth, int clientHeight) {
  FormResize(Layout, clientWidth, clientHeight);
}

void MainWindow::Cmd_Click(int index) {
  if (Computing) return;  // the window is disabled
  bool cancel = false;
  switch (index) {
    case cmd::Save:
      Form_Unload(cancel);
      break;
    case cmd::Discard:
      Discard = true;
      Form_Unload(cancel);
      break;
    case cmd::Help:
      // A missing help file is passed over in silence.
      if (!HelpPath.empty() && FileExists(HelpPath) && OpenHelp) OpenHelp(HelpPath);
      break;
    default:
      break;
  }
}

}  // namespace zelto
