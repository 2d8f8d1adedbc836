#pragma once

#include <cstddef>
#include <string_view>

namespace timer::platform {

// One character of a control's text, as the UTF-16 code units hold it: its
// code point, and how many units it takes. A surrogate without its other
// half stands for itself, one unit long.
struct Utf16Character {
    char32_t codePoint;
    std::size_t units;
};

constexpr bool isSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Precondition: at < text.size().
constexpr Utf16Character characterAt(std::u16string_view text, std::size_t at)
{
    const char16_t unit = text[at];
    const bool paired = unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00
                        && text[at + 1] <= 0xDFFF;
    if (!paired) {
        return {unit, 1};
    }
    return {0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[at + 1] - 0xDC00), 2};
}

} // namespace timer::platform
