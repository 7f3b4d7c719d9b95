// The real tool started as its own process under the window system, with the
// library's target set to a loopback port of the test's own, and read from
// outside through its windows.
#ifndef VANTREL_TESTS_VERSION_TOOLPROCESS_H
#define VANTREL_TESTS_VERSION_TOOLPROCESS_H

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// A UDP socket on 127.0.0.1 that receives whatever the tool's library sends.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool IsOpen() const { return m_socket != INVALID_SOCKET; }
    unsigned short Port() const { return m_nPort; }
    // Whether a datagram is waiting, or arrives within nMilliseconds.
    bool HasDatagram(int nMilliseconds = 0) const;

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_nPort = 0;
};

// One run of the tool; ended (if still running) when the object goes.
class ToolProcess {
public:
    // Starts szProgram in szFolder with ZOVA_TARGET=127.0.0.1:nPort.
    ToolProcess(const std::string& strProgram, const std::string& strFolder, unsigned short nPort);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    bool IsStarted() const { return m_info.hProcess != nullptr; }
    // The tool's top-level dialog captioned strCaption, waited for while the
    // tool runs (bounded); null when none appears.
    HWND WaitForDialog(const std::string& strCaption) const;
    // Every top-level dialog of the tool now, by caption.
    std::vector<std::string> DialogCaptions() const;
    // Waits (bounded) until the tool has ended; true when it did.
    bool WaitForExit() const;

private:
    std::vector<HWND> Dialogs() const;

    PROCESS_INFORMATION m_info{};
};

// Every static text of a dialog, in child order.
std::vector<std::string> StaticTexts(HWND hDlg);

#endif  // VANTREL_TESTS_VERSION_TOOLPROCESS_H
