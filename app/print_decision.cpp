#include "app/print_decision.h"

namespace app {

PrintPlan DecidePrint(const PrintInputs& inputs) {
    PrintPlan plan;
    plan.spaces = inputs.deleteSpaces ? text::SpaceMode::Delete : text::SpaceMode::Keep;
    const bool pictureReady = inputs.pictureChosen && inputs.pictureLoaded;
    if (pictureReady) {
        plan.choice = PrintChoice::Picture;
    } else if (!inputs.separateEditOpen) {
        plan.choice = PrintChoice::MainText;
    } else {
        plan.choice = inputs.pictureChosen ? PrintChoice::NothingToPrint : PrintChoice::AskWhichText;
    }
    return plan;
}

bool PrintButtonEnabled(PrintButtonCause cause, const PrintButtonInputs& inputs) {
    switch (cause) {
    case PrintButtonCause::Started: return false;
    case PrintButtonCause::TextModeChosen: return inputs.mainHasText || inputs.separateEditOpen;
    case PrintButtonCause::PictureModeChosen: return inputs.pictureLoaded;
    case PrintButtonCause::MainTextChanged: return inputs.mainHasText;
    case PrintButtonCause::SeparateTextChanged: return inputs.separateHasText;
    case PrintButtonCause::PictureLoaded: return true;
    }
    return false;
}

}  // namespace app
