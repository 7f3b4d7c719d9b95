// A plan held against the devices that answered the scan: what each line
// comes to before anything is sent, with the checks that need the whole plan.
#ifndef VANTREL_CLI_PLANCHECK_H
#define VANTREL_CLI_PLANCHECK_H

#include "cli/ExitStatus.h"
#include "cli/Plan.h"

#include <string>
#include <vector>

namespace cli {

struct LineCheck {
    Outcome outcome = Outcome::kInvalid;  // kInvalid, kNotFound, kNoChange or kWouldApply
    std::string reason;                   // kInvalid: why
    std::string warning;                  // kWouldApply: said, and sent all the same
    const ZOVA_ModuleScanResponseType* answer = nullptr;  // the device's, when it answered
    configure::DeviceSettings settings;                   // kWouldApply: what to send
};

// One check per plan line, in time linear in the plan and the answers. Each
// line is prepared as configure prepares its changes; then an IP that two
// lines give, or that another answering device has and keeps after the plan,
// is refused on the lines that give it. A device keeps its IP when no line
// moves it, or its line is refused, so a swap between two lines passes until
// one of them is refused.
std::vector<LineCheck> CheckPlan(const Plan& plan,
                                 const std::vector<ZOVA_ModuleScanResponseType>& answers);

}  // namespace cli

#endif  // VANTREL_CLI_PLANCHECK_H
