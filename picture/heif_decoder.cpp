// HEIC pictures through libheif (see heif_library.h); to be written.
#include "picture/decoders.h"
#include "picture/heif_library.h"

namespace picture {

std::optional<Image> DecodeHeif(Bytes) { return std::nullopt; }
std::optional<PictureInfo> ReadHeifInfo(Bytes) { return std::nullopt; }

}  // namespace picture
