#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace timer::form {

// Texts cross between the count's UTF-16 and QString unit for unit, with no
// normalisation, so lengths stay in UTF-16 units on both sides.
inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string fromQString(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Control and property names, which are ASCII.
inline QString toQString(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace timer::form
