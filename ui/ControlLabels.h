// Which input a control is, in words: its name in the window's design and the
// caption of the label in front of it. The window shows a refusal by putting
// the focus back into the box at fault; without a window (batch program) the
// same box is named with these texts.
#pragma once

#include <string>

#include "ui/MainWindow.h"

namespace zelto {

// "Text1(8)", "Combo1(3)", "Check1" or "Text2" for an input control; empty for
// no control, the results box and the buttons (they name no input).
std::string ControlName(FocusId id);

// The caption of the label in front of an input control as the window shows it
// now (the labels of the amount, the release height and the stack data follow
// the release mode); a list that holds the unit of a box has that box's label,
// the point list has the caption of the check box that enables it. Empty where
// ControlName is empty.
std::string ControlLabel(const MainWindow& w, FocusId id);

}  // namespace zelto
