// A buffer in another process, for the list-view and header messages whose
// data must live in the process that owns the control.
#ifndef VANTREL_TOOLS_REMOTEBUFFER_H
#define VANTREL_TOOLS_REMOTEBUFFER_H

#include <windows.h>

#include <cstddef>

namespace tools {

class RemoteBuffer {
public:
    RemoteBuffer(HANDLE hProcess, std::size_t nSize)
        : m_hProcess(hProcess),
          m_pBuffer(::VirtualAllocEx(hProcess, nullptr, nSize, MEM_COMMIT | MEM_RESERVE,
                                     PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (m_pBuffer)
            ::VirtualFreeEx(m_hProcess, m_pBuffer, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* Address() const { return static_cast<char*>(m_pBuffer); }

private:
    HANDLE m_hProcess;
    void* m_pBuffer;
};

}  // namespace tools

#endif  // VANTREL_TOOLS_REMOTEBUFFER_H
