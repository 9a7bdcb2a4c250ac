// The platform services the program waits, asks and ends through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QTimer>
#include <cstdio>

#include "platform/busy_indicator.h"
#include "platform/delay.h"
#include "platform/dialogs.h"
#include "platform/program_exit.h"
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
