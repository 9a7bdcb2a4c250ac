// The board window's light and INT line, as the panel then shows them on the fake clock.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "acquisition/chart_math.h"
#include "common/palette.h"
#include "demo/lux_scale.h"
#include "tests/demo/board_window_fixture.h"

namespace {

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
TEST(BoardWindow, EveryLightControlReachesTheChip) {
    struct Case {
        const char* name;
        std::function<void(BoardWindow&)> set;
        int measure;  // the panel's measurement option: 0 D1, 1 D2, 2 D1 - D2
        int count;
    };
    const std::vector<Case> cases{
        {"level box", [](BoardWindow& w) { w.light->levelBox->setValue(250); }, 0, 16384},
        {"slider", [](BoardWindow& w) { w.light->levelSlider->setValue(230); }, 0, 13041},  // 199 lux
        {"keyboard on the slider", [](BoardWindow& w) { QTest::keyClick(w.light->levelSlider, Qt::Key_End); },
         0, 65535},
        {"infrared on D2", [](BoardWindow& w) { w.light->infraredBox->setValue(40); }, 1, 2621},
        {"infrared on D1 - D2", [](BoardWindow& w) { w.light->infraredBox->setValue(40); }, 2, 3932},
        {"steps at their half level", [](BoardWindow& w) { w.light->shapeList->setCurrentIndex(1); }, 0,
         3277},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig fresh;
        BoardWindow w(fresh.bus, fresh.board(), fresh.clock, {100, sim::LightSetting::Shape::Constant, 0, 0});
        fresh.chooseTolvane();
        frmTolvane& p = fresh.program.panel();
        p.OptMeasure[static_cast<std::size_t>(c.measure)]->setChecked(true);
        click(p.cmdSetCommand);
        c.set(w);
        fresh.clock.advance(150);  // the clock starts at 1000: the steps are in their first 5 s
        click(p.cmdRead_Measurements);
        EXPECT_EQ(p.txtRegRd[5]->text() + p.txtRegRd[4]->text(),
                  QString("%1").arg(c.count, 4, 16, QChar('0')).toUpper());
    }
}

TEST(LuxScale, TheSliderSpansDarknessToSunlightInRoundNumbers) {
    EXPECT_EQ(luxAtSlider(0), 0);
    EXPECT_EQ(luxAtSlider(100), 9);
    EXPECT_EQ(luxAtSlider(233), 213);  // 10^2.33 - 1 = 212.8
    EXPECT_EQ(luxAtSlider(kLuxSliderTop), 100000);
    EXPECT_EQ(luxAtSlider(kLuxSliderTop + 50), 100000);
    for (int position : {0, 57, 233, 380, kLuxSliderTop})
        EXPECT_EQ(sliderAtLux(luxAtSlider(position)), position) << position;
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

}  // namespace
