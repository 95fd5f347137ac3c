// The curves as a CSV file (RFC 4180, UTF-8, CR LF): one row per point of
// every curve.
#pragma once

#include <string>
#include <vector>

#include "curve/PointCurve.h"

namespace zelto {

// Header "point,x,y,z,t_min,c_out,c_in"; x, y, z in m, t_min in min, c_out
// and c_in in mg/m3, each the shortest text of its 32-bit value.
std::string CurveCsvText(const std::vector<PointCurve>& curves);

// Writes the text through a temporary file renamed when complete: a failed
// write leaves no new file and the old one intact. False with a message
// naming the file.
bool WriteCurveCsv(const std::vector<PointCurve>& curves, const std::string& path, std::string& message);

}  // namespace zelto
