// A plan held against the devices that answered the scan: what each line
// comes to before anything is sent, with the checks that need the whole plan.
#ifndef VANTREL_CLI_PLANCHECK_H
#define VANTREL_CLI_PLANCHECK_H

#include "base/Address.h"
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
    // kWouldApply: the lines whose devices hold the IP this line gives now;
    // they must have moved away before this line is sent.
    std::vector<std::size_t> after;

    // Whether the line, sent, gives its device another IP.
    bool Moves() const;
};

// One check per plan line, in time linear in the plan and the answers. Each
// line is prepared as configure prepares its changes, and a MAC that twins
// (two devices) answer with is refused. Then an IP that two lines give, or
// that another answering device has and keeps after the plan, is refused on
// the lines that give it, and so are moves in a circle (a swap), which would
// put two devices on one address on the way. A device keeps its IP when no
// line moves it, or its line is refused.
std::vector<LineCheck> CheckPlan(const Plan& plan,
                                 const std::vector<ZOVA_ModuleScanResponseType>& answers,
                                 const std::vector<base::Mac>& twins);

// Whether a line of the plan would give its device another IP.
bool MovesAnAddress(const std::vector<LineCheck>& checks);

}  // namespace cli

#endif  // VANTREL_CLI_PLANCHECK_H
