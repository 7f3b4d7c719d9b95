// The records' offsets are pinned at compile time; what remains to prove is
// that the host reads an address field the way devices write it.
#include "zova/zova.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ZovaRecords, AddressFieldHoldsFirstOctetInMostSignificantByte) {
    ZOVA_ModuleScanResponseType response{};
    auto* raw = reinterpret_cast<unsigned char*>(&response);
    const unsigned char wire[4] = {1, 0, 168, 192};  // 192.168.0.1, little-endian
    std::memcpy(raw + offsetof(ZOVA_ModuleScanResponseType, dwIpAddr), wire, 4);
    EXPECT_EQ(response.dwIpAddr, 0xC0A80001u);
}
