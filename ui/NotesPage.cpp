#include "ui/NotesPage.h"

namespace zelto {

std::string NotesPageCaption(const MainWindow& w) {
  return w.Notes.Evaluated ? NotesCaption(w.Notes) : std::string("适用性提示");
}

std::string NotesPageText(const MainWindow& w) {
  if (!w.Notes.Evaluated) return "计算完成后，这里列出本次计算结果的适用性提示。\n";
  return ApplicabilityText(w.Notes);
}

}  // namespace zelto
