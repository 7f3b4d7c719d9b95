// The files with prepared version resources that are built beside the test
// program.
#ifndef VANTREL_TESTS_VERSION_TESTFILES_H
#define VANTREL_TESTS_VERSION_TESTFILES_H

#include "tests/common/ProgramFolder.h"

#include <string>

// One of the resource-only DLLs built from tests/version/data.
inline std::string VersionDataFile(const char* name) {
    return harness::ProgramFolder() + "version-data\\" + name + ".dll";
}

#endif  // VANTREL_TESTS_VERSION_TESTFILES_H
