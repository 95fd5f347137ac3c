// Parameter blocks of the user-defined substance.
//
// A substance has two parameter sets, each kept both as a CR LF separated text
// block (what the operator edits and the settings file stores) and as numbers
// (what the models read):
//  - the general block, 13 lines: exposure limits TWA and STEL (ppm, mg/m3),
//    molecular weight, boiling point, critical temperature, pressure and
//    volume, vapour-pressure constants A, B, C, liquid-density constants A, B,
//    molecular diameter and interaction energy;
//  - the Vossler evaporation block, 14 lines: freezing point, then correlation
//    constants with their fit ranges (highest, lowest) for vapour viscosity,
//    vapour heat capacity, vapour conductivity, heat of vaporisation,
//    saturation pressure and liquid conductivity, then the diffusion volume.
#include "chem/ParamBlocks.h"

#include <cfloat>
#include <cmath>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "chem/ParamSlots.h"
#include "core/ListParse.h"
#include "core/TextConv.h"

namespace zelto {

namespace {

constexpr int kGeneralLineCount = 13;
constexpr int kVosslerLineCount = 14;

static_assert(std::tuple_size_v<decltype(ChemicalEntry::Params)> == general::Count);
static_assert(std::tuple_size_v<decltype(VosslerSet::Values)> == vossler::Count);

// One line of the Vossler block: how many items it holds, the first position of
// VosslerSet::Values it fills, and the refusal text when its items sum to 0
// (null for the freezing point and the diffusion volume, which are not tested).
struct VosslerLine {
  int items;
  int firstValue;
  const char* emptyMessage;
};

constexpr VosslerLine kVosslerLines[kVosslerLineCount] = {
    {1, vossler::FreezingPoint, nullptr},
    {3, vossler::VapourViscosityA, "物质的Vossler 蒸发模型参数：气相粘度常数,A,B,C未输入."},
    {2, vossler::VapourViscosityTmax, "物质的Vossler 蒸发模型参数：气相粘度常数温度范围未输入."},
    {4, vossler::VapourHeatCapacityA, "物质的Vossler 蒸发模型参数：气相热容常数,A,B,C,D未输入."},
    {2, vossler::VapourHeatCapacityTmax,
     "物质的Vossler 蒸发模型参数：气相热容常数温度范围未输入."},
    {4, vossler::VapourConductivityA,
     "物质的Vossler 蒸发模型参数：气相热传导常数,A,B,C,D未输入."},
    {2, vossler::VapourConductivityTmax,
     "物质的Vossler 蒸发模型参数：气相热传导常数温度范围未输入."},
    {4, vossler::VaporizationHeatA, "物质的Vossler 蒸发模型参数：蒸发热常数,A,B,C,D未输入."},
    {2, vossler::VaporizationHeatTmax, "物质的Vossler 蒸发模型参数：蒸发热常数温度范围未输入."},
    {6, vossler::SaturationPressureA,
     "物质的Vossler 蒸发模型参数：饱和压力常数,A,B,C,D,E,F未输入."},
    {2, vossler::SaturationPressureTmax,
     "物质的Vossler 蒸发模型参数：饱和压力常数温度范围未输入."},
    {3, vossler::LiquidConductivityA, "物质的Vossler 蒸发模型参数：液相热传导常数,A,B,C未输入."},
    {2, vossler::LiquidConductivityTmax,
     "物质的Vossler 蒸发模型参数：液相热传导常数温度范围未输入."},
    {1, vossler::DiffusionVolume, nullptr},
};

constexpr const char* kGeneralLabels[kGeneralLineCount] = {
    "时间加权平均暴露限值TWA(ppm)", "时间加权平均暴露限值TWA(mg/m3)",
    "短时暴露限值STEL(PPM)",        "短时暴露限值STEL(mg/m3)",
    "分子量",                       "沸点(K)",
    "临界温度(K)",                  "临界压力(atm)",
    "临界体积(cm3/g-mole)",         "蒸气压常数1-3个，A,B,C",
    "液体密度常数1-2个,A,B",        "分子有效直径(A)",
    "分子相互作用能(J)",
};

constexpr const char* kVosslerLabels[kVosslerLineCount] = {
    "凝固温度(K)",
    "气相粘度常数,A,B,C",
    "气相粘度常数温度范围(K)(最高,最低)",
    "气相热容常数,A,B,C,D",
    "气相热容常数温度范围(K)(最高,最低)",
    "气相热传导常数,A,B,C,D",
    "气相热传导常数温度范围(K)(最高,最低)",
    "蒸发热常数,A,B,C,D",
    "蒸发热常数温度范围(K)(最高,最低)",
    "饱和压力常数,A,B,C,D,E,F",
    "饱和压力常数温度范围(K)(最高,最低)",
    "液相热传导常数,A,B,C",
    "液相热传导常数温度范围(K)(最高,最低)",
    "分子扩散体积",
};

constexpr const char* kGeneralTooFewLines =
    "物质的一般参数(CH.DAT中的参数)，应有13行数据，与左边参数名称相对应。如果数据未知，可设为0.";
constexpr const char* kVosslerTooFewLines =
    "物质的Vossler 蒸发模型参数(EVAP.DAT中的参数)，应有14行数据，与左边参数名称相对应。如果数据未知，可设为0.";
constexpr const char* kNoMolecularWeight = "注意：当前物质分子量未输入！";
constexpr const char* kNoBoilingPoint = "注意：当前物质沸点未输入！";
constexpr const char* kNoVapourPressureConstants =
    "注意：当前物质蒸气压常数A,B,C均为0，只能采用Vossler模式计算蒸气压，如果是液体，则需输入Vossler蒸发模型参数(EVAP.DAT中的参数)！";

// Refusals of indices and kinds that name no stored block.
constexpr const char* kBadChemicalSlot = "物质序号超出范围。";
constexpr const char* kBadVosslerSlot = "Vossler参数组序号超出范围。";
constexpr const char* kBadBlockKind = "参数块类型无效。";

// Splits at every CR LF. A final CR LF gives an empty last piece; an empty
// text gives no pieces. A lone CR or LF stays inside its piece.
std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
  std::vector<std::string_view> pieces;
  if (text.empty()) return pieces;
  pieces.reserve(kVosslerLineCount);
  size_t start = 0;
  // Each pass consumes at least one CR LF, so the loop ends after at most
  // text.size() / 2 + 1 passes.
  for (;;) {
    const size_t at = text.find("\r\n", start);
    if (at == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + 2;
  }
}

// True when the double sum of the values, rounded to a single, is 0.
bool SumRoundsToZero(const float* values, int count) {
  double sum = 0.0;
  for (int i = 0; i < count; ++i) sum += static_cast<double>(values[i]);
  if (!(std::fabs(sum) <= static_cast<double>(FLT_MAX))) return false;  // never rounds to 0
  return static_cast<float>(sum) == 0.0f;
}

// Stores general line `line` (1..13) into e.
void StoreGeneralLine(ChemicalEntry& e, int line, std::string_view piece) {
  switch (line) {
    case 1: e.TwaPpm = LeadingSingle(piece); break;
    case 2: e.TwaMg = LeadingSingle(piece); break;
    case 3: e.StelPpm = LeadingSingle(piece); break;
    case 4: e.StelMg = LeadingSingle(piece); break;
    // Lists (commas or blanks between items): missing items are 0, extra
    // items are ignored.
    case 10: ReadNumberList(piece, &e.Params[general::VaporPressureA], 3); break;
    case 11: ReadNumberList(piece, &e.Params[general::LiquidDensityA], 2); break;
    case 12: e.Params[general::MolecularDiameter] = LeadingSingle(piece); break;
    case 13: e.Params[general::InteractionEnergy] = LeadingSingle(piece); break;
    // Lines 5..9: molecular weight, boiling point, critical temperature,
    // pressure and volume.
    default: e.Params[general::MolecularWeight + (line - 5)] = LeadingSingle(piece); break;
  }
}

// Stores Vossler line `line` (1..14) into v.
void StoreVosslerLine(VosslerSet& v, int line, std::string_view piece) {
  const VosslerLine& def = kVosslerLines[line - 1];
  if (def.items == 1) {
    v.Values[def.firstValue] = LeadingSingle(piece);
    return;
  }
  ReadNumberList(piece, &v.Values[def.firstValue], def.items);
}

// Fills e line by line. Stops with false at the first missing piece; with
// checks, refuses a zero molecular weight or boiling point.
bool FillGeneral(ChemicalEntry& e, const std::vector<std::string_view>& pieces, bool checked,
                 std::string& message) {
  for (int line = 1; line <= kGeneralLineCount; ++line) {
    if (static_cast<size_t>(line) > pieces.size()) return false;
    StoreGeneralLine(e, line, pieces[line - 1]);
  }
  if (!checked) return true;
  if (e.Params[general::MolecularWeight] == 0.0f) {
    message = kNoMolecularWeight;
    return false;
  }
  if (e.Params[general::BoilingPoint] == 0.0f) {
    message = kNoBoilingPoint;
    return false;
  }
  return true;
}

// Fills v line by line. Stops with false at the first missing piece; with
// checks, at the first constant or range line whose items sum to 0 (that line
// itself is already stored).
bool FillVossler(VosslerSet& v, const std::vector<std::string_view>& pieces, bool checked,
                 std::string& message) {
  for (int line = 1; line <= kVosslerLineCount; ++line) {
    if (static_cast<size_t>(line) > pieces.size()) return false;
    StoreVosslerLine(v, line, pieces[line - 1]);
    const VosslerLine& def = kVosslerLines[line - 1];
    if (checked && def.emptyMessage != nullptr &&
        SumRoundsToZero(&v.Values[def.firstValue], def.items)) {
      message = def.emptyMessage;
      return false;
    }
  }
  return true;
}

bool ParseGeneralBlock(ModelState& s, const std::vector<std::string_view>& pieces, size_t index,
                       std::string& message, bool unchecked, bool vosslerTicked,
                       MessageSink* sink) {
  if (unchecked) {
    // Settings file: store in place as far as the text goes.
    return FillGeneral(s.Chemicals[index], pieces, false, message);
  }
  if (pieces.size() < static_cast<size_t>(kGeneralLineCount)) {
    message = kGeneralTooFewLines;
    return false;
  }
  // Editor: work on a copy so that a refused block leaves the substance as it was.
  ChemicalEntry e = s.Chemicals[index];
  if (!FillGeneral(e, pieces, true, message)) return false;
  s.Chemicals[index] = e;
  // Without constants A, B, C the vapour pressure can only come from the
  // Vossler correlation; warn unless the operator is entering a Vossler set.
  if (SumRoundsToZero(&e.Params[general::VaporPressureA], 3) && !vosslerTicked) {
    message = kNoVapourPressureConstants;
    if (sink != nullptr) sink->ShowMessage(message);
  }
  return true;
}

bool ParseVosslerBlock(ModelState& s, const std::vector<std::string_view>& pieces, size_t index,
                       std::string& message, bool unchecked) {
  if (unchecked) return FillVossler(s.VosslerSets[index], pieces, false, message);
  if (pieces.size() < static_cast<size_t>(kVosslerLineCount)) {
    message = kVosslerTooFewLines;
    return false;
  }
  VosslerSet v = s.VosslerSets[index];
  if (!FillVossler(v, pieces, true, message)) return false;
  s.VosslerSets[index] = v;
  return true;
}

// Items of one line as shortest round-trip texts joined by ", ".
std::string JoinItems(const float* values, int count) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    if (i > 0) line += ", ";
    line += FormatRoundTrip(values[i]);
  }
  return line;
}

std::string FormatGeneralBlock(const ChemicalEntry& e) {
  const auto item = [&e](general::Slot slot) { return FormatRoundTrip(e.Params[slot]); };
  const std::string lines[kGeneralLineCount] = {
      FormatRoundTrip(e.TwaPpm),
      FormatRoundTrip(e.TwaMg),
      FormatRoundTrip(e.StelPpm),
      FormatRoundTrip(e.StelMg),
      item(general::MolecularWeight),
      item(general::BoilingPoint),
      item(general::CriticalTemperature),
      item(general::CriticalPressure),
      item(general::CriticalVolume),
      JoinItems(&e.Params[general::VaporPressureA], 3),
      JoinItems(&e.Params[general::LiquidDensityA], 2),
      item(general::MolecularDiameter),
      item(general::InteractionEnergy),
  };
  std::string text;
  for (int i = 0; i < kGeneralLineCount; ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

std::string FormatVosslerBlock(const VosslerSet& v) {
  std::string text;
  for (int i = 0; i < kVosslerLineCount; ++i) {
    if (i > 0) text += "\r\n";
    text += JoinItems(&v.Values[kVosslerLines[i].firstValue], kVosslerLines[i].items);
  }
  return text;
}

}  // namespace

namespace {

// Slot index exists in Chemicals (0..ChemicalCount) / VosslerSets (0..VosslerSetCount).
bool ChemicalSlotExists(const ModelState& s, int index) {
  return index >= 0 && index <= s.ChemicalCount &&
         static_cast<size_t>(index) < s.Chemicals.size();
}

bool VosslerSlotExists(const ModelState& s, int index) {
  return index >= 0 && index <= s.VosslerSetCount &&
         static_cast<size_t>(index) < s.VosslerSets.size();
}

}  // namespace

const char* GeneralLineLabel(int line) {
  return (line >= 1 && line <= kGeneralLineCount) ? kGeneralLabels[line - 1] : "";
}

const char* VosslerLineLabel(int line) {
  return (line >= 1 && line <= kVosslerLineCount) ? kVosslerLabels[line - 1] : "";
}

bool ParseParamBlock(ModelState& s, const std::string& text, int16_t index, uint8_t kind,
                     std::string& message, bool unchecked, bool vosslerTicked,
                     MessageSink* sink) {
  message.clear();
  if (kind == block::General) {
    if (!ChemicalSlotExists(s, index)) {
      message = kBadChemicalSlot;
      return false;
    }
    return ParseGeneralBlock(s, SplitAtCrLf(text), static_cast<size_t>(index), message,
                             unchecked, vosslerTicked, sink);
  }
  if (kind == block::Vossler) {
    if (!VosslerSlotExists(s, index)) {
      message = kBadVosslerSlot;
      return false;
    }
    return ParseVosslerBlock(s, SplitAtCrLf(text), static_cast<size_t>(index), message,
                             unchecked);
  }
  message = kBadBlockKind;
  return false;
}

std::string FormatParamBlock(const ModelState& s, int16_t index, uint8_t kind) {
  // A slot that does not exist is shown like the empty slot 0: all zeros.
  if (kind == block::General) {
    return FormatGeneralBlock(ChemicalSlotExists(s, index) ? s.Chemicals[static_cast<size_t>(index)]
                                                      : ChemicalEntry{});
  }
  if (kind == block::Vossler) {
    return FormatVosslerBlock(VosslerSlotExists(s, index) ? s.VosslerSets[static_cast<size_t>(index)]
                                                     : VosslerSet{});
  }
  return std::string();
}

bool LoadChemical(ModelState& s, std::string& message) {
  message.clear();
  if (!ChemicalSlotExists(s, s.ChemicalIndex)) {
    message = kBadChemicalSlot;
    return false;
  }
  const ChemicalEntry& e = s.Chemicals[static_cast<size_t>(s.ChemicalIndex)];
  s.ChemicalName = s.ChemicalIndex == 0 ? std::string(kTemporarySubstanceName) : e.Name;
  s.TwaPpm = e.TwaPpm;
  s.TwaMg = e.TwaMg;
  s.StelPpm = e.StelPpm;
  s.StelMg = e.StelMg;
  s.MolecularWeight = e.Params[general::MolecularWeight];
  s.BoilingPointK = e.Params[general::BoilingPoint];
  s.CriticalTempK = e.Params[general::CriticalTemperature];
  s.CriticalPressure = e.Params[general::CriticalPressure];
  s.CriticalVolume = e.Params[general::CriticalVolume];
  s.VaporPressA = e.Params[general::VaporPressureA];
  s.VaporPressB = e.Params[general::VaporPressureB];
  s.VaporPressC = e.Params[general::VaporPressureC];
  s.LiquidDensityA = e.Params[general::LiquidDensityA];
  s.LiquidDensityB = e.Params[general::LiquidDensityB];
  s.MolecularDiameter = e.Params[general::MolecularDiameter];
  s.InteractionEnergy = e.Params[general::InteractionEnergy];
  s.VosslerIndex = e.VosslerIndex;

  // Without a Vossler set the 38 Vossler fields keep their previous values.
  if (e.VosslerIndex < 1) return true;
  if (!VosslerSlotExists(s, e.VosslerIndex)) {
    // An index naming no stored set counts as no set, so that no later stage
    // picks the Vossler model with parameters that do not belong to this substance.
    s.VosslerIndex = 0;
    return true;
  }
  const auto& v = s.VosslerSets[static_cast<size_t>(e.VosslerIndex)].Values;
  constexpr int kFieldCount = vossler::DiffusionVolume - vossler::FreezingPoint + 1;
  float* const fields[kFieldCount] = {
      &s.FreezingPointK,
      &s.VapViscA, &s.VapViscB, &s.VapViscC, &s.VapViscTmax, &s.VapViscTmin,
      &s.VapCpA, &s.VapCpB, &s.VapCpC, &s.VapCpD, &s.VapCpTmax, &s.VapCpTmin,
      &s.VapCondA, &s.VapCondB, &s.VapCondC, &s.VapCondD, &s.VapCondTmax, &s.VapCondTmin,
      &s.HeatVapA, &s.HeatVapB, &s.HeatVapC, &s.HeatVapD, &s.HeatVapTmax, &s.HeatVapTmin,
      &s.SatPressA, &s.SatPressB, &s.SatPressC, &s.SatPressD, &s.SatPressE, &s.SatPressF,
      &s.SatPressTmax, &s.SatPressTmin,
      &s.LiqCondA, &s.LiqCondB, &s.LiqCondC, &s.LiqCondTmax, &s.LiqCondTmin,
      &s.DiffusionVolume,
  };
  // The fields follow the slots from the freezing point on.
  for (int i = 0; i < kFieldCount; ++i) *fields[i] = v[static_cast<size_t>(vossler::FreezingPoint + i)];
  return true;
}

}  // namespace zelto
