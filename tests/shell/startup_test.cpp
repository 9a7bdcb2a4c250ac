// The start-up selector: what choosing a device does, and the box shown when no board opens.
#include <gtest/gtest.h>

#include <functional>

#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "tests/support/rig.h"

namespace {

const QString kNotFound =
    "Please check USB connection.\r\nHalvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board "
    "not found.";
const QString kNoPermission =
    "\r\nA board was found but could not be opened: no permission to use it. Install the udev rule (see "
    "the README), then unplug the board and plug it in again.";

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
    EXPECT_TRUE(rig.board().received.empty());

    click(startup.cmdAbout);
    EXPECT_TRUE(rig.program.hasAbout());
    startup.close();
    EXPECT_TRUE(rig.exit.requested()) << "closing the selector ends the program";
}

// Only what the bus lists with both of the board's ids is opened; when none opens, the box (titled as
// the board name stands before the first search: empty) says why, and Cancel ends before the panel.
TEST(Startup, WithoutABoardThatOpensTheBoxSaysWhyAndCancelEnds) {
    struct Case {
        const char* bus;
        std::function<void(sim::SimBus&)> fill;
        QString text;  // empty: no box, the panel opens
        std::vector<std::string> opened;
    };
    const auto nearMisses = [](sim::SimBus& b) {
        for (const auto& [vendor, product] :
             {std::pair{0x7C4A, 0x2019}, {0x7C4B, 0x2018}, {0x2019, 0x7C4B}, {0x4B7C, 0x1920}, {0x7C4B, 0}})
            b.addForeignDevice(static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product));
    };
    const std::vector<Case> cases = {
        {"nothing", [](sim::SimBus&) {}, kNotFound, {}},
        {"near misses of the board's ids", nearMisses, kNotFound, {}},
        {"near misses, then a board",
         [&](sim::SimBus& b) {
             nearMisses(b);
             b.addBoard();
         },
         "",
         {"sim:5", "sim:5"}},
        {"a mouse that refuses opening",
         [](sim::SimBus& b) { b.addUnopenableDevice(0x046D, 0xC077); },
         kNotFound,
         {}},
        {"a board that refuses opening",
         [](sim::SimBus& b) { b.addUnopenableDevice(); },
         kNotFound + kNoPermission,
         {"sim:0"}},
        {"a keyboard, then a refusing board, then a board unplugged",
         [](sim::SimBus& b) {
             b.addForeignDevice(0x046D, 0xC31C);
             b.addUnopenableDevice();
             b.unplug(b.addBoard());
         },
         kNotFound + kNoPermission,
         {"sim:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bus);
        Rig rig(0);
        c.fill(rig.bus);
        rig.chooseTolvane();
        EXPECT_EQ(rig.bus.openRequests(), c.opened);
        EXPECT_EQ(rig.program.hasPanel(), c.text.isEmpty());
        if (c.text.isEmpty()) {
            EXPECT_TRUE(rig.dialogs.shown.empty());
            continue;
        }
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        const MessageBoxRequest& box = rig.dialogs.shown[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.title, "");
        EXPECT_EQ(box.buttons, DialogButtons::RetryCancel);
        EXPECT_TRUE(rig.exit.requested());
        EXPECT_EQ(rig.bus.openHandleCount(), 0);
    }
}

// Retry searches again, as often as the user asks: once the board opens, the program carries on.
TEST(Startup, RetryAfterTheBoardIsPluggedInCarriesOn) {
    Rig rig(0);
    rig.bus.addUnopenableDevice();
    rig.dialogs.answer(AnswerRetry);  // still refused
    rig.dialogs.answerWith([&rig](const MessageBoxRequest&) {
        rig.boards.push_back(&rig.bus.addBoard());  // the rule in place, the board plugged in again
        return AnswerRetry;
    });
    rig.chooseTolvane();

    EXPECT_EQ(rig.dialogs.texts(), (std::vector<QString>(2, kNotFound + kNoPermission)));
    EXPECT_FALSE(rig.exit.requested());
    ASSERT_TRUE(rig.program.hasPanel());
    EXPECT_TRUE(rig.program.panel().isVisible());
    EXPECT_EQ(rig.console().cboEVBinstance->count(), 1);
    EXPECT_FALSE(rig.board().received.empty());
}

}  // namespace
