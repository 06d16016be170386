// The print preview window: what the print command would print, page by page, with its own
// print button.
#pragma once

#include "text/print_text_job_win.h"

namespace ui {
class Window;
}

namespace app {

struct Program;

// Asks what the text job asks, then shows the pages of the text.
void PreviewText(ui::Window& main, Program& program, const text::TextJob& job);
// Asks what the picture job asks, then shows its page.
void PreviewPicture(ui::Window& main, Program& program);

}  // namespace app
