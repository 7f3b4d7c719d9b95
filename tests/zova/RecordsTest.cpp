// The records' offsets and sizes are pinned where they are declared, by the
// header's static_asserts. What those cannot say is how a device's bytes read
// as an address: the first dotted octet in the most significant byte.
#include "zova/zova.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Devices write 192.168.0.1 as the bytes 1, 0, 168, 192 at the field's
// documented offset; every address field reads it back as 0xC0A80001.
TEST(ZovaRecords, AddressFieldHoldsFirstOctetInMostSignificantByte) {
    const unsigned char wire[4] = {1, 0, 168, 192};
    struct ResponseAddress {
        const char* name;
        std::size_t offset;
        std::uint32_t ZOVA_ModuleScanResponseType::*field;
    };
    const ResponseAddress responseAddresses[] = {
        {"dwIpAddr", 144, &ZOVA_ModuleScanResponseType::dwIpAddr},
        {"dwSubnetMask", 152, &ZOVA_ModuleScanResponseType::dwSubnetMask},
        {"dwGateway", 160, &ZOVA_ModuleScanResponseType::dwGateway},
        {"dwPrimaryDns", 300, &ZOVA_ModuleScanResponseType::dwPrimaryDns},
        {"dwSecondaryDns", 308, &ZOVA_ModuleScanResponseType::dwSecondaryDns},
    };
    for (const ResponseAddress& address : responseAddresses) {
        ZOVA_ModuleScanResponseType response{};
        std::memcpy(reinterpret_cast<unsigned char*>(&response) + address.offset, wire, 4);
        EXPECT_EQ(response.*address.field, 0xC0A80001u) << address.name;
    }
    struct RequestAddress {
        const char* name;
        std::size_t offset;
        std::uint32_t ZOVA_ConfigureRequestType::*field;
    };
    const RequestAddress requestAddresses[] = {
        {"dwIpAddr", 264, &ZOVA_ConfigureRequestType::dwIpAddr},
        {"dwSubnetMask", 268, &ZOVA_ConfigureRequestType::dwSubnetMask},
        {"dwGateway", 272, &ZOVA_ConfigureRequestType::dwGateway},
        {"dwPrimaryDns", 408, &ZOVA_ConfigureRequestType::dwPrimaryDns},
        {"dwSecondaryDns", 412, &ZOVA_ConfigureRequestType::dwSecondaryDns},
    };
    for (const RequestAddress& address : requestAddresses) {
        ZOVA_ConfigureRequestType request{};
        std::memcpy(reinterpret_cast<unsigned char*>(&request) + address.offset, wire, 4);
        EXPECT_EQ(request.*address.field, 0xC0A80001u) << address.name;
    }
}

}  // namespace
