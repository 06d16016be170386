#include "app/font_choice.h"

namespace app {
namespace {

// "宋体" in GBK.
constexpr char fallbackFaceGbk[] = "\xCB\xCE\xCC\xE5";

}  // namespace

std::string EffectiveFaceGbk(const std::string& faceGbk) {
    if (faceGbk.empty() || faceGbk.size() >= maxFaceBytes) return fallbackFaceGbk;
    return faceGbk;
}

}  // namespace app
