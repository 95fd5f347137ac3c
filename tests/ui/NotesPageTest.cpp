// The page "适用性提示": its caption counts the notes of the computation whose
// report the results box shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"
#include "ui/NotesPage.h"

namespace zelto {
namespace {

TEST(NotesPage, CaptionCountsTheNotesOfTheShownReport) {
  ModelState s;
  NullMessageSink sink;
  MainWindow w(s, sink);
  w.SettingsPath = std::string(ZELTO_SOURCE_DIR) + "/examples/01-chlorine-leak-day.ini";
  w.ContourPath = (std::filesystem::temp_directory_path() / "zelto-notes-page-CONCXY.DAT").string();
  w.Form_Load();
  w.Form_Activate();
  EXPECT_EQ(NotesPageCaption(w), "适用性提示");

  // Chlorine is a dense gas here and the 90 mg/m3 isopleth ends 60 m from
  // the source: two notes and the dense-gas table.
  ASSERT_TRUE(w.RefreshResults());
  EXPECT_EQ(NotesPageCaption(w), "适用性提示(2)");
  const std::string text = NotesPageText(w);
  EXPECT_EQ(text.rfind("1. 泄漏气体明显重于空气", 0), 0u) << text;
  EXPECT_NE(text.find("\n2. 计算点或廓线终点距源不足100 m"), std::string::npos) << text;
  EXPECT_NE(text.find("重气扩散估算（Britter–McQuaid 工作手册关联式，连续泄漏）"), std::string::npos) << text;
  EXPECT_NE(text.find("阈值 3 mg/m3（Cm/C0 = 1.05E-06）：高斯廓线终点 "), std::string::npos) << text;

  // A refused computation leaves the report, and so the notes, as they were.
  w.SetText1(box::AveragingTime, "999");
  EXPECT_FALSE(w.RefreshResults());
  EXPECT_EQ(NotesPageCaption(w), "适用性提示(2)");
}

}  // namespace
}  // namespace zelto
