// The example settings files are exactly what the settings writer produces
// for the example entries. Regenerate them after a deliberate change with
//   ZELTO_WRITE_EXAMPLES=1 test_batch --gtest_filter='Examples.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/Files.h"
#include "core/Messages.h"
#include "tests/batch/ExampleScenarios.h"
#include "ui/SettingsFile.h"

namespace zelto {
namespace {

std::string ExamplePath(const char* file) {
  return std::string(ZELTO_SOURCE_DIR) + "/examples/" + file;
}

// The substance library the program ships (an example chooses from it).
std::string ShippedLibrary() { return std::string(ZELTO_SOURCE_DIR) + "/data/CHEMLIB.DAT"; }

// The window as the operator leaves it after entering a scenario: started
// without a settings file, entries typed, then checked as saving checks them.
std::string SettingsBytesOf(const examples::Scenario& sc, MessageRecorder& rec) {
  ModelState s;
  MainWindow w(s, rec);
  w.Clock = [] { return ClockReading{2023, 1, 1, 12, 0, 0}; };
  w.SettingsPath = "/nonexistent/ZELTO.ini";
  w.LibraryPath = ShippedLibrary();
  w.Form_Load();
  w.Form_Activate();  // the built-in defaults are refused; that is expected here
  rec.messages.clear();
  sc.enter(w);
  const bool accepted = w.PrepareInputs();
  EXPECT_TRUE(accepted) << sc.file;
  EXPECT_EQ(w.Text3.Text, "计算结果\r\n");
  return FormatSettingsFile(w);
}

TEST(Examples, SettingsFilesAreWhatTheWriterProduces) {
  const bool write = std::getenv("ZELTO_WRITE_EXAMPLES") != nullptr;
  const auto all = examples::AllScenarios();
  ASSERT_GE(all.size(), 5u);
  for (const auto& sc : all) {
    MessageRecorder rec;
    const std::string bytes = SettingsBytesOf(sc, rec);
    EXPECT_TRUE(rec.messages.empty()) << sc.file << ": " << (rec.messages.empty() ? "" : rec.messages[0]);
    if (write) {
      std::string error;
      ASSERT_TRUE(WriteFileAtomic(ExamplePath(sc.file), bytes, error)) << error;
      continue;
    }
    std::string stored;
    ASSERT_TRUE(ReadFileBytes(ExamplePath(sc.file), stored)) << sc.file;
    EXPECT_EQ(stored, bytes) << sc.file << " differs from what the settings writer produces";
  }
}

TEST(Examples, ReadBackGiveTheSameSettings) {
  for (const auto& sc : examples::AllScenarios()) {
    std::string stored;
    ASSERT_TRUE(ReadFileBytes(ExamplePath(sc.file), stored)) << sc.file;
    ModelState s;
    MessageRecorder rec;
    MainWindow w(s, rec);
    w.SettingsPath = ExamplePath(sc.file);
    w.LibraryPath = ShippedLibrary();
    w.Form_Load();
    w.Form_Activate();
    EXPECT_TRUE(rec.messages.empty()) << sc.file << ": " << (rec.messages.empty() ? "" : rec.messages[0]);
    EXPECT_EQ(FormatSettingsFile(w), stored) << sc.file;
  }
}

}  // namespace
}  // namespace zelto
