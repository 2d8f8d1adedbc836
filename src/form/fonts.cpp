#include "form/fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <system_error>

namespace timer::form {

FontconfigReadAhead::FontconfigReadAhead()
{
    try {
        reader_ = std::thread(FcInit);
    } catch (const std::system_error&) {
        // No second thread: Qt reads them on the first font, as it would.
    }
}

FontconfigReadAhead::~FontconfigReadAhead() { wait(); }

void FontconfigReadAhead::wait()
{
    if (reader_.joinable()) {
        reader_.join();
    }
}

QString familyOnThisSystem(const QString& family)
{
    struct StandIns {
        QLatin1StringView family;
        std::initializer_list<QLatin1StringView> replacements;
    };
    // Each list: the closest look first, then faces that fonts-dejavu-core
    // alone provides.
    static const std::initializer_list<QLatin1StringView> sans{QLatin1StringView("DejaVu Sans Condensed"),
                                                               QLatin1StringView("DejaVu Sans")};
    static const std::array<StandIns, 3> standIns{{
        {QLatin1StringView("David"), {QLatin1StringView("David CLM"), QLatin1StringView("DejaVu Serif")}},
        {QLatin1StringView("MS Sans Serif"), sans},
        {QLatin1StringView("Frank Ruehl CLM"), sans},
    }};
    // families() is a plain list; hasFamily() would ask fontconfig each time.
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(family, Qt::CaseInsensitive)) {
        return family;
    }
    for (const auto& entry : standIns) {
        if (family != entry.family) {
            continue;
        }
        for (const auto replacement : entry.replacements) {
            if (installed.contains(replacement, Qt::CaseInsensitive)) {
                return replacement;
            }
        }
    }
    return family;
}

QFont fitted(QFont font, const QString& text, QSizeF room, TextFit how)
{
    constexpr double kStep = 0.25;
    constexpr double kSmallest = 4;
    const auto fits = [&] {
        const QFontMetricsF metrics(font);
        switch (how) {
        case TextFit::Ink: {
            // Whether the text starts at the left edge or is centred.
            const QRectF ink = metrics.tightBoundingRect(text);
            return std::max(ink.width(), ink.right()) <= room.width();
        }
        case TextFit::Advance:
            return metrics.horizontalAdvance(text) <= room.width();
        case TextFit::WrappedLines: {
            const QRectF lines = metrics.boundingRect(QRectF(QPointF(), room), Qt::TextWordWrap, text);
            return lines.width() <= room.width() && lines.height() <= room.height();
        }
        }
        return true;
    };
    while (!fits() && font.pointSizeF() - kStep >= kSmallest) {
        font.setPointSizeF(font.pointSizeF() - kStep);
    }
    return font;
}

} // namespace timer::form
