// Paths of the test program and of the files with prepared version resources
// that are built beside it.
#ifndef VANTREL_TESTS_VERSION_TESTFILES_H
#define VANTREL_TESTS_VERSION_TESTFILES_H

#include <windows.h>

#include <string>

inline std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

inline std::string ProgramFolder() {
    const std::string path = ProgramPath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

// One of the resource-only DLLs built from tests/version/data.
inline std::string VersionDataFile(const char* name) {
    return ProgramFolder() + "version-data\\" + name + ".dll";
}

#endif  // VANTREL_TESTS_VERSION_TESTFILES_H
