// Number and text conventions: reading numbers from operator text, writing
// numbers in the general form and with format patterns, exact decimal
// rounding, UTF-8/UTF-16 lengths, and the date and time texts.
#include "core/TextConv.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace zelto {

namespace {

// ---------------------------------------------------------------------------
// Exact decimal rounding
//
// A finite double has a finite decimal expansion (at most 767 significant
// digits). Rounding decisions are taken on that exact expansion, so a tie is
// a tie only when the binary value really lies half-way (0.5, 2.5, 0.125...);
// 2.675 stored as 2.67499999999999982... is not a tie and rounds down.
// ---------------------------------------------------------------------------

enum class Ties { AwayFromZero, ToEven };

// Value m x 10^unit, m a string of decimal digits ("" or "0" means zero).
struct ScaledDigits {
  std::string m;
  int unit = 0;
};

// Exact-enough scientific digits of x > 0: digits d1 d2 ... and exponent e so
// that x = d1.d2d3... x 10^e. `precision` is the number of digits after the
// point requested from the converter.
void ScientificDigits(double x, int precision, std::string& digits, int& exponent) {
  std::array<char, 900> buf;
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                           std::chars_format::scientific, precision);
  std::string_view text(buf.data(), static_cast<size_t>(res.ptr - buf.data()));
  size_t epos = text.find('e');
  digits.clear();
  for (size_t i = 0; i < epos; ++i) {
    if (text[i] != '.') digits.push_back(text[i]);
  }
  exponent = 0;
  std::from_chars(text.data() + epos + 1 + (text[epos + 1] == '+' ? 1 : 0),
                  text.data() + text.size(), exponent);
}

// Largest precision ever needed: every double's exact expansion fits.
constexpr int kExactPrecision = 780;

// Rounds x >= 0 (finite) so that the result is an integer multiple of
// 10^unit, where unit is chosen by `unitFor(exponent)` from the decimal
// exponent of x. Returns the multiple as digits.
template <typename UnitFor>
ScaledDigits RoundExact(double x, UnitFor unitFor, Ties ties) {
  ScaledDigits out;
  if (!(x > 0)) {
    out.m = "0";
    out.unit = unitFor(0);
    return out;
  }
  std::string digits;
  int e = 0;
  // First try with 25 guard digits; fall back to the exact expansion when
  // the printed tail looks like an exact half (it might be a rounded one).
  int firstUnit = unitFor(static_cast<int>(std::floor(std::log10(x))));
  int keepGuess = static_cast<int>(std::floor(std::log10(x))) + 1 - firstUnit;
  int precision = std::max(keepGuess, 1) + 25;
  if (precision > kExactPrecision) precision = kExactPrecision;
  for (int pass = 0; pass < 2; ++pass) {
    ScientificDigits(x, precision, digits, e);
    int unit = unitFor(e);
    long keep = static_cast<long>(e) + 1 - unit;  // digits kept before the cut
    // Tail classification: compare digits[keep..] with "5000...".
    int tailCmp = 0;  // -1 below half, 0 exactly half, +1 above half
    bool ambiguous = false;
    if (keep < 0) {
      tailCmp = -1;  // below 0.1 of the rounding unit
    } else if (keep >= static_cast<long>(digits.size())) {
      tailCmp = -2;  // nothing cut
    } else {
      char first = digits[static_cast<size_t>(keep)];
      bool restZero = true;
      for (size_t i = static_cast<size_t>(keep) + 1; i < digits.size(); ++i) {
        if (digits[i] != '0') { restZero = false; break; }
      }
      if (first > '5') tailCmp = 1;
      else if (first < '5') tailCmp = (first == '0' && restZero) ? -2 : -1;
      else tailCmp = restZero ? 0 : 1;
      ambiguous = (tailCmp == 0) && precision < kExactPrecision;
    }
    if (ambiguous && pass == 0) {
      precision = kExactPrecision;
      continue;
    }
    std::string m = keep > 0 ? digits.substr(0, static_cast<size_t>(std::min<long>(keep, static_cast<long>(digits.size())))) : std::string();
    while (static_cast<long>(m.size()) < keep) m.push_back('0');
    bool lastOdd = !m.empty() && ((m.back() - '0') % 2 == 1);
    bool up = tailCmp == 1 || (tailCmp == 0 && (ties == Ties::AwayFromZero || lastOdd));
    if (up) {
      int i = static_cast<int>(m.size()) - 1;
      while (i >= 0 && m[static_cast<size_t>(i)] == '9') {
        m[static_cast<size_t>(i)] = '0';
        --i;
      }
      if (i >= 0) m[static_cast<size_t>(i)]++;
      else m.insert(m.begin(), '1');
    }
    if (m.empty()) m = "0";
    out.m = m;
    out.unit = unit;
    return out;
  }
  out.m = "0";
  out.unit = 0;
  return out;
}

// Rounds to n significant digits. Result m has n digits (or is "0"), except
// that a carry may give n+1 digits ending in 0; that case is normalised.
ScaledDigits RoundSignificant(double x, int n, Ties ties) {
  ScaledDigits r = RoundExact(x, [n](int e) { return e + 1 - n; }, ties);
  if (static_cast<int>(r.m.size()) > n) {
    r.m.pop_back();
    r.unit += 1;
  }
  return r;
}

ScaledDigits RoundDecimals(double x, int decimals, Ties ties) {
  return RoundExact(x, [decimals](int) { return -decimals; }, ties);
}

std::string StripLeadingZeros(std::string m) {
  size_t i = 0;
  while (i + 1 < m.size() && m[i] == '0') ++i;
  return m.substr(i);
}

// Exponent part "E+07", "E-05", "E+123".
std::string ExponentText(int x, bool alwaysSign, int minDigits) {
  std::string s = "E";
  if (x < 0) s.push_back('-');
  else if (alwaysSign) s.push_back('+');
  std::string d = std::to_string(x < 0 ? -static_cast<long>(x) : static_cast<long>(x));
  while (static_cast<int>(d.size()) < minDigits) d.insert(d.begin(), '0');
  return s + d;
}

// General form with at most `sig` significant digits, trailing zeros removed;
// exponent form when the decimal exponent of the rounded value is below -4 or
// at least `upperExp`. Exact ties round away from zero.
std::string GeneralForm(double v, int sig, int upperExp) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
  if (v == 0) return "0";  // also negative zero
  std::string sign = v < 0 ? "-" : "";
  ScaledDigits r = RoundSignificant(std::fabs(v), sig, Ties::AwayFromZero);
  std::string m = StripLeadingZeros(r.m);
  int unit = r.unit;
  while (m.size() > 1 && m.back() == '0') {
    m.pop_back();
    ++unit;
  }
  if (m == "0") return "0";
  int x = unit + static_cast<int>(m.size()) - 1;  // decimal exponent
  if (x < -4 || x >= upperExp) {
    std::string s = sign + m.substr(0, 1);
    if (m.size() > 1) s += "." + m.substr(1);
    return s + ExponentText(x, true, 2);
  }
  if (unit >= 0) return sign + m + std::string(static_cast<size_t>(unit), '0');
  int frac = -unit;
  if (static_cast<int>(m.size()) > frac) {
    return sign + m.substr(0, m.size() - static_cast<size_t>(frac)) + "." +
           m.substr(m.size() - static_cast<size_t>(frac));
  }
  return sign + "0." + std::string(static_cast<size_t>(frac) - m.size(), '0') + m;
}

// Parses a clean ASCII number text ("-12.5e3", "5.", ".5") without locale
// influence; overflow gives +-infinity, underflow 0 or a subnormal. from_chars
// rounds correctly (to nearest, ties to even) like the C library's strtod,
// and it is the same code on every system, so both builds read every number
// to the same double.
double ParseCleanNumber(std::string_view clean) {
  double v = 0;
  const char* b = clean.data();
  const char* e = b + clean.size();
  const bool negative = !clean.empty() && clean[0] == '-';
  if (!clean.empty() && (clean[0] == '+' || clean[0] == '-')) ++b;
  auto res = std::from_chars(b, e, v);
  // Out of range leaves v alone: the exponent's sign tells which side.
  if (res.ec == std::errc::result_out_of_range) {
    size_t ep = clean.find_first_of("eE");
    bool tiny = ep != std::string_view::npos && ep + 1 < clean.size() && clean[ep + 1] == '-';
    v = tiny ? 0.0 : HUGE_VAL;
  }
  return negative ? -v : v;
}

// The value digits x 10^exponent10 when one multiplication or division
// gives it exactly as from_chars would: an integer of at most 15 digits and the
// powers of ten up to 10^22 are exact in a double, so the one operation
// rounds the exact decimal value once, to nearest (Clinger's fast path).
// False outside that range.
bool SmallDecimalValue(uint64_t digits, int digitCount, int exponent10, double& v) {
  static constexpr double kExactPowersOfTen[] = {
      1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
  };
  if (digitCount > 15 || exponent10 < -22 || exponent10 > 22) return false;
  const double mantissa = static_cast<double>(digits);
  v = exponent10 < 0 ? mantissa / kExactPowersOfTen[-exponent10]
                     : mantissa * kExactPowersOfTen[exponent10];
  return true;
}

bool IsNumberBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string WithoutNumberBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!IsNumberBlank(c)) out.push_back(c);
  }
  return out;
}

}  // namespace

// ---- Leading-number rule ----

double LeadingNumber(std::string_view text) {
  // Blanks, tabs and line feeds vanish wherever they are, so " 1 0 . 5"
  // reads as 10.5. The text is read where it lies; only when a blank stops
  // the reading, where the number might go on after it, is it read again
  // without its blanks.
  std::string_view s = text;
  while (!s.empty() && IsNumberBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsNumberBlank(s.back())) s.remove_suffix(1);
  bool metBlank = false;
  const auto noteStop = [&](size_t k) {
    if (k < s.size() && IsNumberBlank(s[k])) metBlank = true;
  };
  // The digits of the mantissa are gathered as an integer (the first 19
  // of them, which cannot overflow) for the fast path below.
  uint64_t digits = 0;
  int digitCount = 0;
  int fractionDigits = 0;
  const auto takeDigit = [&](char c) {
    if (digitCount < 19) digits = digits * 10 + static_cast<uint64_t>(c - '0');
    ++digitCount;
  };
  size_t i = 0;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && IsAsciiDigit(s[i])) takeDigit(s[i++]);
  noteStop(i);
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsAsciiDigit(s[i])) {
      takeDigit(s[i++]);
      ++fractionDigits;
    }
    noteStop(i);
  }
  if (metBlank) return LeadingNumber(WithoutNumberBlanks(s));  // has none: read once more only
  if (digitCount == 0) return 0.0;
  const size_t mantissaEnd = i;
  size_t end = mantissaEnd;
  int exponent = 0;  // capped far beyond any double's range
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    size_t j = i + 1;
    noteStop(j);
    const bool negativeExponent = j < s.size() && s[j] == '-';
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const size_t digitsStart = j;
    int magnitude = 0;
    for (; j < s.size() && IsAsciiDigit(s[j]); ++j) {
      if (magnitude < 100000) magnitude = magnitude * 10 + (s[j] - '0');
    }
    noteStop(j);
    if (metBlank) return LeadingNumber(WithoutNumberBlanks(s));
    // An exponent marker without digits is not part of the number.
    if (j > digitsStart) {
      end = j;
      exponent = negativeExponent ? -magnitude : magnitude;
    }
  }
  double v = 0;
  if (SmallDecimalValue(digits, digitCount, exponent - fractionDigits, v)) {
    return negative ? -v : v;
  }
  const std::string_view number = s.substr(0, end);
  if (end == mantissaEnd || s[mantissaEnd] == 'e' || s[mantissaEnd] == 'E') {
    return ParseCleanNumber(number);
  }
  // The Fortran exponent marker "D" reads as "e".
  std::string clean(number);
  clean[mantissaEnd] = 'e';
  return ParseCleanNumber(clean);
}

bool FitsSingle(double v) {
  // Doubles below 2^128 - 2^103 (half an ulp above the largest float) round
  // to a finite float; that limit itself rounds to infinity (ties to even).
  const double limit = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  return std::fabs(v) < limit;  // false for NaN as well
}

bool StoreSingle(float& field, double v) {
  if (!FitsSingle(v)) return false;
  field = static_cast<float>(v);
  return true;
}

float LeadingSingle(std::string_view text) {
  double v = LeadingNumber(text);
  if (!FitsSingle(v)) return 0.0f;
  return static_cast<float>(v);
}

// ---- Number to text ----

std::string FormatGeneral(float v) { return GeneralForm(static_cast<double>(v), 7, 7); }

std::string FormatGeneralDouble(double v) { return GeneralForm(v, 15, 7); }

std::string FormatPattern(double v, std::string_view pattern) {
  // Split the pattern into literal prefix, numeric part and literal suffix.
  auto isCore = [](char c) { return c == '0' || c == '#' || c == '.'; };
  size_t start = 0;
  while (start < pattern.size() && !isCore(pattern[start])) ++start;
  std::string_view prefix = pattern.substr(0, start);
  size_t pos = start;
  int intZeros = 0, decimals = 0;
  bool hasPoint = false;
  while (pos < pattern.size() && (pattern[pos] == '0' || pattern[pos] == '#')) {
    if (pattern[pos] == '0') ++intZeros;
    ++pos;
  }
  if (pos < pattern.size() && pattern[pos] == '.') {
    hasPoint = true;
    ++pos;
    while (pos < pattern.size() && (pattern[pos] == '0' || pattern[pos] == '#')) {
      ++decimals;
      ++pos;
    }
  }
  bool scientific = false, expAlwaysSign = false;
  int expDigits = 0;
  if (pos + 1 < pattern.size() && (pattern[pos] == 'E' || pattern[pos] == 'e') &&
      (pattern[pos + 1] == '+' || pattern[pos + 1] == '-')) {
    size_t q = pos + 2;
    int zeros = 0;
    while (q < pattern.size() && (pattern[q] == '0' || pattern[q] == '#')) {
      ++zeros;
      ++q;
    }
    if (zeros > 0) {
      scientific = true;
      expAlwaysSign = pattern[pos + 1] == '+';
      expDigits = zeros;
      pos = q;
    }
  }
  std::string_view suffix = pattern.substr(pos);

  if (!std::isfinite(v)) {
    return std::string(prefix) + (std::isnan(v) ? "NaN" : (v < 0 ? "-Inf" : "Inf")) +
           std::string(suffix);
  }
  // A negative value keeps its sign even when it rounds to zero.
  std::string sign = v < 0 ? "-" : "";
  double a = std::fabs(v);
  std::string body;
  if (scientific) {
    // Mantissa with one integer digit and `decimals` decimals.
    int sig = 1 + decimals;
    int x = 0;
    std::string m;
    if (a == 0) {
      m = std::string(static_cast<size_t>(sig), '0');
    } else {
      ScaledDigits r = RoundSignificant(a, sig, Ties::AwayFromZero);
      m = r.m;
      x = r.unit + sig - 1;
    }
    body = m.substr(0, 1);
    if (hasPoint && decimals > 0) body += "." + m.substr(1);
    else if (hasPoint) body += ".";
    body += ExponentText(x, expAlwaysSign, expDigits);
  } else {
    ScaledDigits r = RoundDecimals(a, decimals, Ties::AwayFromZero);
    std::string m = StripLeadingZeros(r.m);
    if (m == "0") m.clear();
    // m holds the value times 10^decimals; pad so that at least `intZeros`
    // integer digits and all decimals are present.
    size_t need = static_cast<size_t>(decimals + intZeros);
    if (m.size() < need) m.insert(0, need - m.size(), '0');
    size_t intLen = m.size() - static_cast<size_t>(decimals);
    body = m.substr(0, intLen);
    if (hasPoint) body += "." + m.substr(intLen);
  }
  return sign + std::string(prefix) + body + std::string(suffix);
}

std::string FormatRoundTrip(float v) {
  if (!std::isfinite(v)) return GeneralForm(static_cast<double>(v), 9, 7);
  if (v == 0) return "0";
  for (int sig = 1; sig <= 9; ++sig) {
    std::string text = GeneralForm(static_cast<double>(v), sig, 7);
    if (LeadingSingle(text) == v) return text;
  }
  return GeneralForm(static_cast<double>(v), 9, 7);
}

double RoundHalfEven(double v, int decimals) {
  if (!std::isfinite(v) || v == 0) return v;
  if (decimals > 400) return v;
  ScaledDigits r = RoundDecimals(std::fabs(v), decimals, Ties::ToEven);
  std::string text = (v < 0 ? "-" : "") + StripLeadingZeros(r.m) + "e" + std::to_string(r.unit);
  return ParseCleanNumber(text);
}

// ---- Text helpers ----

std::string TrimSpaces(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string ToUpperAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

namespace {
// Length in bytes of the UTF-8 sequence starting at text[i] (1 for a stray
// byte) and its UTF-16 length.
void Utf8Step(std::string_view text, size_t i, size_t& bytes, size_t& units) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  size_t len = 1;
  if (c >= 0xF0 && c <= 0xF4) len = 4;
  else if (c >= 0xE0) len = (c <= 0xEF) ? 3 : 1;
  else if (c >= 0xC2) len = 2;
  if (len > 1) {
    if (i + len > text.size()) len = 1;
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        len = 1;
        break;
      }
    }
  }
  bytes = len;
  units = len == 4 ? 2 : 1;
}
}  // namespace

size_t Utf16Length(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size();) {
    size_t bytes = 1, units = 1;
    Utf8Step(text, i, bytes, units);
    i += bytes;
    n += units;
  }
  return n;
}

std::string Utf16Left(std::string_view text, size_t n) {
  size_t used = 0, i = 0;
  while (i < text.size()) {
    size_t bytes = 1, units = 1;
    Utf8Step(text, i, bytes, units);
    if (used + units > n) break;
    used += units;
    i += bytes;
  }
  return std::string(text.substr(0, i));
}

// ---- Date and time texts ----

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return days[month];
}

void PreviousDay(int& year, int& month, int& day) {
  if (day > 1) {
    --day;
    return;
  }
  if (month > 1) {
    --month;
  } else {
    month = 12;
    --year;
  }
  day = DaysInMonth(year, month);
}

void NextDay(int& year, int& month, int& day) {
  if (day < DaysInMonth(year, month)) {
    ++day;
    return;
  }
  day = 1;
  if (month < 12) {
    ++month;
  } else {
    month = 1;
    ++year;
  }
}

namespace {

struct DateScanner {
  std::string_view t;
  size_t i = 0;
  void SkipBlanks() {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  }
  // Reads 1..maxDigits ASCII digits.
  bool Number(int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < t.size() && IsAsciiDigit(t[i])) {
      if (digits == maxDigits) return false;
      value = value * 10 + (t[i] - '0');
      ++digits;
      ++i;
    }
    return digits > 0;
  }
  bool At(char c) const { return i < t.size() && t[i] == c; }
  bool AtEnd() const { return i >= t.size(); }
};

bool ScanTime(DateScanner& sc, DateTimeParts& out) {
  int h = 0, m = 0, s = 0, d = 0;
  if (!sc.Number(2, h, d)) return false;
  sc.SkipBlanks();
  if (!sc.At(':')) return false;
  ++sc.i;
  sc.SkipBlanks();
  if (!sc.Number(2, m, d)) return false;
  sc.SkipBlanks();
  if (sc.At(':')) {
    ++sc.i;
    sc.SkipBlanks();
    if (!sc.Number(2, s, d)) return false;
    sc.SkipBlanks();
  }
  if (h > 23 || m > 59 || s > 59) return false;
  out.hasTime = true;
  out.hour = h;
  out.minute = m;
  out.second = s;
  return true;
}

}  // namespace

bool ParseDateTime(std::string_view text, DateTimeParts& out) {
  DateTimeParts parts;
  DateScanner sc{text};
  sc.SkipBlanks();
  if (sc.AtEnd()) return false;
  // Look ahead: a first number followed by ':' starts a time alone.
  size_t save = sc.i;
  int first = 0, firstDigits = 0;
  if (!sc.Number(9, first, firstDigits)) return false;
  sc.SkipBlanks();
  if (sc.At(':')) {
    sc.i = save;
    if (!ScanTime(sc, parts)) return false;
    if (!sc.AtEnd()) return false;
    out = parts;
    return true;
  }
  // Date: year, month and day with one separator kind.
  if (firstDigits < 3 || firstDigits > 4 || first < 100 || first > 9999) return false;
  if (!(sc.At('/') || sc.At('-') || sc.At('.'))) return false;
  char sep = text[sc.i];
  ++sc.i;
  sc.SkipBlanks();
  int month = 0, day = 0, d = 0;
  if (!sc.Number(2, month, d)) return false;
  sc.SkipBlanks();
  if (!sc.At(sep)) return false;
  ++sc.i;
  sc.SkipBlanks();
  if (!sc.Number(2, day, d)) return false;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(first, month)) return false;
  parts.hasDate = true;
  parts.year = first;
  parts.month = month;
  parts.day = day;
  size_t beforeBlanks = sc.i;
  sc.SkipBlanks();
  if (!sc.AtEnd()) {
    // A time must be separated from the date by at least one blank.
    if (sc.i == beforeBlanks) return false;
    if (!ScanTime(sc, parts)) return false;
    if (!sc.AtEnd()) return false;
  }
  out = parts;
  return true;
}

std::string FormatDateText(int year, int month, int day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", year, month, day);
  return buf;
}

std::string FormatTimeText(int hour, int minute, int second) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hour, minute, second);
  return buf;
}

bool NormaliseDateText(std::string_view text, std::string& normalised) {
  DateTimeParts p;
  if (!ParseDateTime(text, p) || !p.hasDate) return false;
  normalised = FormatDateText(p.year, p.month, p.day);
  return true;
}

bool NormaliseTimeText(std::string_view text, std::string& normalised) {
  DateTimeParts p;
  if (!ParseDateTime(text, p) || !p.hasTime) return false;
  normalised = FormatTimeText(p.hour, p.minute, p.second);
  return true;
}

}  // namespace zelto
