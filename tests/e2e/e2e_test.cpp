// The program as an engineer meets it: on the demo's board with answers timed as the real board times
// them, and on this machine's own USB, where without a board it must say so.
#include <gtest/gtest.h>

#include <algorithm>

#include "boardlink/hidapi_transport.h"
#include "common/hex.h"
#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "sim/demo_board.h"
#include "tests/support/rig.h"

namespace {

TEST(Demo, AnEngineerConnectsChecksTheLinkAndReadsALightLevel) {
    Rig rig(0);
    rig.bus.setTiming(sim::Timing::Realistic);
    rig.boards.push_back(&sim::addDemoBoard(rig.bus));
    const std::uint32_t before = rig.clock.milliseconds();
    rig.chooseTolvane();
    ASSERT_TRUE(rig.program.hasPanel());
    frmTolvane& panel = rig.program.panel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(rig.program.startup().isVisible());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    // Nine answered or unanswered requests, each at least a USB frame when answered.
    EXPECT_GE(rig.clock.milliseconds() - before, 7u);

    click(panel.OptMode[2]);  // "Test Comm"
    EXPECT_EQ(panel.LblCommTest->text(), "Good");
    click(panel.cmdSetCommand);  // "80": ADC enabled, D1, 16 bits
    EXPECT_EQ(panel.txtRegRd[0]->text(), "80");
    rig.clock.advance(250);  // a couple of 100 ms integrations
    click(panel.cmdRead_Measurements);
    const int count = HexToInt(panel.txtRegRd[5]->text()) * 256 + HexToInt(panel.txtRegRd[4]->text());
    EXPECT_GT(count, 0);
    EXPECT_LT(count, 65535) << "the demo's light stays inside the 1k range";
    EXPECT_FALSE(rig.exit.requested());
}

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
