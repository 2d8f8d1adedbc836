#pragma once

namespace timer::desktop {

// Qt reads and writes text as UTF-8. Where the environment names no UTF-8
// locale (a fresh container sets no LANG), Qt 6.5 and later switch to one
// themselves and say so on stderr; Qt 6.4 stays where it is. This makes
// the switch quietly, before Qt starts, and for the character type
// (LC_CTYPE) alone: the environment's locale with UTF-8 as its encoding and
// its modifier kept ("sr_RS@latin" as "sr_RS.UTF-8@latin"), else C.UTF-8.
// It goes into the environment too, for Qt's own reading and for the sound
// helper, where LC_ALL, which would outrank it, gives way to the other
// categories' own variables.
void chooseUtf8Locale();

} // namespace timer::desktop
