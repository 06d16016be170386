#pragma once

#include "ui/description.h"

namespace text {

// "单独编辑 (适于A4纸)": opens the separate-edit window, not modal.
void OnSeparateEditChosen(ui::EventArgs& event);

}  // namespace text
