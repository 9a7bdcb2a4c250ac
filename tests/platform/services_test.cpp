// The platform services the program waits, asks, repaints and ends through.
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "platform/busy_indicator.h"
#include "platform/delay.h"
#include "platform/dialogs.h"
#include "platform/program_exit.h"
#include "platform/repaint_pacer.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/test_event_pump.h"

namespace {

TEST(Delay, WaitsInFourMillisecondStepsProcessingEventsAcrossTheCounterWrap) {
    for (std::uint32_t start : {1000u, 0xFFFFFFF0u}) {
        FakeClock clock(start);
        TestEventPump events;
        Delay(clock, events, 0.1);
        EXPECT_EQ(clock.milliseconds() - start, 100u) << start;
        EXPECT_EQ(events.count(), 25);
        Delay(clock, events, 0);
        Delay(clock, events, -1);
        EXPECT_EQ(events.count(), 25) << "nothing to wait for";
        // What a handler spends during the wait counts: time is measured, not steps.
        events.meanwhile = [&] { clock.advance(46); };
        Delay(clock, events, 0.1);
        EXPECT_EQ(clock.milliseconds() - start, 200u);
        EXPECT_EQ(events.count(), 27);
    }
}

TEST(WaitCursor, ShowsTheWaitCursorOverEveryWindowAndRestoresWhatWasThere) {
    WaitCursor busy;
    {
        const BusyWhile outer(busy);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        { const BusyWhile inner(busy); }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr)
            << "an inner wait leaves the outer one's cursor";
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The record file's dialog opens on the filter of the pattern it is given, the text files.
TEST(QtDialogs, TheFileDialogStartsOnThePatternsFilter) {
    QString filterShown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filterShown = dialog->selectedNameFilter();
        dialog->reject();
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.chooseFile({"Select File For Recording", "",
                                  "All Files (*.*)|*.*|Tolvane Data Files(*.txt)|*.txt", "*.txt"}),
              "");
    EXPECT_EQ(filterShown, "Tolvane Data Files(*.txt)");
}

// Repaints wait for the thread to go idle, at most one a frame: a burst of changes, and a handler that
// lets events run halfway, show once; a change within a frame of the last repaint shows when it ends.
struct CountingWidget : QWidget {
    int paints = 0;
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(RepaintPacer, OneRepaintWhenIdleAtMostOneAFrameAndNoneIsLost) {
    FakeClock clock;
    CountingWidget window;
    RepaintPacer pacer(window, clock);
    window.resize(100, 50);
    window.show();
    QCoreApplication::processEvents();
    const int shown = window.paints;
    const auto idle = [] {
        emit QAbstractEventDispatcher::instance()->aboutToBlock();
        QCoreApplication::processEvents();
    };
    for (int change = 0; change < 5; ++change) {
        window.update();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(window.paints, shown) << "busy: the changes wait";
    idle();
    EXPECT_EQ(window.paints, shown + 1) << "the whole burst in one repaint";

    clock.advance(RepaintPacer::kFrameMs - 1);
    window.update();
    idle();
    EXPECT_EQ(window.paints, shown + 1) << "within a frame of the last: it waits";
    EXPECT_TRUE(pacer.repaintWaiting());
    pacer.frameDue();  // the frame's timer
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, shown + 2);
}

TEST(ProcessExitDeathTest, ClosesFirstThenEndsTheProcessWithSuccess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ProcessExit exit;
            exit.beforeEnd = [] { std::fputs("boards closed", stderr); };
            exit.exitProgram();
        },
        ::testing::ExitedWithCode(0), "boards closed");
}

}  // namespace
