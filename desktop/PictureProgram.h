// What the picture programs (zelto-zone, zelto-curve) share: the picture
// size option and the computation of a settings file as the window does it.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <iostream>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/MainWindow.h"

namespace zelto::desktop {

// "WxH" in pixels, from 200x150 up to 10000x10000.
inline bool ParsePictureSize(const std::string& text, QSize& size) {
  const QStringList wh = QString::fromLocal8Bit(text.c_str()).split('x');
  const int w = wh.size() == 2 ? wh[0].toInt() : 0, h = wh.size() == 2 ? wh[1].toInt() : 0;
  if (w < 200 || h < 150 || w > 10000 || h > 10000) return false;
  size = QSize(w, h);
  return true;
}

// The window's start (settings read, its refusals not shown), then its
// compute button, whose messages go to standard error. The driver's status
// says whether the computation produced its report; s then holds the results.
inline bool ComputeAsTheWindow(ModelState& s, const std::string& settings) {
  struct StderrSink : MessageSink {
    void ShowMessage(const std::string& text) override {
      if (recording) std::cerr << text << "\n";
    }
    bool recording = false;
  } sink;
  MainWindow w(s, sink);
  w.SettingsPath = settings;
  w.HelpPath.clear();
  w.Form_Load();
  w.Form_Activate();
  sink.recording = true;
  return w.RefreshResults();
}

}  // namespace zelto::desktop
