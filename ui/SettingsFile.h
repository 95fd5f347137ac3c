// The settings file "ZELTO.ini": everything the operator entered in the main
// window, the last results text and the defined substance's parameter blocks,
// kept from one run to the next.
//
// The file is a fixed sequence of 41 records (no sections, no keys), GBK
// encoded, each record ended by CR LF, its fields separated by commas:
//   1..26   text of box Text1(0..25)
//   27      text of the roughness list Combo1(0)
//   28..35  list index of Combo1(1..8)
//   36      Check1: 0 not ticked, 1 ticked
//   37, 38  texts of Text2 (receptor points) and Text3 (results)
//   39, 40  GeneralParamText, VosslerParamText
//   41      name and VosslerIndex of entry 1 of the chemical list
//   42      only while a library substance is chosen: its CAS number (text);
//           on reading it chooses that substance whatever record 34 says;
//           without it, record 34 reaches only entries 0 and 1
// A text is written between double quotes with every quote inside it doubled;
// an integer as its decimal digits with a leading "-" when negative.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace zelto {

class MainWindow;

// Number of records of the file.
inline constexpr int kSettingsRecordCount = 41;

// Most bytes read from a settings file (a real one is about 2 KB): whatever
// lies beyond is left unread, and the steps that would need it fail.
inline constexpr size_t kSettingsMaxBytes = 16 * 1024 * 1024;

// The notice when record 42 names a CAS number the library does not hold.
std::string SubstanceNotInLibraryNotice(const std::string& cas);

// A text field: enclosed in double quotes, inner quotes doubled.
std::string QuoteSettingsText(const std::string& text);

// Reads the fields of a settings file one after the other.
//
// Blanks (spaces, tabs) before a field are skipped. A field that begins with a
// double quote ends at the next single double quote; a doubled quote inside it
// stands for one quote; everything else in between, line breaks included, is
// its value. After the closing quote, blanks and one separator (a comma or the
// line end) are skipped. Any other field runs up to the next comma or line end,
// which is skipped, and is trimmed of blanks.
class SettingsFieldReader {
 public:
  explicit SettingsFieldReader(std::string text) : text_(std::move(text)) {}

  // False at the end of the file, or for a quoted field that is never closed
  // (the rest of the file is then consumed).
  bool ReadField(std::string& value);
  // A field holding a whole decimal number (optional sign, digits, nothing
  // else); false when the field is missing or holds anything else.
  bool ReadInteger(long long& value);

 private:
  void SkipBlanks();
  void SkipLineEnd();

  std::string text_;
  size_t pos_ = 0;
};

// The bytes of the settings file for the window as it stands (GBK, CR LF).
std::string FormatSettingsFile(const MainWindow& w);

// Restores the window from the settings file at path (first activation).
// A missing file leaves everything as it is. Otherwise Busy is set while the
// controls are filled; every record is its own step, and a step that fails
// (missing or unreadable field, a list index outside its list, a check state
// other than 0 or 1) is skipped while the others still run. A VosslerIndex
// other than 1 (the defined substance's own set) reads as 0. Afterwards both parameter texts are parsed
// into entry 1 without checks and Busy is cleared. FirstActivation is cleared
// in every case.
// At most kSettingsMaxBytes are read.
// Returns true when the file was found and every step succeeded.
bool ReadSettingsFile(MainWindow& w, const std::string& path);

// Writes the settings file for the window as it stands. The file is replaced
// only when it has been written completely, so a failure leaves the previous
// file intact. On failure returns false with a short message naming the file;
// the caller shows it and keeps the window open.
bool WriteSettingsFile(const MainWindow& w, const std::string& path, std::string& message);

}  // namespace zelto
