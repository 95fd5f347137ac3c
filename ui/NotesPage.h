// The page "适用性提示" of the main window's results area: the applicability
// notes and the dense-gas estimate of the computation whose report the
// results box shows.
#pragma once

#include <string>

#include "ui/MainWindow.h"

namespace zelto {

// "适用性提示" before the first computation, then with the number of notes:
// "适用性提示(2)".
std::string NotesPageCaption(const MainWindow& w);

// The page's text, lines joined by "\n".
std::string NotesPageText(const MainWindow& w);

}  // namespace zelto
