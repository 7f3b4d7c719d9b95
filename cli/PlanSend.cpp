#include "cli/PlanSend.h"

#include "cli/Address.h"

#include <algorithm>
#include <utility>

namespace cli {

namespace {

class Sender {
public:
    Sender(const Plan& plan, const std::vector<LineCheck>& checks, int maxWrongPasswords,
           const ResultLedger& ledger, const SendHooks& hooks)
        : plan_(plan),
          checks_(checks),
          maxWrongPasswords_(maxWrongPasswords),
          ledger_(ledger),
          hooks_(hooks),
          sent_(checks.size()),
          done_(checks.size(), 0) {}

    std::vector<LineSent> Run() {
        for (std::size_t i = 0; i < checks_.size(); ++i)
            Take(i);
        return std::move(sent_);
    }

private:
    // Line start, after the lines it waits for, and theirs in turn (a chain
    // of moves may be as long as the plan: no recursion); each line once.
    void Take(std::size_t start) {
        std::vector<std::pair<std::size_t, std::size_t>> stack;  // line, next of its `after`
        const auto push = [&](std::size_t line) {
            if (done_[line] || checks_[line].outcome != Outcome::kWouldApply)
                return;
            done_[line] = 1;
            stack.emplace_back(line, 0);
        };
        push(start);
        while (!stack.empty()) {
            const std::size_t line = stack.back().first;
            const std::size_t next = stack.back().second++;
            if (next < checks_[line].after.size()) {
                push(checks_[line].after[next]);
                continue;
            }
            stack.pop_back();
            sent_[line].heldBack = WhyHeldBack(line);
            if (sent_[line].heldBack.empty()) {
                hooks_.send(line);
                sent_[line].sent = true;
            }
        }
    }

    std::string WhyHeldBack(std::size_t i) const {
        if (hooks_.interrupted())
            return "interrupted";
        for (std::size_t first : checks_[i].after) {
            const std::optional<Reply> reply =
                sent_[first].sent ? ledger_.ReplyOf(plan_.lines[first].mac) : std::nullopt;
            if (reply != Reply::kAccepted)
                return "line " + std::to_string(plan_.lines[first].line) + " was to free ip " +
                       Quoted(base::Ipv4Text(checks_[i].settings.m_dwIpAddress)) +
                       " first, and the library did not accept it (" +
                       (sent_[first].sent ? ReplyText(reply.value_or(Reply::kNoAnswer))
                                          : "not sent") +
                       ")";
        }
        const PasswordNeed need = PasswordNeedOf(*checks_[i].answer);
        if (ledger_.Rejections() >= maxWrongPasswords_ && need != PasswordNeed::kNone)
            return PasswordLimitText(maxWrongPasswords_);
        return "";
    }

    const Plan& plan_;
    const std::vector<LineCheck>& checks_;
    const int maxWrongPasswords_;
    const ResultLedger& ledger_;
    const SendHooks& hooks_;
    std::vector<LineSent> sent_;
    std::vector<char> done_;
};

}  // namespace

std::vector<LineSent> SendPlan(const Plan& plan, const std::vector<LineCheck>& checks,
                               int maxWrongPasswords, const ResultLedger& ledger,
                               const SendHooks& hooks) {
    return Sender(plan, checks, maxWrongPasswords, ledger, hooks).Run();
}

std::string PasswordLimitText(int maxWrongPasswords) {
    return std::to_string(maxWrongPasswords) +
           (maxWrongPasswords == 1 ? " password was rejected" : " passwords were rejected") +
           ", so no more are tried on devices with a password; check the password, or give "
           "--max-wrong-passwords to allow more";
}

bool PasswordLimitReached(const std::vector<LineSent>& sent, int maxWrongPasswords) {
    const std::string limit = PasswordLimitText(maxWrongPasswords);
    return std::any_of(sent.begin(), sent.end(),
                       [&](const LineSent& line) { return line.heldBack == limit; });
}

}  // namespace cli
