// AVIF pictures through libavif and dav1d; to be written.
#include "picture/decoders.h"

namespace picture {

std::optional<Image> DecodeAvif(Bytes) { return std::nullopt; }
std::optional<PictureInfo> ReadAvifInfo(Bytes) { return std::nullopt; }

}  // namespace picture
