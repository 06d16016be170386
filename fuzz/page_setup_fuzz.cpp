// Fuzzes the page setup file's reader: whatever the bytes, a page setup read from them is written
// back as a file that reads as the same page setup, and the codes of its header and footer
// expand without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/page_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto setup = text::ParsePageSetup(bytes);
    if (!setup) return 0;
    const std::string file = text::SerializePageSetup(*setup);
    if (text::ParsePageSetup(file) != setup) std::abort();
    const text::FieldValues values{u"", 1, 2, u"d", u"t"};
    for (const text::HeaderFooter& part : {setup->header, setup->footer}) {
        for (const std::u16string& field : {part.left, part.centre, part.right}) text::ExpandFields(field, values);
    }
    return 0;
}
