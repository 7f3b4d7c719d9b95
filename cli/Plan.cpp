#include "cli/Plan.h"

#include "cli/Address.h"
#include "cli/Csv.h"
#include "cli/Encoding.h"
#include "zova/Columns.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace cli {

namespace {

enum class Kind { kMac, kSetting, kPassword, kIgnored };

struct PlanColumn {
    const char* name;
    Kind kind;
    int place;  // in the plan's list of columns
};

// A scan's CSV is a plan: each column scan writes is the MAC, a setting or
// ignored. The plan lists its columns in this order: the MAC, the settings as
// configure takes them (addresses, the host name, DHCP), the password, then
// the ones it ignores.
PlanColumn PlanColumnOf(const zova::Column& column) {
    if (column.form == zova::ValueForm::kMac)
        return {column.name, Kind::kMac, 0};
    if (!column.setting)
        return {column.name, Kind::kIgnored, 5};
    switch (column.form) {
    case zova::ValueForm::kAddress:
        return {column.name, Kind::kSetting, 1};
    case zova::ValueForm::kText:
        return {column.name, Kind::kSetting, 2};
    default:
        return {column.name, Kind::kSetting, 3};
    }
}

const std::vector<PlanColumn>& Columns() {
    static const std::vector<PlanColumn> columns = [] {
        std::vector<PlanColumn> list = {{"password", Kind::kPassword, 4}};
        for (const zova::Column& column : zova::kColumns)
            list.push_back(PlanColumnOf(column));
        std::stable_sort(list.begin(), list.end(), [](const PlanColumn& a, const PlanColumn& b) {
            return a.place < b.place;
        });
        return list;
    }();
    return columns;
}

std::string ColumnList() {
    std::string read, ignored;
    for (const PlanColumn& column : Columns()) {
        std::string& list = column.kind == Kind::kIgnored ? ignored : read;
        list += (list.empty() ? "" : ", ") + std::string(column.name);
    }
    return read + "; ignored: " + ignored;
}

// Excel's first line "sep=;" names the separator.
std::optional<char> SeparatorLine(const std::string& text) {
    const std::size_t end = text.find('\n');
    std::string line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() != 5 || LowerCase(line.substr(0, 4)) != "sep=")
        return std::nullopt;
    return line[4];
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

// The plan's text as UTF-8 without a byte order mark, and its separator.
bool ReadText(const std::string& text, const CodePage& codePage, std::string& body, char& separator,
              std::string& error) {
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
        error = "the plan is UTF-16 text; save it as CSV (UTF-8)";
        return false;
    }
    body = text;
    DropBom(body);
    const std::size_t nul = body.find('\0');
    if (nul != std::string::npos) {
        error = "line " + std::to_string(LineAt(body, nul)) +
                ": a NUL byte; the plan must be text: save it as CSV (UTF-8)";
        return false;
    }
    // What is not UTF-8 was saved in the system's code page.
    if (!IsUtf8(body))
        body = codePage.toUtf8(body);
    if (const std::optional<char> named = SeparatorLine(body)) {
        separator = *named;
        body.erase(0, body.find('\n'));  // the line stays, empty, so that lines keep their numbers
    } else {
        separator = SeparatorOf(body);
    }
    return true;
}

struct Header {
    std::size_t named = 0;  // columns up to the last one with a name
    std::vector<Kind> kinds;
    std::vector<std::string> names;
    std::size_t macColumn = 0;
};

bool ReadHeader(const CsvRow& row, Header& header, std::string& error) {
    const std::string where = "line " + std::to_string(row.line) + ": ";
    header.named = row.fields.size();
    while (header.named > 0 && TrimBlanks(row.fields[header.named - 1]).empty())
        --header.named;
    for (std::size_t c = 0; c < header.named; ++c) {
        const std::string name = LowerCase(TrimBlanks(row.fields[c]));
        const auto known = std::find_if(Columns().begin(), Columns().end(),
                                        [&](const auto& column) { return name == column.name; });
        if (known == Columns().end()) {
            error = where + "unknown column " + Quoted(row.fields[c]) + "; the columns are " +
                    ColumnList();
            return false;
        }
        if (std::find(header.names.begin(), header.names.end(), name) != header.names.end()) {
            error = where + "column twice: " + Quoted(row.fields[c]);
            return false;
        }
        header.names.push_back(name);
        header.kinds.push_back(known->kind);
    }
    header.macColumn =
        std::find(header.kinds.begin(), header.kinds.end(), Kind::kMac) - header.kinds.begin();
    if (header.macColumn == header.names.size()) {
        error = where + "no mac column";
        return false;
    }
    return true;
}

// A UTF-8 cell in the system's code page, as the devices take texts.
std::optional<std::string> InCodePage(const std::string& cell, const CodePage& codePage) {
    const bool ascii = std::all_of(cell.begin(), cell.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? cell : codePage.fromUtf8(cell);
}

// One cell into the line: its change, its password or its MAC; the line's
// error when it cannot be read.
void ReadCell(const std::string& raw, Kind kind, const std::string& name, PlanLine& line,
              const CodePage& codePage) {
    // A password is exact: its blanks are the user's.
    const std::optional<std::string> cell =
        InCodePage(kind == Kind::kPassword ? raw : TrimBlanks(raw), codePage);
    if (!cell) {
        line.error = name + ": a character the system's code page has not";
        return;
    }
    switch (kind) {
    case Kind::kMac:
        line.macText = *cell;
        if (const auto mac = base::ParseMac(*cell))
            line.mac = *mac;
        else
            line.error = "mac " + Quoted(*cell) + ": not a MAC address";
        break;
    case Kind::kPassword:
        if (cell->size() > kMaxTextLength)
            line.error = "password: longer than 29 characters";
        else if (!cell->empty())
            line.password = *cell;
        break;
    case Kind::kSetting:
        if (LowerCase(*cell) != "n/a")
            SetChange(line.changes, name, *cell, line.error);
        break;
    case Kind::kIgnored:
        break;
    }
}

PlanLine ReadLine(const CsvRow& row, const Header& header, const CodePage& codePage) {
    PlanLine line;
    line.line = row.line;
    const std::vector<std::string>& cells = row.fields;
    if (cells.size() < header.named || !AllEmpty(cells, header.named)) {
        if (header.macColumn < cells.size())
            line.macText = InCodePage(TrimBlanks(cells[header.macColumn]), codePage).value_or("");
        line.error = std::to_string(cells.size()) + " cells where the header has " +
                     std::to_string(header.named);
        return line;
    }
    ReadCell(cells[header.macColumn], Kind::kMac, header.names[header.macColumn], line, codePage);
    for (std::size_t c = 0; c < header.named && line.error.empty(); ++c)
        if (c != header.macColumn)
            ReadCell(cells[c], header.kinds[c], header.names[c], line, codePage);
    return line;
}

}  // namespace

bool ParsePlan(const std::string& text, const CodePage& codePage, Plan& plan, std::string& error) {
    std::string body;
    char separator = ',';
    std::vector<CsvRow> rows;
    if (!ReadText(text, codePage, body, separator, error) ||
        !ParseCsv(body, rows, error, separator, true))
        return false;
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const CsvRow& row) { return AllEmpty(row.fields); }),
               rows.end());
    if (rows.empty()) {
        error = "the plan has no header line";
        return false;
    }
    Header header;
    if (!ReadHeader(rows[0], header, error))
        return false;

    std::unordered_map<std::uint64_t, int> firstLineOf;
    firstLineOf.reserve(rows.size());
    plan.lines.reserve(rows.size() - 1);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        PlanLine line = ReadLine(rows[r], header, codePage);
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
