#include "ui/font_choice.h"

namespace ui {
namespace {

// "宋体" in GBK.
constexpr char fallbackFaceGbk[] = "\xCB\xCE\xCC\xE5";

}  // namespace

std::string EffectiveFaceGbk(const std::string& faceGbk) {
    if (faceGbk.empty() || faceGbk.size() >= maxFaceBytes) return fallbackFaceGbk;
    return faceGbk;
}

}  // namespace ui
