#include "desktop/utf8_locale.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <string>
#include <string_view>
#include <strings.h>

namespace timer::desktop {

namespace {

bool isUtf8(const char* encoding) { return strcasecmp(encoding, "UTF-8") == 0 || strcasecmp(encoding, "utf8") == 0; }

// The variables of the categories besides LC_CTYPE: POSIX's, then glibc's.
constexpr std::array kOtherCategories{"LC_COLLATE",        "LC_MESSAGES",    "LC_MONETARY", "LC_NUMERIC",
                                      "LC_TIME",           "LC_ADDRESS",     "LC_NAME",     "LC_PAPER",
                                      "LC_IDENTIFICATION", "LC_MEASUREMENT", "LC_TELEPHONE"};

// A variable as setlocale reads it: empty counts as unset.
const char* valueOf(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The locale the environment names for the character type, as setlocale
// finds it, also where that locale is not installed.
std::string characterTypeLocale()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const char* value = valueOf(name)) {
            return value;
        }
    }
    return "C";
}

// "de_DE.ISO-8859-1@euro" as "de_DE.UTF-8@euro": the modifier may choose a
// script (sr_RS@latin), which the UTF-8 form must keep.
std::string utf8Form(std::string_view name)
{
    const std::size_t modifier = name.find('@');
    const std::size_t encoding = name.substr(0, modifier).find('.');
    std::string form(name.substr(0, encoding == std::string_view::npos ? modifier : encoding));
    form += ".UTF-8";
    if (modifier != std::string_view::npos) {
        form += name.substr(modifier);
    }
    return form;
}

// Qt sets its locale from the environment again, and the sound helper
// inherits it. LC_ALL would outrank LC_CTYPE there, so it gives way to each
// other category's own variable, with its value.
void handOn(const std::string& characterType)
{
    if (const char* all = valueOf("LC_ALL")) {
        const std::string value(all);
        for (const char* category : kOtherCategories) {
            setenv(category, value.c_str(), 1);
        }
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", characterType.c_str(), 1);
}

} // namespace

void chooseUtf8Locale()
{
    // Every category as Qt sets them, or, where one is not installed, none:
    // all stay "C".
    if (std::setlocale(LC_ALL, "") != nullptr && isUtf8(nl_langinfo(CODESET))) {
        return;
    }
    const std::array<std::string, 3> candidates{utf8Form(characterTypeLocale()), "C.UTF-8", "C.utf8"};
    for (const std::string& candidate : candidates) {
        if (std::setlocale(LC_CTYPE, candidate.c_str()) != nullptr) {
            handOn(candidate);
            return;
        }
    }
}

} // namespace timer::desktop
