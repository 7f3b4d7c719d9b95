#include "cli/DeviceTable.h"

#include "base/Address.h"
#include "base/Text.h"
#include "cli/Address.h"
#include "cli/Csv.h"
#include "zova/Columns.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace cli {

namespace {

// A value as JSON: null when not reported, on/off and yes/no as booleans.
std::string JsonValue(const zova::Column& column, const std::optional<std::string>& value) {
    if (!value)
        return "null";
    switch (column.form) {
    case zova::ValueForm::kOnOff:
        return *value == "On" ? "true" : "false";
    case zova::ValueForm::kYesNo:
        return *value == "Yes" ? "true" : "false";
    default:
        return JsonString(*value);
    }
}

// The values of one answer in column order, the device's own texts
// converted; the others are ASCII.
template <typename Convert>
std::vector<std::optional<std::string>> ValuesIn(const ZOVA_ModuleScanResponseType& device,
                                                 Convert convert) {
    std::vector<std::optional<std::string>> values;
    values.reserve(zova::kColumnCount);
    for (const zova::Column& column : zova::kColumns) {
        values.push_back(column.value(device));
        if (values.back() && column.form == zova::ValueForm::kText)
            values.back() = convert(*values.back());
    }
    return values;
}

template <typename Convert>
std::vector<std::string> TextsIn(const ZOVA_ModuleScanResponseType& device, Convert convert) {
    std::vector<std::string> texts;
    texts.reserve(zova::kColumnCount);
    for (const std::optional<std::string>& value : ValuesIn(device, convert))
        texts.push_back(value.value_or(zova::kNotReported));
    return texts;
}

std::string Table(const std::vector<std::vector<std::string>>& lines) {
    std::vector<std::size_t> widths(zova::kColumnCount, 0);
    for (const auto& line : lines)
        for (std::size_t i = 0; i < zova::kColumnCount; ++i)
            widths[i] = std::max(widths[i], line[i].size());
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t i = 0; i < zova::kColumnCount; ++i) {
            text += line[i];
            if (i + 1 < zova::kColumnCount)
                text += std::string(widths[i] - line[i].size() + 2, ' ');
        }
        out += text + '\n';
    }
    return out;
}

}  // namespace

std::vector<std::string> DeviceTexts(const ZOVA_ModuleScanResponseType& r) {
    std::vector<std::string> texts;
    texts.reserve(zova::kColumnCount);
    for (const zova::Column& column : zova::kColumns)
        texts.push_back(zova::ColumnText(column, r));
    return texts;
}

void SortByMac(std::vector<ZOVA_ModuleScanResponseType>& devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        return base::MacFrom(a.abMacAddr) < base::MacFrom(b.abMacAddr);
    });
}

std::string FormatDevices(const std::vector<ZOVA_ModuleScanResponseType>& devices, Format format,
                          const CodePage& codePage) {
    if (format == Format::kJson) {
        std::string out = "[";
        for (std::size_t d = 0; d < devices.size(); ++d) {
            const auto values = ValuesIn(devices[d], codePage.toUtf8);
            out += d == 0 ? "\n  {" : ",\n  {";
            for (std::size_t i = 0; i < zova::kColumnCount; ++i) {
                out += i == 0 ? "" : ", ";
                out += JsonString(zova::kColumns[i].name) + ": " +
                       JsonValue(zova::kColumns[i], values[i]);
            }
            out += "}";
        }
        return out + (devices.empty() ? "]\n" : "\n]\n");
    }
    std::vector<std::string> names;
    for (const zova::Column& column : zova::kColumns)
        names.push_back(column.name);
    if (format == Format::kCsv) {
        std::string out = std::string(kUtf8Bom) + CsvRecord(names);
        for (const auto& device : devices)
            out += CsvRecord(TextsIn(device, codePage.toUtf8));
        return out;
    }
    std::vector<std::vector<std::string>> lines = {names};
    for (const auto& device : devices)
        lines.push_back(TextsIn(device, &Escaped));
    return Table(lines);
}

std::string JsonString(const std::string& text) {
    return base::JsonQuoted(text, base::JsonHighBytes::kUtf8);
}

}  // namespace cli
