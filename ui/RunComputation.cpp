// The computation proper: the three dispersion stages and the report.
#include <string>

#include "dispersion/Dispersion.h"
#include "report/Report.h"
#include "ui/MainWindow.h"

namespace zelto {

bool MainWindow::RunComputation() {
  // The contour data file lives beside the executable unless the window was
  // told otherwise (batch program, tests).
  if (ContourPath.empty()) ContourPath = DefaultContourPath();

  DispersionContext ctx;
  ctx.contourFilePath = ContourPath;
  ctx.sink = &sink;
  ctx.processEvents = ProcessEvents;

  // The isopleth stage writes the contour data file; the plane-maximum stage
  // runs last and leaves its summary text in message. A refused stage ends
  // the computation.
  std::string message;
  for (DispersionKind kind : {DispersionKind::Isopleths, DispersionKind::ReceptorPoints,
                              DispersionKind::PlaneMaximum}) {
    message.clear();
    if (!RunDispersion(s, kind, message, ctx)) {
      sink.ShowMessage(message);
      return false;
    }
  }

  const std::string bad = FirstNonFiniteReportValue(s);
  if (!bad.empty()) {
    sink.ShowMessage("计算结果中的 " + bad + " 不是有效数值，无法生成计算报告。");
    return false;
  }
  ResultSummary = message;

  const ReportControls controls{Combo1[combo::GroundType].Text, Combo1[combo::GroundMoisture].Text,
                                Text1[box::ReleaseDuration].Text, Combo1[combo::DurationUnit].Text};
  Text3.Text = BuildReport(s, ResultSummary, controls, ContourPath, sink);
  return true;
}

bool MainWindow::RefreshResults() {
  if (!PrepareInputs()) return false;
  Hourglass = true;
  WindowEnabled = false;
  Command1[command::Compute].Enabled = false;
  Command1[command::Compute].Caption = "正在计算...";
  const bool reported = RunComputation();
  Hourglass = false;
  Command1[command::Compute].Enabled = true;
  Command1[command::Compute].Caption = "刷新结果";
  WindowEnabled = true;
  return reported;
}

}  // namespace zelto
