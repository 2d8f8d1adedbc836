#pragma once

#include <QCoreApplication>
#include <QString>

namespace timer::desktop {

// What the user is told when a count ends: the notification's body, and what
// a screen reader says.
inline QString countEndedText()
{
    return QCoreApplication::translate("timer::desktop", "הספירה לאחור הסתיימה.");
}

} // namespace timer::desktop
