// The example scenarios of examples/: each is what an operator would enter in
// the main window (and, for the defined substance, in the property editor)
// before saving. The settings files are produced from these entries by the
// program's own settings writer.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/EditorModel.h"
#include "ui/MainWindow.h"

namespace zelto::examples {

struct Scenario {
  const char* file;  // name in examples/
  std::function<void(MainWindow&)> enter;
};

// Types the texts into the boxes (index, text).
inline void Type(MainWindow& w, const std::vector<std::pair<int, std::string>>& boxes) {
  for (const auto& [index, text] : boxes) w.SetText1(index, text);
}

// Receptor points, one "X,Y,Z,T" per line.
inline void Points(MainWindow& w, const std::string& lines) {
  w.SetCheck(1);
  w.Text2.Text = lines;
}

// Site and weather of an east-China chemical park in summer.
inline void SummerSite(MainWindow& w) {
  Type(w, {{0, "121.47E"}, {1, "31.23N"}, {4, "5"}, {5, "90"}, {6, "10"}, {7, "0"},
           {9, "15"}, {10, "30"}, {12, "10000"}});
  w.SetListIndex(0, 1);  // 3.0 cm open flat land
  w.SetListIndex(1, 2);  // concrete
  w.SetListIndex(2, 0);  // dry
}

// A continuous chlorine leak from a pipe flange: 10 kg/min for 30 minutes.
inline void ChlorineLeak(MainWindow& w) {
  w.SetListIndex(4, 1);  // short or continuous
  w.SetListIndex(5, 0);  // minutes
  w.SetListIndex(6, 0);  // temporary substance
  w.SetListIndex(7, 0);  // kg/min
  w.SetListIndex(8, 0);  // mg/m3
  Type(w, {{13, "30"}, {14, "70.9"}, {15, "0"}, {16, "10"}, {17, "10"}, {18, "20"},
           {19, "1.5"}, {20, "100"}, {21, "10"}, {22, "10"}, {23, "30"}, {24, "1.5"},
           {25, "3,30,90"}});
  Points(w, "100,0,1.5,10\r\n500,0,1.5,20\r\n1000,50,1.5,30");
}

inline std::vector<Scenario> AllScenarios() {
  std::vector<Scenario> list;

  list.push_back({"01-chlorine-leak-day.ini", [](MainWindow& w) {
                    SummerSite(w);
                    Type(w, {{2, "2023/07/15"}, {3, "14:00:00"}, {8, "3.0"}, {11, "3"}});
                    w.SetListIndex(3, 1);  // middle cloud
                    ChlorineLeak(w);
                  }});

  list.push_back({"02-chlorine-leak-night-inversion.ini", [](MainWindow& w) {
                    SummerSite(w);
                    Type(w, {{2, "2023/07/15"}, {3, "23:30:00"}, {8, "1.5"}, {11, "2"},
                             {12, "150"}});
                    w.SetListIndex(3, 2);  // low cloud
                    ChlorineLeak(w);
                  }});

  list.push_back({"03-ammonia-instantaneous.ini", [](MainWindow& w) {
                    // A 500 kg ammonia tank fails at once on an overcast morning.
                    Type(w, {{0, "113.26E"}, {1, "23.13N"}, {2, "2023/03/20"}, {3, "09:30:00"},
                             {4, "20"}, {5, "225"}, {6, "10"}, {7, "0"}, {8, "4.0"}, {9, "15"},
                             {10, "15"}, {11, "8"}, {12, "10000"}});
                    w.SetListIndex(0, 2);  // 10 cm low crops
                    w.SetListIndex(1, 0);  // soil
                    w.SetListIndex(2, 1);  // wet
                    w.SetListIndex(3, 2);  // low cloud
                    w.SetListIndex(4, 0);  // instantaneous
                    w.SetListIndex(6, 0);
                    w.SetListIndex(7, 0);  // kg
                    w.SetListIndex(8, 0);
                    Type(w, {{14, "17.03"}, {15, "0"}, {16, "500"}, {17, "10"}, {18, "20"},
                             {19, "2"}, {20, "100"}, {21, "10"}, {22, "1"}, {23, "5"},
                             {24, "1.5"}, {25, "30,210"}});
                  }});

  list.push_back({"04-sulfur-dioxide-stack.ini", [](MainWindow& w) {
                    // Flue gas of a boiler on a snowy winter morning in north China; the wind
                    // is measured on a 30 m mast.
                    Type(w, {{0, "112.55E"}, {1, "37.87N"}, {2, "2023/12/10"}, {3, "10:00:00"},
                             {4, "800"}, {5, "315"}, {6, "30"}, {7, "0"}, {8, "5.0"}, {9, "15"},
                             {10, "-5"}, {11, "5"}, {12, "10000"}});
                    w.SetListIndex(0, 3);  // 25 cm tall crops, obstacles
                    w.SetListIndex(1, 0);  // soil
                    w.SetListIndex(2, 2);  // snow-covered
                    w.SetListIndex(3, 1);  // middle cloud
                    w.SetListIndex(4, 2);  // stack
                    w.SetListIndex(5, 0);
                    w.SetListIndex(6, 0);
                    w.SetListIndex(7, 0);
                    w.SetListIndex(8, 0);
                    Type(w, {{13, "60"}, {14, "64.07"}, {15, "0"}, {16, "3"}, {17, "10"},
                             {18, "20"}, {19, "60"}, {20, "150"}, {21, "40"}, {22, "15"},
                             {23, "60"}, {24, "1.5"}, {25, "0.02,0.05,0.5"}});
                  }});

  list.push_back({"05-carbon-disulfide-spill.ini", [](MainWindow& w) {
                    // Carbon disulfide runs from a damaged drum line into a 30 m2
                    // bund: 2 kg/min for 20 minutes, evaporating by the CLEWELL model.
                    Type(w, {{0, "117.20E"}, {1, "39.13N"}, {2, "2023/09/05"}, {3, "16:00:00"},
                             {4, "10"}, {5, "180"}, {6, "10"}, {7, "0"}, {8, "2.5"}, {9, "15"},
                             {10, "25"}, {11, "5"}, {12, "10000"}});
                    w.SetListIndex(0, 1);
                    w.SetListIndex(1, 2);  // concrete
                    w.SetListIndex(2, 0);  // dry
                    w.SetListIndex(3, 1);
                    w.SetListIndex(4, 1);
                    w.SetListIndex(5, 0);
                    w.SetListIndex(6, 0);
                    w.SetListIndex(7, 0);
                    w.SetListIndex(8, 0);
                    Type(w, {{13, "20"}, {14, "76.14"}, {15, "297"}, {16, "2"}, {17, "30"},
                             {18, "25"}, {19, "0"}, {20, "100"}, {21, "10"}, {22, "10"},
                             {23, "20"}, {24, "1.5"}, {25, "10,50,150"}});
                  }});

  list.push_back({"06-benzene-defined-substance.ini", [](MainWindow& w) {
                    // Benzene, entered as the defined substance with its general and
                    // Vossler parameter blocks; a tank-farm leak into a 40 m2 pool.
                    Type(w, {{0, "118.78E"}, {1, "32.04N"}, {2, "2023/06/01"}, {3, "11:00:00"},
                             {4, "10"}, {5, "45"}, {6, "10"}, {7, "0"}, {8, "2.0"}, {9, "15"},
                             {10, "25"}, {11, "2"}, {12, "10000"}});
                    w.SetListIndex(0, 2);
                    w.SetListIndex(1, 2);  // concrete
                    w.SetListIndex(2, 0);  // dry
                    w.SetListIndex(3, 0);  // high cloud
                    w.SetListIndex(4, 1);
                    w.SetListIndex(5, 0);
                    w.SetListIndex(7, 0);
                    w.SetListIndex(8, 0);
                    w.OpenEditor = [&w]() {
                      EditorWindow editor(w.s, w.sink);
                      editor.Form_Load();
                      editor.Text3.Text = "苯(Benzene)";
                      // TWA and STEL (ppm, mg/m3), molecular weight, boiling point,
                      // critical temperature, pressure and volume, Antoine constants
                      // (mmHg, deg C), liquid-density constants, molecular diameter
                      // (Angstrom) and interaction energy (J).
                      editor.Text2[0].Text =
                          "1.88\r\n6\r\n3.13\r\n10\r\n78.11\r\n353.2\r\n562.2\r\n48.3\r\n259\r\n"
                          "6.90565, 1211.033, 220.79\r\n1.899, 0.8947\r\n5.349\r\n5.692E-21";
                      editor.SetCheck1(true);
                      // Freezing point (K); vapour viscosity (Pa s); vapour heat
                      // capacity (J/(kg K)); vapour conductivity (W/(m K)); heat of
                      // vaporisation (Tc, Tb, J/kg at Tb, Watson exponent); saturation
                      // pressure (log10 mmHg, K); liquid conductivity; diffusion volume.
                      editor.Text2[1].Text =
                          "278.7\r\n-2.8E-7, 2.6E-8, 0\r\n600, 280\r\n"
                          "-434.3, 6.067, -3.863E-3, 9.128E-7\r\n1000, 273\r\n"
                          "-8.455E-3, 3.618E-5, 9.799E-8, -4.058E-11\r\n1000, 273\r\n"
                          "562.2, 353.2, 393300, 0.38\r\n562, 279\r\n"
                          "6.90565, 1211.033, -52.36, 0, 0, 0\r\n377, 280\r\n"
                          "0.2564, -3.84E-4, 0\r\n413, 279\r\n90.68";
                      editor.ClickButton(0);
                    };
                    w.Command1_Click(0);
                    w.SetListIndex(6, 1);
                    Type(w, {{13, "60"}, {16, "5"}, {17, "40"}, {18, "25"}, {19, "0"},
                             {20, "100"}, {21, "10"}, {22, "15"}, {23, "60"}, {24, "1.5"},
                             {25, "10,100,1600"}});
                  }});

  list.push_back({"07-acrylonitrile-pool-library.ini", [](MainWindow& w) {
                    // Acrylonitrile chosen from the substance library by its CAS
                    // number: 3 kg/min for 20 minutes from a tank's outlet valve into a
                    // 50 m2 bund on a hot afternoon; the library's Vossler set gives the
                    // evaporation, its PAC-1/2/3 the thresholds.
                    Type(w, {{0, "121.55E"}, {1, "29.87N"}, {2, "2023/08/10"}, {3, "15:00:00"},
                             {4, "5"}, {5, "135"}, {6, "10"}, {7, "0"}, {8, "2.5"}, {9, "15"},
                             {10, "30"}, {11, "4"}, {12, "10000"}});
                    w.SetListIndex(0, 1);  // 3.0 cm open flat land
                    w.SetListIndex(1, 2);  // concrete
                    w.SetListIndex(2, 0);  // dry
                    w.SetListIndex(3, 1);  // middle cloud
                    w.SetListIndex(4, 1);  // short or continuous
                    w.SetListIndex(5, 0);  // minutes
                    w.SetListIndex(7, 0);  // kg/min
                    w.ChooseSubstanceByCas("107-13-1");
                    w.UsePacThresholds();
                    Type(w, {{13, "20"}, {16, "3"}, {17, "50"}, {18, "30"}, {22, "10"},
                             {23, "20"}, {24, "1.5"}});
                  }});

  return list;
}

}  // namespace zelto::examples
