#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "core/Platform.h"
#include "ui/MainWindow.h"
#include "ui/SettingsFile.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

// A fresh scratch directory per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const fs::path dir = MakeTemporaryDirectory("zelto-settings-");
    if (!dir.empty()) path_ = Utf8FromPath(dir);
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(PathFromUtf8(path_), ec);
  }
  std::string File(const std::string& name) const { return JoinPath(path_, name); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

ClockReading FixedClock() { return ClockReading{2017, 7, 1, 8, 5, 9}; }

// A main window as it stands after start, before the first activation.
struct StartedWindow {
  ModelState s;
  MessageRecorder sink;
  MainWindow w{s, sink};
  StartedWindow() {
    w.Clock = FixedClock;
    w.LibraryPath.clear();  // the list of a start without the library
    w.Form_Load();
  }
};

// The records of a file, each ended by CR LF (texts already quoted as needed).
std::string Records(const std::vector<std::string>& records) {
  std::string out;
  for (const std::string& r : records) out += r + "\r\n";
  return out;
}

// 41 plain records holding distinctive, GBK-free values.
std::vector<std::string> PlainRecords() {
  std::vector<std::string> r;
  const char* boxes[26] = {"119.5W", "40N",  "2020/02/29", "23:59:58", "50",  "270", "5",
                           "10",     "4.5",  "30",         "-5",       "7",   "800", "20",
                           "46.07",  "12",   "3",          "25",       "15",  "4",   "150",
                           "8",      "5",    "30",         "1.5",      "5,2,10"};
  for (const char* b : boxes) r.push_back(std::string("\"") + b + "\"");
  r.push_back("\"25 cm\"");                                      // 27 roughness text
  for (const char* idx : {"1", "2", "1", "1", "1", "0", "1", "1"}) r.push_back(idx);  // 28..35
  r.push_back("1");                                              // 36 Check1
  r.push_back("\"1,2,3,4\r\n5,6,7,8\r\n\"");                     // 37 points
  r.push_back("\"report\"");                                     // 38 results
  r.push_back("\"0\r\n0\r\n0\r\n0\r\n46.07\r\n351.4\r\n0\r\n0\r\n0\r\n1,2,3\r\n0,0\r\n0\r\n0\"");
  r.push_back("\"159\"");                                        // 40, one line only
  r.push_back("\"ETHANOL\",1");                                  // 41
  return r;
}

// ---- The field syntax ----

TEST(SettingsFields, QuotingDoublesInnerQuotes) {
  EXPECT_EQ(QuoteSettingsText(""), "\"\"");
  EXPECT_EQ(QuoteSettingsText("a,b"), "\"a,b\"");
  EXPECT_EQ(QuoteSettingsText("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(QuoteSettingsText("\""), "\"\"\"\"");
}

TEST(SettingsFields, QuotedFieldKeepsCommasLineBreaksAndDoubledQuotes) {
  SettingsFieldReader r("\"a,\"\"b\"\"\r\nc\",12\r\n\"\"\r\n\"\"\"\"\r\n");
  std::string v;
  long long n = 0;
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "a,\"b\"\r\nc");
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, 12);
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "");
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "\"");
  EXPECT_FALSE(r.ReadField(v));  // end of file
}

TEST(SettingsFields, BlanksAroundFieldsAndUnquotedFields) {
  SettingsFieldReader r("  \"a b\"  ,  plain text  ,x\r\n\r\n  -7 \r\n");
  std::string v;
  long long n = 0;
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "a b");
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "plain text");
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "x");
  ASSERT_TRUE(r.ReadField(v));  // an empty line is an empty field
  EXPECT_EQ(v, "");
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, -7);
}

TEST(SettingsFields, IntegerFieldsHoldOnlyWholeDecimalNumbers) {
  SettingsFieldReader r("5x\r\n\r\n2.0\r\n+3\r\n-1\r\n\"4\"\r\n");
  long long n = 99;
  EXPECT_FALSE(r.ReadInteger(n));
  EXPECT_FALSE(r.ReadInteger(n));
  EXPECT_FALSE(r.ReadInteger(n));
  EXPECT_EQ(n, 99);
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, 3);
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, -1);
  ASSERT_TRUE(r.ReadInteger(n));
  EXPECT_EQ(n, 4);
  EXPECT_FALSE(r.ReadInteger(n));
}

TEST(SettingsFields, UnclosedQuoteFailsAndConsumesTheRest) {
  SettingsFieldReader r("\"cut off\r\n1\r\n");
  std::string v;
  EXPECT_FALSE(r.ReadField(v));
  EXPECT_FALSE(r.ReadField(v));
}

TEST(SettingsFields, SingleQuoteInsideAFieldEndsItAsBefore) {
  // Written before quotes were doubled: the field ends at the inner quote and
  // the remainder is read as the next, unquoted field.
  SettingsFieldReader r("\"ab\"cd\",1\r\n");
  std::string v;
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "ab");
  ASSERT_TRUE(r.ReadField(v));
  EXPECT_EQ(v, "cd\"");
}

// ---- Writing ----

TEST(SettingsWrite, SmallFileIsWrittenByteForByte) {
  StartedWindow sw;
  MainWindow& w = sw.w;
  for (int i = 0; i < 26; ++i) w.Text1[i].Text = std::to_string(i);
  w.Text1[0].Text = "120.1E";
  w.Combo1[0].Text = "3.0 cm = 跑道";
  const int indices[9] = {0, 1, 2, 0, 1, 1, 1, 0, 1};
  for (int k = 1; k <= 8; ++k) w.Combo1[k].ListIndex = indices[k];
  w.Check1.Value = 1;
  w.Text2.Text = "10,0,2,5\r\n20,0,2,5\r\n";
  w.Text3.Text = "结果\r\n";
  sw.s.GeneralParamText = "46\r\n0";
  sw.s.VosslerParamText = "";
  sw.s.Chemicals[1].Name = "乙醇 \"A\", B";
  sw.s.Chemicals[1].VosslerIndex = 1;

  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  std::string message = "stale";
  ASSERT_TRUE(WriteSettingsFile(w, path, message));
  EXPECT_EQ(message, "");

  const std::string expected =
      "\"120.1E\"\r\n\"1\"\r\n\"2\"\r\n\"3\"\r\n\"4\"\r\n\"5\"\r\n\"6\"\r\n\"7\"\r\n\"8\"\r\n"
      "\"9\"\r\n\"10\"\r\n\"11\"\r\n\"12\"\r\n\"13\"\r\n\"14\"\r\n\"15\"\r\n\"16\"\r\n\"17\"\r\n"
      "\"18\"\r\n\"19\"\r\n\"20\"\r\n\"21\"\r\n\"22\"\r\n\"23\"\r\n\"24\"\r\n\"25\"\r\n"
      "\"3.0 cm = \xC5\xDC\xB5\xC0\"\r\n"                        // 27: 跑道 in GBK
      "1\r\n2\r\n0\r\n1\r\n1\r\n1\r\n0\r\n1\r\n"                 // 28..35
      "1\r\n"                                                    // 36
      "\"10,0,2,5\r\n20,0,2,5\r\n\"\r\n"                         // 37
      "\"\xBD\xE1\xB9\xFB\r\n\"\r\n"                             // 38: 结果
      "\"46\r\n0\"\r\n"                                          // 39
      "\"\"\r\n"                                                 // 40
      "\"\xD2\xD2\xB4\xBC \"\"A\"\", B\",1\r\n";                 // 41: 乙醇 "A", B
  EXPECT_EQ(ReadAll(path), expected);
}

TEST(SettingsWrite, NegativeListIndexIsWrittenWithItsSign) {
  StartedWindow sw;
  sw.w.Combo1[3].ListIndex = -1;
  const std::string bytes = FormatSettingsFile(sw.w);
  // Records 28 (list 1), 29 (list 2) and 30 (list 3) follow the roughness text.
  const std::string roughness = "\"0.5 cm = ";
  const size_t at = bytes.find(roughness);
  ASSERT_NE(at, std::string::npos);
  const size_t lineEnd = bytes.find("\r\n", at);
  EXPECT_EQ(bytes.substr(lineEnd, 13), "\r\n0\r\n0\r\n-1\r\n0");
}

// ---- Round trip ----

TEST(SettingsRoundTrip, EveryControlAndBothBlocksComeBack) {
  StartedWindow before;
  MainWindow& a = before.w;
  const char* boxes[26] = {"119.5W", "40N",  "2020/02/29", "23:59:58", "50",  "270", "5",
                           "10",     "4.5",  "30",         "-5",       "7",   "800", "20",
                           "46.07",  "12",   "3",          "25",       "15",  "4",   "150",
                           "8",      "5",    "30",         "1.5",      "5,2,10"};
  for (int i = 0; i < 26; ++i) a.Text1[i].Text = boxes[i];
  a.Combo1[0].Text = "25 cm, 自定义";
  const int indices[9] = {0, 2, 1, 2, 1, 1, 1, 1, 1};
  for (int k = 1; k <= 8; ++k) a.Combo1[k].ListIndex = indices[k];
  a.Check1.Value = 1;
  a.Text2.Text = "100,0,2,10\r\n500,\"0\",2,10\r\n1000,0,2,10\r\n";
  a.Text3.Text = "第一行 \"引号\", 逗号\r\n第二行,\"\"\r\n\r\n末行 \"";
  before.s.GeneralParamText =
      "0\r\n0\r\n0\r\n10\r\n46.07\r\n351.4\r\n513.9\r\n60.6\r\n167\r\n8.1122, 1592.864, 226.184\r\n"
      "0.8, 0\r\n4.53\r\n362.6";
  before.s.VosslerParamText =
      "159\r\n1,2,3\r\n400,300\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n1000,200\r\n1,2,3,4\r\n"
      "500,160\r\n1,2,3,4,5,6\r\n500,160\r\n1,2,3\r\n500,160\r\n50.36";
  before.s.Chemicals[1].Name = "乙醇 \"Ethanol\", 酒精";
  before.s.Chemicals[1].VosslerIndex = 1;

  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  std::string message;
  ASSERT_TRUE(WriteSettingsFile(a, path, message)) << message;

  StartedWindow after;
  MainWindow& b = after.w;
  EXPECT_TRUE(ReadSettingsFile(b, path));
  for (int i = 0; i < 26; ++i) EXPECT_EQ(b.Text1[i].Text, boxes[i]) << "box " << i;
  EXPECT_EQ(b.Combo1[0].Text, "25 cm, 自定义");
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(b.Combo1[k].ListIndex, indices[k]) << "list " << k;
  EXPECT_EQ(b.Check1.Value, 1);
  EXPECT_TRUE(b.Text2.Enabled);  // the check box's handler ran
  EXPECT_EQ(b.Text2.Text, a.Text2.Text);
  EXPECT_EQ(b.Text3.Text, a.Text3.Text);
  EXPECT_EQ(after.s.GeneralParamText, before.s.GeneralParamText);
  EXPECT_EQ(after.s.VosslerParamText, before.s.VosslerParamText);
  EXPECT_EQ(after.s.Chemicals[1].Name, "乙醇 \"Ethanol\", 酒精");
  EXPECT_EQ(after.s.Chemicals[1].VosslerIndex, 1);
  ASSERT_EQ(b.Combo1[6].Items.size(), 2u);
  EXPECT_EQ(b.Combo1[6].Items[0], "临时物质");
  EXPECT_EQ(b.Combo1[6].Items[1], "乙醇 \"Ethanol\", 酒精");
  EXPECT_EQ(b.Combo1[6].Text, "乙醇 \"Ethanol\", 酒精");
  // Both blocks were parsed into entry 1 and Vossler set 1.
  EXPECT_EQ(after.s.Chemicals[1].StelMg, 10.0f);
  EXPECT_EQ(after.s.Chemicals[1].Params[1], 46.07f);
  EXPECT_EQ(after.s.Chemicals[1].Params[7], 1592.864f);
  EXPECT_EQ(after.s.Chemicals[1].Params[12], 362.6f);
  EXPECT_EQ(after.s.VosslerSets[1].Values[3], 159.0f);
  EXPECT_EQ(after.s.VosslerSets[1].Values[8], 300.0f);
  EXPECT_EQ(after.s.VosslerSets[1].Values[40], 50.36f);
  EXPECT_FALSE(b.Busy);
  EXPECT_FALSE(b.FirstActivation);
}

// The settings file in folders named in Chinese (an operator's "桌面\危险品"
// on Windows): written, found and read back through the same UTF-8 path.
TEST(SettingsRoundTrip, FileUnderChineseFolderNames) {
  ScratchDir dir;
  const std::string folder = JoinPath(dir.File("应急 预案"), "氯气泄漏");
  ASSERT_TRUE(fs::create_directories(PathFromUtf8(folder)));
  const std::string path = JoinPath(folder, "ZELTO.ini");
  StartedWindow before;
  before.w.Text1[0].Text = "121.47E";
  before.w.Text3.Text = "报告";
  std::string message;
  ASSERT_TRUE(WriteSettingsFile(before.w, path, message)) << message;
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadAll(path).substr(0, 11), "\"121.47E\"\r\n");

  StartedWindow after;
  EXPECT_TRUE(ReadSettingsFile(after.w, path));
  EXPECT_EQ(after.w.Text1[0].Text, "121.47E");
  EXPECT_EQ(after.w.Text3.Text, "报告");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(PathFromUtf8(folder))) names.push_back(Utf8FromPath(e.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{"ZELTO.ini"});
}

TEST(SettingsRoundTrip, MolecularWeightBoxRunsItsChangeHandler) {
  // Box 14 holding 0 disables the threshold unit list; the file's box 14 of
  // 46.07 enables it again.
  StartedWindow sw;
  sw.w.SetText1(14, "0");
  ASSERT_FALSE(sw.w.Combo1[8].Enabled);
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  WriteAll(path, Records(PlainRecords()));
  ReadSettingsFile(sw.w, path);
  EXPECT_EQ(sw.w.Text1[14].Text, "46.07");
  EXPECT_TRUE(sw.w.Combo1[8].Enabled);
}

// ---- Damaged and missing files ----

TEST(SettingsRead, BadRecord30KeepsThatListAndRestoresTheRest) {
  StartedWindow sw;
  MainWindow& w = sw.w;
  w.Combo1[3].ListIndex = 2;
  w.Combo1[3].Text = w.Combo1[3].Items[2];
  std::vector<std::string> records = PlainRecords();
  records[29] = "5";  // record 30: the cloud type list has 3 items
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  WriteAll(path, Records(records));

  EXPECT_FALSE(ReadSettingsFile(w, path));
  EXPECT_EQ(w.Combo1[3].ListIndex, 2);
  EXPECT_EQ(w.Text1[0].Text, "119.5W");
  EXPECT_EQ(w.Text1[25].Text, "5,2,10");
  EXPECT_EQ(w.Combo1[0].Text, "25 cm");
  EXPECT_EQ(w.Combo1[1].ListIndex, 1);
  EXPECT_EQ(w.Combo1[2].ListIndex, 2);
  EXPECT_EQ(w.Combo1[4].ListIndex, 1);
  EXPECT_EQ(w.Combo1[8].ListIndex, 1);
  EXPECT_EQ(w.Check1.Value, 1);
  EXPECT_EQ(w.Text2.Text, "1,2,3,4\r\n5,6,7,8\r\n");
  EXPECT_EQ(w.Text3.Text, "report");
  EXPECT_EQ(sw.s.Chemicals[1].Name, "ETHANOL");
  EXPECT_EQ(sw.s.Chemicals[1].VosslerIndex, 1);
  EXPECT_EQ(sw.s.Chemicals[1].Params[1], 46.07f);
  EXPECT_EQ(sw.s.VosslerSets[1].Values[3], 159.0f);  // a short block is stored as far as it goes
  EXPECT_FALSE(w.Busy);
  EXPECT_FALSE(w.FirstActivation);
}

TEST(SettingsRead, OutOfListIndicesAndBadCheckStateAreSkipped) {
  StartedWindow sw;
  MainWindow& w = sw.w;
  std::vector<std::string> records = PlainRecords();
  records[27] = "-1";    // list 1
  records[31] = "abc";   // list 5
  records[32] = "2";     // list 6 holds two substances
  records[35] = "2";     // Check1
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  WriteAll(path, Records(records));

  EXPECT_FALSE(ReadSettingsFile(w, path));
  EXPECT_EQ(w.Combo1[1].ListIndex, 0);
  EXPECT_EQ(w.Combo1[5].ListIndex, 0);
  EXPECT_EQ(w.Combo1[6].ListIndex, 0);
  EXPECT_EQ(w.Check1.Value, 0);
  EXPECT_EQ(w.Combo1[2].ListIndex, 2);  // neighbours still read
  EXPECT_EQ(w.Combo1[7].ListIndex, 1);
  EXPECT_EQ(w.Text2.Text, "1,2,3,4\r\n5,6,7,8\r\n");
}

TEST(SettingsRead, VosslerIndexNamingNoSetReadsAsZero) {
  for (const char* index : {"7", "-3", "0"}) {
    StartedWindow sw;
    sw.s.Chemicals[1].VosslerIndex = 1;
    std::vector<std::string> records = PlainRecords();
    records[40] = std::string("\"ETHANOL\",") + index;
    ScratchDir dir;
    const std::string path = dir.File("ZELTO.ini");
    WriteAll(path, Records(records));
    EXPECT_TRUE(ReadSettingsFile(sw.w, path)) << index;
    EXPECT_EQ(sw.s.Chemicals[1].VosslerIndex, 0) << index;
    EXPECT_EQ(sw.s.Chemicals[1].Name, "ETHANOL");
  }
}

TEST(SettingsRead, FileEndingEarlyRestoresWhatItHolds) {
  StartedWindow sw;
  MainWindow& w = sw.w;
  const std::string defaultBox20 = w.Text1[20].Text;
  const std::string defaultPoints = w.Text2.Text;
  std::vector<std::string> records = PlainRecords();
  records.resize(10);
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  WriteAll(path, Records(records));

  EXPECT_FALSE(ReadSettingsFile(w, path));
  EXPECT_EQ(w.Text1[9].Text, "30");
  EXPECT_EQ(w.Text1[20].Text, defaultBox20);
  EXPECT_EQ(w.Text2.Text, defaultPoints);
  EXPECT_EQ(sw.s.Chemicals[1].Name, "未定义化学物质");
  EXPECT_FALSE(w.Busy);
  EXPECT_FALSE(w.FirstActivation);
}

TEST(SettingsRead, NothingBeyondSixteenMegabytesIsRead) {
  StartedWindow sw;
  MainWindow& w = sw.w;
  const std::string defaultReport = w.Text3.Text;
  std::vector<std::string> records = PlainRecords();
  // The results record ends one byte beyond the limit: its closing quote and
  // the records after it are never read.
  std::string before;
  for (int i = 0; i < 37; ++i) before += records[static_cast<size_t>(i)] + "\r\n";
  records[37] = "\"" + std::string(kSettingsMaxBytes - before.size() - 1, 'r') + "\"";
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  WriteAll(path, Records(records));

  EXPECT_FALSE(ReadSettingsFile(w, path));
  EXPECT_EQ(w.Text1[8].Text, "4.5");           // records before the limit are restored
  EXPECT_EQ(w.Text2.Text, "1,2,3,4\r\n5,6,7,8\r\n");
  EXPECT_EQ(w.Text3.Text, defaultReport);      // the cut record is a failed step
  EXPECT_EQ(sw.s.Chemicals[1].Name, "未定义化学物质");
  EXPECT_FALSE(w.Busy);

  // A file of exactly 16 MB is read whole.
  records[37] = "\"\"";
  const size_t rest = Records(records).size();
  records[37] = "\"" + std::string(kSettingsMaxBytes - rest, 'r') + "\"";
  WriteAll(path, Records(records));
  StartedWindow again;
  EXPECT_TRUE(ReadSettingsFile(again.w, path));
  EXPECT_EQ(again.s.Chemicals[1].Name, "ETHANOL");
}

TEST(SettingsRead, MissingFileLeavesTheDefaults) {
  StartedWindow fresh;
  StartedWindow sw;
  MainWindow& w = sw.w;
  ScratchDir dir;
  EXPECT_FALSE(ReadSettingsFile(w, dir.File("ZELTO.ini")));
  for (int i = 0; i < 26; ++i) EXPECT_EQ(w.Text1[i].Text, fresh.w.Text1[i].Text) << "box " << i;
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(w.Combo1[k].ListIndex, 0) << "list " << k;
    EXPECT_EQ(w.Combo1[k].Text, fresh.w.Combo1[k].Text) << "list " << k;
  }
  EXPECT_EQ(w.Check1.Value, 0);
  EXPECT_EQ(w.Text2.Text, fresh.w.Text2.Text);
  EXPECT_EQ(w.Text3.Text, fresh.w.Text3.Text);
  ASSERT_EQ(w.Combo1[6].Items.size(), 2u);
  EXPECT_EQ(w.Combo1[6].Items[0], "临时物质");
  EXPECT_EQ(w.Combo1[6].Items[1], "未定义化学物质");
  EXPECT_EQ(sw.s.GeneralParamText, "");
  EXPECT_FALSE(w.Busy);
  EXPECT_FALSE(w.FirstActivation);
}

// ---- Failed writes ----

TEST(SettingsWriteFailure, DirectoryPathOrMissingDirectoryIsReportedByName) {
  StartedWindow sw;
  ScratchDir dir;
  std::string message;
  EXPECT_FALSE(WriteSettingsFile(sw.w, dir.path(), message));
  EXPECT_EQ(message,
            "无法写入设置文件 " + dir.path() + "，请检查该目录是否可写、磁盘是否已满。");
  EXPECT_TRUE(fs::is_directory(dir.path()));

  const std::string nowhere = dir.File("no-such-dir/ZELTO.ini");
  EXPECT_FALSE(WriteSettingsFile(sw.w, nowhere, message));
  EXPECT_EQ(message, "无法写入设置文件 " + nowhere + "，请检查该目录是否可写、磁盘是否已满。");
  EXPECT_FALSE(fs::exists(nowhere));
}

TEST(SettingsWriteFailure, FullDiskKeepsThePreviousFile) {
  StartedWindow sw;
  ScratchDir dir;
  const std::string path = dir.File("ZELTO.ini");
  const std::string previous = Records(PlainRecords());
  WriteAll(path, previous);

  // Let no file grow beyond 64 bytes, as a nearly full disk would; the write
  // then fails part way instead of raising a signal.
  std::string message;
  bool written = true;
  {
    FileSizeLimit limit(64);
    if (!limit.Active()) GTEST_SKIP() << "no file size limit on this system";
    written = WriteSettingsFile(sw.w, path, message);
  }

  EXPECT_FALSE(written);
  EXPECT_EQ(message, "无法写入设置文件 " + path + "，请检查该目录是否可写、磁盘是否已满。");
  EXPECT_EQ(ReadAll(path), previous);
  // No half-written temporary file is left beside it.
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(PathFromUtf8(dir.path()))) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace zelto
