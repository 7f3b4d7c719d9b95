// Stands in for netsh.exe in the package tests' Wine prefix: appends its
// command line to the file named by VANTREL_NETSH_LOG, so that a test sees
// which firewall rules an installer asked for. It fails, as netsh does where
// no firewall service runs, when the command line contains the text in
// VANTREL_NETSH_FAIL.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
    const char* commandLine = ::GetCommandLineA();
    char path[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("VANTREL_NETSH_LOG", path, sizeof path) - 1u < sizeof path - 1) {
        if (std::FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "%s\n", commandLine);
            std::fclose(log);
        }
    }
    char failOn[256] = {};
    const DWORD length = ::GetEnvironmentVariableA("VANTREL_NETSH_FAIL", failOn, sizeof failOn);
    return length > 0 && length < sizeof failOn && std::strstr(commandLine, failOn) ? 1 : 0;
}
