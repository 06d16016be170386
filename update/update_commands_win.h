#pragma once

#include "ui/description.h"

namespace update {

// "检测升级": asks the update server for its manifest and offers a newer version.
void OnCheckUpdateChosen(ui::EventArgs& event);

}  // namespace update
