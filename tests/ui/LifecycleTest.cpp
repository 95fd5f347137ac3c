// Start, activation, closing and the command buttons of the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "MainWindowFixture.h"
#include "core/Files.h"
#include "core/Platform.h"

namespace zelto::testing {
namespace {

namespace fs = std::filesystem;

// A scratch directory removed after the test.
class TempDir {
 public:
  TempDir() {
    const fs::path dir = MakeTemporaryDirectory("zelto-window-");
    if (!dir.empty()) path_ = Utf8FromPath(dir);
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(PathFromUtf8(path_), ec);
  }
  std::string File(const char* name) const { return JoinPath(path_, name); }

 private:
  std::string path_;
};

using Start = MainWindowTest;

TEST_F(Start, LoadSetsClockConstantsAndLists) {
  EXPECT_EQ(w.Text1[2].Text, "2017/07/01");
  EXPECT_EQ(w.Text1[3].Text, "12:30:30");
  EXPECT_EQ(s.Pi, 3.1415927f);
  EXPECT_EQ(s.SpreadCoef[14], 0.999f);
  EXPECT_EQ(s.ChemicalCount, 1);
  ASSERT_EQ(s.Chemicals.size(), 2u);
  EXPECT_EQ(s.Chemicals[1].Name, "未定义化学物质");
  EXPECT_EQ(s.Chemicals[1].Params[1], 0.0f);
  EXPECT_EQ(s.VosslerSetCount, 1);
  EXPECT_EQ(s.VosslerSets.size(), 2u);
  EXPECT_EQ(w.Combo1[6].Items, (std::vector<std::string>{"临时物质", "未定义化学物质"}));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(w.Combo1[i].ListIndex, 0) << i;
  EXPECT_EQ(w.Combo1[0].Text, "0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物");
  EXPECT_EQ(w.Combo1[4].Text, "瞬时泄漏");
  EXPECT_EQ(w.Combo1[5].Text, "分钟");
  EXPECT_EQ(w.Combo1[6].Text, "临时物质");
  EXPECT_EQ(w.Combo1[7].Text, "kg/min");
  EXPECT_EQ(w.Combo1[8].Text, "mg/m3");
  EXPECT_TRUE(w.FirstActivation);
  EXPECT_FALSE(w.Busy);
  EXPECT_EQ(s.ReleaseMode, 0);  // list clicks stay quiet during the load
}

TEST_F(Start, DesignDefaults) {
  const char* texts[26] = {"120.10E", "30.20N", "2017/07/01", "12:30:30", "100", "0", "10", "0",
                           "3.0",     "15",     "20",         "0",        "10000", "10", "32", "0",
                           "10",      "10",     "20",         "2",        "100", "10", "15", "10",
                           "2",       "2"};
  const int maxLength[26] = {0, 0, 10, 8, 5, 3, 3, 3, 4, 3, 5, 2, 6, 5, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4, 0};
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(w.Text1[i].Text, texts[i]) << i;
    EXPECT_EQ(w.Text1[i].MaxLength, maxLength[i]) << i;
  }
  EXPECT_EQ(w.Text1[6].ToolTip, ">0");
  EXPECT_EQ(w.Text1[22].ToolTip, "范围[1,15]");
  EXPECT_EQ(w.Text1[25].ToolTip, "可输入多个值，以逗号分隔");
  EXPECT_EQ(w.Combo1[0].Items[2], "10  cm = 低矮农作物, 个别大的障碍物         ");
  EXPECT_EQ(w.Combo1[0].ToolTip, "范围【0.5-100】cm");
  EXPECT_TRUE(w.Combo1[0].Editable);
  EXPECT_FALSE(w.Combo1[1].Editable);
  EXPECT_EQ(w.Combo1[3].Items[2], "3 = LOW--St, Ns, Fog");
  EXPECT_EQ(w.Text2.Text, "100,0,2,10\r\n500,0,2,10\r\n1000,0,2,10\r\n");
  EXPECT_EQ(w.Text3.Text, "计算结果\r\n");
  EXPECT_TRUE(w.Text3.Locked);
  EXPECT_EQ(w.Check1.Value, 0);
  EXPECT_EQ(w.Command1[0].Caption, "属性...");
  EXPECT_EQ(w.Command1[1].Caption, "估算液面");
  EXPECT_EQ(w.Command1[2].Caption, "刷新结果");
  EXPECT_EQ(w.Cmd[0].Caption, "保存(&S)");
  EXPECT_EQ(w.Cmd[1].Caption, "放弃(&X)");
  EXPECT_EQ(w.Cmd[2].Caption, "帮助(&H)");
}

TEST_F(Start, FilesBesideTheExecutableByDefault) {
  ModelState fresh;
  NullMessageSink quiet;
  MainWindow window(fresh, quiet);
  EXPECT_EQ(window.SettingsPath, JoinPath(ExecutableDirectory(), "ZELTO.ini"));
  EXPECT_EQ(window.ContourPath, JoinPath(ExecutableDirectory(), "CONCXY.DAT"));
  EXPECT_EQ(window.HelpPath, JoinPath(ExecutableDirectory(), "readme.txt"));
}

TEST_F(Start, AssignedTextsKeptWhole) {
  // The typing limit of box 7 is 3, yet ".25" is written back as "0.25".
  w.SetText1(7, ".25");
  ASSERT_TRUE(w.LeaveText1(7));
  EXPECT_EQ(w.Text1[7].Text, "0.25");
}

TEST_F(Start, FirstActivationWithoutSettings) {
  w.Form_Activate();
  EXPECT_FALSE(w.FirstActivation);
  EXPECT_EQ(w.Text1[13].Text, "15");
  EXPECT_EQ(w.Combo1[5].Text, "秒");
  EXPECT_EQ(w.Combo1[4].Text, "瞬时泄漏");
  EXPECT_EQ(w.Combo1[6].Text, "临时物质");
  EXPECT_EQ(w.Text3.Text, "计算结果\r\n");
  // The default averaging time of 15 min exceeds the 15 s release.
  ASSERT_EQ(rec.messages.size(), 1u);
  EXPECT_EQ(rec.messages[0], "泄漏(或液体蒸发）总时长为0.25(min),浓度平均时间不可超过1(min)");
}

TEST_F(Start, LaterActivationRevalidates) {
  w.Form_Activate();
  w.SetText1(22, "1");
  w.SetText1(5, "-10");
  rec.messages.clear();
  w.Form_Activate();
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_EQ(w.Text1[5].Text, "350");
}

using Closing = MainWindowTest;

TEST_F(Closing, DiscardClosesWithoutChecksOrFile) {
  TempDir dir;
  w.SettingsPath = dir.File("ZELTO.ini");
  w.SetText1(6, "0");  // an invalid wind height
  w.Cmd_Click(1);
  EXPECT_TRUE(w.Closed);
  EXPECT_TRUE(w.Discard);
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_FALSE(FileExists(w.SettingsPath));
}

TEST_F(Closing, SaveRefusedThenAccepted) {
  TempDir dir;
  w.SettingsPath = dir.File("ZELTO.ini");
  ContinuousDefaults();
  w.SetText1(6, "0");
  w.Cmd_Click(0);
  EXPECT_FALSE(w.Closed);
  ASSERT_EQ(rec.messages.size(), 1u);
  EXPECT_EQ(rec.messages[0], "不能小于1m!");
  EXPECT_EQ(w.Focus, BoxFocus(6));
  EXPECT_FALSE(FileExists(w.SettingsPath));

  w.SetText1(6, "10");
  rec.messages.clear();
  w.Cmd_Click(0);
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_TRUE(w.Closed);
  EXPECT_TRUE(FileExists(w.SettingsPath));
}

TEST_F(Closing, CloseBoxRunsTheSameChecks) {
  TempDir dir;
  w.SettingsPath = dir.File("ZELTO.ini");
  ContinuousDefaults();
  w.SetText1(9, "0");
  bool cancel = false;
  w.Form_Unload(cancel);
  EXPECT_TRUE(cancel);
  EXPECT_FALSE(w.Closed);
  w.SetText1(9, "15");
  w.Form_Unload(cancel);
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(w.Closed);
}

TEST_F(Closing, FailedWriteKeepsWindowOpen) {
  TempDir dir;
  w.SettingsPath = dir.File("no-such-subdir/ZELTO.ini");
  ContinuousDefaults();
  bool cancel = false;
  w.Form_Unload(cancel);
  EXPECT_TRUE(cancel);
  EXPECT_FALSE(w.Closed);
  ASSERT_EQ(rec.messages.size(), 1u);
  EXPECT_NE(rec.messages[0].find("ZELTO.ini"), std::string::npos);  // names the file
}

using Commands = MainWindowTest;

TEST_F(Commands, HelpOpensReadmeWhenPresent) {
  TempDir dir;
  std::vector<std::string> started;
  w.OpenHelp = [&](const std::string& path) { started.push_back(path); };
  w.HelpPath = dir.File("readme.txt");
  w.Cmd_Click(2);
  EXPECT_TRUE(started.empty());  // no file: nothing happens
  std::ofstream(w.HelpPath) << "help";
  w.Cmd_Click(2);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], w.HelpPath);
  EXPECT_FALSE(w.Closed);
}

TEST_F(Commands, EditorReselectsAndRenames) {
  // The editor defines the substance while it is open.
  int opened = 0;
  w.OpenEditor = [&] {
    ++opened;
    s.Chemicals[1].Name = "AMMONIA";
    s.Chemicals[1].Params[1] = 17.03f;
    s.Chemicals[1].Params[2] = 239.8f;
  };
  w.Combo1[6].ListIndex = 1;  // chosen before the substance became undefined
  w.Command1_Click(0);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(w.Combo1[6].Items[1], "AMMONIA");
  EXPECT_EQ(w.Combo1[6].ListIndex, 1);
  EXPECT_EQ(w.Combo1[6].Text, "AMMONIA");
  EXPECT_EQ(s.ChemicalIndex, 1);
  EXPECT_EQ(s.ChemicalName, "AMMONIA");
  EXPECT_EQ(w.Text1[14].Text, "17.03");
}

TEST_F(Commands, EditorLeavingSubstanceUndefinedSnapsBack) {
  w.OpenEditor = [&] { s.Chemicals[1].Name = "HALF DONE"; };
  w.Combo1[6].ListIndex = 1;
  w.Command1_Click(0);
  EXPECT_EQ(w.Combo1[6].ListIndex, 0);
  EXPECT_EQ(w.Combo1[6].Text, "临时物质");
  EXPECT_EQ(w.Combo1[6].Items[1], "HALF DONE");
  EXPECT_EQ(s.ChemicalIndex, 0);
}

TEST_F(Commands, EditorWithoutHookStillReloads) {
  w.Command1_Click(0);
  EXPECT_EQ(s.ReleaseMode, 1);  // the reselection ran the release refresh
  EXPECT_EQ(w.Combo1[6].Items[1], "未定义化学物质");
}

TEST_F(Commands, ComputeNotStartedWhenPreparationFails) {
  w.SetText1(6, "0");
  w.Command1_Click(2);
  EXPECT_EQ(OnlyMessage(), "不能小于1m!");
  EXPECT_FALSE(w.Hourglass);
  EXPECT_TRUE(w.WindowEnabled);
  EXPECT_TRUE(w.Command1[2].Enabled);
  EXPECT_EQ(w.Command1[2].Caption, "刷新结果");
  EXPECT_EQ(w.Text3.Text, "计算结果\r\n");
}

TEST_F(Commands, ComputeDisablesWindowWhileRunning) {
  TempDir dir;
  w.ContourPath = dir.File("CONCXY.DAT");
  w.SettingsPath = dir.File("ZELTO.ini");
  ContinuousDefaults();
  // The window hears of the start and the end, each after the state changed.
  std::vector<std::string> shown;
  w.ComputationStateChanged = [&] {
    shown.push_back(w.Command1[2].Caption + (w.Computing && w.Hourglass && !w.WindowEnabled ? " busy" : " idle"));
  };
  int polls = 0;
  bool stateDuringRun = true;
  std::vector<MainWindow::CloseAnswer> closes;
  std::vector<std::string> captions;
  w.ProcessEvents = [&] {
    ++polls;
    stateDuringRun = stateDuringRun && w.Hourglass && !w.WindowEnabled && !w.Command1[2].Enabled;
    if (polls <= 2) captions.push_back(w.Command1[2].Caption);
    // The close box and the command bar while the searches process events.
    if (polls == 1) {
      closes.push_back(w.RequestClose());
      w.Cmd_Click(0);
      w.Command1_Click(2);
    }
  };
  w.Command1_Click(2);
  EXPECT_TRUE(rec.messages.empty()) << rec.messages[0];
  EXPECT_GT(polls, 1);
  EXPECT_TRUE(stateDuringRun);
  EXPECT_EQ(shown, (std::vector<std::string>{"正在计算... busy", "刷新结果 idle"}));
  // The close waited for the end of the run and says so meanwhile.
  EXPECT_EQ(closes, (std::vector<MainWindow::CloseAnswer>{MainWindow::CloseAnswer::Pending}));
  EXPECT_EQ(captions, (std::vector<std::string>{"正在计算...", "正在计算...（计算结束后关闭）"}));
  EXPECT_FALSE(w.Hourglass);
  EXPECT_TRUE(w.WindowEnabled);
  EXPECT_TRUE(w.Command1[2].Enabled);
  EXPECT_EQ(w.Command1[2].Caption, "刷新结果");
  EXPECT_FALSE(w.ResultSummary.empty());
  EXPECT_NE(w.Text3.Text, "计算结果\r\n");  // the report replaced the restored text
  // Then the ordinary close ran: settings saved, window closed.
  EXPECT_FALSE(w.ClosePending);
  EXPECT_TRUE(w.Closed);
  EXPECT_TRUE(FileExists(w.SettingsPath));
}

TEST_F(Commands, CloseDuringRefusedComputationRunsAfterItsMessage) {
  TempDir dir;
  w.ContourPath = dir.File("CONCXY.DAT");
  w.SettingsPath = dir.File("ZELTO.ini");
  ContinuousDefaults();
  w.ProcessEvents = [&] {
    if (w.ClosePending) return;
    EXPECT_EQ(w.RequestClose(), MainWindow::CloseAnswer::Pending);
    // A value of the report goes bad while the searches run: the run ends
    // in a refusal after the stages.
    s.TimeDifference = std::numeric_limits<float>::quiet_NaN();
  };
  // When the run ends its message has been shown and the window is open.
  std::vector<std::string> atEnd;
  w.ComputationStateChanged = [&] {
    if (!w.Computing) atEnd = rec.messages;
    EXPECT_FALSE(w.Closed);
  };
  w.Command1_Click(2);
  EXPECT_EQ(atEnd, (std::vector<std::string>{"计算结果中的当地时间与格林威治时间的时差不是有效数值，无法生成计算报告。"}));
  EXPECT_EQ(rec.messages, atEnd);
  // Then the ordinary close: its preparation recomputed the time difference
  // and passed, the settings were saved.
  EXPECT_TRUE(w.Closed);
  EXPECT_FALSE(w.ClosePending);
  EXPECT_TRUE(FileExists(w.SettingsPath));
  EXPECT_EQ(w.Command1[2].Caption, "刷新结果");
}

TEST_F(Commands, ReturnFromEditorChecksEveryBoxAgain) {
  w.Form_Activate();
  w.Text3.Text = "REPORT";
  w.SetText1(6, "0");  // typed, not yet left
  DefineSubstance("CHLORINE", 70.91f, 239.1f);
  w.SetListIndex(6, 1);
  w.OpenEditor = [&] { s.Chemicals[1].Params[1] = 17.03f; };
  rec.messages.clear();
  w.Command1_Click(0);
  // The activation refused the wind height and put the focus there; the
  // substance boxes follow the edited properties; the report stays.
  EXPECT_EQ(OnlyMessage(), "不能小于1m!");
  EXPECT_EQ(w.Focus, BoxFocus(6));
  EXPECT_EQ(w.Text1[14].Text, "17.03");
  EXPECT_EQ(w.Text3.Text, "REPORT");
}

using Focus = MainWindowTest;

TEST_F(Focus, LeavingABoxChecksItExceptForTheCommandBar) {
  EXPECT_EQ(w.Focus, BoxFocus(0));  // the first control of the Tab order
  ASSERT_TRUE(w.MoveFocus(BoxFocus(6)));
  w.SetText1(6, "0");
  rec.messages.clear();
  // To the command bar: no check, so "放弃(&X)" still works.
  EXPECT_TRUE(w.MoveFocus(FocusId{ControlKind::Cmd, 1}));
  EXPECT_TRUE(rec.messages.empty());
  EXPECT_EQ(w.Text1[6].Text, "0");
  // Back in the box and on to the next one: refused, the focus stays.
  ASSERT_TRUE(w.MoveFocus(BoxFocus(6)));
  EXPECT_FALSE(w.MoveFocus(BoxFocus(7)));
  EXPECT_EQ(OnlyMessage(), "不能小于1m!");
  EXPECT_EQ(w.Focus, BoxFocus(6));
  // Corrected, the move goes through; so does one to a button inside a frame.
  w.SetText1(6, "10");
  EXPECT_TRUE(w.MoveFocus(FocusId{ControlKind::Command1, 2}));
  EXPECT_EQ(w.Focus, (FocusId{ControlKind::Command1, 2}));
}

TEST_F(Focus, TypedRoughnessIsConfinedWhenTheListIsLeft) {
  const FocusId roughness{ControlKind::Combo1, 0};
  ASSERT_TRUE(w.MoveFocus(roughness));
  w.SetListText(0, "150");
  EXPECT_EQ(w.Combo1[0].Text, "150");  // as typed while the list has the focus
  ASSERT_TRUE(w.MoveFocus(FocusId{ControlKind::Combo1, 1}));
  EXPECT_EQ(w.Combo1[0].Text, "100 cm");
  w.SetListText(1, "typed");  // a list without typing keeps its item
  EXPECT_EQ(w.Combo1[1].Text, "泥地");
}

TEST(WindowLayout, ResizeMovesTheWindowsOwnRectangles) {
  ModelState s;
  MessageRecorder rec;
  MainWindow w(s, rec);
  // A new window stands at its design places: frame 3 is 4155 high, the
  // point list 4155 - 1740 - 100 = 2315, the results 11595 - 4380 - 150 wide.
  EXPECT_EQ(w.Layout.ComputeFrame, (TwipRect{120, 3840, 11595, 4155}));
  EXPECT_EQ(w.Layout.Text2.Height, 2315);
  EXPECT_EQ(w.Layout.Text3.Width, 7065);
  // 9000 x 3000: the bar moves to 2505 and (9000 - 6000) / 2 = 1500; the
  // frame's height 3000 - 3840 - 50 - 495 is refused, its width becomes
  // 9000 - 240 = 8760 and the results 8760 - 4380 - 150 = 4230.
  w.Form_Resize(9000, 3000);
  EXPECT_EQ(w.Layout.CommandBar, (TwipRect{1500, 2505, 6000, 495}));
  EXPECT_EQ(w.Layout.ComputeFrame, (TwipRect{120, 3840, 8760, 4155}));
  EXPECT_EQ(w.Layout.Text2.Height, 2315);
  EXPECT_EQ(w.Layout.Text3, (TwipRect{4380, 675, 4230, 3380}));
}

}  // namespace
}  // namespace zelto::testing
