// A checked plan's lines sent one at a time: a line that frees an address
// before the line that takes it, a line whose address was not seen to be
// freed held back, and no more passwords tried once too many were rejected.
#ifndef VANTREL_CLI_PLANSEND_H
#define VANTREL_CLI_PLANSEND_H

#include "cli/PlanCheck.h"
#include "cli/ResultLedger.h"

#include <functional>
#include <string>
#include <vector>

namespace cli {

// How the sending of a plan went for one line.
struct LineSent {
    bool sent = false;
    std::string heldBack;  // not sent, and why ("" for a line that was not to be sent)
};

struct SendHooks {
    // Sends line i's request and returns once its result came or is overdue,
    // the ledger told of what the library said meanwhile.
    std::function<void(std::size_t)> send;
    // True once the user asked to stop: no further line is sent.
    std::function<bool()> interrupted;
};

// Sends the lines that would apply. A line goes only after the lines of the
// devices that hold its new IP, and only when the library accepted each of
// those; once maxWrongPasswords passwords were rejected in this run, lines
// to devices that have or may have a password are held back.
std::vector<LineSent> SendPlan(const Plan& plan, const std::vector<LineCheck>& checks,
                               int maxWrongPasswords, const ResultLedger& ledger,
                               const SendHooks& hooks);

// Why lines are held back once the limit of rejected passwords is reached,
// and whether it was.
std::string PasswordLimitText(int maxWrongPasswords);
bool PasswordLimitReached(const std::vector<LineSent>& sent, int maxWrongPasswords);

}  // namespace cli

#endif  // VANTREL_CLI_PLANSEND_H
