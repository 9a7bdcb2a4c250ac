// The panel under the user's hand: real presses, releases and keys, queued as a desktop queues them,
// with the focus moving as it does. Every click lands once, after what the focus leaving a box does.
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
    // Clicks into the interval box and types over its three digits.
    void typeInterval(const QString& text) {
        click(interval());
        press({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace});
        type(text);
    }
    // Collects after `start`, noting the chart's span once the run has settled, then stops it.
    QString spanDuringRunStartedBy(const std::function<void()>& start) {
        QString span;
        collect(
            [&] {
                if (history().SampleIndex < 3 || !panel().Collecting) return;
                span = wing().chart.TimeLabels[10];
                panel().cmdStopData_Click();
            },
            start);
        return span;
    }
    // Counts the runs started, by their first write of R0.
    int runsStartedSince(std::size_t from) {
        const std::vector<std::string> traffic = trafficSince(from);
        return static_cast<int>(std::count(traffic.begin(), traffic.end(), "W00=80"));
    }
};

// Typing an interval and clicking "Collect" at once: the box's focus-out relabels the chart first,
// then the one click starts one run, which runs at the new interval under the new labels.
TEST_F(ClicksTest, ClickingCollectWithTheFocusInTheIntervalBoxStartsOneRunWithTheNewLabels) {
    typeInterval("50");
    const std::size_t from = mark();
    EXPECT_EQ(spanDuringRunStartedBy([&] { click(frame().cmdCollectData); }), "20.00");
    EXPECT_EQ(runsStartedSince(from), 1);
    const std::vector<std::uint32_t> reads = adcReadTimes(from);
    ASSERT_GE(reads.size(), 3u);
    EXPECT_EQ(reads[2] - reads[1], 47u) << "the run samples at the typed interval";
    EXPECT_FALSE(frame().cmdCollectData->isDown());
}

// During a run the user clicks into the interval box, then "Stop": the focus leaving the box ends the
// run, and the same click still says so.
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

// A control half out of view takes its click where it is; the panel does not scroll it away from
// under the pointer.
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

// The keyboard: Shift+Tab four times leaves the interval box for "Collect" and Space clicks it, all typed
// before the program has seen any: the box relabels the chart, then the one run starts.
TEST_F(ClicksTest, ShiftTabAndSpaceLeaveTheIntervalBoxAndStartOneRun) {
    typeInterval("10");
    const std::size_t from = mark();
    EXPECT_EQ(spanDuringRunStartedBy([] {
                  press({Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Space});
              }),
              "4.00");
    EXPECT_EQ(runsStartedSince(from), 1);
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
