// A main window started with a fixed clock and no settings file, driven the
// way the desktop window drives it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"

namespace zelto::testing {

inline ClockReading FixedClock() {
  ClockReading r;
  r.Year = 2017;
  r.Month = 7;
  r.Day = 1;
  r.Hour = 12;
  r.Minute = 30;
  r.Second = 30;
  return r;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.Clock = FixedClock;
    w.SettingsPath = "/nonexistent-zelto-dir/ZELTO.ini";
    w.LibraryPath.clear();  // the library tests name their own file
    w.Form_Load();
  }

  // The operator types text into box i and leaves it; returns true when accepted.
  bool Enter(int i, const std::string& text) {
    w.SetText1(i, text);
    rec.messages.clear();
    w.Focus = FocusId{};
    return w.LeaveText1(i);
  }

  // The only message shown since the last Enter (empty when none).
  std::string OnlyMessage() const {
    if (rec.messages.size() != 1) return rec.messages.empty() ? "" : "<several messages>";
    return rec.messages[0];
  }

  FocusId BoxFocus(int i) const { return FocusId{ControlKind::Text1, i}; }

  // Gives slot 1 a complete defined substance.
  void DefineSubstance(const std::string& name, float molecularWeight, float boilingK) {
    ChemicalEntry& e = s.Chemicals[1];
    e.Name = name;
    e.Params[1] = molecularWeight;
    e.Params[2] = boilingK;
    w.Combo1[6].Items[1] = name;
  }

  // Sets the boxes that let the default inputs pass a whole preparation:
  // a continuous release of 10 min averaged over 1 min.
  void ContinuousDefaults() {
    w.SetListIndex(4, 1);
    w.SetListIndex(5, 0);
    w.SetText1(13, "10");
    w.SetText1(22, "1");
  }

  ModelState s;
  MessageRecorder rec;
  MainWindow w{s, rec};
};

}  // namespace zelto::testing
