// The real transport on this machine's own USB: it must behave without any board attached.
#include "boardlink/hidapi_transport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(HidapiTransport, UnknownPathsAndHandlesFailCleanly) {
    HidapiTransport transport;
    const std::vector<std::string> paths = transport.enumerate();
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), paths.size());  // each once

    EXPECT_EQ(transport.open("/dev/no-such-hidraw"), kInvalidHandle);
    Report report{};
    report.fill(0x5A);
    EXPECT_FALSE(transport.attributes(kInvalidHandle));
    EXPECT_FALSE(transport.write(kInvalidHandle, report));
    EXPECT_FALSE(transport.read(kInvalidHandle, report, 0));
    EXPECT_EQ(report[0], 0x5A);  // a failed read leaves the report alone
    transport.close(kInvalidHandle);
}

}  // namespace
