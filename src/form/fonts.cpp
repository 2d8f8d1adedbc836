#include "form/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace timer::form {

QString familyOnThisSystem(const QString& family)
{
    struct Substitute {
        QLatin1StringView family;
        QLatin1StringView replacement;
    };
    static constexpr Substitute substitutes[] = {
        {QLatin1StringView("David"), QLatin1StringView("David CLM")},
        {QLatin1StringView("MS Sans Serif"), QLatin1StringView("DejaVu Sans Condensed")},
    };
    // families() is a plain list; hasFamily() would ask fontconfig each time.
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(family, Qt::CaseInsensitive)) {
        return family;
    }
    for (const auto& substitute : substitutes) {
        if (family == substitute.family) {
            return substitute.replacement;
        }
    }
    return family;
}

} // namespace timer::form
