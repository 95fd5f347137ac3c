// zelto-curve: computes a settings file as the window does when the operator
// presses "刷新结果" and saves the concentration-time picture of one listed
// point, without a display (Qt's offscreen platform unless QT_QPA_PLATFORM
// says otherwise).
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <iostream>
#include <string>

#include "core/Files.h"
#include "core/ModelState.h"
#include "curve/Indoor.h"
#include "desktop/CurveRenderer.h"
#include "ui/CurveTab.h"
#include "desktop/PictureProgram.h"

namespace {

const char* const kUsage =
    "用法 / Usage: zelto-curve SETTINGS [--point N] [--png FILE] [--svg FILE] [--size WxH] [--log]\n"
    "                          [--air-exchange RATE]\n"
    "  计算设置文件（ZELTO.ini 格式）并把第 N 个计算点（默认 1）的浓度-时间曲线保存为\n"
    "  PNG 和/或 SVG（默认 1600x1000）；--log 用对数浓度坐标；RATE 为室内换气次数（次/小时，默认 0.5）。\n"
    "  Computes the settings file and saves the concentration-time picture of listed point N.\n"
    "退出状态 / Exit status: 0 已保存 saved; 1 参数错误、没有该计算点或无法写入 usage error, no such\n"
    "  point or write error; 2 计算被拒绝 the computation was refused\n";

int Usage(const std::string& why) {
  std::cerr << "zelto-curve: " << why << "\n" << kUsage;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  std::string settings, png, svg;
  QSize size = zelto::desktop::kCurvePictureSize;
  int point = 1;
  bool log = false;
  double rate = zelto::kDefaultAirExchangePerHour;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if ((arg == "--png" || arg == "--svg" || arg == "--size" || arg == "--point" || arg == "--air-exchange") &&
        !hasValue) {
      return Usage(arg + " 缺少参数 / needs a value");
    }
    if (arg == "--png") {
      png = argv[++i];
    } else if (arg == "--svg") {
      svg = argv[++i];
    } else if (arg == "--log") {
      log = true;
    } else if (arg == "--point") {
      bool ok = false;
      point = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
      if (!ok || point < 1) return Usage("--point 须为从 1 开始的计算点序号");
    } else if (arg == "--air-exchange") {
      bool ok = false;
      rate = QString::fromLocal8Bit(argv[++i]).toDouble(&ok);
      if (!ok || !(rate >= 0.0 && rate <= 100.0)) return Usage("--air-exchange 须在 0 到 100 之间");
    } else if (arg == "--size") {
      if (!zelto::desktop::ParsePictureSize(argv[++i], size)) return Usage("--size 须为 WxH，如 1600x1000");
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage("未知选项 / unknown option: " + arg);
    } else if (settings.empty()) {
      settings = arg;
    } else {
      return Usage("只能给出一个设置文件 / only one SETTINGS file may be given");
    }
  }
  if (settings.empty()) return Usage("缺少设置文件 / SETTINGS missing");
  if (png.empty() && svg.empty()) return Usage("缺少 --png 或 --svg");
  if (!zelto::FileExists(settings)) return Usage("设置文件不存在或无法读取：" + settings);

  zelto::ModelState s;
  if (!zelto::desktop::ComputeAsTheWindow(s, settings)) {
    std::cerr << "zelto-curve: 计算被拒绝，未保存图片 / the computation was refused\n";
    return 2;
  }

  zelto::CurveTab tab;
  std::string message;
  zelto::SetAirExchange(tab, rate, message);
  zelto::UpdateCurveTab(tab, s);
  if (point > static_cast<int>(tab.curves.size())) {
    std::cerr << "zelto-curve: 没有第 " << point << " 个计算点（共 " << tab.curves.size() << " 个）\n";
    return 1;
  }
  const zelto::PointCurve& curve = tab.curves[static_cast<size_t>(point - 1)];
  bool ok = true;
  if (!png.empty() &&
      !zelto::desktop::SaveCurvePng(curve, tab.thresholds, log, QString::fromLocal8Bit(png.c_str()), size, message)) {
    std::cerr << message << "\n";
    ok = false;
  }
  if (!svg.empty() &&
      !zelto::desktop::SaveCurveSvg(curve, tab.thresholds, log, QString::fromLocal8Bit(svg.c_str()), size, message)) {
    std::cerr << message << "\n";
    ok = false;
  }
  return ok ? 0 : 1;
}
