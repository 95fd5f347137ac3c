#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ListParse.h"

namespace zelto {
namespace {

using Floats = std::vector<float>;

TEST(ReadNumberList, ReadsAsParseNumberList) {
  for (const char* line : {"1, 2,3", " 4 ", "1 2  3", "5/6", "7\xEF\xBC\x8C" "8", "", "  ",
                           "1,2,3,4", "x,2", ",,3", "1 ,2 3"}) {
    std::string text = line;
    int16_t count = 3;
    const Floats expected = ParseNumberList(text, count, false);
    float values[3] = {-1, -1, -1};
    ReadNumberList(line, values, 3);
    EXPECT_EQ(Floats(values, values + 3), expected) << line;
  }
}

TEST(ParseNumberList, FullWidthSeparatorsWithPositiveOnly) {
  std::string text = "  10\xEF\xBC\x8C" "20/30\xE3\x80\x82" "40  ";  // 10，20/30。40
  int16_t count = 7;
  Floats v = ParseNumberList(text, count, true);
  EXPECT_EQ(text, "10,20,30,40");
  EXPECT_EQ(count, 4);
  EXPECT_EQ(v, (Floats{0, 10, 20, 30, 40}));
}

TEST(ParseNumberList, BlanksSeparateWhenThereIsNoComma) {
  std::string text = "5 -2  0 7";
  int16_t count = 0;
  Floats v = ParseNumberList(text, count, true);
  EXPECT_EQ(text, "5 -2 0 7");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(v, (Floats{0, 5, 7}));
}

TEST(ParseNumberList, CommaWinsOverBlanks) {
  // With a comma present, blanks stay inside items and are skipped by the
  // leading-number rule: "1 2" reads as 12.
  std::string text = "1 2,  3";
  int16_t count = 3;
  Floats v = ParseNumberList(text, count, false);
  EXPECT_EQ(text, "1 2,  3");
  EXPECT_EQ(v, (Floats{12, 3, 0}));
  EXPECT_EQ(count, 3);
}

TEST(ParseNumberList, NonNumbersCountAsZero) {
  std::string text = "abc";
  int16_t count = 0;
  Floats v = ParseNumberList(text, count, true);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(v, (Floats{0}));

  std::string mixed = "x,2,,1e39,3";
  int16_t five = 5;
  EXPECT_EQ(ParseNumberList(mixed, five, false), (Floats{0, 2, 0, 0, 3}));
}

TEST(ParseNumberList, EmptyText) {
  std::string text = "   ";
  int16_t count = 0;
  EXPECT_EQ(ParseNumberList(text, count, true), (Floats{0}));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(text, "");
  std::string empty;
  int16_t three = 3;
  EXPECT_EQ(ParseNumberList(empty, three, false), (Floats{0, 0, 0}));
  EXPECT_EQ(three, 3);
}

TEST(ParseNumberList, OnlyTheFirstHundredItemsCount) {
  std::string text;
  for (int i = 1; i <= 120; ++i) text += std::to_string(i) + ",";
  int16_t count = 0;
  Floats v = ParseNumberList(text, count, true);
  EXPECT_EQ(count, 100);
  ASSERT_EQ(v.size(), 101u);
  EXPECT_EQ(v[1], 1.0f);
  EXPECT_EQ(v[100], 100.0f);
}

TEST(ParseNumberList, CountLimitsTheItems) {
  std::string text = "1,2,3,4,5,6";
  int16_t count = 5;
  EXPECT_EQ(ParseNumberList(text, count, false), (Floats{1, 2, 3, 4, 5}));
  EXPECT_EQ(count, 5);
  std::string two = "1 2";
  EXPECT_EQ(ParseNumberList(two, count, false), (Floats{1, 2, 0, 0, 0}));
}

TEST(ParseNumberList, PositiveOnlyKeepsInputOrderAndIgnoresCallersCount) {
  std::string text = "30,0,-1,2,1e39,10";
  int16_t count = 1;
  EXPECT_EQ(ParseNumberList(text, count, true), (Floats{0, 30, 2, 10}));
  EXPECT_EQ(count, 3);
}

TEST(CollapseSpaces, RunsBecomeOneBlank) {
  std::string text = "  a   b    c ";
  CollapseSpaces(text);
  EXPECT_EQ(text, " a b c ");
  std::string tabs = "a\t\tb";
  CollapseSpaces(tabs);
  EXPECT_EQ(tabs, "a\t\tb");
}

TEST(ParsePointList, EmptyLinesAreSkipped) {
  std::string text = "100,0,0,10\r\n\r\n  200 5 1.5 20 0.01  ";
  std::vector<PointRow> points;
  ASSERT_EQ(ParsePointList(text, points), 2);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[1], (PointRow{0, 100, 0, 0, 10, 0}));
  EXPECT_EQ(points[2], (PointRow{0, 200, 5, 1.5f, 20, 0.01f}));
}

TEST(ParsePointList, LoneLineFeedDoesNotEndALine) {
  std::string text = "1,2,3,10\n500";
  std::vector<PointRow> points;
  ASSERT_EQ(ParsePointList(text, points), 1);
  EXPECT_EQ(points[1][4], 10500.0f);
}

TEST(ParsePointList, ExtraItemsIgnoredAndTextTrimmed) {
  std::string text = "  1,2,3,4,5,6  \r\n7";
  std::vector<PointRow> points;
  ASSERT_EQ(ParsePointList(text, points), 2);
  EXPECT_EQ(text, "1,2,3,4,5,6  \r\n7");
  EXPECT_EQ(points[1], (PointRow{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(points[2], (PointRow{0, 7, 0, 0, 0, 0}));
}

TEST(ParsePointList, EmptyTextLeavesTheTableUntouched) {
  std::vector<PointRow> points(3, PointRow{0, 9, 9, 9, 9, 9});
  std::string text = "   ";
  EXPECT_EQ(ParsePointList(text, points), 0);
  EXPECT_EQ(points.size(), 3u);
  EXPECT_EQ(text, "");
}

TEST(ParsePointList, OnlyBlankLinesGiveAnEmptyTable) {
  std::vector<PointRow> points(3, PointRow{0, 9, 9, 9, 9, 9});
  std::string text = "x\r\n \r\n";
  // "x" is a line with a non-number: one point at the origin.
  EXPECT_EQ(ParsePointList(text, points), 1);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1], (PointRow{}));
}

TEST(SortSingles, AscendingDescendingAndOtherFlags) {
  Floats v{0, 5, 2, 2};
  SortSingles(v, 0);
  EXPECT_EQ(v, (Floats{0, 2, 2, 5}));
  Floats d{0, 5, 2, 2};
  SortSingles(d, 1);
  EXPECT_EQ(d, (Floats{5, 2, 2, 0}));
  Floats t{0, 5, 2, 2};
  SortSingles(t, -1);
  EXPECT_EQ(t, (Floats{0, 2, 2, 5}));
  Floats one{3};
  SortSingles(one, 1);
  EXPECT_EQ(one, Floats{3});
  Floats none;
  SortSingles(none, 0);
  EXPECT_TRUE(none.empty());
}

TEST(SortSingles, LongerListsAreFullySorted) {
  Floats v;
  uint32_t state = 7;
  for (int i = 0; i < 257; ++i) {
    state = state * 1103515245u + 12345u;
    v.push_back(static_cast<float>(static_cast<int>(state >> 16) % 1000) - 500.0f);
  }
  Floats expected = v;
  std::sort(expected.begin(), expected.end());
  SortSingles(v, 0);
  EXPECT_EQ(v, expected);
  std::reverse(expected.begin(), expected.end());
  SortSingles(v, 1);
  EXPECT_EQ(v, expected);
}

}  // namespace
}  // namespace zelto
