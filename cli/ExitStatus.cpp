#include "cli/ExitStatus.h"

#include <algorithm>

namespace cli {

namespace {

const Outcome kAllOutcomes[] = {Outcome::kAccepted, Outcome::kWrongPassword, Outcome::kNotFound,
                                Outcome::kNoAnswer, Outcome::kInvalid,       Outcome::kWouldApply};

}  // namespace

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
    case Outcome::kAccepted:
        return "accepted";
    case Outcome::kWrongPassword:
        return "wrong password";
    case Outcome::kNotFound:
        return "not found";
    case Outcome::kNoAnswer:
        return "no answer";
    case Outcome::kInvalid:
        return "invalid";
    case Outcome::kWouldApply:
        return "would apply";
    }
    return "";
}

ExitStatus StatusOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::kAccepted:
    case Outcome::kWouldApply:
        return kSuccess;
    case Outcome::kWrongPassword:
        return kWrongPassword;
    case Outcome::kNotFound:
        return kNotFound;
    case Outcome::kNoAnswer:
        return kNoAnswer;
    case Outcome::kInvalid:
        return kInvalidInput;
    }
    return kInvalidInput;
}

std::string SummaryText(const std::vector<Outcome>& outcomes) {
    std::string text = std::to_string(outcomes.size()) + " lines:";
    bool first = true;
    for (Outcome outcome : kAllOutcomes) {
        const auto count = std::count(outcomes.begin(), outcomes.end(), outcome);
        if (count == 0)
            continue;
        text += first ? " " : ", ";
        text += std::to_string(count) + ' ' + OutcomeText(outcome);
        first = false;
    }
    return text;
}

}  // namespace cli
