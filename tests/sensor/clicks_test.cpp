// The panel under the user's hand: every click lands once, after what the focus leaving a box does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

namespace {

class ClicksTest : public PanelTest {
protected:
    ClicksTest() { panel().resize(panel().fullSize()); }

    QLineEdit* interval() { return frame().txtInterval; }
};

// Typing an interval, then clicking "Collect" or leaving the box by Shift+Tab four times and pressing
// Space, all queued at once: the box's focus-out relabels the chart first, then the one run starts, at
// the new interval under the new labels.
TEST_F(ClicksTest, LeavingTheIntervalBoxForCollectStartsOneRunWithTheNewLabels) {
    const struct {
        const char* typed;
        std::function<void()> start;
        const char* span;
        std::uint32_t gap;
    } cases[] = {
        {"10",
         [] {
             press({Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Space});
         },
         "4.00", 7},
        {"50", [this] { click(frame().cmdCollectData); }, "20.00", 47},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        click(interval());
        press({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace});
        type(c.typed);
        const std::size_t from = mark();
        QString span;  // once the run has settled
        collect(
            [&] {
                if (history().SampleIndex < 3 || !panel().Collecting) return;
                span = wing().chart.TimeLabels[10];
                panel().cmdStopData_Click();
            },
            c.start);
        EXPECT_EQ(span, c.span);
        const std::vector<std::string> traffic = trafficSince(from);
        EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "W00=80"), 1) << "one run";
        const std::vector<std::uint32_t> reads = adcReadTimes(from);
        ASSERT_GE(reads.size(), 3u);
        EXPECT_EQ(reads[2] - reads[1], c.gap) << "the run samples at the typed interval";
        EXPECT_FALSE(frame().cmdCollectData->isDown());
    }
}

// The focus leaving the interval box ends the run; the click on "Stop" still says so.
TEST_F(ClicksTest, ClickingStopWithTheFocusInTheIntervalBoxStopsAndSaysSo) {
    collect([&] {
        if (!panel().Collecting) return;
        if (history().SampleIndex == 2 && !interval()->hasFocus()) click(interval());
        if (history().SampleIndex == 4) click(frame().cmdStopData);
    });
    EXPECT_EQ(frame().Label18->text(), "Data Collection Halted");
    EXPECT_FALSE(frame().cmdStopData->isDown());
    EXPECT_FALSE(wing().running());
}

// The panel does not scroll a half-hidden control away from under the pointer.
TEST_F(ClicksTest, APartlyHiddenWriteToDiskWritesOneBlockAtTheFirstClick) {
    QTemporaryDir folder;
    const QString path = folder.filePath("Data.txt");
    wing().record->txtFilePath->setText(path);
    collectSamples(25);
    panel().resize(panel().fullSize() - QSize(250, 0));
    QCoreApplication::processEvents();
    QPushButton* write = wing().record->cmdStartRec;
    QScrollBar* across = panel().scroller()->horizontalScrollBar();
    across->setValue(write->mapTo(panel().scroller()->widget(), QPoint(write->width() / 2, 0)).x() -
                     panel().scroller()->viewport()->width());
    const int scrolled = across->value();
    ASSERT_FALSE(write->visibleRegion().isEmpty());
    ASSERT_LT(write->visibleRegion().boundingRect().width(), write->width()) << "only partly in view";

    click(write);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("END"), 1);
    EXPECT_EQ(across->value(), scrolled);
}

// Tab to a control out of view scrolls it into view.
TEST_F(ClicksTest, TabScrollsTheFocusIntoView) {
    panel().resize(600, 400);
    QCoreApplication::processEvents();
    QPushButton* write = wing().record->cmdStartRec;
    ASSERT_TRUE(write->visibleRegion().isEmpty());
    wing().record->chkAppend->setFocus();
    press({Qt::Key_Tab});
    ASSERT_EQ(QApplication::focusWidget(), write);
    EXPECT_FALSE(write->visibleRegion().isEmpty());
}

}  // namespace
