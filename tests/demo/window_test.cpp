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

TEST_F(BoardWindowTest, TheLogShowsTheLastReportsBothWaysInHexWithTheirTimes) {
    rig.clock.advance(1234);
    panel().cmdRead_Measurements->click();
    window.refresh();
    const QStringList lines = logLines(window);
    const QString request = lines[lines.size() - 2];
    const QString answer = lines.back();
    EXPECT_TRUE(request.startsWith("   1.2") && request.contains(" -> 01 06 89 04 01 04 "))
        << request.toStdString();
    EXPECT_TRUE(answer.contains(" <- 01 00 ")) << answer.toStdString();
    EXPECT_EQ(answer.mid(answer.indexOf("<- ") + 3).split(' ').size(), 64) << "all 64 bytes";
    EXPECT_EQ(lines.size(), int(rig.board().received.size() + rig.board().answered.size()));

    // Paused, nothing moves; resumed, it catches up, with the last 200 lines only. The board's log keeps
    // its last reports only: a mark taken before it drops the oldest still finds what came after it.
    window.reports->pauseButton->click();
    EXPECT_EQ(window.reports->pauseButton->text(), "Resume");
    while (rig.board().received.size() < sim::RecentReports::kKept) panel().cmdRead_All->click();
    const std::size_t mark = rig.mark();
    panel().cmdSetCommand->click();
    for (int i = 0; i < 10; ++i) panel().cmdRead_All->click();
    ASSERT_GT(rig.board().received.first(), 0u) << "the log has dropped its oldest reports";
    const std::vector<Report> afterMark = rig.received(mark);
    ASSERT_EQ(afterMark.size(), 12u) << "the write, its read-back and ten reads";
    EXPECT_EQ(head(afterMark[0], 6), (std::vector<std::uint8_t>{0x01, 0x06, 0x88, 0x01, 0x01, 0x00}));
    window.refresh();
    EXPECT_EQ(logLines(window), lines);
    window.reports->pauseButton->click();
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
