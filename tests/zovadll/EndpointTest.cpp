// ZOVA_TARGET and the simulator's --bind: anything but a plain dotted IPv4
// address (and port) is refused, so that no typo turns into a broadcast.
#include "zovadll/Endpoint.h"

#include "base/Address.h"

#include <gtest/gtest.h>

namespace {

TEST(Endpoint, ParsesOnlyDottedAddressAndPort) {
    const auto ok = zova::ParseEndpoint("127.0.0.1:17400");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->address, 0x7F000001u);
    EXPECT_EQ(ok->port, 17400);
    EXPECT_EQ(zova::ParseEndpoint("10.200.1.254:1")->address, 0x0AC801FEu);
    for (const char* bad :
         {"", "127.0.0.1", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536", ":17400",
          "localhost:17400", "256.0.0.1:1", "1.2.3:4", "1.2.3.4.5:6", " 1.2.3.4:5", "1.2.3.4:5 ",
          "1..3.4:5", "0001.2.3.4:5", "1.2.3.4:-5", "1.2.3.4:123456"}) {
        EXPECT_FALSE(zova::ParseEndpoint(bad)) << '"' << bad << '"';
    }
}

TEST(Endpoint, LoopbackIsTheWholeOf127) {
    EXPECT_TRUE(zova::IsLoopback(*base::ParseIpv4("127.0.0.1")));
    EXPECT_TRUE(zova::IsLoopback(*base::ParseIpv4("127.255.0.9")));
    EXPECT_FALSE(zova::IsLoopback(*base::ParseIpv4("128.0.0.1")));
    EXPECT_FALSE(zova::IsLoopback(*base::ParseIpv4("0.0.0.0")));
}

}  // namespace
