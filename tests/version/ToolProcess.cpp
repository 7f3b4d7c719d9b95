#include "ToolProcess.h"

#include <ws2tcpip.h>

#include <utility>

namespace {

// Bounds for waiting on the tool, so that a fault fails the test instead of
// hanging it; generous, as Wine starts programs slowly on a busy machine.
const int kPollMilliseconds = 100;
const int kPollCount = 600;

std::string TextOf(HWND hWnd) {
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND hWnd) {
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

}  // namespace

LoopbackListener::LoopbackListener() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return;
    }
    m_socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int nLength = sizeof address;
    if (m_socket == INVALID_SOCKET ||
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &nLength) != 0) {
        if (m_socket != INVALID_SOCKET) {
            ::closesocket(m_socket);
        }
        m_socket = INVALID_SOCKET;
        return;
    }
    m_nPort = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    if (m_socket != INVALID_SOCKET) {
        ::closesocket(m_socket);
    }
    ::WSACleanup();
}

bool LoopbackListener::HasDatagram(int nMilliseconds) const {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval timeout{nMilliseconds / 1000, (nMilliseconds % 1000) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &timeout) == 1;
}

ToolProcess::ToolProcess(const std::string& strProgram, const std::string& strFolder,
                         unsigned short nPort) {
    // The child inherits the target; the test process itself never loads the library.
    const std::string strTarget = "127.0.0.1:" + std::to_string(nPort);
    char szSaved[64] = {};
    const bool bHadTarget = ::GetEnvironmentVariableA("ZOVA_TARGET", szSaved, sizeof szSaved) > 0;
    ::SetEnvironmentVariableA("ZOVA_TARGET", strTarget.c_str());
    STARTUPINFOA startup{sizeof startup};
    std::string strCommand = "\"" + strProgram + "\"";
    if (!::CreateProcessA(strProgram.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                          strFolder.c_str(), &startup, &m_info)) {
        m_info = PROCESS_INFORMATION{};
    }
    ::SetEnvironmentVariableA("ZOVA_TARGET", bHadTarget ? szSaved : nullptr);
}

ToolProcess::~ToolProcess() {
    if (m_info.hProcess == nullptr) {
        return;
    }
    if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 10000);
    }
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

std::vector<HWND> ToolProcess::Dialogs() const {
    std::pair<DWORD, std::vector<HWND>> search{m_info.dwProcessId, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
            DWORD dwProcess = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcess);
            if (dwProcess == pSearch->first && ClassOf(hWnd) == "#32770") {
                pSearch->second.push_back(hWnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::vector<std::string> ToolProcess::DialogCaptions() const {
    std::vector<std::string> captions;
    for (HWND hWnd : Dialogs()) {
        captions.push_back(TextOf(hWnd));
    }
    return captions;
}

HWND ToolProcess::WaitForDialog(const std::string& strCaption) const {
    for (int i = 0; i < kPollCount && IsStarted(); ++i) {
        for (HWND hWnd : Dialogs()) {
            if (TextOf(hWnd) == strCaption) {
                return hWnd;
            }
        }
        if (::WaitForSingleObject(m_info.hProcess, kPollMilliseconds) != WAIT_TIMEOUT) {
            return nullptr;  // the tool has ended
        }
    }
    return nullptr;
}

bool ToolProcess::WaitForExit() const {
    return IsStarted() &&
           ::WaitForSingleObject(m_info.hProcess, kPollMilliseconds * kPollCount) == WAIT_OBJECT_0;
}

std::vector<std::string> StaticTexts(HWND hDlg) {
    std::vector<std::string> texts;
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (ClassOf(hChild) == "Static") {
            texts.push_back(TextOf(hChild));
        }
    }
    return texts;
}
