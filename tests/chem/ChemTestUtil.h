// Shared set-up of the chem tests: the chemical lists as the main window
// creates them at start, and block texts built line by line.
#pragma once

#include <string>
#include <vector>

#include "core/ModelState.h"

namespace zelto::chemtest {

// Slots 0 and 1 of both lists, slot 1 named as at start.
inline ModelState StartState() {
  ModelState s;
  s.Chemicals.resize(2);
  s.ChemicalCount = 1;
  s.Chemicals[1].Name = "未定义化学物质";
  s.VosslerSets.resize(2);
  s.VosslerSetCount = 1;
  return s;
}

// Lines joined with CR LF, none after the last.
inline std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// A general block every check accepts, with the vapour-pressure constants set.
inline std::vector<std::string> GoodGeneralLines() {
  return {"25",          " 1 0 . 5", "1D3",   "-.5e-1x",         "78.1abc", "351.4", "516.2",
          "63.0",        "167.1",    "8.1 1500.5  -60", "0.9，0.001", "4.53",    "362.6"};
}

// A Vossler block every check accepts.
inline std::vector<std::string> GoodVosslerLines() {
  return {"180.3",      "1.1, 2.2, 3.3",          "500, 200", "4, 5, 6, 7", "600, 250",
          "8 9 10 11",  "700,260",                "12, 13, 14, 15", "800, 270",
          "16, 17, 18, 19, 20, 21", "900, 280",   "22, 23, 24", "1000, 290", "95.5"};
}

// Values 3..40 that GoodVosslerLines gives, in order.
inline std::vector<float> GoodVosslerValues() {
  return {180.3f, 1.1f, 2.2f, 3.3f, 500, 200, 4,  5,  6,  7,  600, 250, 8,  9,   10,  11,  700, 260, 12,
          13,     14,   15,   800,  270,  16, 17, 18, 19, 20,  21,  900, 280, 22, 23, 24, 1000, 290, 95.5f};
}

}  // namespace zelto::chemtest
