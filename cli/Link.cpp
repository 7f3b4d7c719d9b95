#include "cli/Link.h"

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace cli {

namespace {

// Counts of each notification, raised on the library's receiver thread.
// Never destroyed: the thread may still call back while the process ends.
struct Notifications {
    std::mutex mutex;
    std::condition_variable changed;
    int count[5] = {};
    int acceptancesTaken = 0;  // told to a ledger (main thread only)
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
    // A scan takes its answers every 10 ms: waking it for each of a large
    // scan's answers made it compete with the library's receiver.
    if (notification != ZOVA_NOTIFY_RESPONSE)
        state.changed.notify_all();
}

int LostAnswersSaid() {
    Notifications& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.count[ZOVA_NOTIFY_ANSWERS_LOST];
}

// A new device this close to the end of a scan's wait may have others
// behind it.
constexpr std::chrono::milliseconds kQuietAtTheEnd(250);

int AllNotifications(const Notifications& state) {
    return state.count[ZOVA_NOTIFY_RESPONSE] + state.count[ZOVA_NOTIFY_RESCAN] +
           state.count[ZOVA_NOTIFY_INVALID_PASSWORD];
}

// Waits until a notification comes, for 10 ms at most (one that came just
// before this call is seen on the next turn of the caller) and never past
// until.
void WaitForNotification(std::chrono::steady_clock::time_point until) {
    Notifications& state = State();
    std::unique_lock<std::mutex> lock(state.mutex);
    const int before = AllNotifications(state);
    state.changed.wait_until(
        lock, std::min(until, std::chrono::steady_clock::now() + std::chrono::milliseconds(10)),
        [&] { return AllNotifications(state) != before; });
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

bool Scan::Send() {
    ZOVA_ModuleScanResponseType leftover;
    while (ZOVA_GetResponse(&leftover)) {
    }
    deadline_ = Clock::now() + wait_;
    lostBefore_ = LostAnswersSaid();
    return ZOVA_SendModuleScan() != 0;
}

bool Scan::AnswersLost() const {
    return LostAnswersSaid() > lostBefore_;
}

bool Scan::StillAnswering() const {
    // A wait that ends before the last copy leaves is a quick look: answers
    // are still due by design.
    return wait_ > std::chrono::milliseconds(zova::kLastCopyDelayMs) &&
           lastNew_ > deadline_ - kQuietAtTheEnd;
}

void Scan::Collect(const std::unordered_set<std::uint64_t>& wanted) {
    CollectUntil(deadline_, wanted);
}

void Scan::CollectFor(std::chrono::milliseconds more) {
    CollectUntil(std::min(deadline_, Clock::now() + more), {});
}

void Scan::CollectUntil(Clock::time_point until, const std::unordered_set<std::uint64_t>& wanted) {
    std::size_t wantedSeen = 0;
    for (const std::uint64_t mac : wanted)
        wantedSeen += seen_.count(mac);
    for (;;) {
        ZOVA_ModuleScanResponseType response;
        while (ZOVA_GetResponse(&response)) {
            const base::Mac mac = base::MacFrom(response.abMacAddr);
            // A device's first answer wins, as in the window's list.
            if (!seen_.insert(base::MacKey(mac)).second) {
                if (std::find(twins_.begin(), twins_.end(), mac) == twins_.end())
                    twins_.push_back(mac);
                continue;
            }
            answers_.push_back(response);
            lastNew_ = Clock::now();
            wantedSeen += wanted.count(base::MacKey(mac));
        }
        if (!wanted.empty() && wantedSeen == wanted.size())
            return;
        if (Clock::now() >= until)
            return;
        WaitForNotification(until);
    }
}

void TakeResults(ResultLedger& ledger) {
    Notifications& state = State();
    int accepted = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        accepted = state.count[ZOVA_NOTIFY_RESCAN];
    }
    for (; state.acceptancesTaken < accepted; ++state.acceptancesTaken)
        ledger.Accepted();
    base::Mac rejected{};
    while (ZOVA_GetInvPswdMacId(rejected.data())) {
        ledger.Rejected(rejected);
        ZOVA_RemoveFirstInvPswdMacId();
    }
}

Reply SendConfigure(ZOVA_ConfigureRequestType& request, std::chrono::milliseconds timeout,
                    ResultLedger& ledger) {
    const base::Mac mac = base::MacFrom(request.abMacAddr);
    TakeResults(ledger);  // what came before belongs to earlier requests
    ledger.Sent(mac);
    ZOVA_SendConfigure(&request);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        TakeResults(ledger);
        if (const std::optional<Reply> reply = ledger.ReplyOf(mac))
            return *reply;
        if (std::chrono::steady_clock::now() >= deadline)
            return Reply::kNoAnswer;
        WaitForNotification(deadline);
    }
}

}  // namespace cli
