// Fuzz target: the number and text conventions (leading-number rule, number
// to text forms, date and time texts, number and point lists, GBK).
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/Gbk.h"
#include "core/ListParse.h"
#include "core/TextConv.h"
#include "fuzz/FuzzSupport.h"

using namespace zelto;
using zelto::fuzz::Fail;
using zelto::fuzz::HasNonFiniteWord;

namespace {

const char* const kPatterns[] = {"0",        "#0.0",     "#0.00",   "0.00E+00", "0.0000E+00",
                                 "   0",     "0       ", "0.00     ", "0.00E+00  ", "0     "};

bool ValidUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                                         : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    const unsigned char d = static_cast<unsigned char>(s[i + 1 < s.size() ? i + 1 : i]);
    if (c == 0xE0 && d < 0xA0) return false;                 // overlong
    if (c == 0xED && d >= 0xA0) return false;                // surrogate
    if (c == 0xF0 && d < 0x90) return false;                 // overlong
    if (c == 0xF4 && d >= 0x90) return false;                // above U+10FFFF
    i += len;
  }
  return true;
}

// Number to text and back.
void CheckNumberForms(float v) {
  const std::string g = FormatGeneral(v);
  const std::string rt = FormatRoundTrip(v);
  if (!std::isfinite(v)) return;
  if (HasNonFiniteWord(g) || HasNonFiniteWord(rt)) Fail("finite value printed as NaN/Inf", g);
  // Round trip: the shortest text reads back as the same single.
  const double back = LeadingNumber(rt);
  if (static_cast<float>(back) != v) {
    Fail("FormatRoundTrip does not read back", rt + " from " + std::to_string(v));
  }
  // General form: at most 7 significant digits, so within half a unit of the
  // 7th digit (relative 5e-7) of the value.
  const double gback = LeadingNumber(g);
  const double dv = static_cast<double>(v);
  if (std::fabs(gback - dv) > 5.0000001e-7 * std::fabs(dv) + 1e-45) {
    Fail("FormatGeneral too far from the value", g + " from " + rt);
  }
  for (const char* p : kPatterns) {
    const std::string t = FormatPattern(dv, p);
    if (t.empty() || HasNonFiniteWord(t)) Fail("FormatPattern gave an odd text", t);
  }
  const double r = RoundHalfEven(dv, 2);
  if (!std::isfinite(r)) Fail("RoundHalfEven of a finite value is not finite", rt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Leading-number rule on the whole text.
  const double d = LeadingNumber(text);
  if (std::isnan(d)) Fail("LeadingNumber gave NaN", text);
  const float single = LeadingSingle(text);
  if (!std::isfinite(single)) Fail("LeadingSingle gave a non-finite value", text);
  if (FitsSingle(d) != std::isfinite(static_cast<float>(d))) Fail("FitsSingle disagrees", text);
  CheckNumberForms(single);
  (void)FormatGeneralDouble(d);

  // Every bit pattern of the first four bytes as a single.
  if (size >= 4) {
    float raw;
    std::memcpy(&raw, data, 4);
    CheckNumberForms(raw);
    if (std::isfinite(raw)) {
      for (const char* p : kPatterns) (void)FormatPattern(raw, p);
    }
  }

  // Date and time texts.
  DateTimeParts parts;
  if (ParseDateTime(text, parts)) {
    if (parts.hasDate && (parts.month < 1 || parts.month > 12 || parts.day < 1 ||
                          parts.day > DaysInMonth(parts.year, parts.month))) {
      Fail("ParseDateTime accepted an impossible date", text);
    }
    if (parts.hasTime && (parts.hour < 0 || parts.hour > 23 || parts.minute < 0 ||
                          parts.minute > 59 || parts.second < 0 || parts.second > 59)) {
      Fail("ParseDateTime accepted an impossible time", text);
    }
  }
  std::string norm;
  if (NormaliseDateText(text, norm)) {
    std::string again;
    if (!NormaliseDateText(norm, again) || again != norm) Fail("date text not stable", norm);
    DateTimeParts p2;
    if (ParseDateTime(norm, p2) && p2.hasDate) {
      int y = p2.year, m = p2.month, dd = p2.day;
      NextDay(y, m, dd);
      PreviousDay(y, m, dd);
      if (y != p2.year || m != p2.month || dd != p2.day) Fail("NextDay/PreviousDay", norm);
    }
  }
  if (NormaliseTimeText(text, norm)) {
    std::string again;
    if (!NormaliseTimeText(norm, again) || again != norm) Fail("time text not stable", norm);
  }

  // Number lists, with and without the positive-only rule.
  {
    std::string t = text;
    int16_t count = 0;
    std::vector<float> v = ParseNumberList(t, count, true);
    if (count < 0 || count > 100 || v.size() != static_cast<size_t>(count) + 1) {
      Fail("ParseNumberList positive count", text);
    }
    for (size_t i = 1; i < v.size(); ++i) {
      if (!(v[i] > 0) || !std::isfinite(v[i])) Fail("ParseNumberList kept a bad value", text);
    }
    SortSingles(v, 0);
    for (size_t i = 1; i < v.size(); ++i) {
      if (v[i - 1] > v[i]) Fail("SortSingles not ascending", text);
    }
    SortSingles(v, 1);
    for (size_t i = 1; i < v.size(); ++i) {
      if (v[i - 1] < v[i]) Fail("SortSingles not descending", text);
    }
    std::string t2 = text;
    int16_t five = static_cast<int16_t>(size % 7);
    std::vector<float> w = ParseNumberList(t2, five, false);
    if (w.size() != static_cast<size_t>(five)) Fail("ParseNumberList size", text);
    std::string t3 = text;
    CollapseSpaces(t3);
    if (t3.find("  ") != std::string::npos) Fail("CollapseSpaces left a double blank", text);
  }

  // Receptor point list.
  {
    std::string t = text;
    std::vector<PointRow> points;
    const int16_t n = ParsePointList(t, points);
    if (n < 0 || (n > 0 && points.size() != static_cast<size_t>(n) + 1)) {
      Fail("ParsePointList count", text);
    }
    for (int i = 1; i <= n; ++i) {
      for (int c = 1; c <= 5; ++c) {
        if (!std::isfinite(points[i][c])) Fail("ParsePointList kept a non-finite value", text);
      }
    }
  }

  // Text helpers.
  {
    const size_t units = Utf16Length(text);
    const std::string left = Utf16Left(text, units / 2);
    if (Utf16Length(left) > units / 2) Fail("Utf16Left too long", text);
    if (text.compare(0, left.size(), left) != 0) Fail("Utf16Left is not a prefix", text);
    const std::string trimmed = TrimSpaces(text);
    if (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.back() == ' ')) {
      Fail("TrimSpaces left a blank", text);
    }
    if (ToUpperAscii(text).size() != text.size()) Fail("ToUpperAscii size", text);
  }

  // GBK both ways. Valid UTF-8 that GBK can hold comes back unchanged.
  {
    int substituted = 0;
    const std::string gbk = Utf8ToGbk(text, &substituted);
    if (substituted < 0) Fail("negative substitution count", text);
    int invalid = 0;
    const std::string back = GbkToUtf8(gbk, &invalid);
    if (ValidUtf8(text) && substituted == 0 && (invalid != 0 || back != text)) {
      Fail("UTF-8 -> GBK -> UTF-8 changed the text", text);
    }
    int bad = 0;
    const std::string utf8 = GbkToUtf8(text, &bad);
    if (!ValidUtf8(utf8)) Fail("GbkToUtf8 produced invalid UTF-8", text);
    if (bad < 0) Fail("negative invalid count", text);
  }
  return 0;
}
