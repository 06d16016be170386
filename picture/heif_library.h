// The functions of libheif that the HEIC decoder calls, through a table. libheif and libde265 are
// LGPL libraries: the Windows program does not link them in but loads them from its own folder
// when the first HEIC picture is opened, and works without them (heif_library_win.cpp). Natively
// they are linked (heif_library_linked.cpp).
#pragma once

#include <libheif/heif.h>

namespace picture {

// X(name) for each function used; the table's members and the loader both come from this list.
#define MOZHOU_HEIF_FUNCTIONS(X)            \
    X(heif_get_version_number)              \
    X(heif_context_alloc)                   \
    X(heif_context_free)                    \
    X(heif_context_set_maximum_image_size_limit) \
    X(heif_context_read_from_memory_without_copy) \
    X(heif_context_get_primary_image_handle) \
    X(heif_image_handle_release)            \
    X(heif_image_handle_get_width)          \
    X(heif_image_handle_get_height)         \
    X(heif_image_handle_has_alpha_channel)  \
    X(heif_decode_image)                    \
    X(heif_image_release)                   \
    X(heif_image_get_width)                 \
    X(heif_image_get_height)                \
    X(heif_image_get_plane_readonly)        \
    X(heif_image_is_premultiplied_alpha)

struct HeifLibrary {
#define MOZHOU_HEIF_MEMBER(name) decltype(&::name) name = nullptr;
    MOZHOU_HEIF_FUNCTIONS(MOZHOU_HEIF_MEMBER)
#undef MOZHOU_HEIF_MEMBER
};

// libheif's functions, loaded on the first call; null when the library is not there (or lacks one
// of them). The table lives as long as the process.
const HeifLibrary* LoadHeifLibrary();

}  // namespace picture
