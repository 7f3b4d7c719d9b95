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

namespace {

// One pass over the text, record by record.
class CsvReader {
public:
    CsvReader(const std::string& text, char separator) : text_(text), separator_(separator) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // Skips a comment line: one that starts with '#'.
    bool SkipComment() {
        if (text_[pos_] != '#')
            return false;
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string::npos ? text_.size() : end + 1;
        ++line_;
        return true;
    }

    // The fields up to the end of the record, and past its line end.
    bool ReadRecord(CsvRow& row, std::string& error) {
        row.line = line_;
        for (;;) {
            std::string field;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                if (!ReadQuoted(field, error))
                    return false;
            } else {
                const std::size_t start = pos_;
                while (!EndsField())
                    ++pos_;
                field.assign(text_, start, pos_ - start);
            }
            row.fields.push_back(std::move(field));
            if (pos_ >= text_.size() || text_[pos_] != separator_)
                break;
            ++pos_;
        }
        SkipLineEnd();
        return true;
    }

private:
    bool EndsField() const {
        return pos_ >= text_.size() || text_[pos_] == separator_ || text_[pos_] == '\r' ||
               text_[pos_] == '\n';
    }

    // A quoted field: separators, doubled quotes and line breaks inside.
    bool ReadQuoted(std::string& field, std::string& error) {
        const int quoteLine = line_;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size()) {
                error = "line " + std::to_string(quoteLine) + ": quote not closed";
                return false;
            }
            const char c = text_[pos_++];
            if (c == '"' && (pos_ >= text_.size() || text_[pos_] != '"'))
                break;
            if (c == '"')
                ++pos_;  // a doubled quote
            else if (c == '\n')
                ++line_;
            field += c;
        }
        if (!EndsField()) {
            error = "line " + std::to_string(line_) + ": text after a closing quote";
            return false;
        }
        return true;
    }

    void SkipLineEnd() {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        ++line_;
    }

    const std::string& text_;
    const char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error,
              char separator, bool comments) {
    CsvReader reader(text, separator);
    while (!reader.AtEnd()) {
        if (comments && reader.SkipComment())
            continue;
        CsvRow row;
        if (!reader.ReadRecord(row, error))
            return false;
        const bool empty = row.fields.size() == 1 && row.fields[0].empty();
        if (!empty)
            rows.push_back(std::move(row));
    }
    return true;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace cli
