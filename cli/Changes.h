// The changes asked for one device, put onto the settings it reported and
// checked with the configure dialog's rules and the program's own address
// rules.
#ifndef VANTREL_CLI_CHANGES_H
#define VANTREL_CLI_CHANGES_H

#include "configure/DeviceSettings.h"
#include "zova/zova.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

constexpr std::size_t kMaxTextLength = 29;  // as the dialog's edits take

struct Changes {
    std::optional<std::uint32_t> ip, mask, gateway, dns1, dns2;
    std::optional<std::string> hostname;
    std::optional<bool> dhcp;  // true: on
    bool changePassword = false;
};

// Reads one value given as text into changes, by its name ("ip", "mask",
// "gateway", "dns1", "dns2", "hostname", "dhcp"; dhcp takes on or off in any
// case). An empty text leaves the value alone. False, with error naming the
// setting and the value, for a value that cannot be read.
bool SetChange(Changes& changes, const std::string& name, const std::string& text,
               std::string& error);

// Where the changes were given: the message for a device's own host name
// says there how to give another.
enum class Source { kCommandLine, kPlan };

enum class Verdict {
    kSend,      // settings hold what to send
    kNoChange,  // the changes ask for what the device has: nothing to send or check
    kInvalid,   // error says which value breaks which rule
};

struct Prepared {
    Verdict verdict = Verdict::kInvalid;
    configure::DeviceSettings settings;  // the device's, with the changes applied
    std::string error;
    std::string warning;  // kSend: a gateway outside the subnet (sent all the same)
};

// The device's reported settings with the changes applied, and whether they
// may go. Refused: a change to a value the device does not report (the dialog
// locks those, DHCP included), a host name over 29 characters; then, when
// anything changes, a name of the device's own that a request would cut, the
// dialog's rules on the result (host name letters and digits only, the
// device's own included; last octet of the IP not 255) and, where the IP or
// the mask changes, an IP of 0.0.0.0, loopback or multicast, the subnet's
// network or broadcast address, and a mask that is not contiguous, /0 or
// /32. A device at 0.0.0.0 that keeps it can still be renamed.
Prepared PrepareChanges(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                        Source source);

// Whether the device asks for its password: it reports protection on, off,
// or does not say (and may still check one).
enum class PasswordNeed { kRequired, kNone, kUnknown };
PasswordNeed PasswordNeedOf(const ZOVA_ModuleScanResponseType& response);

// Puts the passwords into settings: the current one as the user gave it,
// whatever the device reports of its protection, the new one when it is to
// change. False, with error, for one over 29 characters.
bool SetPasswords(configure::DeviceSettings& settings, const std::string& password,
                  const std::string& newPassword, std::string& error);

// Where a password came from: standard input, or a plan's password cell.
enum class PasswordFrom { kInput, kPlanCell };

// What to add to "wrong password" for this password: a hint when it ends in
// a blank, which `echo pw |` at the Windows command prompt puts there, or a
// cell kept blanks and all.
std::string WrongPasswordHint(const std::string& password, PasswordFrom from);

// "ip 10.0.0.1 -> 10.0.0.2" for every value that differs between the
// device's settings and the ones to send.
std::vector<std::string> DescribeChanges(const configure::DeviceSettings& before,
                                         const configure::DeviceSettings& after);

// Those joined by ", ".
std::string JoinChanges(const std::vector<std::string>& changes);

}  // namespace cli

#endif  // VANTREL_CLI_CHANGES_H
