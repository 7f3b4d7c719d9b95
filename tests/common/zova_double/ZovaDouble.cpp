#include "tests/common/zova_double/ZovaDouble.h"

#include <algorithm>
#include <array>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {
struct State {
    std::mutex lock;
    std::vector<const char*> calls;
    std::deque<ZOVA_ModuleScanResponseType> responses;
    std::deque<std::array<unsigned char, 6>> rejectedMacs;
    ZOVA_CallBackType pfnCallBack = nullptr;
    bool bHaveConfigure = false;
    bool bHaveWink = false;
    ZOVA_ConfigureRequestType lastConfigure{};
    ZOVA_ConfigureRequestType lastWink{};
};

State& Double() {
    static State state;
    return state;
}

void Record(const char* pszName) {
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().calls.push_back(pszName);
}
}  // namespace

extern "C" {
void ZOVA_CALL ZOVA_RegisterCallBack(ZOVA_CallBackType pfnCallBack) {
    Record("RegisterCallBack");
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().pfnCallBack = pfnCallBack;
}

int ZOVA_CALL ZOVA_Start(void) {
    Record("Start");
    return 1;
}

int ZOVA_CALL ZOVA_SendModuleScan(void) {
    Record("SendModuleScan");
    return 1;
}

int ZOVA_CALL ZOVA_GetResponse(ZOVA_ModuleScanResponseType* pResponse) {
    Record("GetResponse");
    std::lock_guard<std::mutex> guard(Double().lock);
    if (Double().responses.empty())
        return 0;
    *pResponse = Double().responses.front();
    Double().responses.pop_front();
    return 1;
}

int ZOVA_CALL ZOVA_GetInvPswdMacId(unsigned char* pabMacAddr) {
    Record("GetInvPswdMacId");
    std::lock_guard<std::mutex> guard(Double().lock);
    if (Double().rejectedMacs.empty())
        return 0;
    const auto& mac = Double().rejectedMacs.front();
    std::copy(mac.begin(), mac.end(), pabMacAddr);
    return 1;
}

void ZOVA_CALL ZOVA_RemoveFirstInvPswdMacId(void) {
    Record("RemoveFirstInvPswdMacId");
    std::lock_guard<std::mutex> guard(Double().lock);
    if (!Double().rejectedMacs.empty())
        Double().rejectedMacs.pop_front();
}

void ZOVA_CALL ZOVA_SendConfigure(ZOVA_ConfigureRequestType* pRequest) {
    Record("SendConfigure");
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().lastConfigure = *pRequest;
    Double().bHaveConfigure = true;
}

void ZOVA_CALL ZOVA_SendWink(ZOVA_ConfigureRequestType* pRequest) {
    Record("SendWink");
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().lastWink = *pRequest;
    Double().bHaveWink = true;
}

void ZovaDouble_Reset(void) {
    std::lock_guard<std::mutex> guard(Double().lock);
    State& state = Double();
    state.calls.clear();
    state.responses.clear();
    state.rejectedMacs.clear();
    state.pfnCallBack = nullptr;
    state.bHaveConfigure = state.bHaveWink = false;
}

int ZovaDouble_CallCount(void) {
    std::lock_guard<std::mutex> guard(Double().lock);
    return static_cast<int>(Double().calls.size());
}

const char* ZovaDouble_CallName(int nIndex) {
    std::lock_guard<std::mutex> guard(Double().lock);
    if (nIndex < 0 || nIndex >= static_cast<int>(Double().calls.size()))
        return "";
    return Double().calls[static_cast<std::size_t>(nIndex)];
}

void ZovaDouble_QueueResponse(const ZOVA_ModuleScanResponseType* pResponse) {
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().responses.push_back(*pResponse);
}

void ZovaDouble_QueueRejectedMac(const unsigned char* pabMac) {
    std::array<unsigned char, 6> mac{};
    std::copy(pabMac, pabMac + 6, mac.begin());
    std::lock_guard<std::mutex> guard(Double().lock);
    Double().rejectedMacs.push_back(mac);
}

int ZovaDouble_RejectedMacCount(void) {
    std::lock_guard<std::mutex> guard(Double().lock);
    return static_cast<int>(Double().rejectedMacs.size());
}

void ZovaDouble_Notify(int nNotification, int bOtherThread) {
    ZOVA_CallBackType pfnCallBack = nullptr;
    {
        std::lock_guard<std::mutex> guard(Double().lock);
        pfnCallBack = Double().pfnCallBack;
    }
    if (pfnCallBack == nullptr)
        return;
    if (bOtherThread)
        std::thread([=] { pfnCallBack(nNotification); }).join();
    else
        pfnCallBack(nNotification);
}

int ZovaDouble_LastConfigure(ZOVA_ConfigureRequestType* pRequest) {
    std::lock_guard<std::mutex> guard(Double().lock);
    if (Double().bHaveConfigure)
        *pRequest = Double().lastConfigure;
    return Double().bHaveConfigure ? 1 : 0;
}

int ZovaDouble_LastWink(ZOVA_ConfigureRequestType* pRequest) {
    std::lock_guard<std::mutex> guard(Double().lock);
    if (Double().bHaveWink)
        *pRequest = Double().lastWink;
    return Double().bHaveWink ? 1 : 0;
}
}
