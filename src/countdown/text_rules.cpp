#include "countdown/text_rules.h"

#include "platform/errors.h"
#include "platform/utf16.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace timer::countdown {

namespace {

// The first of each run of ten decimal digits, 0 to 9 in a row, in Unicode
// 15.1 (category Nd): ASCII, Arabic-Indic, Persian, Devanagari ... full
// width, the mathematical digits.
constexpr std::array<char32_t, 68> kDigitZeros{
    0x30, 0x660, 0x6F0, 0x7C0, 0x966, 0x9E6, 0xA66, 0xAE6, 0xB66, 0xBE6, 0xC66, 0xCE6, 0xD66,
    0xDE6, 0xE50, 0xED0, 0xF20, 0x1040, 0x1090, 0x17E0, 0x1810, 0x1946, 0x19D0, 0x1A80, 0x1A90,
    0x1B50, 0x1BB0, 0x1C40, 0x1C50, 0xA620, 0xA8D0, 0xA900, 0xA9D0, 0xA9F0, 0xAA50, 0xABF0, 0xFF10,
    0x104A0, 0x10D30, 0x11066, 0x110F0, 0x11136, 0x111D0, 0x112F0, 0x11450, 0x114D0, 0x11650,
    0x116C0, 0x11730, 0x118E0, 0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x11F50, 0x16A60, 0x16AC0,
    0x16B50, 0x1D7CE, 0x1D7D8, 0x1D7E2, 0x1D7EC, 0x1D7F6, 0x1E140, 0x1E2F0, 0x1E4F0, 0x1E950,
    0x1FBF0};

// The ASCII digit that a decimal digit of any script stands for; 0 where the
// character is none.
char16_t asciiDigit(char32_t character)
{
    const auto* const after = std::ranges::upper_bound(kDigitZeros, character);
    if (after == kDigitZeros.begin() || character - *(after - 1) >= 10) {
        return 0;
    }
    return static_cast<char16_t>(u'0' + (character - *(after - 1)));
}

// The text with every decimal digit written as the ASCII digit it stands for:
// "٣" (Arabic-Indic), "۳" (Persian) and "３" (full width) read as "3". A
// digit beyond the BMP is a surrogate pair.
std::u16string withAsciiDigits(std::u16string_view text)
{
    std::u16string ascii;
    ascii.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const platform::Utf16Character character = platform::characterAt(text, i);
        if (const char16_t digit = asciiDigit(character.codePoint); digit != 0) {
            ascii += digit;
        } else {
            ascii += text.substr(i, character.units);
        }
        i += character.units;
    }
    return ascii;
}

bool isBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }
bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }
bool isSign(char16_t unit) { return unit == u'+' || unit == u'-'; }

std::size_t skipDigits(std::u16string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

std::size_t skipBlanks(std::u16string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

// The length of the longest number at the start of the text, 0 when none.
std::size_t numberPrefixLength(std::u16string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && isSign(text[at])) {
        ++at;
    }
    const std::size_t integerEnd = skipDigits(text, at);
    std::size_t digits = integerEnd - at;
    at = integerEnd;
    if (at < text.size() && text[at] == u'.') {
        const std::size_t fractionEnd = skipDigits(text, at + 1);
        digits += fractionEnd - (at + 1);
        at = fractionEnd;
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only with at least one digit; "5e" reads as "5".
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && isSign(text[exponent])) {
            ++exponent;
        }
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent) {
            at = exponentEnd;
        }
    }
    return at;
}

// strtod in the "C" locale whatever the program's locale is, so '.' is the
// decimal point; errno is ERANGE when the value is out of range. Each system
// names its locale-taking variant differently.
double strtodInCLocale(const char* text)
{
#ifdef _WIN32
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(text, nullptr, cLocale);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text, nullptr, cLocale);
#endif
}

struct Converted {
    double value;
    bool overflow;
};

// Precondition: number is a whole number of the form numberPrefixLength
// accepts in a text withAsciiDigits wrote, so every unit is ASCII.
Converted convert(std::u16string_view number)
{
    std::string ascii(number.begin(), number.end());
    // from_chars reads '.' whatever the locale says, but takes no '+'.
    const std::size_t skip = ascii.front() == '+' ? 1 : 0;
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data() + skip, ascii.data() + ascii.size(), value);
    if (error == std::errc()) {
        return {value, false};
    }
    // Out of range, above or below: strtod in the C locale tells which, and
    // gives the nearest double (an infinity, or 0 or a subnormal).
    errno = 0;
    value = strtodInCLocale(ascii.c_str());
    return {value, errno == ERANGE && std::isinf(value)};
}

// NumberFromText of a text whose digits are ASCII.
std::optional<double> wholeNumber(std::u16string_view text)
{
    const std::size_t begin = skipBlanks(text, 0);
    const std::size_t length = numberPrefixLength(text.substr(begin));
    if (length == 0 || skipBlanks(text, begin + length) != text.size()) {
        return std::nullopt;
    }
    const Converted converted = convert(text.substr(begin, length));
    if (converted.overflow) {
        return std::nullopt;
    }
    return converted.value;
}

// ValFromText of a text whose digits are ASCII.
double leadingNumber(std::u16string_view text)
{
    const std::size_t begin = skipBlanks(text, 0);
    const std::size_t length = numberPrefixLength(text.substr(begin));
    if (length == 0) {
        return 0.0;
    }
    const Converted converted = convert(text.substr(begin, length));
    if (converted.overflow) {
        std::feraiseexcept(FE_OVERFLOW);
    }
    return converted.value;
}

} // namespace

std::optional<double> NumberFromText(std::u16string_view text) { return wholeNumber(withAsciiDigits(text)); }

double ValFromText(std::u16string_view text) { return leadingNumber(withAsciiDigits(text)); }

std::u16string TextFromNumber(double value)
{
    if (std::isnan(value)) {
        return u"nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-inf" : u"inf";
    }
    if (value == 0.0) {
        return u"0"; // negative zero too
    }
    // Fixed notation at its shortest round-trip length: whole numbers get no
    // '.', and the longest text (the smallest subnormal) is 327 characters.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::u16string(buffer.data(), result.ptr);
}

std::u16string TextFromInteger(std::int16_t value)
{
    std::array<char, 8> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::u16string(buffer.data(), result.ptr);
}

bool IsEmptyText(std::u16string_view text) { return text.empty(); }

std::size_t TextLength(std::u16string_view text) { return text.size(); }

std::u16string ZeroPrefix(std::u16string_view text)
{
    std::u16string prefixed(u"0");
    prefixed += text;
    return prefixed;
}

double Decrement(double value)
{
    // volatile keeps the subtraction ahead of the flag test.
    const volatile double result = value - 1.0;
    if (std::fetestexcept(kCheckedFlags) != 0) {
        throw platform::ArithmeticError();
    }
    return result;
}

bool IsBelowEleven(double value) { return !(value >= 11.0); }

bool IsEqualToZero(double value) { return !(value < 0.0) && !(value > 0.0); }

bool IsAboveZero(double value) { return value > 0.0; }

} // namespace timer::countdown
