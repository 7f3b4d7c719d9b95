#include "cli/Link.h"

#include "zova/ResponseRow.h"

#include <windows.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace cli {

namespace {

// Counts of each notification, raised on the library's receiver thread.
// Never destroyed: the thread may still call back while the process ends.
struct Notifications {
    std::mutex mutex;
    std::condition_variable changed;
    int count[5] = {};
};

Notifications& State() {
    static Notifications* state = new Notifications;
    return *state;
}

void OnNotify(int notification) {
    Notifications& state = State();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (notification >= 1 && notification <= ZOVA_NOTIFY_ANSWERS_LOST)
            ++state.count[notification];
    }
    // A scan takes the answers every 10 ms: waking it for each of a large
    // scan's answers made it compete with the library's receiver.
    if (notification != ZOVA_NOTIFY_RESPONSE)
        state.changed.notify_all();
}

// A new device this close to the end of a scan's wait may have others
// behind it.
constexpr std::chrono::milliseconds kQuietAtTheEnd(250);
bool g_stillAnswering = false;

// Takes the rejected-password queue's entries; true when mac was among them.
bool TakeRejected(const std::uint8_t (&mac)[6]) {
    bool ours = false;
    unsigned char rejected[6];
    while (ZOVA_GetInvPswdMacId(rejected)) {
        ours = ours || std::memcmp(rejected, mac, 6) == 0;
        ZOVA_RemoveFirstInvPswdMacId();
    }
    return ours;
}

}  // namespace

std::optional<std::string> TargetSetting() {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size = ::GetEnvironmentVariableA("ZOVA_TARGET", nullptr, 0);
    if (size == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    std::string value(size, '\0');
    const DWORD length = size > 0 ? ::GetEnvironmentVariableA("ZOVA_TARGET", &value[0], size) : 0;
    value.resize(length < size ? length : 0);
    return value;
}

bool StartLibrary() {
    ZOVA_RegisterCallBack(&OnNotify);
    return ZOVA_Start() != 0;
}

bool Scan(std::chrono::milliseconds wait, const std::vector<std::uint64_t>& wanted,
          std::vector<ZOVA_ModuleScanResponseType>& answers) {
    if (!ZOVA_SendModuleScan())
        return false;
    std::unordered_set<std::uint64_t> seen;
    const std::unordered_set<std::uint64_t> wantedSet(wanted.begin(), wanted.end());
    std::size_t wantedSeen = 0;

    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto lastNew = std::chrono::steady_clock::time_point::min();
    Notifications& state = State();
    for (;;) {
        ZOVA_ModuleScanResponseType response;
        while (ZOVA_GetResponse(&response)) {
            const std::uint64_t mac = base::MacKey(base::MacFrom(response.abMacAddr));
            // A device's first answer wins, as in the window's list.
            if (!seen.insert(mac).second)
                continue;
            answers.push_back(response);
            wantedSeen += wantedSet.count(mac);
            lastNew = std::chrono::steady_clock::now();
        }
        if (!wantedSet.empty() && wantedSeen == wantedSet.size())
            return true;
        if (std::chrono::steady_clock::now() >= deadline) {
            g_stillAnswering = lastNew > deadline - kQuietAtTheEnd;
            return true;
        }
        std::unique_lock<std::mutex> lock(state.mutex);
        state.changed.wait_for(lock, std::chrono::milliseconds(10));
    }
}

bool AnswersLost() {
    Notifications& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.count[ZOVA_NOTIFY_ANSWERS_LOST] > 0;
}

bool StillAnswering() {
    return g_stillAnswering;
}

const ZOVA_ModuleScanResponseType* FindAnswer(
    const std::vector<ZOVA_ModuleScanResponseType>& answers, const base::Mac& mac) {
    return zova::FindResponseByMac(answers, mac);
}

Outcome SendConfigure(ZOVA_ConfigureRequestType& request, std::chrono::milliseconds timeout) {
    Notifications& state = State();
    int accepted = 0, rejected = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        accepted = state.count[ZOVA_NOTIFY_RESCAN];
        rejected = state.count[ZOVA_NOTIFY_INVALID_PASSWORD];
    }
    // A leftover from an earlier device must not be read as this one's.
    TakeRejected(request.abMacAddr);
    ZOVA_SendConfigure(&request);

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> lock(state.mutex);
    for (;;) {
        if (state.count[ZOVA_NOTIFY_RESCAN] > accepted)
            return Outcome::kAccepted;
        if (state.count[ZOVA_NOTIFY_INVALID_PASSWORD] > rejected) {
            rejected = state.count[ZOVA_NOTIFY_INVALID_PASSWORD];
            lock.unlock();
            const bool ours = TakeRejected(request.abMacAddr);
            lock.lock();
            if (ours)
                return Outcome::kWrongPassword;
        }
        if (state.changed.wait_until(lock, deadline) == std::cv_status::timeout &&
            state.count[ZOVA_NOTIFY_RESCAN] == accepted &&
            state.count[ZOVA_NOTIFY_INVALID_PASSWORD] == rejected)
            return Outcome::kNoAnswer;
    }
}

}  // namespace cli
