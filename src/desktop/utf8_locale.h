#pragma once

namespace timer::desktop {

// Qt reads and writes text as UTF-8 and, where the environment names no
// UTF-8 locale (a fresh container sets no LANG), switches to one itself and
// says so on stderr. This makes the same switch quietly before Qt starts:
// the environment's locale with UTF-8 as its encoding, else C.UTF-8. Qt's
// own reading of the environment then finds it.
void chooseUtf8Locale();

} // namespace timer::desktop
