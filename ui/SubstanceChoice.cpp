#include "ui/SubstanceChoice.h"

#include <algorithm>
#include <utility>

#include "chem/ParamBlocks.h"
#include "chem/ParamSlots.h"
#include "core/TextConv.h"
#include "ui/ControlIds.h"
#include "ui/InputRules.h"

namespace zelto {

namespace {

// How well a word matches a field: 0 the whole field, 1 its start, 2 inside,
// 3 not at all.
int MatchRank(const std::string& field, const std::string& word) {
  if (field.empty()) return 3;
  if (field == word) return 0;
  const size_t at = field.find(word);
  if (at == std::string::npos) return 3;
  return at == 0 ? 1 : 2;
}

std::string WithoutDashes(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '-') out += c;
  }
  return out;
}

// The fields a word is looked for in, upper-cased (ASCII).
std::vector<std::string> SearchFields(const MainWindow& w, int listIndex) {
  const LibrarySubstance* sub = w.Library.AtSlot(listIndex);
  if (listIndex < 2 || sub == nullptr) {
    const auto& items = w.Combo1[combo::Substance].Items;
    return {ToUpperAscii(items[static_cast<size_t>(listIndex)])};
  }
  std::vector<std::string> fields = {ToUpperAscii(sub->NameZh), ToUpperAscii(sub->NameEn),
                                     sub->Cas, WithoutDashes(sub->Cas),
                                     ToUpperAscii(sub->Formula)};
  if (!sub->Un.empty()) {
    fields.push_back(sub->Un);
    fields.push_back("UN" + sub->Un);
  }
  return fields;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(ToUpperAscii(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(ToUpperAscii(word));
  return words;
}

}  // namespace

std::string LibraryItemText(const LibrarySubstance& sub) {
  std::string text = sub.NameZh;
  if (!sub.NameEn.empty()) text += (text.empty() ? "" : "  ") + sub.NameEn;
  if (!sub.Cas.empty()) text += "  " + sub.Cas;
  return text;
}

std::vector<int> MatchingSubstances(const MainWindow& w, std::string_view typed) {
  const int count = static_cast<int>(w.Combo1[combo::Substance].Items.size());
  const std::vector<std::string> words = Words(typed);
  std::vector<std::pair<int, int>> ranked;  // (rank, list index)
  for (int i = 0; i < count; ++i) {
    if (words.empty()) {
      ranked.emplace_back(0, i);
      continue;
    }
    const std::vector<std::string> fields = SearchFields(w, i);
    // The item's rank is that of its worst word, each word at its best field.
    int itemRank = 0;
    for (const std::string& word : words) {
      int best = 3;
      for (const std::string& field : fields) best = std::min(best, MatchRank(field, word));
      itemRank = std::max(itemRank, best);
    }
    if (itemRank < 3) ranked.emplace_back(itemRank, i);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int> indices;
  indices.reserve(ranked.size());
  for (const auto& r : ranked) indices.push_back(r.second);
  return indices;
}

int FindSubstanceKey(const MainWindow& w, const std::string& key) {
  const std::string trimmed = TrimSpaces(key);
  if (trimmed.empty()) return -1;
  if (const LibrarySubstance* sub = w.Library.FindCas(trimmed)) return sub->ChemicalIndex;
  const std::string upper = ToUpperAscii(trimmed);
  for (const LibrarySubstance& sub : w.Library.Substances) {
    if (sub.NameZh == trimmed || ToUpperAscii(sub.NameEn) == upper) return sub.ChemicalIndex;
  }
  return -1;
}

// ---- Main window actions ----

const LibrarySubstance* MainWindow::ChosenLibrarySubstance() const {
  const int index = Combo1[combo::Substance].ListIndex;
  return index >= 2 ? Library.AtSlot(index) : nullptr;
}

bool MainWindow::CanUsePac() const {
  const LibrarySubstance* sub = ChosenLibrarySubstance();
  return sub != nullptr && sub->HasPac;
}

void MainWindow::UsePacThresholds() {
  if (Computing || !CanUsePac()) return;
  const LibrarySubstance& sub = *ChosenLibrarySubstance();
  SetText1(box::Thresholds, TextOfSingle(sub.Pac[0]) + "," + TextOfSingle(sub.Pac[1]) + "," +
                                TextOfSingle(sub.Pac[2]));
  // The ppm unit is offered only with a molecular weight; the substance supplies one.
  const bool ppm = sub.PacUnit == "ppm";
  if (ppm && !(LeadingNumber(Text1[box::MolecularWeight].Text) > 0)) {
    SetText1(box::MolecularWeight, TextOfSingle(s.Chemicals[static_cast<size_t>(sub.ChemicalIndex)]
                                                    .Params[general::MolecularWeight]));
  }
  SetListIndex(combo::ThresholdUnit, ppm ? 1 : 0);
}

bool MainWindow::CanCopyFromLibrary() const { return ChosenLibrarySubstance() != nullptr; }

void MainWindow::CopyFromLibrary() {
  if (Computing || !CanCopyFromLibrary() || s.Chemicals.size() < 2 || s.VosslerSets.size() < 2) {
    return;
  }
  const int k = ChosenLibrarySubstance()->ChemicalIndex;
  if (k < 2 || k >= static_cast<int>(s.Chemicals.size())) return;
  const ChemicalEntry source = s.Chemicals[static_cast<size_t>(k)];
  ChemicalEntry& target = s.Chemicals[1];
  target = source;
  s.GeneralParamText = FormatParamBlock(s, static_cast<int16_t>(k), block::General);
  const int set = source.VosslerIndex;
  if (set >= 1 && set <= s.VosslerSetCount && set < static_cast<int>(s.VosslerSets.size())) {
    s.VosslerSets[1] = s.VosslerSets[static_cast<size_t>(set)];
    s.VosslerParamText = FormatParamBlock(s, 1, block::Vossler);
    target.VosslerIndex = 1;
  } else {
    // As the editor leaves them when its Vossler box is not ticked.
    target.VosslerIndex = 0;
  }
  ComboBox& names = Combo1[combo::Substance];
  names.Items[1] = target.Name;
  if (names.ListIndex == 1) names.Text = target.Name;
  SetListIndex(combo::Substance, 1);
}

bool MainWindow::ChooseSubstanceByCas(const std::string& cas) {
  const LibrarySubstance* sub = Library.FindCas(cas);
  if (sub == nullptr) return false;
  return SetListIndex(combo::Substance, sub->ChemicalIndex);
}

}  // namespace zelto
