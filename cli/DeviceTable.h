// What `scan` prints: one device per line in a table, CSV or JSON, with the
// row texts the window shows and the further values of the answer; and JSON
// text values, which apply's reports write as well.
#ifndef VANTREL_CLI_DEVICETABLE_H
#define VANTREL_CLI_DEVICETABLE_H

#include "cli/Encoding.h"
#include "zova/zova.h"

#include <string>
#include <vector>

namespace cli {

enum class Format { kTable, kCsv, kJson };

// The texts of one answer, in the order of zova::kColumns, which every format
// follows and names its columns by: "N/A" for every unreported value.
std::vector<std::string> DeviceTexts(const ZOVA_ModuleScanResponseType& response);

// Devices in the order of their MACs, so that two scans compare line by line.
void SortByMac(std::vector<ZOVA_ModuleScanResponseType>& devices);

// The whole output for the answers, one per device, in the given order. The
// table keeps the device texts in the code page with their control
// characters escaped; CSV (after a byte order mark) and JSON are UTF-8.
std::string FormatDevices(const std::vector<ZOVA_ModuleScanResponseType>& devices, Format format,
                          const CodePage& codePage);

// UTF-8 text as a JSON string: quotes, backslashes and control characters
// escaped.
std::string JsonString(const std::string& text);

}  // namespace cli

#endif  // VANTREL_CLI_DEVICETABLE_H
