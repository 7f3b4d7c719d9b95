// A file's version resource, read whole into one heap block: the one way both
// version readers get at it.
#ifndef VANTREL_VERSION_VERSIONBLOCK_H
#define VANTREL_VERSION_VERSIONBLOCK_H

#include "version/VersionPointer.h"

#include <windows.h>

namespace version {

// Reads the version resource of the named file into block, which then owns
// it: zeroed first and one byte longer than the resource. False when the file
// has no version resource or it cannot be read.
bool ReadVersionBlock(LPCSTR pszFileName, CVFXPointer& block);

}  // namespace version

#endif  // VANTREL_VERSION_VERSIONBLOCK_H
