// libheif linked into the program (the native build).
#include "picture/heif_library.h"

namespace picture {

const HeifLibrary* LoadHeifLibrary() {
    static const HeifLibrary library{
#define MOZHOU_HEIF_LINKED(name) &::name,
        MOZHOU_HEIF_FUNCTIONS(MOZHOU_HEIF_LINKED)
#undef MOZHOU_HEIF_LINKED
    };
    return &library;
}

}  // namespace picture
