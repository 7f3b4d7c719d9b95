// The eight functions of zova.dll over the engine: the environment, the
// sockets and the receiver thread, which feeds the engine and sends the
// copies it says are due. The tool calls the functions from one thread.
#include "zova/zova.h"
#include "zovadll/endpoint.h"
#include "zovadll/engine.h"
#include "zovadll/winsock_transport.h"
#include "zovadll/wire.h"

#include <windows.h>

#include <bcrypt.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

namespace {

constexpr int kReceiveSliceMs = 20;

// Unforeseeable, so that nobody else on the network can answer a configure
// request by guessing its id.
std::uint32_t drawRandomId() {
    // Only if the system's generator fails, which it is documented not to.
    static std::atomic<std::uint32_t> fallback{
        static_cast<std::uint32_t>(GetTickCount()) ^
        (static_cast<std::uint32_t>(GetCurrentProcessId()) << 16)};
    std::uint32_t id = 0;
    if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&id), sizeof id,
                        BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
        id = fallback++;
    return id;
}

class Library;
Library& library();

class Library {
public:
    zova::Engine engine{&drawRandomId};

    int start() {
        std::lock_guard<std::mutex> lock(startMutex_);
        if (started_)
            return 1;
        char text[64] = {};
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableA("ZOVA_TARGET", text, sizeof text);
        std::optional<zova::Endpoint> target;
        if (length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND) {
            // A target that is set but cannot be read, empty included, must
            // not turn into a broadcast.
            target = length > 0 && length < sizeof text ? zova::parseEndpoint(text) : std::nullopt;
            if (!target)
                return 0;
        }
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return 0;
        if (!transport_.open(target))
            return 0;
        // The receiver thread runs this library's code until the process
        // ends, so the library must never be unloaded under it.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&library), &self);
        const HANDLE thread = CreateThread(nullptr, 0, &Library::receiverThread, this, 0, nullptr);
        if (!thread) {
            // A later try opens them again.
            transport_.close();
            return 0;
        }
        CloseHandle(thread);
        started_ = true;
        return 1;
    }

    bool send(const zova::wire::Datagram& datagram) {
        if (!isStarted())
            return false;
        const bool sent = transport_.send(datagram);
        engine.requestSent(datagram, zova::Engine::Clock::now());
        return sent;
    }

    bool isStarted() {
        std::lock_guard<std::mutex> lock(startMutex_);
        return started_;
    }

private:
    static DWORD WINAPI receiverThread(LPVOID self) {
        static_cast<Library*>(self)->receiveForever();
        return 0;
    }

    void receiveForever() {
        for (;;) {
            transport_.receive(kReceiveSliceMs, [this](const std::uint8_t* data, std::size_t size) {
                engine.receive(data, size);
            });
            for (const auto& datagram : engine.dueCopies(zova::Engine::Clock::now()))
                transport_.send(datagram);
        }
    }

    std::mutex startMutex_;
    bool started_ = false;
    zova::WinsockTransport transport_;
};

// Never destroyed: there is no stop call, and the receiver thread uses the
// library until the process ends.
Library& library() {
    static Library* instance = new Library;
    return *instance;
}

}  // namespace

extern "C" {

ZOVA_API void ZOVA_CALL ZOVA_RegisterCallBack(ZOVA_CallBackType pfnCallBack) {
    library().engine.setCallback(pfnCallBack);
}

ZOVA_API int ZOVA_CALL ZOVA_Start(void) {
    return library().start();
}

ZOVA_API int ZOVA_CALL ZOVA_SendModuleScan(void) {
    Library& lib = library();
    return lib.send(zova::wire::encodeScanRequest(lib.engine.newRequestId())) ? 1 : 0;
}

ZOVA_API int ZOVA_CALL ZOVA_GetResponse(ZOVA_ModuleScanResponseType* pResponse) {
    if (!pResponse)
        return 0;
    return library().engine.takeAnswer(*pResponse) ? 1 : 0;
}

ZOVA_API int ZOVA_CALL ZOVA_GetInvPswdMacId(unsigned char* pabMacAddr) {
    base::Mac mac;
    if (!pabMacAddr || !library().engine.firstRejected(mac))
        return 0;
    std::memcpy(pabMacAddr, mac.data(), mac.size());
    return 1;
}

ZOVA_API void ZOVA_CALL ZOVA_RemoveFirstInvPswdMacId(void) {
    library().engine.dropFirstRejected();
}

ZOVA_API void ZOVA_CALL ZOVA_SendConfigure(ZOVA_ConfigureRequestType* pRequest) {
    Library& lib = library();
    if (!pRequest || !lib.isStarted())
        return;
    const std::uint32_t id = lib.engine.newRequestId();
    base::Mac mac;
    std::memcpy(mac.data(), pRequest->abMacAddr, mac.size());
    lib.engine.expectConfigureResult(id, mac);
    lib.send(zova::wire::encodeConfigureRequest(id, *pRequest));
}

ZOVA_API void ZOVA_CALL ZOVA_SendWink(ZOVA_ConfigureRequestType* pRequest) {
    Library& lib = library();
    if (!pRequest)
        return;
    base::Mac mac;
    std::memcpy(mac.data(), pRequest->abMacAddr, mac.size());
    lib.send(zova::wire::encodeWinkRequest(lib.engine.newRequestId(), mac));
}

}  // extern "C"
