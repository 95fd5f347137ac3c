// The substance library in the main window: the substance list searched as
// the operator types, and the buttons "采用PAC-1/2/3" (beside the thresholds)
// and "从物质库复制" (below "属性..."). The rules are the model's
// (MatchingSubstances, UsePacThresholds, CopyFromLibrary); this only shows them.
#pragma once

namespace zelto::desktop {

class MainWindowWidget;

void AttachLibraryControls(MainWindowWidget& window);

}  // namespace zelto::desktop
