// The main window as a plain model of its controls and its event handlers.
//
// Nothing here depends on a toolkit: the desktop window draws these controls
// and forwards its events to the handlers; the batch program and the tests
// drive the same handlers directly. Every message goes through `sink`.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chem/SubstanceLibrary.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "notes/Applicability.h"
#include "ui/ControlIds.h"
#include "ui/Twips.h"

namespace zelto {

// Single- or multi-line text box. MaxLength (0 = unlimited) limits typing only;
// texts the program assigns are kept whole.
struct TextBox {
  std::string Text;
  bool Enabled = true;
  bool Visible = true;
  bool Locked = false;  // read-only
  int MaxLength = 0;
  std::string ToolTip;
  // A multi-line box (the point list, the results) that always shows a
  // horizontal and a vertical scroll bar; its lines are not wrapped.
  bool BothScrollBars = false;
};

// Drop-down list. Text is the shown text: the chosen item, or for an editable
// list whatever the operator typed. ListIndex -1 = no item chosen.
struct ComboBox {
  std::vector<std::string> Items;
  int ListIndex = -1;
  std::string Text;
  bool Enabled = true;
  bool Visible = true;
  bool Editable = false;
  std::string ToolTip;
};

struct CheckBox {
  int Value = 0;  // 0 not ticked, 1 ticked
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

struct Label {
  std::string Caption;
  bool Visible = true;
};

struct Button {
  std::string Caption;
  bool Enabled = true;
  std::string ToolTip;
};

// One reading of the local clock.
struct ClockReading {
  int Year = 2000, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0;
};

// Tooltip of the receptor point list; its refusal repeats it.
inline constexpr char kPointListHint[] =
    "每一行输入一个计算点定义，格式为（X,Y,Z,T)，其中X和Y为顺风和横风向坐标，Z为离地高，"
    "T为预测时刻(min)。以逗号分隔";

// Caption of the compute button while the dispersion stages run, and while
// they run with a close request waiting for their end.
inline constexpr char kComputingCaption[] = "正在计算...";
inline constexpr char kComputingCaptionClosePending[] = "正在计算...（计算结束后关闭）";

// Reads the computer's local clock.
ClockReading SystemClock();

// The two halves of RefreshInput.
enum class InputHalf : uint8_t {
  LocationAndTime,     // local time, solar elevation and the day/night line
  ReleaseAndSubstance  // release mode, duration, substance and what they enable
};

class MainWindow {
 public:
  MainWindow(ModelState& state, MessageSink& messages);

  ModelState& s;
  MessageSink& sink;

  // ---- Controls (design defaults are set by the constructor) ----
  std::array<TextBox, box::Count> Text1;
  std::array<ComboBox, combo::Count> Combo1;
  CheckBox Check1;
  TextBox Text2;  // receptor points, one "X,Y,Z,T" per line
  TextBox Text3;  // results, read-only
  // Labels whose captions or visibility change (named in label1, label2).
  std::array<Label, label1::Count> Label1;
  std::array<Label, label2::Count> Label2;
  std::array<Button, command::Count> Command1;  // "属性...", "估算液面", "刷新结果"
  std::array<Button, cmd::Count> Cmd;           // "保存(&S)", "放弃(&X)", "帮助(&H)"

  // ---- Form-level state ----
  bool Busy = false;
  bool FirstActivation = false;
  bool Discard = false;
  bool WindowEnabled = true;
  bool Hourglass = false;  // hourglass mouse pointer shown
  bool Computing = false;  // the dispersion stages are running
  bool Closed = false;     // the window has been closed (Form_Unload not cancelled)
  // A close was requested while the dispersion stages ran; it is carried out
  // (Form_Unload with its checks and saving) once the computation has ended,
  // whether it produced a report or was refused.
  bool ClosePending = false;
  std::string ResultSummary;
  // The applicability notes and dense-gas estimate of the computation whose
  // report the results box shows (page "适用性提示").
  Applicability Notes;
  FocusId Focus;
  // Where the computation frame, the command bar and the two multi-line boxes
  // are now (twips); Form_Resize moves them, the rest keep their design places.
  ResizableRects Layout;

  // ---- Files (default: beside the executable; batch and tests: anywhere) ----
  std::string SettingsPath;  // "ZELTO.ini"
  std::string ContourPath;   // "CONCXY.DAT"
  std::string HelpPath;      // "readme.txt"
  // The substance library "CHEMLIB.DAT", read by Form_Load into the chemical
  // list after the user-defined substance. Empty: no library, no notice.
  std::string LibraryPath;

  // ---- Substance library ----
  // Headers of the library substances in list order (their slots are their
  // list indices: slot k of Chemicals is item k of the substance list).
  SubstanceLibrary Library;
  // The notice shown when the library could not be used (empty when it was).
  std::string LibraryNotice;
  // Where the substances the library's checks refused are named, one line
  // each (standard error in the programs). Null: not reported.
  MessageSink* Diagnostics = nullptr;

  // ---- Injected services ----
  // Local clock used by Form_Load (default: SystemClock).
  std::function<ClockReading()> Clock;
  // Shows the property editor modally; returns when it is closed. Default: nothing.
  std::function<void()> OpenEditor;
  // Opens the help file, given by its full path, in a viewer the desktop
  // chooses. Default: nothing.
  std::function<void(const std::string&)> OpenHelp;
  // Lets the window process pending events during the long searches. Default: none.
  std::function<void()> ProcessEvents;
  // Called when a computation starts and when it ends, after Computing,
  // Hourglass, WindowEnabled and the compute button have changed, so that the
  // window shows the state even for a run too short to process events.
  std::function<void()> ComputationStateChanged;

  // ---- Assignments that raise the events the toolkit would raise ----
  // Sets the text of box i; runs Text1_Change(i) when the text changed.
  void SetText1(int i, const std::string& text);
  // Chooses item index of list i (Text follows); runs Combo1_Click(i) when the
  // choice changed. An index outside the list is ignored (returns false).
  bool SetListIndex(int i, int index);
  // Ticks (1) or clears (0) Check1; runs Check1_Click when the state changed.
  void SetCheck(int value);
  void SetFocus(ControlKind kind, int index = 0);
  // The operator leaves box i for a control that takes part in validation:
  // runs Text1_Validate; returns true when the box was accepted.
  bool LeaveText1(int i);
  // The operator moves the focus to target (click, Tab, accelerator). Leaving
  // a box checks it unless target is a button of the command bar, which takes
  // no part in validation, so that "放弃(&X)" works with a refused entry in a
  // box; a refusal keeps the focus in the box and returns false. Leaving the
  // roughness list confines its typed text to a valid roughness.
  bool MoveFocus(FocusId target);
  // The operator types into editable list i (the roughness list); other
  // lists take no typing.
  void SetListText(int i, const std::string& text);

  // ---- Event handlers and methods ----
  void Text1_Validate(int index, bool& cancel);
  void Text1_Change(int index);
  void Combo1_Click(int index);
  void Combo1_LostFocus(int index);
  void Check1_Click();
  void RefreshInput(InputHalf half);
  bool PrepareInputs();
  // The three dispersion stages and the report (defined in ui/RunComputation.cpp).
  // Returns false when a stage refused (its message has been shown).
  bool RunComputation();
  // The compute button: inputs prepared, the window disabled while the stages
  // run, the report shown. Returns true when the report was produced. A close
  // requested meanwhile runs afterwards, after any message of the run.
  bool RefreshResults();
  void Command1_Click(int index);
  void Form_Load();
  // Each time the window becomes the active window: when it is first shown
  // and when the operator comes back from the property editor (Command1_Click
  // runs it then). Not when one of its own message boxes closes, and not when
  // the operator switches back from another program: with a refused box each
  // activation would show the refusal again, without end.
  void Form_Activate();
  void Form_Unload(bool& cancel);
  // The client area has a new size (twips): the command bar and the
  // computation frame with its two multi-line boxes follow it into Layout.
  void Form_Resize(int clientWidth, int clientHeight);
  void Cmd_Click(int index);

  // ---- Substance library (ui/SubstanceChoice.cpp) ----
  // The library substance chosen in the substance list, or null.
  const LibrarySubstance* ChosenLibrarySubstance() const;
  // "采用PAC-1/2/3": the thresholds box gets the chosen substance's three PAC
  // values and the unit list their unit. Enabled only when it has them.
  bool CanUsePac() const;
  void UsePacThresholds();
  // "从物质库复制": the chosen library substance (both blocks and the name)
  // becomes the user-defined substance of slot 1, which is then chosen.
  bool CanCopyFromLibrary() const;
  void CopyFromLibrary();
  // Chooses the substance with this CAS number; false (nothing changes) when
  // the library has none.
  bool ChooseSubstanceByCas(const std::string& cas);

  // What a request to close the window (its close box, the system) came to.
  enum class CloseAnswer : uint8_t {
    Closed,    // Form_Unload ran and the window may close
    StaysOpen, // Form_Unload refused (a box refused or the settings not saved)
    Pending    // the dispersion stages are running: the close runs once they end
  };
  CloseAnswer RequestClose();

 private:
  // Form_Load's step that reads the library into slots 2 on.
  void LoadLibrary();
  // Shows the message (if any), returns the focus to box index, sets cancel.
  void RejectBox(int index, bool& cancel, const char* message);
};

}  // namespace zelto
