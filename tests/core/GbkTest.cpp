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
