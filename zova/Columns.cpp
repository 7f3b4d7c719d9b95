#include "zova/Columns.h"

#include "base/Address.h"
#include "base/Text.h"

#include <cstdio>

namespace zova {

namespace {

using Answer = ZOVA_ModuleScanResponseType;
using Value = std::optional<std::string>;

Value Address(std::uint8_t valid, std::uint32_t address) {
    return valid ? Value(base::Ipv4Text(address)) : std::nullopt;
}

// The field comes off the network: it need not hold a terminator.
template <std::size_t N>
Value FieldValue(std::uint8_t valid, const char (&field)[N]) {
    return valid ? Value(std::string(base::FieldText(field))) : std::nullopt;
}

Value OnOff(std::uint8_t valid, bool on) {
    return valid ? Value(on ? "On" : "Off") : std::nullopt;
}

Value Firmware(const Answer& a) {
    if (!a.bFwVersionValid)
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u.%u", unsigned{a.bFwVersionMajor},
                  unsigned{a.bFwVersionMinor}, unsigned{a.wFwBuild});
    return text;
}

}  // namespace

// The window's seven come first, in the order and with the headings and
// widths it has always had.
constexpr Column kColumns[kColumnCount] = {
    {ColumnId::kIp, "ip", "IP", 90, ValueForm::kAddress, true,
     [](const Answer& a) { return Address(a.bIpAddrValid, a.dwIpAddr); }},
    {ColumnId::kMask, "mask", "SN", 90, ValueForm::kAddress, true,
     [](const Answer& a) { return Address(a.bSubnetMaskValid, a.dwSubnetMask); }},
    {ColumnId::kGateway, "gateway", "GW", 90, ValueForm::kAddress, true,
     [](const Answer& a) { return Address(a.bGatewayValid, a.dwGateway); }},
    {ColumnId::kDhcp, "dhcp", "DHCP", 50, ValueForm::kOnOff, true,
     [](const Answer& a) { return OnOff(a.bDhcpValid, a.bDhcpOn == 1); }},
    {ColumnId::kFirmware, "firmware", "Version", 50, ValueForm::kVersion, false, &Firmware},
    {ColumnId::kType, "type", "Type", 114, ValueForm::kText, false,
     [](const Answer& a) { return FieldValue(a.bTypeValid, a.szType); }},
    {ColumnId::kMac, "mac", "MAC", 115, ValueForm::kMac, false,
     [](const Answer& a) {
         return a.bMacAddrValid ? Value(base::MacText(base::MacFrom(a.abMacAddr))) : std::nullopt;
     }},
    {ColumnId::kHostname, "hostname", nullptr, 0, ValueForm::kText, true,
     [](const Answer& a) { return FieldValue(a.bHostnameValid, a.szHostname); }},
    {ColumnId::kDns1, "dns1", nullptr, 0, ValueForm::kAddress, true,
     [](const Answer& a) { return Address(a.bPrimaryDnsValid, a.dwPrimaryDns); }},
    {ColumnId::kDns2, "dns2", nullptr, 0, ValueForm::kAddress, true,
     [](const Answer& a) { return Address(a.bSecondaryDnsValid, a.dwSecondaryDns); }},
    // Always sent: a device that leaves it out reads as 0.0.
    {ColumnId::kProtocol, "protocol", nullptr, 0, ValueForm::kVersion, false,
     [](const Answer& a) {
         return Value(std::to_string(a.bProtocolVersionMajor) + '.' +
                      std::to_string(a.bProtocolVersionMinor));
     }},
    {ColumnId::kPasswordProtection, "password_protection", nullptr, 0, ValueForm::kOnOff, false,
     [](const Answer& a) { return OnOff(a.bPasswordValid, a.bPasswordOn != 0); }},
    // Whether passwords go to the device as digests; never unreported.
    {ColumnId::kSalted, "salted", nullptr, 0, ValueForm::kYesNo, false,
     [](const Answer& a) { return Value(a.bPasswordSaltValid == 1 ? "Yes" : "No"); }},
};

namespace {

constexpr bool WellFormed() {
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const Column& column = kColumns[i];
        if (column.id != static_cast<ColumnId>(i) ||
            (column.heading != nullptr) != (i < kWindowColumns))
            return false;
        // The list's spec ends a heading at its first ','.
        for (const char* c = column.heading; c && *c; ++c)
            if (*c == ',')
                return false;
    }
    return true;
}
static_assert(WellFormed(),
              "kColumns[id] describes id; the window's columns first, headings without ','");

}  // namespace

std::string ColumnText(const Column& column, const ZOVA_ModuleScanResponseType& answer) {
    return column.value(answer).value_or(kNotReported);
}

const Column* FindColumn(std::string_view name) {
    for (const Column& column : kColumns)
        if (name == column.name)
            return &column;
    return nullptr;
}

std::string WindowColumnFormat() {
    std::string format;
    for (std::size_t i = 0; i < kWindowColumns; ++i) {
        format += i == 0 ? "" : ";";
        format += std::string(kColumns[i].heading) + ',' + std::to_string(kColumns[i].width);
    }
    return format;
}

}  // namespace zova
