#include "chem/SubstanceLibrary.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "chem/ParamBlocks.h"
#include "chem/ParamSlots.h"
#include "core/Files.h"
#include "core/Gbk.h"
#include "core/TextConv.h"

namespace zelto {

namespace {

// One substance as read from the file, before its blocks are parsed.
struct RawSubstance {
  int firstLine = 0;  // line number of "[SUBSTANCE]"
  LibrarySubstance header;
  std::vector<std::string_view> general;  // views into the library text
  std::vector<std::string_view> vossler;
  bool hasVossler = false;
  std::string fault;  // set when the substance is malformed
};

enum class Section : uint8_t { Outside, Header, General, Vossler };

std::string JoinCrLf(const std::vector<std::string_view>& lines) {
  if (lines.empty()) return std::string();
  // Lines that follow one another in the text with CR LF between them are
  // that stretch of the text, copied at once.
  bool adjacent = true;
  for (size_t i = 0; i + 1 < lines.size() && adjacent; ++i) {
    const char* end = lines[i].data() + lines[i].size();
    adjacent = lines[i + 1].data() == end + 2 && end[0] == '\r' && end[1] == '\n';
  }
  if (adjacent) return std::string(lines.front().data(), lines.back().data() + lines.back().size());
  size_t size = 0;
  for (std::string_view line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.append("\r\n", 2);
    text.append(lines[i]);
  }
  return text;
}

// line without its leading and trailing blanks (U+0020), as TrimSpaces.
std::string_view TrimmedView(std::string_view line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t') out += c;
  }
  return out;
}

// "p1,p2,p3,unit" with 0 < p1 <= p2 <= p3 is not required here (the data
// tests check the order); three positive numbers and a known unit are.
bool ReadPac(std::string_view value, LibrarySubstance& h) {
  h.HasPac = false;
  if (TrimmedView(value).empty()) return true;  // none published
  std::vector<std::string_view> items;
  items.reserve(8);
  size_t start = 0;
  for (int guard = 0; guard < 8; ++guard) {
    const size_t comma = value.find(',', start);
    items.push_back(TrimmedView(value.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (items.size() != 4) return false;
  if (items[3] != "ppm" && items[3] != "mg/m3") return false;
  for (int i = 0; i < 3; ++i) {
    const double v = LeadingNumber(items[static_cast<size_t>(i)]);
    if (!(v > 0) || !FitsSingle(v)) return false;
    h.Pac[i] = static_cast<float>(v);
  }
  h.PacUnit = items[3];
  h.HasPac = true;
  return true;
}

void ReadHeaderLine(std::string_view line, RawSubstance& raw) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    raw.fault = "标题行缺少“=”";
    return;
  }
  const std::string_view key = TrimmedView(line.substr(0, eq));
  const std::string_view value = TrimmedView(line.substr(eq + 1));
  LibrarySubstance& h = raw.header;
  if (key == "NameEn") {
    h.NameEn = value;
  } else if (key == "NameZh") {
    h.NameZh = value;
  } else if (key == "CAS") {
    h.Cas = WithoutBlanks(value);
  } else if (key == "UN") {
    h.Un = WithoutBlanks(value);
  } else if (key == "Formula") {
    h.Formula = value;
  } else if (key == "PAC") {
    if (!ReadPac(value, h)) raw.fault = "PAC值无法读取";
  } else if (key == "Source") {
    h.Source = value;
  }
  // Keys added by later versions of the file are passed over.
}

// Parses the blocks of one substance into new slots; on refusal the lists
// are left as they were and the reason is returned.
bool AddSubstance(ModelState& s, RawSubstance& raw, SubstanceLibrary& lib, std::string& reason) {
  if (!raw.fault.empty()) {
    reason = raw.fault;
    return false;
  }
  if (raw.header.NameEn.empty()) {
    reason = "缺少英文名";
    return false;
  }
  // Fewer lines are refused by the block checks themselves; more cannot be
  // a block of this file.
  if (raw.general.size() > 13 || raw.vossler.size() > 14) {
    reason = "参数块的行数多于13行(一般参数)或14行(Vossler参数)";
    return false;
  }
  const size_t chemSlot = static_cast<size_t>(s.ChemicalCount) + 1;
  const size_t setSlot = static_cast<size_t>(s.VosslerSetCount) + 1;
  if (s.Chemicals.size() != chemSlot || s.VosslerSets.size() != setSlot) {
    reason = "物质列表已损坏";
    return false;
  }
  s.Chemicals.emplace_back();
  s.ChemicalCount = static_cast<int16_t>(chemSlot);
  std::string message;
  const bool generalOk = ParseParamBlock(s, JoinCrLf(raw.general), static_cast<int16_t>(chemSlot),
                                         block::General, message, false, raw.hasVossler, nullptr);
  if (!generalOk) {
    s.Chemicals.pop_back();
    s.ChemicalCount = static_cast<int16_t>(chemSlot - 1);
    reason = message;
    return false;
  }
  ChemicalEntry& e = s.Chemicals[chemSlot];
  e.Name = raw.header.NameEn;
  e.VosslerIndex = 0;
  if (raw.hasVossler) {
    s.VosslerSets.emplace_back();
    s.VosslerSetCount = static_cast<int16_t>(setSlot);
    const bool vosslerOk = ParseParamBlock(s, JoinCrLf(raw.vossler), static_cast<int16_t>(setSlot),
                                           block::Vossler, message, false, true, nullptr);
    if (!vosslerOk) {
      s.VosslerSets.pop_back();
      s.VosslerSetCount = static_cast<int16_t>(setSlot - 1);
      s.Chemicals.pop_back();
      s.ChemicalCount = static_cast<int16_t>(chemSlot - 1);
      reason = message;
      return false;
    }
    // As the editor does: the set repeats the name, molecular weight and boiling point.
    VosslerSet& v = s.VosslerSets[setSlot];
    v.Name = e.Name;
    v.Values[vossler::MolecularWeight] = e.Params[general::MolecularWeight];
    v.Values[vossler::BoilingPoint] = e.Params[general::BoilingPoint];
    s.Chemicals[chemSlot].VosslerIndex = static_cast<int16_t>(setSlot);
  }
  raw.header.ChemicalIndex = static_cast<int16_t>(chemSlot);
  raw.header.HasVossler = raw.hasVossler;
  lib.Substances.push_back(std::move(raw.header));
  return true;
}

std::string Describe(const RawSubstance& raw) {
  std::string who = raw.header.NameZh;
  if (!raw.header.NameEn.empty()) who += (who.empty() ? "" : " ") + raw.header.NameEn;
  if (!raw.header.Cas.empty()) who += " (CAS " + raw.header.Cas + ")";
  if (who.empty()) who = "（无名称）";
  return "物质库第" + std::to_string(raw.firstLine) + "行的物质 " + who;
}

// The number of "[SUBSTANCE]" tags in text, at most the number taken.
size_t CountSubstances(std::string_view text) {
  constexpr std::string_view kTag = "[SUBSTANCE]";
  size_t n = 0;
  for (size_t at = text.find(kTag); at != std::string_view::npos && n < kLibraryMaxSubstances;
       at = text.find(kTag, at + kTag.size())) {
    ++n;
  }
  return n;
}

}  // namespace

const LibrarySubstance* SubstanceLibrary::AtSlot(int index) const {
  for (const LibrarySubstance& sub : Substances) {
    if (sub.ChemicalIndex == index) return &sub;
  }
  return nullptr;
}

const LibrarySubstance* SubstanceLibrary::FindCas(const std::string& cas) const {
  const std::string key = WithoutBlanks(cas);
  if (key.empty()) return nullptr;
  for (const LibrarySubstance& sub : Substances) {
    if (sub.Cas == key) return &sub;
  }
  return nullptr;
}

bool ParseSubstanceLibrary(ModelState& s, const std::string& text, SubstanceLibrary& lib,
                           LibraryLoad& load) {
  // Room for the substances the text announces, made once: the lists are
  // not copied as they grow.
  const size_t announced = CountSubstances(text);
  s.Chemicals.reserve(s.Chemicals.size() + announced);
  s.VosslerSets.reserve(s.VosslerSets.size() + announced);
  lib.Substances.reserve(lib.Substances.size() + announced);
  Section section = Section::Outside;
  RawSubstance raw;
  int lineNumber = 0;

  auto finish = [&]() {
    std::string reason;
    if (load.Accepted >= kLibraryMaxSubstances) {
      load.Refusals.push_back(Describe(raw) + "：物质库条目过多，已跳过");
    } else if (AddSubstance(s, raw, lib, reason)) {
      ++load.Accepted;
    } else {
      load.Refusals.push_back(Describe(raw) + "：" + reason);
    }
    raw = RawSubstance{};
    section = Section::Outside;
  };

  // One pass over the lines; each pass consumes at least one character.
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view tag = TrimmedView(line);

    if (tag == "[SUBSTANCE]") {
      if (section != Section::Outside) {
        raw.fault = "缺少[END]";
        finish();
      }
      raw.firstLine = lineNumber;
      section = Section::Header;
      continue;
    }
    if (section == Section::Outside) {
      // Blank lines and comments; anything else outside a block is ignored.
      continue;
    }
    if (tag == "[END]") {
      if (section == Section::Header) raw.fault = "缺少[CH.DAT]段";
      finish();
      continue;
    }
    if (tag == "[CH.DAT]") {
      if (section != Section::Header) raw.fault = "段的顺序有误";
      section = Section::General;
      raw.general.reserve(13);
      continue;
    }
    if (tag == "[EVAP.DAT]") {
      if (section != Section::General) raw.fault = "段的顺序有误";
      section = Section::Vossler;
      raw.hasVossler = true;
      raw.vossler.reserve(14);
      continue;
    }
    switch (section) {
      case Section::Header:
        if (!tag.empty()) ReadHeaderLine(line, raw);
        break;
      case Section::General:
        // More lines than a block holds cannot be a block of this file.
        if (raw.general.size() < 64) raw.general.push_back(line);
        break;
      case Section::Vossler:
        if (raw.vossler.size() < 64) raw.vossler.push_back(line);
        break;
      case Section::Outside:
        break;
    }
  }
  if (section != Section::Outside) {
    raw.fault = "文件在[END]之前结束";
    finish();
  }
  return load.Accepted > 0;
}

bool LoadSubstanceLibraryFile(ModelState& s, const std::string& path, SubstanceLibrary& lib,
                              LibraryLoad& load) {
  std::string bytes;
  bool cut = false;
  if (path.empty() || !ReadFilePrefix(path, kLibraryMaxBytes, bytes, cut) || cut) return false;
  return ParseSubstanceLibrary(s, GbkToUtf8(bytes), lib, load);
}

}  // namespace zelto
