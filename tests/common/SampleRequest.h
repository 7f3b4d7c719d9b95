// The one way tests build a configure request, as the tool fills one after
// "Set": the device's MAC and the password, then each setting called. A
// setting not called stays zero (texts empty). Plain C++: the native tests
// and the Windows tests share it.
#ifndef VANTREL_TESTS_COMMON_SAMPLEREQUEST_H
#define VANTREL_TESTS_COMMON_SAMPLEREQUEST_H

#include "base/Address.h"
#include "zova/zova.h"

#include <cstdint>

namespace harness {

class SampleRequest {
public:
    SampleRequest(const base::Mac& mac, const char* password);

    SampleRequest& Ip(std::uint32_t address);
    SampleRequest& Mask(std::uint32_t address);
    SampleRequest& Gateway(std::uint32_t address);
    SampleRequest& Dhcp(std::uint8_t on);
    SampleRequest& Hostname(const char* text);
    SampleRequest& PrimaryDns(std::uint32_t address);
    SampleRequest& SecondaryDns(std::uint32_t address);
    // Ticks "Change password" with this new password.
    SampleRequest& NewPassword(const char* text);

    operator ZOVA_ConfigureRequestType() const { return m_request; }

private:
    ZOVA_ConfigureRequestType m_request{};
};

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_SAMPLEREQUEST_H
