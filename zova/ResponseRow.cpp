#include "zova/ResponseRow.h"

#include "base/Text.h"

#include <cstdio>

namespace zova {

namespace {

const char kNotReported[] = "N/A";

std::string VersionText(unsigned major, unsigned minor, unsigned build) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u.%u", major, minor, build);
    return text;
}

// The field comes off the network: it need not hold a terminator.
std::string TypeText(const char (&field)[128]) {
    return std::string(base::FieldText(field));
}

}  // namespace

ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response) {
    ResponseRow row;
    auto& t = row.texts;
    t[0] = response.bIpAddrValid ? base::Ipv4Text(response.dwIpAddr) : kNotReported;
    t[1] = response.bSubnetMaskValid ? base::Ipv4Text(response.dwSubnetMask) : kNotReported;
    t[2] = response.bGatewayValid ? base::Ipv4Text(response.dwGateway) : kNotReported;
    t[3] = !response.bDhcpValid ? kNotReported : response.bDhcpOn == 1 ? "On" : "Off";
    t[4] = response.bFwVersionValid
               ? VersionText(response.bFwVersionMajor, response.bFwVersionMinor, response.wFwBuild)
               : kNotReported;
    t[5] = response.bTypeValid ? TypeText(response.szType) : kNotReported;
    t[kMacColumn] =
        response.bMacAddrValid ? base::MacText(base::MacFrom(response.abMacAddr)) : kNotReported;
    row.shown = response.bMacAddrValid != 0;
    return row;
}

const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac) {
    for (const ZOVA_ModuleScanResponseType& response : responses) {
        if (base::MacFrom(response.abMacAddr) == mac)
            return &response;
    }
    return nullptr;
}

}  // namespace zova
