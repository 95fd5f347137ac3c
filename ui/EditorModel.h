// The property editor of the user-defined substance (form "ch") without any
// toolkit: its controls are plain records, its event handlers plain methods.
// The desktop window only draws these records and forwards the operator's
// actions; tests drive the same methods directly.
//
// The editor works on slot 1 of Chemicals and VosslerSets. Only an OK whose
// every check passes changes the substance; a refused OK, Cancel or the close
// box leave name, both parameter records, both block texts and VosslerIndex
// exactly as they were when the editor opened.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// Position and size in twips; positions inside a frame are relative to it.
struct EditorRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct EditorFrame {
  std::string Caption;
  bool Border = true;
  EditorRect Rect;
  int TabIndex = 0;
};

struct EditorLabel {
  std::string Caption;
  bool Visible = true;
  EditorRect Rect;
  int TabIndex = 0;
};

struct EditorTextBox {
  std::string Text;  // multi-line boxes separate their lines with CR LF
  bool Enabled = true;
  bool Visible = true;
  bool Locked = false;      // read-only
  bool Grey = false;        // grey background (label columns)
  bool MultiLine = false;
  bool HorizontalScrollBar = false;
  int MaxLength = 0;        // characters the operator may type; 0 = unlimited
  std::string ToolTip;
  EditorRect Rect;
  int TabIndex = 0;
};

struct EditorCheckBox {
  std::string Caption;
  bool Value = false;  // ticked
  bool Enabled = true;
  bool Visible = true;
  EditorRect Rect;
  int TabIndex = 0;
};

struct EditorButton {
  std::string Caption;  // "&" marks the keyboard accelerator
  bool Enabled = true;
  bool Visible = true;
  EditorRect Rect;
  int TabIndex = 0;
};

// Controls that can hold the focus.
enum class EditorControl { Text3, Text1General, Text2General, Check1, Text1Vossler,
                           Text2Vossler, Ok, Cancel };

// The label columns shown beside the two value boxes: the parameter names of
// the general block (13 lines) or the Vossler block (14 lines), each padded
// with "-" to the display width of the longest name of its block (a Chinese
// character counts as two columns), lines joined by CR LF.
std::string EditorLabelColumn(uint8_t kind);

class EditorWindow {
 public:
  EditorWindow(ModelState& s, MessageSink& sink);

  // ---- Controls ----
  std::string Caption = "化学物属性";
  EditorFrame Frame1;                 // "当前物质属性"
  EditorFrame Frame2;                 // borderless frame of the two buttons
  std::array<EditorLabel, 7> Label1;  // elements 1, 2, 4, 5, 6 are used
  EditorTextBox Text3;                // substance name
  std::array<EditorTextBox, 2> Text1; // label columns: 0 general, 1 Vossler
  std::array<EditorTextBox, 2> Text2; // value columns: 0 general, 1 Vossler
  EditorCheckBox Check1;              // the substance has a Vossler set
  std::array<EditorButton, 2> Command1;  // 0 OK, 1 Cancel
  EditorControl Focus = EditorControl::Text3;

  // ---- Form-level values ----
  int16_t CurrentIndex = 0;     // slot of Chemicals being edited
  int16_t CurrentSetIndex = 0;  // slot of VosslerSets shown

  // ---- Event handlers and public methods of the form ----
  void Form_Load();
  void ShowData();
  bool ValidAndSaveData();
  void Check1_Click();
  void Text3_Validate(bool& cancel);
  void Command1_Click(int index);

  // ---- Operator actions (what the toolkit reports) ----
  // Moves the focus; leaving the name box validates it first and a refusal
  // keeps the focus there. Returns false when the move was vetoed.
  bool MoveFocus(EditorControl target);
  // Clicking a button: the focus moves to it (with validation), then it acts.
  void ClickButton(int index);
  // Clicking the check box: the focus moves to it, then its state toggles.
  void ClickCheck1();
  // The window's close box: closes like Cancel, without validation.
  void CloseBox();

  // Assigning the check box state from code; runs Check1_Click.
  void SetCheck1(bool ticked);

  bool IsOpen() const { return open_; }
  // True once an OK has saved the entries and closed the window.
  bool Saved() const { return saved_; }

 private:
  void EnsureSlots();
  void TakeSnapshot();
  void RestoreSnapshot();
  void Close();

  ModelState& s_;
  MessageSink& sink_;
  bool open_ = false;
  bool saved_ = false;

  // The substance as it was when the editor opened.
  ChemicalEntry savedEntry_;
  VosslerSet savedSet_;
  std::string savedGeneralText_;
  std::string savedVosslerText_;
};

}  // namespace zelto
