// The board window itself: its report log, its pause, and where it goes beside the panel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <vector>

#include "tests/demo/board_window_fixture.h"
#include "tests/support/accessibility.h"
#include "tests/support/user_input.h"

namespace {

QStringList logLines(BoardWindow& window) {
    return window.reports->logView->toPlainText().split('\n');
}

TEST_F(BoardWindowTest, TheLogShowsTheLastReportsBothWaysInHexWithTheirTimesAndPauses) {
    rig.clock.advance(1234);
    click(panel().cmdRead_Measurements);
    window.refresh();
    const QStringList lines = logLines(window);
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("   1.2") &&
                lines[lines.size() - 2].contains(" -> 01 06 89 04 01 04 "))
        << lines[lines.size() - 2].toStdString();
    EXPECT_TRUE(lines.back().contains(" <- 01 00 ")) << lines.back().toStdString();
    EXPECT_EQ(lines.back().mid(lines.back().indexOf("<- ") + 3).split(' ').size(), 64) << "all 64 bytes";
    EXPECT_EQ(lines.size(), int(rig.board().received.size() + rig.board().answered.size()));

    // Paused, nothing moves; resumed, it catches up, with the last 200 lines only.
    click(window.reports->pauseButton);
    EXPECT_EQ(window.reports->pauseButton->text(), "Resume");
    click(panel().cmdSetCommand);
    for (int i = 0; i < 110; ++i) click(panel().cmdRead_All);
    window.refresh();
    EXPECT_EQ(logLines(window), lines);
    click(window.reports->pauseButton);
    EXPECT_EQ(window.reports->pauseButton->text(), "Pause");
    const QStringList resumed = logLines(window);
    EXPECT_EQ(resumed.size(), 200);
    EXPECT_TRUE(resumed.back().contains(" <- 01 00 80 00 FF 00 ")) << resumed.back().toStdString();
    for (int i = 1; i < resumed.size(); ++i)
        EXPECT_NE(resumed[i].contains(" <- "), resumed[i - 1].contains(" <- "))
            << "each read, then its answer";
}

// The panel opens at its full size wherever the screen holds it, and scrolls only where it does not;
// the board window goes beside it where both fit, else over its right edge.
TEST(Windows, ThePanelOpensWholeWhereTheScreenHoldsItAndTheBoardWindowBesideIt) {
    struct Case {
        int width, height;
        bool whole, beside;
    };
    for (const auto& [width, height, whole, beside] :
         std::vector<Case>{{1920, 1080, true, true}, {1600, 1000, true, false}, {1024, 600, false, false}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Rig rig(1, QSize(width, height));
        BoardWindow board(rig.bus, rig.board(), rig.clock, {100, sim::LightSetting::Shape::Constant, 0, 0});
        board.placeAtTheRightEdge();
        board.show();
        rig.program.setCompanion(&board);
        rig.chooseTolvane();
        frmTolvane& p = rig.program.panel();
        QApplication::processEvents();

        const QRect available = p.screen()->availableGeometry();
        EXPECT_EQ(p.pos(), available.topLeft());
        EXPECT_EQ(p.size() == p.fullSize(), whole);
        EXPECT_EQ(p.scroller()->horizontalScrollBar()->isVisible(), !whole);
        EXPECT_LE(p.width(), available.width());
        const QRect boardFrame = board.frameGeometry();
        EXPECT_EQ(beside ? boardFrame.left() : boardFrame.right(),
                  beside ? p.frameGeometry().right() + 1 : width - 1);
        EXPECT_EQ(boardFrame.top(), available.top());
    }
}

TEST_F(BoardWindowTest, EveryControlHasANameForAScreenReader) {
    EXPECT_THAT(accessibilityFaults(window), ::testing::IsEmpty());
}

}  // namespace
