#include "cli/PlanCheck.h"

#include "cli/Address.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace cli {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool HasAddress(const ZOVA_ModuleScanResponseType& answer) {
    return answer.bIpAddrValid == 1 && answer.dwIpAddr != 0;
}

std::string IpNamed(std::uint32_t ip) {
    return "ip " + Quoted(base::Ipv4Text(ip)) + ": ";
}

// The checks across lines of who ends up on which IP.
class AddressClashes {
public:
    AddressClashes(const Plan& plan, const std::vector<ZOVA_ModuleScanResponseType>& answers,
                   const std::vector<std::size_t>& deviceOf, std::vector<LineCheck>& checks)
        : plan_(plan),
          answers_(answers),
          deviceOf_(deviceOf),
          checks_(checks),
          lineOfDevice_(answers.size(), kNone) {
        for (std::size_t i = 0; i < checks.size(); ++i) {
            if (!Moving(i))
                continue;
            lineOfDevice_[deviceOf[i]] = i;
            moversTo_[checks[i].settings.m_dwIpAddress].push_back(i);
        }
        for (std::size_t d = 0; d < answers.size(); ++d)
            if (HasAddress(answers[d]))
                holders_[answers[d].dwIpAddr].push_back(d);
    }

    void Refuse() {
        RefuseTwoLinesToOneIp();
        RefuseCircles();
        RefuseIpsKept();
        NoteWhatGoesFirst();
    }

private:
    bool Moving(std::size_t line) const {
        return checks_[line].outcome == Outcome::kWouldApply && checks_[line].Moves();
    }

    // The line of a device that holds line's new IP and moves away; kNone
    // when there is none, or more than one device holds it.
    std::size_t Next(std::size_t line) const {
        const auto held = holders_.find(checks_[line].settings.m_dwIpAddress);
        if (held == holders_.end() || held->second.size() != 1)
            return kNone;
        const std::size_t next = lineOfDevice_[held->second[0]];
        return next != kNone && Moving(next) ? next : kNone;
    }

    void RefuseLine(std::size_t line, std::string reason) {
        checks_[line].outcome = Outcome::kInvalid;
        checks_[line].reason = std::move(reason);
        checks_[line].warning.clear();
    }

    void RefuseTwoLinesToOneIp() {
        for (std::size_t i = 0; i < checks_.size(); ++i) {
            if (!Moving(i))
                continue;
            const std::vector<std::size_t>& lines = moversTo_[checks_[i].settings.m_dwIpAddress];
            if (lines.size() < 2)
                continue;
            const std::size_t other = lines[0] == i ? lines[1] : lines[0];
            RefuseLine(i, IpNamed(checks_[i].settings.m_dwIpAddress) + "line " +
                              std::to_string(plan_.lines[other].line) + " gives it too");
        }
    }

    // Lines that take each other's IPs in a circle: whichever goes first
    // lands on an address still held.
    void RefuseCircles() {
        std::vector<char> seen(checks_.size(), 0);  // 0 new, 1 on the current walk, 2 done
        for (std::size_t start = 0; start < checks_.size(); ++start) {
            std::vector<std::size_t> walk;
            std::size_t line = start;
            while (line != kNone && Moving(line) && !seen[line]) {
                seen[line] = 1;
                walk.push_back(line);
                line = Next(line);
            }
            if (line != kNone && seen[line] == 1) {
                const std::vector<std::size_t> circle(std::find(walk.begin(), walk.end(), line),
                                                      walk.end());
                std::vector<int> numbers;
                for (std::size_t each : circle)
                    numbers.push_back(plan_.lines[each].line);
                std::sort(numbers.begin(), numbers.end());
                std::vector<std::string> texts;
                for (int number : numbers)
                    texts.push_back(std::to_string(number));
                const std::string how =
                    numbers.size() == 2 ? " swap addresses" : " move in a circle";
                for (std::size_t each : circle)
                    RefuseLine(each, IpNamed(checks_[each].settings.m_dwIpAddress) + "lines " +
                                         ListText(texts) + how +
                                         ", which puts two devices on one address on the way; "
                                         "move one of them to a free address first");
            }
            for (std::size_t each : walk)
                seen[each] = 2;
        }
    }

    // Refuses every line whose new IP another device keeps, and what follows
    // from that: a refused line's device keeps its own IP in turn.
    void RefuseIpsKept() {
        std::vector<std::size_t> keeping;  // devices whose IP stays theirs, to look at in turn
        for (std::size_t d = 0; d < answers_.size(); ++d)
            if (HasAddress(answers_[d]) && (lineOfDevice_[d] == kNone || !Moving(lineOfDevice_[d])))
                keeping.push_back(d);
        for (std::size_t k = 0; k < keeping.size(); ++k) {
            const ZOVA_ModuleScanResponseType& keeper = answers_[keeping[k]];
            const auto movers = moversTo_.find(keeper.dwIpAddr);
            if (movers == moversTo_.end())
                continue;
            const std::vector<std::size_t> lines = std::move(movers->second);
            moversTo_.erase(movers);
            for (std::size_t i : lines) {
                if (!Moving(i))
                    continue;
                RefuseLine(i, IpNamed(keeper.dwIpAddr) +
                                  base::MacText(base::MacFrom(keeper.abMacAddr)) +
                                  " has it and keeps it");
                if (HasAddress(answers_[deviceOf_[i]]))
                    keeping.push_back(deviceOf_[i]);
            }
        }
    }

    void NoteWhatGoesFirst() {
        for (std::size_t i = 0; i < checks_.size(); ++i) {
            if (!Moving(i))
                continue;
            const auto held = holders_.find(checks_[i].settings.m_dwIpAddress);
            if (held == holders_.end())
                continue;
            for (std::size_t device : held->second)
                if (lineOfDevice_[device] != kNone)
                    checks_[i].after.push_back(lineOfDevice_[device]);
        }
    }

    const Plan& plan_;
    const std::vector<ZOVA_ModuleScanResponseType>& answers_;
    const std::vector<std::size_t>& deviceOf_;
    std::vector<LineCheck>& checks_;
    std::vector<std::size_t> lineOfDevice_;                                 // moving lines
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> moversTo_;  // new IP -> lines
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> holders_;   // IP -> devices
};

}  // namespace

bool LineCheck::Moves() const {
    return answer && answer->bIpAddrValid == 1 && settings.m_dwIpAddress != answer->dwIpAddr;
}

std::vector<LineCheck> CheckPlan(const Plan& plan,
                                 const std::vector<ZOVA_ModuleScanResponseType>& answers,
                                 const std::vector<base::Mac>& twins) {
    std::unordered_map<std::uint64_t, std::size_t> answerOf;
    answerOf.reserve(answers.size());
    for (std::size_t d = 0; d < answers.size(); ++d)
        answerOf.emplace(base::MacKey(base::MacFrom(answers[d].abMacAddr)),
                         d);  // the first answer per MAC
    std::unordered_set<std::uint64_t> twinKeys;
    for (const base::Mac& twin : twins)
        twinKeys.insert(base::MacKey(twin));

    std::vector<LineCheck> checks(plan.lines.size());
    std::vector<std::size_t> deviceOf(plan.lines.size(), kNone);
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        const PlanLine& line = plan.lines[i];
        LineCheck& check = checks[i];
        if (!line.error.empty()) {
            check.reason = line.error;
            continue;
        }
        const auto found = answerOf.find(base::MacKey(line.mac));
        if (found == answerOf.end()) {
            check.outcome = Outcome::kNotFound;
            continue;
        }
        if (twinKeys.count(found->first)) {
            check.reason = "mac " + Quoted(line.macText) +
                           ": two devices answer with this MAC; give each its own first";
            continue;
        }
        deviceOf[i] = found->second;
        check.answer = &answers[found->second];
        Prepared prepared = PrepareChanges(*check.answer, line.changes, plan.source);
        check.outcome = prepared.verdict == Verdict::kSend       ? Outcome::kWouldApply
                        : prepared.verdict == Verdict::kNoChange ? Outcome::kNoChange
                                                                 : Outcome::kInvalid;
        check.reason = std::move(prepared.error);
        check.warning = std::move(prepared.warning);
        check.settings = prepared.settings;
    }
    AddressClashes(plan, answers, deviceOf, checks).Refuse();
    return checks;
}

bool MovesAnAddress(const std::vector<LineCheck>& checks) {
    return std::any_of(checks.begin(), checks.end(), [](const LineCheck& check) {
        return check.outcome == Outcome::kWouldApply && check.Moves();
    });
}

}  // namespace cli
