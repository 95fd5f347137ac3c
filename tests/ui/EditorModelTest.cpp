#include <gtest/gtest.h>

#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/EditorModel.h"

namespace zelto {
namespace {

// The chemical list as the main window creates it at start.
ModelState FreshState() {
  ModelState s;
  s.Chemicals.resize(2);
  s.Chemicals[1].Name = "未定义化学物质";
  s.ChemicalCount = 1;
  s.VosslerSets.resize(2);
  s.VosslerSetCount = 1;
  return s;
}

const char* const kZeroGeneralBlock =
    "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0, 0, 0\r\n0, 0\r\n0\r\n0";
const char* const kZeroVosslerBlock =
    "0\r\n0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n0, 0\r\n"
    "0, 0, 0, 0, 0, 0\r\n0, 0\r\n0, 0, 0\r\n0, 0\r\n0";

// A general block with molecular weight 46.07 and boiling point 351.4 K.
const char* const kGoodGeneralBlock =
    "0\r\n0\r\n0\r\n10\r\n46.07\r\n351.4\r\n513.9\r\n60.6\r\n167\r\n8.1122,1592.864,226.184\r\n"
    "0.8, 0\r\n4.53\r\n362.6";
// A complete Vossler block, every checked line non-zero.
const char* const kGoodVosslerBlock =
    "159\r\n1,2,3\r\n400,300\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n"
    "500,160\r\n1,2,3,4,5,6\r\n500,160\r\n1,2,3\r\n500,160\r\n50.36";

// A substance that has been saved before: name, both records, both texts.
ModelState SavedSubstance() {
  ModelState s = FreshState();
  ChemicalEntry& e = s.Chemicals[1];
  e.Name = "乙醇";
  e.StelMg = 10;
  e.Params[1] = 46.07f;
  e.Params[2] = 351.4f;
  e.Params[6] = 8.1122f;
  e.VosslerIndex = 1;
  s.VosslerSets[1].Name = "乙醇";
  s.VosslerSets[1].Values[1] = 46.07f;
  s.VosslerSets[1].Values[3] = 159.0f;
  s.VosslerSets[1].Values[40] = 50.36f;
  s.GeneralParamText = "earlier general text";
  s.VosslerParamText = "earlier Vossler text";
  return s;
}

void ExpectSameSubstance(const ModelState& before, const ModelState& after) {
  const ChemicalEntry& a = before.Chemicals[1];
  const ChemicalEntry& b = after.Chemicals[1];
  EXPECT_EQ(a.Name, b.Name);
  EXPECT_EQ(a.TwaPpm, b.TwaPpm);
  EXPECT_EQ(a.TwaMg, b.TwaMg);
  EXPECT_EQ(a.StelPpm, b.StelPpm);
  EXPECT_EQ(a.StelMg, b.StelMg);
  EXPECT_EQ(a.Params, b.Params);
  EXPECT_EQ(a.VosslerIndex, b.VosslerIndex);
  EXPECT_EQ(before.VosslerSets[1].Name, after.VosslerSets[1].Name);
  EXPECT_EQ(before.VosslerSets[1].Values, after.VosslerSets[1].Values);
  EXPECT_EQ(before.GeneralParamText, after.GeneralParamText);
  EXPECT_EQ(before.VosslerParamText, after.VosslerParamText);
}

// ---- Opening the editor ----

TEST(EditorOpen, FreshSubstanceShowsZerosAndDisabledVosslerBoxes) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  EXPECT_TRUE(ch.IsOpen());
  EXPECT_EQ(ch.Caption, "化学物属性");
  EXPECT_EQ(ch.CurrentIndex, 1);
  EXPECT_EQ(ch.Text3.Text, "未定义化学物质");
  EXPECT_EQ(ch.Text2[0].Text, kZeroGeneralBlock);
  EXPECT_FALSE(ch.Check1.Value);
  EXPECT_FALSE(ch.Text1[1].Enabled);
  EXPECT_FALSE(ch.Text2[1].Enabled);
  EXPECT_EQ(ch.Text2[1].Text, kZeroVosslerBlock);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(EditorOpen, SubstanceWithVosslerSetTicksTheBox) {
  ModelState s = SavedSubstance();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  EXPECT_EQ(ch.Text3.Text, "乙醇");
  EXPECT_EQ(ch.CurrentSetIndex, 1);
  EXPECT_TRUE(ch.Check1.Value);
  EXPECT_TRUE(ch.Text1[1].Enabled);
  EXPECT_TRUE(ch.Text2[1].Enabled);
  EXPECT_EQ(ch.Text2[0].Text,
            "0\r\n0\r\n0\r\n10\r\n46.07\r\n351.4\r\n0\r\n0\r\n0\r\n8.1122, 0, 0\r\n0, 0\r\n0\r\n0");
  EXPECT_EQ(ch.Text2[1].Text,
            "159\r\n0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n0, 0\r\n0, 0, 0, 0\r\n"
            "0, 0\r\n0, 0, 0, 0, 0, 0\r\n0, 0\r\n0, 0, 0\r\n0, 0\r\n50.36");
}

TEST(EditorOpen, ControlsCarryTheirCaptionsAndLimits) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  EXPECT_EQ(ch.Frame1.Caption, "当前物质属性");
  EXPECT_EQ(ch.Label1[4].Caption, "物质名称：");
  EXPECT_EQ(ch.Label1[1].Caption, "物质的一般参数(CH.DAT中的参数)：");
  EXPECT_EQ(ch.Label1[5].Caption, "物质的Vossler 蒸发模型参数(EVAP.DAT中的参数)：");
  EXPECT_EQ(ch.Check1.Caption, "本物质含有Vossler 蒸发模型的参数");
  EXPECT_EQ(ch.Command1[0].Caption, "确定(&Y)");
  EXPECT_EQ(ch.Command1[1].Caption, "取消(&C)");
  EXPECT_EQ(ch.Text3.MaxLength, 128);
  EXPECT_EQ(ch.Text3.ToolTip, "可以英文，中文，或英文+中文");
  EXPECT_EQ(ch.Text2[1].ToolTip, "同一行要输入多个参数的，须用逗号或空格分开");
  EXPECT_TRUE(ch.Text1[0].Locked);
  EXPECT_EQ(ch.Text2[1].Rect.Top, 4380);
  EXPECT_EQ(ch.Text2[1].Rect.Height, 3015);
  EXPECT_EQ(ch.Command1[1].Rect.Left, 4620);
}

TEST(EditorOpen, LabelColumnsArePaddedToTheWidestLabel) {
  // General block: the widest label, "时间加权平均暴露限值TWA(mg/m3)", takes
  // 10 Chinese characters (20 columns) plus 10 ASCII columns = 30.
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  const std::string general = ch.Text1[0].Text;
  EXPECT_EQ(general.substr(0, general.find("\r\n")), "时间加权平均暴露限值TWA(ppm)--");
  EXPECT_NE(general.find("\r\n分子量------------------------\r\n"), std::string::npos);
  // Vossler block: "气相热传导常数温度范围(K)(最高,最低)" is 22 + 3 + 11 = 36
  // columns; "分子扩散体积" (12 columns) gets 24 dashes and ends the column.
  const std::string vossler = ch.Text1[1].Text;
  const std::string last = "分子扩散体积" + std::string(24, '-');
  ASSERT_GE(vossler.size(), last.size());
  EXPECT_EQ(vossler.substr(vossler.size() - last.size()), last);
  EXPECT_NE(vossler.find("\r\n气相热传导常数温度范围(K)(最高,最低)\r\n"), std::string::npos);
}

// ---- The Vossler check box ----

TEST(EditorCheckBox, TickingEnablesAndUntickingDisablesTheVosslerBoxes) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.ClickCheck1();
  EXPECT_TRUE(ch.Check1.Value);
  EXPECT_TRUE(ch.Text1[1].Enabled);
  EXPECT_TRUE(ch.Text2[1].Enabled);
  ch.ClickCheck1();
  EXPECT_FALSE(ch.Check1.Value);
  EXPECT_FALSE(ch.Text1[1].Enabled);
  EXPECT_FALSE(ch.Text2[1].Enabled);
}

// ---- The name box ----

TEST(EditorName, BlankNameIsRefusedAndNeitherButtonActs) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ASSERT_TRUE(ch.MoveFocus(EditorControl::Text3));
  ch.Text3.Text = "   ";
  ch.ClickButton(0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "名称不可省略！");
  EXPECT_EQ(ch.Focus, EditorControl::Text3);
  EXPECT_TRUE(ch.IsOpen());
  ch.ClickButton(1);
  EXPECT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[1], "名称不可省略！");
  EXPECT_TRUE(ch.IsOpen());
  ExpectSameSubstance(before, s);
}

TEST(EditorName, NameIsSavedTrimmed) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ASSERT_TRUE(ch.MoveFocus(EditorControl::Text3));
  ch.Text3.Text = "  Ethanol 乙醇  ";
  ch.Text2[0].Text = kGoodGeneralBlock;
  ch.ClickButton(0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_TRUE(ch.Saved());
  EXPECT_EQ(s.Chemicals[1].Name, "Ethanol 乙醇");
}

// ---- OK ----

TEST(EditorOk, WithoutVosslerSetSavesGeneralBlockAndClearsIndex) {
  ModelState s = SavedSubstance();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "乙醇2";
  ch.Text2[0].Text = kGoodGeneralBlock;
  ch.ClickCheck1();  // untick
  ch.ClickButton(0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_EQ(s.Chemicals[1].Name, "乙醇2");
  EXPECT_EQ(s.Chemicals[1].VosslerIndex, 0);
  EXPECT_EQ(s.Chemicals[1].StelMg, 10.0f);
  EXPECT_EQ(s.Chemicals[1].Params[1], 46.07f);
  EXPECT_EQ(s.Chemicals[1].Params[3], 513.9f);
  EXPECT_EQ(s.Chemicals[1].Params[8], 226.184f);
  EXPECT_EQ(s.Chemicals[1].Params[9], 0.8f);
  EXPECT_EQ(s.Chemicals[1].Params[12], 362.6f);
  EXPECT_EQ(s.GeneralParamText, kGoodGeneralBlock);
  // The Vossler set and its text stay as they were.
  EXPECT_EQ(s.VosslerParamText, "earlier Vossler text");
  EXPECT_EQ(s.VosslerSets[1].Name, "乙醇");
  EXPECT_EQ(s.VosslerSets[1].Values[3], 159.0f);

  // The next opening shows the zeros of slot 0 in the Vossler box.
  EditorWindow again(s, sink);
  again.Form_Load();
  EXPECT_FALSE(again.Check1.Value);
  EXPECT_EQ(again.Text2[1].Text, kZeroVosslerBlock);
}

TEST(EditorOk, WithVosslerSetCopiesNameWeightAndBoilingPoint) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "乙醇";
  ch.Text2[0].Text = kGoodGeneralBlock;
  ch.ClickCheck1();
  ch.Text2[1].Text = kGoodVosslerBlock;
  ch.ClickButton(0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(ch.Saved());
  EXPECT_EQ(ch.CurrentSetIndex, 1);
  EXPECT_EQ(s.Chemicals[1].VosslerIndex, 1);
  EXPECT_EQ(s.VosslerSets[1].Name, "乙醇");
  EXPECT_EQ(s.VosslerSets[1].Values[1], 46.07f);
  EXPECT_EQ(s.VosslerSets[1].Values[2], 351.4f);
  EXPECT_EQ(s.VosslerSets[1].Values[3], 159.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[32], 6.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[40], 50.36f);
  EXPECT_EQ(s.VosslerParamText, kGoodVosslerBlock);
}

TEST(EditorOk, VapourPressureWarningDoesNotStopTheSave) {
  ModelState s = FreshState();
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text2[0].Text = "0\r\n0\r\n0\r\n0\r\n17\r\n240\r\n0\r\n0\r\n0\r\n0,0,0\r\n0,0\r\n0\r\n0";
  ch.ClickButton(0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0],
            "注意：当前物质蒸气压常数A,B,C均为0，只能采用Vossler模式计算蒸气压，如果是液体，"
            "则需输入Vossler蒸发模型参数(EVAP.DAT中的参数)！");
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_EQ(s.Chemicals[1].Params[1], 17.0f);
}

// ---- Refusals, Cancel and the close box leave the substance as it was ----

TEST(EditorUnchanged, RefusedGeneralBlockShowsOneMessageAndKeepsEverything) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "新名称";
  const std::string typed = "0\r\n0\r\n0\r\n0\r\n0\r\n351.4\r\n0\r\n0\r\n0\r\n1,2,3\r\n0,0\r\n0\r\n0";
  ch.Text2[0].Text = typed;
  ch.ClickButton(0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "注意：当前物质分子量未输入！");
  EXPECT_TRUE(ch.IsOpen());
  EXPECT_FALSE(ch.Saved());
  EXPECT_EQ(ch.Text2[0].Text, typed);  // the operator's text stays for correction
  EXPECT_EQ(ch.Text3.Text, "新名称");
  ExpectSameSubstance(before, s);
}

TEST(EditorUnchanged, RefusedVosslerBlockUndoesTheAcceptedGeneralBlock) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "新名称";
  ch.Text2[0].Text = kGoodGeneralBlock;
  // Line 3 (viscosity fit range) given as two zeros.
  ch.Text2[1].Text =
      "200\r\n1,2,3\r\n0,0\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n"
      "500,160\r\n1,2,3,4,5,6\r\n500,160\r\n1,2,3\r\n500,160\r\n50.36";
  ch.ClickButton(0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "物质的Vossler 蒸发模型参数：气相粘度常数温度范围未输入.");
  EXPECT_TRUE(ch.IsOpen());
  ExpectSameSubstance(before, s);
}

TEST(EditorUnchanged, TooShortVosslerBlockIsRefused) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text2[0].Text = kGoodGeneralBlock;
  ch.Text2[1].Text = "1\r\n2\r\n3";
  ch.ClickButton(0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0],
            "物质的Vossler 蒸发模型参数(EVAP.DAT中的参数)，应有14行数据，与左边参数名称相对应。"
            "如果数据未知，可设为0.");
  ExpectSameSubstance(before, s);
}

TEST(EditorUnchanged, CancelAfterEditsAndAfterARefusalChangesNothing) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "另一个名称";
  ch.Text2[0].Text = "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0";
  ch.ClickButton(0);  // refused: no molecular weight
  ASSERT_TRUE(ch.IsOpen());
  ch.ClickButton(1);
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_FALSE(ch.Saved());
  ExpectSameSubstance(before, s);
}

TEST(EditorUnchanged, CancelWithValidEntriesChangesNothing) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ch.Text3.Text = "乙醇X";
  ch.Text2[0].Text = kGoodGeneralBlock;
  ch.ClickCheck1();
  ch.ClickButton(1);
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_TRUE(sink.messages.empty());
  ExpectSameSubstance(before, s);
}

TEST(EditorUnchanged, CloseBoxChangesNothingEvenWithABlankName) {
  ModelState s = SavedSubstance();
  const ModelState before = s;
  MessageRecorder sink;
  EditorWindow ch(s, sink);
  ch.Form_Load();
  ASSERT_TRUE(ch.MoveFocus(EditorControl::Text3));
  ch.Text3.Text = "";
  ch.CloseBox();
  EXPECT_FALSE(ch.IsOpen());
  EXPECT_TRUE(sink.messages.empty());
  ExpectSameSubstance(before, s);
}

}  // namespace
}  // namespace zelto
