#include "configure/InputRules.h"

namespace configure {

bool IsLegalHostname(const char* hostname) {
    for (const char* p = hostname; *p != '\0'; ++p) {
        const char c = *p;
        const bool legal =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!legal)
            return false;
    }
    return true;
}

}  // namespace configure
