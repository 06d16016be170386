#include "update/update_rules.h"

#include <charconv>
#include <limits>
#include <string>

#include "update/update_texts.h"

namespace update {
namespace {

// A character of the text with the length of its UTF-8 form.
struct Symbol {
    char halfWidth;
    std::size_t length;
};

struct FullWidthForm {
    std::string_view text;
    char halfWidth;
};

// Manifests typed with a Chinese input method may carry full-width numbers.
constexpr FullWidthForm fullWidthForms[] = {
    {"＋", '+'}, {"－", '-'}, {"．", '.'}, {"　", ' '}, {"０", '0'}, {"１", '1'}, {"２", '2'},
    {"３", '3'}, {"４", '4'}, {"５", '5'}, {"６", '6'}, {"７", '7'}, {"８", '8'}, {"９", '9'},
};

// Any other byte, lead byte or not, stands for itself and so ends the number: a broken
// sequence is never read past its end.
Symbol ReadSymbol(std::string_view text) {
    for (const FullWidthForm& form : fullWidthForms) {
        if (text.starts_with(form.text)) return {form.halfWidth, form.text.size()};
    }
    return {text.front(), 1};
}

bool IsDigit(char symbol) { return symbol >= '0' && symbol <= '9'; }
bool IsBlank(char symbol) { return symbol == ' ' || symbol == '\t'; }

// Appends the digits text starts with to digits and returns the rest of text.
std::string_view TakeDigits(std::string_view text, std::string& digits) {
    while (!text.empty()) {
        const Symbol symbol = ReadSymbol(text);
        if (!IsDigit(symbol.halfWidth)) break;
        digits += symbol.halfWidth;
        text.remove_prefix(symbol.length);
    }
    return text;
}

}  // namespace

double VersionNumber(std::string_view text) {
    while (!text.empty() && IsBlank(ReadSymbol(text).halfWidth)) {
        text.remove_prefix(ReadSymbol(text).length);
    }
    bool negative = false;
    if (!text.empty()) {
        const Symbol sign = ReadSymbol(text);
        if (sign.halfWidth == '+' || sign.halfWidth == '-') {
            negative = sign.halfWidth == '-';
            text.remove_prefix(sign.length);
        }
    }
    std::string integerDigits;
    text = TakeDigits(text, integerDigits);
    std::string fractionDigits;
    if (!text.empty() && ReadSymbol(text).halfWidth == '.') {
        TakeDigits(text.substr(ReadSymbol(text).length), fractionDigits);
    }
    if (integerDigits.empty() && fractionDigits.empty()) return 0;

    // Handed over as digits, point and digits only, so that the conversion rounds correctly
    // and sees nothing it could take for an exponent.
    std::string number = integerDigits.empty() ? "0" : integerDigits;
    if (!fractionDigits.empty()) number += '.' + fractionDigits;
    double magnitude = 0;
    const std::from_chars_result read = std::from_chars(
        number.data(), number.data() + number.size(), magnitude, std::chars_format::fixed);
    if (read.ec == std::errc::result_out_of_range) {
        // Without an exponent only a long integer part overflows; a tiny fraction is 0.
        const bool integerPartIsZero = integerDigits.find_first_not_of('0') == std::string::npos;
        magnitude = integerPartIsZero ? 0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -magnitude : magnitude;
}

double FileVersionNumber(unsigned major, unsigned minor) {
    return VersionNumber(std::to_string(major) + '.' + std::to_string(minor));
}

bool IsNewerVersion(double latest, double current) { return latest - current > versionTolerance; }

std::string UpdateOfferText(std::string_view version, std::string_view notes) {
    std::string text(offerHeading);
    text += offerVersionLabel;
    text += version;
    text += offerNotesLabel;
    text += notes;
    return text;
}

}  // namespace update
