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

// The time a scan waits at most: --wait.
std::chrono::milliseconds WaitOf(double waitSeconds);

// Scans until each of wanted answered, and a little more, so that a twin of
// one is heard too; with wanted empty, to the end of the wait. kSuccess, or
// kLibraryRefused said on standard error.
int ScanFor(const std::vector<base::Mac>& wanted, Scan& scan);

// The first scan for a plan's devices (ScanFor), then, when a line would
// give its device another IP, on to the end of the wait, so that every
// device that holds an address is heard; and the plan checked against the
// answers.
int ScanAndCheck(const Plan& plan, Scan& scan, std::vector<LineCheck>& checks);

// The scan after sending: until each of the devices answered, or to the end
// of the wait when an address moved, so that two devices on one address are
// seen.
int ReadBackScan(const std::vector<base::Mac>& devices, bool addressMoved, Scan& scan);

// Why a device was not found, and what to try.
std::string NotFoundReason(double waitSeconds);

}  // namespace cli

#endif  // VANTREL_CLI_SESSION_H
