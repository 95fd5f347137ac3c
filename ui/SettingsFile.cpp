#include "ui/SettingsFile.h"

#include <algorithm>

#include "chem/ParamBlocks.h"
#include "core/Files.h"
#include "core/Gbk.h"
#include "ui/ControlIds.h"
#include "ui/MainWindow.h"

namespace zelto {

namespace {

const char* const kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

void AppendTextRecord(std::string& out, const std::string& text) {
  out += QuoteSettingsText(text);
  out += kLineEnd;
}

void AppendIntegerRecord(std::string& out, long long value) {
  out += std::to_string(value);
  out += kLineEnd;
}

// The entries of the substance list before the library: the temporary and
// the defined substance.
constexpr long long kIndexedSubstances = 2;

}  // namespace

std::string SubstanceNotInLibraryNotice(const std::string& cas) {
  return "设置文件中选用的物质（CAS " + cas + "）不在物质库中，已改为临时物质。";
}

std::string QuoteSettingsText(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

void SettingsFieldReader::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

// One line end: CR LF, or a lone CR or LF from a file edited by hand.
void SettingsFieldReader::SkipLineEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

bool SettingsFieldReader::ReadField(std::string& value) {
  SkipBlanks();
  if (pos_ >= text_.size()) return false;
  value.clear();
  if (text_[pos_] == '"') {
    ++pos_;
    // Each pass consumes at least one character, so the loop ends at the end
    // of the text at the latest.
    while (true) {
      const size_t quote = text_.find('"', pos_);
      if (quote == std::string::npos) {
        pos_ = text_.size();
        return false;  // never closed: the file was cut off
      }
      value.append(text_, pos_, quote - pos_);
      if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
        value += '"';  // a doubled quote stands for one quote
        pos_ = quote + 2;
        continue;
      }
      pos_ = quote + 1;
      break;
    }
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') {
      ++pos_;
    } else {
      SkipLineEnd();
    }
    return true;
  }
  const size_t end = text_.find_first_of(",\r\n", pos_);
  const size_t stop = end == std::string::npos ? text_.size() : end;
  value = TrimBlanks(text_.substr(pos_, stop - pos_));
  pos_ = stop;
  if (pos_ < text_.size() && text_[pos_] == ',') {
    ++pos_;
  } else {
    SkipLineEnd();
  }
  return true;
}

bool SettingsFieldReader::ReadInteger(long long& value) {
  std::string field;
  if (!ReadField(field)) return false;
  field = TrimBlanks(field);
  size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  if (i == field.size()) return false;
  long long magnitude = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') return false;
    // Far beyond any list index or set number; refusing it keeps the sum exact.
    if (magnitude > 100000000LL) return false;
    magnitude = magnitude * 10 + (c - '0');
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

std::string FormatSettingsFile(const MainWindow& w) {
  std::string out;
  for (int i = 0; i < box::Count; ++i) AppendTextRecord(out, w.Text1[i].Text);
  AppendTextRecord(out, w.Combo1[combo::Roughness].Text);
  for (int k = combo::GroundType; k < combo::Count; ++k) {
    AppendIntegerRecord(out, w.Combo1[k].ListIndex);
  }
  AppendIntegerRecord(out, w.Check1.Value);
  AppendTextRecord(out, w.Text2.Text);
  AppendTextRecord(out, w.Text3.Text);
  AppendTextRecord(out, w.s.GeneralParamText);
  AppendTextRecord(out, w.s.VosslerParamText);
  // Entry 1 of the chemical list exists from start on; without it the file
  // holds what a fresh start would give.
  const bool hasEntry = w.s.Chemicals.size() > 1;
  out += QuoteSettingsText(hasEntry ? w.s.Chemicals[1].Name : std::string(kUndefinedSubstanceName));
  out += ',';
  AppendIntegerRecord(out, hasEntry ? w.s.Chemicals[1].VosslerIndex : 0);
  // Record 42, only while a library substance is chosen: its CAS number, so
  // that the choice survives a library that gained or reordered substances.
  // Readers of 41 records stop before it.
  const LibrarySubstance* chosen = w.ChosenLibrarySubstance();
  if (chosen != nullptr && !chosen->Cas.empty()) AppendTextRecord(out, chosen->Cas);
  return Utf8ToGbk(out);
}

bool ReadSettingsFile(MainWindow& w, const std::string& path) {
  if (!FileExists(path)) {
    w.FirstActivation = false;
    return false;
  }
  w.Busy = true;
  std::string bytes;
  bool cut = false;
  bool allRead = ReadFilePrefix(path, kSettingsMaxBytes, bytes, cut);
  // An unreadable file behaves like an empty one: every step fails and is
  // skipped. Of a file too large to be a settings file only the start is read.
  SettingsFieldReader reader(allRead ? GbkToUtf8(bytes) : std::string());
  allRead = allRead && !cut;

  std::string text;
  long long number = 0;
  auto step = [&allRead](bool ok) { allRead = allRead && ok; };

  // Records 1..26: the boxes; the molecular weight raises its change handler.
  for (int i = 0; i < box::Count; ++i) {
    const bool ok = reader.ReadField(text);
    if (ok) w.SetText1(i, text);
    step(ok);
  }
  // Record 27: the roughness list's text (typed or chosen).
  {
    const bool ok = reader.ReadField(text);
    if (ok) w.Combo1[combo::Roughness].Text = text;
    step(ok);
  }
  // Records 28..35: list indices; an index outside its list (-1 included,
  // since every list has a choice from start on) leaves the list as it is.
  // The substance list's index reaches only the temporary and the defined
  // substance: a library substance is chosen by its CAS number (record 42),
  // so a file without one reads as it did before the library existed.
  bool libraryIndex = false;
  for (int k = combo::GroundType; k < combo::Count; ++k) {
    bool ok = reader.ReadInteger(number);
    const long long items = static_cast<long long>(w.Combo1[k].Items.size());
    const long long reach = k == combo::Substance ? std::min(items, kIndexedSubstances) : items;
    // An index into the library is accounted for by record 42 below.
    libraryIndex = libraryIndex || (ok && k == combo::Substance && number >= reach && number < items);
    ok = ok && number >= 0 && number < reach;
    if (libraryIndex && k == combo::Substance) continue;
    if (ok) ok = w.SetListIndex(k, static_cast<int>(number));
    step(ok);
  }
  // Record 36: the point-series check box.
  {
    bool ok = reader.ReadInteger(number);
    ok = ok && (number == 0 || number == 1);
    if (ok) w.SetCheck(static_cast<int>(number));
    step(ok);
  }
  // Records 37 and 38: receptor points and results.
  {
    const bool ok = reader.ReadField(text);
    if (ok) w.Text2.Text = text;
    step(ok);
  }
  {
    const bool ok = reader.ReadField(text);
    if (ok) w.Text3.Text = text;
    step(ok);
  }
  // Records 39 and 40: the parameter blocks of the defined substance.
  {
    const bool ok = reader.ReadField(text);
    if (ok) w.s.GeneralParamText = text;
    step(ok);
  }
  {
    const bool ok = reader.ReadField(text);
    if (ok) w.s.VosslerParamText = text;
    step(ok);
  }
  // Record 41: name and VosslerIndex of entry 1.
  const bool hasEntry = w.s.Chemicals.size() > 1;
  {
    bool ok = reader.ReadField(text);
    ok = ok && hasEntry;
    if (ok) {
      w.s.Chemicals[1].Name = text;
      ComboBox& substances = w.Combo1[combo::Substance];
      if (substances.Items.size() > 1) {
        substances.Items[1] = text;
        if (substances.ListIndex == 1) substances.Text = text;
      }
    }
    step(ok);
  }
  {
    bool ok = reader.ReadInteger(number);
    ok = ok && hasEntry;
    if (ok) {
      // Only the defined substance's own set (slot 1) may be named: the
      // slots after it belong to the substance library. Anything else means
      // no set.
      const bool names_set = number == 1 && number <= w.s.VosslerSetCount &&
                             number < static_cast<long long>(w.s.VosslerSets.size());
      w.s.Chemicals[1].VosslerIndex = names_set ? static_cast<int16_t>(number) : int16_t{0};
    }
    step(ok);
  }

  // Record 42 (optional): the CAS number of the chosen library substance,
  // which decides over the list index of record 34. A number the library
  // does not hold falls back to the temporary substance with a notice.
  if (reader.ReadField(text) && !TrimBlanks(text).empty()) {
    if (!w.ChooseSubstanceByCas(text)) {
      w.SetListIndex(combo::Substance, 0);
      w.sink.ShowMessage(SubstanceNotInLibraryNotice(TrimBlanks(text)));
    }
  } else {
    step(!libraryIndex);  // a library index without its CAS number
  }

  // The blocks were accepted by the editor when they were saved; they are
  // taken as they stand.
  std::string message;
  if (hasEntry) {
    ParseParamBlock(w.s, w.s.GeneralParamText, 1, block::General, message, true, false, nullptr);
  }
  if (w.s.VosslerSets.size() > 1) {
    ParseParamBlock(w.s, w.s.VosslerParamText, 1, block::Vossler, message, true, false, nullptr);
  }
  w.Busy = false;
  w.FirstActivation = false;
  return allRead;
}

bool WriteSettingsFile(const MainWindow& w, const std::string& path, std::string& message) {
  message.clear();
  std::string error;
  if (!WriteFileAtomic(path, FormatSettingsFile(w), error)) {
    message = "无法写入设置文件 " + path + "，请检查该目录是否可写、磁盘是否已满。";
    return false;
  }
  return true;
}

}  // namespace zelto
