// One scan of 5,000 devices: every device must reach the tool.
#include "tests/common/ZovaSession.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

using harness::ZovaSession;

constexpr unsigned kDevices = 5000;

TEST(LibraryScale, ScanOf5000DevicesDeliversEveryOne) {
    // Real devices spread their answers; the simulator does so over 500 ms.
    ZovaSession& zova = ZovaSession::Get({"", kDevices, 500});
    ASSERT_TRUE(zova.Simulator().Running()) << zova.Simulator().Error();
    ASSERT_EQ(zova.Started(), 1);

    std::map<base::Mac, int> answers;
    const auto devices = zova.Scan(kDevices, &answers);
    EXPECT_EQ(devices.size(), kDevices);
    int total = 0;
    for (const auto& entry : answers)
        total += entry.second;
    // A figure, not an assertion: how many of the repeats' answers came too.
    std::cout << "answers fetched: " << total << " for " << devices.size() << " devices\n";
}

}  // namespace
