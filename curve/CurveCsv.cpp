#include "curve/CurveCsv.h"

#include <charconv>

#include "core/Files.h"

namespace zelto {

namespace {

void AppendNumber(std::string& out, float v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

}  // namespace

std::string CurveCsvText(const std::vector<PointCurve>& curves) {
  std::string out = "point,x,y,z,t_min,c_out,c_in\r\n";
  for (const PointCurve& c : curves) {
    std::string head = std::to_string(c.point) + ",";
    AppendNumber(head, c.x);
    head += ',';
    AppendNumber(head, c.y);
    head += ',';
    AppendNumber(head, c.z);
    head += ',';
    for (size_t i = 0; i < c.t.size(); ++i) {
      out += head;
      AppendNumber(out, c.t[i]);
      out += ',';
      AppendNumber(out, c.cOut[i]);
      out += ',';
      AppendNumber(out, i < c.cIn.size() ? c.cIn[i] : 0.0f);
      out += "\r\n";
    }
  }
  return out;
}

bool WriteCurveCsv(const std::vector<PointCurve>& curves, const std::string& path, std::string& message) {
  std::string error;
  if (!WriteFileAtomic(path, CurveCsvText(curves), error)) {
    message = "无法写入浓度-时间文件" + path + "。";
    return false;
  }
  return true;
}

}  // namespace zelto
