#include "cli/DeviceTable.h"

#include "base/Address.h"
#include "base/Text.h"
#include "cli/Address.h"
#include "cli/Csv.h"
#include "zova/ResponseRow.h"

#include <algorithm>
#include <cstddef>

namespace cli {

namespace {

const char kNotReported[] = "N/A";

// Indexes into DeviceColumns(); the first seven are the window's row.
enum Column : std::size_t {
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
    kColumnCount
};

std::string ReportedAddress(std::uint8_t valid, std::uint32_t address) {
    return valid ? base::Ipv4Text(address) : kNotReported;
}

std::string ProtocolText(const ZOVA_ModuleScanResponseType& r) {
    return std::to_string(r.bProtocolVersionMajor) + '.' + std::to_string(r.bProtocolVersionMinor);
}

std::string JsonValue(const ZOVA_ModuleScanResponseType& r, std::size_t column,
                      const std::string& text) {
    if (text == kNotReported && column != kType && column != kHostname)
        return "null";
    switch (column) {
    case kDhcp:
        return r.bDhcpOn == 1 ? "true" : "false";
    case kPasswordProtection:
        return r.bPasswordOn != 0 ? "true" : "false";
    case kSalted:
        return r.bPasswordSaltValid == 1 ? "true" : "false";
    case kType:
        return r.bTypeValid ? JsonString(text) : "null";
    case kHostname:
        return r.bHostnameValid ? JsonString(text) : "null";
    default:
        return JsonString(text);
    }
}

std::string Table(const std::vector<std::vector<std::string>>& lines) {
    std::vector<std::size_t> widths(kColumnCount, 0);
    for (const auto& line : lines)
        for (std::size_t i = 0; i < kColumnCount; ++i)
            widths[i] = std::max(widths[i], line[i].size());
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            text += line[i];
            if (i + 1 < kColumnCount)
                text += std::string(widths[i] - line[i].size() + 2, ' ');
        }
        out += text + '\n';
    }
    return out;
}

}  // namespace

const std::vector<std::string>& DeviceColumns() {
    static const std::vector<std::string> kColumns = {
        "ip",    "mask",     "gateway", "dhcp", "firmware", "type",
        "mac",   "hostname", "dns1",    "dns2", "protocol", "password_protection",
        "salted"};
    return kColumns;
}

std::vector<std::string> DeviceTexts(const ZOVA_ModuleScanResponseType& r) {
    const zova::ResponseRow row = zova::BuildResponseRow(r);
    std::vector<std::string> texts(row.texts.begin(), row.texts.end());
    texts.push_back(r.bHostnameValid ? std::string(base::FieldText(r.szHostname)) : kNotReported);
    texts.push_back(ReportedAddress(r.bPrimaryDnsValid, r.dwPrimaryDns));
    texts.push_back(ReportedAddress(r.bSecondaryDnsValid, r.dwSecondaryDns));
    texts.push_back(ProtocolText(r));
    texts.push_back(!r.bPasswordValid ? kNotReported : r.bPasswordOn != 0 ? "On" : "Off");
    texts.push_back(r.bPasswordSaltValid == 1 ? "Yes" : "No");
    return texts;
}

void SortByMac(std::vector<ZOVA_ModuleScanResponseType>& devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        return base::MacFrom(a.abMacAddr) < base::MacFrom(b.abMacAddr);
    });
}

std::string FormatDevices(const std::vector<ZOVA_ModuleScanResponseType>& devices, Format format,
                          const CodePage& codePage) {
    const std::vector<std::string>& columns = DeviceColumns();
    const auto textsIn = [&](const ZOVA_ModuleScanResponseType& device, auto convert) {
        std::vector<std::string> texts = DeviceTexts(device);
        for (std::size_t i : {kType, kHostname})
            texts[i] = convert(texts[i]);
        return texts;
    };
    if (format == Format::kJson) {
        std::string out = "[";
        for (std::size_t d = 0; d < devices.size(); ++d) {
            const std::vector<std::string> texts = textsIn(devices[d], codePage.toUtf8);
            out += d == 0 ? "\n  {" : ",\n  {";
            for (std::size_t i = 0; i < kColumnCount; ++i) {
                out += i == 0 ? "" : ", ";
                out += JsonString(columns[i]) + ": " + JsonValue(devices[d], i, texts[i]);
            }
            out += "}";
        }
        return out + (devices.empty() ? "]\n" : "\n]\n");
    }
    if (format == Format::kCsv) {
        std::string out = std::string(kUtf8Bom) + CsvRecord(columns);
        for (const auto& device : devices)
            out += CsvRecord(textsIn(device, codePage.toUtf8));
        return out;
    }
    std::vector<std::vector<std::string>> lines = {columns};
    for (const auto& device : devices)
        lines.push_back(textsIn(device, &Escaped));
    return Table(lines);
}

std::string JsonString(const std::string& text) {
    return base::JsonQuoted(text, base::JsonHighBytes::kUtf8);
}

}  // namespace cli
