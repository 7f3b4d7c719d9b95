// Configure results as the library announces them. A rejection names its
// device (the MAC on the rejected-password queue); an acceptance does not, so
// it is tied to a request only when no other request still waits for its
// result: then, and only then, is it that request's.
#ifndef VANTREL_CLI_RESULTLEDGER_H
#define VANTREL_CLI_RESULTLEDGER_H

#include "base/Address.h"
#include "cli/ExitStatus.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>

namespace cli {

class ResultLedger {
public:
    // A configure request to mac went out; its result is due.
    void Sent(const base::Mac& mac);
    // The library announced an acceptance, or mac's rejection.
    void Accepted();
    void Rejected(const base::Mac& mac);

    // What the library said of mac's request so far: kAccepted or
    // kWrongPassword once tied to it, kSomeDevice while an acceptance came
    // since it was sent that may be its or an earlier request's; no value
    // while nothing came.
    std::optional<Reply> ReplyOf(const base::Mac& mac) const;

    int Rejections() const { return rejections_; }

private:
    // Once every waiting request has an acceptance, they are all accepted.
    void TieAcceptances();

    struct Waiting {
        base::Mac mac;
        std::uint64_t acceptancesBefore;  // acceptances announced before it was sent
    };
    std::deque<Waiting> waiting_;  // requests whose result is due, oldest first
    std::size_t untied_ = 0;       // acceptances among them, not yet tied
    std::uint64_t acceptances_ = 0;
    std::unordered_map<std::uint64_t, Reply> tied_;
    int rejections_ = 0;
};

}  // namespace cli

#endif  // VANTREL_CLI_RESULTLEDGER_H
