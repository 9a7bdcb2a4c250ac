// The demo's board as an engineer meets it: pick the device, check the link, switch the sensor on
// and read a measurement, with answers timed as the real board times them.
#include <gtest/gtest.h>

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

    rig.program.start();
    EXPECT_EQ(rig.program.startup().windowTitle(), "Halvora Evaluation Software Main Startup Menu");
    const std::uint32_t before = rig.clock.milliseconds();
    rig.chooseTolvane();
    ASSERT_TRUE(rig.program.hasPanel());
    frmTolvane& panel = rig.program.panel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), "Tolvane  Light Sensor Evaluation Software");
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

}  // namespace
