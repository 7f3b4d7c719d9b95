// The records cross the DLL boundary by address, so every field must sit at
// the offset and width the library's users rely on, and the multi-byte ones
// hold their value little-endian. Each field is written through its member
// and the record's bytes read back; the tables are the documented layouts,
// kept apart from the header's own assertions.
#include "zova/zova.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kUntouched = 0xEE;

// Writes a value whose bytes differ from each other and from kUntouched
// through the member; returns the bytes the record must then hold there.
// (Member pointers: a packed multi-byte field cannot be bound to a reference.)
template <class Record>
Bytes Write(Record& record, std::uint8_t Record::*member) {
    record.*member = 0xA1;
    return {0xA1};
}
template <class Record>
Bytes Write(Record& record, std::uint16_t Record::*member) {
    record.*member = 0xA1B2;
    return {0xB2, 0xA1};
}
template <class Record>
Bytes Write(Record& record, std::uint32_t Record::*member) {
    record.*member = 0xA1B2C3D4u;
    return {0xD4, 0xC3, 0xB2, 0xA1};
}
template <class Record, class T, std::size_t N>
Bytes Write(Record& record, T (Record::*member)[N]) {
    Bytes bytes;
    for (std::size_t i = 0; i < N; ++i) {
        (record.*member)[i] = static_cast<T>(0x10 + i % 0xD0);
        bytes.push_back(static_cast<std::uint8_t>(0x10 + i % 0xD0));
    }
    return bytes;
}

template <class Record>
struct Field {
    const char* name;
    std::size_t offset, width;  // as documented
    std::size_t actualOffset, actualWidth;
    Bytes (*write)(Record&);
};

#define FIELD(Record, member, offset, width)                                       \
    Field<Record> {                                                                \
#member, offset, width, offsetof(Record, member), sizeof(Record{}.member), \
            [](Record & r) { return Write(r, &Record::member); }                   \
    }

// Writes the field into a record whose every byte is kUntouched: the field's
// bytes must hold the value, every other byte must be left alone.
template <class Record>
void ExpectLayout(const std::vector<Field<Record>>& fields, std::size_t size) {
    EXPECT_EQ(sizeof(Record), size);
    for (const Field<Record>& field : fields) {
        SCOPED_TRACE(field.name);
        EXPECT_EQ(field.actualOffset, field.offset);
        EXPECT_EQ(field.actualWidth, field.width);
        Record record;
        std::memset(&record, kUntouched, sizeof record);
        const Bytes written = field.write(record);
        ASSERT_EQ(written.size(), field.width);
        Bytes expected(sizeof record, kUntouched);
        std::memcpy(expected.data() + field.offset, written.data(), written.size());
        Bytes actual(sizeof record);
        std::memcpy(actual.data(), &record, sizeof record);
        for (std::size_t i = 0; i < actual.size(); ++i)
            EXPECT_EQ(int(actual[i]), int(expected[i])) << "byte " << i;
    }
}

TEST(ZovaRecords, ScanResponseFieldsSitAtTheirDocumentedBytes) {
    using R = ZOVA_ModuleScanResponseType;
    ExpectLayout<R>(
        {
            FIELD(R, bProtocolVersionMajor, 0, 1),
            FIELD(R, bProtocolVersionMinor, 1, 1),
            FIELD(R, bReserved2, 2, 1),
            FIELD(R, szType, 3, 128),
            FIELD(R, bTypeValid, 131, 1),
            FIELD(R, bFwVersionMajor, 132, 1),
            FIELD(R, bFwVersionMinor, 133, 1),
            FIELD(R, wFwBuild, 134, 2),
            FIELD(R, bFwVersionValid, 136, 1),
            FIELD(R, abMacAddr, 137, 6),
            FIELD(R, bMacAddrValid, 143, 1),
            FIELD(R, dwIpAddr, 144, 4),
            FIELD(R, bIpAddrValid, 148, 1),
            FIELD(R, abReserved149, 149, 3),
            FIELD(R, dwSubnetMask, 152, 4),
            FIELD(R, bSubnetMaskValid, 156, 1),
            FIELD(R, abReserved157, 157, 3),
            FIELD(R, dwGateway, 160, 4),
            FIELD(R, bGatewayValid, 164, 1),
            FIELD(R, bDhcpOn, 165, 1),
            FIELD(R, bDhcpValid, 166, 1),
            FIELD(R, bPasswordOn, 167, 1),
            FIELD(R, bPasswordValid, 168, 1),
            FIELD(R, szHostname, 169, 128),
            FIELD(R, bHostnameValid, 297, 1),
            FIELD(R, abReserved298, 298, 2),
            FIELD(R, dwPrimaryDns, 300, 4),
            FIELD(R, bPrimaryDnsValid, 304, 1),
            FIELD(R, abReserved305, 305, 3),
            FIELD(R, dwSecondaryDns, 308, 4),
            FIELD(R, bSecondaryDnsValid, 312, 1),
            FIELD(R, szPasswordSalt, 313, 35),
            FIELD(R, bPasswordSaltValid, 348, 1),
            FIELD(R, abReserved349, 349, 3),
        },
        352);
}

TEST(ZovaRecords, ConfigureRequestFieldsSitAtTheirDocumentedBytes) {
    using R = ZOVA_ConfigureRequestType;
    ExpectLayout<R>(
        {
            FIELD(R, abMacAddr, 0, 6),
            FIELD(R, szPassword, 6, 128),
            FIELD(R, bChangePassword, 134, 1),
            FIELD(R, szNewPassword, 135, 128),
            FIELD(R, bReserved263, 263, 1),
            FIELD(R, dwIpAddr, 264, 4),
            FIELD(R, dwSubnetMask, 268, 4),
            FIELD(R, dwGateway, 272, 4),
            FIELD(R, bDhcpOn, 276, 1),
            FIELD(R, szHostname, 277, 128),
            FIELD(R, abReserved405, 405, 3),
            FIELD(R, dwPrimaryDns, 408, 4),
            FIELD(R, dwSecondaryDns, 412, 4),
        },
        416);
}

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
