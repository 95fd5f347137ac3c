#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "chem/ParamBlocks.h"
#include "tests/chem/ChemTestUtil.h"

namespace zelto {
namespace {

using chemtest::StartState;

TEST(FormatParamBlock, FreshVosslerSlotGivesFourteenLinesOfZeros) {
  const ModelState s = StartState();
  const std::string expected =
      "0\r\n"
      "0, 0, 0\r\n"
      "0, 0\r\n"
      "0, 0, 0, 0\r\n"
      "0, 0\r\n"
      "0, 0, 0, 0\r\n"
      "0, 0\r\n"
      "0, 0, 0, 0\r\n"
      "0, 0\r\n"
      "0, 0, 0, 0, 0, 0\r\n"
      "0, 0\r\n"
      "0, 0, 0\r\n"
      "0, 0\r\n"
      "0";
  EXPECT_EQ(FormatParamBlock(s, 1, 1), expected);
  EXPECT_EQ(FormatParamBlock(s, 0, 1), expected);
}

TEST(FormatParamBlock, GeneralBlockWritesShortestNumbersInLineOrder) {
  ModelState s = StartState();
  ChemicalEntry& e = s.Chemicals[1];
  e.TwaPpm = 3.0f;
  e.TwaMg = 0.5f;
  e.StelPpm = -2.25f;
  e.StelMg = 120.1f;
  const float params[13] = {0, 78.1f, 351.4f, 516.2f, 63.5f, 167.1f, 8.1f, 1500.5f, -61.0f,
                            0.9f, 0.25f, 4.53f, 362.6f};
  for (int i = 1; i <= 12; ++i) e.Params[i] = params[i];
  e.Name = "苯";
  e.VosslerIndex = 1;
  EXPECT_EQ(FormatParamBlock(s, 1, 0),
            "3\r\n0.5\r\n-2.25\r\n120.1\r\n78.1\r\n351.4\r\n516.2\r\n63.5\r\n167.1\r\n"
            "8.1, 1500.5, -61\r\n0.9, 0.25\r\n4.53\r\n362.6");
}

TEST(FormatParamBlock, VosslerItemsAreGroupedByLine) {
  ModelState s = StartState();
  for (int i = 1; i <= 40; ++i) s.VosslerSets[1].Values[i] = static_cast<float>(i);
  EXPECT_EQ(FormatParamBlock(s, 1, 1),
            "3\r\n4, 5, 6\r\n7, 8\r\n9, 10, 11, 12\r\n13, 14\r\n15, 16, 17, 18\r\n19, 20\r\n"
            "21, 22, 23, 24\r\n25, 26\r\n27, 28, 29, 30, 31, 32\r\n33, 34\r\n35, 36, 37\r\n"
            "38, 39\r\n40");
}

TEST(FormatParamBlock, SlotsThatDoNotExistShowZerosAndUnknownKindsNothing) {
  ModelState s = StartState();
  s.Chemicals[1].TwaPpm = 5;
  s.VosslerSets[1].Values[3] = 5;
  const std::string generalZeros = FormatParamBlock(s, 0, 0);
  EXPECT_EQ(generalZeros, "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0, 0, 0\r\n0, 0\r\n0\r\n0");
  EXPECT_EQ(FormatParamBlock(s, 2, 0), generalZeros);
  EXPECT_EQ(FormatParamBlock(s, -1, 0), generalZeros);
  EXPECT_EQ(FormatParamBlock(s, -1, 1), FormatParamBlock(s, 0, 1));
  EXPECT_EQ(FormatParamBlock(s, 7, 1), FormatParamBlock(s, 0, 1));
  EXPECT_EQ(FormatParamBlock(s, 1, 2), "");
  EXPECT_EQ(FormatParamBlock(ModelState{}, 1, 0), generalZeros);
}

// ---- Round trips: text written by FormatParamBlock parses back to the same singles ----

// Fills slot 1 of both lists with values from next(); none is 0, so the checks
// accept the block.
template <class Next>
void FillSlotOne(ModelState& s, Next next) {
  ChemicalEntry& e = s.Chemicals[1];
  e.TwaPpm = next();
  e.TwaMg = next();
  e.StelPpm = next();
  e.StelMg = next();
  for (int i = 1; i <= 12; ++i) e.Params[i] = next();
  for (int i = 3; i <= 40; ++i) s.VosslerSets[1].Values[i] = next();
}

uint32_t Bits(float v) { return std::bit_cast<uint32_t>(v); }

// Formats slot 1 of `from`, parses both texts into a fresh state with checks on
// and unchecked, and expects every single bit for bit.
void ExpectRoundTrip(const ModelState& from, int iteration) {
  const std::string general = FormatParamBlock(from, 1, 0);
  const std::string vossler = FormatParamBlock(from, 1, 1);
  for (bool unchecked : {false, true}) {
    ModelState to = StartState();
    std::string message;
    ASSERT_TRUE(ParseParamBlock(to, general, 1, 0, message, unchecked, true, nullptr))
        << iteration << ": " << message << "\n" << general;
    ASSERT_TRUE(ParseParamBlock(to, vossler, 1, 1, message, unchecked, true, nullptr))
        << iteration << ": " << message << "\n" << vossler;
    const ChemicalEntry& a = from.Chemicals[1];
    const ChemicalEntry& b = to.Chemicals[1];
    EXPECT_EQ(Bits(a.TwaPpm), Bits(b.TwaPpm)) << iteration << "\n" << general;
    EXPECT_EQ(Bits(a.TwaMg), Bits(b.TwaMg)) << iteration << "\n" << general;
    EXPECT_EQ(Bits(a.StelPpm), Bits(b.StelPpm)) << iteration << "\n" << general;
    EXPECT_EQ(Bits(a.StelMg), Bits(b.StelMg)) << iteration << "\n" << general;
    for (int i = 1; i <= 12; ++i)
      EXPECT_EQ(Bits(a.Params[i]), Bits(b.Params[i])) << iteration << " Params " << i << "\n"
                                                      << general;
    for (int i = 3; i <= 40; ++i)
      EXPECT_EQ(Bits(from.VosslerSets[1].Values[i]), Bits(to.VosslerSets[1].Values[i]))
          << iteration << " Values " << i << "\n" << vossler;
    // Writing the parsed record again gives the same text.
    EXPECT_EQ(FormatParamBlock(to, 1, 0), general);
    EXPECT_EQ(FormatParamBlock(to, 1, 1), vossler);
  }
}

TEST(ParamBlockRoundTrip, RandomOrdinaryAndWideRangeValues) {
  std::mt19937 rng(20170105u);
  std::uniform_real_distribution<double> plain(-1000.0, 1000.0);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-37, 37);
  std::uniform_int_distribution<int> choice(0, 3);
  auto next = [&]() -> float {
    for (int attempt = 0; attempt < 100; ++attempt) {
      double v = 0;
      switch (choice(rng)) {
        case 0: v = plain(rng); break;
        case 1: v = std::round(plain(rng)); break;                // whole numbers
        case 2: v = mantissa(rng) * std::pow(10.0, exponent(rng)); break;
        default: v = -mantissa(rng) * std::pow(10.0, exponent(rng)); break;
      }
      const float f = static_cast<float>(v);
      if (f != 0.0f) return f;
    }
    return 1.0f;
  };
  for (int iteration = 0; iteration < 300; ++iteration) {
    ModelState s = StartState();
    FillSlotOne(s, next);
    ExpectRoundTrip(s, iteration);
    if (HasFatalFailure() || HasFailure()) break;  // one failing record is enough to read
  }
}

TEST(ParamBlockRoundTrip, ExtremeSinglesIncludingSubnormals) {
  // Each value's opposite sits nine places later, so no line (at most six
  // items) holds a pair that cancels and the checks accept every line.
  const float extremes[] = {
      FLT_MAX,  FLT_MIN,  std::numeric_limits<float>::denorm_min(),  FLT_EPSILON,
      16777215.0f, 1e-38f, 0.1f, 1.0f / 3.0f, 1e-7f,
      -FLT_MAX, -FLT_MIN, -std::numeric_limits<float>::denorm_min(), 16777216.0f,
      3e38f, 123456789.0f, -9.999999e-5f, 1e7f, 9999999.0f,
  };
  int k = 0;
  const int n = static_cast<int>(sizeof(extremes) / sizeof(extremes[0]));
  {
    ModelState s = StartState();
    FillSlotOne(s, [&]() { return extremes[(k++) % n]; });
    ExpectRoundTrip(s, -1);
  }
  // Random bit patterns: every finite non-zero single, subnormals included.
  std::mt19937 rng(1999u);
  auto next = [&]() -> float {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const float f = std::bit_cast<float>(static_cast<uint32_t>(rng()));
      if (std::isfinite(f) && f != 0.0f) return f;
    }
    return 1.0f;
  };
  for (int iteration = 0; iteration < 200; ++iteration) {
    ModelState s = StartState();
    FillSlotOne(s, next);
    ExpectRoundTrip(s, iteration);
    if (HasFailure()) break;
  }
}

TEST(ParamBlockRoundTrip, OperatorTextIsNormalisedOnce) {
  // Text as an operator types it: parse, write, parse again gives the same record.
  ModelState s = StartState();
  std::string message;
  ASSERT_TRUE(ParseParamBlock(s, chemtest::JoinCrLf(chemtest::GoodGeneralLines()), 1, 0, message,
                              false, true, nullptr));
  ASSERT_TRUE(ParseParamBlock(s, chemtest::JoinCrLf(chemtest::GoodVosslerLines()), 1, 1, message,
                              false, true, nullptr));
  ExpectRoundTrip(s, 0);
}

}  // namespace
}  // namespace zelto
