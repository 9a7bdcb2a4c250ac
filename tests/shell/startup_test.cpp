// The start-up selector: what choosing a device does, and what happens when no board is there.
#include <gtest/gtest.h>

#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "tests/support/rig.h"

namespace {

TEST(Startup, OffersTheDeviceListAndDoesNothingForRowZero) {
    Rig rig;
    rig.program.start();
    frmStartup& startup = rig.program.startup();
    EXPECT_EQ(startup.windowTitle(), "Halvora Evaluation Software Main Startup Menu");
    ASSERT_EQ(startup.cboDeviceSelect->count(), 2);
    EXPECT_EQ(startup.cboDeviceSelect->itemText(0), "Device Select");
    EXPECT_EQ(startup.cboDeviceSelect->itemText(1), "Tolvane");
    EXPECT_EQ(startup.cboDeviceSelect->currentIndex(), 0);
    EXPECT_EQ(startup.cmdAbout->text(), "About");

    startup.cboDeviceSelect_Click();  // row 0 chosen again
    EXPECT_FALSE(rig.program.hasConsole());
    EXPECT_FALSE(rig.program.hasPanel());
    EXPECT_TRUE(rig.board().received.empty());
    EXPECT_TRUE(rig.program.link.DeviceName.isEmpty());
}

TEST(Startup, ChoosingTolvaneConnectsTheBoardAndOpensThePanel) {
    Rig rig;
    rig.chooseTolvane();

    const BoardLink& link = rig.program.link;
    EXPECT_EQ(link.SlaveAddress, 0x88);
    EXPECT_EQ(link.DefaultSlaveAddress, 0x88);
    EXPECT_EQ(link.DeviceName, "Tolvane");
    EXPECT_EQ(link.BoardName, "Tolvane Evaluation Board");
    frmMain& console = rig.console();
    EXPECT_EQ(console.txtI2Caddress->text(), "88");
    EXPECT_TRUE(console.chkRandom->isChecked());
    EXPECT_FALSE(console.isVisible());
    EXPECT_FALSE(rig.program.startup().isVisible());
    ASSERT_TRUE(rig.program.hasPanel());
    EXPECT_TRUE(rig.program.panel().isVisible());
    EXPECT_EQ(rig.program.panel().windowTitle(), "Tolvane  Light Sensor Evaluation Software");
    EXPECT_FALSE(rig.board().received.empty());  // the console read the board's state back
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(rig.exit.requested());
}

TEST(Startup, NoBoardShowsTheNotFoundBoxAndCancelEndsBeforeThePanelOpens) {
    Rig rig(0);
    rig.chooseTolvane();

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    const MessageBoxRequest& box = rig.dialogs.shown[0];
    EXPECT_EQ(box.buttons, DialogButtons::RetryCancel);
    EXPECT_EQ(box.title, "");  // the board name is set only after the search
    EXPECT_EQ(box.text,
              "Please check USB connection.\r\n"
              "Halvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board not found.");
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_EQ(rig.bus.openHandleCount(), 0);
    EXPECT_FALSE(rig.program.hasPanel());
    EXPECT_TRUE(rig.program.link.BoardName.isEmpty());
}

TEST(Startup, ABoardWithoutPermissionIsNamedAfterTheNotFoundText) {
    Rig rig(0);
    rig.bus.addForeignDevice(0x046D, 0xC077);
    rig.bus.addUnopenableDevice();
    rig.chooseTolvane();

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    const QStringList lines = rig.dialogs.shown[0].text.split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "Halvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board not found.");
    EXPECT_TRUE(lines[2].startsWith("A board was found but could not be opened: no permission"));
    EXPECT_TRUE(lines[2].contains("udev rule (see the README)"));
    EXPECT_EQ(rig.bus.openRequests(), std::vector<std::string>{"sim:1"}) << "the mouse is left alone";
    EXPECT_TRUE(rig.exit.requested());
}

TEST(Startup, RetryWithTheBoardPluggedInCarriesOn) {
    Rig rig(0);
    rig.dialogs.answerWith([&rig](const MessageBoxRequest&) {
        rig.boards.push_back(&rig.bus.addBoard());
        return AnswerRetry;
    });
    rig.chooseTolvane();

    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_TRUE(rig.program.hasPanel());
    EXPECT_EQ(rig.console().cboEVBinstance->count(), 1);
    EXPECT_FALSE(rig.board().received.empty());
}

TEST(Startup, ClosingTheSelectorEndsTheProgram) {
    Rig rig;
    rig.program.start();
    rig.program.startup().close();
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_FALSE(rig.program.hasConsole());
}

TEST(Startup, AboutButtonOpensTheAboutWindow) {
    Rig rig;
    rig.program.start();
    rig.program.startup().cmdAbout->click();
    EXPECT_TRUE(rig.program.hasAbout());
}

}  // namespace
