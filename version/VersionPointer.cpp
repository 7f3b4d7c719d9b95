#include "version/VersionPointer.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CVFXPointer)

void CVFXPointer::Release() {
    if (m_p != nullptr && m_bOwns) {
        std::free(m_p);
    }
    m_p = nullptr;
}
