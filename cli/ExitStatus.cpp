#include "cli/ExitStatus.h"

#include <algorithm>
#include <sstream>

namespace cli {

namespace {

const struct {
    ExitStatus status;
    const char* words;
} kStatusWords[] = {
    {kSuccess, "done"},
    {kPlanFailures, "not all done or an address held twice"},
    {kUsage, "command line not understood"},
    {kInvalidInput, "invalid input or no password given"},
    {kNotFound, "no device found"},
    {kWrongPassword, "wrong password"},
    {kNoAnswer, "no answer"},
    {kLibraryRefused, "library refused"},
    {kWrongLibrary, "incorrect library version"},
    {kWinkUnsupported, "the device does not support wink"},
    {kDhcpInitFailed, "DHCP server init failed"},
    {kAnswersLost, "answers lost or still coming (devices may be missing)"},
    {kNotAsSent, "the device does not show what was sent"},
    {kInterrupted, "interrupted"},
};

constexpr std::size_t kHelpWidth = 76;

}  // namespace

std::string ExitStatusHelp(const std::vector<ExitStatus>& statuses) {
    // The words to wrap between; a status stays with the first word of its meaning.
    std::vector<std::string> words = {"Exit", "status:"};
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        const auto entry =
            std::find_if(std::begin(kStatusWords), std::end(kStatusWords),
                         [&](const auto& each) { return each.status == statuses[i]; });
        std::istringstream meaning(entry->words);
        std::string word;
        meaning >> word;
        words.push_back(std::to_string(statuses[i]) + ' ' + word);
        while (meaning >> word)
            words.push_back(word);
        words.back() += i + 1 < statuses.size() ? "," : ".";
    }
    std::string help, line;
    for (const std::string& word : words) {
        if (!line.empty() && line.size() + 1 + word.size() > kHelpWidth) {
            help += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return help + line + '\n';
}

const char* ReplyText(Reply reply) {
    switch (reply) {
    case Reply::kAccepted:
        return "accepted";
    case Reply::kWrongPassword:
        return "wrong password";
    case Reply::kNoAnswer:
        return "no answer";
    case Reply::kSomeDevice:
        return "some device accepted";
    }
    return "";
}

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
    case Outcome::kChanged:
        return "changed";
    case Outcome::kNotChanged:
        return "not changed";
    case Outcome::kChangedOtherwise:
        return "changed otherwise";
    case Outcome::kMayHaveChanged:
        return "may have changed";
    case Outcome::kNotSent:
        return "not sent";
    case Outcome::kNotFound:
        return "not found";
    case Outcome::kInvalid:
        return "invalid";
    case Outcome::kWouldApply:
        return "would apply";
    case Outcome::kNoChange:
        return "no change";
    }
    return "";
}

bool IsDone(Outcome outcome) {
    return outcome == Outcome::kChanged || outcome == Outcome::kWouldApply ||
           outcome == Outcome::kNoChange;
}

ExitStatus ConfigureStatus(Outcome outcome, Reply reply) {
    if (IsDone(outcome))
        return kSuccess;
    if (reply == Reply::kWrongPassword)
        return kWrongPassword;
    if (reply == Reply::kNoAnswer)
        return kNoAnswer;
    return kNotAsSent;
}

}  // namespace cli
