// The eight functions of zova.dll over the engine: the environment, the
// sockets and the receiver thread, which feeds the engine and sends the
// copies it says are due. The tool calls the functions from one thread.
#include "zova/zova.h"
#include "zovadll/Endpoint.h"
#include "zovadll/Engine.h"
#include "zovadll/Notifier.h"
#include "zovadll/WinsockTransport.h"
#include "zovadll/Wire.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>

namespace {

// The longest a turn of the receiver thread waits: a request sent meanwhile
// has its first copy out already and its next one due 150 ms later.
constexpr std::chrono::milliseconds kReceiveSlice(20);

// Unforeseeable, so that nobody else on the network can answer a configure
// request by guessing its id.
std::uint32_t DrawRandomId() {
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
Library& TheLibrary();

class Library {
public:
    zova::Notifier notifier;
    zova::Engine engine{&DrawRandomId, [this](int notification) { notifier.Queue(notification); }};

    int Start() {
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
            target = length > 0 && length < sizeof text ? zova::ParseEndpoint(text) : std::nullopt;
            if (!target)
                return 0;
        }
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return 0;
        if (!transport_.Open(target))
            return 0;
        // The receiver thread runs this library's code until the process
        // ends, so the library must never be unloaded under it.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&TheLibrary), &self);
        const HANDLE thread = CreateThread(nullptr, 0, &Library::ReceiverThread, this, 0, nullptr);
        if (!thread) {
            // A later try opens them again.
            transport_.Close();
            return 0;
        }
        CloseHandle(thread);
        started_ = true;
        return 1;
    }

    bool Send(const zova::wire::Datagram& datagram) {
        if (!IsStarted())
            return false;
        // Known to the engine before it leaves, so that even the first
        // answers to a scan are paired with it.
        engine.RequestSent(datagram, zova::Engine::Clock::now());
        const bool left = transport_.Send(datagram);
        engine.CopySent(datagram, left, zova::Engine::Clock::now());
        return left;
    }

    bool IsStarted() {
        std::lock_guard<std::mutex> lock(startMutex_);
        return started_;
    }

private:
    static DWORD WINAPI ReceiverThread(LPVOID self) {
        static_cast<Library*>(self)->ReceiveForever();
        return 0;
    }

    // A copy leaves when it falls due, whatever arrives: each turn receives
    // only until the next copy's time.
    void ReceiveForever() {
        using Clock = zova::Engine::Clock;
        for (;;) {
            Clock::time_point until = Clock::now() + kReceiveSlice;
            if (const auto due = engine.NextCopyDue())
                until = std::min(until, *due);
            const bool emptied = transport_.Receive(
                until,
                [this](const std::uint8_t* data, std::size_t size, const zova::Endpoint& sender) {
                    engine.Receive(data, size, sender, Clock::now());
                });
            if (emptied)
                engine.SocketEmptied();
            for (const auto& copy : engine.DueCopies(Clock::now()))
                engine.CopySent(copy, transport_.Send(copy), Clock::now());
            engine.JudgeScans(Clock::now());
            notifier.Flush();
        }
    }

    std::mutex startMutex_;
    bool started_ = false;
    zova::WinsockTransport transport_;
};

// Never destroyed: there is no stop call, and the receiver thread uses the
// library until the process ends.
Library& TheLibrary() {
    static Library* instance = new Library;
    return *instance;
}

}  // namespace

extern "C" {

ZOVA_API void ZOVA_CALL ZOVA_RegisterCallBack(ZOVA_CallBackType pfnCallBack) {
    TheLibrary().notifier.SetCallback(pfnCallBack);
}

ZOVA_API int ZOVA_CALL ZOVA_Start(void) {
    return TheLibrary().Start();
}

ZOVA_API int ZOVA_CALL ZOVA_SendModuleScan(void) {
    Library& lib = TheLibrary();
    return lib.Send(zova::wire::EncodeScanRequest(lib.engine.NewRequestId())) ? 1 : 0;
}

ZOVA_API int ZOVA_CALL ZOVA_GetResponse(ZOVA_ModuleScanResponseType* pResponse) {
    if (!pResponse)
        return 0;
    return TheLibrary().engine.TakeAnswer(*pResponse) ? 1 : 0;
}

ZOVA_API int ZOVA_CALL ZOVA_GetInvPswdMacId(unsigned char* pabMacAddr) {
    base::Mac mac;
    if (!pabMacAddr || !TheLibrary().engine.FirstRejected(mac))
        return 0;
    std::memcpy(pabMacAddr, mac.data(), mac.size());
    return 1;
}

ZOVA_API void ZOVA_CALL ZOVA_RemoveFirstInvPswdMacId(void) {
    TheLibrary().engine.DropFirstRejected();
}

ZOVA_API void ZOVA_CALL ZOVA_SendConfigure(ZOVA_ConfigureRequestType* pRequest) {
    Library& lib = TheLibrary();
    if (!pRequest || !lib.IsStarted())
        return;
    const std::uint32_t id = lib.engine.NewRequestId();
    base::Mac mac;
    std::memcpy(mac.data(), pRequest->abMacAddr, mac.size());
    lib.engine.ExpectConfigureResult(id, mac);
    lib.Send(zova::wire::EncodeConfigureRequest(id, *pRequest));
}

ZOVA_API void ZOVA_CALL ZOVA_SendWink(ZOVA_ConfigureRequestType* pRequest) {
    Library& lib = TheLibrary();
    if (!pRequest)
        return;
    base::Mac mac;
    std::memcpy(mac.data(), pRequest->abMacAddr, mac.size());
    lib.Send(zova::wire::EncodeWinkRequest(lib.engine.NewRequestId(), mac));
}

}  // extern "C"
