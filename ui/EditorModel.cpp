#include "ui/EditorModel.h"

#include <algorithm>
#include <vector>

#include "chem/ParamBlocks.h"
#include "chem/ParamSlots.h"
#include "core/TextConv.h"

namespace zelto {

namespace {

const char* const kBlockToolTip = "同一行要输入多个参数的，须用逗号或空格分开";

// Columns a text takes in the editor's fixed-pitch label column: one per ASCII
// character, two per Chinese (any non-ASCII) character.
size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text) {
    if (c < 0x80) {
      width += 1;
    } else if ((c & 0xC0) != 0x80) {  // lead byte of a multi-byte character
      width += 2;
    }
  }
  return width;
}

EditorRect Rect(int left, int top, int width, int height) {
  return EditorRect{left, top, width, height};
}

}  // namespace

std::string EditorLabelColumn(uint8_t kind) {
  const int count = kind == block::General ? 13 : 14;
  std::vector<std::string> labels;
  for (int line = 1; line <= count; ++line) {
    labels.emplace_back(kind == block::General ? GeneralLineLabel(line) : VosslerLineLabel(line));
  }
  size_t widest = 0;
  for (const std::string& label : labels) widest = std::max(widest, DisplayWidth(label));
  std::string column;
  for (int i = 0; i < count; ++i) {
    std::string line = labels[i];
    line.append(widest - DisplayWidth(line), '-');
    if (i > 0) column += "\r\n";
    column += line;
  }
  return column;
}

EditorWindow::EditorWindow(ModelState& s, MessageSink& sink) : s_(s), sink_(sink) {
  Frame1 = {"当前物质属性", true, Rect(120, 60, 7515, 7515), 0};
  Frame2 = {"", false, Rect(180, 7620, 7395, 615), 1};

  Label1[4] = {"物质名称：", true, Rect(240, 360, 900, 180), 8};
  Label1[2] = {"参数名称及单位：", true, Rect(240, 720, 1440, 180), 6};
  Label1[1] = {"物质的一般参数(CH.DAT中的参数)：", true, Rect(3240, 720, 2880, 180), 5};
  Label1[6] = {"参数名称及单位：", true, Rect(240, 4200, 1440, 180), 13};
  Label1[5] = {"物质的Vossler 蒸发模型参数(EVAP.DAT中的参数)：", true,
               Rect(3240, 4200, 4140, 180), 12};
  Label1[0].Visible = false;
  Label1[3].Visible = false;

  Text3.MaxLength = 128;
  Text3.ToolTip = "可以英文，中文，或英文+中文";
  Text3.Rect = Rect(1200, 360, 5955, 270);
  Text3.TabIndex = 9;

  for (int k = 0; k < 2; ++k) {
    Text1[k].Text = EditorLabelColumn(static_cast<uint8_t>(k));
    Text1[k].Locked = true;
    Text1[k].Grey = true;
    Text1[k].MultiLine = true;
    Text1[k].HorizontalScrollBar = true;
    Text2[k].MultiLine = true;
    Text2[k].HorizontalScrollBar = true;
  }
  Text1[0].Rect = Rect(240, 900, 3015, 2895);
  Text1[0].TabIndex = 4;
  Text2[0].Rect = Rect(3240, 900, 3915, 2895);
  Text2[0].TabIndex = 7;
  Text1[1].Rect = Rect(240, 4380, 3015, 3015);
  Text1[1].TabIndex = 11;
  Text2[1].Rect = Rect(3240, 4380, 3915, 3015);
  Text2[1].TabIndex = 14;
  Text1[1].ToolTip = kBlockToolTip;
  Text2[1].ToolTip = kBlockToolTip;
  Text1[1].Enabled = false;
  Text2[1].Enabled = false;

  Check1 = {"本物质含有Vossler 蒸发模型的参数", false, true, true, Rect(240, 3960, 3495, 195), 10};

  Command1[0] = {"确定(&Y)", true, true, Rect(1560, 180, 1275, 375), 2};
  Command1[1] = {"取消(&C)", true, true, Rect(4620, 180, 1275, 375), 3};

  // The first control of the tab order that can hold the focus is the OK button.
  Focus = EditorControl::Ok;
}

// The main window creates slots 0 and 1 of both lists at start; an editor that
// finds them missing creates them the same way rather than index past the end.
void EditorWindow::EnsureSlots() {
  if (s_.Chemicals.size() < 2) {
    s_.Chemicals.resize(2);
    s_.Chemicals[1].Name = kUndefinedSubstanceName;
    s_.ChemicalCount = std::max<int16_t>(s_.ChemicalCount, 1);
  }
  if (s_.VosslerSets.size() < 2) {
    s_.VosslerSets.resize(2);
    s_.VosslerSetCount = std::max<int16_t>(s_.VosslerSetCount, 1);
  }
}

void EditorWindow::TakeSnapshot() {
  savedEntry_ = s_.Chemicals[1];
  savedSet_ = s_.VosslerSets[1];
  savedGeneralText_ = s_.GeneralParamText;
  savedVosslerText_ = s_.VosslerParamText;
}

void EditorWindow::RestoreSnapshot() {
  s_.Chemicals[1] = savedEntry_;
  s_.VosslerSets[1] = savedSet_;
  s_.GeneralParamText = savedGeneralText_;
  s_.VosslerParamText = savedVosslerText_;
}

void EditorWindow::Form_Load() {
  EnsureSlots();
  TakeSnapshot();
  open_ = true;
  saved_ = false;
  CurrentIndex = 1;
  ShowData();
}

void EditorWindow::ShowData() {
  const ChemicalEntry& e = s_.Chemicals[CurrentIndex];
  Text3.Text = e.Name;
  Text2[0].Text = FormatParamBlock(s_, CurrentIndex, block::General);
  CurrentSetIndex = e.VosslerIndex;
  SetCheck1(CurrentSetIndex >= 1);
  // Without a Vossler set (or with an index naming no stored set) the box shows
  // slot 0, which holds zeros.
  const int16_t shown =
      (CurrentSetIndex >= 1 && static_cast<size_t>(CurrentSetIndex) < s_.VosslerSets.size())
          ? CurrentSetIndex
          : int16_t{0};
  Text2[1].Text = FormatParamBlock(s_, shown, block::Vossler);
}

void EditorWindow::Check1_Click() {
  Text1[1].Enabled = Check1.Value;
  Text2[1].Enabled = Check1.Value;
}

void EditorWindow::SetCheck1(bool ticked) {
  Check1.Value = ticked;
  Check1_Click();
}

void EditorWindow::Text3_Validate(bool& cancel) {
  if (TrimSpaces(Text3.Text).empty()) {
    sink_.ShowMessage("名称不可省略！");
    Focus = EditorControl::Text3;
    cancel = true;
  }
}

bool EditorWindow::ValidAndSaveData() {
  EnsureSlots();
  ChemicalEntry& e = s_.Chemicals[CurrentIndex];
  e.Name = TrimSpaces(Text3.Text);
  s_.GeneralParamText = Text2[0].Text;
  std::string message;
  if (!ParseParamBlock(s_, s_.GeneralParamText, CurrentIndex, block::General, message, false,
                       Check1.Value, &sink_)) {
    sink_.ShowMessage(message);
    // A refused block changes nothing: the name, the texts and the part of the
    // record parsed before the refusal go back to what they were.
    RestoreSnapshot();
    return false;
  }
  if (!Check1.Value) {
    s_.Chemicals[CurrentIndex].VosslerIndex = 0;
    return true;
  }
  s_.VosslerParamText = Text2[1].Text;
  CurrentSetIndex = 1;
  if (!ParseParamBlock(s_, s_.VosslerParamText, 1, block::Vossler, message, false, true, &sink_)) {
    sink_.ShowMessage(message);
    RestoreSnapshot();
    return false;
  }
  ChemicalEntry& saved = s_.Chemicals[CurrentIndex];
  VosslerSet& set = s_.VosslerSets[1];
  set.Name = saved.Name;
  set.Values[vossler::MolecularWeight] = saved.Params[general::MolecularWeight];
  set.Values[vossler::BoilingPoint] = saved.Params[general::BoilingPoint];
  saved.VosslerIndex = 1;
  return true;
}

void EditorWindow::Close() {
  open_ = false;
}

void EditorWindow::Command1_Click(int index) {
  if (!open_) return;
  if (index == 0) {
    if (ValidAndSaveData()) {
      saved_ = true;
      Close();
    }
  } else if (index == 1) {
    RestoreSnapshot();
    Close();
  }
}

bool EditorWindow::MoveFocus(EditorControl target) {
  if (Focus == EditorControl::Text3 && target != EditorControl::Text3) {
    bool cancel = false;
    Text3_Validate(cancel);
    if (cancel) return false;
  }
  Focus = target;
  return true;
}

void EditorWindow::ClickButton(int index) {
  if (index != 0 && index != 1) return;
  if (!Command1[index].Enabled || !Command1[index].Visible) return;
  if (!MoveFocus(index == 0 ? EditorControl::Ok : EditorControl::Cancel)) return;
  Command1_Click(index);
}

void EditorWindow::ClickCheck1() {
  if (!Check1.Enabled || !Check1.Visible) return;
  if (!MoveFocus(EditorControl::Check1)) return;
  SetCheck1(!Check1.Value);
}

void EditorWindow::CloseBox() {
  if (!open_) return;
  RestoreSnapshot();
  Close();
}

}  // namespace zelto
