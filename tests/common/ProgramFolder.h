// Where the test program runs from: the tool, its library, the simulator and
// the prepared files are built beside it.
#ifndef VANTREL_TESTS_COMMON_PROGRAMFOLDER_H
#define VANTREL_TESTS_COMMON_PROGRAMFOLDER_H

#include <windows.h>

#include <string>

namespace harness {

inline std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// With the closing backslash.
inline std::string ProgramFolder() {
    const std::string path = ProgramPath();
    return path.substr(0, path.find_last_of("\\/") + 1);
}

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_PROGRAMFOLDER_H
