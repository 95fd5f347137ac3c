#include <gtest/gtest.h>

#include <string>

#include "core/TextConv.h"

namespace zelto {
namespace {

std::string DateBox(const std::string& text) {
  std::string out = "unchanged";
  return NormaliseDateText(text, out) ? out : "refused";
}

std::string TimeBox(const std::string& text) {
  std::string out = "unchanged";
  return NormaliseTimeText(text, out) ? out : "refused";
}

TEST(DateText, DateBoxNormalises) {
  EXPECT_EQ(DateBox("2017/01/05"), "2017/01/05");
  EXPECT_EQ(DateBox("2017-1-5 8:05"), "2017/01/05");
  EXPECT_EQ(DateBox("2017.12.31"), "2017/12/31");
  EXPECT_EQ(DateBox("  2017 / 3 / 9  "), "2017/03/09");
  EXPECT_EQ(DateBox("2017/1/5 23:59:59"), "2017/01/05");
  EXPECT_EQ(DateBox("2016/2/29"), "2016/02/29");
  EXPECT_EQ(DateBox("2000/2/29"), "2000/02/29");
  EXPECT_EQ(DateBox("999/1/1"), "0999/01/01");
}

TEST(DateText, DateBoxRefuses) {
  EXPECT_EQ(DateBox("12:30"), "refused");
  EXPECT_EQ(DateBox("2017/02/30"), "refused");
  EXPECT_EQ(DateBox("2017/2/29"), "refused");
  EXPECT_EQ(DateBox("1900/2/29"), "refused");
  EXPECT_EQ(DateBox("2017/13/1"), "refused");
  EXPECT_EQ(DateBox("2017/0/1"), "refused");
  EXPECT_EQ(DateBox("2017/4/31"), "refused");
  EXPECT_EQ(DateBox("2017/1/0"), "refused");
  EXPECT_EQ(DateBox("2017/1/5 25:00:00"), "refused");
  EXPECT_EQ(DateBox("2017/1/5x"), "refused");
  EXPECT_EQ(DateBox("2017/1/5 8"), "refused");
  EXPECT_EQ(DateBox("2017/1"), "refused");
  EXPECT_EQ(DateBox("2017-1/5"), "refused");
  EXPECT_EQ(DateBox("17/1/5"), "refused");
  EXPECT_EQ(DateBox("5/1/2017"), "refused");
  EXPECT_EQ(DateBox("20170105"), "refused");
  EXPECT_EQ(DateBox("abc"), "refused");
  EXPECT_EQ(DateBox(""), "refused");
  EXPECT_EQ(DateBox("   "), "refused");
  EXPECT_EQ(DateBox("\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x91\xEF\xBC\x97/1/5"), "refused");
}

TEST(DateText, TimeBoxNormalises) {
  EXPECT_EQ(TimeBox("8:05"), "08:05:00");
  EXPECT_EQ(TimeBox("08:05:07"), "08:05:07");
  EXPECT_EQ(TimeBox("0:0:0"), "00:00:00");
  EXPECT_EQ(TimeBox("23:59:59"), "23:59:59");
  EXPECT_EQ(TimeBox(" 8 : 5 "), "08:05:00");
  EXPECT_EQ(TimeBox("2017/1/5 14:30"), "14:30:00");
}

TEST(DateText, TimeBoxRefuses) {
  EXPECT_EQ(TimeBox("2017/1/5"), "refused");
  EXPECT_EQ(TimeBox("25:00:00"), "refused");
  EXPECT_EQ(TimeBox("24:00"), "refused");
  EXPECT_EQ(TimeBox("12:60"), "refused");
  EXPECT_EQ(TimeBox("12:30:60"), "refused");
  EXPECT_EQ(TimeBox("12"), "refused");
  EXPECT_EQ(TimeBox("12:"), "refused");
  EXPECT_EQ(TimeBox("12:30:"), "refused");
  EXPECT_EQ(TimeBox("12:30:00:00"), "refused");
  EXPECT_EQ(TimeBox("123:00"), "refused");
  EXPECT_EQ(TimeBox("12:30pm"), "refused");
  EXPECT_EQ(TimeBox("-1:00"), "refused");
  EXPECT_EQ(TimeBox(""), "refused");
}

TEST(DateText, ParserReportsBothParts) {
  DateTimeParts p;
  ASSERT_TRUE(ParseDateTime("2017-1-5 8:05", p));
  EXPECT_TRUE(p.hasDate);
  EXPECT_TRUE(p.hasTime);
  EXPECT_EQ(p.year, 2017);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.day, 5);
  EXPECT_EQ(p.hour, 8);
  EXPECT_EQ(p.minute, 5);
  EXPECT_EQ(p.second, 0);
  DateTimeParts q;
  ASSERT_TRUE(ParseDateTime("7:08:09", q));
  EXPECT_FALSE(q.hasDate);
  EXPECT_EQ(q.hour * 10000 + q.minute * 100 + q.second, 70809);
  DateTimeParts untouched;
  untouched.year = 42;
  EXPECT_FALSE(ParseDateTime("2017/02/30", untouched));
  EXPECT_EQ(untouched.year, 42);
}

TEST(DateText, Formatting) {
  EXPECT_EQ(FormatDateText(2017, 1, 5), "2017/01/05");
  EXPECT_EQ(FormatTimeText(8, 5, 0), "08:05:00");
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2016));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2017));
  EXPECT_EQ(DaysInMonth(2016, 2), 29);
  EXPECT_EQ(DaysInMonth(2017, 2), 28);
  EXPECT_EQ(DaysInMonth(2017, 4), 30);
  EXPECT_EQ(DaysInMonth(2017, 12), 31);
  EXPECT_EQ(DaysInMonth(2017, 13), 0);
}

TEST(Calendar, PreviousAndNextDayCrossMonthAndYearEnds) {
  struct Case { int y, m, d, py, pm, pd; } cases[] = {
      {2017, 1, 1, 2016, 12, 31}, {2016, 3, 1, 2016, 2, 29}, {2017, 3, 1, 2017, 2, 28},
      {1900, 3, 1, 1900, 2, 28},  {2000, 3, 1, 2000, 2, 29}, {2017, 5, 1, 2017, 4, 30},
      {2017, 1, 15, 2017, 1, 14},
  };
  for (const Case& c : cases) {
    int y = c.y, m = c.m, d = c.d;
    PreviousDay(y, m, d);
    EXPECT_EQ(FormatDateText(y, m, d), FormatDateText(c.py, c.pm, c.pd));
    NextDay(y, m, d);
    EXPECT_EQ(FormatDateText(y, m, d), FormatDateText(c.y, c.m, c.d));
  }
}

}  // namespace
}  // namespace zelto
