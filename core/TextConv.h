// Number and text conventions shared by every box, list item, message, report
// line and file of the program. All functions are locale-independent.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelto {

// ---- Leading-number rule ----
// Blanks, tabs and line feeds are skipped wherever they occur; the longest
// prefix forming a number (optional sign, ASCII digits, one ".", optional
// exponent introduced by "E"/"e" or "D"/"d" with optional sign and digits)
// gives the value; anything after it is ignored; no such prefix gives 0.
// The value is returned in double precision; it may lie outside the 32-bit
// range (or be infinite when it overflows a double).
double LeadingNumber(std::string_view text);

// True when v rounds to a finite 32-bit float. The one test used wherever a
// value computed in double precision is stored into a 32-bit field.
bool FitsSingle(double v);

// Rounds v to a 32-bit float into field when it fits; returns false, leaving
// field unchanged, when it does not.
bool StoreSingle(float& field, double v);

// The leading number rounded to a 32-bit float; a value that does not fit a
// float counts as not a number and gives 0 (the rule for list items).
float LeadingSingle(std::string_view text);

// ---- Number to text ----
// General form of a 32-bit value: shortest text with at most 7 significant
// digits; exponent form ("1E+07", "1.2345E-05") exactly when the decimal
// exponent of the value rounded to 7 significant digits is below -4 or 7 and
// above. "3", "120.1", "0.25", "-0.5", "0".
std::string FormatGeneral(float v);

// Double-precision variant (up to 15 significant digits, same exponent rule);
// used only for the longitude and latitude texts written back into their boxes.
std::string FormatGeneralDouble(double v);

// Format patterns "0", "#0.0", "#0.00", "0.00E+00", "0.0000E+00" and patterns
// with literal blanks ("   0", "0       ", "0.00     ", "0.00E+00  ", "0     ");
// rounding to nearest with halves away from zero.
std::string FormatPattern(double v, std::string_view pattern);

// Shortest decimal text that reads back (by the leading-number rule) as the
// same 32-bit value.
std::string FormatRoundTrip(float v);

// Explicit rounding to n decimals (n >= 0) with halves to even, as used for
// pool area, time difference, wind direction, cloud cover, hazard distance.
double RoundHalfEven(double v, int decimals = 0);

// ---- Text helpers (UTF-8) ----
// Removes leading and trailing blanks (U+0020 only).
std::string TrimSpaces(std::string_view text);
// Upper-cases ASCII letters only.
std::string ToUpperAscii(std::string_view text);
// Length in UTF-16 code units (the unit the window's text boxes count in).
size_t Utf16Length(std::string_view text);
// The first n UTF-16 code units of text (never splits a character).
std::string Utf16Left(std::string_view text, size_t n);

// ---- Date and time texts ----
struct DateTimeParts {
  bool hasDate = false;
  int year = 0, month = 0, day = 0;
  bool hasTime = false;
  int hour = 0, minute = 0, second = 0;
};

// One parser for both boxes: a date (year, month, day separated by "/", "-"
// or ".") optionally followed by a time, or a time (hour:minute[:second])
// alone. Impossible dates and times are refused (returns false).
bool ParseDateTime(std::string_view text, DateTimeParts& out);

// "YYYY/MM/DD" and "HH:MM:SS", zero-padded.
std::string FormatDateText(int year, int month, int day);
std::string FormatTimeText(int hour, int minute, int second);

// Date box: needs a date part, drops any time. Returns false when refused.
bool NormaliseDateText(std::string_view text, std::string& normalised);
// Time box: needs a time part, drops any date. Returns false when refused.
bool NormaliseTimeText(std::string_view text, std::string& normalised);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Previous and next calendar day across month and year ends.
void PreviousDay(int& year, int& month, int& day);
void NextDay(int& year, int& month, int& day);

}  // namespace zelto
