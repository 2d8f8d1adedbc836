#include "form/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QList>

namespace timer::form {

void installFontSubstitutes()
{
    struct Substitute {
        const char* family;
        const char* replacement;
    };
    constexpr Substitute substitutes[] = {
        {"David", "David CLM"},
        {"MS Sans Serif", "DejaVu Sans Condensed"},
    };
    for (const auto& substitute : substitutes) {
        const QString family = QString::fromLatin1(substitute.family);
        if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew)) {
            QFont::insertSubstitution(family, QString::fromLatin1(substitute.replacement));
        }
    }
}

} // namespace timer::form
