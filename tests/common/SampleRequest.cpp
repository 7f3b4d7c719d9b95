#include "tests/common/SampleRequest.h"

#include "base/Text.h"

#include <cstring>

namespace harness {

SampleRequest::SampleRequest(const base::Mac& mac, const char* password) {
    std::memcpy(m_request.abMacAddr, mac.data(), mac.size());
    base::CopyToField(m_request.szPassword, password);
}

SampleRequest& SampleRequest::Ip(std::uint32_t address) {
    m_request.dwIpAddr = address;
    return *this;
}

SampleRequest& SampleRequest::Mask(std::uint32_t address) {
    m_request.dwSubnetMask = address;
    return *this;
}

SampleRequest& SampleRequest::Gateway(std::uint32_t address) {
    m_request.dwGateway = address;
    return *this;
}

SampleRequest& SampleRequest::Dhcp(std::uint8_t on) {
    m_request.bDhcpOn = on;
    return *this;
}

SampleRequest& SampleRequest::Hostname(const char* text) {
    base::CopyToField(m_request.szHostname, text);
    return *this;
}

SampleRequest& SampleRequest::PrimaryDns(std::uint32_t address) {
    m_request.dwPrimaryDns = address;
    return *this;
}

SampleRequest& SampleRequest::SecondaryDns(std::uint32_t address) {
    m_request.dwSecondaryDns = address;
    return *this;
}

SampleRequest& SampleRequest::NewPassword(const char* text) {
    m_request.bChangePassword = 1;
    base::CopyToField(m_request.szNewPassword, text);
    return *this;
}

}  // namespace harness
