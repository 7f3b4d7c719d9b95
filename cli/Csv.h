// Comma-separated values as RFC 4180 has them, both ways, and what
// spreadsheets make of them.
#ifndef VANTREL_CLI_CSV_H
#define VANTREL_CLI_CSV_H

#include <string>
#include <vector>

namespace cli {

// One field: quoted (inner quotes doubled) when it holds a comma, a quote,
// CR or LF, else as it is.
std::string CsvField(const std::string& text);

// Fields joined by commas, ended by CRLF.
std::string CsvRecord(const std::vector<std::string>& fields);

struct CsvRow {
    int line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
};

// Every record of text, fields split at separator. Lines may end in CRLF or
// LF; quoted fields may hold separators, doubled quotes and line breaks.
// Empty lines are skipped, and with comments so is every line that starts
// with '#'. False, with error saying where, for a quote that is never closed
// or text after a closing quote.
bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error,
              char separator = ',', bool comments = false);

// ASCII letters made lower case.
std::string LowerCase(std::string text);

}  // namespace cli

#endif  // VANTREL_CLI_CSV_H
