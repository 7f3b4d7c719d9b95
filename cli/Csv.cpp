#include "cli/Csv.h"

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

bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error) {
    std::size_t pos = 0;
    int line = 1;
    while (pos < text.size()) {
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
                if (pos < text.size() && text[pos] != ',' && text[pos] != '\r' &&
                    text[pos] != '\n') {
                    error = "line " + std::to_string(line) + ": text after a closing quote";
                    return false;
                }
            } else {
                while (pos < text.size() && text[pos] != ',' && text[pos] != '\r' &&
                       text[pos] != '\n')
                    field += text[pos++];
            }
            row.fields.push_back(field);
            field.clear();
            if (pos < text.size() && text[pos] == ',') {
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
            rows.push_back(row);
    }
    return true;
}

}  // namespace cli
