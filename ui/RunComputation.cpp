// The computation proper: the three dispersion stages and the report.
#include <string>

#include "core/Files.h"
#include "dispersion/Dispersion.h"
#include "report/Report.h"
#include "ui/MainWindow.h"

namespace zelto {

void MainWindow::RunComputation() {
  // The contour data file lives beside the executable unless the window was
  // told otherwise (batch program, tests).
  if (ContourPath.empty()) ContourPath = JoinPath(ExecutableDirectory(), "CONCXY.DAT");

  DispersionContext ctx;
  ctx.contourFilePath = ContourPath;
  ctx.sink = &sink;
  ctx.processEvents = ProcessEvents;

  // Kind 1 traces the isopleths and writes the contour data file, kind 2
  // evaluates the listed receptor points, kind 3 finds the plane maximum and
  // leaves its summary text in message. A refused stage ends the computation.
  std::string message;
  for (int kind = 1; kind <= 3; ++kind) {
    message.clear();
    if (!RunDispersion(s, kind, message, ctx)) {
      sink.ShowMessage(message);
      return;
    }
  }

  const std::string bad = FirstNonFiniteReportValue(s);
  if (!bad.empty()) {
    sink.ShowMessage("计算结果中的 " + bad + " 不是有效数值，无法生成计算报告。");
    return;
  }
  ResultSummary = message;

  const ReportControls controls{Combo1[1].Text, Combo1[2].Text, Text1[13].Text, Combo1[5].Text};
  Text3.Text = BuildReport(s, ResultSummary, controls, ContourPath, sink);
}

}  // namespace zelto
