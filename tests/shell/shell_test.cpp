// The start-up selector, the box shown when no board opens, the About window, and how the desktop tells
// the program's windows apart.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QTest>
#include <functional>

#include "common/program_identity.h"
#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "shell/frmAbout2.h"
#include "shell/frmStartup.h"
#include "shell/window_placement.h"
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
    QStringList rows;
    for (int i = 0; i < startup.cboDeviceSelect->count(); ++i) rows << startup.cboDeviceSelect->itemText(i);
    EXPECT_EQ(rows, (QStringList{"Device Select", "Tolvane"}));
    EXPECT_EQ(startup.cboDeviceSelect->currentIndex(), 0);
    EXPECT_EQ(startup.cmdAbout->text(), "About");

    startup.cboDeviceSelect_Click();  // row 0 chosen again
    EXPECT_FALSE(rig.program.hasConsole());
    EXPECT_TRUE(rig.board().received.empty());
    startup.close();
    EXPECT_TRUE(rig.exit.requested()) << "closing the selector ends the program";
}

// Only what the bus lists with both of the board's ids is opened; when none opens, the box (titled as
// the board name stands before the first search: empty) says why, and Cancel ends before the panel.
TEST(Startup, WithoutABoardThatOpensTheBoxSaysWhyAndCancelEnds) {
    using Bus = sim::SimBus;
    const auto nearMisses = [](Bus& b) {
        for (const auto& [vendor, product] :
             {std::pair{0x7C4A, 0x2019}, {0x7C4B, 0x2018}, {0x2019, 0x7C4B}, {0x4B7C, 0x1920}, {0x7C4B, 0}})
            b.addForeignDevice(static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product));
    };
    const struct {
        const char* bus;
        std::function<void(Bus&)> fill;
        QString text;  // empty: no box, the panel opens
        std::vector<std::string> opened;
    } cases[] = {
        {"nothing", [](Bus&) {}, kNotFound, {}},
        {"near misses of the board's ids", nearMisses, kNotFound, {}},
        {"near misses, then a board", [&](Bus& b) { nearMisses(b), b.addBoard(); }, "", {"sim:5", "sim:5"}},
        {"a mouse that refuses opening",
         [](Bus& b) { b.addUnopenableDevice(0x046D, 0xC077); },
         kNotFound,
         {}},
        {"a board that refuses opening",
         [](Bus& b) { b.addUnopenableDevice(); },
         kNotFound + kNoPermission,
         {"sim:0"}},
        {"a keyboard, a refusing board, a board unplugged",
         [](Bus& b) { b.addForeignDevice(0x046D, 0xC31C), b.addUnopenableDevice(), b.unplug(b.addBoard()); },
         kNotFound + kNoPermission,
         {"sim:1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bus);
        Rig rig(0);
        c.fill(rig.bus);
        rig.chooseTolvane();
        EXPECT_EQ(rig.bus.openRequests(), c.opened);
        EXPECT_EQ(rig.program.hasPanel(), c.text.isEmpty());
        EXPECT_EQ(rig.dialogs.texts(), c.text.isEmpty() ? std::vector<QString>{} : std::vector{c.text});
        EXPECT_EQ(rig.exit.requested(), !c.text.isEmpty());
        if (c.text.isEmpty()) continue;
        EXPECT_EQ(rig.dialogs.shown[0].title, "");
        EXPECT_EQ(rig.dialogs.shown[0].buttons, DialogButtons::RetryCancel);
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

// One window however often it is asked for; Enter, Escape, OK and the close box each unload it.
TEST(About, OneWindowShowsTitleVersionAndDisclaimersAndEachWayOutUnloadsIt) {
    Rig rig;
    rig.program.start();
    click(rig.program.startup().cmdAbout);
    frmAbout2* about = rig.program.about();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Tolvane");
    EXPECT_EQ(about->lblTitle->text(), "Tolvane");
    EXPECT_EQ(about->lblVersion->text(), "Version 3.0.0");
    EXPECT_TRUE(about->lblDescription->text().isEmpty());
    EXPECT_EQ(about->lblDisclaimer[0]->text(), "ACCURACY OF INFORMATION");
    EXPECT_EQ(about->lblDisclaimer[1]->text(),
              "Please review license.txt file in the installation directory.");
    EXPECT_EQ(about->cmdOK->text(), "OK");
    EXPECT_FALSE(about->picPellionLogo->pixmap().isNull());
    EXPECT_FALSE(about->isModal());
    rig.program.showAbout();
    EXPECT_EQ(rig.program.about(), about);
    EXPECT_TRUE(about->isVisible());

    const std::function<void(frmAbout2&)> ways[] = {[](frmAbout2& a) { QTest::keyClick(&a, Qt::Key_Return); },
                                                    [](frmAbout2& a) { QTest::keyClick(&a, Qt::Key_Escape); },
                                                    [](frmAbout2& a) { click(a.cmdOK); },
                                                    [](frmAbout2& a) { a.close(); }};
    for (const auto& way : ways) {
        rig.program.showAbout();
        const QPointer<frmAbout2> shown = rig.program.about();
        way(*shown);
        EXPECT_FALSE(rig.program.hasAbout());
        EXPECT_TRUE(shown.isNull() || !shown->isVisible());
    }
    EXPECT_FALSE(rig.exit.requested());
}

TEST(ProgramIdentity, NamesTheDesktopEntryAndGivesEveryWindowTheBuiltInIcon) {
    const QString name = QGuiApplication::applicationName();
    setProgramIdentity("tolvane-demo");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "tolvane-demo");
    EXPECT_EQ(QGuiApplication::applicationName(), "Tolvane");
    const QIcon icon = QGuiApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    const QImage small = icon.pixmap(32).toImage();
    ASSERT_FALSE(small.isNull()) << "the pictures are built into the program";
    EXPECT_EQ(small.pixelColor(16, 16), QColor(0xf5, 0xb0, 0x2e)) << "the sun's middle";
    QGuiApplication::setApplicationName(name);
    QGuiApplication::setDesktopFileName({});
    QGuiApplication::setWindowIcon({});
}

// Where the windows open on ordinary screens, with a window manager's frame and without: the panel whole
// at the top left, the board window beside it or over it left of its run controls, on the screen and
// clear of them. A screen too small for the panel gives it what there is, and it scrolls.
TEST(WindowPlacement, BothWindowsFitOrdinaryScreensWithAndWithoutATitleBar) {
    const QSize panelSize(1335, 695);
    const QRect runControls(785, 20, 550, 675);  // on the panel's inside: chart, collection and record
    const QSize boardMinimum(240, 670);
    const QSize boardPreferred(345, 800);
    for (const auto& [width, height, beside] :
         std::vector<std::tuple<int, int, bool>>{{1920, 1080, true}, {1600, 1000, true}, {1366, 768, false}})
        for (const int titleBar : {0, 30}) {
            SCOPED_TRACE(std::to_string(width) + ", title bar " + std::to_string(titleBar));
            const QRect available(0, 0, width, height - 40);  // a task bar along the bottom
            const WindowFrame frame{titleBar, titleBar / 15};
            const QRect panel = panelGeometry(panelSize, available, frame);
            const QRect panelFrame(panel.topLeft(), panel.size() + frame.around());
            EXPECT_EQ(panel.size(), panelSize);
            EXPECT_TRUE(available.contains(panelFrame));
            const QRect runOnScreen =
                runControls.translated(panel.topLeft() + QPoint(frame.border, titleBar));
            const CompanionPlace board =
                companionPlace(panelFrame, runOnScreen, boardMinimum, boardPreferred, available, frame);
            const QRect boardFrame(board.position, board.size + frame.around());
            EXPECT_TRUE(available.contains(boardFrame));
            EXPECT_FALSE(boardFrame.intersects(runOnScreen));
            EXPECT_EQ(boardFrame.intersects(panelFrame), !beside);
            EXPECT_EQ(board.overPanel, !beside);
            EXPECT_EQ(board.size.expandedTo(boardMinimum), board.size);
        }
    EXPECT_EQ(panelGeometry(panelSize, QRect(0, 0, 1024, 560), {30, 2}), QRect(0, 0, 1020, 528));
}

}  // namespace
