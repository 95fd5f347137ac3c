// The Chinese results report shown in the main window's results box.
#pragma once

#include <cstddef>
#include <string>

#include "core/Messages.h"
#include "core/ModelState.h"

namespace zelto {

// The control texts of the main window that the report prints as they stand
// (not as numbers), so the report needs no window.
struct ReportControls {
  std::string GroundTypeText;      // text of the ground-type list (e.g. "泥地")
  std::string GroundMoistureText;  // text of the ground-moisture list (e.g. "干")
  std::string DurationText;        // the release-duration box as typed (e.g. "10")
  std::string DurationUnitText;    // the duration-unit list text (e.g. "分钟")
};

// Longest report the results box holds, in UTF-16 code units.
inline constexpr size_t kReportLimit = 64000;

// Composes the report after a successful computation (at least one threshold,
// a contour point count for every threshold). The contour data text comes from
// s.ContourText, i.e. the text this computation generated; contourFilePath is
// only named in the notice shown through sink when the report has to be cut
// to kReportLimit code units. The text begins with CR LF and every line is
// preceded by CR LF.
std::string BuildReport(const ModelState& s, const std::string& resultSummary,
                        const ReportControls& controls, const std::string& contourFilePath,
                        MessageSink& sink);

// Name of the first field the report prints that holds no finite number, or ""
// when all of them are finite; the driver refuses to show such a report.
std::string FirstNonFiniteReportValue(const ModelState& s);
// The Chinese caption of a field named by FirstNonFiniteReportValue.
std::string ReportValueCaption(const std::string& field);

}  // namespace zelto
