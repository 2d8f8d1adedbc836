#include "platform/errors.h"

#include "platform/utf16.h"

#include <cstdint>

namespace timer::platform {

namespace {

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    constexpr char32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf16Character character = characterAt(text, i);
        appendUtf8(out, isSurrogate(character.codePoint) ? kReplacement : character.codePoint);
        i += character.units;
    }
    return out;
}

FieldError::FieldError(const std::string& what, Display label, std::u16string text)
    : HandlerError(std::string(name(label)) + ": '" + toUtf8(text) + "' " + what)
    , label_(label)
    , text_(std::move(text))
{
}

ConversionError::ConversionError(Display label, std::u16string text)
    : FieldError("is not a number", label, std::move(text))
{
}

NegativeFieldError::NegativeFieldError(Display label, std::u16string text)
    : FieldError("is below zero and cannot be counted down", label, std::move(text))
{
}

ArithmeticError::ArithmeticError()
    : HandlerError("arithmetic error: the decrement overflowed or has no valid result")
{
}

} // namespace timer::platform
