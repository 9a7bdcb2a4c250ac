// The real transport on this machine's own USB: it must behave without any board attached.
#include "boardlink/hidapi_transport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(HidapiTransport, UnknownPathsAndHandlesFailCleanly) {
    HidapiTransport transport;
    std::set<std::string> paths;
    const std::vector<HidInterface> listed = transport.enumerate();
    for (const HidInterface& entry : listed) paths.insert(entry.path);
    EXPECT_EQ(paths.size(), listed.size());  // each once

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
