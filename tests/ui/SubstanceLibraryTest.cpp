// The substance library in the main window: loading, the search as the
// operator types, the PAC and copy actions, and the settings file's CAS record.
// The library is tests/data/CHEMLIB-fixture.DAT (made by its script there):
// chlorine, ammonia, benzene (with a Vossler set), a substance with molecular
// weight 0, nitrogen tetroxide and UDMH, in that order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chem/ParamBlocks.h"
#include "core/Files.h"
#include "core/Gbk.h"
#include "core/Platform.h"
#include "ui/ControlIds.h"
#include "ui/MainWindow.h"
#include "ui/SettingsFile.h"
#include "ui/SubstanceChoice.h"

namespace zelto {
namespace {

const std::string kFixture = std::string(ZELTO_SOURCE_DIR) + "/tests/data/CHEMLIB-fixture.DAT";

// List indices of the fixture's substances (the refused one takes no slot).
constexpr int kChlorine = 2, kAmmonia = 3, kBenzene = 4, kN2O4 = 5, kUdmh = 6;

ClockReading FixedClock() { return ClockReading{2017, 7, 1, 12, 30, 30}; }

struct LibraryWindow {
  ModelState s;
  MessageRecorder sink;
  MessageRecorder diagnostics;
  MainWindow w{s, sink};
  explicit LibraryWindow(const std::string& library = kFixture) {
    w.Clock = FixedClock;
    w.SettingsPath = "/nonexistent-zelto-dir/ZELTO.ini";
    w.LibraryPath = library;
    w.Diagnostics = &diagnostics;
    w.Form_Load();
  }
};

std::string ScratchFile(const char* name) {
  return Utf8FromPath(std::filesystem::temp_directory_path() /
                      (std::string("zelto-lib-") + std::to_string(CurrentProcessId()) + "-" + name));
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

TEST(SubstanceLibrary, LoadsIntoSlotsAfterTheDefinedSubstance) {
  LibraryWindow lw;
  const MainWindow& w = lw.w;
  // Six substances, one refused by the molecular-weight check: 5 from slot 2 on.
  EXPECT_EQ(lw.s.ChemicalCount, 6);
  EXPECT_EQ(lw.s.VosslerSetCount, 2);  // slot 1 and benzene's set
  ASSERT_EQ(w.Combo1[combo::Substance].Items.size(), 7u);
  EXPECT_EQ(w.Combo1[combo::Substance].Items[0], "临时物质");
  EXPECT_EQ(w.Combo1[combo::Substance].Items[1], "未定义化学物质");
  EXPECT_EQ(w.Combo1[combo::Substance].Items[kChlorine], "氯  CHLORINE  7782-50-5");
  EXPECT_EQ(lw.s.Chemicals[kN2O4].Name, "NITROGEN TETROXIDE");
  EXPECT_EQ(lw.s.Chemicals[kBenzene].VosslerIndex, 2);
  EXPECT_FLOAT_EQ(lw.s.VosslerSets[2].Values[40], 90.68f);  // diffusion volume, line 14
  EXPECT_FLOAT_EQ(lw.s.VosslerSets[2].Values[2], 353.2f);   // boiling point copied
  // The refused substance is named in one line, the operator sees no message.
  ASSERT_EQ(lw.diagnostics.messages.size(), 1u);
  EXPECT_NE(lw.diagnostics.messages[0].find("坏物质"), std::string::npos);
  EXPECT_NE(lw.diagnostics.messages[0].find("注意：当前物质分子量未输入！"), std::string::npos);
  EXPECT_TRUE(lw.sink.messages.empty());
  EXPECT_TRUE(w.LibraryNotice.empty());
}

TEST(SubstanceLibrary, MissingOrDamagedLibraryLeavesTheTwoEntriesAndOneNotice) {
  const std::string damaged = ScratchFile("damaged.DAT");
  // A block cut off in its general lines, then binary noise.
  WriteAll(damaged, std::string("[SUBSTANCE]\r\nNameEn=X\r\n[CH.DAT]\r\n1\r\n") +
                        std::string("\xff\xfe\x00\x01", 4));
  for (const std::string& path : {std::string("/nonexistent-zelto-dir/CHEMLIB.DAT"), damaged}) {
    LibraryWindow lw(path);
    EXPECT_EQ(lw.s.ChemicalCount, 1);
    EXPECT_EQ(lw.s.Chemicals.size(), 2u);
    EXPECT_EQ(lw.s.VosslerSets.size(), 2u);
    EXPECT_EQ(lw.w.Combo1[combo::Substance].Items,
              (std::vector<std::string>{"临时物质", "未定义化学物质"}));
    EXPECT_EQ(lw.sink.messages, std::vector<std::string>{kLibraryUnusableNotice});
  }
  std::remove(damaged.c_str());
}

TEST(SubstanceSearch, FindsByAnyPartOfNameCasFormulaOrUnNumber) {
  LibraryWindow lw;
  const MainWindow& w = lw.w;
  // "氯" is the whole Chinese name of chlorine; no other name holds it.
  EXPECT_EQ(MatchingSubstances(w, "氯"), std::vector<int>{kChlorine});
  EXPECT_EQ(MatchingSubstances(w, "1005"), std::vector<int>{kAmmonia});      // UN number
  EXPECT_EQ(MatchingSubstances(w, "un1005"), std::vector<int>{kAmmonia});
  EXPECT_EQ(MatchingSubstances(w, "7664417"), std::vector<int>{kAmmonia});   // CAS without dashes
  EXPECT_EQ(MatchingSubstances(w, " c6h6 "), std::vector<int>{kBenzene});    // formula, any case
  EXPECT_EQ(MatchingSubstances(w, "甲肼"), std::vector<int>{kUdmh});         // part of a name
  EXPECT_EQ(MatchingSubstances(w, "xyz"), std::vector<int>{});
  // "NITRO" starts nitrogen tetroxide's English name; "临时" the temporary substance.
  EXPECT_EQ(MatchingSubstances(w, "nitro"), std::vector<int>{kN2O4});
  EXPECT_EQ(MatchingSubstances(w, "临时"), std::vector<int>{0});
  // Whole-field matches first: "AMMONIA" is ammonia's name; "MONIA" only inside it.
  // "N2" is inside N2O4's formula start (rank 1) and UDMH's formula C2H8N2 (rank 2).
  EXPECT_EQ(MatchingSubstances(w, "n2"), (std::vector<int>{kN2O4, kUdmh}));
  // Every word must match: "氯 1005" names no substance.
  EXPECT_EQ(MatchingSubstances(w, "氯 1005"), std::vector<int>{});
  EXPECT_EQ(MatchingSubstances(w, "").size(), 7u);
}

TEST(SubstanceSearch, BatchKeyIsCasOrExactName) {
  LibraryWindow lw;
  EXPECT_EQ(FindSubstanceKey(lw.w, "7782-50-5"), kChlorine);
  EXPECT_EQ(FindSubstanceKey(lw.w, "氨"), kAmmonia);
  EXPECT_EQ(FindSubstanceKey(lw.w, "benzene"), kBenzene);
  EXPECT_EQ(FindSubstanceKey(lw.w, "BENZ"), -1);  // exact names only
  EXPECT_EQ(FindSubstanceKey(lw.w, "未定义化学物质"), -1);
}

TEST(SubstanceChoice, LibrarySubstanceStaysChosenWhileSlotOneIsUndefined) {
  LibraryWindow lw;
  MainWindow& w = lw.w;
  w.SetText1(box::Thresholds, "0");
  ASSERT_TRUE(w.SetListIndex(combo::Substance, kN2O4));
  EXPECT_EQ(w.Combo1[combo::Substance].ListIndex, kN2O4);
  EXPECT_EQ(lw.s.ChemicalIndex, kN2O4);
  // The name the computation tests for its special rule.
  EXPECT_EQ(lw.s.ChemicalName, "NITROGEN TETROXIDE");
  EXPECT_EQ(w.Text1[box::MolecularWeight].Text, "92.011");
  // Threshold from the TWA in mg/m3 (the unit list is at mg/m3), line 2 of the block.
  EXPECT_EQ(w.Text1[box::Thresholds].Text, "5.6");
}

TEST(PacAction, FillsThresholdsAndUnitOnlyWhenAsked) {
  LibraryWindow lw;
  MainWindow& w = lw.w;
  w.SetText1(box::Thresholds, "7");
  w.SetListIndex(combo::Substance, kChlorine);
  EXPECT_EQ(w.Text1[box::Thresholds].Text, "7");  // choosing leaves the operator's thresholds
  ASSERT_TRUE(w.CanUsePac());
  w.UsePacThresholds();
  EXPECT_EQ(w.Text1[box::Thresholds].Text, "0.5,2,20");
  EXPECT_EQ(w.Combo1[combo::ThresholdUnit].ListIndex, 1);  // ppm

  w.SetListIndex(combo::Substance, kUdmh);
  w.UsePacThresholds();
  EXPECT_EQ(w.Text1[box::Thresholds].Text, "3,8,40");
  EXPECT_EQ(w.Combo1[combo::ThresholdUnit].ListIndex, 0);  // mg/m3

  // No PAC published, and no library substance: the action is off and does nothing.
  w.SetListIndex(combo::Substance, kN2O4);
  EXPECT_FALSE(w.CanUsePac());
  w.UsePacThresholds();
  EXPECT_EQ(w.Text1[box::Thresholds].Text, "3,8,40");
  w.SetListIndex(combo::Substance, 0);
  EXPECT_FALSE(w.CanUsePac());
  EXPECT_FALSE(w.CanCopyFromLibrary());
}

TEST(CopyAction, LibrarySubstanceBecomesTheUserDefinedOne) {
  LibraryWindow lw;
  MainWindow& w = lw.w;
  ModelState& s = lw.s;
  w.SetListIndex(combo::Substance, kBenzene);
  ASSERT_TRUE(w.CanCopyFromLibrary());
  w.CopyFromLibrary();
  EXPECT_EQ(w.Combo1[combo::Substance].ListIndex, 1);
  EXPECT_EQ(w.Combo1[combo::Substance].Items[1], "BENZENE");
  EXPECT_EQ(s.Chemicals[1].Name, "BENZENE");
  EXPECT_EQ(s.Chemicals[1].Params, s.Chemicals[kBenzene].Params);
  EXPECT_EQ(s.Chemicals[1].VosslerIndex, 1);
  EXPECT_EQ(s.VosslerSets[1].Values, s.VosslerSets[2].Values);
  EXPECT_EQ(s.ChemicalIndex, 1);
  // The texts the editor shows and the settings file keeps.
  EXPECT_EQ(s.GeneralParamText, FormatParamBlock(s, kBenzene, 0));
  EXPECT_EQ(s.VosslerParamText, FormatParamBlock(s, 2, 1));
  // The library itself is unchanged.
  EXPECT_EQ(s.Chemicals[kBenzene].VosslerIndex, 2);
  EXPECT_EQ(w.Combo1[combo::Substance].Items[kBenzene], "苯  BENZENE  71-43-2");
}

TEST(SettingsCasRecord, FilesWithoutALibraryChoiceAreWrittenAsBefore) {
  LibraryWindow with;
  ModelState plainState;
  MessageRecorder plainSink;
  MainWindow plain(plainState, plainSink);
  plain.Clock = FixedClock;
  plain.LibraryPath.clear();
  plain.Form_Load();
  EXPECT_EQ(FormatSettingsFile(with.w), FormatSettingsFile(plain));
  with.w.SetListIndex(combo::Substance, 0);
  plain.SetListIndex(combo::Substance, 0);
  EXPECT_EQ(FormatSettingsFile(with.w), FormatSettingsFile(plain));
}

TEST(SettingsCasRecord, ChoiceSurvivesAReorderedLibrary) {
  LibraryWindow writer;
  writer.w.SetListIndex(combo::Substance, kChlorine);
  const std::string bytes = FormatSettingsFile(writer.w);
  // Record 42 after record 41 ("name",VosslerIndex), where readers of 41 records stop.
  const std::string tail = "\"未定义化学物质\",0\r\n\"7782-50-5\"\r\n";
  const std::string text = GbkToUtf8(bytes);
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

  // The same library with its substances in reverse order: chlorine is last.
  std::string library;
  ASSERT_TRUE(ReadFileBytes(kFixture, library));
  std::vector<std::string> blocks;
  for (size_t at = library.find("[SUBSTANCE]"); at != std::string::npos;) {
    const size_t next = library.find("[SUBSTANCE]", at + 1);
    blocks.push_back(library.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next;
  }
  std::string reversed;
  for (auto b = blocks.rbegin(); b != blocks.rend(); ++b) reversed += *b;
  const std::string libraryPath = ScratchFile("reversed.DAT");
  const std::string settingsPath = ScratchFile("ZELTO.ini");
  WriteAll(libraryPath, reversed);
  WriteAll(settingsPath, bytes);

  LibraryWindow reader(libraryPath);
  ASSERT_TRUE(ReadSettingsFile(reader.w, settingsPath));
  const ComboBox& list = reader.w.Combo1[combo::Substance];
  EXPECT_EQ(list.ListIndex, 6);  // 5 substances reversed: chlorine in slot 6
  EXPECT_EQ(list.Text, "氯  CHLORINE  7782-50-5");
  EXPECT_TRUE(reader.sink.messages.empty());

  // A CAS number the library does not hold: the temporary substance, with a notice.
  std::string unknown = text;
  unknown.replace(unknown.size() - tail.size(), tail.size(),
                  "\"未定义化学物质\",0\r\n\"1234-56-7\"\r\n");
  WriteAll(settingsPath, Utf8ToGbk(unknown));
  LibraryWindow fallback(libraryPath);
  ReadSettingsFile(fallback.w, settingsPath);
  EXPECT_EQ(fallback.w.Combo1[combo::Substance].ListIndex, 0);
  EXPECT_EQ(fallback.sink.messages,
            std::vector<std::string>{SubstanceNotInLibraryNotice("1234-56-7")});

  // Record 41 may give the defined substance only its own Vossler set (slot
  // 1), not one of the library's (benzene's set is slot 2).
  std::string foreignSet = text;
  foreignSet.replace(foreignSet.size() - tail.size(), tail.size(), "\"苯\",2\r\n");
  WriteAll(settingsPath, Utf8ToGbk(foreignSet));
  LibraryWindow setReader(libraryPath);
  ReadSettingsFile(setReader.w, settingsPath);
  EXPECT_EQ(setReader.s.Chemicals[1].Name, "苯");
  EXPECT_EQ(setReader.s.Chemicals[1].VosslerIndex, 0);

  // A file of 41 records whose substance index (record 34) points past the
  // defined substance reads as before the library: the index is outside the
  // list of two, and the list keeps the temporary substance.
  std::string withoutCas = text;
  withoutCas.replace(withoutCas.size() - tail.size(), tail.size(), "\"未定义化学物质\",0\r\n");
  ASSERT_NE(withoutCas.find("\r\n" + std::to_string(kChlorine) + "\r\n"), std::string::npos);
  WriteAll(settingsPath, Utf8ToGbk(withoutCas));
  LibraryWindow oldReader(libraryPath);
  ReadSettingsFile(oldReader.w, settingsPath);
  EXPECT_EQ(oldReader.w.Combo1[combo::Substance].ListIndex, 0);
  EXPECT_TRUE(oldReader.sink.messages.empty());
  std::remove(libraryPath.c_str());
  std::remove(settingsPath.c_str());
}

}  // namespace
}  // namespace zelto
