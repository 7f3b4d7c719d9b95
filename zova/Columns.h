// The columns of a device's row, each in one place: its heading and width in
// the window's list, its name in the console program's scan output (table,
// CSV, JSON), in a plan's header and in a fleet file, what its value is and
// how its text is formed from a scan answer. A new column is a new row of
// kColumns.
#ifndef VANTREL_ZOVA_COLUMNS_H
#define VANTREL_ZOVA_COLUMNS_H

#include "zova/zova.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zova {

// Positions in kColumns, which is the order of scan's output.
enum class ColumnId : std::uint8_t {
    kIp,
    kMask,
    kGateway,
    kDhcp,
    kFirmware,
    kType,
    kMac,
    kHostname,
    kDns1,
    kDns2,
    kProtocol,
    kPasswordProtection,
    kSalted,
};

constexpr std::size_t kColumnCount = 13;
constexpr std::size_t kWindowColumns = 7;  // the list shows the first seven

// What a column's value is, which decides how the console program writes it
// (JSON booleans, the code page's conversion) and reads it back from a plan.
enum class ValueForm : std::uint8_t {
    kMac,
    kAddress,  // dotted IPv4
    kVersion,  // numbers joined by '.'
    kText,     // the device's own text, in the system's code page
    kOnOff,    // "On" or "Off": true or false in JSON
    kYesNo,    // "Yes" or "No": true or false in JSON
};

struct Column {
    ColumnId id;
    const char* name;     // in scan's output, in a plan's header and in a fleet file
    const char* heading;  // in the window's list; null past its seven columns
    int width;            // in the window's list, in pixels
    ValueForm form;
    bool setting;  // a configure request sets it, so that a plan's cell may change it
    // The text of the value, or none when the answer does not report it.
    std::optional<std::string> (*value)(const ZOVA_ModuleScanResponseType& answer);
};

extern const Column kColumns[kColumnCount];

// What a row shows for a value that the device does not report.
constexpr char kNotReported[] = "N/A";

// The column's text of the answer: its value, or "N/A".
std::string ColumnText(const Column& column, const ZOVA_ModuleScanResponseType& answer);

// The column of that name (exactly as kColumns spells it), or null.
const Column* FindColumn(std::string_view name);

// The window's columns as the list's spec: "Heading,width" of each, joined by ';'.
std::string WindowColumnFormat();

}  // namespace zova

#endif  // VANTREL_ZOVA_COLUMNS_H
