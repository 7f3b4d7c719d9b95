// The steps configure and apply share over the library: start it, scan for
// a plan's devices and check the plan, and after sending read the devices
// back.
#ifndef VANTREL_CLI_SESSION_H
#define VANTREL_CLI_SESSION_H

#include "cli/Link.h"
#include "cli/PlanCheck.h"

#include <string>
#include <vector>

namespace cli {

// Checks ZOVA_TARGET and starts the library; kSuccess, or kLibraryRefused
// said on standard error with what to do.
int StartSession();

// The first scan: until every device of the plan answered, then, when a
// line would give its device another IP, on to the end of the wait, so that
// every device that holds an address is heard; and the plan checked against
// the answers. kSuccess, or kLibraryRefused said on standard error.
int ScanAndCheck(const Plan& plan, double waitSeconds, Scan& scan, std::vector<LineCheck>& checks);

// The scan after sending: until each of the devices answered, or to the end
// of the wait when an address moved, so that two devices on one address are
// seen. kSuccess, or kLibraryRefused said on standard error.
int ReadBackScan(const std::vector<base::Mac>& devices, bool addressMoved, double waitSeconds,
                 Scan& scan);

// Why a device was not found, and what to try.
std::string NotFoundReason(double waitSeconds);

}  // namespace cli

#endif  // VANTREL_CLI_SESSION_H
