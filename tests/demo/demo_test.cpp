// The demo's board window beside a whole program's sensor panel, on the fake clock: its light, INT line,
// faults and report log as the panel and a trainer meet them, its place, and every window's accessibility.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <functional>

#include "acquisition/chart_math.h"
#include "common/palette.h"
#include "console/frmMain.h"
#include "demo/board_window.h"
#include "demo/lux_scale.h"
#include "sensor/frmTolvane.h"
#include "shell/frmAbout2.h"
#include "shell/frmStartup.h"
#include "tests/support/accessibility.h"
#include "tests/support/rig.h"

namespace {

const QString kRetryCancelText = "Please check USB connection.\r\ncheckStatus";
const sim::LightSetting kSteady100Lux{100, sim::LightSetting::Shape::Constant, 0, 0};

// The window starts the board under a steady 100 lux without infrared or noise: with the panel's load
// options (D1, 16 bits, 1k range) the chip counts 6554.
struct DemoRig {
    explicit DemoRig(QSize screen = {1920, 1080}) : rig(1, screen) {
        window.placeAtTheRightEdge();
        window.show();
        rig.program.setCompanion(&window);  // beside the panel, as the demo places it
        rig.chooseTolvane();
    }
    Rig rig;
    BoardWindow window{rig.bus, rig.board(), rig.clock, kSteady100Lux};
};

struct BoardWindowTest : ::testing::Test, DemoRig {
    static constexpr int kCount = 6554;
    frmTolvane& panel() { return rig.program.panel(); }
    SampleHistory& history() { return panel().acquisition().history; }
    // What the panel shows of R0..R3 as one string of hexadecimal pairs.
    QString shownRegisters() {
        QString text;
        for (std::size_t n = 0; n < 4; ++n) text += panel().txtRegRd[n]->text();
        return text;
    }
    QStringList logLines() { return window.reports->logView->toPlainText().split('\n'); }
    // Clicks the pin sample, which meets whatever fault is armed; the boxes shown so far.
    std::vector<QString> sample() {
        click(panel().cmdSample_Portb);
        return rig.dialogs.texts();
    }
};

// A step of the light during a run: the reading follows within an integration, and the chart's trace
// moves to the new level's row.
TEST_F(BoardWindowTest, ALightStepDuringARunChangesTheReadingAndTheChart) {
    const std::int32_t before = *chart::traceRow(kCount, 25000);
    const std::int32_t after = *chart::traceRow(2 * kCount - 1, 25000);  // 200 lux: 13107
    int stepAt = -1;
    rig.collect([&] {
        if (stepAt < 0 && history().SampleIndex == 15) {
            stepAt = 15;
            window.light->levelBox->setValue(200);
        }
        if (history().SampleIndex == 30) panel().cmdStopData_Click();
    });
    ASSERT_EQ(stepAt, 15);
    EXPECT_EQ(history().AdcHistory[14], kCount);
    EXPECT_EQ(history().AdcHistory[16], 13107) << "the next read comes after a whole new integration";
    EXPECT_EQ(panel().acquisition().collection->txtReading->text(), "13107.000");
    const auto& trace = panel().acquisition().chart.TraceY;
    EXPECT_GT(std::count(trace.begin(), trace.end(), before), 0) << "the trace before the step";
    EXPECT_EQ(trace[402], after);
    const QImage& plot = panel().acquisition().chartFrame->Picture1->image();
    EXPECT_EQ(plot.pixel(396, after), qRgb(255, 0, 0)) << "drawn where the chart shows it";
    EXPECT_NE(plot.pixel(396, before), qRgb(255, 0, 0));
    window.refresh();
    EXPECT_EQ(window.light->countLabel->text(), "13107");
}

// Each light control reaches the chip at once; the panel reads the count of the next integration.
TEST_F(BoardWindowTest, EveryLightControlReachesTheChip) {
    LightFrame& l = *window.light;
    const struct {
        const char* name;
        std::function<void()> set;
        int measure;  // the panel's measurement option: 0 D1, 1 D2, 2 D1 - D2
        const char* count;
    } cases[] = {
        {"level box", [&] { l.levelBox->setValue(250); }, 0, "4000"},
        {"slider", [&] { l.levelSlider->setValue(230); }, 0, "32F1"},  // 199 lux
        {"keyboard on the slider", [&] { QTest::keyClick(l.levelSlider, Qt::Key_End); }, 0, "FFFF"},
        {"infrared on D2", [&] { l.infraredBox->setValue(40); }, 1, "0A3D"},
        {"infrared on D1 - D2", [&] { l.infraredBox->setValue(40); }, 2, "0F5C"},
        {"steps at their half level", [&] { l.shapeList->setCurrentIndex(1); }, 0, "0CCD"},
    };
    frmTolvane& p = panel();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        l.levelBox->setValue(100), l.infraredBox->setValue(0), l.shapeList->setCurrentIndex(0);
        click(p.OptMeasure[static_cast<std::size_t>(c.measure)]);
        click(p.cmdSetCommand);
        c.set();
        rig.clock.advance(150);  // the clock started at 1000: the steps are in their first 5 s
        click(p.cmdRead_Measurements);
        EXPECT_EQ(p.txtRegRd[5]->text() + p.txtRegRd[4]->text(), c.count);
    }
}

TEST(LuxScale, TheSliderSpansDarknessToSunlightInRoundNumbers) {
    for (const auto& [position, lux] :
         std::vector<std::pair<int, double>>{{0, 0}, {100, 9}, {233, 213}, {500, 1e5}}) {
        EXPECT_EQ(luxAtSlider(position), lux);
        EXPECT_EQ(sliderAtLux(lux), position);
    }
    EXPECT_EQ(luxAtSlider(kLuxSliderTop + 50), 100000);
    EXPECT_EQ(sliderAtLux(-5), 0);
    EXPECT_EQ(sliderAtLux(1e9), kLuxSliderTop);
}

// The INT line in the window follows the chip's threshold logic; holding it low reaches the panel's
// pin sample but not the chip's flag.
TEST_F(BoardWindowTest, TheIntLineFollowsTheThresholdsAndCanBeHeldLow) {
    frmTolvane& p = panel();
    InterruptFrame& line = *window.interrupt;
    const auto shows = [&](int colour, const QString& text) {
        rig.clock.advance(150);
        window.refresh();
        EXPECT_EQ(line.lineIndicator->fillColour(), colour);
        EXPECT_EQ(line.lineLabel->text(), text);
    };
    click(p.cmdSetCommand);
    shows(Black, "INT high: no interrupt");
    click(line.holdLowButton);
    EXPECT_EQ(line.holdLowButton->text(), "Release INT");
    shows(BrightRed, "INT low: held on the board");
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), BrightRed);
    click(p.cmdRead_All);
    EXPECT_EQ(p.txtRegRd[1]->text(), "00") << "the chip's flag stays clear";
    click(line.holdLowButton);
    EXPECT_EQ(line.holdLowButton->text(), "Hold INT low");
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);

    window.light->levelBox->setValue(900);  // 58982 counts, above a high limit of 32768
    p.txtIUpperLimit->setText("32768");
    QTest::keyClick(p.txtIUpperLimit, Qt::Key_Return);
    shows(BrightRed, "INT low: the chip signals an interrupt");
    click(p.cmdClrInt);
    window.refresh();
    EXPECT_EQ(line.lineLabel->text(), "INT high: no interrupt") << "cleared, for a moment";
}

// Dropped answers are met one by one, each with its box: Retry searches again and reads the board back.
// A late answer comes after the program gave up on it: the read-back of the Retry search made after
// reading the box must not take it (the pin sample's FF 0F) for the LED answer.
TEST_F(BoardWindowTest, DroppedAndLateAnswersEachGiveTheRetryCancelBox) {
    FaultFrame& f = *window.faults;
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
    f.dropCountBox->setValue(2);
    click(f.dropButton);
    EXPECT_EQ(f.pendingLabel->text(), "2 answers to drop");
    rig.dialogs.answer(AnswerRetry);
    rig.dialogs.answer(AnswerRetry);
    const std::uint32_t before = rig.clock.milliseconds();
    // The pin sample's answer, then the LED answer of the search's read-back.
    EXPECT_EQ(sample(), std::vector<QString>(2, kRetryCancelText));
    EXPECT_EQ(rig.dialogs.shown[0].title, "Tolvane Evaluation Board");
    EXPECT_GE(rig.clock.milliseconds() - before, 12000u) << "the program waited for each";
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_EQ(rig.bus.openHandleCount(), 2) << "closed and opened again";
    window.refresh();
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");

    click(f.lateButton);
    EXPECT_EQ(f.pendingLabel->text(), "next answer late");
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(2000);  // reading the box
        return AnswerRetry;
    });
    EXPECT_EQ(sample(), std::vector<QString>(3, kRetryCancelText));
    EXPECT_FALSE(rig.console().chkLED[0]->isChecked() || rig.console().chkLED[1]->isChecked());
    EXPECT_EQ(rig.board().settings.leds, 0);
    window.refresh();
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
}

// Unplugged for a while: the program's request fails, Retry finds no board until the timer plugs it
// back, and the next Retry reconnects. Plugging in alone does not: the old handles stay dead.
TEST_F(BoardWindowTest, RetryAfterTheBoardIsPluggedInAgainReconnects) {
    FaultFrame& f = *window.faults;
    click(f.unplugForAWhileButton);
    EXPECT_EQ(f.replugTimer->interval(), 10000);
    EXPECT_EQ(f.pendingLabel->text(), "Unplugged for a while");
    EXPECT_FALSE(f.unplugButton->isEnabled() || f.unplugForAWhileButton->isEnabled());
    EXPECT_TRUE(f.plugButton->isEnabled());

    rig.dialogs.answer(AnswerRetry);  // at once: the board is still out
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(10000);
        f.plugIn();  // as the timer does, while the box is up
        return AnswerRetry;
    });
    const std::vector<QString> texts = sample();
    EXPECT_EQ(texts.at(0), kRetryCancelText);
    EXPECT_TRUE(texts.size() == 2 && texts[1].endsWith("not found.")) << "the search found no board";
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_FALSE(f.replugTimer->isActive());
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
    click(panel().cmdSetCommand);
    EXPECT_EQ(shownRegisters(), "8000FF00") << "the panel reaches the chip again";

    click(f.unplugButton);
    EXPECT_EQ(f.pendingLabel->text(), "Unplugged");
    click(f.plugButton);
    rig.dialogs.answer(AnswerRetry);
    EXPECT_EQ(sample().size(), 3u);
    EXPECT_EQ(rig.dialogs.texts().back(), kRetryCancelText);
    click(panel().cmdRead_All);
    EXPECT_EQ(shownRegisters(), "8000FF00");
}

// A chip that does not acknowledge fails "Test Comm"; a second board is listed by the next search and
// gone from the one after it is unplugged, and the same board comes back.
TEST_F(BoardWindowTest, ASilentChipAndASecondBoard) {
    frmTolvane& p = panel();
    FaultFrame& f = *window.faults;
    click(f.noAcknowledgeBox);
    EXPECT_EQ(f.pendingLabel->text(), "no acknowledge");
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    click(f.noAcknowledgeBox);
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Good");

    for (const int listed : {2, 1, 2}) {
        click(f.secondBoardBox);
        f.dropCountBox->setValue(1);
        click(f.dropButton);
        rig.dialogs.answer(AnswerRetry);
        sample();
        EXPECT_EQ(rig.console().cboEVBinstance->count(), listed);
        EXPECT_EQ(rig.bus.openHandleCount(), 2 * listed) << "every old handle closed";
    }
    EXPECT_EQ(rig.bus.enumerate().back().path, "sim:1") << "the same board again";
}

TEST_F(BoardWindowTest, TheLogShowsTheLastReportsBothWaysInHexWithTheirTimesAndPauses) {
    rig.clock.advance(1234);
    click(panel().cmdRead_Measurements);
    window.refresh();
    const QStringList lines = logLines();
    const QString& sent = lines[lines.size() - 2];
    EXPECT_TRUE(sent.startsWith("   1.2") && sent.contains(" -> 01 06 89 04 01 04 ")) << sent.toStdString();
    EXPECT_TRUE(lines.back().contains(" <- 01 00 ")) << lines.back().toStdString();
    EXPECT_EQ(lines.back().mid(lines.back().indexOf("<- ") + 3).split(' ').size(), 64) << "all 64 bytes";
    EXPECT_EQ(lines.size(), int(rig.board().received.size() + rig.board().answered.size()));

    // Paused, nothing moves; resumed, it catches up, with the last 200 lines only.
    click(window.reports->pauseButton);
    EXPECT_EQ(window.reports->pauseButton->text(), "Resume");
    click(panel().cmdSetCommand);
    for (int i = 0; i < 110; ++i) click(panel().cmdRead_All);
    window.refresh();
    EXPECT_EQ(logLines(), lines);
    click(window.reports->pauseButton);
    EXPECT_EQ(window.reports->pauseButton->text(), "Pause");
    const QStringList resumed = logLines();
    EXPECT_EQ(resumed.size(), 200);
    EXPECT_TRUE(resumed.back().contains(" <- 01 00 80 00 FF 00 ")) << resumed.back().toStdString();
    for (int i = 1; i < resumed.size(); ++i)
        EXPECT_NE(resumed[i].contains(" <- "), resumed[i - 1].contains(" <- "))
            << "each read, then its answer";
}

// Both windows are usable on ordinary screens, with or without a window manager: the panel opens whole,
// and the board window goes beside it where there is room, else over the panel's option columns, kept
// above the panel. Either way every board control is on the screen and none hides a run control.
TEST(Windows, BothWindowsAreUsableOnOrdinaryScreens) {
    for (const auto& [width, height, beside] : std::vector<std::tuple<int, int, bool>>{
             {1920, 1080, true}, {1600, 1000, true}, {1366, 768, false}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        DemoRig demo(QSize(width, height));
        frmTolvane& p = demo.rig.program.panel();
        QApplication::processEvents();
        const QRect available = p.screen()->availableGeometry();
        EXPECT_EQ(p.pos(), available.topLeft());
        EXPECT_EQ(p.size(), p.fullSize());
        const QRect board = demo.window.frameGeometry();
        for (const QWidget* control : demo.window.findChildren<QWidget*>()) {
            const QRect shown(control->mapToGlobal(QPoint(0, 0)), control->size());
            EXPECT_TRUE(available.contains(shown) && board.contains(shown))
                << control->metaObject()->className();
        }
        Acquisition& run = p.acquisition();
        for (const QWidget* frame :
             std::initializer_list<QWidget*>{run.chartFrame, run.collection, run.record})
            EXPECT_FALSE(board.intersects(QRect(frame->mapToGlobal(QPoint(0, 0)), frame->size())));
        EXPECT_EQ(board.intersects(p.frameGeometry()), !beside);
        EXPECT_EQ(demo.window.windowHandle()->transientParent() == p.windowHandle(), !beside);
    }
}

// Each control has a name and each indicator says in words what its colour says.
TEST_F(BoardWindowTest, EveryWindowAsAScreenReaderMeetsIt) {
    window.show();
    window.refresh();  // the reports' long lines show the log's scroll bar
    rig.program.showAbout();
    for (QWidget* shown :
         std::initializer_list<QWidget*>{&window, &rig.program.startup(), &panel(), rig.program.about()})
        EXPECT_EQ(accessibilityFaults(*shown), std::vector<std::string>{})
            << shown->windowTitle().toStdString();
    rig.program.unloadAbout();

    frmTolvane& p = panel();
    EXPECT_EQ(p.ShpINTexternal->accessibleDescription(), "high: no interrupt");
    rig.board().chip.setReg(1, 0x20);  // a pending interrupt pulls the pin low
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINTexternal->accessibleName(), "External INT pin");
    EXPECT_EQ(p.ShpINTexternal->accessibleDescription(), "low: interrupt asserted");
    click(p.cmdRead_All);  // the chip's R0 reads 00, the box says 80
    EXPECT_EQ(p.ShpInd[4]->accessibleDescription(), "mismatch: the read-back differs from the write box");
    EXPECT_EQ(p.ShpInd[6]->accessibleDescription(), "accessed") << "R2 reads back FF as written";
    EXPECT_EQ(p.ShpINt->accessibleDescription(), "set: interrupt pending");
}

}  // namespace
