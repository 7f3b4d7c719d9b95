// The program's one session of zova.dll: start, scan, and one configure
// request at a time with its outcome.
#ifndef VANTREL_CLI_LINK_H
#define VANTREL_CLI_LINK_H

#include "base/Address.h"
#include "cli/ExitStatus.h"
#include "zova/zova.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// ZOVA_TARGET as the library will read it; no value when it is not set.
std::optional<std::string> TargetSetting();

// Registers the callback and starts the library; false when it refuses.
bool StartLibrary();

// Sends one scan and collects each device's first answer, in the order they
// came, for up to wait; stops early once every MAC in wanted (base::MacKey) has
// answered (an empty wanted waits the whole time). False when the scan could
// not be sent.
bool Scan(std::chrono::milliseconds wait, const std::vector<std::uint64_t>& wanted,
          std::vector<ZOVA_ModuleScanResponseType>& answers);

// Whether zova.dll said that answers to a scan were lost, so that a device
// may be missing from it (it judges once the last copy's answers are due).
bool AnswersLost();

// Whether the last scan that waited its whole time still heard a new device
// just before the end: then others may not have been heard yet (the wait was
// shorter than the devices' answers take, or zova.dll was still catching up).
bool StillAnswering();

// The answer from mac among answers, or null.
const ZOVA_ModuleScanResponseType* FindAnswer(
    const std::vector<ZOVA_ModuleScanResponseType>& answers, const base::Mac& mac);

// Sends the request and waits for its result: accepted, wrong password (the
// device's MAC on the rejected queue) or, after timeout, no answer.
Outcome SendConfigure(ZOVA_ConfigureRequestType& request, std::chrono::milliseconds timeout);

}  // namespace cli

#endif  // VANTREL_CLI_LINK_H
