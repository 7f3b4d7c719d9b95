#include "cli/Report.h"

#include "cli/Address.h"
#include "cli/Csv.h"

namespace cli {

namespace {

const Outcome kAllOutcomes[] = {
    Outcome::kChanged,        Outcome::kNotChanged, Outcome::kChangedOtherwise,
    Outcome::kMayHaveChanged, Outcome::kNotSent,    Outcome::kNotFound,
    Outcome::kInvalid,        Outcome::kWouldApply, Outcome::kNoChange};

}  // namespace

std::string ResultText(Outcome outcome, std::optional<Reply> reply, const std::string& reason) {
    std::string text = OutcomeText(outcome);
    if (reply)
        text += std::string(" (library: ") + ReplyText(*reply) + ")";
    return text + (reason.empty() ? "" : ": " + Escaped(reason));
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
        return std::string(kUtf8Bom) + CsvRecord({"line", "mac", "result", "library", "reason"});
    return format == Format::kJson ? "[" : "";
}

std::string ReportLine(Format format, const LineReport& report, bool first,
                       const CodePage& codePage) {
    const std::string line = std::to_string(report.line);
    const char* result = OutcomeText(report.outcome);
    const std::string library = report.reply ? ReplyText(*report.reply) : "";
    if (format == Format::kCsv)
        return CsvRecord(
            {line, codePage.toUtf8(report.mac), result, library, codePage.toUtf8(report.reason)});
    if (format == Format::kJson)
        return std::string(first ? "\n" : ",\n") + "  {\"line\": " + line +
               ", \"mac\": " + JsonString(codePage.toUtf8(report.mac)) +
               ", \"result\": " + JsonString(result) +
               ", \"library\": " + (report.reply ? JsonString(library) : "null") +
               ", \"reason\": " +
               (report.reason.empty() ? "null" : JsonString(codePage.toUtf8(report.reason))) + "}";
    const std::string text = "line " + line + ": " + Escaped(report.mac) + ": ";
    if (report.outcome == Outcome::kWouldApply)
        return text + "would set: " + Escaped(report.reason) + '\n';
    return text + ResultText(report.outcome, report.reply, report.reason) + '\n';
}

std::string ReportEnd(Format format, bool empty) {
    if (format != Format::kJson)
        return "";
    return empty ? "]\n" : "\n]\n";
}

}  // namespace cli
