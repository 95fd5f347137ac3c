// zelto-batch: one computation without a window.
//
// It does what the desktop program does when it starts and the operator
// presses "刷新结果": the window is created, activated for the first time
// (settings read, inputs prepared, refusals ignored), then the compute button
// runs the checks, the three dispersion stages and the report. The settings
// file is never written.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "batch/BatchJson.h"
#include "core/Files.h"
#include "core/Messages.h"
#include "core/ModelState.h"
#include "curve/CurveCsv.h"
#include "curve/Indoor.h"
#include "curve/PointCurve.h"
#include "core/Platform.h"
#include "dispersion/Dispersion.h"
#include "notes/Applicability.h"
#include "ui/ControlLabels.h"
#include "ui/ControlIds.h"
#include "ui/InputRules.h"
#include "ui/MainWindow.h"
#include "ui/SubstanceChoice.h"
#if ZELTO_MAP_EXPORT
#include "zone/MapExport.h"
#endif

namespace zelto {
namespace {

constexpr int kExitReport = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

const char* const kHelp =
    "用法 / Usage: zelto-batch [--json] [--out-dir DIR] [--geojson FILE] [--kml FILE]\n"
    "                          [--timeseries FILE] [--air-exchange RATE]\n"
    "                          [--substance KEY] [--library FILE] [SETTINGS]\n"
    "              zelto-batch [--library FILE] --list-substances\n"
    "\n"
    "  SETTINGS       设置文件（与 ZELTO.ini 格式相同）。省略时使用程序目录下的 ZELTO.ini；\n"
    "                 该文件也不存在时使用窗口的内置默认值（当天日期和当前时间）。\n"
    "                 A settings file in the ZELTO.ini format. Without it, ZELTO.ini beside\n"
    "                 the executable; when that is missing too, the window's built-in\n"
    "                 defaults (today's date and the current time).\n"
    "  --json         在标准输出写一个 JSON 对象：Ok、Messages、Focus（被拒绝的输入项：\n"
    "                 Name 和 Label，或 null）、模型记录的全部字段、ResultSummary 和\n"
    "                 Report（CR LF 行尾）。\n"
    "                 Write one JSON object to standard output: Ok, Messages, Focus (the\n"
    "                 input refused: Name and Label, or null), every field of the model\n"
    "                 record, ResultSummary and Report (CR LF line ends).\n"
    "                 另有 Curves：各计算点浓度-时间曲线的特征值（室外和室内）。\n"
    "                 Also Curves: the figures of each listed point's curve, outdoors\n"
    "                 and indoors.\n"
    "  --out-dir DIR  廓线数据文件 CONCXY.DAT 的目录（默认：程序目录），不存在时创建。\n"
    "                 Directory for the contour data file CONCXY.DAT (default: the\n"
    "                 executable's directory); created when missing.\n"
    "  --geojson FILE 计算成功后把危害区写成 GeoJSON 地图文件（WGS 84 经纬度）。\n"
    "                 After a successful computation, write the hazard zone as a GeoJSON\n"
    "                 map file (WGS 84 longitude/latitude).\n"
    "  --kml FILE     同上，写成 KML 2.2 地图文件。 The same as a KML 2.2 map file.\n"
    "  --timeseries FILE\n"
    "                 计算成功后把各计算点的浓度-时间曲线写成 CSV 文件（UTF-8，首行为列名\n"
    "                 point,x,y,z,t_min,c_out,c_in；浓度单位 mg/m3）。\n"
    "                 After a successful computation, write the concentration-time curves\n"
    "                 of the listed points as CSV (UTF-8, header line; mg/m3).\n"
    "  --air-exchange RATE\n"
    "                 室内浓度所用的建筑换气次数（次/小时，默认 0.5）。\n"
    "                 Air exchanges per hour of the closed building (default 0.5).\n"
    "  --substance KEY\n"
    "                 用物质库（程序目录下的 CHEMLIB.DAT）中的物质代替设置文件所选的物质；\n"
    "                 KEY 为 CAS 号或完整的中文名、英文名，如 7782-50-5、氯、CHLORINE。\n"
    "                 Use a substance of the library (CHEMLIB.DAT beside the executable)\n"
    "                 instead of the one the settings file chose; KEY is its CAS number or\n"
    "                 its exact Chinese or English name.\n"
    "  --list-substances\n"
    "                 列出物质库：CAS 号、中文名、英文名、有无 Vossler 参数、PAC-1/2/3 及单位。\n"
    "                 List the library: CAS number, Chinese name, English name, whether a\n"
    "                 Vossler set exists, PAC-1/2/3 with unit.\n"
    "  --library FILE 用 FILE 代替程序目录下的物质库 CHEMLIB.DAT。\n"
    "                 Read the substance library from FILE instead of CHEMLIB.DAT.\n"
    "  --help         显示本说明。 Show this help.\n"
    "\n"
    "不带 --json 时，计算报告（UTF-8，\\n 行尾）写到标准输出，提示信息逐行写到标准错误。\n"
    "Without --json the report (UTF-8, \\n line ends) goes to standard output and the\n"
    "messages, one per line, to standard error.\n"
    "计算被拒绝时，每条提示信息后用括号注明出错输入项的标签，如 “无效!（环境风速(m/s)：）”。\n"
    "After a refusal each message ends with the label of the input at fault in brackets.\n"
    "计算成功后，每条模型适用性提示以“提示：”开头写到标准错误；--json 时写入 Notes 数组\n"
    "（Id、Text、Values）和 DenseGas（重气估算，判据不成立时为 null）。\n"
    "After a successful computation each applicability note goes to standard error\n"
    "prefixed \"提示：\"; with --json they are the Notes array (Id, Text, Values) and\n"
    "DenseGas (the dense-gas estimate, null when the criterion does not hold).\n"
    "\n"
    "退出状态 / Exit status:\n"
    "  0  已生成计算报告（包括有警告的情况，如廓线数据文件无法写入）\n"
    "     the report was produced (warnings such as an unwritable contour file included)\n"
    "  1  参数错误（包括物质库中没有的 KEY），或设置文件不存在、无法读取，或地图文件、\n"
    "     浓度-时间文件无法写出\n"
    "     usage error (an unknown substance KEY included), or the SETTINGS file does not\n"
    "     exist or cannot be read, or a map file or the time-series file could not be\n"
    "     written\n"
    "  2  输入检查或计算阶段拒绝了计算\n"
    "     an input check or a computation stage refused\n";

struct Arguments {
  bool json = false;
  bool help = false;
  bool hasOutDir = false;
  std::string outDir;
  bool hasSettings = false;
  std::string settings;
  std::string geojson;  // map files, empty = not asked for
  std::string kml;
  std::string timeseries;  // CSV of the curves, empty = not asked for
  double airExchange = kDefaultAirExchangePerHour;  // per hour
  bool hasSubstance = false;
  std::string substance;  // --substance KEY
  bool listSubstances = false;
  std::string library;  // --library FILE, empty = CHEMLIB.DAT beside the executable
};

// Returns false with an explanation for a usage error.
bool ParseArguments(const std::vector<std::string>& argv, Arguments& a, std::string& error) {
  const int argc = static_cast<int>(argv.size());
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      a.help = true;
    } else if (!optionsEnded && arg == "--json") {
      a.json = true;
    } else if (!optionsEnded && arg == "--out-dir") {
      if (i + 1 >= argc) {
        error = "--out-dir 缺少目录 / --out-dir needs a directory";
        return false;
      }
      a.hasOutDir = true;
      a.outDir = argv[++i];
    } else if (!optionsEnded && (arg == "--geojson" || arg == "--kml")) {
      if (i + 1 >= argc || argv[i + 1].empty()) {
        error = arg + " 缺少文件名 / " + arg + " needs a file name";
        return false;
      }
      (arg == "--kml" ? a.kml : a.geojson) = argv[++i];
    } else if (!optionsEnded && arg == "--timeseries") {
      if (i + 1 >= argc || argv[i + 1].empty()) {
        error = "--timeseries 缺少文件名 / --timeseries needs a file name";
        return false;
      }
      a.timeseries = argv[++i];
    } else if (!optionsEnded && arg == "--air-exchange") {
      char* end = nullptr;
      const double rate = i + 1 < argc ? std::strtod(argv[i + 1].c_str(), &end) : -1.0;
      if (i + 1 >= argc || end == argv[i + 1].c_str() || *end != '\0' || !std::isfinite(rate) || rate < 0.0 ||
          rate > 100.0) {
        error = "--air-exchange 需要 0 到 100 之间的换气次数 / --air-exchange needs a rate from 0 to 100 per hour";
        return false;
      }
      a.airExchange = rate;
      ++i;
    } else if (!optionsEnded && arg == "--substance") {
      if (i + 1 >= argc || argv[i + 1].empty()) {
        error = "--substance 缺少物质 / --substance needs a CAS number or name";
        return false;
      }
      a.hasSubstance = true;
      a.substance = argv[++i];
    } else if (!optionsEnded && arg == "--library") {
      if (i + 1 >= argc || argv[i + 1].empty()) {
        error = "--library 缺少文件名 / --library needs a file name";
        return false;
      }
      a.library = argv[++i];
    } else if (!optionsEnded && arg == "--list-substances") {
      a.listSubstances = true;
    } else if (!optionsEnded && arg.rfind("--out-dir=", 0) == 0) {
      a.hasOutDir = true;
      a.outDir = arg.substr(10);
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      error = "未知选项 / unknown option: " + arg;
      return false;
    } else if (a.hasSettings) {
      error = "只能给出一个设置文件 / only one SETTINGS file may be given";
      return false;
    } else {
      a.hasSettings = true;
      a.settings = arg;
    }
  }
  if (a.hasOutDir && a.outDir.empty()) {
    error = "--out-dir 缺少目录 / --out-dir needs a directory";
    return false;
  }
  return true;
}

// Records messages only while recording is on: the start-up pass runs muted,
// as the window ignores a start-up refusal.
class BatchSink : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override {
    if (recording) messages.push_back(text);
  }
  bool recording = false;
  std::vector<std::string> messages;
};

// The message for a refusal the window shows without one (longitude and
// latitude out of range): the focus alone shows the box there.
std::string RefusalWithoutMessage(const MainWindow& w) {
  const std::string label = ControlLabel(w, w.Focus);
  return label.empty() ? std::string("输入无效") : "输入无效：" + label;
}

// After a refusal, the input the window would put the focus into: appended to
// each message on standard error, for instance "无效!（环境风速(m/s)：）".
std::string FocusSuffix(const MainWindow& w) {
  const std::string label = ControlLabel(w, w.Focus);
  return label.empty() ? std::string() : "（" + label + "）";
}

// The same as a JSON value: {"Name": "Text1(8)", "Label": "环境风速(m/s)："},
// or null when the refusal names no input.
BatchJson FocusJson(const MainWindow& w) {
  const std::string name = ControlName(w.Focus);
  if (name.empty()) return nullptr;
  BatchJson focus = BatchJson::object();
  focus["Name"] = name;
  focus["Label"] = ControlLabel(w, w.Focus);
  return focus;
}

// CR LF (and lone CR) to "\n".
std::string UnixLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// One message on one line.
std::string OneLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

// The applicability notes as JSON: [{"Id", "Text", "Values": {name: value}}].
BatchJson NotesJson(const Applicability& a) {
  BatchJson notes = BatchJson::array();
  for (const ApplicabilityNote& n : a.Notes) {
    BatchJson note = BatchJson::object();
    note["Id"] = n.Id;
    note["Text"] = n.Text;
    BatchJson values = BatchJson::object();
    for (const NoteValue& v : n.Values) values[v.Name] = v.Value;
    note["Values"] = values;
    notes.push_back(note);
  }
  return notes;
}

// The dense-gas estimate beside the isopleths, or null when the criterion
// did not hold. Distances the correlations do not give are null with a remark.
BatchJson DenseGasJson(const DenseGasEstimate& e) {
  if (!e.Done) return nullptr;
  BatchJson d = BatchJson::object();
  d["Instantaneous"] = e.Instantaneous;
  d["Alpha"] = e.Alpha;
  d["LengthScale"] = e.LengthScale;
  d["LowestCurveRatio"] = e.LowestCurveRatio;
  d["LowestCurveDistance"] = e.LowestCurveDistance > 0 ? BatchJson(e.LowestCurveDistance) : BatchJson(nullptr);
  BatchJson rows = BatchJson::array();
  for (const DenseGasRow& r : e.Rows) {
    BatchJson row = BatchJson::object();
    row["Threshold"] = r.Threshold;
    row["Ratio"] = r.Ratio;
    row["GaussianFarEnd"] = r.GaussianReached ? BatchJson(r.GaussianFarEnd) : BatchJson(nullptr);
    row["Distance"] = r.InRange ? BatchJson(r.Distance) : BatchJson(nullptr);
    row["Remark"] = r.Remark;
    rows.push_back(row);
  }
  d["Rows"] = rows;
  return d;
}

int UsageError(const std::string& explanation) {
  std::cerr << "zelto-batch: " << explanation << "\n";
  return kExitUsage;
}

// One line per library substance: CAS, Chinese name, English name, Vossler
// set yes/no, PAC-1/2/3 with unit ("-" when none is published), tab-separated.
void ListSubstances(const MainWindow& w) {
  std::cout << "CAS\t中文名\tEnglish name\tVossler\tPAC-1/2/3\n";
  for (const LibrarySubstance& sub : w.Library.Substances) {
    std::cout << sub.Cas << '\t' << sub.NameZh << '\t' << sub.NameEn << '\t'
              << (sub.HasVossler ? "有/yes" : "无/no") << '\t';
    if (sub.HasPac) {
      std::cout << TextOfSingle(sub.Pac[0]) << '/' << TextOfSingle(sub.Pac[1]) << '/'
                << TextOfSingle(sub.Pac[2]) << ' ' << sub.PacUnit;
    } else {
      std::cout << '-';
    }
    std::cout << '\n';
  }
}

int Run(int argc, char** argv) {
  // Bytes out as they are (CR LF in the JSON report stays CR LF), arguments
  // in UTF-8 whatever the system's code page.
  UseBinaryStandardStreams();
  Arguments args;
  std::string error;
  if (!ParseArguments(Utf8Arguments(argc, argv), args, error)) {
    return UsageError(error + "（--help 显示用法 / --help shows the usage）");
  }
  if (args.help) {
    std::cout << kHelp;
    return kExitReport;
  }
#if !ZELTO_MAP_EXPORT
  if (!args.geojson.empty() || !args.kml.empty()) {
    return UsageError("此版本不含地图导出 / this build has no map export");
  }
#endif

  const std::string exeDir = ExecutableDirectory();
  std::string settingsPath = JoinPath(exeDir, "ZELTO.ini");
  if (args.hasSettings) {
    // Readable is enough here: the window reads the file itself.
    std::string firstByte;
    bool cut = false;
    if (!ReadFilePrefix(args.settings, 1, firstByte, cut)) {
      return UsageError("设置文件不存在或无法读取 / cannot read the settings file: " +
                        args.settings);
    }
    settingsPath = args.settings;
  }

  std::string outDir = args.hasOutDir ? args.outDir : exeDir;
  std::error_code ec;
  const std::filesystem::path outPath = PathFromUtf8(outDir);
  std::filesystem::create_directories(outPath, ec);
  if (!std::filesystem::is_directory(outPath, ec)) {
    return UsageError("无法创建输出目录 / cannot create the output directory: " + outDir);
  }
  const std::filesystem::path absDir = std::filesystem::absolute(outPath, ec);
  const std::string contourDir = ec ? outDir : Utf8FromPath(absDir.lexically_normal());
  std::string contourPath = JoinPath(contourDir, kContourFileName);
  // "dir/./" or a trailing separator would leave "//" in the name shown.
  contourPath = Utf8FromPath(PathFromUtf8(contourPath).lexically_normal());

  ModelState s;
  BatchSink sink;
  StandardErrorSink diagnostics;
  MainWindow w(s, sink);
  w.SettingsPath = settingsPath;
  w.ContourPath = contourPath;
  w.HelpPath.clear();
  w.Diagnostics = &diagnostics;
  if (!args.library.empty()) w.LibraryPath = args.library;

  // Start and first activation: settings read and inputs prepared, with any
  // refusal ignored as the window does.
  w.Form_Load();
  const bool needsLibrary = args.listSubstances || args.hasSubstance;
  if (needsLibrary && !w.LibraryNotice.empty()) return UsageError(w.LibraryNotice);
  if (args.listSubstances) {
    ListSubstances(w);
    return kExitReport;
  }
  int substanceIndex = -1;
  if (args.hasSubstance) {
    substanceIndex = FindSubstanceKey(w, args.substance);
    if (substanceIndex < 0) {
      return UsageError("物质库中没有该物质 / no such substance in the library: " + args.substance +
                        "（--list-substances 列出物质库 / lists the library）");
    }
  }
  w.Form_Activate();
  // The operator's choice in the substance list, after the settings were read.
  if (substanceIndex >= 0) w.SetListIndex(combo::Substance, substanceIndex);

  // The compute button.
  sink.recording = true;
  w.Focus = FocusId{};
  const bool ok = w.RefreshResults();
  sink.recording = false;
  // A refusal without a message gets one that already names the input.
  const bool silentRefusal = !ok && sink.messages.empty();
  if (silentRefusal) sink.messages.push_back(RefusalWithoutMessage(w));
  const std::string report = ok ? w.Text3.Text : std::string();

  // Map files only from a successful computation; a refused export or a
  // failed write is reported with the others and gives exit status 1.
  bool mapsWritten = true;
#if ZELTO_MAP_EXPORT
  if (ok) {
    std::string message;
    if (!args.geojson.empty() && !ExportGeoJson(s, args.geojson, message)) {
      sink.messages.push_back(message);
      mapsWritten = false;
    }
    if (!args.kml.empty() && !ExportKml(s, args.kml, message)) {
      sink.messages.push_back(message);
      mapsWritten = false;
    }
  }
#endif
  // The concentration-time curves of the listed points, when the JSON object
  // or the curve file shows them.
  std::vector<PointCurve> curves;
  if (ok && (args.json || !args.timeseries.empty())) curves = ComputePointCurves(s, args.airExchange);
  if (ok && !args.timeseries.empty()) {
    std::string message;
    if (!WriteCurveCsv(curves, args.timeseries, message)) {
      sink.messages.push_back(message);
      mapsWritten = false;
    }
  }

  if (args.json) {
    BatchJson obj = BatchJson::object();
    obj["Ok"] = ok;
    obj["Messages"] = sink.messages;
    obj["Focus"] = ok ? BatchJson(nullptr) : FocusJson(w);
    AddModelState(obj, s);
    obj["ResultSummary"] = w.ResultSummary;
    obj["Report"] = report;
    obj["Notes"] = ok ? NotesJson(w.Notes) : BatchJson::array();
    obj["DenseGas"] = ok ? DenseGasJson(w.Notes.DenseGas) : BatchJson(nullptr);
    obj["Curves"] = CurvesJson(curves);
    std::cout << obj.dump(-1, ' ', false, BatchJson::error_handler_t::replace) << "\n";
  } else {
    const std::string suffix = ok || silentRefusal ? std::string() : FocusSuffix(w);
    for (const std::string& m : sink.messages) std::cerr << OneLine(m) << suffix << "\n";
    if (ok) {
      for (const ApplicabilityNote& n : w.Notes.Notes) std::cerr << "提示：" << NoteLine(n) << "\n";
    }
    if (ok) std::cout << UnixLineEnds(report) << "\n";
  }
  std::cout.flush();
  if (!ok) return kExitRefused;
  return mapsWritten ? kExitReport : kExitUsage;
}

}  // namespace
}  // namespace zelto

int main(int argc, char** argv) { return zelto::Run(argc, argv); }
