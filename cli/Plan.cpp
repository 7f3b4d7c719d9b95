#include "cli/Plan.h"

#include "cli/Address.h"
#include "cli/Csv.h"

#include <algorithm>
#include <unordered_map>

namespace cli {

namespace {

enum class Kind { kMac, kSetting, kPassword, kIgnored };

const struct {
    const char* name;
    Kind kind;
} kColumns[] = {
    {"mac", Kind::kMac},
    {"ip", Kind::kSetting},
    {"mask", Kind::kSetting},
    {"gateway", Kind::kSetting},
    {"dns1", Kind::kSetting},
    {"dns2", Kind::kSetting},
    {"hostname", Kind::kSetting},
    {"dhcp", Kind::kSetting},
    {"password", Kind::kPassword},
    // What scan writes besides: a scan's CSV is a plan.
    {"firmware", Kind::kIgnored},
    {"type", Kind::kIgnored},
    {"protocol", Kind::kIgnored},
    {"password_protection", Kind::kIgnored},
    {"salted", Kind::kIgnored},
};

std::string ColumnList() {
    std::string read, ignored;
    for (const auto& column : kColumns) {
        std::string& list = column.kind == Kind::kIgnored ? ignored : read;
        list += (list.empty() ? "" : ", ") + std::string(column.name);
    }
    return read + "; ignored: " + ignored;
}

// The separator is the first ',', ';' or tab of the header line: the first
// line that holds more than blanks and does not start with '#'.
char SeparatorOf(const std::string& text) {
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t first = text.find_first_not_of(" \t\r", pos);
        if (first < end && text[pos] != '#') {
            const std::size_t separator = text.find_first_of(",;\t", pos);
            return separator < end ? text[separator] : ',';
        }
        pos = end + 1;
    }
    return ',';
}

int LineAt(const std::string& text, std::size_t pos) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + pos, '\n'));
}

bool AllEmpty(const std::vector<std::string>& cells, std::size_t from = 0) {
    return std::all_of(cells.begin() + std::min(from, cells.size()), cells.end(),
                       [](const std::string& cell) { return TrimBlanks(cell).empty(); });
}

}  // namespace

const std::vector<std::string>& PlanColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const auto& column : kColumns)
            list.push_back(column.name);
        return list;
    }();
    return names;
}

bool ParsePlan(const std::string& text, Plan& plan, std::string& error) {
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
        error = "the plan is UTF-16 text; save it as CSV (UTF-8)";
        return false;
    }
    const std::string body = text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
    const std::size_t nul = body.find('\0');
    if (nul != std::string::npos) {
        error = "line " + std::to_string(LineAt(body, nul)) +
                ": a NUL byte; the plan must be text: save it as CSV (UTF-8)";
        return false;
    }
    std::vector<CsvRow> rows;
    if (!ParseCsv(body, rows, error, SeparatorOf(body), true))
        return false;
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const CsvRow& row) { return AllEmpty(row.fields); }),
               rows.end());
    if (rows.empty()) {
        error = "the plan has no header line";
        return false;
    }

    const CsvRow& headerRow = rows[0];
    const std::string where = "line " + std::to_string(headerRow.line) + ": ";
    std::size_t named = headerRow.fields.size();
    while (named > 0 && TrimBlanks(headerRow.fields[named - 1]).empty())
        --named;
    std::vector<Kind> kinds;
    std::vector<std::string> names;
    for (std::size_t c = 0; c < named; ++c) {
        const std::string name = LowerCase(TrimBlanks(headerRow.fields[c]));
        const auto known = std::find_if(std::begin(kColumns), std::end(kColumns),
                                        [&](const auto& column) { return name == column.name; });
        if (known == std::end(kColumns)) {
            error = where + "unknown column " + Quoted(headerRow.fields[c]) + "; the columns are " +
                    ColumnList();
            return false;
        }
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            error = where + "column twice: " + Quoted(headerRow.fields[c]);
            return false;
        }
        names.push_back(name);
        kinds.push_back(known->kind);
    }
    const std::size_t macColumn = std::find(names.begin(), names.end(), "mac") - names.begin();
    if (macColumn == names.size()) {
        error = where + "no mac column";
        return false;
    }

    std::unordered_map<std::uint64_t, int> firstLineOf;
    firstLineOf.reserve(rows.size());
    plan.lines.reserve(rows.size() - 1);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        PlanLine line;
        line.line = rows[r].line;
        const std::vector<std::string>& cells = rows[r].fields;
        if (macColumn < cells.size())
            line.macText = TrimBlanks(cells[macColumn]);
        if (cells.size() < named || !AllEmpty(cells, named)) {
            line.error = std::to_string(cells.size()) + " cells where the header has " +
                         std::to_string(named);
            plan.lines.push_back(std::move(line));
            continue;
        }
        for (std::size_t c = 0; c < named && line.error.empty(); ++c) {
            switch (kinds[c]) {
            case Kind::kMac:
                if (const auto mac = base::ParseMac(line.macText))
                    line.mac = *mac;
                else
                    line.error = "mac " + Quoted(line.macText) + ": not a MAC address";
                break;
            case Kind::kPassword:
                // A password is exact: its blanks are the user's.
                if (cells[c].size() > kMaxTextLength)
                    line.error = "password: longer than 29 characters";
                else if (!cells[c].empty())
                    line.password = cells[c];
                break;
            case Kind::kSetting: {
                const std::string value = TrimBlanks(cells[c]);
                if (LowerCase(value) != "n/a")
                    SetChange(line.changes, names[c], value, line.error);
                break;
            }
            case Kind::kIgnored:
                break;
            }
        }
        if (line.error.empty()) {
            const auto first = firstLineOf.emplace(base::MacKey(line.mac), line.line);
            if (!first.second)
                line.error = "mac " + Quoted(line.macText) + ": the same device as line " +
                             std::to_string(first.first->second);
        }
        plan.lines.push_back(std::move(line));
    }
    return true;
}

}  // namespace cli
