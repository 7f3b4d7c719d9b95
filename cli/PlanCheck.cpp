#include "cli/PlanCheck.h"

#include "base/Address.h"
#include "cli/Address.h"

#include <unordered_map>

namespace cli {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool HasAddress(const ZOVA_ModuleScanResponseType& answer) {
    return answer.bIpAddrValid == 1 && answer.dwIpAddr != 0;
}

// Refuses every line whose new IP another device keeps, and what follows
// from that: a refused line's device keeps its own IP in turn.
void RefuseAddressClashes(const Plan& plan, const std::vector<ZOVA_ModuleScanResponseType>& answers,
                          const std::vector<std::size_t>& deviceOf,
                          std::vector<LineCheck>& checks) {
    std::vector<char> moving(answers.size(), 0);
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> moversTo;  // new IP -> lines
    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].outcome != Outcome::kWouldApply)
            continue;
        const std::uint32_t ip = checks[i].settings.m_dwIpAddress;
        if (ip == checks[i].answer->dwIpAddr)
            continue;
        moving[deviceOf[i]] = 1;
        moversTo[ip].push_back(i);
    }
    std::vector<std::size_t> keeping;  // devices whose IP stays theirs, to look at in turn
    for (std::size_t d = 0; d < answers.size(); ++d)
        if (!moving[d] && HasAddress(answers[d]))
            keeping.push_back(d);
    const auto refuse = [&](std::size_t i, std::string reason) {
        checks[i].outcome = Outcome::kInvalid;
        checks[i].reason = std::move(reason);
        checks[i].warning.clear();
        moving[deviceOf[i]] = 0;
        if (HasAddress(answers[deviceOf[i]]))
            keeping.push_back(deviceOf[i]);
    };

    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].outcome != Outcome::kWouldApply || !moving[deviceOf[i]])
            continue;
        const std::uint32_t ip = checks[i].settings.m_dwIpAddress;
        const std::vector<std::size_t>& lines = moversTo[ip];
        if (lines.size() < 2)
            continue;
        const std::size_t other = lines[0] == i ? lines[1] : lines[0];
        refuse(i, "ip " + Quoted(base::Ipv4Text(ip)) + ": line " +
                      std::to_string(plan.lines[other].line) + " gives it too");
    }
    for (std::size_t k = 0; k < keeping.size(); ++k) {
        const ZOVA_ModuleScanResponseType& keeper = answers[keeping[k]];
        const auto movers = moversTo.find(keeper.dwIpAddr);
        if (movers == moversTo.end())
            continue;
        const std::vector<std::size_t> lines = std::move(movers->second);
        moversTo.erase(movers);
        for (std::size_t i : lines)
            if (checks[i].outcome == Outcome::kWouldApply)
                refuse(i, "ip " + Quoted(base::Ipv4Text(keeper.dwIpAddr)) + ": " +
                              base::MacText(base::MacFrom(keeper.abMacAddr)) +
                              " has it and keeps it");
    }
}

}  // namespace

std::vector<LineCheck> CheckPlan(const Plan& plan,
                                 const std::vector<ZOVA_ModuleScanResponseType>& answers) {
    std::unordered_map<std::uint64_t, std::size_t> answerOf;
    answerOf.reserve(answers.size());
    for (std::size_t d = 0; d < answers.size(); ++d)
        answerOf.emplace(base::MacKey(base::MacFrom(answers[d].abMacAddr)),
                         d);  // the first answer per MAC

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
        deviceOf[i] = found->second;
        check.answer = &answers[found->second];
        Prepared prepared = PrepareChanges(*check.answer, line.changes, Source::kPlan);
        check.outcome = prepared.verdict == Verdict::kSend       ? Outcome::kWouldApply
                        : prepared.verdict == Verdict::kNoChange ? Outcome::kNoChange
                                                                 : Outcome::kInvalid;
        check.reason = std::move(prepared.error);
        check.warning = std::move(prepared.warning);
        check.settings = prepared.settings;
    }
    RefuseAddressClashes(plan, answers, deviceOf, checks);
    return checks;
}

}  // namespace cli
