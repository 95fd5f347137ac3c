#include <gtest/gtest.h>

#include <string>

#include "core/Gbk.h"

namespace zelto {
namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (unsigned char c : bytes) {
    s.push_back(digits[c >> 4]);
    s.push_back(digits[c & 15]);
  }
  return s;
}

// Fixed texts the program writes into the contour data file and the
// settings file (labels, substance names, roughness items, report lines).
const char* const kFileTexts[] = {
    "浓度 (mg/m3) =",
    ":  持续释放",
    ":  预测时刻 (min) =",
    "距离 (m)   浓度区域半宽     高峰 浓度 (mg/m3)",
    "             宽 度 (m)",
    "当前时刻下，计算区域内所有浓度均小于给定的浓度，无分布图坐标",
    "临时物质",
    "未定义化学物质",
    "0.5 cm = 雪地, 无植被, 泥土平地, 无障碍物",
    "3.0 cm = 跑道, 开阔平地, 草地, 偶有单个障碍物",
    "10  cm = 低矮农作物, 个别大的障碍物         ",
    "25  cm = 高大农作物, 分布多处障碍物",
    "50  cm = 公园地面,  灌木丛, 很多障碍物",
    "100 cm = 整齐完整的大型障碍物 (城郊, 森林)",
    "(一）输入参数",
    "（1）环境及气象参数",
    "经度/纬度：75.5W/33.9S",
    "环境气温 ( ℃)： ",
    "云盖度[10分制]为:",
    "     (烟羽弥散(meandering)可能发生)",
    "    最小阈值的90%保证率危害区长度 ",
    "（m),发生时间为第",
    "    计算出的物质蒸气密度为：",
    "    采用Vossler蒸发模型计算液体的蒸发速率。",
    "计算廓线的阈值(mg/m3)：",
};

TEST(Gbk, FixedFileTextsRoundTrip) {
  for (const char* text : kFileTexts) {
    int substituted = -1, invalid = -1;
    std::string gbk = Utf8ToGbk(text, &substituted);
    EXPECT_EQ(substituted, 0) << text;
    EXPECT_EQ(GbkToUtf8(gbk, &invalid), text);
    EXPECT_EQ(invalid, 0) << text;
  }
}

TEST(Gbk, KnownCodes) {
  EXPECT_EQ(Hex(Utf8ToGbk("计算结果")), "bcc6cbe3bde1b9fb");
  EXPECT_EQ(Hex(Utf8ToGbk("临时物质")), "c1d9cab1ceefd6ca");
  EXPECT_EQ(Hex(Utf8ToGbk("℃")), "a1e6");
  EXPECT_EQ(Hex(Utf8ToGbk("（1）")), "a3a831a3a9");
  EXPECT_EQ(Hex(Utf8ToGbk("CONCXY.DAT\r\n")), "434f4e4358592e4441540d0a");
  EXPECT_EQ(GbkToUtf8(std::string("\xbc\xc6\xcb\xe3", 4)), "计算");
}

TEST(Gbk, AsciiAndEmptyPassUnchanged) {
  int n = -1;
  EXPECT_EQ(Utf8ToGbk("", &n), "");
  EXPECT_EQ(n, 0);
  std::string ascii = "\"30.20N\",-1\r\n";
  EXPECT_EQ(Utf8ToGbk(ascii), ascii);
  EXPECT_EQ(GbkToUtf8(ascii), ascii);
}

TEST(Gbk, UnrepresentableCharactersBecomeQuestionMarks) {
  int n = 0;
  // An emoji and a Korean syllable have no GBK code.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b", &n), "a?b");
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Hex(Utf8ToGbk("计\xED\x95\x9C算", &n)), "bcc63fcbe3");
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80\xF0\x9F\x98\x80", &n), "??");
  EXPECT_EQ(n, 2);
  // Malformed UTF-8: each bad byte becomes one "?".
  EXPECT_EQ(Utf8ToGbk("x\xFFy", &n), "x?y");
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Utf8ToGbk("x\xE8\xAE", &n), "x?");
  EXPECT_EQ(n, 1);
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  int n = 0;
  EXPECT_EQ(GbkToUtf8("a\xFF" "b", &n), "a" + fffd + "b");
  EXPECT_EQ(n, 1);
  // A lead byte followed by a byte that cannot trail it: only the lead is
  // replaced, the ASCII byte after it is kept.
  EXPECT_EQ(GbkToUtf8("\xBC" "1" "\xBC\xC6", &n), fffd + "1计");
  EXPECT_EQ(n, 1);
  // A lead byte cut off at the end.
  EXPECT_EQ(GbkToUtf8("\xBC\xC6\xCB", &n), "计" + fffd);
  EXPECT_EQ(n, 1);
}

// UTF-8 of one code point from U+0080 up.
std::string Utf8(char32_t cp) {
  std::string o;
  if (cp < 0x800) {
    o += static_cast<char>(0xC0 | (cp >> 6));
  } else if (cp < 0x10000) {
    o += static_cast<char>(0xE0 | (cp >> 12));
    o += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  } else {
    o += static_cast<char>(0xF0 | (cp >> 18));
    o += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    o += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  }
  o += static_cast<char>(0x80 | (cp & 0x3F));
  return o;
}

std::string Pair(int lead, int trail) {
  return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

// Every two-byte code GBK can hold (lead 0x81-0xFE, trail 0x40-0xFE without
// 0x7F): what reads as a character is written back as the same two bytes,
// what does not reads as one replacement character followed by its second
// byte read alone.
TEST(GbkFullRange, EveryReadableCodeIsWrittenBackUnchanged) {
  int readable = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string code = Pair(lead, trail);
      int invalid = -1, substituted = -1;
      const std::string text = GbkToUtf8(code, &invalid);
      if (invalid == 0) {
        ++readable;
        ASSERT_EQ(Utf8ToGbk(text, &substituted), code) << Hex(code);
        ASSERT_EQ(substituted, 0) << Hex(code);
      } else {
        // The second byte alone: ASCII, the euro sign 0x80, or no character.
        const bool alone = trail < 0x80 || trail == 0x80;
        ASSERT_EQ(invalid, alone ? 1 : 2) << Hex(code);
        const std::string second = trail < 0x80    ? std::string(1, static_cast<char>(trail))
                                   : trail == 0x80 ? std::string("€")
                                                   : std::string("\xEF\xBF\xBD");
        ASSERT_EQ(text, "\xEF\xBF\xBD" + second) << Hex(code);
      }
    }
  }
  // The four areas of Chinese characters below are all readable (6763 + 6080
  // + 8080 = 20923) and the symbol areas add several hundred more.
  EXPECT_GT(readable, 20923 + 800);
}

// The areas of Chinese characters: GB 2312's 6763 (B0A1-F7FE without
// D7FA-D7FE), GBK/3 (8140-A0FE, 32 x 190 = 6080) and GBK/4 (AA40-FEA0, 85 x
// 96 = 8160, of which the last 80 from FE50 on are components without a code
// point of their own) all read as one character each.
TEST(GbkFullRange, ChineseCharacterAreasAreComplete) {
  int count = 0;
  auto check = [&](int lead0, int lead1, int trail0, int trail1) {
    for (int lead = lead0; lead <= lead1; ++lead) {
      for (int trail = trail0; trail <= trail1; ++trail) {
        if (trail == 0x7F || (lead == 0xD7 && trail >= 0xFA) || (lead == 0xFE && trail >= 0x50)) continue;
        int invalid = -1;
        GbkToUtf8(Pair(lead, trail), &invalid);
        EXPECT_EQ(invalid, 0) << Hex(Pair(lead, trail));
        ++count;
      }
    }
  };
  check(0xB0, 0xF7, 0xA1, 0xFE);
  check(0x81, 0xA0, 0x40, 0xFE);
  check(0xAA, 0xFE, 0x40, 0xA0);
  EXPECT_EQ(count, 6763 + 6080 + 8080);
}

// GBK holds every CJK unified ideograph of Unicode 1.1, U+4E00-U+9FA5
// (20902), each written as two bytes that read back as it. The private use
// area (U+E000-U+F8FF) and everything beyond the basic plane become "?".
TEST(GbkFullRange, EveryCodePointRoundTripsOrBecomesAQuestionMark) {
  int ideographs = 0;
  for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string text = Utf8(cp);
    int substituted = -1, invalid = -1;
    const std::string gbk = Utf8ToGbk(text, &substituted);
    const bool ideograph = cp >= 0x4E00 && cp <= 0x9FA5;
    if (substituted == 0) {
      ASSERT_TRUE(gbk.size() == 2 || gbk == "\x80") << std::hex << static_cast<unsigned>(cp);
      ASSERT_EQ(GbkToUtf8(gbk, &invalid), text) << std::hex << static_cast<unsigned>(cp);
      ASSERT_EQ(invalid, 0);
      ASSERT_FALSE(cp >= 0xE000 && cp <= 0xF8FF) << std::hex << static_cast<unsigned>(cp);
      ASSERT_LT(cp, 0x10000u);
      if (ideograph) ++ideographs;
    } else {
      ASSERT_EQ(gbk, "?") << std::hex << static_cast<unsigned>(cp);
      ASSERT_EQ(substituted, 1);
    }
  }
  EXPECT_EQ(ideographs, 0x9FA5 - 0x4E00 + 1);
}

// The byte 0x80 is the euro sign in the code page and the C library's GBK;
// the user-defined areas (AAA1-AFFE, F8A1-FEFE, A140-A7A0) read as nothing.
TEST(GbkFullRange, EuroByteAndUserDefinedAreas) {
  EXPECT_EQ(GbkToUtf8("\x80"), "€");
  EXPECT_EQ(Hex(Utf8ToGbk("€")), "80");
  int invalid = 0;
  for (const std::string& code : {Pair(0xAA, 0xA1), Pair(0xAF, 0xFE), Pair(0xF8, 0xA1), Pair(0xFE, 0xFE),
                                 Pair(0xA1, 0x81), Pair(0xA7, 0xA0)}) {
    EXPECT_EQ(GbkToUtf8(code, &invalid), "\xEF\xBF\xBD\xEF\xBF\xBD") << Hex(code);
    EXPECT_EQ(invalid, 2);
  }
}

TEST(Gbk, LinesConvertAsTheWholeText) {
  const std::string fffd = "\xEF\xBF\xBD";
  int n = 0;
  // ASCII lines, a line with a character, a lead byte before a line feed
  // (the line feed cannot trail it and stays) and a lead byte cut off at the end.
  EXPECT_EQ(GbkToUtf8("ab\r\n\xBC\xC6\r\n" "c\xBC\n" "d\xBC", &n),
            "ab\r\n计\r\nc" + fffd + "\nd" + fffd);
  EXPECT_EQ(n, 2);
}

TEST(Gbk, LongTextCrossesConversionBuffers) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "计算结果,";
  int n = -1;
  std::string gbk = Utf8ToGbk(text, &n);
  EXPECT_EQ(gbk.size(), 3000u * 9u);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(GbkToUtf8(gbk), text);
}

}  // namespace
}  // namespace zelto
