// Register writes and read-back: the indicators, the text comparison, the write and limit boxes, and an
// interrupt raised by the simulated chip, seen on the register flag and on the INT pin, then cleared.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <functional>

#include "common/hex.h"
#include "common/palette.h"
#include "sim/light_source.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

using ::testing::Each;
using ::testing::ElementsAre;

namespace {

struct LimitCase {
    const char* typed;
    const char* boxAfter;
    const char* write;  // what goes out before the read-back; nullptr: refused with the message
};

class RegistersTest : public PanelTest {
protected:
    void expectLimitCases(QLineEdit* box, const std::vector<LimitCase>& cases, const QString& message) {
        for (const auto& [typed, boxAfter, write] : cases) {
            SCOPED_TRACE(typed);
            const std::size_t from = mark();
            const std::size_t boxes = rig.dialogs.shown.size();
            typeAndEnter(box, typed);
            EXPECT_EQ(box->text(), QString(boxAfter));
            const std::vector<std::string> sent =
                write ? std::vector<std::string>{write, "R00x4"} : std::vector<std::string>{};
            EXPECT_EQ(trafficSince(from), sent);
            EXPECT_EQ(rig.dialogs.texts().size(), boxes + (write ? 0 : 1));
            if (!write) {
                EXPECT_EQ(rig.dialogs.texts().back(), message);
            }
        }
    }
};

std::vector<int> colours(const frmTolvane& p, int first, int last) {
    std::vector<int> result;
    for (int n = first; n <= last; ++n) result.push_back(p.ShpInd[n]->fillColour());
    return result;
}

// A read-back that differs from its write box as text ("5" and "05") is red until a matching one.
TEST_F(RegistersTest, AccessesFlipTheirIndicatorsAndMismatchesShowRed) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    click(p.cmdSetCommand);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4"));
    EXPECT_EQ(p.txtRegRd[2]->text(), "FF");
    EXPECT_EQ(p.ShpInd[0]->fillColour(), BrightGreen);
    EXPECT_THAT(colours(p, 4, 7), Each(BrightGreen));

    from = mark();
    typeAndEnter(p.txtRegHex[1], "5");
    EXPECT_THAT(trafficSince(from), ElementsAre("W01=05", "R00x4"));
    EXPECT_EQ(p.ShpInd[0]->fillColour(), BrightGreen) << "only the accessed register's indicator flips";
    EXPECT_EQ(p.ShpInd[1]->fillColour(), BrightGreen);
    EXPECT_EQ(p.txtRegRd[1]->text(), "05");
    EXPECT_THAT(colours(p, 4, 7), ElementsAre(Green, BrightRed, Green, Green));
    typeAndEnter(p.txtRegHex[1], "05");
    EXPECT_EQ(p.ShpInd[5]->fillColour(), BrightGreen);

    // R4..R7 are read together, and their indicators follow indicator 8 whatever they showed.
    for (int n = 4; n < 8; ++n) chip().setReg(n, static_cast<std::uint8_t>(0x11 * n));
    from = mark();
    click(p.cmdRead_Measurements);
    EXPECT_THAT(trafficSince(from), ElementsAre("R04x4"));
    for (int n = 4; n < 8; ++n) EXPECT_EQ(p.txtRegRd[n]->text(), QString(2, QChar('0' + n)));
    EXPECT_THAT(colours(p, 8, 11), Each(BrightGreen));
    p.ShpInd[10]->setFillColour(BrightRed);
    click(p.cmdRead_Measurements);
    EXPECT_THAT(colours(p, 8, 11), Each(Green));
}

// What a read-back box shows can be selected and copied, and a screen reader reads it.
TEST_F(RegistersTest, AReadBackCanBeCopiedAndAScreenReaderReadsIt) {
    frmTolvane& p = panel();
    for (int n = 4; n < 8; ++n) chip().setReg(n, static_cast<std::uint8_t>(0x11 * n));
    click(p.cmdRead_Measurements);
    click(p.txtRegRd[5]);
    EXPECT_EQ(p.txtRegRd[5]->displayText(), "55") << "a box with the cursor in it is drawn as a text box";
    press({Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_C});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "55");
    QAccessible::setActive(true);
    for (int n = 4; n < 8; ++n)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(p.txtRegRd[n])->text(QAccessible::Value),
                  QString(2, QChar('0' + n)));
    QAccessible::setActive(false);
}

TEST_F(RegistersTest, EnterUppercasesTheBoxWritesItsRegisterAndUpdatesTheLimitBox) {
    frmTolvane& p = panel();
    const std::size_t from = mark();
    typeAndEnter(p.txtRegHex[0], "8c");
    typeAndEnter(p.txtRegHex[2], "10");
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=8C", "R00x4", "W02=10", "R00x4"));
    EXPECT_EQ(p.txtRegHex[0]->text(), "8C");
    EXPECT_EQ(p.RegShadow[0], 0x8C);
    EXPECT_EQ(p.txtIUpperLimit->text(), "4096");
    typeAndEnter(p.txtRegHex[3], "0f");
    EXPECT_EQ(p.txtILowerLimit->text(), "3840");
    EXPECT_EQ(chip().reg(3), 0x0F);
}

// An answer that comes after its read gave up must not shift later reads by one: each read first
// discards what is queued, and "Test Comm" judges its own read.
TEST_F(RegistersTest, ALateAnswerDoesNotShiftLaterReads) {
    frmTolvane& p = panel();
    chip().setReg(2, 0xFF);
    rig.board().delayNextAnswer(7000);
    click(p.cmdSetCommand);  // the write gives up after 6 s; its answer comes during the read-back
    ASSERT_EQ(chip().reg(0), 0x80);

    click(p.cmdRead_All);
    EXPECT_EQ(p.txtRegRd[0]->text() + p.txtRegRd[1]->text() + p.txtRegRd[2]->text() + p.txtRegRd[3]->text(),
              "8000FF00");
    click(p.cmdRead_Measurements);  // the chip integrates now: R4..R7 are its counts
    for (int n = 4; n < 8; ++n) EXPECT_EQ(p.txtRegRd[n]->text(), Hex2(chip().reg(n))) << n;

    rig.board().delayNextAnswer(7000);
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Fail") << "its own read timed out";
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    EXPECT_EQ(p.txtRegRd[0]->text(), "80") << "R0 as the chip holds it";
}

// Refused before it reaches the console, the register copy or an indicator, whichever way it is asked.
TEST_F(RegistersTest, AWriteBoxThatIsNotOneByteIsRefusedNamingTheRegister) {
    frmTolvane& p = panel();
    const std::array<QString, 4> names{"Command Register R0", "Control Register R1",
                                       "Interrupt High Limit Register R2", "Interrupt Low Limit Register R3"};
    const auto expectRefused = [&](int n, const std::function<void()>& write) {
        const std::size_t from = mark();
        const std::size_t boxes = rig.dialogs.shown.size();
        write();
        ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
        const MessageBoxRequest& box = rig.dialogs.shown.back();
        EXPECT_EQ(box.text, names[n] + ": enter one or two hexadecimal digits (00 to FF).");
        EXPECT_EQ(box.title, "Tolvane");
        EXPECT_EQ(box.buttons, DialogButtons::Ok);
        EXPECT_EQ(mark(), from) << "nothing written";
        EXPECT_EQ(p.RegShadow, (std::array<std::uint8_t, 4>{0x80, 0x00, 0xFF, 0x00}));
        EXPECT_EQ(p.ShpInd[n]->fillColour(), Black) << "no access, no flip";
    };
    const std::array<QPushButton*, 4> buttons{p.cmdSetCommand, p.cmdSetControl, p.cmdSetIntHigh,
                                              p.cmdSetIntLow};
    for (const char* bad : {"", "1G", "100", " 5"}) {
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(QString("R%1 \"%2\"").arg(n).arg(bad).toStdString());
            p.txtRegHex[n]->setText(bad);
            expectRefused(n, [&] { click(buttons[n]); });
        }
    }

    // Enter during a run: one message, the limit box untouched, and the deferred write dropped so
    // the loop does not refuse it again.
    DeferredActions& deferred = wing().loop.deferred;
    deferred.defer(DeferredAction::HighLimitWrite);
    expectRefused(2, [&] { typeAndEnter(p.txtRegHex[2], "XYZ"); });
    EXPECT_EQ(p.txtIUpperLimit->text(), "65280");
    EXPECT_FALSE(deferred.waiting(DeferredAction::HighLimitWrite));

    // The clear-interrupt command carries the R0 box as its data byte.
    deferred.defer(DeferredAction::ClearInt);
    expectRefused(0, [&] { click(p.cmdClearInt); });
    EXPECT_EQ(p.ShpInd[13]->fillColour(), Black);
    EXPECT_FALSE(deferred.waiting(DeferredAction::ClearInt));
}

// Entries are rounded (halves to even), floored to a multiple of 256 and range checked; text that is
// not a number writes the register from its hexadecimal box as it stands.
TEST_F(RegistersTest, LimitsAreRoundedDownToAByteAndRangeChecked) {
    frmTolvane& p = panel();
    // Halves go to even: 4096.5 writes 4096, -0.5 writes 0.
    const std::vector<LimitCase> high{{"4096", "4096", "W02=10"},   {"1000", "768", "W02=03"},
                                      {"lots", "lots", "W02=03"},   {"100", "65280", nullptr},
                                      {"0", "65280", nullptr},      {"65535", "65280", "W02=FF"},
                                      {"65536", "65280", nullptr},  {"1e300", "65280", nullptr},
                                      {"511.5", "511.5", "W02=02"}, {"4096.5", "4096.5", "W02=10"}};
    const std::vector<LimitCase> low{{"0", "0", "W03=00"},   {"512", "512", "W03=02"},
                                     {"200", "0", "W03=00"}, {"70000", "0", nullptr},
                                     {"-300", "0", nullptr}, {"-0.5", "-0.5", "W03=00"}};
    expectLimitCases(p.txtIUpperLimit, high, "Hign Interrupt Limit must be  => 256 and < =65280");
    expectLimitCases(p.txtILowerLimit, low, "Low Interrupt Limit must be 0, => 256 and < =65280");

    // During a run the write waits for the loop, and any further key in the box cancels it.
    duringARun(rig, [&] {
        typeAndEnter(p.txtIUpperLimit, "8192");
        EXPECT_EQ(p.txtRegHex[2]->text(), "20");
        ASSERT_TRUE(wing().loop.deferred.waiting(DeferredAction::HighLimitWrite));
        type("1");
        EXPECT_FALSE(wing().loop.deferred.waiting(DeferredAction::HighLimitWrite));
    });
}

TEST_F(RegistersTest, ChipInterruptShowsOnTheFlagAndThePinAndClearInterruptClearsBoth) {
    frmTolvane& p = panel();
    chip().setLight(sim::LightSource::constant(500));  // half of the 1k range: count about 32768
    click(p.OpInt[1]);                                 // "4 Trip"
    typeAndEnter(p.txtIUpperLimit, "4096");
    click(p.cmdSetCommand);  // ADC enabled: integrations of 100 ms start now

    rig.clock.advance(350);  // three integrations above the window: not yet
    click(p.cmdRead_All);
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);

    rig.clock.advance(100);  // the fourth
    click(p.cmdRead_All);
    EXPECT_EQ(p.txtRegRd[1]->text(), "21");
    EXPECT_EQ(p.ShpINt->fillColour(), BrightRed);
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), BrightRed);

    const std::size_t from = mark();
    click(p.cmdClrInt);
    EXPECT_THAT(trafficSince(from), ElementsAre("W40=80", "GP", "R00x4"));
    EXPECT_FALSE(chip().interruptPending());
    EXPECT_TRUE(chip().intLineHigh());
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);
    EXPECT_EQ(p.ShpInd[13]->fillColour(), BrightGreen);
}

}  // namespace
