#include "tests/common/SampleAnswer.h"

#include "base/Text.h"

#include <algorithm>
#include <cstring>

namespace harness {

SampleAnswer::SampleAnswer(std::uint8_t macLast, std::uint32_t ip) {
    Mac({0x02, 0x6B, 0xD4, 0x0A, 0xFF, macLast});
    Type("IO-8").Firmware(1, 5, 12).Ip(ip).Mask(0xFFFFFF00u).Gateway(0xC0A80001u).Dhcp(1);
}

SampleAnswer SampleAnswer::Bare(const base::Mac& mac) {
    SampleAnswer answer;
    answer.Mac(mac);
    return answer;
}

SampleAnswer& SampleAnswer::Mac(const base::Mac& mac) {
    std::memcpy(m_answer.abMacAddr, mac.data(), mac.size());
    m_answer.bMacAddrValid = 1;
    return *this;
}

SampleAnswer& SampleAnswer::Protocol(std::uint8_t major, std::uint8_t minor) {
    m_answer.bProtocolVersionMajor = major;
    m_answer.bProtocolVersionMinor = minor;
    return *this;
}

SampleAnswer& SampleAnswer::Type(const char* text) {
    base::CopyToField(m_answer.szType, text);
    m_answer.bTypeValid = 1;
    return *this;
}

SampleAnswer& SampleAnswer::Firmware(std::uint8_t major, std::uint8_t minor, std::uint16_t build) {
    m_answer.bFwVersionMajor = major;
    m_answer.bFwVersionMinor = minor;
    m_answer.wFwBuild = build;
    m_answer.bFwVersionValid = 1;
    return *this;
}

SampleAnswer& SampleAnswer::Ip(std::uint32_t address) {
    return Report(m_answer.dwIpAddr, address, m_answer.bIpAddrValid);
}

SampleAnswer& SampleAnswer::Mask(std::uint32_t address) {
    return Report(m_answer.dwSubnetMask, address, m_answer.bSubnetMaskValid);
}

SampleAnswer& SampleAnswer::Gateway(std::uint32_t address) {
    return Report(m_answer.dwGateway, address, m_answer.bGatewayValid);
}

SampleAnswer& SampleAnswer::Dhcp(std::uint8_t on) {
    return Report(m_answer.bDhcpOn, on, m_answer.bDhcpValid);
}

SampleAnswer& SampleAnswer::PasswordOn(std::uint8_t on) {
    return Report(m_answer.bPasswordOn, on, m_answer.bPasswordValid);
}

SampleAnswer& SampleAnswer::Hostname(const char* text) {
    base::CopyToField(m_answer.szHostname, text);
    m_answer.bHostnameValid = 1;
    return *this;
}

SampleAnswer& SampleAnswer::PrimaryDns(std::uint32_t address) {
    return Report(m_answer.dwPrimaryDns, address, m_answer.bPrimaryDnsValid);
}

SampleAnswer& SampleAnswer::SecondaryDns(std::uint32_t address) {
    return Report(m_answer.dwSecondaryDns, address, m_answer.bSecondaryDnsValid);
}

SampleAnswer& SampleAnswer::Salt(std::string_view bytes) {
    std::memset(m_answer.szPasswordSalt, 0, sizeof m_answer.szPasswordSalt);
    std::memcpy(m_answer.szPasswordSalt, bytes.data(),
                std::min(bytes.size(), sizeof m_answer.szPasswordSalt));
    m_answer.bPasswordSaltValid = 1;
    return *this;
}

}  // namespace harness
