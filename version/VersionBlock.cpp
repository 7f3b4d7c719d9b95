#include "version/VersionBlock.h"

#include <winver.h>

#include <cstdlib>

namespace version {

bool ReadVersionBlock(LPCSTR pszFileName, CVFXPointer& block) {
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(pszFileName, &dwHandle);
    if (dwSize == 0) {
        return false;
    }
    block.Reset(std::calloc(dwSize + 1, 1));
    if (block.IsNull()) {
        return false;
    }
    return ::GetFileVersionInfoA(pszFileName, dwHandle, dwSize, block.Get()) != FALSE;
}

}  // namespace version
