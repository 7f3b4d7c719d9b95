// What a device shows in the scan after its line was sent, against what was
// sent; and the addresses that two devices answer with.
#ifndef VANTREL_CLI_READBACK_H
#define VANTREL_CLI_READBACK_H

#include "cli/ExitStatus.h"
#include "configure/DeviceSettings.h"
#include "zova/zova.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct ReadBackResult {
    Outcome outcome = Outcome::kMayHaveChanged;
    std::string reason;  // the values that differ, or why nothing can be said
};

// kChanged when every value the device shows now (as the dialog would show
// it) reads as sent; kNotChanged when every one reads as before;
// kChangedOtherwise, naming the values that read otherwise ("sent -> read:
// hostname beta -> bet"), in between; kMayHaveChanged when the device did not
// answer (now is null). A change the scan cannot show (a new password alone)
// follows the library's word.
ReadBackResult ReadBack(const ZOVA_ModuleScanResponseType& before,
                        const configure::DeviceSettings& sent,
                        const ZOVA_ModuleScanResponseType* now, std::optional<Reply> reply);

// "ip '10.0.0.5': 02-6B-D4-00-00-01 and 02-6B-D4-00-00-03" for every address
// that more than one answering device has (0.0.0.0 and unreported ones aside),
// in the order of the addresses.
std::vector<std::string> SharedAddresses(const std::vector<ZOVA_ModuleScanResponseType>& answers);

}  // namespace cli

#endif  // VANTREL_CLI_READBACK_H
