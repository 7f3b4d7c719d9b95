// The library check as a user meets it: the real tool started beside zova.dll
// builds that carry different version resources. A refused library ends the
// tool before it sends anything; an accepted one lets it scan.
// Winsock's header before any that brings in windows.h.
#include <winsock2.h>

#include "tests/common/ProgramFolder.h"
#include "tests/common/ToolProcess.h"
#include "tests/common/WindowText.h"

#include <commctrl.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace {

using harness::ProgramFolder;
using harness::ToolProcess;
using harness::WindowText;

// A UDP socket on 127.0.0.1 that receives whatever the tool's library sends.
class LoopbackListener {
public:
    LoopbackListener() {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return;
        m_socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int nLength = sizeof address;
        if (m_socket == INVALID_SOCKET ||
            ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &nLength) != 0) {
            if (m_socket != INVALID_SOCKET)
                ::closesocket(m_socket);
            m_socket = INVALID_SOCKET;
            return;
        }
        m_nPort = ntohs(address.sin_port);
    }
    ~LoopbackListener() {
        if (m_socket != INVALID_SOCKET)
            ::closesocket(m_socket);
        ::WSACleanup();
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool IsOpen() const { return m_socket != INVALID_SOCKET; }
    // "127.0.0.1:<port>", the value for ZOVA_TARGET.
    std::string Target() const { return "127.0.0.1:" + std::to_string(m_nPort); }
    // Whether a datagram is waiting, or arrives within nMilliseconds.
    bool HasDatagram(int nMilliseconds = 0) const {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval timeout{nMilliseconds / 1000, (nMilliseconds % 1000) * 1000};
        return ::select(0, &readable, nullptr, nullptr, &timeout) == 1;
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_nPort = 0;
};

const char kTitle[] = "Vantrel Config v1.4.0";
const int kScanWaitMilliseconds = 60000;  // a bound, not an expectation

struct Variant {
    const char* folder;  // under zova-variants, beside a copy of the tool
    const char* description;
    bool accepted;
};

const Variant kVariants[] = {
    {"fv_dots", "FileVersion 1.1.0.3", true},
    {"fv_commas", "FileVersion 1, 1, 0, 3", true},
    {"fv_two_numbers", "FileVersion 1.1", true},
    {"fv_minor_2", "FileVersion 1.2.0", false},
    {"fv_major_2", "FileVersion 2.1.0", false},
    {"no_version", "no version resource", false},
    {"two_translations", "two translations, none for the user's language", false},
};

// Names the case in test listings instead of its bytes.
void PrintTo(const Variant& variant, std::ostream* os) {
    *os << variant.description;
}

std::string ToolIn(const char* folder) {
    return ProgramFolder() + "zova-variants\\" + folder + "\\VantrelConfig.exe";
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

int ColumnCount(HWND hMainDlg) {
    HWND hList = ::GetDlgItem(hMainDlg, 1002);
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    return static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0));
}

class LibraryCheck : public ::testing::TestWithParam<Variant> {};

TEST_P(LibraryCheck, AcceptedLibraryScansRefusedOneEndsTheToolFirst) {
    const Variant& variant = GetParam();
    SCOPED_TRACE(variant.description);
    LoopbackListener listener;
    ASSERT_TRUE(listener.IsOpen());
    // Started from the folder of the accepted library: only the library beside
    // the tool may count, not one in the current directory.
    ToolProcess tool(listener.Target(), ToolIn(variant.folder), ProgramFolder());
    ASSERT_TRUE(tool.Started()) << ToolIn(variant.folder);

    if (variant.accepted) {
        EXPECT_TRUE(listener.HasDatagram(kScanWaitMilliseconds)) << "no scan was sent";
        HWND hMain = tool.WaitForDialog(kTitle);
        ASSERT_NE(hMain, nullptr);
        EXPECT_FALSE(Contains(tool.OtherDialogs(), "Warning"));
        EXPECT_EQ(ColumnCount(hMain), 7);
        ::PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(tool.WaitForExit());
        return;
    }

    HWND hBox = tool.WaitForDialog("Warning");
    ASSERT_NE(hBox, nullptr) << "no refusal; dialogs: "
                             << ::testing::PrintToString(tool.OtherDialogs());
    EXPECT_EQ(harness::MessageOf(hBox), "Incorrect DLL version");
    // Owned by the main dialog, which already shows its title and has no columns.
    HWND hOwner = ::GetWindow(hBox, GW_OWNER);
    EXPECT_EQ(WindowText(hOwner), kTitle);
    EXPECT_EQ(ColumnCount(hOwner), 0);

    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(tool.WaitForExit()) << "the tool went on after the refusal";
    // The tool has ended, so anything it sent has arrived by now.
    EXPECT_FALSE(listener.HasDatagram()) << "the refused tool sent something";
}

INSTANTIATE_TEST_SUITE_P(ZovaBuilds, LibraryCheck, ::testing::ValuesIn(kVariants),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                             return std::string(info.param.folder);
                         });

}  // namespace
