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

// "de_DE.ISO-8859-1@euro" as "de_DE": the language and country alone.
std::string withoutEncoding(std::string_view name) { return std::string(name.substr(0, name.find_first_of(".@"))); }

} // namespace

void chooseUtf8Locale()
{
    if (std::setlocale(LC_ALL, "") != nullptr && isUtf8(nl_langinfo(CODESET))) {
        return;
    }
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::array<std::string, 3> candidates{withoutEncoding(current != nullptr ? current : "") + ".UTF-8",
                                                "C.UTF-8", "C.utf8"};
    for (const std::string& candidate : candidates) {
        if (std::setlocale(LC_CTYPE, candidate.c_str()) != nullptr) {
            // LC_ALL, where set, outranks LC_CTYPE when Qt reads the
            // environment again.
            const char* outranking = std::getenv("LC_ALL");
            setenv(outranking != nullptr && *outranking != '\0' ? "LC_ALL" : "LC_CTYPE", candidate.c_str(), 1);
            return;
        }
    }
}

} // namespace timer::desktop
