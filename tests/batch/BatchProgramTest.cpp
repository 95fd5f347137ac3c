// The batch program's contract, run as a separate process: arguments, exit
// statuses, what goes to standard output and standard error, the JSON object,
// the output directory, and whole cases on the example scenarios.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Gbk.h"
#include "core/Platform.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out, err;
};

std::string BatchBinary() { return JoinPath(ExecutableDirectory(), ExecutableFileName("zelto-batch")); }

std::string Example(const char* file) { return std::string(ZELTO_SOURCE_DIR) + "/examples/" + file; }

std::string ReadAll(const std::string& path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, bytes, error)) << error;
}

// Runs exe with args; standard output and error are caught in files.
RunResult RunBatch(const std::string& exe, const std::vector<std::string>& args) {
  RunResult r;
  const fs::path dir = fs::temp_directory_path() / ("zelto_batch_run_" + std::to_string(CurrentProcessId()));
  fs::create_directories(dir);
  r.status = RunProgram(PathFromUtf8(exe), args, dir / "out", dir / "err");
  r.out = ReadAll(Utf8FromPath(dir / "out"));
  r.err = ReadAll(Utf8FromPath(dir / "err"));
  return r;
}

RunResult RunBatch(const std::vector<std::string>& args) { return RunBatch(BatchBinary(), args); }

// A fresh directory for one test.
fs::path TempDir(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("zelto_batch_" + name + "_" + std::to_string(CurrentProcessId()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// A copy of the program in its own directory, so that "beside the executable"
// is a directory the test controls.
std::string CopyOfBatch(const fs::path& dir) {
  const fs::path exe = dir / ExecutableFileName("zelto-batch");
  fs::copy_file(PathFromUtf8(BatchBinary()), exe, fs::copy_options::overwrite_existing);
  return Utf8FromPath(exe);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t pos; (pos = text.find('\n', start)) != std::string::npos; start = pos + 1) {
    lines.push_back(text.substr(start, pos - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Standard error without the applicability notes ("提示：..." lines).
std::vector<std::string> LinesWithoutNotes(const std::string& err) {
  std::vector<std::string> lines;
  for (const auto& l : Lines(err)) {
    if (l.rfind("提示：", 0) != 0) lines.push_back(l);
  }
  return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const auto& l : Lines(text)) {
    if (l == line) return true;
  }
  return false;
}

std::string Crlf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A settings file: example bytes with record n (1-based) replaced.
std::string WithRecord(const std::string& bytes, int n, const std::string& record) {
  size_t start = 0;
  for (int i = 1; i < n; ++i) start = bytes.find("\r\n", start) + 2;
  const size_t end = bytes.find("\r\n", start);
  return bytes.substr(0, start) + record + bytes.substr(end);
}

class BatchProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(PathFromUtf8(BatchBinary()))) GTEST_SKIP() << "zelto-batch is not built beside the tests";
  }
};

TEST_F(BatchProgram, HelpInChineseAndEnglish) {
  const RunResult r = RunBatch({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("用法 / Usage: zelto-batch [--json] [--out-dir DIR] [--geojson FILE] [--kml FILE]\n"
                       "                          [--timeseries FILE] [--air-exchange RATE]\n"
                       "                          [--substance KEY] [--library FILE] [SETTINGS]\n"
                       "              zelto-batch [--library FILE] --list-substances\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("退出状态 / Exit status:"), std::string::npos);
  EXPECT_NE(r.out.find("  2  输入检查或计算阶段拒绝了计算"), std::string::npos);
  EXPECT_NE(r.out.find("an input check or a computation stage refused"), std::string::npos);
}

TEST_F(BatchProgram, UsageErrorsExitWithOneAndOneLine) {
  const fs::path dir = TempDir("usage");
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},
      {"--out-dir"},
      {Example("01-chlorine-leak-day.ini"), Example("02-chlorine-leak-night-inversion.ini")},
      {Utf8FromPath(dir / "missing.ini")},
      {Utf8FromPath(dir)},  // a directory is no settings file
  };
  for (const auto& args : cases) {
    const RunResult r = RunBatch(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    ASSERT_FALSE(r.err.empty()) << args[0];
    EXPECT_EQ(r.err.rfind("zelto-batch: ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  const RunResult missing = RunBatch({Utf8FromPath(dir / "missing.ini")});
  EXPECT_NE(missing.err.find(Utf8FromPath(dir / "missing.ini")), std::string::npos);
}

TEST_F(BatchProgram, BuiltInDefaultsAreRefusedWithTheAveragingTimeMessage) {
  const fs::path dir = TempDir("defaults");
  const std::string exe = CopyOfBatch(dir);
  const RunResult r = RunBatch(exe, {});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  // Instantaneous: 0.25 min; averaging time 15 > 1 and > 0.25, limit max(D, 1) = 1.
  EXPECT_EQ(r.err, "泄漏(或液体蒸发）总时长为0.25(min),浓度平均时间不可超过1(min)（浓度平均时间(min)：）\n");
  EXPECT_FALSE(fs::exists(dir / "CONCXY.DAT"));
  EXPECT_FALSE(fs::exists(dir / "ZELTO.ini"));  // the settings file is never written
}

TEST_F(BatchProgram, SettingsBesideTheExecutableAndDefaultOutputDirectory) {
  const fs::path dir = TempDir("beside");
  const std::string exe = CopyOfBatch(dir);
  const std::string settings = ReadAll(Example("01-chlorine-leak-day.ini"));
  WriteAll(Utf8FromPath(dir / "ZELTO.ini"), settings);
  const RunResult r = RunBatch(exe, {});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(LinesWithoutNotes(r.err).empty()) << r.err;
  EXPECT_EQ(r.out.rfind("\n(一）输入参数\n", 0), 0u);
  EXPECT_TRUE(fs::exists(dir / "CONCXY.DAT"));
  EXPECT_EQ(ReadAll(Utf8FromPath(dir / "ZELTO.ini")), settings);  // never written
}

TEST_F(BatchProgram, OutDirIsCreatedAndHoldsTheContourFileTheReportEndsWith) {
  const fs::path dir = TempDir("outdir");
  const fs::path out = dir / "a" / "b";
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(out), Example("01-chlorine-leak-day.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string file = ReadAll(Utf8FromPath(out / "CONCXY.DAT"));
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file.substr(0, 6), " \r\n \r\n");
  // The file is GBK with CR LF; the report carries the same text at its end.
  std::string text = GbkToUtf8(file);
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  ASSERT_GE(r.out.size(), lf.size() + 1);
  EXPECT_EQ(r.out.substr(r.out.size() - lf.size() - 1), lf + "\n");
}

TEST_F(BatchProgram, JsonObjectFieldsAndTypes) {
  const fs::path dir = TempDir("json");
  const RunResult r = RunBatch({"--json", "--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["Ok"], true);
  EXPECT_TRUE(j["Messages"].is_array() && j["Messages"].empty());
  EXPECT_TRUE(j["Focus"].is_null());
  // 32-bit values in their shortest round-trip form: 30 + 273.16 as a float.
  EXPECT_NE(r.out.find("\"AirTempK\":303.16,"), std::string::npos);
  EXPECT_NE(r.out.find("\"WindSpeed10m\":3.0,"), std::string::npos);
  EXPECT_NE(r.out.find("\"Longitude\":121.47,"), std::string::npos);
  EXPECT_EQ(static_cast<float>(j["Latitude"].get<double>()), 31.23f);
  EXPECT_TRUE(j["ReleaseDate"].is_string());
  EXPECT_EQ(j["ReleaseDate"], "2023/07/15");
  EXPECT_TRUE(j["IsLiquid"].is_boolean());
  EXPECT_EQ(j["ReleaseMode"], 2);
  EXPECT_TRUE(j["HazardLimitReached"].is_boolean());
  EXPECT_EQ(j["SpreadCoef"].size(), 14u);
  EXPECT_EQ(j["Chemicals"].size(), j["ChemicalCount"].get<size_t>() + 1);  // the library included
  EXPECT_EQ(j["Chemicals"][1]["Params"].size(), 12u);
  EXPECT_EQ(j["VosslerSets"][1]["Values"].size(), 40u);
  for (const char* key : {"WindExponent", "MixViscosity", "SchmidtNumber", "ReceptorX", "ReceptorY",
                          "ThresholdText", "PointText", "StabilityText", "ResultKind"}) {
    EXPECT_TRUE(j.contains(key)) << key;
  }
  EXPECT_EQ(j["ThresholdCount"], 3);
  EXPECT_EQ(j["Thresholds"], nlohmann::json::parse("[3.0,30.0,90.0]"));
  // The same target fields, grouped as in the record.
  ASSERT_TRUE(j["Targets"].is_object());
  EXPECT_EQ(j["Targets"]["Thresholds"], j["Thresholds"]);
  EXPECT_EQ(j["Targets"]["Points"], j["Points"]);
  EXPECT_EQ(j["Targets"]["ThresholdText"], "3,30,90");
  EXPECT_EQ(j["PointCount"], 3);
  ASSERT_EQ(j["Points"].size(), 3u);
  EXPECT_EQ(j["Points"][2].size(), 5u);
  EXPECT_EQ(j["Points"][2][0], 1000.0);
  EXPECT_EQ(j["Points"][2][1], 50.0);
  ASSERT_EQ(j["ContourPointCount"].size(), 3u);
  for (const char* key : {"MaxHalfWidth", "MaxHalfWidthX", "ContourX", "ContourHalfWidth", "ContourAxisConc"}) {
    EXPECT_EQ(j[key].size(), 3u) << key;
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(j["ContourX"][i].size(), j["ContourPointCount"][i].get<size_t>());
    EXPECT_EQ(j["ContourAxisConc"][i].size(), j["ContourPointCount"][i].get<size_t>());
  }
  EXPECT_EQ(j["ResultSummary"],
            "在预测时刻为 =30 min\r\n离地高为 =1.5m 的平面上\r\n最大浓度产生于离源 30m 的距离内\r\n"
            "在 30m 处的浓度为401.8821 mg/m3");
  // The same report as the text output, with its CR LF line ends.
  const RunResult text = RunBatch({"--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  ASSERT_FALSE(text.out.empty());
  EXPECT_EQ(j["Report"].get<std::string>(), Crlf(text.out.substr(0, text.out.size() - 1)));
}

// The chlorine leak is a dense gas and its 90 mg/m3 isopleth ends 60 m from
// the source: two notes, on standard error after the report and in the JSON.
TEST_F(BatchProgram, ApplicabilityNotesOnStandardErrorAndInJson) {
  const fs::path dir = TempDir("notes");
  const RunResult text = RunBatch({"--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  ASSERT_EQ(text.status, 0) << text.err;
  const auto lines = Lines(text.err);
  ASSERT_EQ(lines.size(), 2u) << text.err;
  EXPECT_EQ(lines[0].rfind("提示：泄漏气体明显重于空气", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("提示：计算点或廓线终点距源不足100 m", 0), 0u) << lines[1];
  const RunResult json = RunBatch({"--json", "--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.err, "");  // with --json everything is in the object
  const nlohmann::json j = nlohmann::json::parse(json.out);
  ASSERT_EQ(j["Notes"].size(), 2u);
  EXPECT_EQ(j["Notes"][0]["Id"], "dense-gas");
  EXPECT_NEAR(j["Notes"][0]["Values"]["Criterion"].get<double>(), 0.604, 0.001);
  EXPECT_EQ(j["Notes"][1]["Id"], "near-distance");
  EXPECT_EQ(j["Notes"][1]["Values"]["IsoplethEnd"], 60);
  ASSERT_TRUE(j["DenseGas"].is_object());
  EXPECT_EQ(j["DenseGas"]["Rows"].size(), 3u);
  EXPECT_TRUE(j["DenseGas"]["Rows"][0]["Distance"].is_null());
}

TEST_F(BatchProgram, RefusedCheckInJsonAndText) {
  const fs::path dir = TempDir("refused");
  // Averaging time 45 min for a 30 min release (record 23 is box 22).
  const std::string settings = WithRecord(ReadAll(Example("01-chlorine-leak-day.ini")), 23, "\"45\"");
  const std::string path = Utf8FromPath(dir / "long-average.ini");
  WriteAll(path, settings);
  const std::string message = "泄漏(或液体蒸发）总时长为30(min),浓度平均时间不可超过30(min)";

  const RunResult text = RunBatch({"--out-dir", Utf8FromPath(dir), path});
  EXPECT_EQ(text.status, 2);
  EXPECT_EQ(text.out, "");
  EXPECT_EQ(text.err, message + "（浓度平均时间(min)：）\n");  // the box the window would focus

  const RunResult json = RunBatch({"--json", "--out-dir", Utf8FromPath(dir), path});
  EXPECT_EQ(json.status, 2);
  const nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["Ok"], false);
  EXPECT_EQ(j["Report"], "");
  EXPECT_EQ(j["Messages"], nlohmann::json::array({message}));
  EXPECT_EQ(j["Focus"], nlohmann::json::parse(R"j({"Name": "Text1(22)", "Label": "浓度平均时间(min)："})j"));
  EXPECT_EQ(j["AveragingTime"], 45.0);
}

TEST_F(BatchProgram, RefusedBoxIsNamedAfterItsMessage) {
  const fs::path dir = TempDir("huge-wind");
  // A wind speed no 32-bit number holds (record 9 is box 8).
  const std::string path = Utf8FromPath(dir / "huge-wind.ini");
  WriteAll(path, WithRecord(ReadAll(Example("01-chlorine-leak-day.ini")), 9, "\"1e39\""));
  const RunResult text = RunBatch({"--out-dir", Utf8FromPath(dir), path});
  EXPECT_EQ(text.status, 2);
  EXPECT_EQ(text.err, "无效!（环境风速(m/s)：）\n");
  const RunResult json = RunBatch({"--json", "--out-dir", Utf8FromPath(dir), path});
  const nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["Messages"], nlohmann::json::array({"无效!"}));  // the message itself is unchanged
  EXPECT_EQ(j["Focus"]["Name"], "Text1(8)");
  EXPECT_EQ(j["Focus"]["Label"], "环境风速(m/s)：");
}

TEST_F(BatchProgram, RefusedDispersionStageSkipsTheOtherStagesAndTheReport) {
  const fs::path dir = TempDir("stage");
  // Receptor plane at 200 m above the 150 m lid of the night case (record 25 is box 24).
  const std::string path = Utf8FromPath(dir / "above-lid.ini");
  WriteAll(path, WithRecord(ReadAll(Example("02-chlorine-leak-night-inversion.ini")), 25, "\"200\""));
  const RunResult r = RunBatch({"--json", "--out-dir", Utf8FromPath(dir), path});
  EXPECT_EQ(r.status, 2);
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["Ok"], false);
  EXPECT_EQ(j["Messages"], nlohmann::json::array({"注意--计算高度超过混合层顶，该高度上没有污染物"}));
  EXPECT_TRUE(j["Focus"].is_null());  // a stage refusal names no input
  EXPECT_EQ(j["ResultKind"], 1);  // the isopleth stage refused; kinds 2 and 3 never ran
  EXPECT_EQ(j["ResultSummary"], "");
  EXPECT_EQ(j["Report"], "");
  EXPECT_FALSE(fs::exists(dir / "CONCXY.DAT"));
}

TEST_F(BatchProgram, SilentLongitudeRefusalIsNamed) {
  const fs::path dir = TempDir("longitude");
  const std::string path = Utf8FromPath(dir / "far-east.ini");
  WriteAll(path, WithRecord(ReadAll(Example("01-chlorine-leak-day.ini")), 1, "\"200E\""));
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), path});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "输入无效：泄漏位置经度和纬度：\n");
}

TEST_F(BatchProgram, UnwritableContourFileIsAWarningOnly) {
  const fs::path dir = TempDir("unwritable");
  fs::create_directories(dir / "CONCXY.DAT");  // a directory where the file should go
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(LinesWithoutNotes(r.err).size(), 1u) << r.err;
  EXPECT_NE(r.err.find(Utf8FromPath(dir) + "/CONCXY.DAT"), std::string::npos) << r.err;
  EXPECT_TRUE(HasLine(r.out, "浓度 (mg/m3) =3:  预测时刻 (min) =30"));  // contour text kept
}

TEST_F(BatchProgram, UnwritableTimeSeriesFileIsNamedAndGivesStatusOne) {
  const fs::path dir = TempDir("timeseries");
  fs::create_directories(dir / "curve.csv");  // a directory where the file should go
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), "--timeseries", Utf8FromPath(dir / "curve.csv"),
                                Example("01-chlorine-leak-day.ini")});
  EXPECT_EQ(r.status, 1);
  ASSERT_FALSE(Lines(r.err).empty());
  EXPECT_EQ(Lines(r.err)[0], "无法写入浓度-时间文件" + Utf8FromPath(dir / "curve.csv") + "。");
  EXPECT_TRUE(fs::is_directory(dir / "curve.csv"));
  EXPECT_FALSE(r.out.empty());  // the report all the same
}

TEST_F(BatchProgram, LongReportNoticeNamesTheFileWritten) {
  const fs::path dir = TempDir("long");
  // The night case with 100 thresholds from 0.5 mg/m3 up, 6 % apart.
  std::string list;
  double v = 0.5;
  for (int i = 0; i < 100; ++i, v *= 1.06) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%.3f", i ? "," : "", v);
    list += buf;
  }
  const std::string path = Utf8FromPath(dir / "many.ini");
  WriteAll(path, WithRecord(ReadAll(Example("02-chlorine-leak-night-inversion.ini")), 26, "\"" + list + "\""));
  const fs::path out = dir / "out";
  const RunResult r = RunBatch({"--json", "--out-dir", Utf8FromPath(out), path});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["ThresholdCount"], 100);
  EXPECT_EQ(j["Messages"],
            nlohmann::json::array({"计算结果中，廓线数据较多，这里只能显示部分数据。完整数据保存在'" +
                                   Utf8FromPath(out / "CONCXY.DAT") + "'文件中。"}));
  // 64000 UTF-16 units: every character of this report is in the basic plane.
  const std::string report = j["Report"];
  size_t units = 0;
  for (unsigned char c : report) units += (c & 0xC0) != 0x80;
  EXPECT_EQ(units, 64000u);
}

// ---- Whole cases on the examples ----
//
// Lines marked "hand-checked" were computed by hand from the formulas
// (meteorology, source strength, plume formula), independently of the
// program; the remaining lines of each report are pinned as a regression
// reference in tests/batch/reference/.

std::string Reference(const char* file) {
  return ReadAll(std::string(ZELTO_SOURCE_DIR) + "/tests/batch/reference/" + file);
}

// The program's test library (tests/data/make_library_fixture.py): chlorine,
// ammonia, benzene with a Vossler set, one refused substance, nitrogen
// tetroxide, UDMH.
std::string FixtureLibrary() { return std::string(ZELTO_SOURCE_DIR) + "/tests/data/CHEMLIB-fixture.DAT"; }

TEST_F(BatchProgram, ListSubstancesPrintsTheLibrary) {
  const RunResult r = RunBatch({"--library", FixtureLibrary(), "--list-substances"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(HasLine(r.out, "CAS\t中文名\tEnglish name\tVossler\tPAC-1/2/3"));
  EXPECT_TRUE(HasLine(r.out, "7782-50-5\t氯\tCHLORINE\t无/no\t0.5/2/20 ppm"));
  EXPECT_TRUE(HasLine(r.out, "71-43-2\t苯\tBENZENE\t有/yes\t52/800/4000 ppm"));
  EXPECT_TRUE(HasLine(r.out, "10544-72-6\t四氧化二氮\tNITROGEN TETROXIDE\t无/no\t-"));
  // The substance the checks refuse is named on standard error, not listed.
  EXPECT_EQ(r.out.find("坏物质"), std::string::npos);
  EXPECT_NE(r.err.find("坏物质"), std::string::npos);
  // Without a usable library the listing is a usage error.
  const RunResult none = RunBatch({"--library", "/nonexistent/CHEMLIB.DAT", "--list-substances"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
}

TEST_F(BatchProgram, SubstanceKeyOverridesTheSettingsFile) {
  const fs::path dir = TempDir("substance");
  const std::string settings = Example("01-chlorine-leak-day.ini");  // the temporary substance
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), "--library", FixtureLibrary(),
                                "--substance", "氨", settings});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, "污染物名称：AMMONIA"));
  const RunResult byCas = RunBatch({"--out-dir", Utf8FromPath(dir), "--library", FixtureLibrary(),
                                    "--substance", "7664-41-7", settings});
  EXPECT_EQ(byCas.out, r.out);

  const RunResult unknown = RunBatch({"--library", FixtureLibrary(), "--substance", "UNOBTAINIUM",
                                      settings});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("UNOBTAINIUM"), std::string::npos);
}

TEST_F(BatchProgram, ChlorineLeakByDay) {
  const fs::path dir = TempDir("case1");
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), Example("01-chlorine-leak-day.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  // Hand-checked: n = floor(6 x 30.4) + 15 = 197, clock 14:00 + 8.1 h = 22.1 h,
  // elevation 62.7425 deg -> 63.
  EXPECT_TRUE(HasLine(r.out, "太阳高度角为:63 (度)"));
  // Hand-checked: wind measured at 10 m is the 10 m wind.
  EXPECT_TRUE(HasLine(r.out, "10m高风速(m/s)： 3"));
  // Hand-checked: K = 839.575 W/m2, H = 264.04 W/m2, u* = 0.26642 m/s,
  // 1/L = -0.1528 1/m; P = 3.5 + 21.67/L - 0.48 log10(3) = -0.04 -> 0.5 (class A).
  EXPECT_TRUE(HasLine(r.out, "大气稳定度为： 不稳定"));
  EXPECT_TRUE(HasLine(r.out, "大气稳定度等级：0.5"));
  // Hand-checked: 1013.25 - 0.1148 x 5 m = 1012.676 mb.
  EXPECT_TRUE(HasLine(r.out, "环境气压  (Pa)： 101267.6"));
  // Hand-checked: 10 kg/min of gas.
  EXPECT_TRUE(HasLine(r.out, "扩散计算的实际源强：10000 g/min"));
  // Hand-checked plane maximum: plume formula at X = 30 m, Y = 0, Z = H = 1.5 m,
  // class n = 0: sigma-y = 0.479 (30 + 0.448)^0.9 = 10.3643 m (virtual distance
  // 0.448 m for a 1 m source), sigma-z = 0.0414 x 30^1.3155 = 3.63206 m,
  // C = 10000/60 / (2 pi sy sz 3) (1 + exp(-0.5 (3/sz)^2)) x 1000 = 401.8821 mg/m3,
  // larger than C(130 m) = 18.36, so the maximum lies within 30 m.
  EXPECT_TRUE(HasLine(r.out, "在 30m 处的浓度为401.8821 mg/m3"));
  EXPECT_TRUE(HasLine(r.out, "最大浓度产生于离源 30m 的距离内"));
  EXPECT_EQ(r.out, Reference("01-chlorine-leak-day.txt"));
}

TEST_F(BatchProgram, ChlorineLeakAtNightUnderAnInversion) {
  const fs::path dir = TempDir("case2");
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), Example("02-chlorine-leak-night-inversion.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, "当前时间在当地为夜间"));
  EXPECT_TRUE(HasLine(r.out, "云盖度[10分制]为:2"));
  EXPECT_TRUE(HasLine(r.out, "逆温层底高为 150(m)"));
  // Hand-checked: H = -40 (1 - 2/10) = -32 W/m2, stable search u* = 0.05506 m/s,
  // 1/L = 2.056 1/m, P = 3.5 + 21.67 x 2.056 + 0.48 log10(3) > 6 -> 6; the 10 m
  // wind 1.5 m/s < 2 with class 6: the meandering note.
  EXPECT_TRUE(HasLine(r.out, "大气稳定度为： 稳定"));
  EXPECT_TRUE(HasLine(r.out, "    (烟羽弥散(meandering)可能发生)"));
  EXPECT_TRUE(HasLine(r.out, "大气稳定度等级：6.0"));
  EXPECT_TRUE(HasLine(r.out, "10m高风速(m/s)： 1.5"));
  // Hand-checked: class F, sigma-y class 4 (V = 6 with averaging 10 min):
  // sigma-y = 0.13084 x 30.448^0.9 = 2.9518 m, sigma-z = 0.0617 x 30^0.7884 =
  // 0.90125 m, plume (0.47 x 150 m > sigma-z), C(30) = 6673.357 mg/m3.
  EXPECT_TRUE(HasLine(r.out, "在 30m 处的浓度为6673.357 mg/m3"));
  EXPECT_EQ(r.out, Reference("02-chlorine-leak-night-inversion.txt"));
}

TEST_F(BatchProgram, StackOnASnowyMorning) {
  const fs::path dir = TempDir("case4");
  const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), Example("04-sulfur-dioxide-stack.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  // Hand-checked: elevation 23.709 deg -> 24; over snow at -5 deg C the
  // negative daytime flux is clamped to H = 0, so the surface layer is neutral.
  EXPECT_TRUE(HasLine(r.out, "太阳高度角为:24 (度)"));
  // Hand-checked: u* = 0.4 x 5 / ln(100 x 30 / 25) = 0.417755 m/s;
  // u10 = ln(1000 / 25) u* / 0.4 = 3.852622 m/s.
  EXPECT_TRUE(HasLine(r.out, "10m高风速(m/s)： 3.852622"));
  // Hand-checked: 1/L = 1e-15 gives P = 3.5 (class D).
  EXPECT_TRUE(HasLine(r.out, "大气稳定度为： 中性"));
  EXPECT_TRUE(HasLine(r.out, "大气稳定度等级：3.5"));
  // Hand-checked: (1013.25 - 0.1148 x 800) x 100 = 92141 Pa; roughness 3 cm for a stack.
  EXPECT_TRUE(HasLine(r.out, "环境气压  (Pa)： 92141"));
  EXPECT_TRUE(HasLine(r.out, "地表粗糙度(cm)： 3"));
  // Hand-checked: 3 kg/min.
  EXPECT_TRUE(HasLine(r.out, "扩散计算的实际源强：3000 g/min"));
  EXPECT_EQ(r.out, Reference("04-sulfur-dioxide-stack.txt"));
}

// The reports of the remaining examples, pinned as regression references
// like the three above: the applicability notes change no byte of them.
TEST_F(BatchProgram, OtherExampleReportsAreUnchanged) {
  for (const char* name : {"03-ammonia-instantaneous", "05-carbon-disulfide-spill", "06-benzene-defined-substance"}) {
    const fs::path dir = TempDir(name);
    const RunResult r = RunBatch({"--out-dir", Utf8FromPath(dir), Example((std::string(name) + ".ini").c_str())});
    ASSERT_EQ(r.status, 0) << name << ": " << r.err;
    EXPECT_EQ(r.out, Reference((std::string(name) + ".txt").c_str())) << name;
  }
}

// The isopleths of the thresholds run on several threads: the night case with
// 100 thresholds gives the same record (every field of the JSON object), the
// same report and the same contour data file on one thread and on two.
TEST_F(BatchProgram, HundredThresholdsOnOneAndOnTwoThreads) {
  const fs::path dir = TempDir("threads");
  std::string list;
  double v = 0.5;
  for (int i = 0; i < 100; ++i, v *= 1.06) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%.3f", i ? "," : "", v);
    list += buf;
  }
  const std::string settings = Utf8FromPath(dir / "100.ini");
  WriteAll(settings, WithRecord(ReadAll(Example("02-chlorine-leak-night-inversion.ini")), 26, "\"" + list + "\""));
  const std::string out = Utf8FromPath(dir / "out");
  RunResult runs[2];
  std::string contour[2];
  for (int i = 0; i < 2; ++i) {
    const std::string threads = i == 0 ? "1" : "2";
    SetEnvironmentValue("ZELTO_THREADS", &threads);
    runs[i] = RunBatch({"--json", "--out-dir", out, settings});
    contour[i] = ReadAll(out + "/CONCXY.DAT");
    fs::remove(out + "/CONCXY.DAT");
  }
  SetEnvironmentValue("ZELTO_THREADS", nullptr);
  ASSERT_EQ(runs[0].status, 0) << runs[0].err;
  const nlohmann::json one = nlohmann::json::parse(runs[0].out);
  ASSERT_EQ(one["ThresholdCount"], 100);
  ASSERT_GT(one["ContourPointCount"][99], 0);  // every isopleth traced
  EXPECT_EQ(runs[1].status, 0);
  EXPECT_EQ(runs[1].out, runs[0].out);
  EXPECT_EQ(runs[1].err, runs[0].err);
  EXPECT_FALSE(contour[0].empty());
  EXPECT_EQ(contour[1], contour[0]);
}

}  // namespace
}  // namespace zelto
