#pragma once
// Qt's own words on screen (message-box buttons, the edit boxes' context menu, the window menu
// of a sub-window) in Italian, from a small table of our own: no translation file is needed.

namespace condpag::ui {

// Installs the Italian words on the running application once; later calls do nothing.
void install_italian_texts();

// The Italian for one of Qt's own English words, or nullptr when the table lacks it.
const char* italian_for(const char* english);

}  // namespace condpag::ui
