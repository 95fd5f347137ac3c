// Finding a substance of the library in the substance list: the text an item
// shows, the matching rule of the search as the operator types, and the
// lookup of the batch program's --substance key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chem/SubstanceLibrary.h"
#include "ui/MainWindow.h"

namespace zelto {

// The item of a library substance in the substance list: Chinese name,
// English name and CAS number, for instance "氯  CHLORINE  7782-50-5".
std::string LibraryItemText(const LibrarySubstance& sub);

// The list indices of the substance list whose substance matches the typed
// text, best first. Every blank-separated word must be found (upper and lower
// case alike) in the Chinese name, English name, CAS number (with or without
// its dashes), formula or UN number (with or without "UN") of a library
// substance, or in the item text of the temporary and the user-defined
// substance. Matches of a whole field come first, then matches at the start
// of a field, then the rest; within each group the list order is kept. Blank
// text matches every item in list order.
std::vector<int> MatchingSubstances(const MainWindow& w, std::string_view typed);

// The list index of the library substance whose CAS number, Chinese name or
// English name (upper and lower case alike) equals key; -1 when none does.
int FindSubstanceKey(const MainWindow& w, const std::string& key);

}  // namespace zelto
