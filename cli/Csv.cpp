#include "cli/Csv.h"

#include <cctype>

namespace cli {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        record += CsvField(fields[i]);
    }
    return record + "\r\n";
}

bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error,
              char separator, bool comments) {
    const auto endsField = [&](std::size_t at) {
        return at >= text.size() || text[at] == separator || text[at] == '\r' || text[at] == '\n';
    };
    std::size_t pos = 0;
    int line = 1;
    while (pos < text.size()) {
        if (comments && text[pos] == '#') {
            const std::size_t end = text.find('\n', pos);
            pos = end == std::string::npos ? text.size() : end + 1;
            ++line;
            continue;
        }
        CsvRow row;
        row.line = line;
        std::string field;
        bool recordEnded = false;
        while (!recordEnded) {
            if (pos < text.size() && text[pos] == '"') {
                const int quoteLine = line;
                ++pos;
                for (;;) {
                    if (pos >= text.size()) {
                        error = "line " + std::to_string(quoteLine) + ": quote not closed";
                        return false;
                    }
                    const char c = text[pos++];
                    if (c == '"') {
                        if (pos < text.size() && text[pos] == '"') {
                            field += '"';
                            ++pos;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    field += c;
                }
                if (!endsField(pos)) {
                    error = "line " + std::to_string(line) + ": text after a closing quote";
                    return false;
                }
            } else {
                const std::size_t start = pos;
                while (!endsField(pos))
                    ++pos;
                field.assign(text, start, pos - start);
            }
            row.fields.push_back(std::move(field));
            field.clear();
            if (pos < text.size() && text[pos] == separator) {
                ++pos;
                continue;
            }
            recordEnded = true;
            if (pos < text.size() && text[pos] == '\r')
                ++pos;
            if (pos < text.size() && text[pos] == '\n')
                ++pos;
            ++line;
        }
        const bool empty = row.fields.size() == 1 && row.fields[0].empty();
        if (!empty)
            rows.push_back(std::move(row));
    }
    return true;
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace cli
