// The codec against well-formed, truncated, oversized and hostile datagrams.
// Run under the sanitizers, so a read past any buffer fails the test.
#include "zovadll/Wire.h"

#include "tests/common/SampleAnswer.h"
#include "tests/common/SampleRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>

namespace {

using namespace zova::wire;

// Every item reported, the salt too; FullAnswerIsSentAsTheProtocolLaysItOut
// spells out its bytes.
ZOVA_ModuleScanResponseType FullAnswer() {
    return harness::SampleAnswer(0x01, 0xC0A80001)  // 02-6B-D4-0A-FF-01, 192.168.0.1/24, DHCP on
        .Protocol(1, 10)
        .Type("IO controller 8DI/8DO")
        .Firmware(2, 5, 0xBEEF)
        .Gateway(0xC0A800FE)
        .PasswordOn(1)
        .Hostname("press-line-1")
        .PrimaryDns(0x08080808)
        .SecondaryDns(0x01010101)
        .Salt("ab0123456789abcdef0123456789abcdef");
}

ZOVA_ConfigureRequestType FullRequest() {
    return harness::SampleRequest({0x02, 0x6B, 0xD4, 0x00, 0x00, 0x07},
                                  "0123456789abcdef0123456789abcdef")
        .NewPassword("Xy0123456789abcdef0123456789abcdef")
        .Ip(0x0A000005)
        .Mask(0xFF000000)
        .Gateway(0x0A000001)
        .Dhcp(0)
        .Hostname("conveyor7")
        .PrimaryDns(0x0A000002)
        .SecondaryDns(0x0A000003);
}

bool SameBytes(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

// Hand-built datagrams: the header, then raw items.
Datagram MakeDatagram(std::uint8_t type, std::initializer_list<std::uint8_t> body) {
    Datagram d = {'Z', 'V', 1, type, 0x78, 0x56, 0x34, 0x12};
    for (std::uint8_t byte : body)
        d.push_back(byte);
    return d;
}

Datagram WithItem(Datagram d, std::uint8_t tag, const std::string& value) {
    d.push_back(tag);
    d.push_back(static_cast<std::uint8_t>(value.size()));
    d.insert(d.end(), value.begin(), value.end());
    return d;
}

void ExpectTerminated(const ZOVA_ModuleScanResponseType& a) {
    EXPECT_EQ(a.szType[sizeof a.szType - 1], 0);
    EXPECT_EQ(a.szHostname[sizeof a.szHostname - 1], 0);
    EXPECT_EQ(a.szPasswordSalt[sizeof a.szPasswordSalt - 1], 0);
}

TEST(WireRoundTrip, FullAnswerComesBackByteForByte) {
    const auto a = FullAnswer();
    const Datagram d = EncodeScanAnswer(42, a);
    const auto header = DecodeHeader(d.data(), d.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->type, MessageType::ScanAnswer);
    EXPECT_EQ(header->id, 42u);
    const auto back = DecodeScanAnswer(d.data(), d.size());
    ASSERT_TRUE(back);
    EXPECT_TRUE(SameBytes(&*back, &a, sizeof a));
}

// One table drives encoding and decoding, so a round trip cannot see a
// wrong tag, offset or form in it: a full answer's bytes, item by item as
// docs/protocol.md lays them out, can.
TEST(WireRoundTrip, FullAnswerIsSentAsTheProtocolLaysItOut) {
    Datagram expected =
        MakeDatagram(0x81, {0x01, 6, 0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01, 0x02, 2, 1, 10});
    expected = WithItem(expected, 0x03, "IO controller 8DI/8DO");
    for (const std::uint8_t byte :
         {0x04, 4,   2, 5,    0xEF, 0xBE, 0x05, 4, 192, 168,  0, 1, 0x06, 4, 255,
          255,  255, 0, 0x07, 4,    192,  168,  0, 254, 0x08, 1, 1, 0x09, 1, 1})
        expected.push_back(byte);
    expected = WithItem(expected, 0x0A, "press-line-1");
    for (const std::uint8_t byte : {0x0B, 4, 8, 8, 8, 8, 0x0C, 4, 1, 1, 1, 1})
        expected.push_back(byte);
    expected = WithItem(expected, 0x0D, "ab0123456789abcdef0123456789abcdef");
    EXPECT_EQ(EncodeScanAnswer(0x12345678, FullAnswer()), expected);
}

TEST(WireRoundTrip, EachUnreportedFieldArrivesInvalidAndZero) {
    struct Case {
        const char* name;
        std::size_t value, size, validity;
    };
    using R = ZOVA_ModuleScanResponseType;
    const Case cases[] = {
        {"type", offsetof(R, szType), 128, offsetof(R, bTypeValid)},
        {"firmware", offsetof(R, bFwVersionMajor), 4, offsetof(R, bFwVersionValid)},
        {"mac", offsetof(R, abMacAddr), 6, offsetof(R, bMacAddrValid)},
        {"ip", offsetof(R, dwIpAddr), 4, offsetof(R, bIpAddrValid)},
        {"mask", offsetof(R, dwSubnetMask), 4, offsetof(R, bSubnetMaskValid)},
        {"gateway", offsetof(R, dwGateway), 4, offsetof(R, bGatewayValid)},
        {"dhcp", offsetof(R, bDhcpOn), 1, offsetof(R, bDhcpValid)},
        {"password", offsetof(R, bPasswordOn), 1, offsetof(R, bPasswordValid)},
        {"hostname", offsetof(R, szHostname), 128, offsetof(R, bHostnameValid)},
        {"dns1", offsetof(R, dwPrimaryDns), 4, offsetof(R, bPrimaryDnsValid)},
        {"dns2", offsetof(R, dwSecondaryDns), 4, offsetof(R, bSecondaryDnsValid)},
        {"salt", offsetof(R, szPasswordSalt), 35, offsetof(R, bPasswordSaltValid)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        R sent = FullAnswer();
        reinterpret_cast<std::uint8_t*>(&sent)[c.validity] = 0;
        R expected = sent;
        std::memset(reinterpret_cast<std::uint8_t*>(&expected) + c.value, 0, c.size);
        const Datagram d = EncodeScanAnswer(1, sent);
        const auto back = DecodeScanAnswer(d.data(), d.size());
        ASSERT_TRUE(back);
        EXPECT_TRUE(SameBytes(&*back, &expected, sizeof expected));
    }
}

TEST(WireRoundTrip, AddressesTravelFirstOctetFirst) {
    ZOVA_ModuleScanResponseType a{};
    a.dwIpAddr = 0xC0A80001;  // 192.168.0.1
    a.bIpAddrValid = 1;
    const Datagram d = EncodeScanAnswer(0, a);
    const std::uint8_t item[] = {0x05, 4, 192, 168, 0, 1};
    EXPECT_NE(std::search(d.begin(), d.end(), std::begin(item), std::end(item)), d.end());
}

TEST(WireRoundTrip, ConfigureRequestWithAndWithoutNewPassword) {
    const auto r = FullRequest();
    Datagram d = EncodeConfigureRequest(9, r);
    auto back = DecodeConfigureRequest(d.data(), d.size());
    ASSERT_TRUE(back);
    EXPECT_TRUE(SameBytes(&*back, &r, sizeof r));

    auto keep = FullRequest();
    keep.bChangePassword = 0;  // szNewPassword then carries no meaning
    d = EncodeConfigureRequest(9, keep);
    back = DecodeConfigureRequest(d.data(), d.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bChangePassword, 0);
    EXPECT_EQ(back->szNewPassword[0], 0);
    EXPECT_EQ(std::string(back->szPassword), r.szPassword);
}

TEST(WireRoundTrip, WinkAndConfigureResult) {
    const base::Mac mac = {0x02, 0x6B, 0xD4, 1, 2, 3};
    Datagram d = EncodeWinkRequest(5, mac);
    EXPECT_EQ(DecodeWinkRequest(d.data(), d.size()), mac);
    for (auto outcome : {ConfigureOutcome::Accepted, ConfigureOutcome::WrongPassword}) {
        d = EncodeConfigureResult(6, {mac, outcome});
        const auto back = DecodeConfigureResult(d.data(), d.size());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->mac, mac);
        EXPECT_EQ(back->outcome, outcome);
    }
    d = EncodeScanRequest(7);
    EXPECT_TRUE(DecodeScanRequest(d.data(), d.size()));
}

TEST(WireText, LongUnterminatedAndEmbeddedNulTextsAreCutToTheirField) {
    struct Case {
        const char* name;
        std::uint8_t tag;
        std::string sent;
        std::string expected;
        const char* (*field)(const ZOVA_ModuleScanResponseType&);
    };
    const auto type = [](const ZOVA_ModuleScanResponseType& a) -> const char* { return a.szType; };
    const auto host = [](const ZOVA_ModuleScanResponseType& a) -> const char* {
        return a.szHostname;
    };
    const auto salt = [](const ZOVA_ModuleScanResponseType& a) -> const char* {
        return a.szPasswordSalt;
    };
    const Case cases[] = {
        {"type of 255 bytes", 0x03, std::string(255, 'T'), std::string(127, 'T'), type},
        {"type of exactly 127", 0x03, std::string(127, 't'), std::string(127, 't'), type},
        {"hostname of 128", 0x0A, std::string(128, 'h'), std::string(127, 'h'), host},
        {"salt of 200", 0x0D, std::string(200, 's'), std::string(34, 's'), salt},
        {"embedded NUL", 0x0A, std::string("ab\0cd", 5), "ab", host},
        {"empty text", 0x03, "", "", type},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Datagram d = WithItem(MakeDatagram(0x81, {}), c.tag, c.sent);
        const auto a = DecodeScanAnswer(d.data(), d.size());
        ASSERT_TRUE(a);
        EXPECT_EQ(std::string(c.field(*a)), c.expected);
        ExpectTerminated(*a);
    }
}

TEST(WireText, UnterminatedRecordFieldsAreSentCut) {
    auto r = FullRequest();
    std::memset(r.szHostname, 'x', sizeof r.szHostname);  // no NUL anywhere
    std::memset(r.szPassword, 'p', sizeof r.szPassword);
    const Datagram d = EncodeConfigureRequest(1, r);
    const auto back = DecodeConfigureRequest(d.data(), d.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(std::string(back->szHostname), std::string(127, 'x'));
    EXPECT_EQ(std::string(back->szPassword), std::string(127, 'p'));
}

TEST(WireMalformed, HostileDatagramsAreRejected) {
    const Datagram answer = EncodeScanAnswer(1, FullAnswer());
    Datagram oversized = MakeDatagram(0x81, {});
    while (oversized.size() <= kMaxDatagram)
        oversized = WithItem(oversized, 0x70 + oversized.size() % 8, std::string(200, 'x'));
    struct Case {
        const char* name;
        Datagram bytes;
    };
    auto patched = [](Datagram d, std::size_t at, std::uint8_t value) {
        d[at] = value;
        return d;
    };
    const Case cases[] = {
        {"empty", {}},
        {"header cut", {'Z', 'V', 1, 0x81, 0, 0, 0}},
        {"wrong magic", patched(answer, 0, 'Y')},
        {"wrong wire version", patched(answer, 2, 2)},
        {"unknown type", patched(answer, 3, 0x7E)},
        {"item length overruns", MakeDatagram(0x81, {0x03, 10, 'a', 'b'})},
        {"lone tag byte", MakeDatagram(0x81, {0x03})},
        {"repeated tag", MakeDatagram(0x81, {0x09, 1, 1, 0x09, 1, 0})},
        {"short address", MakeDatagram(0x81, {0x05, 3, 10, 0, 0})},
        {"long MAC", MakeDatagram(0x81, {0x01, 7, 1, 2, 3, 4, 5, 6, 7})},
        {"long DHCP byte", MakeDatagram(0x81, {0x08, 2, 1, 1})},
        {"short firmware", MakeDatagram(0x81, {0x04, 3, 1, 2, 3})},
        {"oversized datagram", oversized},
        {"request taken for an answer", EncodeScanRequest(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DecodeScanAnswer(c.bytes.data(), c.bytes.size()));
    }
    const Case results[] = {
        {"unknown outcome", MakeDatagram(0x82, {0x01, 6, 2, 0x6B, 0xD4, 0, 0, 1, 0x12, 1, 7})},
        {"outcome missing", MakeDatagram(0x82, {0x01, 6, 2, 0x6B, 0xD4, 0, 0, 1})},
        {"MAC missing", MakeDatagram(0x82, {0x12, 1, 0})},
        {"answer taken for a result", answer},
    };
    for (const Case& c : results) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DecodeConfigureResult(c.bytes.data(), c.bytes.size()));
    }
    EXPECT_FALSE(DecodeWinkRequest(MakeDatagram(0x03, {}).data(), kHeaderSize))
        << "wink without MAC";
}

TEST(WireMalformed, UnknownItemsAreSkipped) {
    Datagram d = WithItem(MakeDatagram(0x81, {}), 0x7F, "from a newer device");
    d = WithItem(d, 0x0A, "host");
    const auto a = DecodeScanAnswer(d.data(), d.size());
    ASSERT_TRUE(a);
    EXPECT_EQ(std::string(a->szHostname), "host");
}

TEST(WireMalformed, EveryTruncationOfEveryMessage) {
    const Datagram full[] = {
        EncodeScanAnswer(1, FullAnswer()),
        EncodeConfigureRequest(2, FullRequest()),
        EncodeConfigureResult(3, {{2, 0x6B, 0xD4, 0, 0, 1}, ConfigureOutcome::WrongPassword}),
        EncodeWinkRequest(4, {2, 0x6B, 0xD4, 0, 0, 1}),
    };
    for (const Datagram& d : full) {
        for (std::size_t size = 0; size < d.size(); ++size) {
            SCOPED_TRACE("type " + std::to_string(d[3]) + " cut to " + std::to_string(size));
            // An exact copy on the heap, so that ASan sees a read past its end.
            const std::vector<std::uint8_t> cut(d.begin(), d.begin() + size);
            if (const auto a = DecodeScanAnswer(cut.data(), cut.size()))
                ExpectTerminated(*a);
            EXPECT_FALSE(DecodeConfigureRequest(cut.data(), cut.size()));
            EXPECT_FALSE(DecodeConfigureResult(cut.data(), cut.size()));
            EXPECT_FALSE(DecodeWinkRequest(cut.data(), cut.size()));
        }
    }
}

TEST(WireMalformed, RandomMutationsNeverEscapeTheirFields) {
    const Datagram seeds[] = {EncodeScanAnswer(1, FullAnswer()),
                              EncodeConfigureRequest(2, FullRequest())};
    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        Datagram d = seeds[round % 2];
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = 4 + random() % (d.size() - 4);  // keep magic and version
            switch (random() % 3) {
            case 0:
                d[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                d.resize(at);
                break;
            default:
                d.insert(d.begin() + at, static_cast<std::uint8_t>(random()));
                break;
            }
            if (d.size() <= 4)
                break;
        }
        SCOPED_TRACE("round " + std::to_string(round));
        const std::vector<std::uint8_t> copy(d);
        if (const auto a = DecodeScanAnswer(copy.data(), copy.size()))
            ExpectTerminated(*a);
        if (const auto r = DecodeConfigureRequest(copy.data(), copy.size())) {
            EXPECT_EQ(r->szPassword[127], 0);
            EXPECT_EQ(r->szNewPassword[127], 0);
            EXPECT_EQ(r->szHostname[127], 0);
        }
        DecodeConfigureResult(copy.data(), copy.size());
        DecodeWinkRequest(copy.data(), copy.size());
        if (HasFailure())
            return;
    }
}

}  // namespace
