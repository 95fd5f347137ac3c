// zelto-zone: computes a settings file as the window does when the operator
// presses "刷新结果" and saves the picture of the hazard zone, without a
// display (Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise).
#include <QGuiApplication>
#include <QString>
#include <iostream>
#include <string>

#include "core/Files.h"
#include "core/ModelState.h"
#include "desktop/ZoneRenderer.h"
#include "desktop/PictureProgram.h"

namespace {

const char* const kUsage =
    "用法 / Usage: zelto-zone SETTINGS [--zone-png FILE] [--zone-svg FILE] [--size WxH]\n"
    "  计算设置文件（ZELTO.ini 格式）并把危害区图保存为 PNG 和/或 SVG（默认 1600x1200）。\n"
    "  Computes the settings file and saves the hazard-zone picture as PNG and/or SVG.\n"
    "退出状态 / Exit status: 0 已保存 saved; 1 参数错误或无法写入 usage or write error;\n"
    "  2 计算被拒绝 the computation was refused\n";

int Usage(const std::string& why) {
  std::cerr << "zelto-zone: " << why << "\n" << kUsage;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  std::string settings, png, svg;
  QSize size = zelto::desktop::kZonePictureSize;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if ((arg == "--zone-png" || arg == "--zone-svg" || arg == "--size") && !hasValue) {
      return Usage(arg + " 缺少参数 / needs a value");
    }
    if (arg == "--zone-png") {
      png = argv[++i];
    } else if (arg == "--zone-svg") {
      svg = argv[++i];
    } else if (arg == "--size") {
      if (!zelto::desktop::ParsePictureSize(argv[++i], size)) return Usage("--size 须为 WxH，如 1600x1200");
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
  if (png.empty() && svg.empty()) return Usage("缺少 --zone-png 或 --zone-svg");
  if (!zelto::FileExists(settings)) return Usage("设置文件不存在或无法读取：" + settings);

  zelto::ModelState s;
  if (!zelto::desktop::ComputeAsTheWindow(s, settings)) {
    std::cerr << "zelto-zone: 计算被拒绝，未保存图片 / the computation was refused\n";
    return 2;
  }

  std::string message;
  bool ok = true;
  if (!png.empty() && !zelto::desktop::SaveZonePng(s, QString::fromLocal8Bit(png.c_str()), size, message)) {
    std::cerr << message << "\n";
    ok = false;
  }
  if (!svg.empty() && !zelto::desktop::SaveZoneSvg(s, QString::fromLocal8Bit(svg.c_str()), size, message)) {
    std::cerr << message << "\n";
    ok = false;
  }
  return ok ? 0 : 1;
}
