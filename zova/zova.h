// Interface of the device-protocol library zova.dll.
//
// The records cross the DLL boundary by address, so their layouts are part of
// the contract: every offset is pinned by a static_assert below. The header is
// plain C++ so that the simulator and the native tests share the records.
#ifndef VANTREL_ZOVA_ZOVA_H
#define VANTREL_ZOVA_ZOVA_H

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#if defined(ZOVA_BUILDING_DLL)
#define ZOVA_API __declspec(dllexport)
#elif defined(ZOVA_STATIC)
#define ZOVA_API
#else
#define ZOVA_API __declspec(dllimport)
#endif
#else
#define ZOVA_API
#endif

// The functions and the callback use the C calling convention, named so that
// a 32-bit caller compiled with another default (/Gz: __stdcall) still calls
// them right; their export names stay undecorated. x64 has one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define ZOVA_CALL __cdecl
#else
#define ZOVA_CALL
#endif

#pragma pack(push, 1)

// One device's answer to a module scan. Multi-byte fields are little-endian;
// an IPv4 address holds its first dotted octet in the most significant byte.
struct ZOVA_ModuleScanResponseType {
    std::uint8_t bProtocolVersionMajor;
    std::uint8_t bProtocolVersionMinor;
    std::uint8_t bReserved2;
    char szType[128];
    std::uint8_t bTypeValid;
    std::uint8_t bFwVersionMajor;
    std::uint8_t bFwVersionMinor;
    std::uint16_t wFwBuild;
    std::uint8_t bFwVersionValid;
    std::uint8_t abMacAddr[6];
    std::uint8_t bMacAddrValid;
    std::uint32_t dwIpAddr;
    std::uint8_t bIpAddrValid;
    std::uint8_t abReserved149[3];
    std::uint32_t dwSubnetMask;
    std::uint8_t bSubnetMaskValid;
    std::uint8_t abReserved157[3];
    std::uint32_t dwGateway;
    std::uint8_t bGatewayValid;
    std::uint8_t bDhcpOn;
    std::uint8_t bDhcpValid;
    std::uint8_t bPasswordOn;
    std::uint8_t bPasswordValid;
    char szHostname[128];
    std::uint8_t bHostnameValid;
    std::uint8_t abReserved298[2];
    std::uint32_t dwPrimaryDns;
    std::uint8_t bPrimaryDnsValid;
    std::uint8_t abReserved305[3];
    std::uint32_t dwSecondaryDns;
    std::uint8_t bSecondaryDnsValid;
    char szPasswordSalt[35];
    std::uint8_t bPasswordSaltValid;
    std::uint8_t abReserved349[3];
};

// A configure request; a wink request uses it with only abMacAddr set.
struct ZOVA_ConfigureRequestType {
    std::uint8_t abMacAddr[6];
    char szPassword[128];
    std::uint8_t bChangePassword;
    char szNewPassword[128];
    std::uint8_t bReserved263;
    std::uint32_t dwIpAddr;
    std::uint32_t dwSubnetMask;
    std::uint32_t dwGateway;
    std::uint8_t bDhcpOn;
    char szHostname[128];
    std::uint8_t abReserved405[3];
    std::uint32_t dwPrimaryDns;
    std::uint32_t dwSecondaryDns;
};

#pragma pack(pop)

static_assert(sizeof(ZOVA_ModuleScanResponseType) == 352, "scan response layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bProtocolVersionMajor) == 0, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bProtocolVersionMinor) == 1, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bReserved2) == 2, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, szType) == 3, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bTypeValid) == 131, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bFwVersionMajor) == 132, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bFwVersionMinor) == 133, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, wFwBuild) == 134, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bFwVersionValid) == 136, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abMacAddr) == 137, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bMacAddrValid) == 143, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, dwIpAddr) == 144, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bIpAddrValid) == 148, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abReserved149) == 149, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, dwSubnetMask) == 152, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bSubnetMaskValid) == 156, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abReserved157) == 157, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, dwGateway) == 160, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bGatewayValid) == 164, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bDhcpOn) == 165, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bDhcpValid) == 166, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bPasswordOn) == 167, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bPasswordValid) == 168, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, szHostname) == 169, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bHostnameValid) == 297, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abReserved298) == 298, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, dwPrimaryDns) == 300, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bPrimaryDnsValid) == 304, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abReserved305) == 305, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, dwSecondaryDns) == 308, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bSecondaryDnsValid) == 312, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, szPasswordSalt) == 313, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, bPasswordSaltValid) == 348, "layout");
static_assert(offsetof(ZOVA_ModuleScanResponseType, abReserved349) == 349, "layout");

static_assert(sizeof(ZOVA_ConfigureRequestType) == 416, "configure request layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, abMacAddr) == 0, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, szPassword) == 6, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, bChangePassword) == 134, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, szNewPassword) == 135, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, bReserved263) == 263, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, dwIpAddr) == 264, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, dwSubnetMask) == 268, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, dwGateway) == 272, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, bDhcpOn) == 276, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, szHostname) == 277, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, abReserved405) == 405, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, dwPrimaryDns) == 408, "layout");
static_assert(offsetof(ZOVA_ConfigureRequestType, dwSecondaryDns) == 412, "layout");

// Notification values handed to the registered callback.
enum {
    ZOVA_NOTIFY_RESPONSE = 1,          // one more answer waits for ZOVA_GetResponse
    ZOVA_NOTIFY_RESCAN = 2,            // a device accepted a configure request
    ZOVA_NOTIFY_INVALID_PASSWORD = 3,  // a device rejected the password
    // Answers to a scan were lost, so a device may be missing from it; once
    // per scan, after its last copy's answers (docs/protocol.md). The tool's
    // window, which acts on 1 to 3 only, ignores it.
    ZOVA_NOTIFY_ANSWERS_LOST = 4,
};

typedef void(ZOVA_CALL* ZOVA_CallBackType)(int nNotification);

namespace zova {
// The library sends every request this many times with one id, so that a
// device is heard on links that lose datagrams.
constexpr unsigned kRequestCopies = 5;
// The last copy leaves this long after the first. A caller that ends right
// after sending waits this long.
constexpr unsigned kLastCopyDelayMs = 1000;
}  // namespace zova

extern "C" {
ZOVA_API void ZOVA_CALL ZOVA_RegisterCallBack(ZOVA_CallBackType pfnCallBack);
ZOVA_API int ZOVA_CALL ZOVA_Start(void);
ZOVA_API int ZOVA_CALL ZOVA_SendModuleScan(void);
ZOVA_API int ZOVA_CALL ZOVA_GetResponse(ZOVA_ModuleScanResponseType* pResponse);
ZOVA_API int ZOVA_CALL ZOVA_GetInvPswdMacId(unsigned char* pabMacAddr);
ZOVA_API void ZOVA_CALL ZOVA_RemoveFirstInvPswdMacId(void);
ZOVA_API void ZOVA_CALL ZOVA_SendConfigure(ZOVA_ConfigureRequestType* pRequest);
ZOVA_API void ZOVA_CALL ZOVA_SendWink(ZOVA_ConfigureRequestType* pRequest);
}

#endif  // VANTREL_ZOVA_ZOVA_H
