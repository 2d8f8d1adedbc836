#include "desktop/utf8_locale.h"

// Where the system has no POSIX locales, Qt does not ask for a UTF-8 one:
// the program keeps the locale it has.
namespace timer::desktop {

void chooseUtf8Locale() {}

} // namespace timer::desktop
