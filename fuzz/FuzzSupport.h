// Helpers shared by the fuzz targets: a fixed clock, a scratch directory, the
// window's compute-button pass as the batch program runs it, and the checks
// that every target applies to what the operator would see.
#pragma once

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchJson.h"
#include "core/Messages.h"
#include "core/Platform.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"

namespace zelto::fuzz {

// Stops the fuzzer with a report that names what went wrong; libFuzzer then
// saves the input as a crash file.
[[noreturn]] inline void Fail(const std::string& what, const std::string& detail = "") {
  std::fprintf(stderr, "\n==ZELTO FUZZ FINDING== %s\n", what.c_str());
  if (!detail.empty()) std::fprintf(stderr, "%s\n", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

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

// A directory of this process for the settings and contour files (RAM-backed
// when /dev/shm exists, so the file traffic costs little).
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path(ec);
    std::filesystem::path d = base / ("zelto-fuzz-" + std::to_string(CurrentProcessId()));
    std::filesystem::create_directories(d, ec);
    return d.string();
  }();
  return dir;
}

inline std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// True when text holds "nan" or "inf" in any letter case.
inline bool HasNonFiniteWord(std::string_view text) {
  const std::string low = LowerAscii(text);
  return low.find("nan") != std::string::npos || low.find("inf") != std::string::npos;
}

// The report must not print a number as NaN or infinity. Texts the report
// shows as the operator typed them (duration box, substance name, threshold
// text, list texts, dates) may hold those letters legitimately, so each such
// text is blanked out of the report before it is searched.
inline void CheckReportText(const std::string& report, const std::vector<std::string>& echoed) {
  std::string text = report;
  for (const std::string& e : echoed) {
    if (e.empty() || !HasNonFiniteWord(e)) continue;
    size_t at = 0;
    while ((at = text.find(e, at)) != std::string::npos) {
      text.replace(at, e.size(), "\x01");
      at += 1;
    }
  }
  if (HasNonFiniteWord(text)) Fail("report prints NaN or infinity", report);
}

// Every number of the model record as the batch program writes it in JSON.
inline void CheckJsonNumbers(const BatchJson& j, const std::string& path, std::string& bad) {
  if (!bad.empty()) return;
  if (j.is_number_float()) {
    if (!std::isfinite(j.get<float>())) bad = path;
  } else if (j.is_array()) {
    for (size_t i = 0; i < j.size() && bad.empty(); ++i) {
      CheckJsonNumbers(j[i], path + "[" + std::to_string(i) + "]", bad);
    }
  } else if (j.is_object()) {
    for (auto it = j.begin(); it != j.end() && bad.empty(); ++it) {
      CheckJsonNumbers(it.value(), path + "." + it.key(), bad);
    }
  }
}

// Name of the first field of the record that holds no finite number ("" when
// all are finite).
inline std::string FirstNonFiniteField(const ModelState& s) {
  BatchJson obj = BatchJson::object();
  AddModelState(obj, s);
  std::string bad;
  CheckJsonNumbers(obj, "", bad);
  return bad;
}

// True when a number was printed as NaN or infinity in the general form
// ("NaN", "Inf", "-Inf"). Used on texts the program itself writes.
inline bool HasNonFiniteNumber(std::string_view text) {
  return text.find("NaN") != std::string_view::npos || text.find("Inf") != std::string_view::npos;
}

// The window built as the batch program builds it: fixed clock, files in the
// scratch directory, no help viewer.
struct WindowRun {
  ModelState s;
  MessageRecorder sink;
  MainWindow w{s, sink};

  explicit WindowRun(const std::string& settingsPath) {
    w.Clock = FixedClock;
    w.SettingsPath = settingsPath;
    w.ContourPath = ScratchDir() + "/CONCXY.DAT";
    w.HelpPath.clear();
    w.LibraryPath.clear();  // the library is read at start, not fuzzed here
  }

  // The compute button after the first activation; true when a report was made.
  bool Compute() {
    sink.messages.clear();
    w.Text3.Text.clear();
    w.Focus = FocusId{};
    w.Command1_Click(2);
    return !w.Text3.Text.empty();
  }

  // Set by the target when its input holds the letters of "nan" or "inf", so
  // that the window's own texts may echo them.
  bool inputHasNonFiniteWord = false;

  // Messages and the texts the program writes back into the boxes never show
  // a number as NaN or infinity.
  void CheckShownTexts() {
    if (inputHasNonFiniteWord) return;
    for (const std::string& m : sink.messages) {
      if (HasNonFiniteNumber(m)) Fail("message shows NaN or infinity", m);
    }
    for (int i = 0; i < 26; ++i) {
      if (HasNonFiniteNumber(w.Text1[i].Text)) {
        Fail("box " + std::to_string(i) + " shows NaN or infinity", w.Text1[i].Text);
      }
    }
    if (HasNonFiniteNumber(w.Text2.Text)) Fail("point list shows NaN or infinity", w.Text2.Text);
    for (const Label& l : w.Label2) {
      if (HasNonFiniteNumber(l.Caption)) Fail("label shows NaN or infinity", l.Caption);
    }
  }

  // The checks of every run: a report without NaN or infinity, and after a
  // report a model record (the batch program's JSON) without them either.
  void CheckOutcome(bool ok) {
    // ZELTO_FUZZ_VERBOSE=1 prints each outcome (for replaying single inputs).
    static const bool verbose = std::getenv("ZELTO_FUZZ_VERBOSE") != nullptr;
    if (verbose) {
      std::fprintf(stderr, "report: %s\n", ok ? "yes" : "no");
      for (const std::string& m : sink.messages) std::fprintf(stderr, "message: %s\n", m.c_str());
      if (ok) std::fprintf(stderr, "%s\n", w.Text3.Text.c_str());
    }
    CheckShownTexts();
    // ZELTO_FUZZ_STRICT=1 also checks the record after a refusal (the batch
    // program writes it to its JSON in either case).
    static const bool strict = std::getenv("ZELTO_FUZZ_STRICT") != nullptr;
    if (!ok && strict) {
      const std::string bad = FirstNonFiniteField(s);
      if (!bad.empty()) Fail("model record holds NaN or infinity after a refusal: " + bad);
    }
    if (!ok) return;
    CheckReportText(w.Text3.Text,
                    {w.Text1[13].Text, s.ChemicalName, s.Targets.ThresholdText, s.ReleaseDate,
                     s.ReleaseTime, s.LocalDateText, s.LocalTimeText, s.StabilityText,
                     w.Combo1[1].Text, w.Combo1[2].Text, w.Combo1[5].Text});
    const std::string bad = FirstNonFiniteField(s);
    if (!bad.empty()) Fail("model record holds NaN or infinity after a report: " + bad);
  }
};

}  // namespace zelto::fuzz
