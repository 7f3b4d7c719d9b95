#include "cli/ExitStatus.h"

#include "cli/Csv.h"
#include "cli/DeviceTable.h"

#include <algorithm>

namespace cli {

namespace {

const Outcome kAllOutcomes[] = {Outcome::kAccepted, Outcome::kWrongPassword, Outcome::kNotFound,
                                Outcome::kNoAnswer, Outcome::kInvalid,       Outcome::kWouldApply,
                                Outcome::kNoChange};

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
    case Outcome::kNoChange:
        return "no change";
    }
    return "";
}

ExitStatus StatusOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::kAccepted:
    case Outcome::kWouldApply:
    case Outcome::kNoChange:
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
    std::size_t counts[std::size(kAllOutcomes)] = {};
    for (Outcome outcome : outcomes)
        ++counts[static_cast<std::size_t>(outcome)];
    std::string text = std::to_string(outcomes.size()) + " lines:";
    bool first = true;
    for (Outcome outcome : kAllOutcomes) {
        const std::size_t count = counts[static_cast<std::size_t>(outcome)];
        if (count == 0)
            continue;
        text += first ? " " : ", ";
        text += std::to_string(count) + ' ' + OutcomeText(outcome);
        first = false;
    }
    return text;
}

std::string ReportStart(Format format) {
    if (format == Format::kCsv)
        return CsvRecord({"line", "mac", "result", "reason"});
    return format == Format::kJson ? "[" : "";
}

std::string ReportLine(Format format, const LineReport& report, bool first) {
    const std::string line = std::to_string(report.line);
    const char* result = OutcomeText(report.outcome);
    if (format == Format::kCsv)
        return CsvRecord({line, report.mac, result, report.reason});
    if (format == Format::kJson)
        return std::string(first ? "\n" : ",\n") + "  {\"line\": " + line +
               ", \"mac\": " + JsonString(report.mac) + ", \"result\": " + JsonString(result) +
               ", \"reason\": " + (report.reason.empty() ? "null" : JsonString(report.reason)) +
               "}";
    std::string text = "line " + line + ": " + report.mac + ": ";
    if (report.outcome == Outcome::kWouldApply)
        return text + "would set: " + report.reason + '\n';
    return text + result + (report.reason.empty() ? "" : ": " + report.reason) + '\n';
}

std::string ReportEnd(Format format, bool empty) {
    if (format != Format::kJson)
        return "";
    return empty ? "]\n" : "\n]\n";
}

}  // namespace cli
