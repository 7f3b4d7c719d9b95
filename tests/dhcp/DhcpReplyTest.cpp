// What the recovery server answers, byte for byte, to the messages it meets.
#include "dhcp/DhcpServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kMac = {0x02, 0x6B, 0xD4, 0xAA, 0xBB, 0x05};
const Bytes kCookie = {99, 130, 83, 99};
// The address of the adapter the message came in on.
const std::uint8_t kAdapter[4] = {192, 168, 7, 1};

// A client message: fixed header with the given hardware address and xid
// 12 34 56 78, then the option bytes as given (cookie included by caller).
Bytes Message(const Bytes& options, const Bytes& mac = kMac) {
    Bytes m(236, 0);
    m[0] = 1;
    m[1] = 1;
    m[2] = 6;
    const std::uint8_t xid[4] = {0x12, 0x34, 0x56, 0x78};
    std::memcpy(&m[4], xid, 4);
    std::memcpy(&m[28], mac.data(), mac.size());
    m.resize(236 + options.size());
    std::copy(options.begin(), options.end(), m.begin() + 236);
    return m;
}

Bytes Options(std::initializer_list<Bytes> parts) {
    Bytes out = kCookie;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kDiscover = {53, 1, 1};
const Bytes kRequest = {53, 1, 3};
const Bytes kEnd = {255};

// Hands the message to the server as received on an adapter with the given
// address: the bytes of raw past its length are poisoned, so any read beyond
// the datagram stops the test under the address sanitizer.
bool Answer(CDhcpServer& server, const Bytes& message, const std::uint8_t* adapter = kAdapter) {
    CDhcpPacket& r = server.m_request;
    if (!message.empty())
        std::memcpy(r.raw, message.data(), message.size());
    r.length = static_cast<int>(message.size());
    POISON(r.raw + message.size(), sizeof r.raw - message.size());
    const bool answered = server.PrepareReply(adapter);
    UNPOISON(r.raw, sizeof r.raw);
    return answered;
}

Bytes Reply(const CDhcpServer& server) {
    return Bytes(server.m_reply.raw, server.m_reply.raw + server.m_reply.length);
}

std::string Dotted(const std::uint8_t* a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

// Catches a reply without the server identifier (the adapter's address) or
// the lease time that standard clients require, a mask moved from where
// replies always carried it, and a reply that is not 300 bytes.
TEST(DhcpReply, OfferToTheWorkedDiscoverIsExact) {
    CDhcpServer server;
    ASSERT_TRUE(Answer(server, Message(Options({kDiscover, kEnd}))));

    Bytes expected(300, 0);
    expected[0] = 2;
    expected[1] = 1;
    expected[2] = 6;
    const Bytes xid = {0x12, 0x34, 0x56, 0x78};
    std::copy(xid.begin(), xid.end(), expected.begin() + 4);
    const Bytes yiaddr = {10, 200, 1, 5};
    std::copy(yiaddr.begin(), yiaddr.end(), expected.begin() + 16);
    std::copy(kMac.begin(), kMac.end(), expected.begin() + 28);
    const Bytes tail = {
        99,  130, 83,  99,            // magic cookie
        53,  1,   2,                  // DHCPOFFER
        1,   4,   255, 255, 255, 0,   // mask, where replies always had it
        54,  4,   192, 168, 7,   1,   // server: the adapter's address
        51,  4,   0,   0,   14,  16,  // 3,600 s
        255,
    };
    std::copy(tail.begin(), tail.end(), expected.begin() + 236);

    const Bytes got = Reply(server);
    ASSERT_EQ(got.size(), 300u);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << "reply byte " << i;
}

// Catches a NAK or ACK for a client that chose another server's offer, a NAK
// with a lease time, and an answer coloured by an earlier one.
TEST(DhcpReply, RequestIsAckedNakedOrLeftToTheServerItNames) {
    const Bytes ackTail = {1, 4, 255, 255, 255, 0, 54, 4, 192, 168, 7, 1, 51, 4, 0, 0, 14, 16, 255};
    const Bytes nakTail = {1, 4, 255, 255, 255, 0, 54, 4, 192, 168, 7, 1, 255};
    const Bytes thisServer = {54, 4, 192, 168, 7, 1};
    struct Case {
        const char* name;
        Bytes options;
        std::uint8_t type;  // 0: no reply
    };
    const Case cases[] = {
        {"own address", Options({kRequest, {50, 4, 10, 200, 1, 5}, kEnd}), 5},
        {"foreign address", Options({kRequest, {50, 4, 192, 168, 0, 10}, kEnd}), 6},
        {"last byte differs", Options({kRequest, {50, 4, 10, 200, 1, 6}, kEnd}), 6},
        {"no option 50", Options({kRequest, kEnd}), 5},
        {"names this adapter", Options({kRequest, thisServer, {50, 4, 10, 200, 1, 5}, kEnd}), 5},
        {"names this adapter, foreign address",
         Options({kRequest, thisServer, {50, 4, 192, 168, 0, 10}, kEnd}), 6},
        {"names another server", Options({kRequest, {54, 4, 192, 168, 0, 1}, kEnd}), 0},
        {"names another server, asks for its address",
         Options({kRequest, {54, 4, 10, 200, 1, 77}, {50, 4, 192, 168, 50, 20}, kEnd}), 0},
        {"names another address of this subnet", Options({kRequest, {54, 4, 192, 168, 7, 2}, kEnd}),
         0},
    };
    CDhcpServer server;
    // An earlier NAK must not colour later answers.
    ASSERT_TRUE(Answer(server, Message(Options({kRequest, {50, 4, 1, 2, 3, 4}, kEnd}))));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool answered = Answer(server, Message(c.options));
        ASSERT_EQ(answered, c.type != 0);
        if (!answered)
            continue;
        const Bytes got = Reply(server);
        ASSERT_EQ(got.size(), 300u);
        EXPECT_EQ(got[242], c.type);
        EXPECT_EQ(Dotted(&got[16]), "10.200.1.5");
        const Bytes& tail = c.type == 6 ? nakTail : ackTail;
        EXPECT_EQ(Bytes(got.begin() + 243, got.begin() + 243 + tail.size()), tail);
    }
}

TEST(DhcpReply, OfferedAddressIsTheSixthHardwareByte) {
    for (int last : {0x00, 0x01, 0x7F, 0xFF}) {
        SCOPED_TRACE(last);
        CDhcpServer server;
        Bytes mac = kMac;
        mac[5] = static_cast<std::uint8_t>(last);
        ASSERT_TRUE(Answer(server, Message(Options({kDiscover, kEnd}), mac)));
        EXPECT_EQ(Dotted(&server.m_reply.raw[16]), "10.200.1." + std::to_string(last));
    }
}

TEST(DhcpReply, HeaderFieldsOfTheRequestNeverLeakIntoTheReply) {
    Bytes m = Message(Options({kDiscover, kEnd}));
    for (int i : {3, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27})
        m[i] = 0xEE;
    for (int i = 34; i < 236; ++i)  // chaddr beyond six bytes, sname, file
        m[i] = 0xEE;
    CDhcpServer server;
    ASSERT_TRUE(Answer(server, m));
    const Bytes got = Reply(server);
    for (int i = 0; i < 300; ++i) {
        const bool zero =
            i == 3 || (i >= 8 && i < 16) || (i >= 20 && i < 28) || (i >= 34 && i < 236) || i >= 262;
        if (zero)
            EXPECT_EQ(got[i], 0) << "reply byte " << i;
    }
    EXPECT_EQ(Dotted(&got[16]), "10.200.1.5");
}

TEST(DhcpReply, MessagesThatGetNoReply) {
    struct Case {
        const char* name;
        Bytes message;
        const std::uint8_t* adapter = kAdapter;
    };
    Bytes shortMessage(235, 0);
    std::memcpy(&shortMessage[28], kMac.data(), 6);
    const Case cases[] = {
        {"prefix 02-6B-D5",
         Message(Options({kDiscover, kEnd}), {0x02, 0x6B, 0xD5, 0xAA, 0xBB, 0x05})},
        {"prefix in the wrong bytes",
         Message(Options({kDiscover, kEnd}), {0xAA, 0x02, 0x6B, 0xD4, 0xBB, 0x05})},
        {"DHCPDECLINE", Message(Options({{53, 1, 4}, kEnd}))},
        {"DHCPRELEASE", Message(Options({{53, 1, 7}, kEnd}))},
        {"DHCPINFORM", Message(Options({{53, 1, 8}, kEnd}))},
        {"DHCPOFFER from another server", Message(Options({{53, 1, 2}, kEnd}))},
        {"no option 53", Message(Options({{50, 4, 10, 200, 1, 5}, kEnd}))},
        {"236 bytes, no options", Message({})},
        {"235 bytes", shortMessage},
        {"empty datagram", {}},
        {"no magic cookie", Message({99, 130, 83, 98, 53, 1, 1, 255})},
        {"cookie cut short", Message({99, 130, 83})},
        {"option 53 of length 2", Message(Options({{53, 2, 1, 0}, kEnd}))},
        {"option 53 of length 0", Message(Options({{53, 0}, kEnd}))},
        {"option 50 of length 3", Message(Options({kRequest, {50, 3, 10, 200, 1}, kEnd}))},
        {"option 1 of length 5", Message(Options({kDiscover, {1, 5, 255, 255, 255, 0, 0}, kEnd}))},
        {"option 54 of length 2", Message(Options({kDiscover, {54, 2, 1, 2}, kEnd}))},
        {"option 53 after the end option", Message(Options({kEnd, kDiscover}))},
        {"option 53 inside an unknown option", Message(Options({{12, 3, 53, 1, 1}, kEnd}))},
        // The server could name no address of its own there.
        {"DISCOVER on an adapter without an address", Message(Options({kDiscover, kEnd})), nullptr},
        {"REQUEST on an adapter without an address", Message(Options({kRequest, kEnd})), nullptr},
    };
    for (const Case& c : cases) {
        CDhcpServer server;
        EXPECT_FALSE(Answer(server, c.message, c.adapter)) << c.name;
    }
}

TEST(DhcpReply, OptionWalkSkipsPadsAndUnknownOptions) {
    struct Case {
        const char* name;
        Bytes options;
        std::uint8_t type;
    };
    const Case cases[] = {
        {"pads before and between", Options({{0, 0, 0}, kRequest, {0}, {50, 4, 1, 2, 3, 4}, kEnd}),
         6},
        {"unknown options around",
         Options({{12, 4, 'h', 'o', 's', 't'},
                  kRequest,
                  {61, 7, 1, 2, 3, 4, 5, 6, 7},
                  {55, 0},
                  {50, 4, 1, 2, 3, 4},
                  kEnd}),
         6},
        {"no end option", Options({kDiscover}), 2},
        {"later option 53 wins", Options({kDiscover, kRequest, kEnd}), 5},
        {"bytes after the end", Options({kDiscover, kEnd, {53, 1, 3, 50, 4, 1, 2, 3, 4}}), 2},
        {"option 50 after the end", Options({kRequest, kEnd, {50, 4, 1, 2, 3, 4}}), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDhcpServer server;
        ASSERT_TRUE(Answer(server, Message(c.options)));
        EXPECT_EQ(server.m_reply.raw[242], c.type);
    }
}

// Every prefix of a valid request: nothing past the received length is read
// (the sanitizer watches), and only options received whole count.
TEST(DhcpReply, EveryTruncationOfARequest) {
    const Bytes full =
        Message(Options({kRequest, {50, 4, 192, 168, 0, 10}, {12, 2, 'a', 'b'}, kEnd}));
    for (std::size_t n = 0; n <= full.size(); ++n) {
        SCOPED_TRACE("length " + std::to_string(n));
        CDhcpServer server;
        const bool answered = Answer(server, Bytes(full.begin(), full.begin() + n));
        if (n < 243) {  // option 53 not received whole
            EXPECT_FALSE(answered);
            continue;
        }
        ASSERT_TRUE(answered);
        // Option 50 counts only once its four value bytes arrived.
        EXPECT_EQ(server.m_reply.raw[242], n >= 249 ? 6 : 5);
    }
}

TEST(DhcpReply, TruncatedOptionsNeverReadPastTheDatagram) {
    // Each ends inside an option: length byte or value missing.
    const Bytes tails[] = {
        {53},        {53, 1},         {1},
        {1, 4, 255}, {54, 4, 1, 2},   {50},
        {12},        {12, 200, 1, 2}, {0, 0, 12, 255},
    };
    for (const Bytes& tail : tails) {
        Bytes options = Options({kDiscover});
        options.insert(options.end(), tail.begin(), tail.end());
        CDhcpServer server;
        EXPECT_TRUE(Answer(server, Message(options))) << "tail of " << tail.size() << " bytes";
        EXPECT_EQ(server.m_reply.raw[242], 2);
    }
}

TEST(DhcpPacket, ParseRejectsALengthOutsideTheBuffer) {
    CDhcpPacket p;
    for (int length : {-1, 0, 235, CDhcpPacket::kRawSize + 1}) {
        p.length = length;
        EXPECT_FALSE(p.Parse()) << "length " << length;
    }
    p.length = CDhcpPacket::kRawSize;
    EXPECT_TRUE(p.Parse());
    EXPECT_EQ(p.optionsLength, CDhcpPacket::kRawSize - 236);
}

}  // namespace
