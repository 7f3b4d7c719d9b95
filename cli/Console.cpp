#include "cli/Console.h"

#include "cli/ExitStatus.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <iostream>

namespace cli {

namespace {

std::atomic<int> g_interrupts{0};

// Runs on a thread of the system's own while the main thread works on.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (++g_interrupts > 1)
        ::TerminateProcess(::GetCurrentProcess(), kInterrupted);
    // The system ends the process once this returns from a close, or 5 s
    // after the close: until then the main thread finishes its line.
    if (event == CTRL_CLOSE_EVENT)
        ::Sleep(4500);
    return TRUE;
}

// A system whose code page is UTF-8 itself needs no conversion.
bool SystemIsUtf8() {
    return ::GetACP() == CP_UTF8;
}

std::string ToUtf8(std::string_view text) {
    if (text.empty() || SystemIsUtf8())
        return std::string(text);
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], size);
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> FromUtf8(std::string_view text) {
    if (text.empty() || SystemIsUtf8())
        return std::string(text);
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int units =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], size);
    if (units == 0)
        return std::nullopt;
    BOOL lost = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units,
                                            nullptr, 0, nullptr, &lost);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, &narrow[0], bytes,
                          nullptr, &lost);
    if (lost)
        return std::nullopt;
    return narrow;
}

}  // namespace

void UseBinaryOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool InputIsConsole() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

bool ReadSecret(const std::string& prompt, std::string& line) {
    static bool firstLine = true, utf8 = false;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(input, &mode) != 0;
    if (console) {
        Err(prompt);
        ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    line.clear();
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (console) {
        ::SetConsoleMode(input, mode);
        Err("\n");
    }
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (firstLine)
        utf8 = DropBom(line);
    firstLine = false;
    if (utf8)
        line = FromUtf8(line).value_or(line);
    return read;
}

void Out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void Err(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

const CodePage& SystemCodePage() {
    static const CodePage codePage{&ToUtf8, &FromUtf8};
    return codePage;
}

void CatchInterrupts() {
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool Interrupted() {
    return g_interrupts.load() > 0;
}

}  // namespace cli
