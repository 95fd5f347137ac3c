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
    sink.ShowMessage("计算结果中的" + ReportValueCaption(bad) + "不是有效数值，无法生成计算报告。");
    return false;
  }
  ResultSummary = message;

  const ReportControls controls{Combo1[combo::GroundType].Text, Combo1[combo::GroundMoisture].Text,
                                Text1[box::ReleaseDuration].Text, Combo1[combo::DurationUnit].Text};
  Text3.Text = BuildReport(s, ResultSummary, controls, ContourPath, sink);
  // Beside the computation: read what it left, change nothing.
  Notes = EvaluateApplicability(s);
  return true;
}

namespace {

// The window's look while the stages run: hourglass, window disabled, the
// compute button disabled and reading "正在计算...".
void ShowComputing(MainWindow& w, bool computing) {
  w.Computing = computing;
  w.Hourglass = computing;
  w.WindowEnabled = !computing;
  Button& compute = w.Command1[command::Compute];
  compute.Enabled = !computing;
  compute.Caption = computing ? kComputingCaption : "刷新结果";
  if (w.ComputationStateChanged) w.ComputationStateChanged();
}

}  // namespace

bool MainWindow::RefreshResults() {
  if (Computing) return false;  // one computation at a time
  if (!PrepareInputs()) return false;
  ClosePending = false;
  ShowComputing(*this, true);
  const bool reported = RunComputation();
  ShowComputing(*this, false);
  // A close asked for during the run: the ordinary close, now that the run's
  // message (if any) has been shown.
  if (ClosePending) {
    ClosePending = false;
    bool cancel = false;
    Form_Unload(cancel);
  }
  return reported;
}

}  // namespace zelto
