#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include <thread>

namespace timer::form {

// Fontconfig reads its configuration and font cache, some milliseconds'
// work, when the first font is asked for. Made before the application
// object, this reads them in a second thread while Qt connects to the
// display; wait() (or the end of this object) waits for that thread, and
// must come before the first font and before the application object ends.
class FontconfigReadAhead {
public:
    FontconfigReadAhead();
    ~FontconfigReadAhead();
    FontconfigReadAhead(const FontconfigReadAhead&) = delete;
    FontconfigReadAhead& operator=(const FontconfigReadAhead&) = delete;

    void wait();

private:
    std::thread reader_;
};

// The family to ask for in place of one the layout names: the family itself
// where the system has it, else the first of its free stand-ins that the
// system has ("David CLM" for "David", "DejaVu Sans Condensed" for
// "MS Sans Serif", ...), else the family as named, for Qt to replace.
// Resolved here once rather than left to Qt, whose search for a missing
// family costs milliseconds at start-up.
QString familyOnThisSystem(const QString& family);

// How a control's text must fit its room: its ink (a label draws it clipped
// to its rectangle), its advance (an entry box scrolls a text wider than its
// room), or its lines broken at blanks (a wrapping button).
enum class TextFit { Ink, Advance, WrappedLines };

// `font`, or `font` made smaller a quarter point at a time until `text`
// fits `room` as `how` says. The last resort where the system lacks every
// stand-in.
QFont fitted(QFont font, const QString& text, QSizeF room, TextFit how);

} // namespace timer::form
