// The page setup kept between runs: the file "页面设置.txt" in the user's roaming folder.
#pragma once

#include "text/page_setup.h"

namespace ui {
class Window;
}

namespace app {

struct Program;

struct LoadedPageSetup {
    text::PageSetup setup;  // the defaults unless the file held a page setup whole
    bool damaged = false;   // the file is there but could not be read, or holds no page setup
};

// The saved page setup; a missing file gives the defaults without a word.
LoadedPageSetup LoadPageSetup();

// Replaces the file in one step; false with the reason in GetLastError() when it was not written.
bool SavePageSetup(const text::PageSetup& setup);

// The setup becomes the program's, its margins the printer's.
void UsePageSetup(Program& program, const text::PageSetup& setup);

// At start: the saved setup is used; a damaged file is only noted in the status bar.
void LoadPageSetupAtStart(ui::Window& main, Program& program);

}  // namespace app
