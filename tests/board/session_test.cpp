// What only the board library tells apart: failures that tolvane-cli gives one exit status are each of
// their own kind, by which a program on the library (the Python module) tells them apart.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "board/board_session.h"
#include "sim/sim_bus.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_due_time_wait.h"
#include "tests/doubles/fixed_calendar.h"
#include "tests/doubles/forwarding_transport.h"

namespace {

TEST(Session, FailuresThatShareAnExitStatusAreEachOfTheirOwnKind) {
    using Bus = sim::SimBus;
    const auto opened = [](const QString& choice) {
        return [choice](BoardSession& s) { return s.open(choice); };
    };
    const auto written = [](BoardSession& s) {
        const std::optional<BoardFailure> notOpened = s.open({});
        return notOpened ? notOpened : s.write(0, 0x80).failure;
    };
    const struct {
        const char* what;
        std::function<void(Bus&)> setUp;
        std::function<std::optional<BoardFailure>(BoardSession&)> operation;
        BoardFault fault;
        bool forgetful = false;
    } cases[] = {
        {"nothing listed", [](Bus& b) { b.addForeignDevice(0x046D, 0xC077); }, opened({}),
         BoardFault::NoBoard},
        {"no such board", [](Bus& b) { b.addBoard(); }, opened("1"), BoardFault::NoBoard},
        {"only a locked board", [](Bus& b) { b.addUnopenableDevice(); }, opened({}),
         BoardFault::NoPermission},
        {"the chosen board locked", [](Bus& b) { b.addBoard(), b.addUnopenableDevice(); }, opened("sim:1"),
         BoardFault::NoPermission},
        {"a deaf chip", [](Bus& b) { b.addBoard().chip.acknowledges = false; }, written,
         BoardFault::NotAcknowledged},
        {"a forgetful chip", [](Bus& b) { b.addBoard(); }, written, BoardFault::ReadBackDiffers, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClock clock;
        FakeDueTimeWait wait{clock};
        FixedCalendar calendar;
        Bus bus{clock};
        c.setUp(bus);
        ForgetfulChip forgetful{bus};
        BoardSession session(c.forgetful ? static_cast<HidTransport&>(forgetful) : bus, clock, wait,
                             calendar);
        const std::optional<BoardFailure> failure = c.operation(session);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->fault, c.fault);
    }
}

}  // namespace
