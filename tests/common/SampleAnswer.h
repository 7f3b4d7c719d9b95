// The one way tests build a device's scan answer: item by item, as a device
// sends one. Each call reports one item (its value and its validity byte);
// an item not called stays unreported, zero with validity 0. Plain C++: the
// native tests and the Windows tests share it.
#ifndef VANTREL_TESTS_COMMON_SAMPLEANSWER_H
#define VANTREL_TESTS_COMMON_SAMPLEANSWER_H

#include "base/Address.h"
#include "zova/zova.h"

#include <cstdint>
#include <string_view>

namespace harness {

class SampleAnswer {
public:
    // The device most tests show: MAC 02-6B-D4-0A-FF-<macLast> at ip, mask
    // 255.255.255.0, gateway 192.168.0.1, DHCP on, firmware 1.5.12 and type
    // "IO-8". What a row shows, and nothing more (protocol 0.0).
    SampleAnswer(std::uint8_t macLast, std::uint32_t ip);

    // A device that reports its MAC and nothing else.
    static SampleAnswer Bare(const base::Mac& mac);

    SampleAnswer& Mac(const base::Mac& mac);
    SampleAnswer& Protocol(std::uint8_t major, std::uint8_t minor);  // has no validity byte
    SampleAnswer& Type(const char* text);
    SampleAnswer& Firmware(std::uint8_t major, std::uint8_t minor, std::uint16_t build);
    SampleAnswer& Ip(std::uint32_t address);
    SampleAnswer& Mask(std::uint32_t address);
    SampleAnswer& Gateway(std::uint32_t address);
    SampleAnswer& Dhcp(std::uint8_t on);
    SampleAnswer& PasswordOn(std::uint8_t on);
    SampleAnswer& Hostname(const char* text);
    SampleAnswer& PrimaryDns(std::uint32_t address);
    SampleAnswer& SecondaryDns(std::uint32_t address);
    // The bytes as they are, cut to the field: a test may leave out the
    // terminator or put a NUL inside.
    SampleAnswer& Salt(std::string_view bytes);

    operator ZOVA_ModuleScanResponseType() const { return m_answer; }

private:
    SampleAnswer() = default;

    template <typename T>
    SampleAnswer& Report(T& field, T value, std::uint8_t& valid) {
        field = value;
        valid = 1;
        return *this;
    }

    ZOVA_ModuleScanResponseType m_answer{};
};

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_SAMPLEANSWER_H
