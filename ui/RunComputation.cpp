// The three dispersion stages of one computation.
#include <string>

#include "dispersion/Dispersion.h"
#include "ui/MainWindow.h"

namespace zelto {

void MainWindow::RunComputation() {
  DispersionContext ctx;
  ctx.contourFilePath = ContourPath;
  ctx.sink = &sink;
  ctx.processEvents = ProcessEvents;
  std::string message;
  // Isopleths and hazard zone, then the listed points, then the plane maximum.
  for (int kind = 1; kind <= 3; ++kind) {
    if (!RunDispersion(s, kind, message, ctx)) {
      sink.ShowMessage(message);
      return;
    }
  }
  ResultSummary = message;
}

}  // namespace zelto
