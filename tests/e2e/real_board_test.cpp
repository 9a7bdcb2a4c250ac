// The program for real boards, on this machine's own USB: without a board it must say so.
#include <gtest/gtest.h>

#include <algorithm>

#include "boardlink/hidapi_transport.h"
#include "shell/frmStartup.h"
#include "shell/program.h"
#include "tests/doubles/test_services.h"

namespace {

TEST(RealBoardProgram, WithoutABoardShowsTheNotFoundBoxAndCancelEnds) {
    HidapiTransport transport;
    // Listed, whether this user may open it or not: either way the plain not-found box is not what shows.
    const auto listed = transport.enumerate();
    if (std::any_of(listed.begin(), listed.end(), [](const HidInterface& entry) {
            return entry.vendorId == kBoardVendorId && entry.productId == kBoardProductId;
        }))
        GTEST_SKIP() << "an evaluation board is attached to this machine";
    TestServices test;
    Program program(test.services, transport);

    program.start();
    program.startup().cboDeviceSelect->setCurrentIndex(1);

    ASSERT_EQ(test.dialogs.shown.size(), 1u);
    EXPECT_TRUE(test.dialogs.shown[0].text.endsWith("Tolvane Evaluation Board not found."));
    EXPECT_TRUE(test.exit.requested());
    EXPECT_FALSE(program.hasPanel());
}

}  // namespace
