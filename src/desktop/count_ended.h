#pragma once

#include <QStringView>

namespace timer::desktop {

// What the user is told when a count ends: the notification's body, and what
// a screen reader says.
inline constexpr QStringView kCountEndedText = u"הספירה לאחור הסתיימה.";

} // namespace timer::desktop
