// One scan of 5,000 devices: every device must reach the tool.
#include "tests/common/zova_session.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

using harness::ZovaSession;

constexpr unsigned kDevices = 5000;

TEST(LibraryScale, ScanOf5000DevicesDeliversEveryOne) {
    // Real devices spread their answers; the simulator does so over 500 ms.
    ZovaSession& zova = ZovaSession::get({"", kDevices, 500});
    ASSERT_TRUE(zova.simulator().running()) << zova.simulator().error();
    ASSERT_EQ(zova.started(), 1);

    std::map<base::Mac, int> answers;
    const auto devices = zova.scan(kDevices, &answers);
    EXPECT_EQ(devices.size(), kDevices);
    int total = 0;
    for (const auto& entry : answers)
        total += entry.second;
    // A figure, not an assertion: how many of the repeats' answers came too.
    std::cout << "answers fetched: " << total << " for " << devices.size() << " devices\n";
}

}  // namespace
