// libFuzzer target for the text rules: no input may crash them, and the
// readers and the writer keep their promises to each other.
#include "countdown/text_rules.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

// Latin-1 has no decimal digits but ASCII's; the other scripts' lie beyond it.
bool mayHoldADigit(std::u16string_view text)
{
    return std::ranges::any_of(text, [](char16_t unit) { return (unit >= u'0' && unit <= u'9') || unit > 0xFF; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace timer::countdown;

    // The bytes as UTF-16 units, plus each byte widened alone, so that both
    // arbitrary units and plain ASCII texts are reached.
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    const std::u16string widened(data, data + size);

    for (const std::u16string& text : {units, widened}) {
        const double val = ValFromText(text); // never fails
        const auto number = NumberFromText(text);
        if (!mayHoldADigit(text)) {
            check(!number.has_value());
        }
        if (number) {
            check(std::isfinite(*number));
            check(val == *number || (std::isnan(val) && std::isnan(*number)));
            check(NumberFromText(TextFromNumber(*number)) == *number);
        }
    }

    // Any eight bytes as a double: a finite one reads back exactly.
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            const auto back = NumberFromText(TextFromNumber(value));
            check(back.has_value() && *back == value);
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    return 0;
}
