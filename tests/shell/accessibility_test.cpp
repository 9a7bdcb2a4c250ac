// Every window as a screen reader meets it: each control has a name, each indicator says its state.
#include "tests/support/accessibility.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sensor/frmTolvane.h"
#include "shell/frmAbout2.h"
#include "shell/frmStartup.h"
#include "tests/support/rig.h"

namespace {

TEST(Accessibility, EveryControlOfEveryWindowHasANameAndEveryIndicatorItsState) {
    Rig rig;
    rig.chooseTolvane();
    rig.program.showAbout();
    EXPECT_THAT(accessibilityFaults(rig.program.startup()), ::testing::IsEmpty());
    EXPECT_THAT(accessibilityFaults(rig.program.panel()), ::testing::IsEmpty());
    EXPECT_THAT(accessibilityFaults(*rig.program.about()), ::testing::IsEmpty());
}

// The indicators say in words what their colour says.
TEST(Accessibility, IndicatorsDescribeTheirStateInWords) {
    Rig rig;
    rig.chooseTolvane();
    frmTolvane& p = rig.program.panel();
    EXPECT_EQ(p.ShpINTexternal->accessibleDescription(), "high: no interrupt");
    rig.board().chip.setReg(1, 0x20);  // a pending interrupt pulls the pin low
    p.cmdSample_Portb->click();
    EXPECT_EQ(p.ShpINTexternal->accessibleName(), "External INT pin");
    EXPECT_EQ(p.ShpINTexternal->accessibleDescription(), "low: interrupt asserted");
    p.cmdRead_All->click();  // the chip's R0 reads 00, the box says 80
    EXPECT_EQ(p.ShpInd[4]->accessibleDescription(), "mismatch: the read-back differs from the write box");
    EXPECT_EQ(p.ShpInd[6]->accessibleDescription(), "accessed") << "R2 reads back FF as written";
    EXPECT_EQ(p.ShpINt->accessibleDescription(), "set: interrupt pending");
}

}  // namespace
