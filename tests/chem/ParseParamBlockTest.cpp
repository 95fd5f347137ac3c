#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chem/ParamBlocks.h"
#include "core/Messages.h"
#include "tests/chem/ChemTestUtil.h"

namespace zelto {
namespace {

using chemtest::GoodGeneralLines;
using chemtest::GoodVosslerLines;
using chemtest::GoodVosslerValues;
using chemtest::JoinCrLf;
using chemtest::StartState;

const char* const kGeneralTooFew =
    "物质的一般参数(CH.DAT中的参数)，应有13行数据，与左边参数名称相对应。如果数据未知，可设为0.";
const char* const kVosslerTooFew =
    "物质的Vossler 蒸发模型参数(EVAP.DAT中的参数)，应有14行数据，与左边参数名称相对应。如果数据未知，可设为0.";
const char* const kVapourWarning =
    "注意：当前物质蒸气压常数A,B,C均为0，只能采用Vossler模式计算蒸气压，如果是液体，则需输入Vossler蒸发模型参数(EVAP.DAT中的参数)！";

// Fills every number of slot 1 with a recognisable value, so that a test can
// see whether a parse touched it.
void MarkSlotOne(ModelState& s) {
  ChemicalEntry& e = s.Chemicals[1];
  e.TwaPpm = -1;
  e.TwaMg = -2;
  e.StelPpm = -3;
  e.StelMg = -4;
  for (int i = 1; i <= 12; ++i) e.Params[i] = -10.0f - i;
  e.VosslerIndex = 1;
  for (int i = 1; i <= 40; ++i) s.VosslerSets[1].Values[i] = -100.0f - i;
}

void ExpectGeneralMarked(const ModelState& s) {
  const ChemicalEntry& e = s.Chemicals[1];
  EXPECT_EQ(e.TwaPpm, -1);
  EXPECT_EQ(e.TwaMg, -2);
  EXPECT_EQ(e.StelPpm, -3);
  EXPECT_EQ(e.StelMg, -4);
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(e.Params[i], -10.0f - i) << "Params " << i;
}

void ExpectVosslerMarked(const ModelState& s) {
  for (int i = 1; i <= 40; ++i)
    EXPECT_EQ(s.VosslerSets[1].Values[i], -100.0f - i) << "Values " << i;
}

bool ParseChecked(ModelState& s, const std::string& text, uint8_t kind, std::string& message,
                  MessageRecorder* sink = nullptr, bool ticked = false) {
  return ParseParamBlock(s, text, 1, kind, message, false, ticked, sink);
}

// ---- General block ----

TEST(ParseGeneralBlock, StoresEveryLineByTheLeadingNumberAndListRules) {
  ModelState s = StartState();
  MarkSlotOne(s);
  std::string message = "old";
  MessageRecorder sink;
  ASSERT_TRUE(ParseChecked(s, JoinCrLf(GoodGeneralLines()), 0, message, &sink));
  EXPECT_EQ(message, "");
  EXPECT_TRUE(sink.messages.empty());
  const ChemicalEntry& e = s.Chemicals[1];
  EXPECT_EQ(e.TwaPpm, 25.0f);
  EXPECT_EQ(e.TwaMg, 10.5f);       // blanks inside the number are skipped
  EXPECT_EQ(e.StelPpm, 1000.0f);   // "D" exponent
  EXPECT_EQ(e.StelMg, -0.05f);     // trailing text ignored
  EXPECT_EQ(e.Params[1], 78.1f);
  EXPECT_EQ(e.Params[2], 351.4f);
  EXPECT_EQ(e.Params[3], 516.2f);
  EXPECT_EQ(e.Params[4], 63.0f);
  EXPECT_EQ(e.Params[5], 167.1f);
  EXPECT_EQ(e.Params[6], 8.1f);    // blank-separated list, runs of blanks collapsed
  EXPECT_EQ(e.Params[7], 1500.5f);
  EXPECT_EQ(e.Params[8], -60.0f);
  EXPECT_EQ(e.Params[9], 0.9f);    // full-width comma
  EXPECT_EQ(e.Params[10], 0.001f);
  EXPECT_EQ(e.Params[11], 4.53f);
  EXPECT_EQ(e.Params[12], 362.6f);
  // Name and Vossler link are not part of the block.
  EXPECT_EQ(e.Name, "未定义化学物质");
  EXPECT_EQ(e.VosslerIndex, 1);
  ExpectVosslerMarked(s);
}

TEST(ParseGeneralBlock, PieceCountDecidesAcceptance) {
  // 12 lines and a final CR LF: 13 pieces, the last empty, so line 13 reads 0.
  {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::vector<std::string> lines = GoodGeneralLines();
    lines.pop_back();
    std::string message;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines) + "\r\n", 0, message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(s.Chemicals[1].Params[11], 4.53f);
    EXPECT_EQ(s.Chemicals[1].Params[12], 0.0f);
  }
  // 12 lines without a final CR LF: refused, nothing stored.
  {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::vector<std::string> lines = GoodGeneralLines();
    lines.pop_back();
    std::string message;
    EXPECT_FALSE(ParseChecked(s, JoinCrLf(lines), 0, message));
    EXPECT_EQ(message, kGeneralTooFew);
    ExpectGeneralMarked(s);
  }
  // Lone line feeds do not end a line: the whole text is one piece.
  {
    ModelState s = StartState();
    std::string text;
    for (const std::string& l : GoodGeneralLines()) text += l + "\n";
    std::string message;
    EXPECT_FALSE(ParseChecked(s, text, 0, message));
    EXPECT_EQ(message, kGeneralTooFew);
  }
  // An empty text has no pieces at all.
  {
    ModelState s = StartState();
    std::string message;
    EXPECT_FALSE(ParseChecked(s, "", 0, message));
    EXPECT_EQ(message, kGeneralTooFew);
  }
  // Pieces after the 13th are ignored.
  {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines.push_back("999");
    lines.push_back("abc");
    std::string message;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message));
    EXPECT_EQ(s.Chemicals[1].Params[12], 362.6f);
  }
}

TEST(ParseGeneralBlock, RefusesMissingMolecularWeightOrBoilingPointAndStoresNothing) {
  struct Case {
    const char* weight;
    const char* boiling;
    const char* message;
  };
  const Case cases[] = {
      {"0", "351.4", "注意：当前物质分子量未输入！"},
      {"abc", "351.4", "注意：当前物质分子量未输入！"},
      {"", "", "注意：当前物质分子量未输入！"},  // weight is checked first
      {"1e39", "351.4", "注意：当前物质分子量未输入！"},  // beyond the single range counts as 0
      {"78.1", "0", "注意：当前物质沸点未输入！"},
      {"78.1", "-0", "注意：当前物质沸点未输入！"},
  };
  for (const Case& c : cases) {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::vector<std::string> lines = GoodGeneralLines();
    lines[4] = c.weight;
    lines[5] = c.boiling;
    lines[9] = "0, 0, 0";  // no vapour-pressure warning may come before the refusal
    std::string message;
    MessageRecorder sink;
    EXPECT_FALSE(ParseChecked(s, JoinCrLf(lines), 0, message, &sink)) << c.weight;
    EXPECT_EQ(message, c.message) << c.weight << " / " << c.boiling;
    EXPECT_TRUE(sink.messages.empty());
    // A refused block leaves the substance exactly as it was (lines 1-4 included).
    ExpectGeneralMarked(s);
  }
}

TEST(ParseGeneralBlock, VapourPressureWarningIsShownOnceAndDoesNotRefuse) {
  // 1, -1 and 0 sum to 0 although two constants are non-zero.
  for (const char* line : {"1, -1, 0", "0 0 0", "", "abc"}) {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines[9] = line;
    std::string message;
    MessageRecorder sink;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message, &sink)) << line;
    EXPECT_EQ(message, kVapourWarning) << line;
    ASSERT_EQ(sink.messages.size(), 1u) << line;
    EXPECT_EQ(sink.messages[0], kVapourWarning);
    EXPECT_EQ(s.Chemicals[1].Params[1], 78.1f);  // the block was stored
  }
  // A ticked Vossler box suppresses the warning.
  {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines[9] = "1, -1, 0";
    std::string message;
    MessageRecorder sink;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message, &sink, true));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(s.Chemicals[1].Params[6], 1.0f);
    EXPECT_EQ(s.Chemicals[1].Params[7], -1.0f);
  }
  // Without a sink the warning is only handed back.
  {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines[9] = "0";
    std::string message;
    EXPECT_TRUE(ParseParamBlock(s, JoinCrLf(lines), 1, 0, message, false, false, nullptr));
    EXPECT_EQ(message, kVapourWarning);
  }
  // A constant too small to matter in double still makes a non-zero sum.
  {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines[9] = "0, 0, 1e-30";
    std::string message;
    MessageRecorder sink;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message, &sink));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(sink.messages.empty());
  }
}

TEST(ParseGeneralBlock, ListLinesTakeTheirCountOfItems) {
  struct Case {
    const char* pressureLine;
    const char* densityLine;
    float a, b, c, d1, d2;
  };
  const Case cases[] = {
      {"1, 2, 3, 4", "5, 6, 7", 1, 2, 3, 5, 6},        // extra items ignored
      {"7", "8", 7, 0, 0, 8, 0},                        // missing items are 0
      {"1,2 3", "4 ,5", 1, 23, 0, 4, 5},                // a comma wins over blanks; blanks skipped
      {"1/2。3", "1e39, 2", 1, 2, 3, 0, 2},             // "/" and "。" separate; 1e39 is no number
      {",,9", "x, -2.5", 0, 0, 9, 0, -2.5f},            // empty and text items are 0
  };
  for (const Case& c : cases) {
    ModelState s = StartState();
    std::vector<std::string> lines = GoodGeneralLines();
    lines[9] = c.pressureLine;
    lines[10] = c.densityLine;
    std::string message;
    EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message, nullptr, true)) << c.pressureLine;
    const ChemicalEntry& e = s.Chemicals[1];
    EXPECT_EQ(e.Params[6], c.a) << c.pressureLine;
    EXPECT_EQ(e.Params[7], c.b) << c.pressureLine;
    EXPECT_EQ(e.Params[8], c.c) << c.pressureLine;
    EXPECT_EQ(e.Params[9], c.d1) << c.densityLine;
    EXPECT_EQ(e.Params[10], c.d2) << c.densityLine;
  }
}

TEST(ParseGeneralBlock, SingleItemLinesReadTheWholePieceAsOneNumber) {
  ModelState s = StartState();
  std::vector<std::string> lines = GoodGeneralLines();
  lines[0] = "1, 2";      // stops at the comma
  lines[1] = "1 2";       // blanks skipped: 12
  lines[2] = "1e39";      // beyond the single range: 0
  lines[3] = "\t-3.5E+2";
  lines[12] = "１";       // a full-width digit is no digit
  std::string message;
  ASSERT_TRUE(ParseChecked(s, JoinCrLf(lines), 0, message));
  const ChemicalEntry& e = s.Chemicals[1];
  EXPECT_EQ(e.TwaPpm, 1.0f);
  EXPECT_EQ(e.TwaMg, 12.0f);
  EXPECT_EQ(e.StelPpm, 0.0f);
  EXPECT_EQ(e.StelMg, -350.0f);
  EXPECT_EQ(e.Params[12], 0.0f);
}

// ---- Vossler block ----

TEST(ParseVosslerBlock, StoresValues3To40InLineOrder) {
  ModelState s = StartState();
  MarkSlotOne(s);
  s.VosslerSets[1].Name = "X";
  std::string message = "old";
  ASSERT_TRUE(ParseChecked(s, JoinCrLf(GoodVosslerLines()), 1, message));
  EXPECT_EQ(message, "");
  const std::vector<float> expected = GoodVosslerValues();
  ASSERT_EQ(expected.size(), 38u);
  for (int i = 0; i < 38; ++i)
    EXPECT_EQ(s.VosslerSets[1].Values[3 + i], expected[i]) << "Values " << 3 + i;
  // Values 1 and 2 and the name belong to the editor's save step.
  EXPECT_EQ(s.VosslerSets[1].Values[1], -101.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[2], -102.0f);
  EXPECT_EQ(s.VosslerSets[1].Name, "X");
  ExpectGeneralMarked(s);
  EXPECT_EQ(s.VosslerSets[0].Values[3], 0.0f);
}

TEST(ParseVosslerBlock, ShortBlockIsRefusedAndChangesNothing) {
  ModelState s = StartState();
  MarkSlotOne(s);
  std::vector<std::string> lines = GoodVosslerLines();
  lines.pop_back();  // 13 lines, no final CR LF
  std::string message;
  EXPECT_FALSE(ParseChecked(s, JoinCrLf(lines), 1, message));
  EXPECT_EQ(message, kVosslerTooFew);
  ExpectVosslerMarked(s);

  // With a final CR LF the 14th piece is empty: accepted, diffusion volume 0.
  EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines) + "\r\n", 1, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(s.VosslerSets[1].Values[40], 0.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[39], 290.0f);
}

TEST(ParseVosslerBlock, EachConstantLineSummingToZeroIsRefusedWithItsMessage) {
  // Line number and its refusal text; a line of zeros must stop the block and,
  // with checks on, leave the whole set as it was.
  const std::vector<std::pair<int, const char*>> cases = {
      {2, "物质的Vossler 蒸发模型参数：气相粘度常数,A,B,C未输入."},
      {3, "物质的Vossler 蒸发模型参数：气相粘度常数温度范围未输入."},
      {4, "物质的Vossler 蒸发模型参数：气相热容常数,A,B,C,D未输入."},
      {5, "物质的Vossler 蒸发模型参数：气相热容常数温度范围未输入."},
      {6, "物质的Vossler 蒸发模型参数：气相热传导常数,A,B,C,D未输入."},
      {7, "物质的Vossler 蒸发模型参数：气相热传导常数温度范围未输入."},
      {8, "物质的Vossler 蒸发模型参数：蒸发热常数,A,B,C,D未输入."},
      {9, "物质的Vossler 蒸发模型参数：蒸发热常数温度范围未输入."},
      {10, "物质的Vossler 蒸发模型参数：饱和压力常数,A,B,C,D,E,F未输入."},
      {11, "物质的Vossler 蒸发模型参数：饱和压力常数温度范围未输入."},
      {12, "物质的Vossler 蒸发模型参数：液相热传导常数,A,B,C未输入."},
      {13, "物质的Vossler 蒸发模型参数：液相热传导常数温度范围未输入."},
  };
  for (const auto& [line, text] : cases) {
    for (const char* zeros : {"0, 0", "", "1, -1", "0 0 0 0 0 0 7"}) {
      // "0 0 0 0 0 0 7": no line holds more than six items, so the 7 never counts.
      ModelState s = StartState();
      MarkSlotOne(s);
      std::vector<std::string> lines = GoodVosslerLines();
      lines[line - 1] = zeros;
      std::string message;
      EXPECT_FALSE(ParseChecked(s, JoinCrLf(lines), 1, message)) << line << ": " << zeros;
      EXPECT_EQ(message, text) << line << ": " << zeros;
      ExpectVosslerMarked(s);
    }
  }
}

TEST(ParseVosslerBlock, FirstRefusedLineGivesTheMessage) {
  ModelState s = StartState();
  std::vector<std::string> lines = GoodVosslerLines();
  lines[2] = "0, 0";
  lines[1] = "0";
  std::string message;
  EXPECT_FALSE(ParseChecked(s, JoinCrLf(lines), 1, message));
  EXPECT_EQ(message, "物质的Vossler 蒸发模型参数：气相粘度常数,A,B,C未输入.");
}

TEST(ParseVosslerBlock, FreezingPointAndDiffusionVolumeAreNeverTested) {
  ModelState s = StartState();
  MarkSlotOne(s);
  std::vector<std::string> lines = GoodVosslerLines();
  lines[0] = "0";
  lines[13] = "abc";
  std::string message;
  EXPECT_TRUE(ParseChecked(s, JoinCrLf(lines), 1, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(s.VosslerSets[1].Values[3], 0.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[40], 0.0f);
  EXPECT_EQ(s.VosslerSets[1].Values[4], 1.1f);
}

// ---- Unchecked parsing (settings file) ----

TEST(ParseUnchecked, AcceptsWhatTheChecksWouldRefuse) {
  ModelState s = StartState();
  MarkSlotOne(s);
  std::vector<std::string> general(13, "0");
  std::vector<std::string> vossler(14, "0");
  std::string message = "old";
  MessageRecorder sink;
  EXPECT_TRUE(ParseParamBlock(s, JoinCrLf(general), 1, 0, message, true, false, &sink));
  EXPECT_EQ(message, "");
  EXPECT_TRUE(sink.messages.empty());  // no vapour-pressure warning either
  EXPECT_TRUE(ParseParamBlock(s, JoinCrLf(vossler), 1, 1, message, true, false, &sink));
  EXPECT_EQ(message, "");
  EXPECT_EQ(s.Chemicals[1].Params[1], 0.0f);
  EXPECT_EQ(s.Chemicals[1].TwaPpm, 0.0f);
  for (int i = 3; i <= 40; ++i) EXPECT_EQ(s.VosslerSets[1].Values[i], 0.0f) << i;
}

TEST(ParseUnchecked, ShortBlockStoresUpToTheFirstMissingLineAndReturnsFalse) {
  // General block of 5 lines: TWA, STEL and the molecular weight stored.
  {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::string message;
    EXPECT_FALSE(ParseParamBlock(s, "1\r\n2\r\n3\r\n4\r\n5", 1, 0, message, true, false, nullptr));
    EXPECT_EQ(message, "");
    const ChemicalEntry& e = s.Chemicals[1];
    EXPECT_EQ(e.TwaPpm, 1.0f);
    EXPECT_EQ(e.TwaMg, 2.0f);
    EXPECT_EQ(e.StelPpm, 3.0f);
    EXPECT_EQ(e.StelMg, 4.0f);
    EXPECT_EQ(e.Params[1], 5.0f);
    for (int i = 2; i <= 12; ++i) EXPECT_EQ(e.Params[i], -10.0f - i) << i;
  }
  // Vossler block of 4 lines: values 3..12 stored, 13..40 kept.
  {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::vector<std::string> lines = GoodVosslerLines();
    lines.resize(4);
    std::string message;
    EXPECT_FALSE(ParseParamBlock(s, JoinCrLf(lines), 1, 1, message, true, false, nullptr));
    EXPECT_EQ(message, "");
    const std::vector<float> expected = GoodVosslerValues();
    for (int i = 3; i <= 12; ++i) EXPECT_EQ(s.VosslerSets[1].Values[i], expected[i - 3]) << i;
    for (int i = 13; i <= 40; ++i) EXPECT_EQ(s.VosslerSets[1].Values[i], -100.0f - i) << i;
  }
  // An empty text stores nothing.
  {
    ModelState s = StartState();
    MarkSlotOne(s);
    std::string message;
    EXPECT_FALSE(ParseParamBlock(s, "", 1, 0, message, true, false, nullptr));
    EXPECT_FALSE(ParseParamBlock(s, "", 1, 1, message, true, false, nullptr));
    ExpectGeneralMarked(s);
    ExpectVosslerMarked(s);
  }
}

// ---- Slots and kinds that do not exist ----

TEST(ParseParamBlockGuards, UnknownSlotOrKindIsRefusedWithoutStoring) {
  const std::string general = JoinCrLf(GoodGeneralLines());
  const std::string vossler = JoinCrLf(GoodVosslerLines());
  struct Case {
    const std::string* text;
    int16_t index;
    uint8_t kind;
    const char* message;
  };
  const Case cases[] = {
      {&general, 2, 0, "物质序号超出范围。"},
      {&general, -1, 0, "物质序号超出范围。"},
      {&general, 32767, 0, "物质序号超出范围。"},
      {&vossler, 2, 1, "Vossler参数组序号超出范围。"},
      {&vossler, -32768, 1, "Vossler参数组序号超出范围。"},
      {&general, 1, 2, "参数块类型无效。"},
      {&general, 1, 255, "参数块类型无效。"},
  };
  for (const Case& c : cases) {
    for (bool unchecked : {false, true}) {
      ModelState s = StartState();
      MarkSlotOne(s);
      std::string message;
      EXPECT_FALSE(ParseParamBlock(s, *c.text, c.index, c.kind, message, unchecked, false,
                                   nullptr))
          << c.index << "/" << int(c.kind);
      EXPECT_EQ(message, c.message);
      ExpectGeneralMarked(s);
      ExpectVosslerMarked(s);
      EXPECT_EQ(s.Chemicals.size(), 2u);
      EXPECT_EQ(s.VosslerSets.size(), 2u);
    }
  }
  // Before the lists exist nothing is a slot.
  ModelState empty;
  std::string message;
  EXPECT_FALSE(ParseParamBlock(empty, general, 0, 0, message, true, false, nullptr));
  EXPECT_EQ(message, "物质序号超出范围。");
  EXPECT_FALSE(ParseParamBlock(empty, vossler, 0, 1, message, true, false, nullptr));
  EXPECT_EQ(message, "Vossler参数组序号超出范围。");
}

TEST(ParseParamBlockGuards, SlotBeyondTheCountIsNoSlotEvenWhenAllocated) {
  ModelState s = StartState();
  s.Chemicals.resize(3);
  s.VosslerSets.resize(3);
  std::string message;
  EXPECT_FALSE(ParseParamBlock(s, JoinCrLf(GoodGeneralLines()), 2, 0, message, false, true,
                               nullptr));
  EXPECT_EQ(message, "物质序号超出范围。");
  EXPECT_EQ(s.Chemicals[2].TwaPpm, 0.0f);
  EXPECT_FALSE(ParseParamBlock(s, JoinCrLf(GoodVosslerLines()), 2, 1, message, false, true,
                               nullptr));
  EXPECT_EQ(s.VosslerSets[2].Values[3], 0.0f);
}

}  // namespace
}  // namespace zelto
