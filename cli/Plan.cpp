#include "cli/Plan.h"

#include "cli/Address.h"
#include "cli/Csv.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace cli {

namespace {

const char* const kColumns[] = {"mac",  "ip",       "mask", "gateway", "dns1",
                                "dns2", "hostname", "dhcp", "password"};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool ParsePlan(const std::string& text, Plan& plan, std::string& error) {
    std::vector<CsvRow> rows;
    if (!ParseCsv(text, rows, error))
        return false;
    if (rows.empty()) {
        error = "the plan has no header line";
        return false;
    }
    std::vector<std::string> header;
    for (const std::string& cell : rows[0].fields) {
        const std::string name = Lower(Trimmed(cell));
        if (std::find(std::begin(kColumns), std::end(kColumns), name) == std::end(kColumns)) {
            error = "line " + std::to_string(rows[0].line) + ": unknown column: " + cell;
            return false;
        }
        if (std::find(header.begin(), header.end(), name) != header.end()) {
            error = "line " + std::to_string(rows[0].line) + ": column twice: " + cell;
            return false;
        }
        header.push_back(name);
    }
    if (std::find(header.begin(), header.end(), "mac") == header.end()) {
        error = "line " + std::to_string(rows[0].line) + ": no mac column";
        return false;
    }
    plan.hasPasswordColumn = std::find(header.begin(), header.end(), "password") != header.end();

    for (std::size_t r = 1; r < rows.size(); ++r) {
        PlanLine line;
        line.line = rows[r].line;
        const std::vector<std::string>& cells = rows[r].fields;
        const std::size_t macColumn =
            std::find(header.begin(), header.end(), "mac") - header.begin();
        if (macColumn < cells.size())
            line.macText = Trimmed(cells[macColumn]);
        if (cells.size() != header.size()) {
            line.error = std::to_string(cells.size()) + " cells where the header has " +
                         std::to_string(header.size());
            plan.lines.push_back(line);
            continue;
        }
        for (std::size_t c = 0; c < cells.size() && line.error.empty(); ++c) {
            // Passwords and host names are taken as written; blanks around
            // addresses are a spreadsheet's, not the user's.
            const bool verbatim = header[c] == "password" || header[c] == "hostname";
            const std::string value = verbatim ? cells[c] : Trimmed(cells[c]);
            if (header[c] == "mac") {
                line.macText = value;
                if (!ParseMac(value, line.mac))
                    line.error = "not a MAC address: " + value;
            } else if (header[c] == "password") {
                line.password = value;
            } else {
                SetChange(line.changes, header[c], value, line.error);
            }
        }
        if (line.error.empty()) {
            for (const PlanLine& earlier : plan.lines) {
                if (earlier.error.empty() && std::memcmp(earlier.mac, line.mac, 6) == 0) {
                    line.error = "the same device as line " + std::to_string(earlier.line);
                    break;
                }
            }
        }
        plan.lines.push_back(line);
    }
    return true;
}

}  // namespace cli
