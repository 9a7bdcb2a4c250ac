// Repaints paced to the display's frames: a burst of changes shows once, and the last change still
// shows when its frame ends.
#include "platform/repaint_pacer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "tests/doubles/fake_clock.h"

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(RepaintPacer, AtMostOneRepaintPerFrameAndNoneIsLost) {
    FakeClock clock;
    CountingWidget window;
    RepaintPacer pacer(window, clock);
    window.resize(100, 50);
    window.show();
    QCoreApplication::processEvents();
    const int shown = window.paints;
    ASSERT_GE(shown, 1);

    clock.advance(RepaintPacer::kFrameMs);
    window.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, shown + 1) << "a frame had passed: at once";

    for (int change = 0; change < 50; ++change) {
        clock.advance(RepaintPacer::kFrameMs / 8);
        window.update();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(window.paints, shown + 1) << "changes within a frame of the last repaint wait";
    EXPECT_TRUE(pacer.repaintWaiting());

    pacer.frameDue();  // the frame's timer
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, shown + 2) << "the whole burst shows in one repaint";
    EXPECT_FALSE(pacer.repaintWaiting());

    clock.advance(RepaintPacer::kFrameMs);
    window.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, shown + 3);
}

}  // namespace
